#pragma once

#include "system/language.h"

#include <QString>
#include <QStringList>

#include <optional>

// The command line of the window, `lamello [-h] [-v] [--lang pl|en] [FILE...]`,
// and what a
// file named there (or dropped on the window) is. Widget-free: --help and
// --version are answered before the toolkit starts, so they need no display.
class FileLook;

namespace CommandLine {

struct Parsed
{
    enum class Action {
        Open,       // start the window and open `files`, if any
        Help,       // print `text` on stdout, exit 0
        Version,    // print `text` on stdout, exit 0
        Usage,      // wrong usage: print `text` on stderr, exit 1
    };
    Action action = Action::Open;
    QString text;
    QStringList files;   // in the order given
    // --lang: the language of this run, whatever the desktop or the language
    // menu chose (the menu's choice stays in the settings); none when not given.
    std::optional<Language::Choice> language;
};

// Reads `arguments`, the program's name first. Help and version win over
// everything else on the line; --lang takes exactly "pl" or "en". Options of the toolkit (-platform, -style...)
// are unknown here: the application object takes them out first.
Parsed parse(const QStringList &arguments);

enum class FileKind { Project, Descriptions };

// A project is named ".lmpro" (its texts are found by that name) and does
// not start with bytes that no project holds; anything else, a text file
// named ".lmpro" too, is a descriptions file. A project file that cannot be
// looked at stays a project, so that its reader says what is wrong. Never
// blocks on a FIFO or a device.
FileKind kindOf(const QString &path);
// The same by a look already taken at the file (files/filelook.h).
FileKind kindOf(const FileLook &look);

} // namespace CommandLine
