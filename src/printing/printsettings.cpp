#include "printing/printsettings.h"

#include "model/settings.h"

#include <QCoreApplication>
#include <QSettings>
#include <QUrl>

namespace {

// The window's settings file: lamello-batch, which names itself otherwise,
// reads the calibrations the window stored.
QString organisation()
{
    const QString name = QCoreApplication::organizationName();
    return name.isEmpty() ? Settings::organisationName : name;
}

const QString application = Settings::applicationName;

QString calibrationGroup(const QString &printer)
{
    return QStringLiteral("Calibration/") + QString::fromLatin1(QUrl::toPercentEncoding(printer));
}

} // namespace

Calibration PrintSettings::calibration(const QString &printer)
{
    QSettings settings(organisation(), application);
    settings.beginGroup(calibrationGroup(printer));
    Calibration c;
    c.shiftX = settings.value(QStringLiteral("shiftX"), c.shiftX).toDouble();
    c.shiftY = settings.value(QStringLiteral("shiftY"), c.shiftY).toDouble();
    c.scaleX = settings.value(QStringLiteral("scaleX"), c.scaleX).toDouble();
    c.scaleY = settings.value(QStringLiteral("scaleY"), c.scaleY).toDouble();
    return c.isValid() ? c : Calibration();
}

void PrintSettings::setCalibration(const QString &printer, const Calibration &calibration)
{
    QSettings settings(organisation(), application);
    settings.remove(calibrationGroup(printer));
    if (calibration.isIdentity())
        return;
    settings.beginGroup(calibrationGroup(printer));
    settings.setValue(QStringLiteral("shiftX"), calibration.shiftX);
    settings.setValue(QStringLiteral("shiftY"), calibration.shiftY);
    settings.setValue(QStringLiteral("scaleX"), calibration.scaleX);
    settings.setValue(QStringLiteral("scaleY"), calibration.scaleY);
}

bool PrintSettings::marks()
{
    return QSettings(organisation(), application).value(QStringLiteral("Print/marks"), true).toBool();
}

void PrintSettings::setMarks(bool on)
{
    QSettings(organisation(), application).setValue(QStringLiteral("Print/marks"), on);
}
