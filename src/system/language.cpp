#include "system/language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <memory>

namespace {
struct Installed
{
    Language::Choice language = Language::Choice::Polish;
    std::unique_ptr<QTranslator> program;
    std::unique_ptr<QTranslator> toolkit;
};

Installed &installedTranslators()
{
    static Installed state;
    return state;
}

// Qt's own translation for `locale`, or nothing when it is not installed.
std::unique_ptr<QTranslator> toolkitTranslator(const QLocale &locale)
{
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return nullptr;
    return translator;
}
} // namespace

namespace Language {

QString code(Choice language)
{
    return language == Choice::English ? QStringLiteral("en") : QStringLiteral("pl");
}

std::optional<Choice> fromCode(const QString &code)
{
    const QString language = code.section(QLatin1Char('_'), 0, 0).section(QLatin1Char('-'), 0, 0).toLower();
    if (language == QLatin1String("en"))
        return Choice::English;
    if (language == QLatin1String("pl"))
        return Choice::Polish;
    return std::nullopt;
}

std::optional<Choice> fromOption(const QString &value)
{
    return value == QLatin1String("pl") || value == QLatin1String("en") ? fromCode(value) : std::nullopt;
}

Choice ofDesktop(const QStringList &uiLanguages)
{
    // Walked as gettext walks LANGUAGE: the first language the program
    // speaks wins, Polish counting as one (the texts are Polish), so
    // "de:en" gives English and "de:pl" Polish.
    for (const QString &language : uiLanguages) {
        if (const std::optional<Choice> spoken = fromCode(language))
            return *spoken;
    }
    return Choice::Polish;
}

Choice ofDesktop()
{
    return ofDesktop(QLocale::system().uiLanguages());
}

bool install(Choice language)
{
    Installed &state = installedTranslators();
    if (state.program)
        QCoreApplication::removeTranslator(state.program.get());
    if (state.toolkit)
        QCoreApplication::removeTranslator(state.toolkit.get());
    state.program.reset();
    // Polish is the language of the sources: only Qt's texts need a translation.
    if (language == Choice::English) {
        state.program = std::make_unique<QTranslator>();
        // Built into the program (translations/); missing only in a broken build.
        if (!state.program->load(QStringLiteral(":/i18n/lamello_en.qm")))
            qWarning("The English translation is missing from this build.");
    }
    state.toolkit = toolkitTranslator(QLocale(language == Choice::English ? QLocale::English : QLocale::Polish));
    state.language = language;
    // Widgets made from now on write numbers as the language does.
    QLocale::setDefault(locale());
    if (state.program)
        QCoreApplication::installTranslator(state.program.get());
    if (state.toolkit)
        QCoreApplication::installTranslator(state.toolkit.get());
    return state.toolkit != nullptr;
}

Choice installed()
{
    return installedTranslators().language;
}

QLocale locale()
{
    return QLocale(installed() == Choice::English ? QLocale::English : QLocale::Polish);
}

} // namespace Language
