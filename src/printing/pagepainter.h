#pragma once

#include <QRectF>
#include <QtGlobal>

class QPainter;
class SheetDocument;
struct SheetLayout;

// Paints one page of the sheet straight from the document, in scene units:
// the gray frame of the printable area and, for every barette placed on the
// page, its blank top strip, its header and its label fields, each tinted by
// its fit. The window's page items stand exactly where this paints.
class PagePainter
{
public:
    // Both must outlive the painter.
    PagePainter(const SheetLayout &sheet, const SheetDocument &document);

    // Number of pages: ceil(barettes / per page), at least one.
    int pageCount() const;

    // Page `p` (from 0). `paper` is the sheet in scene units: fields wholly
    // off it are skipped. With `marks` off, the tints and the frame of the
    // printable area are left out, so that only frames and texts reach paper.
    void paint(QPainter *painter, int p, const QRectF &paper, bool marks = true) const;

    // Fields whose text does not fit, of every page painted so far (each
    // time it was painted): the verdicts the painting made anyway, so that a
    // print of each page once counts its fields without measuring them twice.
    qsizetype overflowingPainted() const { return overflowing; }

private:
    const SheetLayout &sheet;
    const SheetDocument &document;
    mutable qsizetype overflowing = 0;
};
