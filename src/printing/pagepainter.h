#pragma once

#include <QRectF>

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

private:
    const SheetLayout &sheet;
    const SheetDocument &document;
};
