#include "files/sheettexts.h"

#include "files/filelook.h"

#include <cstring>

SheetTexts SheetTexts::fromFile(QByteArray fileBytes, DescriptionsFile::Encoding *used)
{
    SheetTexts texts;
    texts.compact = true;
    texts.bytes = std::move(fileBytes);
    const DescriptionsFile::Encoding encoding = DescriptionsFile::detectEncoding(texts.bytes);
    if (used)
        *used = encoding;
    texts.utf8 = encoding == DescriptionsFile::Encoding::Utf8;
    const char *data = texts.bytes.constData();
    const qsizetype size = texts.bytes.size();
    // A UTF-8 byte order mark is no part of field 0, also before bytes that
    // are no UTF-8 (a file written on by a Windows-1250 program since).
    qsizetype pos = size - DescriptionsFile::withoutBom(texts.bytes).size();
    // (An empty file has no data pointer, and memchr must never be given null.)
    texts.hasAt = size > 0 && std::memchr(data, '@', size_t(size)) != nullptr;
    texts.hasNul = size > 0 && std::memchr(data, '\0', size_t(size)) != nullptr;

    qsizetype line = 0;
    constexpr qsizetype blockMask = (qsizetype(1) << blockBits) - 1;
    texts.blockStarts.reserve(size_t(size / 256 + 1));
    while (pos < size) {
        if ((line & blockMask) == 0)
            texts.blockStarts.push_back(pos);
        ++line;
        const void *lf = std::memchr(data + pos, '\n', size_t(size - pos));
        pos = lf ? static_cast<const char *>(lf) - data + 1 : size;
    }
    texts.blockStarts.shrink_to_fit();
    texts.fileLines = line;
    texts.count = line;
    return texts;
}

DescriptionsFile::ReadStatus SheetTexts::read(const QString &path, SheetTexts &texts,
                                              DescriptionsFile::Encoding *used, const std::atomic<bool> *cancelled)
{
    FileLook look = FileLook::at(path);
    return read(look, texts, used, cancelled);
}

DescriptionsFile::ReadStatus SheetTexts::read(FileLook &look, SheetTexts &texts, DescriptionsFile::Encoding *used,
                                              const std::atomic<bool> *cancelled)
{
    if (used)
        *used = DescriptionsFile::Encoding::Windows1250;
    texts = SheetTexts();
    QByteArray bytes;
    const DescriptionsFile::ReadStatus status = DescriptionsFile::readBytes(look, bytes, cancelled);
    if (status == DescriptionsFile::ReadStatus::Ok)
        texts = fromFile(std::move(bytes), used);
    return status;
}

QString SheetTexts::fileText(qsizetype id) const
{
    const char *data = bytes.constData();
    const qsizetype size = bytes.size();
    const qsizetype pos = lineStart(id);
    const void *lf = pos < size ? std::memchr(data + pos, '\n', size_t(size - pos)) : nullptr;
    qsizetype end = lf ? static_cast<const char *>(lf) - data : size;
    if (hasNul && end > pos) {
        if (const void *nul = std::memchr(data + pos, '\0', size_t(end - pos)))
            end = static_cast<const char *>(nul) - data;
    }
    return DescriptionsFile::lineText(QByteArrayView(data + pos, end - pos),
                                      utf8 ? DescriptionsFile::Encoding::Utf8 : DescriptionsFile::Encoding::Windows1250,
                                      hasAt);
}

QString SheetTexts::at(qsizetype id) const
{
    if (id < 0 || id >= count)
        return QString();
    if (!compact)
        return list.at(id);
    if (!edits.isEmpty()) {
        const auto edited = edits.constFind(id);
        if (edited != edits.cend())
            return edited.value();
    }
    return id < fileLines ? fileText(id) : QString();
}

void SheetTexts::set(qsizetype id, const QString &text)
{
    if (id < 0)
        return;
    if (!compact) {
        if (id >= list.size())
            list.resize(id + 1);
        list[id] = text;
        count = list.size();
        return;
    }
    // A text set back to the file's own is the file's again.
    if (id < fileLines && fileText(id) == text)
        edits.remove(id);
    else
        edits.insert(id, text);
    count = std::max(count, id + 1);
}

QStringList SheetTexts::toList() const
{
    if (!compact)
        return list;
    QStringList all;
    all.reserve(count);
    for (qsizetype id = 0; id < count; ++id)
        all.append(at(id));
    return all;
}

qsizetype SheetTexts::lineStart(qsizetype line) const
{
    const char *data = bytes.constData();
    const qsizetype size = bytes.size();
    qsizetype pos = blockStarts[size_t(line >> blockBits)];
    for (qsizetype skip = line & ((qsizetype(1) << blockBits) - 1); skip > 0; --skip)
        pos = static_cast<const char *>(std::memchr(data + pos, '\n', size_t(size - pos))) - data + 1;
    return pos;
}
