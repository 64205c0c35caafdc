// Page lists ("1-3,5"): any text reads without harm in bounded time; every
// range read runs forwards from page 1; the pages of a sheet are ascending,
// each once, all on the sheet; and the ranges written back read the same.

#include "layout/pagerange.h"

#include <QStringList>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte picks the sheet's page count, the rest is the list.
    const int pageCount = 1 + data[0] % 200;
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    PageRange::Problem problem = PageRange::Problem::None;
    const std::optional<PageRange::Ranges> ranges = PageRange::parseRanges(text, &problem);
    if (ranges.has_value() != (problem == PageRange::Problem::None))
        std::abort();
    if (!ranges)
        return 0;
    if (ranges->isEmpty() || ranges->size() > PageRange::maxParts)
        std::abort();
    QStringList parts;
    for (const auto &[first, last] : *ranges) {
        if (first < 1 || last < first)
            std::abort();
        parts.append(first == last ? QString::number(first) : QStringLiteral("%1-%2").arg(first).arg(last));
    }
    if (PageRange::parseRanges(parts.join(QLatin1Char(','))) != ranges)
        std::abort();

    const std::optional<QList<int>> pages = PageRange::parse(text, pageCount, &problem);
    bool past = false;
    for (const auto &[first, last] : *ranges)
        past = past || last > pageCount;
    if (pages.has_value() == past || (past && problem != PageRange::Problem::PastEnd))
        std::abort();
    if (!pages)
        return 0;
    for (qsizetype i = 0; i < pages->size(); ++i) {
        const int p = pages->at(i);
        if (p < 1 || p > pageCount || (i > 0 && p <= pages->at(i - 1)))
            std::abort();
    }
    return 0;
}
