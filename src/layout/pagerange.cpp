#include "layout/pagerange.h"

#include <algorithm>
#include <climits>

namespace {

std::nullopt_t fail(PageRange::Problem *problem, PageRange::Problem why)
{
    if (problem)
        *problem = why;
    return std::nullopt;
}

// The page number at `pos`, moving past it; none when there is no digit or
// the number is larger than an int holds.
std::optional<int> number(QStringView text, qsizetype &pos)
{
    const qsizetype start = pos;
    qint64 value = 0;
    while (pos < text.size() && text[pos] >= u'0' && text[pos] <= u'9') {
        value = value * 10 + (text[pos].unicode() - u'0');
        if (value > INT_MAX)
            return std::nullopt;
        ++pos;
    }
    if (pos == start)
        return std::nullopt;
    return int(value);
}

} // namespace

std::optional<PageRange::Ranges> PageRange::parseRanges(QStringView text, Problem *problem)
{
    if (problem)
        *problem = Problem::None;
    Ranges ranges;
    qsizetype pos = 0;
    for (;;) {
        if (ranges.size() == maxParts)
            return fail(problem, Problem::TooMany);
        const std::optional<int> first = number(text, pos);
        if (!first)
            return fail(problem, Problem::Malformed);
        std::optional<int> last = first;
        if (pos < text.size() && text[pos] == u'-') {
            ++pos;
            last = number(text, pos);
            if (!last)
                return fail(problem, Problem::Malformed);
        }
        if (*first < 1 || *last < *first)
            return fail(problem, Problem::Malformed);
        ranges.append({*first, *last});
        if (pos == text.size())
            return ranges;
        if (text[pos] != u',')
            return fail(problem, Problem::Malformed);
        ++pos;
    }
}

std::optional<QList<int>> PageRange::parse(QStringView text, int pageCount, Problem *problem)
{
    const std::optional<Ranges> ranges = parseRanges(text, problem);
    if (!ranges)
        return std::nullopt;
    for (const auto &[first, last] : *ranges) {
        if (last > pageCount)
            return fail(problem, Problem::PastEnd);
    }
    // In page order, each page once, however often and in whatever order
    // the list names it: the ranges sorted, and each page listed after the
    // last one listed.
    Ranges sorted = *ranges;
    std::sort(sorted.begin(), sorted.end());
    QList<int> pages;
    int next = 1;
    for (const auto &[first, last] : std::as_const(sorted)) {
        for (int p = std::max(first, next); p <= last; ++p)
            pages.append(p);
        next = std::max(next, last + 1);
    }
    return pages;
}
