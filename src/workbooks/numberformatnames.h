#pragma once

// The month and day names and the AM/PM words NumberFormat shows dates
// with: Polish as LibreOffice Calc shows them, English, and the language a
// locale tag names ([$-407]: German) as Qt has it.
#include "system/language.h"

#include <QString>

#include <array>
#include <memory>

namespace NumberFormatCode {

struct Names
{
    std::array<QString, 12> months;
    std::array<QString, 12> monthsGenitive;   // with the day shown ("15 marca")
    std::array<QString, 12> monthsShort;
    std::array<QString, 7> days;   // from Sunday
    std::array<QString, 7> daysShort;
    QString am = QStringLiteral("AM");
    QString pm = QStringLiteral("PM");
};

// The names of the interface language.
const Names &names(Language::Choice language);
// The names of a locale tag's Windows language id, by its primary
// language (the low ten bits: 0x415 and 0x15 are Polish); null for a
// language not known here.
std::shared_ptr<const Names> tagNames(int id);

} // namespace NumberFormatCode
