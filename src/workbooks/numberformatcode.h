#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <utility>

// A number format's code as read by NumberFormat: each section's tokens,
// its condition and what it shows (a number, a fraction, a date). The
// rendering is in numberformat.cpp; nothing else uses this form.
namespace NumberFormatCode {

enum class Kind : unsigned char {
    Literal,
    Digit,   // 0 # ? before they are told apart
    Point,
    Comma,
    Percent,
    Exponent,
    Text,
    General,
    Slash,
    // a number section's placeholders, once told apart
    Int,
    Frac,
    ExpDigit,
    Numerator,
    Denominator,
    Hidden,
    // dates and times
    Year,
    Month,
    Minute,
    Day,
    Hour,
    Second,
    SecondFraction,
    ElapsedHours,
    ElapsedMinutes,
    ElapsedSeconds,
    AmPm,
    DateSeparator,
};

struct Token
{
    Token(Kind kind, QString text = {}, int count = 1, char16_t ch = 0)
        : kind(kind)
        , text(std::move(text))
        , count(count)
        , ch(ch)
    {
    }

    Kind kind;
    QString text;   // Literal: the text; AmPm: as written ("AM/PM", "a/p")
    int count;      // letters in a run; Denominator: a fixed denominator, or 0
    char16_t ch;    // Digit and its kinds: '0' '#' '?'; Exponent: '+' or '-', and 'E' or 'e' in text
};

struct Condition
{
    enum class Op { None, Lt, Le, Gt, Ge, Eq, Ne } op = Op::None;
    double bound = 0;

    bool holds(double v) const
    {
        switch (op) {
        case Op::None:
            return true;
        case Op::Lt:
            return v < bound;
        case Op::Le:
            return v <= bound;
        case Op::Gt:
            return v > bound;
        case Op::Ge:
            return v >= bound;
        case Op::Eq:
            return v == bound;
        case Op::Ne:
            return v != bound;
        }
        return true;
    }
    // Whether only negative numbers meet it ([<0], [<=-1], [=-5]).
    bool negativeOnly() const
    {
        return (op == Op::Lt && bound <= 0) || ((op == Op::Le || op == Op::Eq) && bound < 0);
    }
};

enum class System { None, LongDate, Time };

struct Section
{
    QList<Token> tokens;
    Condition condition;
    System system = System::None;
    int locale = 0;   // a locale tag's Windows language id ([$-415]: 0x415), 0 none
    bool date = false;
    bool genitive = false;   // the month is named with the day shown
    bool text = false;       // holds '@'
    bool general = false;
    // numbers
    bool grouping = false;
    int scale = 0;     // "," after the digits: thousands
    int percent = 0;
    int intCount = 0;
    bool intRun = false;   // the Int placeholders stand together, nothing shown among them ("#,##0")
    int fracCount = 0;
    int expCount = 0;
    bool scientific = false;
    bool engineering = false;
    bool fraction = false;
    bool whole = false;   // a fraction with a whole part
    int numeratorCount = 0;
    int denominatorDigits = 0;
    int fixedDenominator = 0;
    int secondDigits = 0;
};

// One section's code read into its tokens; *ok is false for a code that
// cannot be read (an unclosed quote or bracket).
Section parseSection(QStringView code, bool *ok);
// A code's sections, split at the ";" outside quotes, escapes and brackets.
QList<QStringView> splitSections(QStringView code);

} // namespace NumberFormatCode
