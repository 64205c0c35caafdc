#pragma once

#include "system/language.h"

#include <QString>
#include <QStringView>

#include <memory>
#include <optional>
#include <string_view>

// A cell's value as a spreadsheet shows it through the cell's number format
// (XLSX stores the number and the format's code, not the text shown).
//
// A code is read once (NumberFormat(code)) and then renders any number of
// values. The grammar read, as Excel writes it (the codes are in Excel's
// US-English form: "." decimal point, "," thousands):
//
//   code      section (";" section){0,3}: positive; negative; zero; text.
//             One section serves every number (a negative one gets "-");
//             two: the second for negative numbers; a missing or empty
//             section shows nothing. The last of two or three sections is
//             the text's when it holds "@" ("dd.mm.yyyy;@"): the others
//             serve the numbers as above. A section with a condition
//             ([>100], [<=0], [=1], [<>5]) is chosen when it holds, the
//             next one when it does not; a negative number keeps its "-"
//             unless the chosen section's condition takes negative numbers
//             alone ([<0], [<=-1]). A number that meets no condition and
//             has no section left is shown as General, and so is a number
//             in a code whose only section is a text one.
//   0 # ?     digits: 0 always, # only when significant, ? a space in its
//             place; digits beyond the placeholders on the left are all
//             shown. Decimals are rounded half away from zero on the
//             value's 15 significant digits (1.005 -> 1,01).
//   . ,       decimal point (left out when no decimal follows it: "#.##"
//             shows 5 as "5"); "," between digit placeholders groups thousands,
//             "," after the last one divides by 1000 each ("#,##0,").
//             Shown as the language's separators (Polish "," and a
//             no-break space U+00A0, English "." and ",").
//   %         multiplies by 100 and shows "%".
//   E+ E-     scientific ("0.00E+00"; with more than one placeholder
//             before the point, "##0.0E+0", "000.0E+00", the exponent is a
//             multiple of their count); E+ always shows the exponent's
//             sign, E- only a minus.
//   ?/?       fractions: "# ?/?" a whole part and a fraction with up to as
//             many digits in the denominator as placeholders, "?/?" an
//             improper one, "# ?/8" a fixed denominator.
//   "text" \c literal text; any other character not listed here stands
//             for itself. _x is a space (the width of x), *x (filling the
//             cell with x) is nothing.
//   @         the cell's text (in a text section).
//   General   the value as the General format shows it.
//   [Red] [Color12] [DBNum1] ...  passed over.
//   [$-415]   a locale tag: the month and day names and the AM/PM words
//             of its section are its language's ([$-409]mmm is "Mar" in
//             Polish too, [$-407]mmmm "März"); separators follow the
//             interface language. [$zł-415], [$€] show their currency
//             text. [$-F800] and [$-F400] are the interface language's
//             long date and time.
//   dates and times (a section holding any of them shows the value as a
//             serial date: days since 1900 or 1904, the time as its fraction):
//             d dd (day), ddd dddd (weekday), m mm (month), mmm mmmm mmmmm
//             (month name, abbreviated, full, first letter), yy yyyy (year),
//             h hh (hour), m mm after h or before s (minutes), s ss
//             (seconds), ss.0 ss.00 ss.000 (and their fractions), AM/PM
//             (12-hour clock, "AM" and "PM" in capitals however written),
//             A/P (as written), [h] [mm] [ss] (elapsed, not wrapped).
//             "/" is the language's date separator ("." in Polish). The
//             value is rounded to the second, or to the fraction of it
//             shown, before the day and the time are taken from it
//             (23:59:59.7 is 00:00 of the next day under hh:mm); minutes
//             and hours are cut. The 1900 system keeps Excel's leap year:
//             serial 60 is 29.02.1900, serials below it one day later than the
//             calendar's count, 0 is 00.01.1900; a negative serial counts
//             back from 30.12.1899 and a negative duration ([h]) shows "-".
//             Polish names as LibreOffice Calc shows them:
//             "marzec", "marca" when the code also shows the day, "III" for
//             mmm, "pt." for ddd.
//
// A code that cannot be read (an unclosed quote or bracket) shows its values
// as General.
class NumberFormat
{
public:
    struct Context
    {
        Language::Choice language = Language::Choice::Polish;
        bool date1904 = false;   // workbookPr date1904: serial 0 is 1.1.1904
    };

    // General.
    NumberFormat();
    explicit NumberFormat(QStringView code);

    // The code of Excel's built-in format `id` (0-49) in `language`: the
    // currency (5-8, 37-44) and short-date (14, 22) ones follow the
    // language, the East-Asian dates (27-31, 36) are the short date and
    // its times (32-35) h:mm:ss, as outside East Asia; an id Excel leaves
    // undefined (23-26) is General ("").
    static QString builtInCode(int id, Language::Choice language);

    bool isGeneral() const { return !data; }
    // Whether a text cell looks different through this format ("Nr "@).
    bool changesText() const;

    QString number(double value, const Context &context) const;
    // The same for a value read from `written`, its digits as the file has
    // them: when they are plain decimal digits, 15 significant ones or
    // fewer, they are the digits shown (the same as the double's, found
    // without working them out again).
    QString number(double value, const Context &context, std::string_view written) const;
    // A text cell through the text section. Its making stops once it is
    // longer than `limit` characters: a text of more than `limit` comes
    // back as limit + 1 characters, never built whole ("@@@@" over a
    // cell of 32,767 characters).
    QString text(const QString &text, qsizetype limit = 32'767) const;

    // The General format: 15 significant digits, the language's decimal separator.
    static QString general(double value, Language::Choice language);
    // The same for a number written as plain decimal digits ("-12.50", as a
    // workbook stores its numbers), made from the digits alone; none when
    // they are not such digits, are more than 15 significant ones, or
    // General shows the number with an exponent: then general() of its value.
    static std::optional<QString> generalOfDigits(std::string_view written, Language::Choice language);

private:
    struct Data;
    std::shared_ptr<const Data> data;
};
