#include "app/commandline.h"

#include "app/buildinfo.h"
#include "files/filelook.h"
#include "files/projectfile.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace {
QString tr(const char *text)
{
    return QCoreApplication::translate("CommandLine", text);
}
} // namespace

namespace CommandLine {

Parsed parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    // "-platform" and the like are one unknown option each, never a run of
    // short ones that could hide an -h or a -v.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        tr("Przygotowuje i drukuje wsuwane opisy (baretki) do paneli czołowych urządzeń."));
    const QCommandLineOption helpOption({QStringLiteral("h"), QStringLiteral("help")}, tr("Pokazuje tę pomoc."));
    const QCommandLineOption versionOption({QStringLiteral("v"), QStringLiteral("version")},
                                           tr("Pokazuje wersję programu."));
    const QCommandLineOption languageOption(
        QStringLiteral("lang"),
        tr("Język okna w tym uruchomieniu: pl (polski) albo en (angielski); wybór z menu „Język / Language” "
           "pozostaje zapamiętany."),
        tr("język"));
    parser.addOptions({helpOption, versionOption, languageOption});
    parser.addPositionalArgument(tr("PLIK"),
                                 tr("Projekt (.lmpro) albo plik z opisami (.txt, .dat) do otwarcia; "
                                    "z kilku plików otwierany jest pierwszy."),
                                 tr("[PLIK...]"));

    const bool parsed = parser.parse(arguments);
    Parsed result;
    // Known before anything is said, so that it is said in that language.
    const bool languageGiven = parser.isSet(languageOption);
    result.language = languageGiven ? Language::fromOption(parser.value(languageOption)) : std::nullopt;
    if (parser.isSet(helpOption)) {
        result.action = Parsed::Action::Help;
        // The usage line is our own: without an application object the
        // toolkit does not know the program's name.
        QString help = parser.helpText();
        help.replace(QLatin1String("Options:"), tr("Opcje:")).replace(QLatin1String("Arguments:"), tr("Argumenty:"));
        result.text = tr("Użycie: lamello [opcje] [PLIK...]") + help.mid(help.indexOf(QLatin1Char('\n')));
        return result;
    }
    if (parser.isSet(versionOption)) {
        result.action = Parsed::Action::Version;
        result.text = QStringLiteral("lamello %1\n").arg(QString::fromLatin1(LamelloBuild::version));
        return result;
    }
    if (!parsed) {
        result.action = Parsed::Action::Usage;
        const QStringList unknown = parser.unknownOptionNames();
        QString what = parser.errorText();
        if (!unknown.isEmpty()) {
            const QString dashes = unknown.first().size() == 1 ? QStringLiteral("-") : QStringLiteral("--");
            what = tr("nieznana opcja %1").arg(dashes + unknown.first());
        }
        result.text = tr("lamello: %1. Pomoc: lamello --help\n").arg(what);
        return result;
    }
    if (languageGiven && !result.language) {
        result.action = Parsed::Action::Usage;
        result.text = tr("lamello: --lang %1: podaj pl albo en. Pomoc: lamello --help\n").arg(parser.value(languageOption));
        return result;
    }
    result.files = parser.positionalArguments();
    return result;
}

FileKind kindOf(const QString &path)
{
    if (!path.endsWith(ProjectFile::suffix))
        return FileKind::Descriptions;
    return kindOf(FileLook::at(path));
}

FileKind kindOf(const FileLook &look)
{
    static_assert(FileLook::headBytes >= ProjectFile::longestRecord);
    if (!look.path.endsWith(ProjectFile::suffix))
        return FileKind::Descriptions;
    if (!look.opened())
        return FileKind::Project;
    // The look the project reader takes at its first record.
    const ProjectFile::Fonts first = ProjectFile::parseFonts(look.head.left(ProjectFile::longestRecord));
    return first.status == ProjectFile::Fonts::Status::NotAProject
               ? FileKind::Descriptions
               : FileKind::Project;
}

} // namespace CommandLine
