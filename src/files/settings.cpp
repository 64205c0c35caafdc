#include "files/settings.h"

#include "files/atomicfile.h"
#include "files/usergeometryfile.h"
#include "system/plural.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <utility>

#include <sys/stat.h>

namespace {
QString tr(const char *text, const char *form = nullptr)
{
    return QCoreApplication::translate("Settings", text, form);
}

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
const QString windowCheckKey = QStringLiteral("Window/check");
const QString languageKey = QStringLiteral("Interface/language");

// Stored lengths and counts are read back only when they are numbers.
std::optional<double> number(const QSettings &store, const QString &key)
{
    bool ok = false;
    const double value = store.value(key).toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// A stored name or path, empty when it is longer than any real one.
QString boundedText(const QSettings &store, const QString &key, qsizetype limit)
{
    const QVariant value = store.value(key);
    const QString text = value.typeId() == QMetaType::QString ? value.toString() : QString();
    return text.size() > limit ? QString() : text;
}

// What stands beside the window's bytes, so that damage is told before the
// toolkit reads them.
QString windowCheck(const QByteArray &geometry, const QByteArray &state)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(QByteArray::number(geometry.size()));
    hash.addData(":");
    hash.addData(geometry);
    hash.addData(state);
    return QString::fromLatin1(hash.result().toHex());
}

// What the program found when it first looked at the settings file.
struct FileState
{
    QString path;           // the file looked at; another path is looked at anew
    bool usable = true;
    QString problem;        // said once
};

FileState &fileState()
{
    static FileState state;
    return state;
}

// An empty store that lives as long as the process and is nobody's file.
QString privateStorePath()
{
    static QTemporaryDir dir;
    return dir.filePath(QStringLiteral("lamello.conf"));
}
} // namespace

void Settings::useProgramNames()
{
    QCoreApplication::setOrganizationName(organisationName);
    QCoreApplication::setApplicationName(applicationName);
}

QString Settings::printer() const
{
    return boundedText(*store, QStringLiteral("Printer/name"), maxPrinterNameLength);
}

void Settings::setPrinter(const QString &name)
{
    store->setValue(QStringLiteral("Printer/name"), name);
}

std::optional<GeometryPreset> Settings::geometry(QString *problem) const
{
    if (!store->contains(QStringLiteral("Geometry/labels")))
        return std::nullopt;
    const auto refuse = [problem](const QString &why) {
        if (problem)
            *problem = tr("Zapamiętana geometria baretki jest nieprawidłowa (%1); użyto domyślnej.").arg(why);
        return std::nullopt;
    };
    bool ok = false;
    const int labels = store->value(QStringLiteral("Geometry/labels")).toInt(&ok);
    const auto lw = number(*store, QStringLiteral("Geometry/labelWidth"));
    const auto lh = number(*store, QStringLiteral("Geometry/labelHeight"));
    const auto hw = number(*store, QStringLiteral("Geometry/headerWidth"));
    const auto hh = number(*store, QStringLiteral("Geometry/headerHeight"));
    if (!ok || !lw || !lh || !hw || !hh)
        return refuse(tr("wartość nie jest liczbą"));
    GeometryPreset geometry{boundedText(*store, QStringLiteral("Geometry/preset"), maxPathLength),
                            QRectF(0, 0, *lw, *lh), QRectF(0, 0, *hw, *hh), labels};
    // The limits the panel holds the user to, whole: a stored value it would
    // clamp is damage.
    if (const QString why = geometry.sheetProblem(); !why.isEmpty())
        return refuse(why);
    return geometry;
}

void Settings::setGeometry(const GeometryPreset &geometry)
{
    store->setValue(QStringLiteral("Geometry/preset"), geometry.presetName);
    store->setValue(QStringLiteral("Geometry/labels"), geometry.labelsPerBarette);
    store->setValue(QStringLiteral("Geometry/labelWidth"), geometry.labelRect.width());
    store->setValue(QStringLiteral("Geometry/labelHeight"), geometry.labelRect.height());
    store->setValue(QStringLiteral("Geometry/headerWidth"), geometry.headerRect.width());
    store->setValue(QStringLiteral("Geometry/headerHeight"), geometry.headerRect.height());
}

QString Settings::lastFolder(Folder kind) const
{
    return boundedText(*store, folderKey(kind), maxPathLength);
}

void Settings::setLastFolder(Folder kind, const QString &filePath)
{
    store->setValue(folderKey(kind), QFileInfo(filePath).absolutePath());
}

namespace {
// Both of the window's values, or neither when either is too large or they
// do not match the check stored with them.
std::pair<QByteArray, QByteArray> storedWindow(const QSettings &store)
{
    const QVariant geometry = store.value(QStringLiteral("Window/geometry"));
    const QVariant state = store.value(QStringLiteral("Window/state"));
    if (geometry.typeId() != QMetaType::QByteArray || state.typeId() != QMetaType::QByteArray)
        return {};
    const QByteArray g = geometry.toByteArray();
    const QByteArray s = state.toByteArray();
    if (g.size() > Settings::maxWindowBytes || s.size() > Settings::maxWindowBytes
        || store.value(windowCheckKey).toString() != windowCheck(g, s))
        return {};
    return {g, s};
}
} // namespace

QByteArray Settings::windowGeometry() const
{
    return storedWindow(*store).first;
}

QByteArray Settings::windowState() const
{
    return storedWindow(*store).second;
}

void Settings::setWindow(const QByteArray &geometry, const QByteArray &state)
{
    store->setValue(QStringLiteral("Window/geometry"), geometry);
    store->setValue(QStringLiteral("Window/state"), state);
    store->setValue(windowCheckKey, windowCheck(geometry, state));
}

std::optional<Language::Choice> Settings::language() const
{
    const QString code = boundedText(*store, languageKey, 2);
    return code == QLatin1String("pl") || code == QLatin1String("en") ? Language::fromCode(code) : std::nullopt;
}

void Settings::setLanguage(std::optional<Language::Choice> language)
{
    if (language)
        store->setValue(languageKey, Language::code(*language));
    else
        store->remove(languageKey);
}

QStringList Settings::recentFiles() const
{
    const QVariant value = store->value(recentKey);
    QStringList files;
    // One path is stored as a string, several as a list.
    if (value.typeId() == QMetaType::QString || value.typeId() == QMetaType::QStringList)
        files = value.toStringList().mid(0, maxRecentFiles);
    files.removeIf([](const QString &path) { return path.isEmpty() || path.size() > maxPathLength; });
    return files;
}

void Settings::addRecentFile(const QString &path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList files = recentFiles();
    files.removeAll(absolute);
    files.prepend(absolute);
    store->setValue(recentKey, files.mid(0, maxRecentFiles));
}

namespace {
const QString sheetMappingsKey = QStringLiteral("Sheets/mappings");
} // namespace

QString Settings::sheetMapping(const QString &path) const
{
    const QString absolute = QFileInfo(path).absoluteFilePath() + QLatin1Char('\n');
    const QVariant value = store->value(sheetMappingsKey);
    if (value.typeId() != QMetaType::QString && value.typeId() != QMetaType::QStringList)
        return QString();
    const QStringList entries = value.toStringList().mid(0, maxSheetMappings);
    for (const QString &entry : entries) {
        if (entry.size() <= maxPathLength + maxMappingLength && entry.startsWith(absolute))
            return entry.mid(absolute.size());
    }
    return QString();
}

void Settings::setSheetMapping(const QString &path, const QString &mapping)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    if (absolute.size() > maxPathLength || mapping.size() > maxMappingLength || absolute.contains(QLatin1Char('\n')))
        return;
    const QVariant value = store->value(sheetMappingsKey);
    QStringList entries = (value.typeId() == QMetaType::QString || value.typeId() == QMetaType::QStringList)
                              ? value.toStringList().mid(0, maxSheetMappings)
                              : QStringList();
    entries.removeIf([&](const QString &entry) {
        return entry.size() > maxPathLength + maxMappingLength || entry.startsWith(absolute + QLatin1Char('\n'));
    });
    entries.prepend(absolute + QLatin1Char('\n') + mapping);
    store->setValue(sheetMappingsKey, entries.mid(0, maxSheetMappings));
}

namespace {
const QString projectSourcesKey = QStringLiteral("Projects/sources");
constexpr qsizetype maxSourceLength = 2 * Settings::maxPathLength + Settings::maxMappingLength + 2;
} // namespace

// Entries of another type, too long, or beyond the count are passed over.
static QStringList projectSourceEntries(const QSettings &store)
{
    const QVariant value = store.value(projectSourcesKey);
    if (value.typeId() != QMetaType::QString && value.typeId() != QMetaType::QStringList)
        return {};
    QStringList entries = value.toStringList().mid(0, Settings::maxProjectSources);
    entries.removeIf([](const QString &entry) { return entry.size() > maxSourceLength; });
    return entries;
}

std::optional<Settings::ProjectSource> Settings::projectSource(const QString &project) const
{
    const QString key = QFileInfo(project).absoluteFilePath() + QLatin1Char('\n');
    const QStringList entries = projectSourceEntries(*store);
    for (const QString &entry : entries) {
        if (!entry.startsWith(key))
            continue;
        const qsizetype end = entry.indexOf(QLatin1Char('\n'), key.size());
        if (end < 0)
            return std::nullopt;
        ProjectSource source{entry.mid(key.size(), end - key.size()), entry.mid(end + 1)};
        if (source.workbook.isEmpty() || source.workbook.size() > maxPathLength
            || source.mapping.size() > maxMappingLength)
            return std::nullopt;
        return source;
    }
    return std::nullopt;
}

void Settings::setProjectSource(const QString &project, const QString &workbook, const QString &mapping)
{
    const QString absolute = QFileInfo(project).absoluteFilePath();
    const QString source = QFileInfo(workbook).absoluteFilePath();
    if (absolute.size() > maxPathLength || source.size() > maxPathLength || mapping.size() > maxMappingLength
        || absolute.contains(QLatin1Char('\n')) || source.contains(QLatin1Char('\n')))
        return;
    QStringList entries = projectSourceEntries(*store);
    entries.removeIf([&](const QString &entry) { return entry.startsWith(absolute + QLatin1Char('\n')); });
    entries.prepend(absolute + QLatin1Char('\n') + source + QLatin1Char('\n') + mapping);
    store->setValue(projectSourcesKey, entries.mid(0, maxProjectSources));
}

void Settings::removeProjectSource(const QString &project)
{
    const QString absolute = QFileInfo(project).absoluteFilePath() + QLatin1Char('\n');
    QStringList entries = projectSourceEntries(*store);
    if (entries.removeIf([&](const QString &entry) { return entry.startsWith(absolute); }) > 0)
        store->setValue(projectSourcesKey, entries);
}

void Settings::removeRecentFile(const QString &path)
{
    QStringList files = recentFiles();
    files.removeAll(path);
    store->setValue(recentKey, files);
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
    store->sync();
    // Only a failed write is a failure of the save: a file that could not be
    // parsed has been said at the start, and is written clean now.
    if (store->status() != QSettings::AccessError)
        return true;
    if (error)
        *error = tr("Nie można zapisać ustawień programu w pliku %1.")
                     .arg(QDir::toNativeSeparators(store->fileName()));
    return false;
}

QString Settings::filePath()
{
    const QString organisation = QCoreApplication::organizationName();
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QLatin1Char('/')
           + (organisation.isEmpty() ? organisationName : organisation) + QLatin1Char('/') + applicationName
           + QStringLiteral(".conf");
}

QString Settings::fileRefusal(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat st{};
    if (::lstat(name.constData(), &st) != 0)
        return errno == ENOENT ? QString() : AtomicFile::systemError(errno);
    const bool link = S_ISLNK(st.st_mode);
    // A link is judged by what it leads to, without ever opening it.
    if (link && ::stat(name.constData(), &st) != 0) {
        if (errno == ELOOP)
            return tr("to pętla dowiązań symbolicznych");
        if (errno == ENOENT)
            return tr("to dowiązanie do pliku, którego nie ma");
        return AtomicFile::systemError(errno);
    }
    if (S_ISDIR(st.st_mode))
        return link ? tr("to dowiązanie do folderu") : tr("to folder");
    if (!S_ISREG(st.st_mode))
        return link ? tr("to dowiązanie do potoku, urządzenia lub gniazda")
                    : tr("to nie jest zwykły plik, lecz potok, urządzenie lub gniazdo");
    if (st.st_size > maxFileSize)
        return tr("plik ma %1, a ustawienia zajmują najwyżej %2")
            .arg(counted(st.st_size, tr("%1 bajt", "one"), tr("%1 bajty", "few"), tr("%1 bajtów", "many")))
            .arg(maxFileSize);
    return QString();
}

namespace {
// The look at the settings file: once for each path, and again only to see
// that the file has not turned into something else meanwhile.
FileState &lookAtFile()
{
    FileState &state = fileState();
    const QString path = Settings::filePath();
    if (state.path != path) {
        state = FileState{path, true, QString()};
        if (const QString why = Settings::fileRefusal(path); !why.isEmpty()) {
            state.usable = false;
            state.problem = QCoreApplication::translate("Settings",
                                                        "Pominięto plik ustawień %1: %2. Program działa z "
                                                        "ustawieniami domyślnymi i nie zmieni tego pliku.")
                                .arg(QDir::toNativeSeparators(path), why);
        } else {
            std::unique_ptr<QSettings> probe = std::make_unique<QSettings>(path, QSettings::IniFormat);
            if (probe->status() == QSettings::FormatError) {
                probe.reset();
                // Nothing of it can be trusted: the file starts again empty.
                QString error;
                AtomicFile::write(path, QByteArray(), &error);
                state.problem = QCoreApplication::translate(
                                        "Settings", "Nie można odczytać ustawień z pliku %1; przywrócono ustawienia domyślne.")
                                    .arg(QDir::toNativeSeparators(path));
            }
        }
    } else if (state.usable && !Settings::fileRefusal(path).isEmpty()) {
        // Changed into something else while the program runs: left alone too.
        state.usable = false;
    }
    return state;
}
} // namespace

std::unique_ptr<QSettings> Settings::openStore()
{
    const FileState &state = lookAtFile();
    return std::make_unique<QSettings>(state.usable ? state.path : privateStorePath(), QSettings::IniFormat);
}

QString Settings::takeFileProblem()
{
    return std::exchange(lookAtFile().problem, QString());
}
