#pragma once

#include <QList>
#include <QString>

#include <optional>

// A list of pages as people write it: "1-3,5" (pages from 1, single pages
// and ranges separated by commas, no spaces). lamello-batch's --pages and the
// window's "Drukuj strony…" read the same form.
namespace PageRange {

// The pages named, ascending, each once; none when `text` is malformed or
// names page 0 or a range that runs backwards. At most a million pages.
std::optional<QList<int>> parse(const QString &text);

} // namespace PageRange
