#pragma once

#include "model/sheetlayout.h"

#include <QFont>
#include <QList>
#include <QStringList>

#include <functional>

class MyGraphicsItem;
class Preview;
class QGraphicsItem;
class QGraphicsScene;
class QObject;

// Builds the scene of one page: the gray frame of the printable area and, for
// every barette placed on the page, its blank top strip, its header and its
// label fields with their texts and remembered fonts. The window's sheet and
// the batch printer both build their pages here, so they print the same pages.
//
// Field ids follow from the barette's place in the file: barette b holds the
// ids b * (n + 1) (its header) to b * (n + 1) + n, so a page can be built on
// its own, in any order.
class PageBuilder
{
public:
    // Sees every item made, in creation order; `field` is the same item when
    // it is a header or label field (id >= 0), null for the frame and strips.
    using ItemHook = std::function<void(QGraphicsItem *item, MyGraphicsItem *field)>;

    // `fonts` is the per-field font memory; a field beyond its end gets the
    // default font. All three must outlive the builder.
    PageBuilder(const SheetLayout &sheet, const QList<QStringList> &texts, const QList<QFont> &fonts);

    // The scene of page `p` (from 0) with `parent` as its QObject parent; the
    // fields name `owner` as theirs (null where no window shows them).
    QGraphicsScene *build(int p, QObject *parent, Preview *owner, const ItemHook &made = {}) const;

    // Number of pages for the texts: ceil(barettes / per page), at least one.
    int pageCount() const { return sheet.lastPageFor(texts.size()) + 1; }

private:
    void addBarette(QGraphicsScene *scene, QPointF origin, qsizetype barette, Preview *owner,
                    const ItemHook &made) const;

    const SheetLayout &sheet;
    const QList<QStringList> &texts;
    const QList<QFont> &fonts;
};
