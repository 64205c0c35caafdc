#include "printing/calibration.h"

#include "layout/sheetlayout.h"

#include <cmath>

bool Calibration::isValid() const
{
    const auto inRange = [](double value, double low, double high) {
        return std::isfinite(value) && value >= low && value <= high;
    };
    return inRange(shiftX, -maxShiftMm, maxShiftMm) && inRange(shiftY, -maxShiftMm, maxShiftMm)
           && inRange(scaleX, minScalePercent, maxScalePercent) && inRange(scaleY, minScalePercent, maxScalePercent);
}

QTransform Calibration::sceneTransform() const
{
    return QTransform(scaleX / 100, 0, 0, scaleY / 100, shiftX * SheetLayout::unitsPerMm,
                      shiftY * SheetLayout::unitsPerMm);
}
