// The General format: how a spreadsheet shows a number that has no format
// of its own. Every plain number of a workbook goes through it, so it works
// on the digits as bytes rather than through QString::number.

#include "workbooks/numberformat.h"

#include "workbooks/fifteendigits.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <string_view>

namespace FifteenDigits {

namespace {

// Adds one to the last of `count` digits, carrying; all nines become 1
// and one more power of ten.
void roundUp(Digits &d, int count)
{
    d.count = count;
    int i = count - 1;
    while (i >= 0 && d.digits[i] == '9')
        d.digits[i--] = '0';
    if (i >= 0) {
        ++d.digits[i];
    } else {
        d.digits[0] = '1';
        ++d.exponent;
    }
}

// `text` of to_chars' scientific form ("1.2345e+06") into `d`.
void read(const char *text, const char *end, Digits &d)
{
    const char *e = static_cast<const char *>(std::memchr(text, 'e', size_t(end - text)));
    d.count = 0;
    d.digits[d.count++] = text[0];
    for (const char *p = text + 2; p < e && d.count < int(sizeof d.digits); ++p)
        d.digits[d.count++] = *p;
    int exponent = 0;
    std::from_chars(e + 2, end, exponent);
    d.exponent = e[1] == '-' ? -exponent : exponent;
}

} // namespace

Digits of(double magnitude, Tie tie)
{
    Digits d;
    char buffer[40];
    read(buffer, std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific).ptr, d);
    // Below the normal doubles there are fewer digits to tell values apart.
    const bool subnormal = magnitude < std::numeric_limits<double>::min();
    if (d.count > 15 || subnormal) {
        const bool half = d.count == 16 && d.digits[15] == '5';
        if (!half && !subnormal) {
            if (d.digits[15] >= '5')
                roundUp(d, 15);
            else
                d.count = 15;
        } else {
            bool up = false;
            if (half && tie == Tie::AwayFromZero) {
                // Every digit of the value (a double has at most 767): a
                // tie when none follows the 5.
                char exact[800];
                const char *end =
                    std::to_chars(exact, exact + sizeof exact, magnitude, std::chars_format::scientific, 780).ptr;
                const char *e = static_cast<const char *>(std::memchr(exact, 'e', size_t(end - exact)));
                up = std::all_of(static_cast<const char *>(exact) + 17, e, [](char c) { return c == '0'; });
            }
            if (up)
                roundUp(d, 15);
            else
                read(buffer, std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific, 14).ptr, d);
        }
    }
    while (d.count > 1 && d.digits[d.count - 1] == '0')
        --d.count;
    return d;
}

} // namespace FifteenDigits

QString NumberFormat::general(double value, Language::Choice language)
{
    if (!std::isfinite(value))
        return QString::number(value, 'g', 15);
    if (value == 0)
        return QStringLiteral("0");   // no "-0"
    // Rounded half away from zero, as QString::number rounds.
    const FifteenDigits::Digits d = FifteenDigits::of(std::fabs(value), FifteenDigits::Tie::AwayFromZero);
    const char *digits = d.digits;
    const int count = d.count;
    const int exponent = d.exponent;

    // As printf's %.15g: an exponent below -4 or of 15 and more is written
    // as one ("1,5E+20", "1E-05"), with the language's decimal separator.
    char16_t out[48];
    int n = 0;
    if (value < 0)
        out[n++] = u'-';
    const char16_t point = language == Language::Choice::English ? u'.' : u',';
    if (exponent < -4 || exponent >= 15) {
        out[n++] = char16_t(digits[0]);
        if (count > 1)
            out[n++] = point;
        for (int i = 1; i < count; ++i)
            out[n++] = char16_t(digits[i]);
        out[n++] = u'E';
        out[n++] = exponent < 0 ? u'-' : u'+';
        const int shown = std::abs(exponent);
        if (shown >= 100)
            out[n++] = char16_t(u'0' + shown / 100);
        out[n++] = char16_t(u'0' + shown / 10 % 10);
        out[n++] = char16_t(u'0' + shown % 10);
    } else if (exponent < 0) {
        out[n++] = u'0';
        out[n++] = point;
        for (int i = -1; i > exponent; --i)
            out[n++] = u'0';
        for (int i = 0; i < count; ++i)
            out[n++] = char16_t(digits[i]);
    } else {
        for (int i = 0; i <= exponent; ++i)
            out[n++] = i < count ? char16_t(digits[i]) : u'0';
        if (count > exponent + 1)
            out[n++] = point;
        for (int i = exponent + 1; i < count; ++i)
            out[n++] = char16_t(digits[i]);
    }
    return QString(reinterpret_cast<const QChar *>(out), n);
}

std::optional<QString> NumberFormat::generalOfDigits(std::string_view written, Language::Choice language)
{
    // A number of at most 15 significant digits is the double nearest to
    // it, which is nearer to it than half a unit of its 15th digit: those
    // digits are what general() shows of the double.
    const std::optional<FifteenDigits::Decimal> d = FifteenDigits::Decimal::ofWritten(written);
    if (!d)
        return std::nullopt;
    if (d->isZero())
        return QStringLiteral("0");   // a zero, "-0" too
    // The power of ten of the first significant digit.
    const int exponent = d->point - 1;
    if (exponent < -4 || exponent >= 15)
        return std::nullopt;

    char16_t out[40];
    int n = 0;
    if (written.front() == '-')
        out[n++] = u'-';
    const char16_t separator = language == Language::Choice::English ? u'.' : u',';
    if (exponent < 0) {
        out[n++] = u'0';
        out[n++] = separator;
        for (int k = -1; k > exponent; --k)
            out[n++] = u'0';
    }
    // The whole part's zeros after its last significant digit are shown too.
    const int count = int(d->digits.size());
    for (int k = 0; k < std::max(count, d->point); ++k) {
        if (k == d->point && k > 0)
            out[n++] = separator;
        out[n++] = k < count ? char16_t(d->digits[size_t(k)]) : u'0';
    }
    return QString(reinterpret_cast<const QChar *>(out), n);
}
