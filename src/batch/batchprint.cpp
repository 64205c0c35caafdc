#include "batch/batchprint.h"

#include "batch/batchoptions.h"
#include "document/sheetdocument.h"
#include "files/atomicfile.h"
#include "files/descriptionscheck.h"
#include "files/descriptionsfile.h"
#include "files/projectfile.h"
#include "files/settings.h"
#include "files/sheettexts.h"
#include "layout/pagerange.h"
#include "layout/sheetlayout.h"
#include "printing/fittracker.h"
#include "printing/pagepainter.h"
#include "printing/pagerenderer.h"
#include "printing/printjob.h"
#include "printing/printsettings.h"
#include "system/plural.h"
#include "workbooks/workbook.h"
#include "workbooks/workbookcheck.h"
#include "workbooks/workbookfile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QTextStream>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <memory>
#include <optional>
#include <utility>

#include <unistd.h>

namespace BatchPrint {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("BatchPrint", text);
}

// Why `path` cannot be read, as the end of a line about it.
QString unreadable(const QString &path)
{
    return DescriptionsCheck::isLinkLoop(path) ? tr("to pętla dowiązań symbolicznych.")
                                               : tr("nie można odczytać pliku.");
}

QString oneLine(QString text)
{
    return text.replace(QLatin1Char('\n'), QLatin1Char(' ')).simplified();
}

// One job: the command line read (Options), then the input read and printed.
class Run : private Options
{
    // The file's other texts' context, also for the tools that read them.
    Q_DECLARE_TR_FUNCTIONS(BatchPrint)

public:
    Run(QTextStream &out, QTextStream &err, bool progressLine, StandardOutput standardOutput)
        : Options(out)
        , err(err)
        , progressLine(progressLine)
        , standardOutput(standardOutput)
    {
    }

    int exec(const QStringList &arguments);

private:
    std::optional<Failure> checkOutput() const;
    std::optional<Failure> readInput();
    std::optional<Failure> readProject();
    std::optional<Failure> readWorkbook(WorkbookFile::Format format);
    void reportMarkedCells(const WorkbookSheet &chosen);
    std::optional<Failure> checkDescriptions(const QString &path);
    std::optional<Failure> print();
    bool reportProgress(int done, int total);

    QTextStream &err;
    bool progressLine;
    StandardOutput standardOutput;

    SheetTexts texts;   // by field id
    QList<QFont> fonts;   // a project's stored fonts, by field id

    QElapsedTimer timer;
    bool progressShown = false;
    qint64 shownAt = 0;
};

// The PDF must not take the place of what it is printed from: an output that
// is an input under another name ("./in.txt", a link) is refused before
// anything is read or written. Standard output may lead into an input too.
std::optional<Failure> Run::checkOutput() const
{
    if (pdfPath.isEmpty())
        return std::nullopt;
    if (pdfPath == QLatin1String("-") && standardOutput == StandardOutput::Terminal)
        return Failure{Usage, tr("lamello-batch: -o -: standardowe wyjście to terminal, a PDF nie jest tekstem; "
                                 "podaj -o PLIK.pdf albo przekieruj wyjście do pliku lub potoku.")};
    if (pdfPath == QLatin1String("-") && standardOutput == StandardOutput::Closed)
        return Failure{Usage, tr("lamello-batch: -o -: standardowe wyjście jest zamknięte; nic nie zapisano.")};
    const QString target = pdfPath == QLatin1String("-") ? QStringLiteral("/dev/stdout") : pdfPath;
    QStringList inputs{input};
    if (input.endsWith(ProjectFile::suffix))
        inputs.append(ProjectFile::textsPath(input));
    for (const QString &in : std::as_const(inputs)) {
        if (AtomicFile::sameFile(target, in))
            return Failure{Usage, tr("lamello-batch: -o %1: to ten sam plik co plik wejściowy %2; nic nie zapisano.")
                                      .arg(pdfPath, in)};
    }
    return std::nullopt;
}

std::optional<Failure> Run::readInput()
{
    if (input.endsWith(ProjectFile::suffix))
        return readProject();
    const std::optional<WorkbookFile::Format> format = WorkbookFile::formatOf(input);
    if (oldExcel(input))
        return Failure{InputFailed, QStringLiteral("lamello-batch: ") + WorkbookCheck::oldExcelRefusal(input)};
    if (format)
        return readWorkbook(*format);
    if (std::optional<Failure> refused = checkDescriptions(input))
        return refused;
    const QString program = QStringLiteral("lamello-batch");
    switch (SheetTexts::read(input, texts)) {
    case DescriptionsFile::ReadStatus::Ok:
        return std::nullopt;
    case DescriptionsFile::ReadStatus::NoPath:
    case DescriptionsFile::ReadStatus::Missing:
        return Failure{InputFailed, tr("%1: %2: nie ma takiego pliku.").arg(program, input)};
    case DescriptionsFile::ReadStatus::NotRegular:
    case DescriptionsFile::ReadStatus::OpenFailed:
        break;
    }
    return Failure{InputFailed, QStringLiteral("%1: %2: %3").arg(program, input, unreadable(input))};
}

// A project: the fonts from the project file, the texts from the descriptions
// file beside it, as the window opens it. A damaged project prints what was
// read, with one warning line.
std::optional<Failure> Run::readProject()
{
    const QString program = QStringLiteral("lamello-batch");
    if (AtomicFile::finishInterrupted(ProjectFile::files(input)) == AtomicFile::Finished::Completed)
        err << tr("%1: %2: zapis projektu został przerwany; dokończono go i drukowana jest zapisana wersja.")
                   .arg(program, input)
            << '\n' << Qt::flush;
    QFile projectFile(input);
    switch (DescriptionsCheck::openRegular(input, projectFile)) {
    case DescriptionsCheck::Verdict::Ok:
        break;
    case DescriptionsCheck::Verdict::Missing:
        return Failure{InputFailed, tr("%1: %2: nie ma takiego pliku.").arg(program, input)};
    case DescriptionsCheck::Verdict::NotRegular:
        return Failure{InputFailed, tr("%1: %2: to nie jest zwykły plik.").arg(program, input)};
    default:
        return Failure{InputFailed, QStringLiteral("%1: %2: %3").arg(program, input, unreadable(input))};
    }
    if (ProjectFile::parseFonts(projectFile.peek(ProjectFile::longestRecord)).status
        == ProjectFile::Fonts::Status::NotAProject)
        return Failure{InputFailed, tr("%1: %2: to nie jest plik projektu.").arg(program, input)};

    const QString textsPath = ProjectFile::textsPath(input);
    if (std::optional<Failure> refused = checkDescriptions(textsPath))
        return refused;
    QFile textsFile(textsPath);
    if (DescriptionsCheck::openRegular(textsPath, textsFile) != DescriptionsCheck::Verdict::Ok)
        return Failure{InputFailed, QStringLiteral("%1: %2: %3").arg(program, textsPath, unreadable(textsPath))};
    const QByteArray textBytes = textsFile.readAll();
    if (textsFile.error() != QFileDevice::NoError)
        return Failure{InputFailed, QStringLiteral("%1: %2: %3").arg(program, textsPath, unreadable(textsPath))};
    texts = SheetTexts::fromFile(textBytes);
    const qsizetype fieldCount = DescriptionsFile::lineCount(textBytes);
    const QByteArray fontBytes = projectFile.read(ProjectFile::readLimit(fieldCount));
    if (projectFile.error() != QFileDevice::NoError)
        return Failure{InputFailed, QStringLiteral("%1: %2: %3").arg(program, input, unreadable(input))};
    ProjectFile::Fonts stored = ProjectFile::parseFonts(fontBytes);
    const qsizetype usable = stored.fonts.size();
    fonts = std::move(stored.fonts);

    // Damage past the last field's record (where the read limit may cut a
    // record in two) takes no field's font: such a project is complete.
    if (usable < fieldCount)
        err << tr("%1: %2: plik projektu jest uszkodzony: czcionki odczytano dla %3 z %4; "
                  "pozostałe pola mają czcionkę domyślną.")
                   .arg(program, input)
                   .arg(qMin(usable, fieldCount))
                   .arg(ProjectFile::ofFields(fieldCount))
            << '\n' << Qt::flush;
    return std::nullopt;
}

// A spreadsheet: the sheet chosen, mapped as the command line says, with the
// same limits as a descriptions file; cells Windows-1250 cannot hold are
// refused with their addresses unless --replace-unencodable, and so are
// formulas saved without their results unless --empty-formulas.
std::optional<Failure> Run::readWorkbook(WorkbookFile::Format format)
{
    const QString program = QStringLiteral("lamello-batch");
    // As in the mapping dialog: a header printed again as a label is refused.
    if (mapping.layout == SheetMapping::Layout::Rows && mapping.headerColumn >= mapping.firstLabel
        && mapping.headerColumn <= mapping.lastLabel)
        return Failure{InputFailed, tr("%1: %2: kolumna nagłówków %3 jest jedną z kolumn etykiet %4-%5; "
                                       "podaj inne --header-column albo --label-columns.")
                                        .arg(program, input, CellAddress::columnName(mapping.headerColumn),
                                             CellAddress::columnName(mapping.firstLabel),
                                             CellAddress::columnName(mapping.lastLabel))};
    Workbook book;
    QString error;
    if (!WorkbookFile::read(input, format, book, &error, mapping.delimiter))
        return Failure{InputFailed, program + QStringLiteral(": ") + oneLine(error)};
    const qsizetype index = mapping.sheet.isEmpty() ? 0 : book.indexOf(mapping.sheet);
    if (index < 0 || index >= book.sheets.size()) {
        QStringList names;
        for (const WorkbookSheet &s : std::as_const(book.sheets))
            names.append(WorkbookFile::shown(s.name));
        return Failure{InputFailed, tr("%1: %2: nie ma arkusza „%3”; są: %4.")
                                        .arg(program, input, WorkbookFile::shown(mapping.sheet),
                                             names.join(QStringLiteral(", ")))};
    }
    const WorkbookSheet &chosen = book.sheets.at(index);
    if (format == WorkbookFile::Format::Delimited && WorkbookCheck::delimiterSplitsNothing(chosen, mapping)) {
        const std::optional<char> likely = WorkbookCheck::likelyDelimiter(input, book.delimiter);
        return Failure{InputFailed,
                       tr("%1: %2: z separatorem „%3” każdy wiersz ma jedną kolumnę, a czytane są dalsze kolumny.%4")
                           .arg(program, input, WorkbookCheck::delimiterName(book.delimiter),
                                likely ? tr(" Plik wygląda na rozdzielany „%1”: --delimiter '%2'.")
                                             .arg(QString(QLatin1Char(*likely)).replace(QLatin1Char('\t'), tr("tabulator")),
                                                  WorkbookCheck::delimiterName(*likely))
                                       : QString())};
    }
    const int n = sheet.labelsPerBarette;
    QStringList imported = SheetImport::texts(chosen, mapping, n);

    const DescriptionsCheck::Result check = DescriptionsCheck::forLines(
        imported.size(), n, sheet.barettesPerPage, 0, 0, DescriptionsCheck::Holding::Print);
    if (check.verdict == DescriptionsCheck::Verdict::TooLarge)
        return Failure{InputFailed, tr("%1: %2: arkusz jest zbyt duży dla pamięci tego komputera.").arg(program, input)};
    if (check.verdict == DescriptionsCheck::Verdict::Large && !noLimit)
        return Failure{InputFailed, tr("%1: %2: arkusz zawiera %3 (%4), więcej niż %5; "
                                       "aby go wydrukować, dodaj --no-limit.")
                                        .arg(program, input, DescriptionsCheck::baretteCount(check.barettes),
                                             DescriptionsCheck::pageCount(check.pages))
                                        .arg(DescriptionsCheck::largeSheetBarettes)};

    // A formula saved without its result would print as an empty label.
    qsizetype formulas = 0;
    const QList<FormulaCell> uncalculated = SheetImport::uncalculated(chosen, mapping, 5, &formulas);
    if (formulas > 0 && !emptyFormulas) {
        QStringList named;
        for (const FormulaCell &cell : uncalculated)
            named.append(SheetImport::describe(chosen, cell));
        return Failure{InputFailed, tr("%1: %2: %3 formułę zapisaną bez wyniku: %4%5; otwórz skoroszyt w programie "
                                       "arkuszowym i zapisz go (wyniki zostaną zapisane) albo dodaj --empty-formulas, "
                                       "aby wydrukować te komórki puste.")
                                        .arg(program, input,
                                             counted(formulas, tr("%1 komórka zawiera", "one"),
                                                     tr("%1 komórki zawierają", "few"), tr("%1 komórek zawiera", "many")),
                                             named.join(QStringLiteral(", ")),
                                             formulas > uncalculated.size() ? QStringLiteral("…") : QString())};
    }

    qsizetype total = 0;
    const QList<SheetImport::BadCell> bad = SheetImport::unencodable(chosen, mapping, 5, &total);
    if (total > 0 && !replaceUnencodable) {
        QStringList named;
        for (const SheetImport::BadCell &cell : bad)
            named.append(SheetImport::describe(chosen, cell));
        return Failure{InputFailed, tr("%1: %2: %3 znaki, których nie ma w kodowaniu Windows-1250: %4%5; "
                                       "popraw je albo dodaj --replace-unencodable.")
                                        .arg(program, input,
                                             counted(total, tr("%1 komórka zawiera", "one"), tr("%1 komórki zawierają", "few"), tr("%1 komórek zawiera", "many")),
                                             named.join(QStringLiteral(", ")),
                                             total > bad.size() ? QStringLiteral("…") : QString())};
    }
    if (total > 0) {
        for (QString &text : imported)
            text = SheetImport::replaceUnencodable(text);
    }
    reportMarkedCells(chosen);
    texts = std::move(imported);
    return std::nullopt;
}

// Cells holding "@" or a symbol character are printed as the descriptions
// file would print them (a line break, symbols): said on stderr, not refused.
void Run::reportMarkedCells(const WorkbookSheet &chosen)
{
    qsizetype total = 0;
    const QList<SheetImport::MarkedCell> cells = SheetImport::marked(chosen, mapping, 5, &total);
    if (total == 0)
        return;
    QStringList named;
    for (const SheetImport::MarkedCell &cell : cells)
        named.append(SheetImport::describe(chosen, cell));
    err << tr("%1: %2: %3 „@” (nowa linia) albo symbol „#”, „$”, „^”, „&”: %4%5.")
               .arg(QStringLiteral("lamello-batch"), input,
                    counted(total, tr("%1 komórka zawiera", "one"), tr("%1 komórki zawierają", "few"),
                            tr("%1 komórek zawiera", "many")),
                    named.join(QStringLiteral("; ")), total > cells.size() ? QStringLiteral("…") : QString())
        << '\n' << Qt::flush;
}

// The look before reading that the window takes too: refuses what is no
// descriptions file, and a very large sheet unless --no-limit.
std::optional<Failure> Run::checkDescriptions(const QString &path)
{
    const QString program = QStringLiteral("lamello-batch");
    const DescriptionsCheck::Result check =
        DescriptionsCheck::check(path, sheet.labelsPerBarette, sheet.barettesPerPage, 0,
                                 DescriptionsCheck::Holding::Print);
    switch (check.verdict) {
    case DescriptionsCheck::Verdict::Ok:
        break;
    case DescriptionsCheck::Verdict::Large:
        if (noLimit)
            break;
        return Failure{InputFailed, tr("%1: %2: plik zawiera %3 (%4), więcej niż %5; "
                                       "aby go wydrukować, dodaj --no-limit.")
                                        .arg(program, path, DescriptionsCheck::baretteCount(check.barettes),
                                             DescriptionsCheck::pageCount(check.pages))
                                        .arg(DescriptionsCheck::largeSheetBarettes)};
    case DescriptionsCheck::Verdict::Missing:
        return Failure{InputFailed, tr("%1: %2: nie ma takiego pliku.").arg(program, path)};
    case DescriptionsCheck::Verdict::Unreadable:
        return Failure{InputFailed, QStringLiteral("%1: %2: %3").arg(program, path, unreadable(path))};
    case DescriptionsCheck::Verdict::NotRegular:
    case DescriptionsCheck::Verdict::NotText:
    case DescriptionsCheck::Verdict::TooLarge:
        return Failure{InputFailed, program + QStringLiteral(": ") + oneLine(DescriptionsCheck::refusal(check, path))};
    }
    return std::nullopt;
}

bool Run::reportProgress(int done, int total)
{
    if (!progressLine)
        return true;
    // Shown once the job has taken a second, then ten times a second and at the end.
    const qint64 now = timer.elapsed();
    if (progressShown ? (now - shownAt >= 100 || done == total) : (now > 1000 && done < total)) {
        progressShown = true;
        shownAt = now;
        err << '\r' << tr("lamello-batch: strona %1 z %2").arg(done).arg(total) << Qt::flush;
    }
    return true;
}

std::optional<Failure> Run::print()
{
    const QString program = QStringLiteral("lamello-batch");
    // A descriptions file: every field in the default font, as freshly
    // imported; a project: its fonts.
    SheetDocument document;
    document.reset(std::move(texts), fonts);
    const PagePainter painter(sheet, document);
    const int pageCount = painter.pageCount();
    QList<int> pages;
    if (chosenPages) {
        // The first page asked for that the sheet does not have.
        int missing = 0;
        for (const auto &[first, last] : std::as_const(*chosenPages)) {
            if (last > pageCount) {
                const int p = qMax(first, pageCount + 1);
                missing = missing == 0 ? p : qMin(missing, p);
            }
        }
        if (missing > 0)
            return Failure{Usage, tr("%1: --pages: strony %2 nie ma; arkusz ma stron: %3.")
                                      .arg(program)
                                      .arg(missing)
                                      .arg(pageCount)};
        // In the sheet's order, each once.
        const std::optional<QList<int>> listed = PageRange::parse(parser.value(QStringLiteral("pages")), pageCount);
        for (const int p : listed.value_or(QList<int>()))
            pages.append(p - 1);
    } else {
        for (int p = 0; p < pageCount; ++p)
            pages.append(p);
    }

    // Pages are painted straight from the texts and fonts: a sheet of any
    // size takes no memory beyond them.
    const auto drawPage = [&](int index, PageRenderer &renderer) {
        return renderer.drawPage(
            [&](QPainter *p, const QRectF &paper) { painter.paint(p, pages.at(index), paper, marks); });
    };
    const auto progress = [this](int done, int total) { return reportProgress(done, total); };

    // A printer's stored calibration, unless the command line sets its parts;
    // a PDF is true to size unless the command line says otherwise.
    RenderOptions options;
    options.marks = marks;
    if (!printer.isEmpty()) {
        QString problem;
        options.calibration = PrintSettings::calibration(printer, &problem);
        for (const QString &note : {Settings::takeFileProblem(), problem}) {
            if (!note.isEmpty())
                err << program << QStringLiteral(": ") << note << '\n' << Qt::flush;
        }
    }
    if (shift) {
        options.calibration.shiftX = shift->x();
        options.calibration.shiftY = shift->y();
    }
    if (scale) {
        options.calibration.scaleX = scale->x();
        options.calibration.scaleY = scale->y();
    }

    timer.start();
    QString error;
    const bool toStandardOutput = pdfPath == QLatin1String("-");
    // A reader that went away makes the write fail (EPIPE) instead of ending
    // the process without a word.
    if (toStandardOutput)
        std::signal(SIGPIPE, SIG_IGN);
    const PrintJob::Outcome outcome =
        toStandardOutput ? PrintJob::writePdf(STDOUT_FILENO, int(pages.size()), drawPage, progress, &error, options)
        : printer.isEmpty()
            ? PrintJob::writePdf(pdfPath, int(pages.size()), drawPage, progress, &error, options)
            : PrintJob::print(printer, QStringLiteral("Lamello: ") + QFileInfo(input).fileName(), int(pages.size()),
                              drawPage, progress, &error, nullptr, options);
    if (progressShown)
        err << '\n' << Qt::flush;
    if (outcome != PrintJob::Outcome::Done && toStandardOutput)
        return Failure{OutputFailed, tr("%1: standardowe wyjście: nie można zapisać wydruku: %2").arg(program, oneLine(error))};
    if (outcome != PrintJob::Outcome::Done)
        return Failure{OutputFailed, program + QStringLiteral(": ") + oneLine(error)};
    // Texts that are cut on paper: the window asks first, a script is told,
    // from the verdicts the painting made (each page chosen is painted once).
    if (const qsizetype cut = painter.overflowingPainted(); cut > 0)
        err << program << QStringLiteral(": ") << input << QStringLiteral(": ") << FitTracker::overflowSentence(cut)
            << '\n' << Qt::flush;
    return std::nullopt;
}

int Run::exec(const QStringList &arguments)
{
    std::optional<Failure> failure = parse(arguments);
    if (!failure && helpOrVersion)
        return Done;
    if (!failure)
        failure = checkOutput();
    if (!failure) {
        // The printable area decides the layout: the built-in PDF's fixed
        // area, or the one the printer reports, exactly as in the window.
        if (printer.isEmpty()) {
            sheet.setAvailableArea(PrintJob::builtInPdfArea);
        } else if (const std::optional<QRectF> area = PrintJob::printableArea(printer)) {
            sheet.setAvailableArea(*area);
        } else {
            failure = Failure{OutputFailed, tr("lamello-batch: drukarka „%1” nie jest dostępna; nic nie wydrukowano.")
                                                .arg(printer)};
        }
    }
    if (!failure) {
        sheet.computeLayout();
        if (sheet.barettesPerPage == 0)
            failure = Failure{Usage, tr("lamello-batch: przy tej geometrii żadna baretka nie mieści się na stronie.")};
    }
    if (!failure)
        failure = readInput();
    if (!failure)
        failure = print();
    if (failure) {
        err << failure->text << '\n' << Qt::flush;
        return failure->status;
    }
    return Done;
}

} // namespace

int run(const QStringList &arguments, QTextStream &out, QTextStream &err, bool progressLine,
        StandardOutput standardOutput)
{
    Run job(out, err, progressLine, standardOutput);
    const int status = job.exec(arguments);
    out.flush();
    return status;
}

} // namespace BatchPrint
