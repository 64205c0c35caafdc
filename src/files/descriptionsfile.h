#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <atomic>

class FileLook;
class QIODevice;

// The descriptions file: the plain text from which every text on the sheet comes.
//
//   file    := line*            Windows-1250 (see "Encoding"), no header
//   line    := byte* LF | byte* EOF
//
// - LF (0x0A) ends a line and is not part of the text; a CR before it is kept.
// - A NUL byte ends the text of its line; the bytes after it up to the LF are dropped.
// - No trimming: spaces belong to the text, an empty line is an empty text.
// - Lines are positional: with n labels per barette every n + 1 lines form one
//   group, header text first. A group that starts before the end of the file
//   is completed with empty texts.
// - Inside a field a line break is LF; the file holds it as "@", and reading
//   turns every "@" back into a line break.
//
// Encoding. The program writes Windows-1250 only. Most editors save UTF-8
// today, so a file is read as UTF-8 when all of it is valid UTF-8, it holds at
// least one multi-byte sequence, and every character of it is one a label text
// plausibly holds (Latin letters, Greek, combining accents, punctuation,
// symbols). Polish Windows-1250 text never passes that test: its bytes that
// could start a UTF-8 sequence (Ć Ę Ń Ó ć ę ń ó) would decode to Cyrillic, IPA,
// CJK, Yi or unassigned characters. Everything else is Windows-1250, byte for
// byte; a UTF-8 byte-order mark at the start is dropped.
class DescriptionsFile
{
public:
    enum class ReadStatus { Ok, NoPath, Missing, NotRegular, OpenFailed };
    enum class Encoding { Windows1250, Utf8 };

    static Encoding detectEncoding(QByteArrayView bytes);

    // The whole of `bytes` as one text in the detected encoding, line ends and
    // "@" as they stand: what an editor of the file shows.
    static QString decode(QByteArrayView bytes, Encoding *used = nullptr);

    // Groups `bytes` into barettes of `labelsPerBarette` + 1 texts.
    static QList<QStringList> parse(QByteArrayView bytes, int labelsPerBarette, Encoding *used = nullptr);

    // `lines` in groups of `labelsPerBarette` + 1, the last completed with empty texts.
    static QList<QStringList> group(const QStringList &lines, int labelsPerBarette);

    // Every line of `bytes` as one field text, in file order: the text of
    // field id i is line i.
    static QStringList parseLines(QByteArrayView bytes, Encoding *used = nullptr);

    // `text` as a descriptions file gives it back once written: every "@" a
    // line break. Whatever enters a sheet from outside (cells, typed or
    // dropped text) goes through this, so that saving never changes a text.
    static QString asRead(QString text);
    static bool changesOnSave(QStringView text) { return text.contains(u'@'); }

    // The text of one line of a file in `encoding`: `line` without its LF and
    // cut at a NUL. `mayHoldAt` false promises there is no "@" to look for.
    static QString lineText(QByteArrayView line, Encoding encoding, bool mayHoldAt = true);
    // `bytes` without a UTF-8 byte-order mark at the start.
    static QByteArrayView withoutBom(QByteArrayView bytes);

    // The bytes of the regular file at `path`; on any status but Ok `bytes` is
    // left empty. A read stopped by `cancelled` is OpenFailed.
    static ReadStatus readBytes(const QString &path, QByteArray &bytes,
                                const std::atomic<bool> *cancelled = nullptr);
    // The same from the file `look` opened (files/filelook.h).
    static ReadStatus readBytes(FileLook &look, QByteArray &bytes, const std::atomic<bool> *cancelled = nullptr);
    // Reads `device` to its end, or `limit` bytes (-1: no limit), in blocks,
    // stopping when `cancelled` is set; false on a failed read or a stop.
    static bool readAll(QIODevice &device, QByteArray &bytes, const std::atomic<bool> *cancelled,
                        qint64 limit = -1);

    // readLines() without grouping; on any status but Ok `lines` is left empty.
    static ReadStatus readLines(const QString &path, QStringList &lines, Encoding *used = nullptr);

    // Reads the regular file at `path` (anything else is NotRegular, and is
    // never opened). On any status but Ok, `groups` is left empty. Check a
    // file with DescriptionsCheck first: this reads whatever it is given.
    static ReadStatus read(const QString &path, int labelsPerBarette, QList<QStringList> &groups,
                           Encoding *used = nullptr);

    // The number of lines of `bytes`: one per field of the sheet it was written from.
    static qsizetype lineCount(QByteArrayView bytes);

    // The bytes of a descriptions file holding `fieldTexts`, one per line, line
    // breaks written as "@". Returns false when a text holds a character that
    // Windows-1250 cannot represent; `badField` and `badChar` (the whole code
    // point, also beyond U+FFFF) then name it.
    static bool serialize(const QStringList &fieldTexts, QByteArray &out,
                          qsizetype *badField = nullptr, char32_t *badChar = nullptr);
};
