#include "workbooks/numberformat.h"

#include "workbooks/fifteendigits.h"
#include "workbooks/numberformatcode.h"
#include "workbooks/numberformatnames.h"

#include <QDate>
#include <QList>
#include <QVarLengthArray>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <limits>
#include <memory>
#include <string>

using namespace NumberFormatCode;

using FifteenDigits::Decimal;

namespace {

// ------------------------------------------------------------- numbers

struct Separators
{
    QChar decimal;
    QChar group;
    QChar date;
};

Separators separators(Language::Choice language)
{
    if (language == Language::Choice::English)
        return {u'.', u',', u'/'};
    return {u',', QChar(0x00A0), u'.'};
}

// A text made in one buffer and made a string once: the pieces of a number
// are written into it as they come, none is a string of its own.
class Out
{
public:
    void add(char16_t c) { buffer.append(c); }
    void add(QChar c) { buffer.append(c.unicode()); }
    void add(QStringView s) { buffer.append(reinterpret_cast<const char16_t *>(s.utf16()), s.size()); }
    void add(const char16_t *s, qsizetype n) { buffer.append(s, n); }
    // `n` right-aligned in `width` places, filled with `fill`.
    void add(long long n, int width, char16_t fill = u'0')
    {
        char16_t digits[24];
        int at = int(std::size(digits));
        const bool negative = n < 0;
        unsigned long long u = negative ? 0ull - static_cast<unsigned long long>(n) : static_cast<unsigned long long>(n);
        do {
            digits[--at] = char16_t(u'0' + u % 10);
            u /= 10;
        } while (u > 0);
        if (negative)
            digits[--at] = u'-';
        for (int k = int(std::size(digits)) - at; k < width; ++k)
            buffer.append(fill);
        buffer.append(digits + at, qsizetype(std::size(digits)) - at);
    }
    qsizetype size() const { return buffer.size(); }
    char16_t &operator[](qsizetype i) { return buffer[i]; }
    QString string() const { return QString(reinterpret_cast<const QChar *>(buffer.constData()), buffer.size()); }

private:
    QVarLengthArray<char16_t, 128> buffer;
};

// The whole part of `d`'s digits ("" below 1).
using Digits = QVarLengthArray<char16_t, 32>;

Digits integerDigits(const Decimal &d)
{
    Digits out;
    for (int i = 0; i < d.point; ++i)
        out.append(i < int(d.digits.size()) ? char16_t(d.digits[size_t(i)]) : u'0');
    return out;
}

// The text of each Int placeholder for the whole number `digits`: the
// rightmost gets the last digit, the leftmost every digit left over. All
// of them in one buffer, a span of it each.
struct Pieces
{
    Digits text;
    QVarLengthArray<std::pair<qsizetype, qsizetype>, 8> spans;   // start and length, by placeholder
    bool lastZero = false;                                       // the last placeholder shows "0" instead

    qsizetype size() const { return spans.size(); }
    void add(Out &out, qsizetype index) const
    {
        if (index >= spans.size())
            return;
        if (lastZero && index == spans.size() - 1)
            out.add(u'0');
        else
            out.add(text.constData() + spans[index].first, spans[index].second);
    }
};

Pieces integerPieces(const Section &s, const Digits &digits, bool grouping, QChar group)
{
    // Built from the right into the buffer backwards, then turned around.
    Pieces pieces;
    pieces.spans.resize(s.intCount);
    int position = 0;
    qsizetype index = s.intCount;
    qsizetype left = digits.size();
    for (qsizetype i = s.tokens.size() - 1; i >= 0; --i) {
        const Token &t = s.tokens[i];
        if (t.kind != Kind::Int)
            continue;
        --index;
        const char16_t *raw = nullptr;
        qsizetype rawSize = 0;
        if (index == 0 && left > 0) {
            raw = digits.constData();
            rawSize = left;
            left = 0;
        } else if (left > 0) {
            raw = digits.constData() + --left;
            rawSize = 1;
        } else if (t.ch == u'0') {
            raw = u"0";
            rawSize = 1;
        } else if (t.ch == u'?') {
            raw = u" ";
            rawSize = 1;
        }
        const qsizetype start = pieces.text.size();
        for (qsizetype k = rawSize - 1; k >= 0; --k) {
            if (grouping && position > 0 && position % 3 == 0)
                pieces.text.append(raw[k] == u' ' ? u' ' : group.unicode());
            pieces.text.append(raw[k]);
            ++position;
        }
        pieces.spans[index] = {start, pieces.text.size() - start};
    }
    std::reverse(pieces.text.begin(), pieces.text.end());
    const qsizetype total = pieces.text.size();
    for (auto &span : pieces.spans)
        span.first = total - span.first - span.second;
    return pieces;
}

// What integerPieces() makes when the placeholders stand together ("#,##0"),
// written at once: the fill of the placeholders left without a digit, then
// the digits, grouped from the right.
void addIntegerRun(Out &out, const Section &s, const Digits &digits, bool grouping, QChar group)
{
    Digits run;
    qsizetype placeholder = 0;
    for (const Token &t : s.tokens) {
        if (t.kind != Kind::Int)
            continue;
        if (placeholder++ >= s.intCount - digits.size())
            break;
        if (t.ch == u'0')
            run.append(u'0');
        else if (t.ch == u'?')
            run.append(u' ');
    }
    run.append(digits.constData(), digits.size());
    if (!grouping)
        return out.add(run.constData(), run.size());
    const qsizetype n = run.size();
    for (qsizetype i = 0; i < n; ++i) {
        out.add(run[i]);
        const qsizetype position = n - 1 - i;
        if (position > 0 && position % 3 == 0)
            out.add(run[i] == u' ' ? u' ' : group.unicode());
    }
}

// The section's tokens for a non-negative value, after a "-" when `minus`
// and something other than zeros is shown; `zero` says whether nothing but
// zeros was shown. `written`, when given, holds the value's 15 digits.
void renderNumber(const Section &s, double v, const std::optional<Decimal> &written, const NumberFormat::Context &context,
                  bool minus, Out &out, bool *zero)
{
    const Separators sep = separators(context.language);
    *zero = v == 0;
    if (s.general) {
        if (minus && !*zero)
            out.add(u'-');
        for (const Token &t : s.tokens) {
            if (t.kind == Kind::General)
                out.add(NumberFormat::general(v, context.language));
            else if (t.kind == Kind::Literal)
                out.add(t.text);
        }
        return;
    }
    for (int k = 0; k < s.percent; ++k)
        v *= 100;
    for (int k = 0; k < s.scale; ++k)
        v /= 1000;
    if (!std::isfinite(v)) {
        *zero = false;
        if (minus)
            out.add(u'-');
        out.add(NumberFormat::general(v, context.language));
        return;
    }
    // The written digits moved by the percent and thousands signs: as the
    // double's 15 digits they need a normal double (a subnormal one has
    // fewer digits), and two multiplications at most, each of which is off
    // by half a unit of the double's last place, far from half of the 15th
    // digit's.
    std::optional<Decimal> given;
    if (written && s.percent + s.scale <= 2 && v >= std::numeric_limits<double>::min()) {
        given = *written;
        given->point += 2 * s.percent - 3 * s.scale;
    }

    Pieces pieces;
    Digits integer;   // the whole number's digits, for a code without Int placeholders
    Digits run;       // the digits of the Int placeholders when they stand together
    QVarLengthArray<char, 32> fraction;   // Frac placeholders' digits
    Digits exponent;   // its sign, then its digits
    long long numerator = 0;
    long long denominator = 1;
    bool blankFraction = false;
    if (s.fraction) {
        double whole = 0;
        double part = v;
        if (s.whole) {
            whole = std::floor(v);
            part = v - whole;
        }
        long long p = 0;
        long long q = 1;
        if (s.fixedDenominator > 0) {
            q = s.fixedDenominator;
            p = std::llround(part * double(q));
        } else {
            long long most = 1;
            for (int k = 0; k < s.denominatorDigits; ++k)
                most *= 10;
            --most;
            double best = 2;
            for (long long d = 1; d <= most; ++d) {
                const long long n = std::llround(part * double(d));
                const double error = std::fabs(part - double(n) / double(d));
                if (error < best - 1e-12) {
                    best = error;
                    p = n;
                    q = d;
                }
            }
        }
        if (s.whole && p >= q) {
            whole += 1;
            p = 0;
        }
        *zero = whole == 0 && p == 0;
        blankFraction = s.whole && p == 0;
        pieces = integerPieces(s, integerDigits(Decimal(whole)), false, sep.group);
        if (blankFraction && whole == 0 && pieces.size() > 0 && pieces.spans.last().second == 0)
            pieces.lastZero = true;
        numerator = p;
        denominator = q;
    } else if (s.scientific) {
        Decimal d = given ? *given : Decimal(v);
        const int k = std::max(s.intCount, 1);
        int e = 0;
        if (!d.isZero()) {
            if (s.engineering) {
                const int first = d.point - 1;
                e = (first >= 0 ? first / k : -((-first + k - 1) / k)) * k;
            } else {
                e = d.point - k;
            }
            d.point -= e;
            d.round(s.fracCount);
            if (d.point > k) {
                const int shift = s.engineering ? k : 1;
                d.point -= shift;
                e += shift;
            }
        }
        *zero = d.isZero();
        run = integerDigits(d);
        if (!s.intRun)
            pieces = integerPieces(s, run, false, sep.group);
        for (int i = 0; i < s.fracCount; ++i)
            fraction.append(d.fractionDigit(i));
        exponent.append(e < 0 ? u'-' : u'+');
        char16_t digits[12];
        int at = int(std::size(digits));
        for (int u = std::abs(e); u > 0 || at == int(std::size(digits)); u /= 10)
            digits[--at] = char16_t(u'0' + u % 10);
        for (int n = int(std::size(digits)) - at; n < std::max(s.expCount, 1); ++n)
            exponent.append(u'0');
        exponent.append(digits + at, qsizetype(std::size(digits)) - at);
    } else {
        Decimal d = given ? *given : Decimal(v);
        d.round(s.fracCount);
        *zero = d.isZero();
        integer = integerDigits(d);
        run = integer;
        if (!s.intRun)
            pieces = integerPieces(s, integer, s.grouping, sep.group);
        for (int i = 0; i < s.fracCount; ++i)
            fraction.append(d.fractionDigit(i));
    }
    if (minus && !*zero)
        out.add(u'-');

    int lastSignificant = -1;
    for (qsizetype i = 0; i < fraction.size(); ++i) {
        if (fraction[i] != '0')
            lastSignificant = int(i);
    }
    // The point only before a decimal shown: "#.##" shows 5 as "5".
    bool decimalsShown = false;
    int index = 0;
    for (const Token &t : s.tokens) {
        if (t.kind == Kind::Frac)
            decimalsShown = decimalsShown || index++ <= lastSignificant || t.ch != u'#';
    }
    qsizetype intIndex = 0;
    int fracIndex = 0;
    qsizetype fractionStart = -1;   // where the fraction begins and ends in `out`, to blank it
    qsizetype fractionEnd = -1;
    bool numeratorShown = false;
    const qsizetype begin = out.size();
    for (const Token &t : s.tokens) {
        switch (t.kind) {
        case Kind::Literal:
            out.add(t.text);
            break;
        case Kind::Int:
            if (s.intRun && !s.fraction) {
                if (intIndex++ == 0)
                    addIntegerRun(out, s, run, s.grouping && !s.scientific, sep.group);
                break;
            }
            pieces.add(out, intIndex++);
            if (intIndex == pieces.size() && s.fraction)
                fractionStart = out.size();
            break;
        case Kind::Point:
            if (s.intCount == 0)
                out.add(integer.constData(), integer.size());
            if (decimalsShown)
                out.add(sep.decimal);
            break;
        case Kind::Frac: {
            const int i = fracIndex++;
            if (i <= lastSignificant)
                out.add(char16_t(fraction[i]));
            else if (t.ch == u'0')
                out.add(u'0');
            else if (t.ch == u'?')
                out.add(u' ');
            break;
        }
        case Kind::Percent:
            out.add(u'%');
            break;
        case Kind::Exponent:
            out.add(t.text);
            if (t.ch == u'+' || exponent[0] == u'-')
                out.add(exponent[0]);
            out.add(exponent.constData() + 1, exponent.size() - 1);
            break;
        case Kind::Numerator:
            // The whole numerator at the first placeholder, padded to their count.
            if (!numeratorShown)
                out.add(numerator, s.numeratorCount, t.ch == u'0' ? u'0' : u' ');
            numeratorShown = true;
            break;
        case Kind::Denominator: {
            const qsizetype start = out.size();
            out.add(denominator, 0);
            if (s.fixedDenominator <= 0) {
                for (qsizetype k = out.size() - start; k < s.denominatorDigits; ++k)
                    out.add(t.ch == u'?' ? u' ' : u'0');
            }
            fractionEnd = out.size();
            break;
        }
        default:
            break;
        }
    }
    if (blankFraction) {
        if (fractionStart < 0)
            fractionStart = begin;
        for (qsizetype i = fractionStart; i < (fractionEnd < 0 ? out.size() : fractionEnd); ++i)
            out[i] = u' ';
    }
}

// ------------------------------------------------------------- dates

struct Day
{
    int year;
    int month;
    int day;
    int weekday;   // 0 Sunday
};

Day dayOf(long long serial, bool date1904)
{
    if (date1904) {
        const QDate d = QDate(1904, 1, 1).addDays(serial);
        int year = 0;
        int month = 0;
        int day = 0;
        d.getDate(&year, &month, &day);   // the calendar worked out once
        return {year, month, day, d.dayOfWeek() % 7};
    }
    // Excel counts 1900 as a leap year: 29.02.1900 is serial 60, the days
    // before it one more than the calendar's count, and 0 is 00.01.1900.
    const int weekday = int(((serial + 6) % 7 + 7) % 7);
    if (serial == 60)
        return {1900, 2, 29, weekday};
    if (serial == 0)
        return {1900, 1, 0, weekday};
    // Before 1900 (a negative serial) as LibreOffice Calc counts back.
    const QDate d = serial > 0 && serial < 60 ? QDate(1899, 12, 31).addDays(serial) : QDate(1899, 12, 30).addDays(serial);
    int year = 0;
    int month = 0;
    int day = 0;
    d.getDate(&year, &month, &day);
    return {year, month, day, weekday};
}

const Section &systemSection(System system, Language::Choice language)
{
    static const auto make = [](const char16_t *code) {
        bool ok = false;
        return parseSection(QStringView(code), &ok);
    };
    static const Section polishDate = make(u"dddd d mmmm yyyy");
    static const Section englishDate = make(u"dddd, mmmm d, yyyy");
    static const Section polishTime = make(u"hh:mm:ss");
    static const Section englishTime = make(u"h:mm:ss AM/PM");
    const bool english = language == Language::Choice::English;
    if (system == System::LongDate)
        return english ? englishDate : polishDate;
    return english ? englishTime : polishTime;
}

void renderDate(const Section &given, const Names &n, double v, const NumberFormat::Context &context, Out &out)
{
    const Section &s = given.system == System::None ? given : systemSection(given.system, context.language);
    // Past the last day a spreadsheet has: what General shows.
    if (!std::isfinite(v) || std::fabs(v) > 1e7)
        return out.add(NumberFormat::general(v, context.language));
    long long perSecond = 1;
    for (int k = 0; k < s.secondDigits; ++k)
        perSecond *= 10;
    // Rounded to the second or to the fraction shown before the day and
    // the time are told apart: 23:59:59.6 is 00:00 of the next day, also
    // under hh:mm. Minutes and hours are then cut (10:29:40 is 10:29).
    const long long units = std::llround(v * 86400.0 * double(perSecond));   // of a second: 1, 10th, ...
    const long long perDay = 86400 * perSecond;
    const long long days = units >= 0 ? units / perDay : -((-units + perDay - 1) / perDay);
    const long long inDay = units - days * perDay;
    const long long seconds = inDay / perSecond;
    const long long part = inDay % perSecond;
    const long long totalSeconds = units >= 0 ? units / perSecond : -((-units + perSecond - 1) / perSecond);
    const int hour = int(seconds / 3600);
    const int minute = int(seconds / 60 % 60);
    const int second = int(seconds % 60);
    const Day d = dayOf(days, context.date1904);
    const Separators sep = separators(context.language);
    const bool twelve = std::any_of(s.tokens.cbegin(), s.tokens.cend(), [](const Token &t) { return t.kind == Kind::AmPm; });

    for (const Token &t : s.tokens) {
        switch (t.kind) {
        case Kind::Literal:
            out.add(t.text);
            break;
        case Kind::DateSeparator:
            out.add(sep.date);
            break;
        case Kind::Year:
            out.add(t.count <= 2 ? ((d.year % 100) + 100) % 100 : d.year, t.count <= 2 ? 2 : 0);
            break;
        case Kind::Month:
            if (t.count <= 2)
                out.add(d.month, t.count);
            else if (t.count == 3)
                out.add(n.monthsShort[d.month - 1]);
            else if (t.count == 4)
                out.add(s.genitive ? n.monthsGenitive[d.month - 1] : n.months[d.month - 1]);
            else
                out.add(QStringView(n.months[d.month - 1]).left(1));
            break;
        case Kind::Day:
            if (t.count <= 2)
                out.add(d.day, t.count);
            else
                out.add(t.count == 3 ? n.daysShort[d.weekday] : n.days[d.weekday]);
            break;
        case Kind::Hour: {
            const int h = twelve ? (hour % 12 == 0 ? 12 : hour % 12) : hour;
            out.add(h, std::min(t.count, 2));
            break;
        }
        case Kind::Minute:
            out.add(minute, std::min(t.count, 2));
            break;
        case Kind::Second:
            out.add(second, std::min(t.count, 2));
            break;
        case Kind::SecondFraction: {
            long long digits = part;
            for (int k = t.count; k < s.secondDigits; ++k)
                digits /= 10;
            out.add(sep.decimal);
            out.add(digits, t.count);
            break;
        }
        case Kind::ElapsedHours:
            out.add(totalSeconds / 3600, t.count);
            break;
        case Kind::ElapsedMinutes:
            out.add(totalSeconds / 60, t.count);
            break;
        case Kind::ElapsedSeconds:
            out.add(totalSeconds, t.count);
            break;
        case Kind::AmPm:
            // AM/PM in capitals however it is written; A/P as written.
            if (t.text.size() > 3)
                out.add(hour < 12 ? n.am : n.pm);
            else
                out.add(t.text.at(hour < 12 ? 0 : 2));
            break;
        default:
            break;
        }
    }
}

} // namespace

struct NumberFormat::Data
{
    QList<Section> sections;
    qsizetype textSection = -1;
    // A section's names when a locale tag sets them ([$-407]: German), by
    // section; none: the interface language's.
    std::array<std::shared_ptr<const Names>, 4> tagged;
};

NumberFormat::NumberFormat() = default;

NumberFormat::NumberFormat(QStringView code)
{
    if (code.isEmpty() || code.compare(u"General", Qt::CaseInsensitive) == 0)
        return;
    auto d = std::make_shared<Data>();
    const QList<QStringView> parts = splitSections(code);
    for (qsizetype i = 0; i < std::min<qsizetype>(parts.size(), 4); ++i) {
        bool ok = false;
        d->sections.append(parseSection(parts.at(i), &ok));
        if (!ok)
            return;   // General
        if (const int tag = d->sections.last().locale)
            d->tagged[i] = tagNames(tag);
    }
    // Four sections: the fourth is the text's; fewer: the last one, when it
    // holds '@' ("dd.mm.yyyy;@", as Excel writes codes).
    if (d->sections.size() == 4 || d->sections.last().text)
        d->textSection = d->sections.size() - 1;
    data = std::move(d);
}

bool NumberFormat::changesText() const
{
    if (!data || data->textSection < 0)
        return false;
    const QList<Token> &tokens = data->sections.at(data->textSection).tokens;
    return !(tokens.size() == 1 && tokens.first().kind == Kind::Text);
}

QString NumberFormat::number(double value, const Context &context) const
{
    return number(value, context, std::string_view());
}

QString NumberFormat::number(double value, const Context &context, std::string_view written) const
{
    if (!data || !std::isfinite(value))
        return general(value, context.language);
    const QList<Section> &sections = data->sections;
    const qsizetype numeric = data->textSection >= 0 ? data->textSection : sections.size();
    if (numeric == 0)
        return general(value, context.language);
    qsizetype chosen = 0;
    bool minus = false;
    const bool conditional = sections.at(0).condition.op != Condition::Op::None
                             || (numeric > 1 && sections.at(1).condition.op != Condition::Op::None);
    if (conditional) {
        const Condition &first = sections.at(0).condition;
        const Condition &second = numeric > 1 ? sections.at(1).condition : Condition{};
        if (first.op == Condition::Op::None ? value >= 0 : first.holds(value))
            chosen = 0;
        else if (numeric >= 2 && (second.op == Condition::Op::None ? numeric == 2 || value < 0 : second.holds(value)))
            chosen = 1;
        else if (numeric >= 3)
            chosen = 2;
        else   // no condition holds and no section is left: as General
            return general(value, context.language);
        // A section whose condition takes negative numbers alone shows them
        // without their sign ([<0]"minus "0); any other keeps it.
        minus = value < 0 && !sections.at(chosen).condition.negativeOnly();
    } else if (value < 0 && numeric >= 2) {
        chosen = 1;
    } else if (value == 0 && numeric >= 3) {
        chosen = 2;
    } else {
        minus = value < 0;
    }
    const Section &s = sections.at(chosen);
    const double magnitude = std::fabs(value);
    if (s.date) {
        const bool elapsed = std::any_of(s.tokens.cbegin(), s.tokens.cend(), [](const Token &t) {
            return t.kind == Kind::ElapsedHours || t.kind == Kind::ElapsedMinutes || t.kind == Kind::ElapsedSeconds;
        });
        const Names &n = data->tagged[chosen] ? *data->tagged[chosen] : names(context.language);
        // A negative duration has its "-"; a negative date is a day before the first.
        Out out;
        if (minus && !elapsed) {
            renderDate(s, n, value, context, out);
        } else {
            if (minus)
                out.add(u'-');
            renderDate(s, n, magnitude, context, out);
        }
        return out.string();
    }
    Out out;
    bool zero = false;
    const std::optional<Decimal> digits = written.empty() ? std::nullopt : Decimal::ofWritten(written);
    renderNumber(s, magnitude, digits, context, minus, out, &zero);
    return out.string();
}

QString NumberFormat::text(const QString &text, qsizetype limit) const
{
    if (!data || data->textSection < 0)
        return text;
    QString out;
    for (const Token &t : data->sections.at(data->textSection).tokens) {
        const QStringView piece = t.kind == Kind::Text      ? QStringView(text)
                                  : t.kind == Kind::Literal ? QStringView(t.text)
                                                            : QStringView();
        if (out.size() + piece.size() > limit) {
            out += piece.first(limit + 1 - out.size());
            break;
        }
        out += piece;
    }
    return out;
}
