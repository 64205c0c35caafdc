#include "editor/editortext.h"

#include "preview/descriptionsfile.h"
#include "preview/windows1250.h"

EditorText::Shown EditorText::fromBytes(QByteArrayView bytes)
{
    Shown shown;
    const qsizetype lineFeeds = bytes.count('\n');
    shown.crlf = lineFeeds > 0 && bytes.count(QByteArrayView("\r\n")) == lineFeeds;
    // Read exactly as the sheet reads it (a UTF-8 file is recognised as such).
    shown.text = DescriptionsFile::decode(bytes, &shown.encoding);
    if (shown.crlf)
        shown.text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    if (bytes.contains('\r'))
        shown.text.replace(QLatin1Char('\r'), crMark);
    if (bytes.contains('\0')) {
        shown.nulCount = bytes.count('\0');
        shown.text.replace(QChar(u'\0'), nulMark);
    }
    return shown;
}

bool EditorText::toBytes(QStringView text, bool crlf, QByteArray &out, Unencodable *bad)
{
    QString plain;
    plain.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case QChar::ParagraphSeparator:
        case QChar::LineSeparator:
        case u'\n':
            if (crlf)
                plain += QLatin1Char('\r');
            plain += QLatin1Char('\n');
            break;
        case nulMark.unicode():
            plain += QChar(u'\0');
            break;
        case crMark.unicode():
            plain += QLatin1Char('\r');
            break;
        default:
            plain += c;
        }
    }
    qsizetype at = -1;
    if (Windows1250::encode(plain, out, &at))
        return true;
    if (bad) {
        bad->line = QStringView(plain).first(at).count(QLatin1Char('\n')) + 1;
        const bool pair = plain.at(at).isHighSurrogate() && at + 1 < plain.size()
                          && plain.at(at + 1).isLowSurrogate();
        bad->character = plain.mid(at, pair ? 2 : 1);
    }
    return false;
}
