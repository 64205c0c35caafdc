#include "app/buildinfo.h"
#include "app/commandline.h"
#include "app/mainwindow.h"
#include "app/testscript.h"
#include "files/settings.h"
#include "system/language.h"
#include "system/localnames.h"
#include "system/startup.h"

#include <QApplication>
#include <QFile>

#include <cstdio>

namespace {
QStringList argumentsOf(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

// The language of this run: --lang, else the one chosen in the window, else
// the desktop's. --lang is not kept: the menu's choice stays in the settings.
Language::Choice startLanguage(const QStringList &arguments)
{
    if (const std::optional<Language::Choice> given = CommandLine::parse(arguments).language)
        return *given;
    return Settings().language().value_or(Language::ofDesktop());
}
} // namespace

int main(int argc, char **argv)
{
    prepareProcess();
    // Help and version are answered before the toolkit starts: no display needed.
    const CommandLine::Parsed early = CommandLine::parse(argumentsOf(argc, argv));
    if (early.action == CommandLine::Parsed::Action::Help || early.action == CommandLine::Parsed::Action::Version) {
        // In the window's language: an application object without a display
        // holds the translation.
        QCoreApplication core(argc, argv);
        Settings::useProgramNames();
        Language::install(startLanguage(argumentsOf(argc, argv)));
        std::fputs(CommandLine::parse(argumentsOf(argc, argv)).text.toUtf8().constData(), stdout);
        return 0;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationVersion(QString::fromLatin1(LamelloBuild::version));
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.lamello.Lamello"));
    Settings::useProgramNames();
    Language::install(startLanguage(QCoreApplication::arguments()));
    // The toolkit has taken its own options out: anything else unknown is a mistake.
    const CommandLine::Parsed command = CommandLine::parse(QCoreApplication::arguments());
    if (command.action == CommandLine::Parsed::Action::Usage) {
        std::fputs(command.text.toUtf8().constData(), stderr);
        return 1;
    }
    int exitCode = 0;
    {
        MainWindow window;
        window.show();
        // The toolkit has taken its options out of argv: what is left are
        // the program's name and its own arguments, as bytes. A name that is
        // not UTF-8 is named and left alone.
        QStringList arguments;
        QStringList undecodable;
        for (int i = 0; i < argc; ++i) {
            if (LocalNames::roundTrips(argv[i]))
                arguments.append(QFile::decodeName(argv[i]));
            else
                undecodable.append(LocalNames::escaped(argv[i]));
        }
        // Inert unless a test sets LAMELLO_TEST_SCRIPT.
        TestScript script(&window);
        window.offerRecovery();
        window.openFromCommandLine(arguments, undecodable);
        script.start();
        exitCode = app.exec();
    }
    return exitCode;
}
