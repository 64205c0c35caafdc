#pragma once

#include <QtGlobal>

// Polish nouns after a number take one of three forms: "1 strona",
// "2 strony" (2–4, 22–24, ... but not 12–14), "5 stron" (the rest, 0 too).
enum class PluralForm { One, Few, Many };

inline PluralForm pluralForm(qint64 count)
{
    const qint64 tens = count % 100;
    const qint64 ones = count % 10;
    if (count == 1)
        return PluralForm::One;
    if (ones >= 2 && ones <= 4 && (tens < 12 || tens > 14))
        return PluralForm::Few;
    return PluralForm::Many;
}
