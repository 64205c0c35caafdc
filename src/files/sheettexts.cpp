#include "files/sheettexts.h"

#include "files/filelook.h"

#include <algorithm>
#include <cstring>

SheetTexts::SheetTexts(const QStringList &texts) : count(texts.size()), fileLines(texts.size())
{
    qsizetype units = 0;
    for (const QString &text : texts)
        units += text.size();
    packed.resize(units);
    starts.resize(count + 1);
    QChar *out = packed.data();
    qsizetype *start = starts.data();
    qsizetype at = 0;
    const QString *list = texts.constData();
    for (qsizetype id = 0; id < count; ++id) {
        // The strings lie apart in memory: the next ones are fetched while
        // this one is copied.
#if defined(__GNUC__)
        if (id + 8 < count)
            __builtin_prefetch(list[id + 8].constData());
#endif
        start[id] = at;
        const qsizetype size = list[id].size();
        if (size > 0)
            std::memcpy(out + at, list[id].constData(), size_t(size) * sizeof(QChar));
        at += size;
    }
    start[count] = at;
}

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
    if (!edits.isEmpty()) {
        const auto edited = edits.constFind(id);
        if (edited != edits.cend())
            return edited.value();
    }
    if (id >= fileLines)
        return QString();
    return compact ? fileText(id) : packedText(id).toString();
}

void SheetTexts::set(qsizetype id, const QString &text)
{
    if (id < 0)
        return;
    // A text set back to the file's own (or the packed one) is that again.
    if (id < fileLines && (compact ? fileText(id) == text : packedText(id) == text))
        edits.remove(id);
    else
        edits.insert(id, text);
    count = std::max(count, id + 1);
}

QStringList SheetTexts::toList() const
{
    QStringList all;
    all.reserve(count);
    for (qsizetype id = 0; id < count; ++id)
        all.append(at(id));
    return all;
}

bool SheetTexts::sameTexts(const QStringList &other) const
{
    const auto lastFull = [](qsizetype n, const auto &empty) {
        while (n > 0 && empty(n - 1))
            --n;
        return n;
    };
    const auto view = [this](qsizetype id, QString &decoded) -> QStringView {
        if (!compact && id < fileLines && (edits.isEmpty() || !edits.contains(id)))
            return packedText(id);
        decoded = at(id);
        return decoded;
    };
    QString decoded;
    const qsizetype mine = lastFull(count, [&](qsizetype id) { return view(id, decoded).isEmpty(); });
    const qsizetype theirs = lastFull(other.size(), [&](qsizetype id) { return other.at(id).isEmpty(); });
    if (mine != theirs)
        return false;
    for (qsizetype id = 0; id < mine; ++id) {
        if (view(id, decoded) != QStringView(other.at(id)))
            return false;
    }
    return true;
}

void SheetTexts::repack(std::vector<std::pair<qsizetype, QStringView>> written, const std::atomic<bool> *cancelled)
{
    if (compact || (edits.isEmpty() && written.empty()))
        return;
    // The edits first, so that a text written now comes after its field's edit.
    std::vector<std::pair<qsizetype, QStringView>> last;
    if (edits.isEmpty()) {
        last = std::move(written);
    } else {
        last.reserve(size_t(edits.size()) + written.size());
        for (auto e = edits.cbegin(); e != edits.cend(); ++e)
            last.push_back({e.key(), e.value()});
        last.insert(last.end(), written.begin(), written.end());
        written = {};
    }
    // (Changes come in id order, mostly: a sort would take half as much again.)
    const auto byId = [](const auto &a, const auto &b) { return a.first < b.first; };
    if (!std::is_sorted(last.begin(), last.end(), byId))
        std::stable_sort(last.begin(), last.end(), byId);
    // Of two texts for one field, the later.
    size_t kept = 0;
    for (size_t i = 0; i < last.size(); ++i) {
        if (last[i].first < 0)
            continue;
        if (kept > 0 && last[kept - 1].first == last[i].first)
            last[kept - 1] = last[i];
        else
            last[kept++] = last[i];
    }
    last.resize(kept);
    const qsizetype total = last.empty() ? count : std::max(count, last.back().first + 1);
    qsizetype units = packed.size();
    for (const auto &[id, text] : last)
        units += text.size() - (id < fileLines ? packedText(id).size() : 0);

    // The texts between two written fields are copied in one piece, their
    // starts moved by what the writes before them added.
    QString morePacked;
    QList<qsizetype> moreStarts;
    morePacked.reserve(units);
    moreStarts.resize(total + 1);
    qsizetype id = 0;
    const auto copyUpTo = [&](qsizetype end) {
        // Texts [id, end) as packed; past the packed ones, empty.
        const qsizetype packedEnd = std::min(end, fileLines);
        if (id < packedEnd) {
            const qsizetype shift = morePacked.size() - starts.at(id);
            for (qsizetype k = id; k < packedEnd; ++k)
                moreStarts[k] = starts.at(k) + shift;
            morePacked.append(QStringView(packed).mid(starts.at(id), starts.at(packedEnd) - starts.at(id)));
            id = packedEnd;
        }
        for (; id < end; ++id)
            moreStarts[id] = morePacked.size();
    };
    qsizetype n = 0;
    for (const auto &[w, text] : last) {
        if ((++n & 1023) == 0 && cancelled && cancelled->load(std::memory_order_relaxed))
            return;
        copyUpTo(w);
        moreStarts[w] = morePacked.size();
        morePacked.append(text);
        id = w + 1;
    }
    copyUpTo(total);
    moreStarts[total] = morePacked.size();
    packed = std::move(morePacked);
    starts = std::move(moreStarts);
    count = total;
    fileLines = total;
    edits.clear();
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
