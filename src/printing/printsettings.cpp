#include "printing/printsettings.h"

#include "files/settings.h"

#include <QCoreApplication>
#include <QSettings>
#include <QUrl>

namespace {

QString calibrationGroup(const QString &printer)
{
    return QStringLiteral("Calibration/") + QString::fromLatin1(QUrl::toPercentEncoding(printer));
}

} // namespace

Calibration PrintSettings::calibration(const QString &printer, QString *problem)
{
    const std::unique_ptr<QSettings> settings = Settings::openStore();
    settings->beginGroup(calibrationGroup(printer));
    Calibration c;
    bool numbers = true;
    const auto read = [&](const QString &key, double &value) {
        if (!settings->contains(key))
            return;
        bool ok = false;
        value = settings->value(key).toDouble(&ok);
        numbers = numbers && ok;
    };
    read(QStringLiteral("shiftX"), c.shiftX);
    read(QStringLiteral("shiftY"), c.shiftY);
    read(QStringLiteral("scaleX"), c.scaleX);
    read(QStringLiteral("scaleY"), c.scaleY);
    if (numbers && c.isValid())
        return c;
    // Part of a calibration is no calibration: the printout goes out true to
    // size, and the user is told.
    if (problem)
        *problem = QCoreApplication::translate("PrintSettings",
                                               "Zapisana kalibracja drukarki „%1” jest nieprawidłowa "
                                               "(wartość spoza zakresu); drukowanie bez kalibracji.")
                       .arg(printer);
    return Calibration();
}

void PrintSettings::setCalibration(const QString &printer, const Calibration &calibration)
{
    const std::unique_ptr<QSettings> settings = Settings::openStore();
    settings->remove(calibrationGroup(printer));
    if (calibration.isIdentity())
        return;
    settings->beginGroup(calibrationGroup(printer));
    settings->setValue(QStringLiteral("shiftX"), calibration.shiftX);
    settings->setValue(QStringLiteral("shiftY"), calibration.shiftY);
    settings->setValue(QStringLiteral("scaleX"), calibration.scaleX);
    settings->setValue(QStringLiteral("scaleY"), calibration.scaleY);
}

bool PrintSettings::marks()
{
    return Settings::openStore()->value(QStringLiteral("Print/marks"), true).toBool();
}

void PrintSettings::setMarks(bool on)
{
    Settings::openStore()->setValue(QStringLiteral("Print/marks"), on);
}
