#include "model/pagerange.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>

std::optional<PageRange::Ranges> PageRange::parseRanges(const QString &text)
{
    static const QRegularExpression re(QStringLiteral("^\\d+(-\\d+)?(,\\d+(-\\d+)?)*$"));
    if (!re.match(text).hasMatch())
        return std::nullopt;
    Ranges ranges;
    const QStringList parts = text.split(QLatin1Char(','));
    for (const QString &part : parts) {
        const QStringList ends = part.split(QLatin1Char('-'));
        bool okFirst = false, okLast = false;
        const int first = ends.first().toInt(&okFirst);
        const int last = ends.last().toInt(&okLast);
        if (!okFirst || !okLast || first < 1 || last < first)
            return std::nullopt;
        ranges.append({first, last});
    }
    return ranges;
}

std::optional<QList<int>> PageRange::parse(const QString &text)
{
    const std::optional<Ranges> ranges = parseRanges(text);
    if (!ranges)
        return std::nullopt;
    QList<int> pages;
    for (const auto &[first, last] : *ranges) {
        for (int p = first; p <= last && pages.size() <= 1'000'000; ++p)
            pages.append(p);
    }
    std::sort(pages.begin(), pages.end());
    pages.erase(std::unique(pages.begin(), pages.end()), pages.end());
    return pages;
}
