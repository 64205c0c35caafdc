#pragma once

#include <QList>
#include <QString>

#include <optional>
#include <utility>

// A list of pages as people write it: "1-3,5" (pages from 1, single pages
// and ranges separated by commas, no spaces). lamello-batch's --pages and the
// window's "Drukuj strony…" read the same form.
namespace PageRange {

// First and last page (from 1) of each part, as written.
using Ranges = QList<std::pair<int, int>>;

// The parts of `text`; none when it is malformed or names page 0 or a range
// that runs backwards. The ranges stay ranges: "1-2000000000" is two numbers,
// not a list of pages.
std::optional<Ranges> parseRanges(const QString &text);

// The pages named, ascending, each once; none as parseRanges(). At most a
// million pages.
std::optional<QList<int>> parse(const QString &text);

} // namespace PageRange
