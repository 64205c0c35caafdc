#include "preview/descriptionsfile.h"

#include "preview/windows1250.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>
#include <vector>

QList<QStringList> DescriptionsFile::parse(QByteArrayView bytes, int labelsPerBarette)
{
    QList<QStringList> groups;
    const int perGroup = labelsPerBarette + 1;
    if (perGroup <= 0)
        return groups;
    const char *data = bytes.data();
    const qsizetype size = bytes.size();
    qsizetype pos = 0;

    // Panels repeat their texts ("Praca", "Awaria", ...): equal short lines
    // share one string, which saves an allocation per line and most of the
    // memory of a large file. A small table indexed by a hash of the bytes
    // remembers the last line seen in each slot; a different line in the same
    // slot simply takes it over, so a file of all-different lines costs
    // little more than decoding each line.
    constexpr qsizetype sharedLineLength = 64;
    constexpr int slotBits = 12;
    struct Slot
    {
        const char *bytes = nullptr;
        qsizetype length = 0;
        quint64 head = 0;   // first and last 8 bytes: lines of up to 16 bytes
        quint64 tail = 0;   // compare without a call
        QString text;
    };
    std::vector<Slot> table(size_t(1) << slotBits);
    auto text = [&table](const char *line, qsizetype length) -> QString {
        if (length == 0)
            return QString();
        if (length > sharedLineLength)
            return Windows1250::decode(QByteArrayView(line, length));
        const size_t word = size_t(std::min<qsizetype>(length, 8));
        quint64 head = 0;
        quint64 tail = 0;
        std::memcpy(&head, line, word);
        std::memcpy(&tail, line + length - qsizetype(word), word);
        const quint64 hash = (head * 0x9E3779B97F4A7C15ull) ^ ((tail + quint64(length)) * 0xC2B2AE3D27D4EB4Full);
        Slot &slot = table[size_t(hash >> (64 - slotBits))];
        if (slot.length == length && slot.head == head && slot.tail == tail
            && (length <= 16 || std::memcmp(slot.bytes + 8, line + 8, size_t(length - 16)) == 0))
            return slot.text;
        slot.bytes = line;
        slot.length = length;
        slot.head = head;
        slot.tail = tail;
        slot.text = Windows1250::decode(QByteArrayView(line, length));
        return slot.text;
    };

    // Text files hardly ever hold a NUL; one look at the whole file saves a
    // search in every line.
    const bool hasNul = std::memchr(data, '\0', size_t(size)) != nullptr;
    while (pos < size) {
        QStringList group;
        group.reserve(perGroup);
        for (int i = 0; i < perGroup; ++i) {
            if (pos >= size) {
                group.append(QString());
                continue;
            }
            const void *lf = std::memchr(data + pos, '\n', size_t(size - pos));
            const qsizetype end = lf ? static_cast<const char *>(lf) - data : size;
            qsizetype textEnd = end;
            if (hasNul) {
                if (const void *nul = std::memchr(data + pos, '\0', size_t(end - pos)))
                    textEnd = static_cast<const char *>(nul) - data;
            }
            group.append(text(data + pos, textEnd - pos));
            pos = lf ? end + 1 : size;
        }
        groups.append(std::move(group));
    }
    return groups;
}

DescriptionsFile::ReadStatus DescriptionsFile::read(const QString &path, int labelsPerBarette,
                                                    QList<QStringList> &groups)
{
    groups.clear();
    if (path.isEmpty())
        return ReadStatus::NoPath;
    if (!QFileInfo::exists(path))
        return ReadStatus::Missing;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return ReadStatus::OpenFailed;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return ReadStatus::OpenFailed;
    groups = parse(bytes, labelsPerBarette);
    return ReadStatus::Ok;
}

bool DescriptionsFile::serialize(const QStringList &fieldTexts, QByteArray &out,
                                 qsizetype *badField, QChar *badChar)
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
            if (badChar)
                *badChar = text.at(bad);
            return false;
        }
        bytes += line;
        bytes += '\n';
    }
    out = std::move(bytes);
    return true;
}
