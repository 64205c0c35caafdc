#include "layout/geometrypreset.h"

#include "layout/sheetlayout.h"

#include <QCoreApplication>

#include <algorithm>

namespace {
GeometryPreset preset(const char *name, int labels, double lw, double lh, double hw, double hh)
{
    return {QString::fromLatin1(name), QRectF(0, 0, lw, lh), QRectF(0, 0, hw, hh), labels};
}
} // namespace

const QList<GeometryPreset> &GeometryPreset::builtIns()
{
    static const QList<GeometryPreset> list{
        preset("TYP-A1", 8, 37.3, 11.2, 50.25, 8.5),
        preset("TYP-A2", 8, 37.3, 11.2, 50.25, 8.5),
        preset("TYP-B1", 8, 29.5, 11.17, 29.5, 11.17),
        preset("TYP-B2", 8, 29.5, 11.17, 29.5, 11.17),
        preset("TYP-C1", 6, 29.5, 11.2, 29.5, 8.5),
        preset("TYP-C2", 8, 28, 11.8, 28, 12.12),
        preset("TYP-D1", 6, 29.5, 11.2, 29.5, 8.5),
    };
    return list;
}

QString GeometryPreset::sheetProblem() const
{
    auto tr = [](const char *text) { return QCoreApplication::translate("GeometryPreset", text); };
    // The limits the sheet itself holds to.
    if (!SheetLayout::validLabelCount(labelsPerBarette))
        return tr("Ilość etykiet musi wynosić od %1 do %2.")
            .arg(SheetLayout::minLabelsPerBarette)
            .arg(SheetLayout::maxLabelsPerBarette);
    for (const double size : {labelRect.width(), labelRect.height(), headerRect.width(), headerRect.height()}) {
        if (!SheetLayout::validLength(size))
            return tr("Szerokość i wysokość etykiety i nagłówka muszą być większe od zera "
                      "i nie większe niż %1 mm.")
                .arg(SheetLayout::maxLengthMm);
    }

    // The same arithmetic that lays the sheet out, on a whole A4 page: if not
    // one barette fits there, it fits on no printer's page.
    SheetLayout sheet;
    sheet.fAvailableArea = QRectF(0, 0, SheetLayout::paperWidth, SheetLayout::paperHeight);
    sheet.labelsPerBarette = labelsPerBarette;
    sheet.labelWidth = float(labelRect.width());
    sheet.labelHeight = float(labelRect.height());
    sheet.headerWidth = float(std::max(headerRect.width(), labelRect.width()));
    sheet.headerHeight = float(headerRect.height());
    sheet.computeLayout();
    if (sheet.columns < 1)
        return tr("Baretka o tej szerokości nie mieści się na stronie A4.");
    if (sheet.rows < 1)
        return tr("Baretka o tej wysokości nie mieści się na stronie A4.");
    return QString();
}

void GeometryPreset::applyTo(SheetLayout &layout) const
{
    layout.labelsPerBarette = labelsPerBarette;
    layout.labelWidth = float(labelRect.width());
    layout.labelHeight = float(labelRect.height());
    layout.headerWidth = float(headerRect.width());
    layout.headerHeight = float(headerRect.height());
}
