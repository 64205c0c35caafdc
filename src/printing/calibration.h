#pragma once

#include <QTransform>

// A printer's correction. A printer feeds paper a little off or prints a
// little large; its calibration moves and scales the page before it leaves
// the program, so that the paper shows the true size:
//
//   device position = true position × scale + shift
//
// in millimetres about the top-left corner of the sheet. The page renderer
// applies it as its last step, so the screen, the built-in PDF and every
// printer share one geometry; the identity (no shift, 100 %) changes nothing.
struct Calibration
{
    // The ranges the calibration dialog and lamello-batch accept.
    static constexpr double maxShiftMm = 10;
    static constexpr double minScalePercent = 95;
    static constexpr double maxScalePercent = 105;

    double shiftX = 0;     // mm, to the right
    double shiftY = 0;     // mm, down
    double scaleX = 100;   // percent
    double scaleY = 100;

    bool isIdentity() const { return *this == Calibration(); }
    // Every value finite and within its range.
    bool isValid() const;
    // The correction in scene units (SheetLayout::unitsPerMm to the mm), to
    // be applied before the device's own mapping.
    QTransform sceneTransform() const;

    bool operator==(const Calibration &) const = default;
};
