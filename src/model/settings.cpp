#include "model/settings.h"

#include "model/usergeometryfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <cmath>

namespace {
QString folderKey(Settings::Folder kind)
{
    switch (kind) {
    case Settings::Folder::Descriptions:
        return QStringLiteral("Folders/descriptions");
    case Settings::Folder::Projects:
        return QStringLiteral("Folders/projects");
    case Settings::Folder::Pdf:
        return QStringLiteral("Folders/pdf");
    case Settings::Folder::Export:
        return QStringLiteral("Folders/export");
    }
    return QString();
}

const QString recentKey = QStringLiteral("Recent/files");

// Stored lengths and counts are read back only when they are numbers.
std::optional<double> number(const QSettings &store, const QString &key)
{
    bool ok = false;
    const double value = store.value(key).toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}
} // namespace

void Settings::useProgramNames()
{
    QCoreApplication::setOrganizationName(organisationName);
    QCoreApplication::setApplicationName(applicationName);
}

QString Settings::printer() const
{
    return store.value(QStringLiteral("Printer/name")).toString();
}

void Settings::setPrinter(const QString &name)
{
    store.setValue(QStringLiteral("Printer/name"), name);
}

std::optional<GeometryPreset> Settings::geometry() const
{
    if (!store.contains(QStringLiteral("Geometry/labels")))
        return std::nullopt;
    bool ok = false;
    const int labels = store.value(QStringLiteral("Geometry/labels")).toInt(&ok);
    const auto lw = number(store, QStringLiteral("Geometry/labelWidth"));
    const auto lh = number(store, QStringLiteral("Geometry/labelHeight"));
    const auto hw = number(store, QStringLiteral("Geometry/headerWidth"));
    const auto hh = number(store, QStringLiteral("Geometry/headerHeight"));
    if (!ok || !lw || !lh || !hw || !hh)
        return std::nullopt;
    return GeometryPreset{store.value(QStringLiteral("Geometry/preset")).toString(), QRectF(0, 0, *lw, *lh),
                          QRectF(0, 0, *hw, *hh), labels};
}

void Settings::setGeometry(const GeometryPreset &geometry)
{
    store.setValue(QStringLiteral("Geometry/preset"), geometry.presetName);
    store.setValue(QStringLiteral("Geometry/labels"), geometry.labelsPerBarette);
    store.setValue(QStringLiteral("Geometry/labelWidth"), geometry.labelRect.width());
    store.setValue(QStringLiteral("Geometry/labelHeight"), geometry.labelRect.height());
    store.setValue(QStringLiteral("Geometry/headerWidth"), geometry.headerRect.width());
    store.setValue(QStringLiteral("Geometry/headerHeight"), geometry.headerRect.height());
}

QString Settings::lastFolder(Folder kind) const
{
    return store.value(folderKey(kind)).toString();
}

void Settings::setLastFolder(Folder kind, const QString &filePath)
{
    store.setValue(folderKey(kind), QFileInfo(filePath).absolutePath());
}

QByteArray Settings::windowGeometry() const
{
    return store.value(QStringLiteral("Window/geometry")).toByteArray();
}

QByteArray Settings::windowState() const
{
    return store.value(QStringLiteral("Window/state")).toByteArray();
}

void Settings::setWindow(const QByteArray &geometry, const QByteArray &state)
{
    store.setValue(QStringLiteral("Window/geometry"), geometry);
    store.setValue(QStringLiteral("Window/state"), state);
}

QStringList Settings::recentFiles() const
{
    QStringList files = store.value(recentKey).toStringList();
    files.removeAll(QString());
    return files.mid(0, maxRecentFiles);
}

void Settings::addRecentFile(const QString &path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList files = recentFiles();
    files.removeAll(absolute);
    files.prepend(absolute);
    store.setValue(recentKey, files.mid(0, maxRecentFiles));
}

void Settings::removeRecentFile(const QString &path)
{
    QStringList files = recentFiles();
    files.removeAll(path);
    store.setValue(recentKey, files);
}

QString Settings::userGeometryPath()
{
    // Present means there in any form: a link to nothing or a folder under
    // that name is used too, and reported when it cannot be read.
    const QFileInfo old(QDir::current(), UserGeometryFile::defaultPath);
    if (old.exists() || old.isSymLink())
        return old.absoluteFilePath();
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .absoluteFilePath(UserGeometryFile::defaultPath);
}

bool Settings::save(QString *error)
{
    store.sync();
    if (store.status() == QSettings::NoError)
        return true;
    if (error)
        *error = QCoreApplication::translate("Settings", "Nie można zapisać ustawień programu w pliku %1.")
                     .arg(QDir::toNativeSeparators(store.fileName()));
    return false;
}
