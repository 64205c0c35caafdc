#pragma once

#include "layout/geometrypreset.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QCoreApplication>
#include <QList>
#include <QString>

// The user geometry file: the insert geometries a user saved under names of
// his own, one per line, in "usersgeometry.dat" (where it lies: see
// Settings::userGeometryPath()).
//
//   file   := line*                 Windows-1250, no byte-order mark
//   line   := text LF | text EOF
//   text   := name ";;" hw ";;" hh ";;" lw ";;" lh ";;" n
//
// - hw, hh are the header's width and height, lw, lh the label field's, in mm:
//   the header comes first here, while the rest of the program puts the label
//   field first. n is the number of label fields under the header.
// - Lengths are written in the shortest form with at most six significant
//   digits, "." as the decimal point, no group separators and no trailing
//   zeros: 37.3, 11.17, 50.25, 8.5, 28, 0. The user's locale plays no part,
//   neither in writing nor in reading. A length that is not such a number
//   reads as 0. n is a base-10 integer; white space around it (a CR before the
//   LF included) is ignored, anything else reads as 0. Values are read as they
//   stand; keeping them within what the panel's editors take is the panel's job.
// - The text of a line ends at its LF or at its first NUL, whichever comes first.
// - A line of fewer than six fields (an empty line, a stub left by hand) is no
//   preset: reading skips it and a rewrite keeps it byte for byte. Fields after
//   the sixth are ignored.
// - Names are compared case-sensitively and several lines may share one. A name
//   that holds ";;" or a control character (a line break, a NUL), or ends in
//   ";", would not read back as written: the program refuses to write it.
// - Lines the program writes end in a single LF. Every change writes the whole
//   file anew through AtomicFile; the lines a change does not mean to touch keep
//   their bytes, a CR before their LF and a missing last LF included. A file
//   that exists but cannot be read is never rewritten, and a change that
//   would take the file past maxSize is refused.
//
// In this class a preset's name is the name as stored, without the "*" by
// which the panel marks user presets.
class UserGeometryFile
{
    Q_DECLARE_TR_FUNCTIONS(UserGeometryFile)

public:
    static inline const QString defaultPath = QStringLiteral("usersgeometry.dat");
    // Larger files are refused rather than read into a list nobody could use,
    // and never written.
    static constexpr qint64 maxSize = 1024 * 1024;

    explicit UserGeometryFile(QString path = defaultPath) : filePath(std::move(path)) {}

    const QString &path() const { return filePath; }

    // Reads the presets in file order. A missing file holds none. Returns false,
    // with the reason in `error`, when the file exists but cannot be read.
    bool read(QList<GeometryPreset> &presets, QString *error = nullptr) const;

    // Adds a line for `preset` at the end of the file (creating the file).
    bool append(const GeometryPreset &preset, QString *error = nullptr) const;
    // Replaces every line named like `preset` by a line with its values; when
    // no line has that name, adds one at the end, so the values are never lost.
    bool replace(const GeometryPreset &preset, QString *error = nullptr) const;
    // Removes every line named `name`.
    bool remove(const QString &name, QString *error = nullptr) const;

    // The rules behind the operations above, on bytes.
    static QList<GeometryPreset> parse(QByteArrayView bytes);
    static QString formatNumber(double value);
    // The line of `preset` with its LF; false when its name cannot be written.
    static bool formatLine(const GeometryPreset &preset, QByteArray &line, QString *error = nullptr);
    // Why `name` cannot be stored, in words for the user; empty when it can.
    static QString nameProblem(const QString &name);
    // `bytes` with every line named `name` replaced by `replacement` (with its
    // LF), or dropped when `replacement` is null. `matched` counts those lines.
    static QByteArray rewrite(QByteArrayView bytes, const QString &name, const QByteArray *replacement,
                              int *matched = nullptr);

private:
    enum class Load { Ok, Missing, Failed };
    Load load(QByteArray &bytes, QString *error) const;
    bool store(const QByteArray &bytes, QString *error) const;

    QString filePath;
};
