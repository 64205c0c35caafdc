#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

#include <optional>

// The language the programs speak. Their texts are written in Polish and
// translated into English (translations/lamello_en.ts, built into the
// programs); Qt's own dialogs and buttons follow (qtbase_pl, qtbase_en).
//
// The desktop decides unless the user chose in the window ("Język /
// Language", kept in the settings) or the program was given --lang: the
// desktop's languages are walked in order as gettext walks them, and the
// first that the programs speak wins ("de:en" English, "de:pl" Polish); a
// desktop with none of them (the C locale too) gets Polish.
namespace Language {

enum class Choice { Polish, English };

// "pl" or "en".
QString code(Choice language);
// The language a code names ("pl", "en", also "en_GB" or "pl-PL"); nothing
// for any other.
std::optional<Choice> fromCode(const QString &code);
// The language the programs' --lang option names: exactly "pl" or "en";
// nothing for any other value.
std::optional<Choice> fromOption(const QString &value);
// The language for a desktop whose languages, most wanted first, are
// `uiLanguages` (as QLocale::uiLanguages() gives them).
Choice ofDesktop(const QStringList &uiLanguages);
// The same for this process's desktop (LANGUAGE, LC_ALL, LC_MESSAGES, LANG).
Choice ofDesktop();

// Speaks `language` from now on: installs the program's and Qt's
// translators for it in place of those installed before, and Qt tells every
// widget (QEvent::LanguageChange). Call after the application object exists;
// returns false when Qt's own translation is not installed on this machine
// (its dialogs then stay in English), the program's texts change anyway.
bool install(Choice language);
// The language installed last; Polish before the first install().
Choice installed();
// Numbers and dates in the language installed (Polish: "1,5", "5 marca 2025").
QLocale locale();

} // namespace Language
