#include "document/seriespattern.h"

#include "files/descriptionsfile.h"
#include "files/windows1250.h"

#include <QByteArray>

#include <utility>

namespace {

enum class Kind { Other, Digits, Upper, Lower };

Kind kindOf(QStringView bound)
{
    if (bound.isEmpty())
        return Kind::Other;
    const auto all = [bound](char16_t from, char16_t to) {
        for (const QChar c : bound) {
            if (c.unicode() < from || c.unicode() > to)
                return false;
        }
        return true;
    };
    if (all(u'0', u'9'))
        return Kind::Digits;
    if (all(u'A', u'Z'))
        return Kind::Upper;
    if (all(u'a', u'z'))
        return Kind::Lower;
    return Kind::Other;
}

// Letters as spreadsheet columns: A = 1, Z = 26, AA = 27.
qint64 columnNumber(QStringView letters)
{
    qint64 n = 0;
    for (const QChar c : letters)
        n = n * 26 + (c.toUpper().unicode() - u'A' + 1);
    return n;
}

QString columnLetters(qint64 n, bool lower)
{
    QString letters;
    while (n > 0) {
        --n;
        letters.prepend(QChar(char16_t((lower ? u'a' : u'A') + n % 26)));
        n /= 26;
    }
    return letters;
}

} // namespace

SeriesPattern::SeriesPattern(const QString &pattern)
{
    if (pattern.isEmpty()) {
        fail(Problem::Empty, 0, 0);
        return;
    }
    if (pattern.size() > maxLength) {
        fail(Problem::TooLong, maxLength, pattern.size() - maxLength);
        return;
    }
    // Every text is written to the descriptions file one day: a character it
    // cannot hold, or a control character that would break its lines, is
    // refused here, before any field changes.
    qsizetype bad = -1;
    QByteArray ignored;
    if (!Windows1250::encode(pattern, ignored, &bad)) {
        const char32_t c = Windows1250::characterAt(pattern, bad);
        fail(Problem::Unencodable, bad, c > 0xFFFF ? 2 : 1, c);
        return;
    }
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const char16_t c = pattern.at(i).unicode();
        if (c < 0x20 || c == 0x7F) {
            fail(Problem::Unencodable, i, 1, c);
            return;
        }
    }

    QString literal;
    const qsizetype n = pattern.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = pattern.at(i);
        const bool doubled = i + 1 < n && pattern.at(i + 1) == c;
        if (c == u'{' && !doubled) {
            const qsizetype close = pattern.indexOf(u'}', i + 1);
            if (close < 0) {
                fail(Problem::Unclosed, i, n - i);
                return;
            }
            if (close == i + 1) {
                fail(Problem::EmptyBraces, i, 2);
                return;
            }
            if (counters.size() == size_t(maxCounters)) {
                fail(Problem::TooManyCounters, i, close - i + 1);
                return;
            }
            if (!parseCounter(pattern, i, close))
                return;
            // No field holds an "@": it is the line break it becomes in the file.
            pieces.push_back({DescriptionsFile::asRead(literal), int(counters.size()) - 1});
            literal.clear();
            i = close + 1;
        } else if (c == u'}' && !doubled) {
            fail(Problem::Unopened, i, 1);
            return;
        } else {
            literal.append(c);
            i += (c == u'{' || c == u'}') ? 2 : 1;
        }
    }
    pieces.push_back({DescriptionsFile::asRead(literal), -1});
}

void SeriesPattern::fail(Problem problem, qsizetype position, qsizetype length, char32_t character)
{
    fault = {problem, position, length, character};
    counters.clear();
    pieces.clear();
}

bool SeriesPattern::parseCounter(const QString &pattern, qsizetype open, qsizetype close)
{
    const qsizetype inside = open + 1;
    const QStringView content = QStringView(pattern).sliced(inside, close - inside);
    const qsizetype dash = content.indexOf(u'-');
    const QStringView from = dash < 0 ? content : content.first(dash);
    const QStringView to = dash < 0 ? QStringView() : content.sliced(dash + 1);
    const Kind kind = kindOf(from);
    if (kind == Kind::Other || (dash >= 0 && kindOf(to) != kind)) {
        fail(Problem::Unknown, open, close - open + 1);
        return false;
    }
    Counter counter;
    counter.letters = kind != Kind::Digits;
    counter.lower = kind == Kind::Lower;
    const qsizetype toAt = inside + dash + 1;
    for (const auto &[bound, at] : {std::pair{from, inside}, std::pair{to, toAt}}) {
        if (counter.letters && bound.size() > maxLetters) {
            fail(Problem::TooManyLetters, at, bound.size());
            return false;
        }
        if (!counter.letters && bound.size() > maxDigits) {
            fail(Problem::TooManyDigits, at, bound.size());
            return false;
        }
    }
    counter.first = counter.letters ? columnNumber(from) : from.toLongLong();
    if (dash >= 0) {
        counter.last = counter.letters ? columnNumber(to) : to.toLongLong();
        if (counter.last < counter.first) {
            fail(Problem::Reversed, toAt, to.size());
            return false;
        }
    }
    // A leading zero on either bound sets the width to the longer one.
    const auto padded = [](QStringView bound) { return bound.size() > 1 && bound.front() == u'0'; };
    if (!counter.letters && (padded(from) || padded(to)))
        counter.width = int(qMax(from.size(), to.size()));
    counters.push_back(counter);
    return true;
}

QStringList SeriesPattern::values(qsizetype count) const
{
    QStringList out;
    if (!isValid() || count <= 0)
        return out;
    out.reserve(count);
    std::vector<qint64> now;
    now.reserve(counters.size());
    for (const Counter &counter : counters)
        now.push_back(counter.first);
    QString text;
    for (qsizetype k = 0; k < count; ++k) {
        text.clear();
        for (const Piece &piece : pieces) {
            text += piece.text;
            if (piece.counter < 0)
                continue;
            const Counter &counter = counters[size_t(piece.counter)];
            const qint64 value = now[size_t(piece.counter)];
            if (counter.letters)
                text += columnLetters(value, counter.lower);
            else if (counter.width > 0)
                text += QString::number(value).rightJustified(counter.width, u'0');
            else
                text += QString::number(value);
        }
        out.append(text);
        // The rightmost counter steps; a range past its end starts again and
        // carries into the counter on its left.
        for (auto c = qsizetype(counters.size()) - 1; c >= 0; --c) {
            const Counter &counter = counters[size_t(c)];
            if (counter.last < 0 || now[size_t(c)] < counter.last) {
                ++now[size_t(c)];
                break;
            }
            now[size_t(c)] = counter.first;
        }
    }
    return out;
}
