#include "workbooks/numberformatnames.h"

#include <QLocale>

#include <algorithm>
#include <utility>

namespace NumberFormatCode {

namespace {

template<std::size_t n>
std::array<QString, n> texts(const std::array<const char16_t *, n> &from)
{
    std::array<QString, n> out;
    std::transform(from.begin(), from.end(), out.begin(), [](const char16_t *t) { return QString::fromUtf16(t); });
    return out;
}

// The language of a locale tag's Windows language id ([$-407]: 0x0407,
// German), by its primary language (the low ten bits); AnyLanguage for
// one not known here.
QLocale::Language tagLanguage(int id)
{
    static const std::pair<int, QLocale::Language> languages[] = {
        {0x01, QLocale::Arabic},     {0x02, QLocale::Bulgarian},  {0x03, QLocale::Catalan},
        {0x04, QLocale::Chinese},    {0x05, QLocale::Czech},      {0x06, QLocale::Danish},
        {0x07, QLocale::German},     {0x08, QLocale::Greek},      {0x09, QLocale::English},
        {0x0A, QLocale::Spanish},    {0x0B, QLocale::Finnish},    {0x0C, QLocale::French},
        {0x0D, QLocale::Hebrew},     {0x0E, QLocale::Hungarian},  {0x0F, QLocale::Icelandic},
        {0x10, QLocale::Italian},    {0x11, QLocale::Japanese},   {0x12, QLocale::Korean},
        {0x13, QLocale::Dutch},      {0x14, QLocale::NorwegianBokmal}, {0x15, QLocale::Polish},
        {0x16, QLocale::Portuguese}, {0x18, QLocale::Romanian},   {0x19, QLocale::Russian},
        {0x1A, QLocale::Croatian},   {0x1B, QLocale::Slovak},     {0x1C, QLocale::Albanian},
        {0x1D, QLocale::Swedish},    {0x1E, QLocale::Thai},       {0x1F, QLocale::Turkish},
        {0x21, QLocale::Indonesian}, {0x22, QLocale::Ukrainian},  {0x23, QLocale::Belarusian},
        {0x24, QLocale::Slovenian},  {0x25, QLocale::Estonian},   {0x26, QLocale::Latvian},
        {0x27, QLocale::Lithuanian}, {0x2A, QLocale::Vietnamese}, {0x2D, QLocale::Basque},
        {0x2F, QLocale::Macedonian}, {0x36, QLocale::Afrikaans},  {0x38, QLocale::Faroese},
        {0x3E, QLocale::Malay},      {0x56, QLocale::Galician},
    };
    for (const auto &[primary, language] : languages) {
        if ((id & 0x3FF) == primary)
            return language;
    }
    return QLocale::AnyLanguage;
}

// The names of a language other than Polish and English, as Qt has them.
Names qtNames(QLocale::Language language)
{
    const QLocale locale(language);
    Names n;
    for (int m = 0; m < 12; ++m) {
        n.months[m] = locale.standaloneMonthName(m + 1, QLocale::LongFormat);
        n.monthsGenitive[m] = locale.monthName(m + 1, QLocale::LongFormat);
        n.monthsShort[m] = locale.standaloneMonthName(m + 1, QLocale::ShortFormat);
    }
    for (int d = 0; d < 7; ++d) {
        n.days[d] = locale.dayName(d == 0 ? 7 : d, QLocale::LongFormat);
        n.daysShort[d] = locale.dayName(d == 0 ? 7 : d, QLocale::ShortFormat);
    }
    n.am = locale.amText();
    n.pm = locale.pmText();
    return n;
}

} // namespace

const Names &names(Language::Choice language)
{
    // As LibreOffice Calc shows them in Polish: the genitive beside a day,
    // Roman numerals abbreviated.
    static const Names polish{
        texts<12>({u"styczeń", u"luty", u"marzec", u"kwiecień", u"maj", u"czerwiec", u"lipiec", u"sierpień",
                   u"wrzesień", u"październik", u"listopad", u"grudzień"}),
        texts<12>({u"stycznia", u"lutego", u"marca", u"kwietnia", u"maja", u"czerwca", u"lipca", u"sierpnia",
                   u"września", u"października", u"listopada", u"grudnia"}),
        texts<12>({u"I", u"II", u"III", u"IV", u"V", u"VI", u"VII", u"VIII", u"IX", u"X", u"XI", u"XII"}),
        texts<7>({u"niedziela", u"poniedziałek", u"wtorek", u"środa", u"czwartek", u"piątek", u"sobota"}),
        texts<7>({u"niedz.", u"pon.", u"wt.", u"śr.", u"czw.", u"pt.", u"sob."})};
    static const Names english = [] {
        const std::array<QString, 12> months = texts<12>({u"January", u"February", u"March", u"April", u"May",
                                                          u"June", u"July", u"August", u"September", u"October",
                                                          u"November", u"December"});
        return Names{months, months,
                     texts<12>({u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun", u"Jul", u"Aug", u"Sep", u"Oct",
                                u"Nov", u"Dec"}),
                     texts<7>({u"Sunday", u"Monday", u"Tuesday", u"Wednesday", u"Thursday", u"Friday", u"Saturday"}),
                     texts<7>({u"Sun", u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat"})};
    }();
    return language == Language::Choice::English ? english : polish;
}

std::shared_ptr<const Names> tagNames(int id)
{
    const QLocale::Language language = tagLanguage(id);
    // The tables above, held by nothing: they live as long as the program.
    if (language == QLocale::Polish)
        return std::shared_ptr<const Names>(std::shared_ptr<const Names>(), &names(Language::Choice::Polish));
    if (language == QLocale::English)
        return std::shared_ptr<const Names>(std::shared_ptr<const Names>(), &names(Language::Choice::English));
    if (language == QLocale::AnyLanguage)
        return nullptr;
    return std::make_shared<const Names>(qtNames(language));
}

} // namespace NumberFormatCode
