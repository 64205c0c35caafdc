#pragma once

#include <functional>

class MyGraphicsItem;
class QGraphicsScene;
class QObject;
class SheetDocument;
class SheetLayout;

// Builds the scene of one page for the window: the gray frame of the
// printable area and, for every barette placed on the page, its blank top
// strip, its header and its label fields with their texts and fonts from the
// document. The items stand where PagePainter paints the same page on paper.
//
// Field ids follow from the barette's place in the file: barette b holds the
// ids b * (n + 1) (its header) to b * (n + 1) + n, so a page can be built on
// its own, in any order.
class PageBuilder
{
public:
    // Sees every field made (id >= 0), in id order.
    using FieldHook = std::function<void(MyGraphicsItem *field)>;

    // Both must outlive the builder.
    PageBuilder(const SheetLayout &sheet, SheetDocument &document);

    // The scene of page `p` (from 0) with `parent` as its QObject parent.
    QGraphicsScene *build(int p, QObject *parent, const FieldHook &made = {}) const;

private:
    const SheetLayout &sheet;
    SheetDocument &document;
};
