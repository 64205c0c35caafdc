// Number formats: any code renders any value in both languages and date
// systems without a crash, into a text no longer than the code can ask for,
// and a text cell through it the same way, cut just past a limit.
//
// Input: the first 8 bytes a value (a double's bytes), the rest the code as
// UTF-8; a few fixed values go through the code too.

#include "workbooks/numberformat.h"

#include <QString>

#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 8 || size > 4096)
        return 0;
    double given = 0;
    std::memcpy(&given, data, sizeof given);
    const QString code = QString::fromUtf8(reinterpret_cast<const char *>(data + 8), qsizetype(size - 8));
    const NumberFormat format(code);
    // Past a number's 309 digits, every token shows at most a month's name
    // or its own length in digits.
    const qsizetype most = 20 * code.size() + 400;
    const double values[] = {given, 0.0, -0.0, 1.5, -2.5, 45366.75, 60, 1e20, -1e-7, 1e308, 0.999999999};
    for (const double value : values) {
        for (const auto language : {Language::Choice::Polish, Language::Choice::English}) {
            for (const bool date1904 : {false, true}) {
                if (format.number(value, {language, date1904}).size() > most)
                    std::abort();
            }
        }
    }
    const QString text = QStringLiteral("abc");
    if (format.text(text).size() > most + text.size() * code.size())
        std::abort();
    if (!format.changesText() && format.text(text) != text)
        std::abort();
    // Past a limit a text stops one character after it, the same as far as it goes.
    if (format.text(text, 7) != format.text(text).left(8))
        std::abort();
    return 0;
}
