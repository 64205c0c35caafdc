#include "batch/batchprint.h"

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
#include "system/language.h"
#include "system/plural.h"
#include "workbooks/workbook.h"
#include "workbooks/workbookcheck.h"
#include "workbooks/workbookfile.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QRegularExpression>
#include <QTextStream>

#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstring>
#include <memory>
#include <optional>
#include <utility>

#include <unistd.h>

namespace BatchPrint {

// "37.3x11.2" (a comma serves as the decimal point too) in mm, each side
// above 0 and at most 100, as the geometry panel allows.
std::optional<QSizeF> parseSize(const QString &value)
{
    if (value.size() > maxValueLength)
        return std::nullopt;
    static const QRegularExpression re(
        QStringLiteral("^\\s*(\\d+(?:[.,]\\d+)?)\\s*[xX×]\\s*(\\d+(?:[.,]\\d+)?)\\s*$"));
    const QRegularExpressionMatch m = re.match(value);
    if (!m.hasMatch())
        return std::nullopt;
    const double w = m.captured(1).replace(QLatin1Char(','), QLatin1Char('.')).toDouble();
    const double h = m.captured(2).replace(QLatin1Char(','), QLatin1Char('.')).toDouble();
    if (w <= 0 || h <= 0 || w > 100 || h > 100)
        return std::nullopt;
    return QSizeF(w, h);
}

// "2,-1.5": two numbers (a point as the decimal point) separated by a comma.
std::optional<QPointF> parsePair(const QString &value)
{
    if (value.size() > maxValueLength)
        return std::nullopt;
    static const QRegularExpression re(
        QStringLiteral("^\\s*([+-]?\\d+(?:\\.\\d+)?)\\s*,\\s*([+-]?\\d+(?:\\.\\d+)?)\\s*$"));
    const QRegularExpressionMatch m = re.match(value);
    if (!m.hasMatch())
        return std::nullopt;
    return QPointF(m.captured(1).toDouble(), m.captured(2).toDouble());
}

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("BatchPrint", text);
}

// A failure: one line on stderr, the status to exit with.
struct Failure
{
    int status;
    QString text;
};

// Why `path` cannot be read, as the end of a line about it.
QString unreadable(const QString &path)
{
    return DescriptionsCheck::isLinkLoop(path) ? tr("to pętla dowiązań symbolicznych.")
                                               : tr("nie można odczytać pliku.");
}

// The language --lang names: exactly "pl" or "en".
std::optional<Language::Choice> languageNamed(const QString &value)
{
    return value == QLatin1String("pl") || value == QLatin1String("en") ? Language::fromCode(value) : std::nullopt;
}

// An old Excel file under a name that is no .ods or .xlsx (those readers
// refuse a compound document themselves: an encrypted workbook is one).
bool oldExcel(const QString &path)
{
    const std::optional<WorkbookFile::Format> format = WorkbookFile::formatOf(path);
    return (!format || *format == WorkbookFile::Format::Delimited) && WorkbookCheck::isOldExcel(path);
}

QString oneLine(QString text)
{
    return text.replace(QLatin1Char('\n'), QLatin1Char(' ')).simplified();
}

class Run
{
    // The file's other texts' context, also for the tools that read them.
    Q_DECLARE_TR_FUNCTIONS(BatchPrint)

public:
    Run(QTextStream &out, QTextStream &err, bool progressLine, StandardOutput standardOutput)
        : out(out)
        , err(err)
        , progressLine(progressLine)
        , standardOutput(standardOutput)
    {
    }

    int exec(const QStringList &arguments);

private:
    std::optional<Failure> parse(const QStringList &arguments);
    std::optional<Failure> checkOutput() const;
    std::optional<Failure> readInput();
    std::optional<Failure> readProject();
    std::optional<Failure> readWorkbook(WorkbookFile::Format format);
    void reportMarkedCells(const WorkbookSheet &chosen);
    std::optional<Failure> checkDescriptions(const QString &path);
    std::optional<Failure> print();
    bool reportProgress(int done, int total);

    QTextStream &out;
    QTextStream &err;
    bool progressLine;
    StandardOutput standardOutput;

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
    SheetTexts texts;   // by field id
    QList<QFont> fonts;   // a project's stored fonts, by field id
    SheetMapping mapping;           // a spreadsheet's, from the command line
    bool mappingGiven = false;
    bool labelsGiven = false;
    bool replaceUnencodable = false;

    QElapsedTimer timer;
    bool progressShown = false;
    qint64 shownAt = 0;
};

std::optional<Failure> Run::parse(const QStringList &arguments)
{
    parser.setApplicationDescription(
        tr("Drukuje baretki z pliku z opisami, z projektu albo z arkusza (.ods, .xlsx, .csv, .tsv) bez okna "
           "programu: do pliku PDF w rzeczywistym rozmiarze albo na drukarce systemowej."));
    const QCommandLineOption outputOption({QStringLiteral("o"), QStringLiteral("output")},
                                          tr("Zapisuje wydruk do pliku PDF (strony A4); „-” to standardowe wyjście."),
                                          tr("plik.pdf"));
    const QCommandLineOption printerOption({QStringLiteral("P"), QStringLiteral("printer")},
                                           tr("Drukuje na drukarce systemowej (kolejce CUPS)."), tr("drukarka"));
    const QCommandLineOption pagesOption(QStringLiteral("pages"), tr("Drukuje tylko te strony, w kolejności arkusza, np. 2-5,9."),
                                         tr("strony"));
    const QCommandLineOption labelsOption({QStringLiteral("n"), QStringLiteral("labels")},
                                          tr("Liczba etykiet na baretce, od 5 do 15 (domyślnie 8)."), tr("N"));
    const QCommandLineOption labelOption(QStringLiteral("label"),
                                         tr("Szerokość i wysokość etykiety w mm (domyślnie 37.3x11.2)."),
                                         tr("SxW"));
    const QCommandLineOption headerOption(QStringLiteral("header"),
                                          tr("Szerokość i wysokość nagłówka w mm (domyślnie 50.25x8.5)."),
                                          tr("SxW"));
    const QCommandLineOption noLimitOption(
        QStringLiteral("no-limit"),
        tr("Drukuje także plik z ponad %1 baretkami.").arg(DescriptionsCheck::largeSheetBarettes));
    const QCommandLineOption shiftOption(
        QStringLiteral("shift"),
        tr("Przesuwa wydruk o DX,DY mm (w prawo i w dół, od -%1 do %1) zamiast przesunięcia z kalibracji drukarki.")
            .arg(Calibration::maxShiftMm),
        tr("DX,DY"));
    const QCommandLineOption scaleOption(
        QStringLiteral("scale"),
        tr("Skaluje wydruk o SX,SY % (od %1 do %2) zamiast skali z kalibracji drukarki.")
            .arg(Calibration::minScalePercent)
            .arg(Calibration::maxScalePercent),
        tr("SX,SY"));
    const QCommandLineOption noMarksOption(
        QStringLiteral("no-marks"),
        tr("Drukuje bez oznaczeń: bez zabarwienia pól z niemieszczącym się tekstem i bez ramki obszaru wydruku."));
    const QCommandLineOption sheetOption(QStringLiteral("sheet"),
                                         tr("Arkusz skoroszytu (.ods, .xlsx) do wczytania (domyślnie pierwszy)."),
                                         tr("nazwa"));
    const QCommandLineOption rowsOption(QStringLiteral("rows"),
                                        tr("Arkusz: jeden wiersz to jedna baretka (z --header-column i --label-columns)."));
    const QCommandLineOption headerColumnOption(QStringLiteral("header-column"),
                                                tr("Arkusz: kolumna nagłówków przy --rows (domyślnie A)."), tr("kolumna"));
    const QCommandLineOption labelColumnsOption(
        QStringLiteral("label-columns"),
        tr("Arkusz: kolumny etykiet przy --rows, np. B-I; ich liczba to liczba etykiet na baretce."), tr("zakres"));
    const QCommandLineOption columnOption(
        QStringLiteral("column"), tr("Arkusz: jedna kolumna czytana z góry na dół, komórka to pole (domyślnie A)."),
        tr("kolumna"));
    const QCommandLineOption skipFirstRowOption(QStringLiteral("skip-first-row"),
                                                tr("Arkusz: pierwszy wiersz to nagłówki kolumn; nie jest czytany."));
    const QCommandLineOption keepEmptyRowsOption(
        QStringLiteral("keep-empty-rows"), tr("Arkusz: wiersze, w których wszystkie wybrane komórki są puste, dają puste baretki "
                                              "(przy --rows); bez tej opcji są pomijane."));
    const QCommandLineOption delimiterOption(QStringLiteral("delimiter"),
                                             tr("Tekst rozdzielany: separator „;”, „,” albo „tab” (domyślnie wykrywany)."),
                                             tr("znak"));
    const QCommandLineOption replaceOption(
        QStringLiteral("replace-unencodable"),
        tr("Arkusz: znaki, których nie ma w kodowaniu Windows-1250, drukuje jako „?” zamiast odmówić."));
    const QCommandLineOption languageOption(
        QStringLiteral("lang"), tr("Język komunikatów: pl (polski) albo en (angielski); domyślnie według LANGUAGE i LANG."),
        tr("język"));
    const QCommandLineOption helpOption({QStringLiteral("h"), QStringLiteral("help")}, tr("Pokazuje tę pomoc."));
    const QCommandLineOption versionOption({QStringLiteral("v"), QStringLiteral("version")},
                                           tr("Pokazuje wersję programu."));
    parser.addOptions({outputOption, printerOption, pagesOption, labelsOption, labelOption, headerOption,
                       shiftOption, scaleOption, noMarksOption, noLimitOption, sheetOption, rowsOption,
                       headerColumnOption, labelColumnsOption, columnOption, skipFirstRowOption, keepEmptyRowsOption,
                       delimiterOption, replaceOption, languageOption, helpOption, versionOption});
    parser.addPositionalArgument(tr("PLIK"),
                                 tr("Plik z opisami (.txt, .dat), projekt (.lmpro, z plikiem .dat obok) albo arkusz "
                                    "(.ods, .xlsx, .csv, .tsv)."),
                                 tr("PLIK"));

    const QString program = QStringLiteral("lamello-batch");
    const QString more = tr("Pomoc: lamello-batch --help");
    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        if (!unknown.isEmpty()) {
            const QString name = unknown.first().size() == 1 ? QStringLiteral("-") + unknown.first()
                                                             : QStringLiteral("--") + unknown.first();
            return Failure{Usage, tr("%1: nieznana opcja %2. %3").arg(program, name, more)};
        }
        return Failure{Usage, tr("%1: błędne wywołanie (%2). %3").arg(program, parser.errorText(), more)};
    }
    if (parser.isSet(languageOption) && !languageNamed(parser.value(languageOption)))
        return Failure{Usage, tr("%1: --lang %2: podaj pl albo en. %3").arg(program, parser.value(languageOption), more)};
    if (parser.isSet(helpOption)) {
        QString help = parser.helpText();
        // Qt's own word when its translation has one (a text of Qt's, kept
        // out of the program's translations).
        const char *const qtUsage = "Usage: %1";
        help.replace(QCoreApplication::translate("QCommandLineParser", qtUsage).arg(QString()).trimmed(), tr("Użycie:"))
            .replace(QLatin1String("Usage:"), tr("Użycie:"))
            .replace(QLatin1String("Options:"), tr("Opcje:"))
            .replace(QLatin1String("Arguments:"), tr("Argumenty:"))
            .replace(QLatin1String("[options]"), tr("[opcje]"));
        out << help
            << tr("\nKod wyjścia: 0 gotowe, 1 błędne wywołanie, 2 pliku wejściowego nie można wczytać, "
                  "3 wydruk się nie udał.\n");
        helpOrVersion = true;
        return std::nullopt;
    }
    if (parser.isSet(versionOption)) {
        out << program << ' ' << QCoreApplication::applicationVersion() << '\n';
        helpOrVersion = true;
        return std::nullopt;
    }

    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1)
        return Failure{Usage, tr("%1: podaj dokładnie jeden plik z opisami. %2").arg(program, more)};
    input = positional.first();
    if (parser.isSet(outputOption) == parser.isSet(printerOption))
        return Failure{Usage, tr("%1: podaj albo -o PLIK.pdf, albo -P DRUKARKA. %2").arg(program, more)};
    pdfPath = parser.value(outputOption);
    printer = parser.value(printerOption);
    if (parser.isSet(outputOption) && pdfPath.isEmpty())
        return Failure{Usage, tr("%1: pusta nazwa pliku PDF. %2").arg(program, more)};
    if (parser.isSet(printerOption) && printer.isEmpty())
        return Failure{Usage, tr("%1: pusta nazwa drukarki. %2").arg(program, more)};

    if (parser.isSet(labelsOption)) {
        bool ok = false;
        const int n = parser.value(labelsOption).toInt(&ok);
        if (!ok || n < 5 || n > 15)
            return Failure{Usage, tr("%1: -n %2: liczba etykiet musi być liczbą całkowitą od 5 do 15.")
                                      .arg(program, parser.value(labelsOption))};
        sheet.labelsPerBarette = n;
        labelsGiven = true;
    }
    for (const auto &[option, isLabel] : {std::pair{&labelOption, true}, std::pair{&headerOption, false}}) {
        if (!parser.isSet(*option))
            continue;
        const std::optional<QSizeF> size = parseSize(parser.value(*option));
        if (!size)
            return Failure{Usage, tr("%1: --%2 %3: podaj szerokość i wysokość w mm, np. 37.3x11.2 "
                                     "(każda większa od 0 i najwyżej 100).")
                                      .arg(program, option->names().first(), parser.value(*option))};
        (isLabel ? sheet.labelWidth : sheet.headerWidth) = float(size->width());
        (isLabel ? sheet.labelHeight : sheet.headerHeight) = float(size->height());
    }
    if (parser.isSet(pagesOption)) {
        PageRange::Problem problem = PageRange::Problem::None;
        chosenPages = PageRange::parseRanges(parser.value(pagesOption), &problem);
        if (problem == PageRange::Problem::TooMany)
            return Failure{Usage, tr("%1: --pages: za dużo stron na liście (najwyżej %2 pozycji).")
                                      .arg(program)
                                      .arg(PageRange::maxParts)};
        if (!chosenPages)
            return Failure{Usage, tr("%1: --pages %2: podaj strony od 1 jako listę, np. 2-5,9.")
                                      .arg(program, parser.value(pagesOption))};
    }
    if (parser.isSet(shiftOption)) {
        shift = parsePair(parser.value(shiftOption));
        const double limit = Calibration::maxShiftMm;
        if (!shift || std::abs(shift->x()) > limit || std::abs(shift->y()) > limit)
            return Failure{Usage, tr("%1: --shift %2: podaj przesunięcie w mm jako DX,DY, np. 1.5,-0.5 "
                                     "(każde od -%3 do %3).")
                                      .arg(program, parser.value(shiftOption))
                                      .arg(limit)};
    }
    if (parser.isSet(scaleOption)) {
        scale = parsePair(parser.value(scaleOption));
        const auto inRange = [](double v) {
            return v >= Calibration::minScalePercent && v <= Calibration::maxScalePercent;
        };
        if (!scale || !inRange(scale->x()) || !inRange(scale->y()))
            return Failure{Usage, tr("%1: --scale %2: podaj skalę w procentach jako SX,SY, np. 100.2,99.8 "
                                     "(każdą od %3 do %4).")
                                      .arg(program, parser.value(scaleOption))
                                      .arg(Calibration::minScalePercent)
                                      .arg(Calibration::maxScalePercent)};
    }
    marks = !parser.isSet(noMarksOption);
    noLimit = parser.isSet(noLimitOption);

    // A spreadsheet's mapping: without options, its first sheet's column A
    // read as the lines of a descriptions file.
    for (const QCommandLineOption *o : {&sheetOption, &rowsOption, &headerColumnOption, &labelColumnsOption,
                                        &columnOption, &skipFirstRowOption, &keepEmptyRowsOption, &delimiterOption,
                                        &replaceOption})
        mappingGiven = mappingGiven || parser.isSet(*o);
    // An old Excel file is refused as what it is when read, options or not.
    if (mappingGiven && !WorkbookFile::formatOf(input) && !oldExcel(input))
        return Failure{Usage, tr("%1: opcje arkusza (--sheet, --rows, --column...) dotyczą tylko plików .ods, .xlsx, "
                                 ".csv i .tsv. %2").arg(program, more)};
    if (parser.isSet(rowsOption) && parser.isSet(columnOption))
        return Failure{Usage, tr("%1: podaj albo --rows, albo --column. %2").arg(program, more)};
    if (!parser.isSet(rowsOption) && (parser.isSet(headerColumnOption) || parser.isSet(labelColumnsOption)))
        return Failure{Usage, tr("%1: --header-column i --label-columns działają z --rows. %2").arg(program, more)};
    mapping.sheet = parser.value(sheetOption);
    mapping.firstRowHeadings = parser.isSet(skipFirstRowOption);
    mapping.keepEmptyRows = parser.isSet(keepEmptyRowsOption);
    replaceUnencodable = parser.isSet(replaceOption);
    if (parser.isSet(delimiterOption)) {
        const QString d = parser.value(delimiterOption);
        if (d == QLatin1String("tab") || d == QLatin1String("\t"))
            mapping.delimiter = '\t';
        else if (d == QLatin1String(";") || d == QLatin1String(","))
            mapping.delimiter = char(d.at(0).unicode());
        else
            return Failure{Usage, tr("%1: --delimiter %2: podaj „;”, „,” albo „tab”.").arg(program, d.left(20))};
    }
    if (parser.isSet(columnOption)) {
        const std::optional<int> c = CellAddress::column(parser.value(columnOption));
        if (!c)
            return Failure{Usage, tr("%1: --column %2: podaj kolumnę literami, np. C.").arg(program, parser.value(columnOption).left(20))};
        mapping.column = *c;
    }
    if (parser.isSet(rowsOption)) {
        mapping.layout = SheetMapping::Layout::Rows;
        const QString headerValue = parser.value(headerColumnOption);
        const std::optional<int> h = headerValue.isEmpty() ? std::optional<int>(0) : CellAddress::column(headerValue);
        if (!h)
            return Failure{Usage, tr("%1: --header-column %2: podaj kolumnę literami, np. A.").arg(program, headerValue.left(20))};
        mapping.headerColumn = *h;
        const QString labelsValue = parser.isSet(labelColumnsOption) ? parser.value(labelColumnsOption)
                                                                      : CellAddress::columnName(*h + 1) + QLatin1Char('-')
                                                                            + CellAddress::columnName(*h + sheet.labelsPerBarette);
        const std::optional<std::pair<int, int>> range = CellAddress::columnRange(labelsValue);
        if (!range)
            return Failure{Usage, tr("%1: --label-columns %2: podaj zakres kolumn, np. B-I.").arg(program, labelsValue.left(20))};
        mapping.firstLabel = range->first;
        mapping.lastLabel = range->second;
        const int count = mapping.labelColumns();
        // The label columns set the labels per barette, unless -n says otherwise;
        // a column that would not be printed is refused, not left out.
        if (!labelsGiven && count >= 5 && count <= 15)
            sheet.labelsPerBarette = count;
        if (count > sheet.labelsPerBarette)
            return Failure{Usage, tr("%1: --label-columns %2: %3 etykiet, a baretka ma %4 etykiet (-n).")
                                      .arg(program, labelsValue,
                                           counted(count, tr("%1 kolumna", "one"), tr("%1 kolumny", "few"), tr("%1 kolumn", "many")))
                                      .arg(sheet.labelsPerBarette)};
        // Fewer label columns than labels leave labels empty: only when -n says so.
        if (count < sheet.labelsPerBarette && !labelsGiven)
            return Failure{Usage, tr("%1: --label-columns %2: %3 etykiet, a baretka ma %4 etykiet; podaj tyle "
                                     "kolumn, ile etykiet, albo liczbę etykiet -n, jeśli pozostałe mają być puste.")
                                      .arg(program, labelsValue,
                                           counted(count, tr("%1 kolumna", "one"), tr("%1 kolumny", "few"), tr("%1 kolumn", "many")))
                                      .arg(sheet.labelsPerBarette)};
    }
    return std::nullopt;
}

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
// refused with their addresses unless --replace-unencodable.
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

Language::Choice language(const QStringList &arguments)
{
    // Read before the command line is parsed, so that its messages are in
    // that language; a wrong value is refused by the parse, in the desktop's.
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == QLatin1String("--"))
            break;
        std::optional<Language::Choice> named;
        if (argument == QLatin1String("--lang") && i + 1 < arguments.size())
            named = languageNamed(arguments.at(i + 1));
        else if (argument.startsWith(QLatin1String("--lang=")))
            named = languageNamed(argument.mid(7));
        if (named)
            return *named;
    }
    return Language::ofDesktop();
}

} // namespace BatchPrint
