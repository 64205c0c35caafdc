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

// The one plural rule of the program's texts. They are written in Polish and
// translated into English form by form: every form is a tr() of its own with
// the disambiguation "one", "few" or "many", and English needs only "one"
// (n == 1, exactly Polish "one") in the singular and the other two in the
// plural. Qt's numerus forms (tr("%n ...", nullptr, n)) are not used: they
// would make the Polish texts depend on a Polish translation being loaded
// (under the C locale of scripts and tests, in tools that link the model
// alone), while these forms are Polish without any.
//
// `count` in the form of a noun that the sentence needs: `one`, `few` and
// `many` are the three forms, each with "%1" for the number, in the case the
// sentence puts the noun in ("wysłano 1 stronę / 2 strony / 5 stron"):
//     counted(n, tr("%1 stronę", "one"), tr("%1 strony", "few"), tr("%1 stron", "many"))
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
