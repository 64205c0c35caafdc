// The General format: how a spreadsheet shows a number that has no format
// of its own. Every plain number of a workbook goes through it, so it works
// on the digits as bytes rather than through QString::number.

#include "workbooks/numberformat.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <string_view>

QString NumberFormat::general(double value, Language::Choice language)
{
    if (!std::isfinite(value))
        return QString::number(value, 'g', 15);
    if (value == 0)
        return QStringLiteral("0");   // no "-0"
    // The value's 15 significant digits, rounded half away from zero. The
    // shortest digits that read back as the value are those digits when
    // there are 15 or fewer of them (the value is nearer to them than half a
    // unit of the 15th digit); else the value is rounded to 15 digits, which
    // to_chars does to even on a tie: shortest 16 digits ending in 5 that
    // are the value exactly are rounded up here instead.
    const double magnitude = std::fabs(value);
    char buffer[40];
    char *end = std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific).ptr;
    char *e = static_cast<char *>(std::memchr(buffer, 'e', size_t(end - buffer)));
    bool tie = false;
    if (e - buffer > 16 || magnitude < std::numeric_limits<double>::min()) {
        if (e - buffer == 17 && e[-1] == '5') {
            // Every digit of the value (a double has at most 767).
            char exact[800];
            char *exactEnd = std::to_chars(exact, exact + sizeof exact, magnitude, std::chars_format::scientific, 780).ptr;
            const char *exactE = static_cast<const char *>(std::memchr(exact, 'e', size_t(exactEnd - exact)));
            tie = std::all_of(static_cast<const char *>(exact) + 17, exactE, [](char c) { return c == '0'; });
        }
        if (!tie) {
            end = std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific, 14).ptr;
            e = static_cast<char *>(std::memchr(buffer, 'e', size_t(end - buffer)));
        }
    }
    int exponent = 0;
    std::from_chars(e + (e[1] == '+' ? 2 : 1), end, exponent);
    char digits[20];
    int count = 0;
    for (const char *p = buffer; p < e && count < 16; ++p) {
        if (*p != '.')
            digits[count++] = *p;
    }
    if (tie) {
        count = 15;
        int i = count - 1;
        while (i >= 0 && digits[i] == '9')
            digits[i--] = '0';
        if (i >= 0) {
            ++digits[i];
        } else {
            digits[0] = '1';
            ++exponent;
        }
    }
    while (count > 1 && digits[count - 1] == '0')
        --count;

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
    size_t i = 0;
    const bool negative = !written.empty() && written[0] == '-';
    if (negative)
        ++i;
    const size_t start = i;
    size_t point = std::string_view::npos;
    for (; i < written.size(); ++i) {
        const char c = written[i];
        if (c == '.' && point == std::string_view::npos)
            point = i;
        else if (c < '0' || c > '9')
            return std::nullopt;
    }
    const size_t end = written.size();
    if (point == std::string_view::npos)
        point = end;
    if (end - start - (point < end ? 1 : 0) == 0)
        return std::nullopt;   // no digit at all
    // The first and last significant digits.
    size_t first = start;
    while (first < end && (written[first] == '0' || written[first] == '.'))
        ++first;
    if (first == end)
        return QStringLiteral("0");   // a zero, "-0" too
    size_t last = end - 1;
    while (written[last] == '0' || written[last] == '.')
        --last;
    const size_t significant = last - first + 1 - (first < point && point < last ? 1 : 0);
    // The power of ten of the first significant digit.
    const long exponent = first < point ? long(point - first) - 1 : -long(first - point);
    if (significant > 15 || exponent < -4 || exponent >= 15)
        return std::nullopt;

    char16_t out[40];
    int n = 0;
    if (negative)
        out[n++] = u'-';
    const char16_t separator = language == Language::Choice::English ? u'.' : u',';
    if (exponent < 0) {
        out[n++] = u'0';
        out[n++] = separator;
        for (long k = -1; k > exponent; --k)
            out[n++] = u'0';
    }
    // The whole part's zeros after its last significant digit are shown too.
    const size_t stop = std::max(last, exponent >= 0 ? point - 1 : last);
    for (size_t k = first; k <= stop; ++k) {
        if (k == point)
            out[n++] = separator;
        else
            out[n++] = char16_t(written[k]);
    }
    return QString(reinterpret_cast<const QChar *>(out), n);
}
