#pragma once

// A number's 15 significant digits, which is what the spreadsheet programs
// keep of a value before they show it (General, and the digits a number
// format rounds). Shared by NumberFormat's General and its formats.
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

} // namespace FifteenDigits
