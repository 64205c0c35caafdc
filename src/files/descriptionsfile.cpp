#include "files/descriptionsfile.h"

#include "files/descriptionscheck.h"
#include "files/filelook.h"
#include "files/sheettexts.h"
#include "files/windows1250.h"

#include <QFile>

#include <cstring>

namespace {

// Whether a character decoded from a file that is valid UTF-8 is one a label
// text plausibly holds. A Windows-1250 file that happens to be valid UTF-8
// decodes to characters outside these ranges.
bool plausibleInLabelText(char32_t c)
{
    if (c < 0x80)
        return true;
    if (c < 0xA0)
        return false;   // C1 controls
    if (c <= 0x17F)
        return true;    // Latin-1 and Latin Extended-A: ó, ą, ł, ä, ...
    if (c >= 0x300 && c <= 0x3FF)
        return true;    // combining accents (decomposed letters), Greek: Ω, μ, Δ
    if (c >= 0x2000 && c <= 0x27BF)
        return true;    // punctuation, sub- and superscripts, currency, ℃, №, arrows, maths, technical, shapes
    if (c >= 0x1F300 && c <= 0x1FAFF)
        return true;    // pictographs
    const char16_t unit = char16_t(c);
    return c <= 0xFFFF && Windows1250::canEncode(QStringView(&unit, 1));   // ˇ ˘ ˙ ˛ ˝
}

constexpr char utf8Bom[] = "\xEF\xBB\xBF";

} // namespace

QByteArrayView DescriptionsFile::withoutBom(QByteArrayView bytes)
{
    return bytes.startsWith(QByteArrayView(utf8Bom, 3)) ? bytes.sliced(3) : bytes;
}

QString DescriptionsFile::asRead(QString text)
{
    if (changesOnSave(text))
        text.replace(QLatin1Char('@'), QLatin1Char('\n'));
    return text;
}

QString DescriptionsFile::lineText(QByteArrayView line, Encoding encoding, bool mayHoldAt)
{
    if (line.isEmpty())
        return QString();
    QString text = encoding == Encoding::Utf8 ? QString::fromUtf8(line) : Windows1250::decode(line);
    if (mayHoldAt)
        text.replace(QLatin1Char('@'), QLatin1Char('\n'));
    return text;
}

DescriptionsFile::Encoding DescriptionsFile::detectEncoding(QByteArrayView bytes)
{
    const auto *p = reinterpret_cast<const uchar *>(bytes.data());
    const qsizetype size = bytes.size();
    qsizetype i = 0;
    bool multiByte = false;
    if (bytes.startsWith(QByteArrayView(utf8Bom, 3))) {
        i = 3;
        multiByte = true;
    }
    while (i < size) {
        // Label texts are mostly ASCII: skip it eight bytes at a time.
        quint64 word = 0;
        while (i + 8 <= size && (std::memcpy(&word, p + i, 8), (word & 0x8080808080808080ull) == 0))
            i += 8;
        if (i >= size)
            break;
        const uchar lead = p[i];
        if (lead < 0x80) {
            ++i;
            continue;
        }
        int length = 0;
        char32_t c = 0;
        char32_t smallest = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            c = lead & 0x1F;
            smallest = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            c = lead & 0x0F;
            smallest = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            c = lead & 0x07;
            smallest = 0x10000;
        } else {
            return Encoding::Windows1250;
        }
        if (size - i < length)
            return Encoding::Windows1250;
        for (int k = 1; k < length; ++k) {
            const uchar next = p[i + k];
            if ((next & 0xC0) != 0x80)
                return Encoding::Windows1250;
            c = (c << 6) | (next & 0x3F);
        }
        // Overlong forms, surrogates and values past Unicode are not UTF-8.
        if (c < smallest || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF) || !plausibleInLabelText(c))
            return Encoding::Windows1250;
        multiByte = true;
        i += length;
    }
    return multiByte ? Encoding::Utf8 : Encoding::Windows1250;
}

QString DescriptionsFile::decode(QByteArrayView bytes, Encoding *used)
{
    const Encoding encoding = detectEncoding(bytes);
    if (used)
        *used = encoding;
    // The byte order mark is dropped whatever follows, as the sheet drops it.
    if (encoding == Encoding::Utf8)
        return QString::fromUtf8(withoutBom(bytes));
    return Windows1250::decode(withoutBom(bytes));
}

QList<QStringList> DescriptionsFile::parse(QByteArrayView bytes, int labelsPerBarette, Encoding *used)
{
    return group(parseLines(bytes, used), labelsPerBarette);
}

QList<QStringList> DescriptionsFile::group(const QStringList &lines, int labelsPerBarette)
{
    QList<QStringList> groups;
    const int perGroup = labelsPerBarette + 1;
    if (perGroup <= 0)
        return groups;
    groups.reserve((lines.size() + perGroup - 1) / perGroup);
    for (qsizetype first = 0; first < lines.size(); first += perGroup) {
        QStringList group = lines.mid(first, perGroup);
        while (group.size() < perGroup)
            group.append(QString());
        groups.append(std::move(group));
    }
    return groups;
}

QStringList DescriptionsFile::parseLines(QByteArrayView bytes, Encoding *used)
{
    // One way of finding and decoding lines: the sheet's own.
    return SheetTexts::fromFile(bytes.toByteArray(), used).toList();
}

DescriptionsFile::ReadStatus DescriptionsFile::read(const QString &path, int labelsPerBarette,
                                                    QList<QStringList> &groups, Encoding *used)
{
    groups.clear();
    QStringList lines;
    const ReadStatus status = readLines(path, lines, used);
    if (status == ReadStatus::Ok)
        groups = group(lines, labelsPerBarette);
    return status;
}

bool DescriptionsFile::readAll(QIODevice &device, QByteArray &bytes, const std::atomic<bool> *cancelled,
                               qint64 limit)
{
    bytes.clear();
    if (!cancelled) {
        bytes = limit < 0 ? device.readAll() : device.read(limit);
        return true;
    }
    // A block at a time, so that a cancel is seen within a few milliseconds.
    // The room for the size known now and a byte more, which tells the end.
    constexpr qint64 block = 4 << 20;
    const qint64 size = device.size() - device.pos();
    if (size > 0)
        bytes.reserve((limit < 0 ? size : qMin(size, limit)) + 1);
    while (limit < 0 || bytes.size() < limit) {
        if (cancelled->load(std::memory_order_relaxed))
            return false;
        qint64 want = block;
        if (bytes.capacity() > bytes.size())
            want = qMin<qint64>(want, bytes.capacity() - bytes.size());
        if (limit >= 0)
            want = qMin(want, limit - bytes.size());
        const qsizetype had = bytes.size();
        bytes.resize(had + want);
        const qint64 got = device.read(bytes.data() + had, want);
        bytes.resize(had + qMax<qint64>(got, 0));
        if (got <= 0)
            return got == 0;
    }
    return true;
}

DescriptionsFile::ReadStatus DescriptionsFile::readBytes(const QString &path, QByteArray &bytes,
                                                         const std::atomic<bool> *cancelled)
{
    bytes.clear();
    if (path.isEmpty())
        return ReadStatus::NoPath;
    FileLook look = FileLook::at(path);
    return readBytes(look, bytes, cancelled);
}

DescriptionsFile::ReadStatus DescriptionsFile::readBytes(FileLook &look, QByteArray &bytes,
                                                         const std::atomic<bool> *cancelled)
{
    bytes.clear();
    if (look.path.isEmpty())
        return ReadStatus::NoPath;
    // Only regular files: a FIFO or a device would block or never end.
    switch (look.verdict) {
    case DescriptionsCheck::Verdict::Ok:
        break;
    case DescriptionsCheck::Verdict::Missing:
        return ReadStatus::Missing;
    case DescriptionsCheck::Verdict::NotRegular:
        return ReadStatus::NotRegular;
    default:
        return ReadStatus::OpenFailed;
    }
    QFile &file = look.rewound();
    QByteArray read;
    if (!readAll(file, read, cancelled) || file.error() != QFileDevice::NoError)
        return ReadStatus::OpenFailed;
    bytes = std::move(read);
    return ReadStatus::Ok;
}

DescriptionsFile::ReadStatus DescriptionsFile::readLines(const QString &path, QStringList &lines, Encoding *used)
{
    if (used)
        *used = Encoding::Windows1250;
    lines.clear();
    QByteArray bytes;
    const ReadStatus status = readBytes(path, bytes);
    if (status == ReadStatus::Ok)
        lines = parseLines(bytes, used);
    return status;
}

qsizetype DescriptionsFile::lineCount(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return 0;
    return bytes.count('\n') + (bytes.endsWith('\n') ? 0 : 1);
}

bool DescriptionsFile::serialize(const QStringList &fieldTexts, QByteArray &out,
                                 qsizetype *badField, char32_t *badChar)
{
    QByteArray bytes;
    QByteArray line;
    for (qsizetype i = 0; i < fieldTexts.size(); ++i) {
        QString text = fieldTexts.at(i);
        text.replace(QLatin1Char('\n'), QLatin1Char('@'));
        qsizetype bad = -1;
        if (!Windows1250::encode(text, line, &bad)) {
            if (badField)
                *badField = i;
            // The whole character, not the first half of a surrogate pair.
            if (badChar)
                *badChar = Windows1250::characterAt(text, bad);
            return false;
        }
        bytes += line;
        bytes += '\n';
    }
    out = std::move(bytes);
    return true;
}
