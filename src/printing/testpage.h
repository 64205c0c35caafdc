#pragma once

#include "printing/calibration.h"
#include "printing/printjob.h"

#include <QString>

class QPainter;

// The page a printer is calibrated with. It carries a 150 mm horizontal and
// a 250 mm vertical scale in millimetres, a corner mark 10 mm from the
// sheet's top and left edges, and short instructions. The user measures the
// printed page with a ruler; correction() turns the four figures into the
// printer's calibration.
namespace TestPage {

// Where things lie on the page, mm from the sheet's top-left corner.
constexpr double markMm = 10;              // the corner mark's lines
constexpr double horizontalLengthMm = 150;
constexpr double horizontalX = 40;         // the horizontal scale's 0
constexpr double horizontalY = 30;         // its base line, ticks below
constexpr double verticalLengthMm = 250;
constexpr double verticalX = 20;           // the vertical scale's base line, ticks to the right
constexpr double verticalY = 30;           // its 0

// What the user measured on a printed test page, mm.
struct Measurement
{
    double horizontal = horizontalLengthMm;   // the horizontal scale, 0 to 150
    double vertical = verticalLengthMm;       // the vertical scale, 0 to 250
    double left = markMm;                     // left edge of the paper to the mark's vertical line
    double top = markMm;                      // top edge of the paper to the mark's horizontal line
};

// Paints the test page on `painter`, whose coordinates are scene units
// (SheetLayout::unitsPerMm to the mm) from the sheet's corner, as
// PageRenderer::drawSheet() hands it over. The page names the printer and
// the calibration it is printed with.
void paint(QPainter &painter, const QString &printer, const Calibration &printedWith);

// The calibration under which the printer that printed a test page with
// `printedWith` and gave `measured` prints at true size. Measuring a page
// printed with an earlier calibration refines it. Not checked against
// Calibration's ranges: a result outside them means a measuring mistake.
Calibration correction(const Measurement &measured, const Calibration &printedWith);

// Prints one test page on `printer`, moved and scaled by `calibration`.
PrintJob::Outcome print(const QString &printer, const Calibration &calibration, QString *error);

} // namespace TestPage
