#pragma once

#include <QPointF>
#include <QRect>
#include <QRectF>

// How barettes are placed on a sheet: the insert geometry and the printable
// area in, the number of columns and rows and every field's frame out.
//
// Millimetres come in; the page scenes are in scene units, three per
// millimetre, so A4 paper is 630 x 891 units whatever the printer. Field frames
// and font pixel sizes are in scene units too.
//
// A barette at origin (x, y) mm, with header hw x hh and labels lw x lh:
//   top strip   (x, y, hw, 7)                    blank, not a field
//   header      (x, y + 7, hw, hh)
//   label j     (x + hw - lw, y + 7 + hh + (j - 1) lh, lw, lh)   j = 1 .. n
// Labels are right-aligned with the header and stacked without gaps.
struct SheetLayout
{
    static constexpr double unitsPerMm = 3.0;
    static constexpr double paperWidth = 630.0;   // A4 in scene units
    static constexpr double paperHeight = 891.0;

    // What the sheet accepts, the geometry panel's own ranges: 5 to 15 labels
    // under a header, field sizes above 0 and up to 100 mm, and a printable
    // area on the A4 paper (210 x 297 mm).
    static constexpr int minLabelsPerBarette = 5;
    static constexpr int maxLabelsPerBarette = 15;
    static constexpr double maxLengthMm = 100.0;
    static constexpr QRectF paperMm{0, 0, 210, 297};

    static bool validLabelCount(int count);
    static bool validLength(double mm);
    // A printer's area as the sheet takes it: clipped to the paper (a printer
    // set to a larger paper still prints on A4), or an empty rectangle when
    // the area is not finite, has no size, or lies off the paper.
    static QRectF acceptedArea(const QRectF &area);

    // Insert geometry, millimetres.
    int labelsPerBarette = 8;
    float labelWidth = 37.3f;
    float labelHeight = 11.2f;
    float headerWidth = 50.25f;
    float headerHeight = 8.5f;
    int borderX = 5;          // from the area's corner to the first barette
    int borderY = 5;
    float stripHeight = 7.0f;

    // Printable area, scene units (see setAvailableArea).
    QRectF fAvailableArea;
    QRect printableRect;
    float marginX = 0;
    float marginY = 0;

    // Result of computeLayout().
    int columns = 0;
    int rows = 0;
    int barettesPerPage = 0;

    // `area` is the printable area of the page in mm (left, top, width, height),
    // as a printer reports it. The area is centred on the paper: marginX/Y are
    // the offsets that centre it, and fAvailableArea keeps the printer's right
    // and bottom edges.
    void setAvailableArea(const QRectF &area);

    // How many barettes fit. The fit test counts 3 units between columns and
    // 10 between rows; the placement steps by 3 mm gaps and the 7 mm strip. A
    // geometry in which nothing fits gives 0 columns or rows, never a negative count.
    void computeLayout();

    // Index of the last page for `groups` barettes: ceil(groups / per page)
    // pages, and one page (the frame alone) when there is nothing to show or
    // nothing fits.
    int lastPageFor(qsizetype groups) const;
    // The same count for any number of barettes, before a sheet is built.
    static qint64 pagesFor(qint64 groups, int barettesPerPage);

    // Origin in mm of the barette in `row`, `column` of a page.
    QPointF baretteOrigin(int row, int column) const;

    // Scene rectangles of the parts of the barette at `origin` (mm).
    QRectF stripRect(QPointF origin) const;
    QRectF headerRect(QPointF origin) const;
    QRectF labelRect(QPointF origin, int j) const;   // j = 1 .. labelsPerBarette

    // Every place on page `p` (from 0) of a sheet of `barettes` barettes, in
    // the order of the ids: for each barette placed there, `strip(rect)` for
    // its top strip, then `field(id, rect)` for its header and its labels.
    // The window's page items and the page painter both place by this.
    template<typename Strip, typename Field>
    void forEachPlace(int p, qsizetype barettes, Strip strip, Field field) const
    {
        const int n = labelsPerBarette;
        qsizetype b = qsizetype(barettesPerPage) * p;
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < columns; ++c, ++b) {
                if (b >= barettes)
                    return;
                const QPointF origin = baretteOrigin(r, c);
                strip(stripRect(origin));
                const qsizetype firstId = b * (n + 1);
                for (int j = 0; j <= n; ++j)
                    field(firstId + j, j == 0 ? headerRect(origin) : labelRect(origin, j));
            }
        }
    }

    // The four ways the keyboard steps from field to field.
    enum class Step { Up, Down, Left, Right };
    // The field next to field `id` on a sheet of `barettes` barettes, or -1
    // at the sheet's edge. Up and Down go through the fields of a barette and
    // on to the barette above or below in the same column: the last label
    // above, the header below. Left and Right go to the same field of the
    // barette before or after; past the end of a row they go on to the next
    // row. forEachPlace fills every page but the last row by row, so the
    // barette below the last row is the one in the same column of the next
    // page's first row, and the neighbours cross pages as they cross rows.
    qsizetype neighbour(qsizetype id, Step step, qsizetype barettes) const;

private:
    QRectF toScene(double left, double top, double width, double height) const;
};
