#pragma once

// A number's 15 significant digits, which is what the spreadsheet programs
// keep of a value before they show it (General, and the digits a number
// format rounds). Shared by NumberFormat's General and its formats.

#include <QString>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>

namespace FifteenDigits {

// A value exactly half way between two of 15 digits: rounded as printf
// rounds it (to even), or away from zero (as QString::number, which General
// followed).
enum class Tie { ToEven, AwayFromZero };

// d.ddd × 10^exponent: `count` digits (1 to 15), no trailing zeros.
struct Digits
{
    char digits[17];
    int count = 0;
    int exponent = 0;
};

// The digits of a positive finite value. The shortest digits that read
// back as the value come first: when there are 15 or fewer they are the
// value's 15 digits (it is nearer to them than half a unit of the 15th),
// and when there are 16 or 17 rounding them gives those digits too, unless
// they end half way (a 5 in 16th place), where the value itself decides.
Digits of(double magnitude, Tie tie);

// A non-negative value as decimal digits: 0.digits x 10^point, without
// leading or trailing zeros; no digits for zero. From the value's 15
// significant digits, as the spreadsheet programs round.
struct Decimal
{
    std::string digits;   // short enough to be kept inside the string, not allocated
    int point = 0;

    explicit Decimal(double v)
    {
        if (!(v > 0) || !std::isfinite(v))
            return;
        // As printf's %.14e rounds them.
        const FifteenDigits::Digits d = FifteenDigits::of(v, FifteenDigits::Tie::ToEven);
        digits.assign(d.digits, size_t(d.count));
        point = d.exponent + 1;
        trim();
    }
    void trim()
    {
        while (!digits.empty() && digits.back() == '0')
            digits.pop_back();
        if (digits.empty())
            point = 0;
    }
    Decimal() = default;
    // The digits of a number written as plain decimal digits ("-12.50",
    // as a workbook stores its numbers; the sign is passed over) when they
    // are 15 significant ones or fewer: the double read from them has
    // these for its 15 digits (see of()). None for anything else.
    static std::optional<Decimal> ofWritten(std::string_view written)
    {
        size_t i = !written.empty() && written[0] == '-' ? 1 : 0;
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
        Decimal d;
        // The first and last significant digits.
        size_t first = start;
        while (first < end && (written[first] == '0' || written[first] == '.'))
            ++first;
        if (first == end)
            return d;   // zero
        size_t last = end - 1;
        while (written[last] == '0' || written[last] == '.')
            --last;
        const bool pointInside = first < point && point < last;
        if (last - first + 1 - (pointInside ? 1 : 0) > 15)
            return std::nullopt;
        char kept[16];
        size_t n = 0;
        for (size_t k = first; k <= last; ++k) {
            if (k != point)
                kept[n++] = written[k];
        }
        d.digits.assign(kept, n);
        d.point = first < point ? int(point - first) : -int(first - point - 1);
        return d;
    }
    bool isZero() const { return digits.empty(); }
    // Rounded half away from zero to `decimals` digits after the point.
    void round(int decimals)
    {
        const qsizetype keep = qsizetype(point) + decimals;
        if (keep >= qsizetype(digits.size()))
            return;
        if (keep < 0) {
            digits.clear();
            point = 0;
            return;
        }
        const bool up = digits[keep] >= '5';
        digits.resize(size_t(keep));
        if (up) {
            qsizetype i = keep - 1;
            while (i >= 0 && digits[i] == '9')
                digits[i--] = '0';
            if (i < 0) {
                digits.insert(digits.begin(), '1');
                ++point;
            } else {
                ++digits[i];
            }
        }
        trim();
    }
    char fractionDigit(int i) const
    {
        const qsizetype at = qsizetype(point) + i;
        return at >= 0 && at < qsizetype(digits.size()) ? digits[size_t(at)] : '0';
    }
};

} // namespace FifteenDigits
