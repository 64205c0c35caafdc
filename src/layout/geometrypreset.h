#pragma once

#include <QList>
#include <QRectF>
#include <QString>

struct SheetLayout;

// One insert geometry under a name: the number of label fields under the
// header and the sizes of a label field and of the header, in millimetres.
// The rectangles sit at (0, 0); only their widths and heights count.
struct GeometryPreset
{
    QString presetName;
    QRectF labelRect;
    QRectF headerRect;
    int labelsPerBarette = 0;

    friend bool operator==(const GeometryPreset &, const GeometryPreset &) = default;

    // The device presets every installation has, in the order of the list.
    static const QList<GeometryPreset> &builtIns();

    // Why a sheet cannot be laid out with this geometry (a size of zero or
    // less, a count of labels the sheet does not take, a barette larger than
    // an A4 page), in words for the user; empty when it can.
    QString sheetProblem() const;

    // Gives `layout` this geometry's label count and sizes; the caller lays
    // it out again (SheetLayout::computeLayout).
    void applyTo(SheetLayout &layout) const;
};
