#pragma once

#include "printing/calibration.h"
#include "printing/testpage.h"

#include <QDialog>
#include <QString>

class QDoubleSpinBox;
class QLabel;

// "Kalibracja drukarki": the shift (mm) and scale (%) of one system printer.
// The user prints the test page ("Strona testowa", with the values shown),
// measures it, types the four lengths and presses "Oblicz": the dialog works
// out the shift and scale itself. Whoever runs the dialog stores
// calibration() when it is accepted.
class CalibrationDialog : public QDialog
{
    Q_OBJECT

public:
    CalibrationDialog(const QString &printer, const Calibration &current, QWidget *parent = nullptr);

    // The values shown in the correction fields.
    Calibration calibration() const;

private:
    void setCalibration(const Calibration &c);
    void printTestPage();
    void compute();

    QString printer;
    // What the last test page was printed with; the stored calibration until
    // one is printed here, as the user may measure a page printed earlier.
    Calibration printedWith;
    QDoubleSpinBox *sbShiftX = nullptr;
    QDoubleSpinBox *sbShiftY = nullptr;
    QDoubleSpinBox *sbScaleX = nullptr;
    QDoubleSpinBox *sbScaleY = nullptr;
    QDoubleSpinBox *sbHorizontal = nullptr;
    QDoubleSpinBox *sbVertical = nullptr;
    QDoubleSpinBox *sbLeft = nullptr;
    QDoubleSpinBox *sbTop = nullptr;
    QLabel *lbState = nullptr;
};
