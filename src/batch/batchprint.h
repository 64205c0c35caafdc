#pragma once

#include "system/language.h"

#include <QPointF>
#include <QSizeF>
#include <QStringList>

#include <optional>

class QTextStream;

// lamello-batch: prints a descriptions file, or a project (".lmpro": its
// fonts, with the texts from the ".dat" file beside it), without the window,
// through the same reader, layout, page builder and renderer as the window,
// so that its pages are the pages the window prints.
//
//   lamello-batch [options] INPUT
//
// "-o -" writes the PDF to standard output.
//
// Exit status: 0 done; 1 wrong usage (unknown option, malformed value, pages
// outside the sheet, an output that is one of the input files); 2 the input is
// missing, unreadable or refused; 3 the output failed (unwritable path, a
// FIFO or device in the way, printer gone, job refused). Every failure is one
// line on `err` naming the file or printer and the reason, and leaves no
// output file behind.
namespace BatchPrint {

enum ExitStatus { Done = 0, Usage = 1, InputFailed = 2, OutputFailed = 3 };

// What standard output was when the process started: "-o -" is refused on a
// terminal (a PDF is no text to show) and when it was closed (a file the
// toolkit opened would have taken its place).
enum class StandardOutput { Usable, Terminal, Closed };

// Runs the command line `arguments` (program name first). `out` takes --help
// and --version, `err` the failures and, when `progressLine` is set, a
// progress line for jobs that take longer than a second.
int run(const QStringList &arguments, QTextStream &out, QTextStream &err, bool progressLine,
        StandardOutput standardOutput = StandardOutput::Usable);

// The language of the run: --lang pl|en in `arguments` (program name first),
// otherwise the desktop's (LANGUAGE, LANG; see Language::ofDesktop()).
Language::Choice language(const QStringList &arguments);

// The values of --label and --header: "37.3x11.2" in mm (a comma serves as
// the decimal point too), each side above 0 and at most 100; none otherwise.
std::optional<QSizeF> parseSize(const QString &value);
// The values of --shift and --scale: "2,-1.5", two numbers with a point as
// the decimal point, separated by a comma; none otherwise.
std::optional<QPointF> parsePair(const QString &value);
// A value longer than this is no size or pair.
constexpr qsizetype maxValueLength = 64;

} // namespace BatchPrint
