#include "batch/batchoptions.h"

#include "files/descriptionscheck.h"
#include "printing/calibration.h"
#include "system/language.h"
#include "system/plural.h"
#include "workbooks/workbookcheck.h"
#include "workbooks/workbookfile.h"

#include <QRegularExpression>

#include <cmath>
#include <utility>

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

bool oldExcel(const QString &path)
{
    const std::optional<WorkbookFile::Format> format = WorkbookFile::formatOf(path);
    return (!format || *format == WorkbookFile::Format::Delimited) && WorkbookCheck::isOldExcel(path);
}

std::optional<Failure> Options::parse(const QStringList &arguments)
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
    const QCommandLineOption emptyFormulasOption(
        QStringLiteral("empty-formulas"),
        tr("Arkusz: komórki z formułą zapisaną bez wyniku drukuje puste zamiast odmówić."));
    const QCommandLineOption languageOption(
        QStringLiteral("lang"), tr("Język komunikatów: pl (polski) albo en (angielski); domyślnie według LANGUAGE i LANG."),
        tr("język"));
    const QCommandLineOption helpOption({QStringLiteral("h"), QStringLiteral("help")}, tr("Pokazuje tę pomoc."));
    const QCommandLineOption versionOption({QStringLiteral("v"), QStringLiteral("version")},
                                           tr("Pokazuje wersję programu."));
    parser.addOptions({outputOption, printerOption, pagesOption, labelsOption, labelOption, headerOption,
                       shiftOption, scaleOption, noMarksOption, noLimitOption, sheetOption, rowsOption,
                       headerColumnOption, labelColumnsOption, columnOption, skipFirstRowOption, keepEmptyRowsOption,
                       delimiterOption, replaceOption, emptyFormulasOption, languageOption, helpOption, versionOption});
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
    if (parser.isSet(languageOption) && !Language::fromOption(parser.value(languageOption)))
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
    emptyFormulas = parser.isSet(emptyFormulasOption);
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
            named = Language::fromOption(arguments.at(i + 1));
        else if (argument.startsWith(QLatin1String("--lang=")))
            named = Language::fromOption(argument.mid(7));
        if (named)
            return *named;
    }
    return Language::ofDesktop();
}

} // namespace BatchPrint
