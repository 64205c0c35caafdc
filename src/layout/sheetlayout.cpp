#include "layout/sheetlayout.h"

#include "system/sheetlog.h"

#include <QDebug>

#include <cmath>

bool SheetLayout::validLabelCount(int count)
{
    return count >= minLabelsPerBarette && count <= maxLabelsPerBarette;
}

bool SheetLayout::validLength(double mm)
{
    return std::isfinite(mm) && mm > 0 && mm <= maxLengthMm;
}

QRectF SheetLayout::acceptedArea(const QRectF &area)
{
    const double values[] = {area.x(), area.y(), area.width(), area.height()};
    for (double v : values) {
        if (!std::isfinite(v) || std::abs(v) > 1e6)
            return {};
    }
    if (area.width() <= 0 || area.height() <= 0)
        return {};
    const QRectF onPaper = area.intersected(paperMm);
    return onPaper.width() > 0 && onPaper.height() > 0 ? onPaper : QRectF();
}

void SheetLayout::setAvailableArea(const QRectF &area)
{
    const double x = area.x(), y = area.y(), w = area.width(), h = area.height();
    printableRect = QRect(3 * int(x), 3 * int(y), 3 * int(w), 3 * int(h));
    marginX = float((paperWidth - 3 * w) * 0.5);
    marginY = float((paperHeight - 3 * h) * 0.5);
    fAvailableArea = QRectF(3 * x, 3 * y, 3 * w, 3 * h);
    fAvailableArea.setLeft(marginX);
    fAvailableArea.setTop(marginY);
    qCDebug(lcSheet) << "fAvailableArea: " << fAvailableArea;
}

void SheetLayout::computeLayout()
{
    const float uw = float(fAvailableArea.width() - 2 * marginX - 6 * borderX);
    const float uh = float(fAvailableArea.height() - 2 * marginY - 6 * borderY);
    const double columnPitch = 3.0 * headerWidth + 3;
    const double rowPitch = 3.0 * headerHeight + 3.0 * labelsPerBarette * labelHeight + 10;
    // A negative usable size or pitch means nothing fits; it must not turn
    // into a negative count (or, with two negatives, a positive one).
    columns = (uw > 0 && columnPitch > 0) ? int(uw / columnPitch) : 0;
    rows = (uh > 0 && rowPitch > 0) ? int(uh / rowPitch) : 0;
    barettesPerPage = columns * rows;
}

int SheetLayout::lastPageFor(qsizetype groups) const
{
    return int(pagesFor(groups, barettesPerPage) - 1);
}

qint64 SheetLayout::pagesFor(qint64 groups, int barettesPerPage)
{
    // As many pages as the barettes fill, the last one possibly partly: a
    // sheet that is an exact multiple of a page ends without an empty page.
    if (barettesPerPage <= 0 || groups <= 0)
        return 1;
    return (groups - 1) / barettesPerPage + 1;
}

QPointF SheetLayout::baretteOrigin(int row, int column) const
{
    const float x = column * (headerWidth + 3) + borderX;
    const float y = row * (headerHeight + stripHeight + 3 + labelsPerBarette * labelHeight) + borderY;
    return {x, y};
}

QRectF SheetLayout::toScene(double left, double top, double width, double height) const
{
    return {3 * left + marginX, 3 * top + marginY, 3 * width, 3 * height};
}

QRectF SheetLayout::stripRect(QPointF o) const
{
    return toScene(o.x(), o.y(), headerWidth, stripHeight);
}

QRectF SheetLayout::headerRect(QPointF o) const
{
    return toScene(o.x(), o.y() + stripHeight, headerWidth, headerHeight);
}

QRectF SheetLayout::labelRect(QPointF o, int j) const
{
    return toScene(o.x() + headerWidth - labelWidth,
                   o.y() + stripHeight + headerHeight + (j - 1) * double(labelHeight),
                   labelWidth, labelHeight);
}

qsizetype SheetLayout::neighbour(qsizetype id, Step step, qsizetype barettes) const
{
    const qsizetype perBarette = labelsPerBarette + 1;
    if (columns <= 0 || id < 0 || id >= barettes * perBarette)
        return -1;
    // Barettes are placed row by row, columns of a row first (forEachPlace).
    const qsizetype b = id / perBarette;
    const qsizetype j = id % perBarette;   // 0 the header, then the labels
    qsizetype toBarette = b;
    qsizetype toField = j;
    switch (step) {
    case Step::Up:
        if (j > 0)
            return id - 1;
        toBarette = b - columns;
        toField = labelsPerBarette;
        break;
    case Step::Down:
        if (j < labelsPerBarette)
            return id + 1;
        toBarette = b + columns;
        toField = 0;
        break;
    case Step::Left:
        toBarette = b - 1;
        break;
    case Step::Right:
        toBarette = b + 1;
        break;
    }
    return toBarette >= 0 && toBarette < barettes ? toBarette * perBarette + toField : -1;
}
