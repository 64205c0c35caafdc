#include "files/sheettexts.h"
#include "files/windows1250.h"

#include <QByteArrayMatcher>

#include <algorithm>
#include <array>
#include <cstring>

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

bool textMatches(const QString &text, const QString &query, Qt::CaseSensitivity cs, bool wholeField)
{
    return wholeField ? text.compare(query, cs) == 0 : text.contains(query, cs);
}

} // namespace

std::vector<qsizetype> SheetTexts::find(const QString &query, Qt::CaseSensitivity cs, bool wholeField) const
{
    std::vector<qsizetype> found;
    if (query.isEmpty())
        return found;
    if (!compact) {
        for (qsizetype id = 0; id < list.size(); ++id) {
            if (textMatches(list.at(id), query, cs, wholeField))
                found.push_back(id);
        }
        return found;
    }

    if (utf8) {
        // A UTF-8 file is rare and small: its texts are decoded one by one.
        for (qsizetype id = 0; id < count; ++id) {
            if (textMatches(at(id), query, cs, wholeField))
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
    if (!query.contains(QLatin1Char('@')) && Windows1250::encode(inFile, encoded)) {
        if (fold) {
            for (char &c : encoded)
                c = char(lowerBytes()[uchar(c)]);
        }
        found = findInBytes(encoded, fold, wholeField);
    }
    if (!edits.isEmpty()) {
        // Written fields are judged by their own texts, not the file's.
        std::erase_if(found, [this](qsizetype id) { return edits.contains(id); });
        const qsizetype fromFile = qsizetype(found.size());
        for (auto e = edits.cbegin(); e != edits.cend(); ++e) {
            if (e.key() < count && textMatches(e.value(), query, cs, wholeField))
                found.push_back(e.key());
        }
        std::sort(found.begin() + fromFile, found.end());
        std::inplace_merge(found.begin(), found.begin() + fromFile, found.end());
    }
    return found;
}

std::vector<qsizetype> SheetTexts::findInBytes(const QByteArray &query, bool fold, bool wholeField) const
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
    // The next place at or after `from` where the query starts, or -1.
    const auto next = [&](qsizetype from) -> qsizetype {
        if (!fold)
            return matcher.indexIn(data, size, from);
        for (qsizetype i = from; i + n <= size; ++i) {
            if (lower[p[i]] != q[0])
                continue;
            qsizetype k = 1;
            while (k < n && lower[p[i + k]] == q[k])
                ++k;
            if (k == n)
                return i;
        }
        return -1;
    };

    qsizetype line = 0;       // the line that starts at lineStart
    // (After a byte order mark, which no text holds.)
    qsizetype lineStart = blockStarts.empty() ? 0 : blockStarts.front();
    qsizetype pos = lineStart;
    while (pos < size) {
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
