#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QFont>
#include <QList>
#include <QString>
#include <QStringList>

// A project keeps a prepared sheet in two files side by side:
//
//   name.lmpro   the font of every header and label field, in field id order
//   name.dat     the texts, a descriptions file (descriptionsfile.h), one line
//                per field in the same order
//
// The texts file's name is the project file's with every ".lmpro" replaced by
// ".dat". Texts and fonts are matched to fields by position only; neither file
// holds the geometry, so a project opens under whatever geometry is set.
//
// The project file is nothing but consecutive font records, one per field: no
// magic number, no version, no count. Each record is a QFont as QDataStream
// writes it at stream version 12 (the default of Qt 4.6 to 4.8), big-endian,
// the format of the project files users already have:
//
//   quint32  family length in bytes, then the family in UTF-16BE
//            (0xFFFFFFFF: no family, nothing follows)
//   double   point size, -1 when the size is in pixels
//   qint32   pixel size, -1 when the size is in points
//   quint8   style hint (0..8)
//   quint8   style strategy
//   quint8   character set, always 0
//   quint8   weight, 0..99: normal 50, bold 75
//   quint8   bits: 0x01 italic, 0x02 underline, 0x04 strike-out,
//            0x08 fixed pitch, 0x10 kerning, 0x40 overline, 0x80 oblique
//   quint16  stretch: 100 unstretched (what Qt 4 writes), 0 any (read alike)
//   quint8   0x01 ignore pitch, 0x02 letter spacing absolute
//   qint32   letter spacing, 26.6 fixed point
//   qint32   word spacing, 26.6 fixed point
//
// Fonts are written with stretch 100 where they have none, so that a record is
// byte for byte what a Qt 4 program writes for the same font.
//
// Reading takes a record for a font only when its family has at most
// maxFamilyLength printable characters, a size in points or pixels up to 1000,
// a style hint of 0..8, a weight of 0..99 and a stretch up to 4000. The first
// record that is not ends the reading: what follows cannot be trusted to start
// where a record starts.
class ProjectFile
{
public:
    static inline const QString suffix = QStringLiteral(".lmpro");
    // A record's family name longer than this is damage, not a font.
    static constexpr qsizetype maxFamilyLength = 300;
    // The longest record read as a font.
    static constexpr qsizetype longestRecord = 4 + 2 * maxFamilyLength + 28;

    // How many bytes of a project file can hold fonts for a texts file of
    // `lineCount` lines, under any labels-per-barette count (5..15) and the
    // empty fields that complete its last barette; what lies beyond can never
    // reach a field and need not be read.
    static qint64 readLimit(qsizetype lineCount) { return (qint64(lineCount) + 15) * longestRecord; }

    // The name of the texts file that belongs to the project file `projectPath`.
    static QString textsPath(const QString &projectPath);
    // Both files of the project, in the order a save puts them in place
    // (AtomicFile::writeAll and AtomicFile::finishInterrupted take this order).
    static QStringList files(const QString &projectPath) { return {textsPath(projectPath), projectPath}; }
    // `name` as a project file name: ".lmpro" appended when it does not end so
    // (otherwise project and texts file would be one file).
    static QString withSuffix(const QString &name);

    // "z 1 pola", "z 5 pól": the fields of a project after "z" (genitive).
    static QString ofFields(qint64 count);

    static QByteArray fontRecord(const QFont &font);
    static QByteArray serializeFonts(const QList<QFont> &fonts);

    struct Fonts
    {
        enum class Status {
            Complete,     // the file ends after its last record
            Damaged,      // a record is cut off or makes no sense: `fonts` holds those before it
            NotAProject,  // the first record is no font record at all
        };
        Status status = Status::Complete;
        QList<QFont> fonts;
        qsizetype damageOffset = -1;   // where the bad record starts
    };

    // Reads the records of a project file. It never allocates more than the
    // records found need, whatever lengths a damaged file claims.
    static Fonts parseFonts(QByteArrayView bytes);
};
