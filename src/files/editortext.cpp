#include "files/editortext.h"

#include "files/descriptionsfile.h"
#include "files/windows1250.h"

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

bool EditorText::toBytes(QString plain, bool crlf, QByteArray &out, Unencodable *bad)
{
    // Changed in place: the marks and separators have the same length as
    // what they stand for.
    char16_t *c = reinterpret_cast<char16_t *>(plain.data());
    char16_t *const end = c + plain.size();
    for (; c != end; ++c) {
        switch (*c) {
        case QChar::ParagraphSeparator:
        case QChar::LineSeparator:
            *c = u'\n';
            break;
        case nulMark.unicode():
            *c = u'\0';
            break;
        case crMark.unicode():
            *c = u'\r';
            break;
        default:
            break;
        }
    }
    if (crlf)
        plain.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    qsizetype at = -1;
    if (Windows1250::encode(plain, out, &at))
        return true;
    if (bad) {
        bad->line = QStringView(plain).first(at).count(QLatin1Char('\n')) + 1;
        bad->character = Windows1250::characterAt(plain, at);
    }
    return false;
}
