#pragma once

#include "model/geometrypreset.h"

#include <QByteArray>
#include <QSettings>
#include <QString>
#include <QStringList>

#include <optional>

// What the program remembers between runs, behind typed accessors, in the
// platform's settings store (on Linux ~/.config/Lamello/lamello.conf, written
// by QSettings through a temporary file). The organisation and application
// names come from the application object: main() sets them with
// useProgramNames(); tests set names of their own and QStandardPaths' test
// mode, so that they never read or change the user's settings.
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
    // when none was stored or a stored value is not a number.
    std::optional<GeometryPreset> geometry() const;
    void setGeometry(const GeometryPreset &geometry);

    // The folder of the last file of `kind`; empty when there is none.
    QString lastFolder(Folder kind) const;
    // Remembers the folder of `filePath` for `kind`.
    void setLastFolder(Folder kind, const QString &filePath);

    QByteArray windowGeometry() const;
    QByteArray windowState() const;
    void setWindow(const QByteArray &geometry, const QByteArray &state);

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

private:
    QSettings store;
};
