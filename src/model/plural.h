#pragma once

#include <QString>
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

// `count` in the form of a noun that the sentence needs: `one`, `few` and
// `many` are the three forms, each with "%1" for the number, in the case the
// sentence puts the noun in ("wysłano 1 stronę / 2 strony / 5 stron").
inline QString counted(qint64 count, const QString &one, const QString &few, const QString &many)
{
    switch (pluralForm(count)) {
    case PluralForm::One:
        return one.arg(count);
    case PluralForm::Few:
        return few.arg(count);
    case PluralForm::Many:
        break;
    }
    return many.arg(count);
}
