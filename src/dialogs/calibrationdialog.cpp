#include "dialogs/calibrationdialog.h"

#include "prompts/prompts.h"
#include "system/pictures.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QDoubleSpinBox *spinBox(const QString &name, double low, double high, int decimals, const QString &suffix)
{
    auto *box = new QDoubleSpinBox;
    box->setObjectName(name);
    box->setRange(low, high);
    box->setDecimals(decimals);
    box->setSingleStep(decimals > 2 ? 0.01 : 0.1);
    box->setSuffix(suffix);
    return box;
}

} // namespace

CalibrationDialog::CalibrationDialog(const QString &printer, const Calibration &current, QWidget *parent)
    : QDialog(parent)
    , printer(printer)
    , printedWith(current)
{
    setWindowTitle(tr("Kalibracja drukarki"));
    setWindowIcon(Pictures::icon(QStringLiteral(":/icons/printer_r.png")));
    const QString mm = QStringLiteral(" mm");
    const QString percent = QStringLiteral(" %");
    const double shift = Calibration::maxShiftMm;
    sbShiftX = spinBox(QStringLiteral("sbShiftX"), -shift, shift, 2, mm);
    sbShiftY = spinBox(QStringLiteral("sbShiftY"), -shift, shift, 2, mm);
    sbScaleX = spinBox(QStringLiteral("sbScaleX"), Calibration::minScalePercent, Calibration::maxScalePercent, 3, percent);
    sbScaleY = spinBox(QStringLiteral("sbScaleY"), Calibration::minScalePercent, Calibration::maxScalePercent, 3, percent);
    // What a test page can measure within the ranges above, and a little more.
    sbHorizontal = spinBox(QStringLiteral("sbHorizontal"), 135, 165, 2, mm);
    sbVertical = spinBox(QStringLiteral("sbVertical"), 225, 275, 2, mm);
    sbLeft = spinBox(QStringLiteral("sbLeft"), 0, 25, 2, mm);
    sbTop = spinBox(QStringLiteral("sbTop"), 0, 25, 2, mm);
    sbHorizontal->setValue(TestPage::horizontalLengthMm);
    sbVertical->setValue(TestPage::verticalLengthMm);
    sbLeft->setValue(TestPage::markMm);
    sbTop->setValue(TestPage::markMm);
    setCalibration(current);

    auto *correction = new QGroupBox(tr("Korekta wydruku"));
    auto *correctionForm = new QFormLayout(correction);
    correctionForm->addRow(tr("Przesunięcie w prawo:"), sbShiftX);
    correctionForm->addRow(tr("Przesunięcie w dół:"), sbShiftY);
    correctionForm->addRow(tr("Skala w poziomie:"), sbScaleX);
    correctionForm->addRow(tr("Skala w pionie:"), sbScaleY);

    auto *measuring = new QGroupBox(tr("Pomiar strony testowej"));
    auto *pbTestPage = new QPushButton(tr("Strona testowa"));
    pbTestPage->setObjectName(QStringLiteral("pbTestPage"));
    auto *pbCompute = new QPushButton(tr("Oblicz"));
    pbCompute->setObjectName(QStringLiteral("pbCompute"));
    auto *measuringForm = new QFormLayout(measuring);
    measuringForm->addRow(new QLabel(tr("Wydrukuj stronę testową, zmierz ją linijką i wpisz wyniki:")));
    measuringForm->addRow(pbTestPage);
    measuringForm->addRow(tr("Podziałka pozioma (wzorcowo 150 mm):"), sbHorizontal);
    measuringForm->addRow(tr("Podziałka pionowa (wzorcowo 250 mm):"), sbVertical);
    measuringForm->addRow(tr("Znak od lewej krawędzi (wzorcowo 10 mm):"), sbLeft);
    measuringForm->addRow(tr("Znak od górnej krawędzi (wzorcowo 10 mm):"), sbTop);
    measuringForm->addRow(pbCompute);

    lbState = new QLabel;
    lbState->setObjectName(QStringLiteral("lbState"));
    lbState->setWordWrap(true);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Cancel | QDialogButtonBox::Reset);
    buttons->button(QDialogButtonBox::Save)->setText(tr("Zapisz"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("Anuluj"));
    buttons->button(QDialogButtonBox::Reset)->setText(tr("Bez kalibracji"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Drukarka: %1").arg(printer)));
    layout->addWidget(correction);
    layout->addWidget(measuring);
    layout->addWidget(lbState);
    layout->addWidget(buttons);

    connect(pbTestPage, &QPushButton::clicked, this, &CalibrationDialog::printTestPage);
    connect(pbCompute, &QPushButton::clicked, this, &CalibrationDialog::compute);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons->button(QDialogButtonBox::Reset), &QPushButton::clicked, this,
            [this] { setCalibration(Calibration()); });
}

Calibration CalibrationDialog::calibration() const
{
    return {sbShiftX->value(), sbShiftY->value(), sbScaleX->value(), sbScaleY->value()};
}

void CalibrationDialog::setCalibration(const Calibration &c)
{
    sbShiftX->setValue(c.shiftX);
    sbShiftY->setValue(c.shiftY);
    sbScaleX->setValue(c.scaleX);
    sbScaleY->setValue(c.scaleY);
}

void CalibrationDialog::printTestPage()
{
    const Calibration shown = calibration();
    QString error;
    if (TestPage::print(printer, shown, &error) != PrintJob::Outcome::Done) {
        Prompts::current().message(QMessageBox::Warning, QString(),
                                   tr("Nie wydrukowano strony testowej.") + QLatin1Char('\n') + error);
        return;
    }
    printedWith = shown;
    lbState->setText(tr("Stronę testową wysłano do drukarki %1. Zmierz ją i wpisz wyniki.").arg(printer));
}

void CalibrationDialog::compute()
{
    TestPage::Measurement measured;
    measured.horizontal = sbHorizontal->value();
    measured.vertical = sbVertical->value();
    measured.left = sbLeft->value();
    measured.top = sbTop->value();
    const Calibration result = TestPage::correction(measured, printedWith);
    if (!result.isValid()) {
        lbState->setText(tr("Z tych wymiarów wychodzi korekta poza zakresem (przesunięcie do %1 mm, skala od %2 "
                            "do %3 %). Sprawdź pomiary.")
                             .arg(Calibration::maxShiftMm)
                             .arg(Calibration::minScalePercent)
                             .arg(Calibration::maxScalePercent));
        return;
    }
    setCalibration(result);
    lbState->setText(tr("Korektę obliczono. „Zapisz” zachowuje ją dla drukarki %1.").arg(printer));
}
