#include "files/sheettexts.h"
#include "files/windows1250.h"

#include <QByteArrayMatcher>

#include <algorithm>
#include <array>
#include <cstring>
#include <thread>

namespace {

// Each Windows-1250 byte as the byte of its lower-case letter (itself when it
// has none in the code page): a case-blind search compares bytes through it.
const std::array<uchar, 256> &lowerBytes()
{
    static const std::array<uchar, 256> table = [] {
        std::array<uchar, 256> t{};
        for (int b = 0; b < 256; ++b) {
            const char byte = char(b);
            const QChar lower = Windows1250::decode(QByteArrayView(&byte, 1)).at(0).toLower();
            QByteArray encoded;
            t[size_t(b)] = Windows1250::encode(QStringView(&lower, 1), encoded) ? uchar(encoded.at(0)) : uchar(b);
        }
        return t;
    }();
    return table;
}

bool textMatches(QStringView text, const QString &query, Qt::CaseSensitivity cs, bool wholeField)
{
    return wholeField ? text.compare(query, cs) == 0 : text.contains(query, cs);
}

bool stopped(const std::atomic<bool> *cancelled)
{
    return cancelled && cancelled->load(std::memory_order_relaxed);
}

// textMatches() for many texts and one query, without the work QString does
// anew for each call: a tight loop over the UTF-16 units, each folded to its
// case through a table for the Latin letters (Polish ones included) and
// QChar::toCaseFolded() past them, as a case-blind QString compares. A query
// with a surrogate pair is left to QString, which folds whole code points.
class TextMatcher
{
public:
    TextMatcher(const QString &query, Qt::CaseSensitivity cs, bool wholeField)
        : query(query), cs(cs), wholeField(wholeField), fold(cs == Qt::CaseInsensitive)
    {
        simple = !query.isEmpty() && std::none_of(query.cbegin(), query.cend(), [](QChar c) { return c.isSurrogate(); });
        folded.reserve(size_t(query.size()));
        for (const QChar c : query)
            folded.push_back(folding(c.unicode()));
    }

    bool matches(QStringView text) const
    {
        if (!simple)
            return textMatches(text, query, cs, wholeField);
        const qsizetype n = qsizetype(folded.size());
        const qsizetype size = text.size();
        if (size < n || (wholeField && size != n))
            return false;
        const char16_t *t = reinterpret_cast<const char16_t *>(text.constData());
        const char16_t first = folded[0];
        for (qsizetype i = 0; i + n <= size; ++i) {
            if (folding(t[i]) != first)
                continue;
            qsizetype k = 1;
            while (k < n && folding(t[i + k]) == folded[size_t(k)])
                ++k;
            if (k == n)
                return true;
        }
        return false;
    }

private:
    char16_t folding(char16_t c) const
    {
        if (!fold)
            return c;
        return c < table().size() ? table()[c] : char16_t(QChar::toCaseFolded(char32_t(c)));
    }
    static const std::array<char16_t, 0x250> &table()
    {
        static const std::array<char16_t, 0x250> folds = [] {
            std::array<char16_t, 0x250> t{};
            for (size_t c = 0; c < t.size(); ++c)
                t[c] = char16_t(QChar::toCaseFolded(char32_t(c)));
            return t;
        }();
        return folds;
    }

    const QString &query;
    Qt::CaseSensitivity cs;
    bool wholeField;
    bool fold;
    bool simple = false;
    std::vector<char16_t> folded;
};

} // namespace

std::vector<qsizetype> SheetTexts::find(const QString &query, Qt::CaseSensitivity cs, bool wholeField,
                                        const std::atomic<bool> *cancelled, qsizetype from, qsizetype most) const
{
    std::vector<qsizetype> found;
    from = std::max<qsizetype>(from, 0);
    if (query.isEmpty() || most == 0 || from >= count)
        return found;
    const auto full = [&] { return most > 0 && qsizetype(found.size()) >= most; };
    if (!compact && most < 0 && count - from >= 2 * parallelFrom) {
        // A large list is searched in two halves at once, on two cores.
        const qsizetype middle = from + (count - from) / 2;
        std::vector<qsizetype> upper;
        std::thread second([&] { upper = findInList(query, cs, wholeField, cancelled, middle, count); });
        found = findInList(query, cs, wholeField, cancelled, from, middle);
        second.join();
        found.insert(found.end(), upper.begin(), upper.end());
        return found;
    }
    if (!compact)
        return findInList(query, cs, wholeField, cancelled, from, count, most);
    if (utf8) {
        // A UTF-8 file is rare and small: its texts are decoded one by one.
        const TextMatcher matcher(query, cs, wholeField);
        for (qsizetype id = from; id < count && !full(); ++id) {
            if ((id & 4095) == 0 && stopped(cancelled))
                break;
            if (matcher.matches(at(id)))
                found.push_back(id);
        }
        return found;
    }

    // In the file a line break is "@". Every byte decodes to one character,
    // so a query without a Windows-1250 form is in no text of the file.
    const bool fold = cs == Qt::CaseInsensitive;
    QString inFile = fold ? query.toLower() : query;
    inFile.replace(QLatin1Char('\n'), QLatin1Char('@'));
    QByteArray encoded;
    // (No text read from the file holds an "@": each became a line break.)
    const bool inBytes = !query.contains(QLatin1Char('@')) && Windows1250::encode(inFile, encoded);
    if (fold) {
        for (char &c : encoded)
            c = char(lowerBytes()[uchar(c)]);
    }
    if (edits.isEmpty()) {
        if (inBytes && from < fileLines)
            found = findInBytes(encoded, fold, wholeField, from, most, cancelled);
        return found;
    }
    // Written fields are judged by their own texts, not the file's: the
    // file's matches a batch at a time, the written ones left out.
    if (inBytes) {
        qsizetype line = from;
        while (line < fileLines && !full() && !stopped(cancelled)) {
            const qsizetype batch = most > 0 ? most - qsizetype(found.size()) + 64 : -1;
            const std::vector<qsizetype> more = findInBytes(encoded, fold, wholeField, line, batch, cancelled);
            for (const qsizetype id : more) {
                if (!edits.contains(id) && !full())
                    found.push_back(id);
            }
            if (batch < 0 || qsizetype(more.size()) < batch)
                break;
            line = more.back() + 1;
        }
    }
    std::vector<qsizetype> written;
    const TextMatcher matcher(query, cs, wholeField);
    for (auto e = edits.cbegin(); e != edits.cend(); ++e) {
        if (e.key() >= from && e.key() < count && matcher.matches(e.value()))
            written.push_back(e.key());
    }
    std::sort(written.begin(), written.end());
    const qsizetype fromFile = qsizetype(found.size());
    found.insert(found.end(), written.begin(), written.end());
    std::inplace_merge(found.begin(), found.begin() + fromFile, found.end());
    if (most > 0 && qsizetype(found.size()) > most)
        found.resize(size_t(most));
    return found;
}

std::vector<qsizetype> SheetTexts::findInList(const QString &query, Qt::CaseSensitivity cs, bool wholeField,
                                              const std::atomic<bool> *cancelled, qsizetype from, qsizetype end,
                                              qsizetype most) const
{
    std::vector<qsizetype> found;
    const TextMatcher matcher(query, cs, wholeField);
    const bool edited = !edits.isEmpty();
    for (qsizetype id = from; id < end && (most < 0 || qsizetype(found.size()) < most); ++id) {
        if ((id & 4095) == 0 && stopped(cancelled))
            break;
        QStringView text;
        const auto edit = edited ? edits.constFind(id) : edits.cend();
        if (edit != edits.cend())
            text = edit.value();
        else if (id < fileLines)
            text = packedText(id);
        if (matcher.matches(text))
            found.push_back(id);
    }
    return found;
}

qsizetype SheetTexts::findFirst(const QString &query, Qt::CaseSensitivity cs, bool wholeField, qsizetype from,
                                const std::atomic<bool> *cancelled) const
{
    std::vector<qsizetype> first = find(query, cs, wholeField, cancelled, from, 1);
    if (first.empty() && from > 0)
        first = find(query, cs, wholeField, cancelled, 0, 1);
    return first.empty() ? -1 : first.front();
}

std::vector<qsizetype> SheetTexts::findInBytes(const QByteArray &query, bool fold, bool wholeField,
                                               qsizetype fromLine, qsizetype most,
                                               const std::atomic<bool> *cancelled) const
{
    std::vector<qsizetype> found;
    const char *data = bytes.constData();
    const qsizetype size = bytes.size();
    const qsizetype n = query.size();
    if (n == 0 || size < n)
        return found;
    const QByteArrayMatcher matcher(query);
    const std::array<uchar, 256> &lower = lowerBytes();
    const auto *q = reinterpret_cast<const uchar *>(query.constData());
    const auto *p = reinterpret_cast<const uchar *>(data);
    // The bytes are looked at a stretch at a time, so that a search that is
    // no longer wanted stops soon.
    constexpr qsizetype stretch = qsizetype(1) << 22;
    // The next place at or after `from` where the query starts, or -1.
    const auto next = [&](qsizetype from) -> qsizetype {
        while (from + n <= size) {
            if (stopped(cancelled))
                return -1;
            const qsizetype end = std::min(size, from + stretch + n - 1);   // a match may start up to end - n
            if (!fold) {
                const qsizetype at = matcher.indexIn(data, end, from);
                if (at >= 0)
                    return at;
            } else {
                for (qsizetype i = from; i + n <= end; ++i) {
                    if (lower[p[i]] != q[0])
                        continue;
                    qsizetype k = 1;
                    while (k < n && lower[p[i + k]] == q[k])
                        ++k;
                    if (k == n)
                        return i;
                }
            }
            from = end - n + 1;
        }
        return -1;
    };

    qsizetype line = fromLine;   // the line that starts at lineStart
    qsizetype lineStart = blockStarts.empty() ? 0 : this->lineStart(fromLine);
    qsizetype pos = lineStart;
    while (pos < size && (most < 0 || qsizetype(found.size()) < most)) {
        const qsizetype at = next(pos);
        if (at < 0)
            break;
        // The line of `at`: the query holds no line feed, so neither does the match.
        for (;;) {
            const void *lf = std::memchr(data + lineStart, '\n', size_t(at - lineStart));
            if (!lf)
                break;
            lineStart = static_cast<const char *>(lf) - data + 1;
            ++line;
        }
        const void *lf = std::memchr(data + at, '\n', size_t(size - at));
        const qsizetype lineEnd = lf ? static_cast<const char *>(lf) - data : size;
        qsizetype textEnd = lineEnd;
        if (hasNul) {
            if (const void *nul = std::memchr(data + lineStart, '\0', size_t(lineEnd - lineStart)))
                textEnd = static_cast<const char *>(nul) - data;
        }
        // A later match in the line ends later still: the first one decides.
        const bool inText = at + n <= textEnd;
        if (inText && (!wholeField || (at == lineStart && at + n == textEnd)))
            found.push_back(line);
        pos = lineEnd + 1;
        lineStart = pos;
        ++line;
    }
    return found;
}
