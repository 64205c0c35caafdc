#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <optional>
#include <utility>

// A list of pages as people write it: "1-3,5" (pages from 1, single pages
// and ranges separated by commas, no spaces). lamello-batch's --pages and the
// window's "Drukuj strony…" read the same form.
//
// The text is read in one pass with no regular expression: a number ends at
// the largest page an int holds, a list at maxParts parts, so that neither a
// long number nor a long list can overflow or stall the reader.
namespace PageRange {

// First and last page (from 1) of each part, as written.
using Ranges = QList<std::pair<int, int>>;

// Parts of a list beyond this are "too many pages", not read.
constexpr qsizetype maxParts = 100'000;

enum class Problem {
    None,
    Malformed,   // not the form above, page 0, a backward range or a number past any page
    TooMany,     // more than maxParts parts
    PastEnd,     // names a page after the last one
};

// The parts of `text`; none, with the reason in `problem`, when it is not a
// page list. The ranges stay ranges: "1-2000000000" is two numbers, not a
// list of pages.
std::optional<Ranges> parseRanges(QStringView text, Problem *problem = nullptr);

// The pages named, ascending, each once, of a sheet of `pageCount` pages;
// none as parseRanges() and when a page after the last is named (checked on
// the ranges, before any page is listed).
std::optional<QList<int>> parse(QStringView text, int pageCount, Problem *problem = nullptr);

} // namespace PageRange
