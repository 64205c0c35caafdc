#pragma once

#include "files/sheettexts.h"
#include "layout/geometrypreset.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QFont>
#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

// The recovery copy of a window's sheet: what reopening the sheet after a
// crash, a kill or a power cut needs, kept in the user's data folder while
// the window works (app/recovery.h writes it).
//
// The copy holds the texts in one of two ways. A sheet read from a
// descriptions file keeps that file's bytes apart from what was written
// into its fields (SheetTexts): the copy then holds only the fields written
// over, and names the bytes they apply to by their SHA-256 (the source
// file's path, size and time are kept to name it to the user). Those bytes
// are kept once per sheet read, beside the copy (sourceSuffix), so that the
// texts come back even when the source file was changed or deleted since.
// Any other sheet (a workbook, pasted cells, the editor's texts) is held
// whole. Fonts are a table of the different fonts and, field by field in id
// order, runs of the same table index. Since version 2 the copy also holds
// the geometry in force and, for a sheet imported from a workbook, that
// workbook with its mapping (what F5 reads again); version-1 copies read
// without them.
//
// The file: the magic bytes, a version, then the fields below, integers
// big-endian, strings as a 32-bit byte count and UTF-8. Reading refuses a
// file over maxFileSize, any count or length that the bytes left cannot
// hold, a font index past the table, more than maxFields lines, whole texts
// that are not lineCount, more edits than lines, fonts for more fields than
// the lines and the empty fields of a last barette (16 at most), a font
// table larger than its runs or maxFonts, a geometry the sheet could not be
// laid out with and a mapping over maxMappingBytes: what a copy costs to
// read is bounded by the sheet it holds.
struct RecoveryCopy
{
    static inline const QString suffix = QStringLiteral(".lmrec");
    static inline const QString sourceSuffix = QStringLiteral(".source");
    static constexpr qint64 maxFileSize = qint64(1) << 30;
    static constexpr qint64 maxFields = qint64(200) * 1000 * 1000;
    static constexpr qsizetype maxTextBytes = 1 << 20;
    static constexpr qsizetype maxMappingBytes = 4096;
    // Different fonts in one sheet: far more than a sheet set by hand has.
    static constexpr qint64 maxFonts = 65536;

    enum class Kind : quint8 { Texts = 0, Descriptions = 1, Workbook = 2, Project = 3 };

    quint32 version = 2;              // of the format the copy was read from
    qint64 savedAt = 0;               // ms since the epoch, UTC
    Kind kind = Kind::Texts;
    QString sourcePath;               // the descriptions file or workbook; empty for pasted cells
    qint64 sourceSize = -1;
    qint64 sourceTime = 0;            // its modification time, ms since the epoch
    QByteArray sourceHash;            // SHA-256 of the bytes `edits` apply to; empty when `texts` are whole
    QString projectPath;              // what Ctrl+S saves to; empty when none
    qint64 lineCount = 0;
    QStringList texts;                // whole texts (no sourceHash)
    // The same as the sheet holds them, written as `texts` when those are
    // empty: a large sheet's texts are made strings on the writing thread,
    // not the window's. Not filled by parse().
    SheetTexts sheetTexts;
    QList<std::pair<qint64, QString>> edits;   // by field id, over the source's bytes
    QList<QFont> fontTable;
    QList<std::pair<quint32, qint64>> fontRuns;   // (table index, fields), from id 0
    // The geometry in force; labelsPerBarette 0 when the copy holds none
    // (version 1).
    GeometryPreset geometry;
    // The workbook the texts were imported from and its mapping as the
    // settings keep it (SheetMapping::toString()); empty when none.
    QString workbookPath;
    QString workbookMapping;
    // The texts are cells pasted from a spreadsheet.
    bool pasted = false;

    // The font of every field, fields.size() == the runs' total.
    QList<QFont> fieldFonts() const;

    static QByteArray serialize(const RecoveryCopy &copy);

    enum class Status { Ok, NotACopy, Damaged, Newer };
    struct Read;
    static Read parse(QByteArrayView bytes);
    // Why a copy could not be read, for the user.
    static QString reason(Status status);

    static QByteArray hash(QByteArrayView bytes);
};

struct RecoveryCopy::Read
{
    Status status = Status::NotACopy;
    RecoveryCopy copy;
};
