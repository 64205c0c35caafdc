#pragma once

#include "files/descriptionsfile.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QChar>
#include <QString>
#include <QStringView>

// How the descriptions editor turns a file's bytes into the text it shows, and
// that text back into bytes, so that a file opened and saved without an edit
// keeps every byte:
//
// - Bytes are read as the sheet reads them: Windows-1250, or UTF-8 when the
//   whole file is plainly UTF-8. They are always written as Windows-1250, the
//   program's one file encoding.
// - Line feeds are the editor's line breaks. When every line feed of a file
//   follows a CR ("CR LF" files), those CRs are dropped when reading and
//   written back before every line feed. Any other CR is shown as "␍" (a plain
//   text editor would otherwise break the line there and shift every field
//   after it) and written back as a CR.
// - A NUL byte, which ends the text of its field on the sheet, is shown as "␀"
//   and written back as a NUL.
// "␀" and "␍" have no byte in Windows-1250, so these marks never stand for
// anything else.
class EditorText
{
public:
    static constexpr QChar nulMark{u'\u2400'};
    static constexpr QChar crMark{u'\u240D'};

    struct Shown
    {
        QString text;               // lines separated by "\n"
        bool crlf = false;          // write CR LF line ends back
        qsizetype nulCount = 0;     // NUL bytes found (shown as nulMark)
        DescriptionsFile::Encoding encoding = DescriptionsFile::Encoding::Windows1250;
    };

    static Shown fromBytes(QByteArrayView bytes);

    // Where a character without a byte in Windows-1250 stands.
    struct Unencodable
    {
        qsizetype line = 0;         // counted from 1
        char32_t character = 0;     // the whole character, not half a surrogate pair
    };

    // The bytes of `text`, whose lines may be separated by "\n" or by the
    // paragraph and line separators of a text document. Returns false, and
    // leaves `out` as it was, when a character cannot be written; `bad` then
    // names the first one.
    static bool toBytes(QString text, bool crlf, QByteArray &out, Unencodable *bad = nullptr);
};
