#pragma once

#include "batch/batchprint.h"
#include "layout/pagerange.h"
#include "layout/sheetlayout.h"
#include "workbooks/workbook.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QPointF>
#include <QString>
#include <QStringList>

#include <optional>

class QTextStream;

namespace BatchPrint {

// A failure: one line on stderr, the status to exit with.
struct Failure
{
    int status;
    QString text;
};

// The command line of lamello-batch, read and checked: the input, a PDF or
// a printer, the pages, the geometry, the calibration's parts and a
// spreadsheet's mapping. --help and --version are written to `out`.
class Options
{
    // The context of lamello-batch's texts.
    Q_DECLARE_TR_FUNCTIONS(BatchPrint)

public:
    explicit Options(QTextStream &out)
        : out(out)
    {
    }

    // Reads `arguments` (program name first); a failure is a line to print
    // with the Usage status.
    std::optional<Failure> parse(const QStringList &arguments);

    QTextStream &out;

    QCommandLineParser parser;
    bool helpOrVersion = false;
    QString input;
    QString pdfPath;
    QString printer;
    std::optional<PageRange::Ranges> chosenPages;
    bool noLimit = false;
    std::optional<QPointF> shift;   // --shift, mm
    std::optional<QPointF> scale;   // --scale, percent
    bool marks = true;
    SheetLayout sheet;
    SheetMapping mapping;           // a spreadsheet's, from the command line
    bool mappingGiven = false;
    bool labelsGiven = false;
    bool replaceUnencodable = false;
    bool emptyFormulas = false;     // formulas saved without results printed empty
};

// An old Excel file under a name that is no .ods or .xlsx (those readers
// refuse a compound document themselves: an encrypted workbook is one).
bool oldExcel(const QString &path);

} // namespace BatchPrint
