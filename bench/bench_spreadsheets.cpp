// Spreadsheets against the descriptions file of the same texts: 100,000 rows
// of 9 columns (a header and 8 labels, realistic panel texts) imported up to
// the first page shown, as XLSX, ODS and CSV; the same size of sheet holding
// numbers, under General and under nine custom formats; and lamello-batch printing a
// workbook of 6,000 rows against the same job from a descriptions file.
//
// Counters: CPU time per import (the benchmark's own), `peak_MiB`, the peak
// resident size the import added (the kernel's high-water mark, reset before
// each run).

#include "fakeprompts.h"
#include "sheetfixtures.h"
#include "files/descriptionsfile.h"
#include "sheet/preview.h"
#include "workbooks/workbook.h"
#include "workbooks/workbookfile.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <expat.h>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

#include <benchmark/benchmark.h>

#include <array>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include <sys/resource.h>

namespace {

constexpr int columns = 9;

QString cellText(int row, int column)
{
    static const char *const labels[] = {"Praca", "Awaria", "Ręczny # automat", "Zdalne", "Blokada $ odblok.",
                                         "Stop", "Start", "Sygnalizacja"};
    if (column == 0)
        return QStringLiteral("POMPA OBIEGOWA P%1").arg(row + 1);
    return QString::fromUtf8(labels[(row + column) % 8]);
}

QByteArray xmlEscaped(const QString &text)
{
    return text.toUtf8().replace('&', "&amp;").replace('<', "&lt;");
}

// The numbers of the two sheets of numbers: a row number, quarters, sums
// that are not exact in binary (3.3000000000000003), four decimals, sevenths
// (15 significant digits and more), dates with a time, shares, millions and
// negative amounts.
double cellNumber(int row, int column)
{
    switch (column) {
    case 0: return row + 1;
    case 1: return row * 0.25;
    case 2: return (row % 1000) * 1.1;
    case 3: return 1234.5678 + row;
    case 4: return row / 7.0;
    case 5: return 45000 + row % 3000 + (row % 24) / 24.0;
    case 6: return (row % 97) / 100.0;
    case 7: return 1e6 + row * 13.37;
    default: return -(row % 500) * 0.01;
    }
}

// The nine formats of the formatted sheet, a column each (numFmtId 164-172,
// cell styles 1-9).
const char *const customFormats[columns] = {"0",
                                            "0.00",
                                            "#,##0.0",
                                            "#,##0.00\\ &quot;z\xc5\x82&quot;",
                                            "0.000E+00",
                                            "dd\\.mm\\.yyyy\\ hh:mm",
                                            "0.0%",
                                            "#,##0",
                                            "0.00;[Red]\\-0.00"};

// An XLSX of 100,000 rows of numbers as Excel writes them (the shortest
// digits that read back as the double), under General or each column under
// its own custom format.
QByteArray numbersXlsx(int rows, bool formatted)
{
    QByteArray sheet;
    char digits[32];
    for (int r = 0; r < rows; ++r) {
        sheet += "<row r=\"" + QByteArray::number(r + 1) + "\">";
        for (int c = 0; c < columns; ++c) {
            const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, cellNumber(r, c));
            sheet += "<c r=\"" + CellAddress::columnName(c).toLatin1() + QByteArray::number(r + 1) + "\""
                     + (formatted ? " s=\"" + QByteArray::number(c + 1) + "\"" : QByteArray()) + "><v>"
                     + QByteArray(digits, end - digits) + "</v></c>";
        }
        sheet += "</row>";
    }
    QByteArray styles;
    if (formatted) {
        styles = "<numFmts count=\"9\">";
        QByteArray xfs = "<cellXfs count=\"10\"><xf numFmtId=\"0\"/>";
        for (int c = 0; c < columns; ++c) {
            styles += "<numFmt numFmtId=\"" + QByteArray::number(164 + c) + "\" formatCode=\"" + customFormats[c]
                      + "\"/>";
            xfs += "<xf numFmtId=\"" + QByteArray::number(164 + c) + "\" applyNumberFormat=\"1\"/>";
        }
        styles += "</numFmts>" + xfs + "</cellXfs>";
    } else {
        styles = "<cellXfs count=\"1\"><xf numFmtId=\"0\"/></cellXfs>";
    }
    return SheetFixtures::xlsx({{QStringLiteral("Arkusz1"), sheet}}, {}, styles);
}

struct Files
{
    QTemporaryDir dir;
    QString txt, csv, xlsx, ods, numbers, formatted;
    QString oneCell;   // a workbook of one number: another program's start-up
};

// The same texts four ways: a descriptions file (Windows-1250), a CSV as
// Excel's "CSV UTF-8" writes it, an XLSX with shared strings as Excel
// writes it, an ODS as LibreOffice Calc writes it.
const Files &files(int rows)
{
    static std::map<int, std::unique_ptr<Files>> made;
    auto &f = made[rows];
    if (f)
        return *f;
    f = std::make_unique<Files>();
    QStringList lines;
    QByteArray csv = "\xEF\xBB\xBF";
    QByteArray sheet;
    QByteArray shared;
    QByteArray table;
    QHash<QString, int> index;
    for (int r = 0; r < rows; ++r) {
        sheet += "<row r=\"" + QByteArray::number(r + 1) + "\">";
        table += "<table:table-row>";
        for (int c = 0; c < columns; ++c) {
            const QString text = cellText(r, c);
            lines.append(text);
            csv += text.toUtf8() + (c + 1 < columns ? ";" : "\r\n");
            auto it = index.find(text);
            if (it == index.end()) {
                it = index.insert(text, int(index.size()));
                shared += "<si><t>" + xmlEscaped(text) + "</t></si>";
            }
            sheet += "<c r=\"" + CellAddress::columnName(c).toLatin1() + QByteArray::number(r + 1) + "\" t=\"s\"><v>"
                     + QByteArray::number(it.value()) + "</v></c>";
            table += "<table:table-cell office:value-type=\"string\"><text:p>" + xmlEscaped(text)
                     + "</text:p></table:table-cell>";
        }
        sheet += "</row>";
        table += "<table:table-cell table:number-columns-repeated=\"1015\"/></table:table-row>";
    }
    QByteArray descriptions;
    DescriptionsFile::serialize(lines, descriptions);
    const auto write = [&](const QString &name, const QByteArray &bytes) {
        const QString path = f->dir.filePath(name);
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    };
    f->txt = write(QStringLiteral("lista.txt"), descriptions);
    f->csv = write(QStringLiteral("lista.csv"), csv);
    f->xlsx = write(QStringLiteral("lista.xlsx"), SheetFixtures::xlsx({{QStringLiteral("Arkusz1"), sheet}}, shared));
    f->numbers = write(QStringLiteral("liczby.xlsx"), numbersXlsx(rows, false));
    f->formatted = write(QStringLiteral("liczby-formaty.xlsx"), numbersXlsx(rows, true));
    f->oneCell = write(QStringLiteral("jedna.xlsx"), numbersXlsx(1, false));
    f->ods = write(QStringLiteral("lista.ods"),
                   SheetFixtures::ods("<table:table table:name=\"Arkusz1\" "
                                      "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\">"
                                      + table + "</table:table>"));
    return *f;
}

qint64 statusKiB(const char *key)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(key, 0) == 0)
            return std::stoll(line.substr(std::strlen(key)));
    }
    return 0;
}

void resetPeak()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

// Kind 0: descriptions file; 1 CSV; 2 XLSX; 3 ODS; 4 XLSX of numbers under
// General; 5 the numbers under nine custom formats. The file read and
// mapped a row a barette (a header and 8 labels), the first page shown.
std::unique_ptr<Preview> importToFirstPage(const QString &path, int kind, QString *error)
{
    auto preview = std::make_unique<Preview>();
    preview->generationEnabled = true;
    preview->setPrinter(Preview::builtInPdfName);
    if (kind == 0) {
        preview->filePath = path;
        preview->readFile(false);
    } else {
        const WorkbookFile::Format format = kind == 1   ? WorkbookFile::Format::Delimited
                                            : kind == 3 ? WorkbookFile::Format::Ods
                                                        : WorkbookFile::Format::Xlsx;
        Workbook book;
        if (!WorkbookFile::read(path, format, book, error))
            return nullptr;
        SheetMapping m;
        m.layout = SheetMapping::Layout::Rows;
        m.firstLabel = 1;
        m.lastLabel = 8;
        QStringList texts = SheetImport::texts(book.sheets.first(), m, 8);
        book = Workbook();
        preview->loadSheet(std::move(texts), path);
    }
    preview->generatePages();
    return preview;
}

void BM_ImportToFirstPage(benchmark::State &state)
{
    const int rows = int(state.range(0));
    const int kind = int(state.range(1));
    const Files &f = files(rows);
    const QString path = std::array{f.txt, f.csv, f.xlsx, f.ods, f.numbers, f.formatted}[size_t(kind)];
    FakePrompts prompts;
    double peak = 0;
    for (auto _ : state) {
        prompts.questionAnswers = {QMessageBox::Yes};
        const qint64 before = statusKiB("VmRSS:");
        resetPeak();
        QString error;
        std::unique_ptr<Preview> preview = importToFirstPage(path, kind, &error);
        peak = double(statusKiB("VmHWM:") - before) / 1024.0;
        if (!preview) {
            state.SkipWithError(qPrintable(error));
            break;
        }
        if (preview->document()->lineCount() != qsizetype(rows) * columns)
            state.SkipWithError("wrong number of fields");
        state.PauseTiming();
        preview.reset();
        state.ResumeTiming();
    }
    state.counters["peak_MiB"] = peak;
}
BENCHMARK(BM_ImportToFirstPage)
    ->ArgsProduct({{100'000}, {0, 1, 2, 3, 4, 5}})
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

// The floor for the workbooks: the sheet's entry unpacked and every token
// of its XML read, nothing kept. Kind 2: XLSX (the shared strings and the
// sheet); 3: ODS (content.xml). Second argument 0: unpacked only; 1-4:
// tokenised by QXmlStreamReader (2, 4: namespace processing off; 3, 4: the
// entry unpacked whole first); 5: parsed by expat as the readers use it.
void BM_XmlFloor(benchmark::State &state)
{
    const Files &f = files(int(state.range(0)));
    const bool xlsx = state.range(1) == 2;
    const bool tokens = state.range(2) >= 1;
    const QStringList parts = xlsx ? QStringList{QStringLiteral("xl/sharedStrings.xml"),
                                                 QStringLiteral("xl/worksheets/sheet1.xml")}
                                   : QStringList{QStringLiteral("content.xml")};
    qint64 count = 0;
    for (auto _ : state) {
        QuaZip zip(xlsx ? f.xlsx : f.ods);
        if (!zip.open(QuaZip::mdUnzip))
            state.SkipWithError("cannot open");
        for (const QString &part : parts) {
            zip.setCurrentFile(part);
            QuaZipFile file(&zip);
            file.open(QIODevice::ReadOnly);
            if (state.range(2) == 5) {
                // expat with namespace processing, as the readers use it,
                // fed 64 KiB blocks, every element and text called back.
                XML_Parser p = XML_ParserCreateNS(nullptr, '|');
                XML_SetUserData(p, &count);
                XML_SetElementHandler(
                    p, [](void *c, const XML_Char *, const XML_Char **) { ++*static_cast<qint64 *>(c); },
                    [](void *c, const XML_Char *) { ++*static_cast<qint64 *>(c); });
                XML_SetCharacterDataHandler(p, [](void *c, const XML_Char *, int) { ++*static_cast<qint64 *>(c); });
                for (;;) {
                    void *buffer = XML_GetBuffer(p, 1 << 16);
                    const qint64 n = file.read(static_cast<char *>(buffer), 1 << 16);
                    if (XML_ParseBuffer(p, n > 0 ? int(n) : 0, n <= 0) != XML_STATUS_OK)
                        state.SkipWithError("damaged XML");
                    if (n <= 0)
                        break;
                }
                XML_ParserFree(p);
            } else if (tokens) {
                QByteArray whole;
                if (state.range(2) >= 3)
                    whole = file.readAll();
                QXmlStreamReader r;
                if (state.range(2) >= 3)
                    r.addData(whole);
                else
                    r.setDevice(&file);
                r.setNamespaceProcessing(state.range(2) != 2 && state.range(2) != 4);
                while (!r.atEnd()) {
                    r.readNext();
                    ++count;
                }
            } else {
                char buffer[1 << 14];
                qint64 n = 0;
                while ((n = file.read(buffer, sizeof buffer)) > 0)
                    count += n;
            }
        }
    }
    benchmark::DoNotOptimize(count);
}
BENCHMARK(BM_XmlFloor)->ArgsProduct({{100'000}, {2, 3}, {0, 1, 2, 3, 4, 5}})->Iterations(3)->Unit(benchmark::kMillisecond);

// lamello-batch to a PDF: CPU of the child process (user + system).
void BM_BatchToPdf(benchmark::State &state)
{
    const Files &f = files(int(state.range(0)));
    const QString input = state.range(1) == 0 ? f.txt : f.xlsx;
    QStringList args{input, QStringLiteral("-o"), f.dir.filePath(QStringLiteral("out.pdf"))};
    if (state.range(1) == 1)
        args += {QStringLiteral("--rows"), QStringLiteral("--label-columns"), QStringLiteral("B-I")};
    double cpu = 0;
    for (auto _ : state) {
        rusage before{};
        getrusage(RUSAGE_CHILDREN, &before);
        QProcess batch;
        batch.start(QStringLiteral(LAMELLO_BATCH), args);
        if (!batch.waitForFinished(600'000) || batch.exitCode() != 0)
            state.SkipWithError(batch.readAllStandardError().constData());
        rusage after{};
        getrusage(RUSAGE_CHILDREN, &after);
        const auto seconds = [](const timeval &t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
        cpu = seconds(after.ru_utime) - seconds(before.ru_utime) + seconds(after.ru_stime) - seconds(before.ru_stime);
        state.SetIterationTime(cpu);
    }
    state.counters["child_cpu_s"] = cpu;
}
BENCHMARK(BM_BatchToPdf)->ArgsProduct({{6'000}, {0, 1}})->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

// Peak memory of one import is taken in a process of its own:
//   bench_spreadsheets --write-files DIR    the six files of 100,000 rows into DIR, and
//                                           jedna.xlsx, a workbook of one row
//   bench_spreadsheets --import FILE        FILE (.txt .csv .xlsx .ods) to its first page, once
int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], "--write-files") == 0) {
        const Files &f = files(100'000);
        const QDir dir(QString::fromLocal8Bit(argv[2]));
        for (const QString &path : {f.txt, f.csv, f.xlsx, f.ods, f.numbers, f.formatted, f.oneCell}) {
            const QString target = dir.filePath(QFileInfo(path).fileName());
            QFile::remove(target);
            if (!QFile::copy(path, target))
                qFatal("cannot write %s", qPrintable(target));
        }
        return 0;
    }
    if (argc == 3 && std::strcmp(argv[1], "--import") == 0) {
        const QString path = QString::fromLocal8Bit(argv[2]);
        const QString suffix = QFileInfo(path).suffix();
        const int kind = suffix == u"csv" ? 1 : suffix == u"xlsx" ? 2 : suffix == u"ods" ? 3 : 0;
        FakePrompts prompts;
        prompts.questionAnswers = {QMessageBox::Yes};
        QString error;
        const std::unique_ptr<Preview> preview = importToFirstPage(path, kind, &error);
        if (!preview) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
        std::printf("%lld fields\n", static_cast<long long>(preview->document()->lineCount()));
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
