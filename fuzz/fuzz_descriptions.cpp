// Descriptions files: the reader (which splits bytes, shares equal lines and
// skips searches it can) against the plainest reading there is, and texts
// written out read back as they were.
//
// Input: the first byte chooses the labels per barette (5 to 15), the rest is
// the file.

#include "files/descriptionsfile.h"

#include <QStringDecoder>

#include <cstdint>
#include <cstdlib>

namespace {

using Groups = QList<QStringList>;

// Decode the whole file, split the text at line feeds, cut each line at a NUL,
// turn "@" into line breaks, and group the lines.
Groups plainReading(QByteArrayView bytes, int n)
{
    const DescriptionsFile::Encoding encoding = DescriptionsFile::detectEncoding(bytes);
    // A UTF-8 byte order mark is no text, also before Windows-1250 bytes.
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    QString text;
    if (encoding == DescriptionsFile::Encoding::Utf8) {
        // Only valid UTF-8 is ever read as UTF-8.
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        text = utf8.decode(bytes);
        if (utf8.hasError())
            std::abort();
    } else {
        text = QStringDecoder("windows-1250", QStringDecoder::Flag::Stateless).decode(bytes);
    }
    QStringList lines = text.split(QLatin1Char('\n'));
    if (text.isEmpty() || text.endsWith(QLatin1Char('\n')))
        lines.removeLast();   // nothing after the last line feed
    Groups groups;
    for (qsizetype i = 0; i < lines.size(); i += n + 1) {
        QStringList group;
        for (qsizetype j = i; j < i + n + 1; ++j) {
            QString line = lines.value(j);
            if (const qsizetype nul = line.indexOf(QChar(0)); nul >= 0)
                line.truncate(nul);
            line.replace(QLatin1Char('@'), QLatin1Char('\n'));
            group.append(line);
        }
        groups.append(group);
    }
    return groups;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const int n = 5 + data[0] % 11;
    const QByteArrayView bytes(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));

    const Groups groups = DescriptionsFile::parse(bytes, n);
    if (groups != plainReading(bytes, n))
        std::abort();

    // Written out, the texts read back the same: line breaks go out as "@"
    // and come back as line breaks. Texts with characters Windows-1250 lacks
    // are refused, not written; and bytes that happen to look like UTF-8 are
    // read as UTF-8 (see DescriptionsFile), so only files read back as
    // Windows-1250 must match.
    QStringList fields;
    for (const QStringList &g : groups)
        fields += g;
    QByteArray written;
    if (!DescriptionsFile::serialize(fields, written))
        return 0;
    if (written.count('\n') != fields.size())
        std::abort();
    // (A first text that begins with the mark's own three characters, "ď»ż",
    // is written as the mark's bytes and read back without them.)
    if (DescriptionsFile::detectEncoding(written) == DescriptionsFile::Encoding::Windows1250
        && !written.startsWith("\xEF\xBB\xBF") && DescriptionsFile::parse(written, n) != groups)
        std::abort();
    return 0;
}
