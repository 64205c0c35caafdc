#pragma once

#include "layout/geometrypreset.h"
#include "system/language.h"

#include <QByteArray>
#include <QSettings>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

// What the program remembers between runs, behind typed accessors, in one
// settings file (filePath(): ~/.config/Lamello/lamello.conf, written by
// QSettings through a temporary file), shared by the window and
// lamello-batch. The folder is named after the application object's
// organisation, "Lamello" when it has none: tests set a name of their own and
// QStandardPaths' test mode, so that they never read or change the user's
// settings.
//
// The file is outside input like any other. Before it is first read it is
// looked at (fileRefusal()): anything but a missing file, a regular file of
// at most maxFileSize bytes or a link to one (a FIFO, a device, a folder, a
// link loop) is neither read nor written, and the program runs on an empty
// store of its own. A file QSettings cannot parse is emptied once. Either is
// said once (takeFileProblem()). Every value read back is bounded and checked
// as the panels check what the user types; a damaged value is ignored as a
// whole.
//
// Keys:
//   Printer/name                 the printer chosen in the window ("" for none)
//   Geometry/preset              the geometry panel's entry when it was applied
//   Geometry/labels              label fields under a header
//   Geometry/labelWidth, Geometry/labelHeight, Geometry/headerWidth,
//   Geometry/headerHeight        in mm
//   Folders/descriptions, Folders/projects, Folders/pdf, Folders/export
//                                the folder of the last file of each kind
//                                opened or saved
//   Window/geometry, Window/state   the main window's size and tool bars
//   Recent/files                 descriptions files and projects opened,
//                                most recent first, at most maxRecentFiles
//   Sheets/mappings              how each spreadsheet imported last was
//                                mapped, "path\nmapping" (SheetMapping's
//                                line), most recent first, at most
//                                maxSheetMappings
//   Projects/sources             the workbook each project was saved from,
//                                "project\nworkbook\nmapping", most recent
//                                first, at most maxProjectSources
//   Interface/language           "pl" or "en" chosen in the window's
//                                language menu; absent: the desktop's
//
// A value is written only after the step it records has worked: an open, a
// save or a geometry that was applied.
class Settings
{
public:
    enum class Folder { Descriptions, Projects, Pdf, Export };
    static constexpr int maxRecentFiles = 8;
    static inline const QString organisationName = QStringLiteral("Lamello");
    static inline const QString applicationName = QStringLiteral("lamello");

    // Names the settings store and the data folder after the program.
    static void useProgramNames();

    QString printer() const;
    void setPrinter(const QString &name);

    // The geometry last applied, under the name of its panel entry; nothing
    // when none was stored, and nothing with the reason in `problem` when the
    // stored one is not a geometry the panel accepts.
    std::optional<GeometryPreset> geometry(QString *problem = nullptr) const;
    void setGeometry(const GeometryPreset &geometry);

    // The folder of the last file of `kind`; empty when there is none.
    QString lastFolder(Folder kind) const;
    // Remembers the folder of `filePath` for `kind`.
    void setLastFolder(Folder kind, const QString &filePath);

    // The window's size and tool bars as it stored them, both empty when they
    // are larger than maxWindowBytes or fail the check stored beside them.
    QByteArray windowGeometry() const;
    QByteArray windowState() const;
    void setWindow(const QByteArray &geometry, const QByteArray &state);

    // How the spreadsheet at `path` was mapped when it was last imported;
    // empty when it was not, or the stored line is damaged.
    QString sheetMapping(const QString &path) const;
    void setSheetMapping(const QString &path, const QString &mapping);
    static constexpr int maxSheetMappings = 32;
    static constexpr qsizetype maxMappingLength = 512;
    // The workbook a project's texts were imported from and its mapping, kept
    // when the project is saved so that F5 reads the workbook again into it;
    // nothing when none is stored or the stored entry is damaged.
    struct ProjectSource
    {
        QString workbook;
        QString mapping;
    };
    std::optional<ProjectSource> projectSource(const QString &project) const;
    void setProjectSource(const QString &project, const QString &workbook, const QString &mapping);
    void removeProjectSource(const QString &project);
    static constexpr int maxProjectSources = 32;
    // The language chosen in the window; nothing when the desktop's is
    // followed (also for any stored value but "pl" and "en").
    std::optional<Language::Choice> language() const;
    void setLanguage(std::optional<Language::Choice> language);

    QStringList recentFiles() const;
    // Puts `path` (made absolute) at the top of the list, once.
    void addRecentFile(const QString &path);
    void removeRecentFile(const QString &path);

    // The user geometry file: "usersgeometry.dat" in the working directory
    // when there is one (where earlier versions kept it), otherwise in the
    // user's data folder. An absolute path.
    static QString userGeometryPath();

    // Writes what changed; false, with the settings file's name in `error`,
    // when the store could not be written.
    bool save(QString *error = nullptr);

    // Limits of what is read back: a larger file is refused whole, a longer
    // name or path is damage.
    static constexpr qint64 maxFileSize = 1 << 20;
    static constexpr qsizetype maxPathLength = 4096;
    static constexpr qsizetype maxPrinterNameLength = 256;
    static constexpr qsizetype maxWindowBytes = 64 * 1024;

    // The settings file of this program (see above); an absolute path.
    static QString filePath();
    // Why the file at `path` may be neither read nor written as settings, in
    // words for the user; empty when it may (nothing there, or a regular file
    // of at most maxFileSize bytes, directly or through links).
    static QString fileRefusal(const QString &path);
    // The store every reader and writer of settings goes through: the
    // settings file when it may be used, otherwise an empty store private to
    // this process. The first call looks at the file.
    static std::unique_ptr<QSettings> openStore();
    // What was wrong with the settings file when it was first looked at, in
    // words for the user; empty when nothing was, and after the first call.
    static QString takeFileProblem();

private:
    std::unique_ptr<QSettings> store = openStore();
};
