// lamello-batch as a script runs it: its PDF against the window's, its exit
// statuses and messages, and a job on a real (private) CUPS queue.

#include "fakeprompts.h"
#include "pdfcheck.h"
#include "sheetfixtures.h"
#include "testfiles.h"
#include "batch/batchprint.h"
#include "files/projectfile.h"
#include "files/windows1250.h"
#include "layout/sheetlayout.h"
#include "printing/printjob.h"
#include "printing/printsettings.h"
#include "sheet/mygraphicsitem.h"
#include "sheet/preview.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <QTextStream>
#include <QThread>

#include <csignal>

#include <sys/resource.h>
#include <sys/stat.h>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

using namespace PdfCheck;

namespace {

struct Result
{
    int status = -1;
    QString out;
    QString err;
};

// `standardOutput`: a file that takes standard output; with `append` it is
// added to, not emptied. `fileSizeLimit`: bytes the program may write into
// one file (RLIMIT_FSIZE), 0 for no limit.
Result batch(const QStringList &args, const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment(),
             const QString &standardOutput = QString(), bool append = false, rlim_t fileSizeLimit = 0)
{
    QProcess proc;
    proc.setProcessEnvironment(env);
    if (fileSizeLimit > 0) {
        proc.setChildProcessModifier([fileSizeLimit] {
            const rlimit limit{fileSizeLimit, fileSizeLimit};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        });
    }
    if (!standardOutput.isEmpty())
        proc.setStandardOutputFile(standardOutput, append ? QIODevice::Append : QIODevice::Truncate);
    proc.start(QStringLiteral(LAMELLO_BATCH), args);
    if (!proc.waitForFinished(300000))
        return {};
    return {proc.exitStatus() == QProcess::NormalExit ? proc.exitCode() : -1,
            QString::fromUtf8(proc.readAllStandardOutput()), QString::fromUtf8(proc.readAllStandardError())};
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// A workbook as Excel writes one: a sheet of one barette per row under a
// headings row, and a sheet with a check mark.
QByteArray workbook()
{
    return SheetFixtures::xlsx(
        {{QStringLiteral("Rozdzielnia"),
          "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\" t=\"s\"><v>1</v></c></row>"
          "<row r=\"2\"><c r=\"A2\" t=\"s\"><v>2</v></c><c r=\"B2\" t=\"s\"><v>3</v></c>"
          "<c r=\"C2\" t=\"s\"><v>4</v></c><c r=\"F2\"><v>12.5</v></c></row>"
          "<row r=\"4\"><c r=\"A4\" t=\"inlineStr\"><is><t>Wentylator</t></is></c><c r=\"H4\" t=\"s\"><v>3</v></c></row>"},
         {QStringLiteral("Uwagi"), "<row r=\"2\"><c r=\"A2\" t=\"inlineStr\"><is><t>✓ gotowe</t></is></c></row>"},
         // As openpyxl saves formulas: no result.
         {QStringLiteral("Formuły"), "<row r=\"1\"><c r=\"A1\"><v>10</v></c><c r=\"B1\"><f>A1*2</f><v/></c></row>"
                                     "<row r=\"2\"><c r=\"B2\" t=\"inlineStr\"><is><t>Praca</t></is></c></row>"}},
        "<si><t>Urządzenie</t></si><si><t>Etykiety</t></si><si><t>Pompa obiegowa</t></si><si><t>Praca</t></si>"
        "<si><r><t>Awa</t></r><r><t>ria</t></r></si>");
}

// One row a barette from column Y to AD, a second row with AA, AG and AH.
QByteArray columnsPastZ()
{
    return SheetFixtures::xlsx({{QStringLiteral("Arkusz1"),
                                 "<row r=\"1\"><c r=\"Y1\" t=\"inlineStr\"><is><t>Pompa</t></is></c><c r=\"Z1\" "
                                 "t=\"inlineStr\"><is><t>Praca</t></is></c><c r=\"AA1\" t=\"inlineStr\"><is><t>Awaria"
                                 "</t></is></c><c r=\"AC1\" t=\"inlineStr\"><is><t>Stop</t></is></c><c r=\"AD1\" "
                                 "t=\"inlineStr\"><is><t>Auto</t></is></c></row><row r=\"2\"><c r=\"AA2\" "
                                 "t=\"inlineStr\"><is><t>Zawór</t></is></c><c r=\"AG2\" t=\"inlineStr\"><is><t>Koniec</t></is></c>"
                                 "<c r=\"AH2\" t=\"inlineStr\"><is><t>Poza</t></is></c></row>"}});
}

QString describe(const QList<Word> &words)
{
    QStringList lines;
    for (const Word &w : words)
        lines.append(QStringLiteral("%1 %2 %3 %4").arg(w.page).arg(w.text).arg(w.box.x(), 0, 'f', 2).arg(w.box.y(), 0, 'f', 2));
    return lines.join(QLatin1Char('\n'));
}

} // namespace

class TestBatch : public QObject
{
    Q_OBJECT

    TestFiles files;
    FakePrompts prompts;

private slots:
    void initTestCase()
    {
        useTestSettings();
    }

    void itsPdfIsTheWindowsPdf()
    {
        const int n = 6;
        const QString input = files.write(QStringLiteral("panel.txt"), barettes(20, n, true));

        Preview p;
        p.generationEnabled = true;
        p.filePath = input;
        p.setLabelsPerBarette(n);
        p.readFile();
        p.updateDimensions(QRectF(0, 0, 40, 10), QRectF(0, 0, 52, 9));
        p.setPrinter(Preview::builtInPdfName);
        const QString windowPdf = files.path(QStringLiteral("window.pdf"));
        prompts.fileAnswers = {windowPdf};
        p.printAll();
        QCOMPARE(prompts.messages.value(0).text, QStringLiteral("Wydruk zapisano poprawnie."));

        // Without a display and without a platform named: offscreen by itself.
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        const QString batchPdf = files.path(QStringLiteral("batch.pdf"));
        const Result r = batch({QStringLiteral("-n"), QString::number(n), QStringLiteral("--label"),
                                QStringLiteral("40x10"), QStringLiteral("--header"), QStringLiteral("52,0x9"),
                                input, QStringLiteral("-o"), batchPdf},
                               env);
        QVERIFY2(r.status == 0 && r.err.isEmpty(), qPrintable(r.err));

        QVERIFY(p.pageCount() > 1);
        QCOMPARE(pageCount(batchPdf), p.pageCount());
        const QList<Word> expected = words(windowPdf);
        QVERIFY(expected.size() > 20 * (n + 1));
        QCOMPARE(describe(words(batchPdf)), describe(expected));
    }

    void aProjectPrintsAsTheWindowShowsIt()
    {
        const int n = 8;
        Preview p;
        p.generationEnabled = true;
        p.filePath = files.write(QStringLiteral("cabinet.txt"), barettes(9, n, true));
        p.readFile();
        p.setPrinter(Preview::builtInPdfName);
        for (int id = 0; id < p.fields().size(); id += n + 1)
            p.clickedItem(id, QFont(), false, true);
        p.changeFontPixelSize(14);
        p.changeFontBold();
        p.fields().at(3)->changeFontPixelSize(7);
        const QString project = files.path(QStringLiteral("cabinet.lmpro"));
        prompts.fileAnswers = {project};
        p.saveProject();
        p.openProject(project);
        const QString windowPdf = files.path(QStringLiteral("cabinet-window.pdf"));
        prompts.fileAnswers = {windowPdf};
        prompts.messages.clear();
        p.printAll();
        QCOMPARE(prompts.messages.value(0).text, QStringLiteral("Wydruk zapisano poprawnie."));

        const QString batchPdf = files.path(QStringLiteral("cabinet-batch.pdf"));
        Result r = batch({project, QStringLiteral("-o"), batchPdf});
        QVERIFY2(r.status == 0 && r.err.isEmpty(), qPrintable(r.err));
        const QString printed = describe(words(batchPdf));
        QCOMPARE(printed, describe(words(windowPdf)));
        // The fonts made the difference: the texts alone print otherwise.
        r = batch({files.path(QStringLiteral("cabinet.dat")), QStringLiteral("-o"), batchPdf});
        QCOMPARE(r.status, 0);
        QVERIFY(describe(words(batchPdf)) != printed);

        // A damaged project prints what was read and says so in one line.
        QFile file(project);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.resize(file.size() - 10));
        file.close();
        r = batch({project, QStringLiteral("-o"), batchPdf});
        QCOMPARE(r.status, 0);
        QVERIFY2(r.err.count(QLatin1Char('\n')) == 1 && r.err.contains(QStringLiteral("80 z 81")), qPrintable(r.err));
        // Cut where a record ends: nothing in it is damaged, but a field has no font.
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.resize(file.size() / 46 * 46 - 46));
        file.close();
        r = batch({project, QStringLiteral("-o"), batchPdf});
        QVERIFY2(r.status == 0 && r.err.contains(QStringLiteral("79 z 81")), qPrintable(r.err));

        // A long project whose texts were cut short (the editor can): the read
        // ends inside a record far past the last field, which is no damage.
        const QString longProject = files.write(QStringLiteral("long.lmpro"),
                                                ProjectFile::serializeFonts(QList<QFont>(200 * (n + 1), QFont())));
        files.write(QStringLiteral("long.dat"), barettes(10, n));   // the first 90 lines
        r = batch({longProject, QStringLiteral("-o"), batchPdf});
        QVERIFY2(r.status == 0 && r.err.isEmpty(), qPrintable(r.err));
    }

    void chosenPagesInOrderAndOnAPrinter()
    {
        const QString input = files.write(QStringLiteral("pages.txt"), barettes(13, 8, true));
        const QString pdf = files.path(QStringLiteral("pages.pdf"));
        // Page 3 named twice is printed once.
        Result r = batch({QStringLiteral("--pages"), QStringLiteral("3,1-1,3"), input, QStringLiteral("-o"), pdf});
        QCOMPARE(r.status, 0);
        QCOMPARE(pageCount(pdf), 2);
        const QList<Word> all = words(pdf);
        QCOMPARE(all.first().text, QStringLiteral("Żółć"));
        QCOMPARE(all.last().page, 2);
        // The same pages onto standard output, for a pipe.
        const QString piped = files.path(QStringLiteral("piped.pdf"));
        r = batch({QStringLiteral("--pages"), QStringLiteral("3,1-1,3"), input, QStringLiteral("-o"), QStringLiteral("-")},
                  QProcessEnvironment::systemEnvironment(), piped);
        QVERIFY2(r.status == 0 && r.err.isEmpty(), qPrintable(r.err));
        QCOMPARE(describe(words(piped)), describe(all));

        const QString out = QDir(qEnvironmentVariable("LAMELLO_CUPS_DIR")).filePath(QStringLiteral("out/Archiwum.prn"));
        QFile::remove(out);
        r = batch({input, QStringLiteral("-P"), QStringLiteral("Archiwum"), QStringLiteral("--pages"), QStringLiteral("2")});
        QVERIFY2(r.status == 0 && r.err.isEmpty(), qPrintable(r.err));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(out) && pageCount(out) == 1, 20000);
        QCOMPARE(words(out).first().text, QStringLiteral("H6"));
    }

    // --shift and --scale move and scale the whole sheet about its corner, in
    // a PDF too; a printer's stored calibration applies unless they replace it.
    void calibrationMovesAndScalesTheSheet()
    {
        const QString input = files.write(QStringLiteral("cal.txt"), barettes(3, 8, true));
        SheetLayout sheet;
        sheet.setAvailableArea(PrintJob::builtInPdfArea);
        sheet.computeLayout();
        const QPointF origin = sheet.baretteOrigin(0, 0);
        const QRectF strip = sheet.stripRect(origin);
        const QPointF corner(strip.x() / 3, strip.y() / 3);   // mm
        const QRectF label = sheet.labelRect(origin, 1);
        const QRectF labelMm(label.x() / 3, label.y() / 3, label.width() / 3, label.height() / 3);

        const auto print = [&](const QString &name, const QStringList &options) {
            const QString pdf = files.path(name);
            const Result r = batch(QStringList{input, QStringLiteral("-o"), pdf} + options);
            return r.status == 0 ? pdf : QString();
        };
        // The top strip's left and top sides, looked for near `near`.
        const auto cornerOf = [](const QString &pdf, QPointF near) {
            const QList<double> x = blackRunsMm(pdf, 1, true, near.y() + 3.5, near.x() - 1, near.x() + 1);
            const QList<double> y = blackRunsMm(pdf, 1, false, near.x() + 10, near.y() - 1, near.y() + 1);
            return x.size() == 1 && y.size() == 1 ? QPointF(x.first(), y.first()) : QPointF(-100, -100);
        };
        const auto labelWidth = [&](const QString &pdf, double scale) {
            const QList<double> sides = blackRunsMm(pdf, 1, true, labelMm.top() + 1, labelMm.left() * scale - 1,
                                                    labelMm.right() * scale + 1);
            return sides.size() == 2 ? sides.at(1) - sides.at(0) : -1.0;
        };
        const auto labelHeight = [&](const QString &pdf, double scale) {
            const QList<double> sides = blackRunsMm(pdf, 1, false, labelMm.left() + 1, labelMm.top() * scale - 1,
                                                    labelMm.bottom() * scale + 1);
            return sides.size() == 2 ? sides.at(1) - sides.at(0) : -1.0;
        };
        const QString plain = print(QStringLiteral("plain.pdf"), {});
        const QString shifted = print(QStringLiteral("shifted.pdf"), {QStringLiteral("--shift"), QStringLiteral("2,3")});
        const QString scaled = print(QStringLiteral("scaled.pdf"), {QStringLiteral("--scale"), QStringLiteral("101,99")});
        const QPointF moved = cornerOf(shifted, corner + QPointF(2, 3)) - cornerOf(plain, corner);
        QVERIFY2(std::abs(moved.x() - 2) <= 0.05 && std::abs(moved.y() - 3) <= 0.05,
                 qPrintable(QStringLiteral("%1 %2").arg(moved.x()).arg(moved.y())));
        QVERIFY2(std::abs(labelWidth(plain, 1) - 37.3) <= 0.05, qPrintable(QString::number(labelWidth(plain, 1))));
        QVERIFY2(std::abs(labelWidth(scaled, 1.01) - 37.673) <= 0.05,
                 qPrintable(QString::number(labelWidth(scaled, 1.01))));
        QVERIFY2(std::abs(labelHeight(scaled, 0.99) - 11.088) <= 0.05,
                 qPrintable(QString::number(labelHeight(scaled, 0.99))));

        // On a printer: its stored shift, then the command line's in its place.
        const QString out = QDir(qEnvironmentVariable("LAMELLO_CUPS_DIR")).filePath(QStringLiteral("out/Archiwum.prn"));
        PrintSettings::setCalibration(QStringLiteral("Archiwum"), {1.5, -1, 100, 100});
        QList<QPointF> firstWord;
        for (const QStringList &options : {QStringList(), QStringList{QStringLiteral("--shift"), QStringLiteral("0,0")}}) {
            QFile::remove(out);
            QString outText, errText;
            QTextStream outStream(&outText), errStream(&errText);
            QCOMPARE(BatchPrint::run(QStringList{QStringLiteral("lamello-batch"), input, QStringLiteral("-P"),
                                                 QStringLiteral("Archiwum")} + options,
                                     outStream, errStream, false),
                     0);
            QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(out) && pageCount(out) == 1, 20000);
            firstWord.append(words(out).first().box.topLeft());
        }
        PrintSettings::setCalibration(QStringLiteral("Archiwum"), {});
        const QPointF storedShift = (firstWord.at(0) - firstWord.at(1)) / 72 * 25.4;
        QVERIFY2(std::abs(storedShift.x() - 1.5) <= 0.01 && std::abs(storedShift.y() + 1) <= 0.01,
                 qPrintable(QStringLiteral("%1 %2").arg(storedShift.x()).arg(storedShift.y())));
    }

    // --no-marks leaves the fit tint and the gray frame of the printable area off.
    void marksCanBeLeftOff()
    {
        const QString input = files.write(QStringLiteral("marks.txt"),
                                          "H\n" + QByteArray("Przeciwzamro\xBF" "eniowy").repeated(4) + "\n");
        SheetLayout sheet;
        sheet.setAvailableArea(PrintJob::builtInPdfArea);
        sheet.computeLayout();
        const QRectF label = sheet.labelRect(sheet.baretteOrigin(0, 0), 1);
        for (const bool marks : {true, false}) {
            const QString pdf = files.path(QStringLiteral("marks.pdf"));
            QStringList args{input, QStringLiteral("-o"), pdf};
            if (!marks)
                args.append(QStringLiteral("--no-marks"));
            // Printed all the same, after one warning line.
            const Result r = batch(args);
            QCOMPARE(r.status, 0);
            QCOMPARE(r.err, QStringLiteral("lamello-batch: %1: 1 pole nie mieści się w ramkach.\n").arg(input));
            const QImage img = raster(pdf, 1);
            const int tint = qGray(img.pixel(qRound(mmToPx(label.x() / 3 + 1)), qRound(mmToPx(label.y() / 3 + 1))));
            int frame = 255;   // the right side of the printable area, 199.8 mm in
            for (int x = qRound(mmToPx(199.8)) - 2; x <= qRound(mmToPx(199.8)) + 2; ++x)
                frame = qMin(frame, qGray(img.pixel(x, qRound(mmToPx(150)))));
            QVERIFY2((tint < 250) == marks && (frame < 250) == marks, qPrintable(QStringLiteral("%1 %2").arg(tint).arg(frame)));
        }
    }

    // A workbook prints exactly as the descriptions file of the same texts.
    void spreadsheetsPrintAsTheirTexts_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QByteArray>("descriptions");
        QTest::addColumn<int>("labels");
        QTest::newRow("xlsx, a row a barette")
            << QStringLiteral("lista.xlsx") << workbook()
            << QStringList{"--sheet", "Rozdzielnia", "--rows", "--header-column", "A", "--label-columns", "B-H",
                           "--skip-first-row"}
            << QByteArray("Pompa obiegowa\nPraca\nAwaria\n\n\n12,5\n\n\nWentylator\n\n\n\n\n\n\nPraca\n") << 7;
        // Without --label-columns: as many label columns as labels (-n, else
        // 8) after the header column, here Z-AG; AH is not read.
        QTest::newRow("xlsx, rows without label columns")
            << QStringLiteral("lista.xlsx") << columnsPastZ() << QStringList{"--rows", "--header-column", "Y"}
            << QByteArray("Pompa\nPraca\nAwaria\n\nStop\nAuto\n\n\n\n\n\nZaw\xC3\xB3r\n\n\n\n\n\nKoniec\n") << 8;
        // Columns past Z, on the command line and in the cell references.
        QTest::newRow("xlsx, columns past Z")
            << QStringLiteral("lista.xlsx") << columnsPastZ()
            << QStringList{"--rows", "--header-column", "Y", "--label-columns", "Z-AD"}
            << QByteArray("Pompa\nPraca\nAwaria\n\nStop\nAuto\n\n\nZaw\xC3\xB3r\n") << 5;
        QTest::newRow("xlsx, one column past Z")
            << QStringLiteral("lista.xlsx") << columnsPastZ() << QStringList{"--column", "AA"}
            << QByteArray("Awaria\nZaw\xC3\xB3r\n") << 8;
        QTest::newRow("xlsx, without options: the first sheet's column A")
            << QStringLiteral("lista.xlsx") << workbook() << QStringList{}
            << QByteArray("Urządzenie\nPompa obiegowa\n\nWentylator\n") << 8;
        QTest::newRow("xlsx, a formula without its result printed empty when asked")
            << QStringLiteral("lista.xlsx") << workbook()
            << QStringList{"--sheet", "Formuły", "--column", "B", "--empty-formulas"} << QByteArray("\nPraca\n") << 8;
        // LibreOffice Calc's content.xml, one column read from C.
        QTest::newRow("ods, one column")
            << QStringLiteral("lista.ods")
            << SheetFixtures::ods("<table:table table:name=\"A\"><table:table-row><table:table-cell "
                                  "table:number-columns-repeated=\"2\"/><table:table-cell><text:p>Praca</text:p>"
                                  "<text:p>ręczna</text:p></table:table-cell></table:table-row><table:table-row>"
                                  "<table:table-cell table:number-columns-repeated=\"3\"/></table:table-row>"
                                  "<table:table-row><table:table-cell table:number-columns-repeated=\"2\"/>"
                                  "<table:table-cell><text:p>Stop</text:p></table:table-cell></table:table-row>"
                                  "</table:table>")
            << QStringList{"--column", "C"} << QByteArray("Praca@ręczna\n\nStop\n") << 8;
        QTest::newRow("csv, tab given")
            << QStringLiteral("lista.tsv") << QByteArray("a;b\tc\n") << QStringList{"--delimiter", "tab", "--column", "B"}
            << QByteArray("c\n") << 8;
        // "@" prints as the line break it is in a descriptions file, "#" as its symbols.
        QTest::newRow("csv, \"@\" and a symbol character")
            << QStringLiteral("lista.csv") << QByteArray("info@firma.pl;x\nL1 # L2;y\n") << QStringList{"--column", "A"}
            << QByteArray("info@firma.pl\nL1 # L2\n") << 8;
    }
    void spreadsheetsPrintAsTheirTexts()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, options);
        QFETCH(QByteArray, descriptions);
        QFETCH(int, labels);
        const TestFiles folder;
        QByteArray windows1250;
        QVERIFY(Windows1250::encode(QString::fromUtf8(descriptions), windows1250));
        const QString texts = folder.write(QStringLiteral("lista.txt"), windows1250);
        const QString book = folder.write(name, bytes);
        const QString fromTexts = folder.path(QStringLiteral("texts.pdf"));
        const QString fromBook = folder.path(QStringLiteral("book.pdf"));
        Result r = batch({texts, QStringLiteral("-n"), QString::number(labels), QStringLiteral("-o"), fromTexts});
        QVERIFY2(r.status == 0, qPrintable(r.err));
        r = batch(QStringList{book, QStringLiteral("-o"), fromBook} + options);
        QVERIFY2(r.status == 0, qPrintable(r.err));
        QCOMPARE(describe(words(fromBook)), describe(words(fromTexts)));
    }

    void failuresSayWhatAndLeaveNothing_data()
    {
        QTest::addColumn<QStringList>("args");   // "IN" is a good input, "OUT" a path in an empty folder
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");   // a part of the one line on stderr
        QTest::newRow("unknown option") << QStringList{"--kolor", "IN", "-o", "OUT"} << 1 << "nieznana opcja --kolor";
        QTest::newRow("malformed size") << QStringList{"--label", "37,3", "IN", "-o", "OUT"} << 1 << "--label 37,3";
        QTest::newRow("no output") << QStringList{"IN"} << 1 << "-o PLIK.pdf";
        QTest::newRow("labels out of range") << QStringList{"-n", "20", "IN", "-o", "OUT"} << 1 << "od 5 do 15";
        QTest::newRow("pages outside the sheet") << QStringList{"--pages", "2-4", "IN", "-o", "OUT"} << 1
                                                 << "strony 3 nie ma; arkusz ma stron: 2";
        QTest::newRow("malformed pages") << QStringList{"--pages", "0-2", "IN", "-o", "OUT"} << 1 << "--pages 0-2";
        QTest::newRow("shift beyond 10 mm") << QStringList{"--shift", "0,10.5", "IN", "-o", "OUT"} << 1 << "--shift 0,10.5";
        QTest::newRow("one scale") << QStringList{"--scale", "101", "IN", "-o", "OUT"} << 1 << "--scale 101";
        QTest::newRow("missing input") << QStringList{"brak.txt", "-o", "OUT"} << 2 << "brak.txt: nie ma takiego pliku";
        QTest::newRow("folder as input") << QStringList{".", "-o", "OUT"} << 2 << "nie jest zwykłym plikiem";
        QTest::newRow("not a project") << QStringList{"NOTPROJ", "-o", "OUT"} << 2 << "to nie jest plik projektu";
        QTest::newRow("project without its texts") << QStringList{"LONE", "-o", "OUT"} << 2
                                                   << "lone.dat: nie ma takiego pliku";
        QTest::newRow("huge file") << QStringList{"HUGE", "-o", "OUT"} << 2 << "--no-limit";
        QTest::newRow("unwritable folder") << QStringList{"IN", "-o", "brak/OUT"} << 3 << "brak/out.pdf";
        QTest::newRow("printer gone") << QStringList{"IN", "-P", "Nie_ma"} << 3 << "„Nie_ma” nie jest dostępna";
        QTest::newRow("a PDF and a printer") << QStringList{"IN", "-o", "OUT", "-P", "Archiwum"} << 1 << "-o PLIK.pdf";
        // Refused at once, without spelling the range out page by page.
        QTest::newRow("a huge range of pages") << QStringList{"--pages", "1-2000000000", "IN", "-o", "OUT"} << 1
                                               << "strony 3 nie ma; arkusz ma stron: 2";
        QTest::newRow("a page number past any int") << QStringList{"--pages", "2147483648", "IN", "-o", "OUT"} << 1
                                                    << "--pages 2147483648";
        QTest::newRow("input is a link loop") << QStringList{"LOOP", "-o", "OUT"} << 2 << "pętla dowiązań";
        // The output is an input: by its name, under another one, through links.
        const char *same = "to ten sam plik co plik wejściowy";
        QTest::newRow("output is the input") << QStringList{"IN", "-o", "IN"} << 1 << same;
        QTest::newRow("output is the input through ./") << QStringList{"IN", "-o", "DOT_IN"} << 1 << same;
        QTest::newRow("output is a symbolic link to the input") << QStringList{"IN", "-o", "SYMLINK"} << 1 << same;
        QTest::newRow("output is a hard link to the input") << QStringList{"IN", "-o", "HARDLINK"} << 1 << same;
        QTest::newRow("output is the project") << QStringList{"PROJ", "-o", "PROJ"} << 1 << same;
        QTest::newRow("output is the project's texts") << QStringList{"PROJ", "-o", "PDAT"} << 1 << same;
        QTest::newRow("standard output leads into the input") << QStringList{"IN", "-o", "-", ">>IN"} << 1 << same;
        QTest::newRow("standard output full") << QStringList{"IN", "-o", "-", ">/dev/full"} << 3
                                              << "standardowe wyjście";
        QTest::newRow("a FIFO in the way") << QStringList{"IN", "-o", "FIFO"} << 3 << "nie jest zwykły plik";
        // Spreadsheets: their options, their sheets, their damage, their characters.
        QTest::newRow("sheet options on a descriptions file") << QStringList{"IN", "--rows", "-o", "OUT"} << 1
                                                              << "dotyczą tylko plików";
        QTest::newRow("both layouts") << QStringList{"BOOK", "--rows", "--column", "B", "-o", "OUT"} << 1
                                      << "albo --rows, albo --column";
        QTest::newRow("label columns the barette has no labels for")
            << QStringList{"BOOK", "--rows", "-n", "5", "--label-columns", "B-H", "-o", "OUT"} << 1
            << "7 kolumn etykiet, a baretka ma 5";
        QTest::newRow("the header column one of the label columns")
            << QStringList{"BOOK", "--rows", "--header-column", "B", "--label-columns", "B-I", "-o", "OUT"} << 2
            << "kolumna nagłówków B jest jedną z kolumn etykiet B-I";
        QTest::newRow("no such sheet") << QStringList{"BOOK", "--sheet", "Brak", "-o", "OUT"} << 2
                                       << "nie ma arkusza „Brak”; są: Rozdzielnia, Uwagi, Formuły";
        QTest::newRow("damaged workbook") << QStringList{"BROKEN", "-o", "OUT"} << 2
                                          << "Arkusz „broken.xlsx” nie został wczytany";
        QTest::newRow("a character Windows-1250 lacks") << QStringList{"BOOK", "--sheet", "Uwagi", "-o", "OUT"} << 2
                                                        << "Uwagi!A2: „✓” (U+2713)";
        QTest::newRow("a formula without its result")
            << QStringList{"BOOK", "--sheet", "Formuły", "--column", "B", "-o", "OUT"} << 2
            << "1 komórka zawiera formułę zapisaną bez wyniku: Formuły!B1: =A1*2; otwórz skoroszyt";
        QTest::newRow("an old Excel file") << QStringList{"OLDXLS", "-o", "OUT"} << 2
                                           << "stary.xls jest w starym formacie Excela (.xls)";
        QTest::newRow("an old Excel file with sheet options") << QStringList{"OLDXLS", "--column", "B", "-o", "OUT"}
                                                            << 2 << "zapisz go jako .xlsx albo .ods";
        QTest::newRow("a delimiter that splits nothing")
            << QStringList{"SEMI", "--delimiter", ",", "--rows", "--label-columns", "B-F", "-o", "OUT"} << 2
            << "każdy wiersz ma jedną kolumnę, a czytane są dalsze kolumny. Plik wygląda na rozdzielany „;”: "
               "--delimiter ';'";
        QTest::newRow("fewer label columns than labels")
            << QStringList{"BOOK", "--rows", "--label-columns", "B", "-o", "OUT"} << 1
            << "1 kolumna etykiet, a baretka ma 8 etykiet";
        // 3,000 barettes make a PDF of more than a megabyte, written while the
        // pages are drawn; the file size limit stops it at 300 kB.
        QTest::newRow("a write failing midway, the system's reason in words")
            << QStringList{"BIG", "-o", "OUT", "LIMIT"} << 3 << "plik przekroczyłby największy dozwolony rozmiar";
    }

    void failuresSayWhatAndLeaveNothing()
    {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, message);
        const TestFiles folder;
        const QString in = files.write(QStringLiteral("in.txt"), barettes(7, 8, true));
        const QString huge = files.path(QStringLiteral("huge.txt"));
        const QString big = files.path(QStringLiteral("big.txt"));
        if (args.contains(QStringLiteral("BIG")) && !QFile::exists(big))
            files.write(QStringLiteral("big.txt"), barettes(3000));
        const rlim_t fileSizeLimit = args.removeAll(QStringLiteral("LIMIT")) > 0 ? 300'000 : 0;
        if (args.contains(QStringLiteral("HUGE")) && !QFile::exists(huge))
            files.write(QStringLiteral("huge.txt"), QByteArray(9 * 20'001, '\n'));
        const QString notProject = files.write(QStringLiteral("notproj.lmpro"), barettes(1, 8, true));
        const QString lone = files.write(QStringLiteral("lone.lmpro"), ProjectFile::fontRecord(QFont()));
        const QByteArray fonts = ProjectFile::serializeFonts(QList<QFont>(9, QFont()));
        const QString project = files.write(QStringLiteral("proj.lmpro"), fonts);
        const QString projectTexts = files.write(QStringLiteral("proj.dat"), barettes(1));
        const QString symlink = files.path(QStringLiteral("symlink.pdf"));
        const QString hardlink = files.path(QStringLiteral("hardlink.pdf"));
        const QString fifo = files.path(QStringLiteral("fifo.pdf"));
        if (!QFileInfo::exists(fifo)) {
            QVERIFY(QFile::link(in, symlink));
            QCOMPARE(::link(QFile::encodeName(in).constData(), QFile::encodeName(hardlink).constData()), 0);
            QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
            QVERIFY(QFile::link(files.path(QStringLiteral("loop.txt")), files.path(QStringLiteral("loop.txt"))));
        }
        const QString book = files.write(QStringLiteral("book.xlsx"), workbook());
        const QString broken = files.write(QStringLiteral("broken.xlsx"), workbook().left(200));
        const QString oldExcel = files.write(QStringLiteral("stary.xls"),
                                             QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1") + QByteArray(504, '\0'));
        const QString semicolons = files.write(QStringLiteral("semi.csv"), "Pompa;Praca;Awaria;;;\nWentylator;Praca;;;;\n");
        const QStringList before = QDir(files.path(QString())).entryList(QDir::AllEntries | QDir::System | QDir::Hidden);
        // Whole arguments only: a scratch folder's random name may hold "IN" too.
        const QHash<QString, QString> names{
            {QStringLiteral("IN"), in},
            {QStringLiteral("DOT_IN"), QFileInfo(in).path() + QStringLiteral("/./in.txt")},
            {QStringLiteral("SYMLINK"), symlink},
            {QStringLiteral("HARDLINK"), hardlink},
            {QStringLiteral("FIFO"), fifo},
            {QStringLiteral("PROJ"), project},
            {QStringLiteral("PDAT"), projectTexts},
            {QStringLiteral("NOTPROJ"), notProject},
            {QStringLiteral("LONE"), lone},
            {QStringLiteral("HUGE"), huge},
            {QStringLiteral("BIG"), big},
            {QStringLiteral("LOOP"), files.path(QStringLiteral("loop.txt"))},
            {QStringLiteral("BOOK"), book},
            {QStringLiteral("BROKEN"), broken},
            {QStringLiteral("OLDXLS"), oldExcel},
            {QStringLiteral("SEMI"), semicolons},
            {QStringLiteral("OUT"), folder.path(QStringLiteral("out.pdf"))},
            {QStringLiteral("brak/OUT"), folder.path(QStringLiteral("brak/out.pdf"))},
        };
        // ">FILE" or ">>FILE" last: where standard output goes, emptied or added to.
        QString standardOutput;
        bool append = false;
        if (args.last().startsWith(QLatin1Char('>'))) {
            standardOutput = args.takeLast();
            append = standardOutput.startsWith(QStringLiteral(">>"));
            standardOutput = standardOutput.mid(append ? 2 : 1);
            standardOutput = names.value(standardOutput, standardOutput);
        }
        for (QString &a : args)
            a = names.value(a, a);
        const Result r = batch(args, QProcessEnvironment::systemEnvironment(), standardOutput, append, fileSizeLimit);
        QCOMPARE(r.status, status);
        QVERIFY2(r.err.endsWith(QLatin1Char('\n')) && r.err.count(QLatin1Char('\n')) == 1, qPrintable(r.err));
        QVERIFY2(r.err.startsWith(QStringLiteral("lamello-batch: ")) && r.err.contains(message), qPrintable(r.err));
        QVERIFY(QDir(folder.path(QString())).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
        // The inputs byte for byte, the FIFO a FIFO, and nothing new beside them.
        QCOMPARE(contents(in), barettes(7, 8, true));
        QCOMPARE(contents(project), fonts);
        QCOMPARE(contents(projectTexts), barettes(1));
        struct stat st{};
        QVERIFY(::stat(QFile::encodeName(fifo).constData(), &st) == 0 && S_ISFIFO(st.st_mode));
        QCOMPARE(QDir(files.path(QString())).entryList(QDir::AllEntries | QDir::System | QDir::Hidden), before);
        // No refusal takes memory: a range of pages is not spelt out page by page.
        rusage children{};
        QVERIFY(getrusage(RUSAGE_CHILDREN, &children) == 0);
        QVERIFY2(children.ru_maxrss < 1024 * 1024, qPrintable(QString::number(children.ru_maxrss)));
    }

    // Stopped mid-print (Ctrl+C, `timeout`, the terminal closed), the program
    // removes its temporary PDF, keeps an older file, and says the signal in
    // its status.
    void aSignalMidPrintLeavesNothing_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << SIGTERM;
        QTest::newRow("SIGINT") << SIGINT;
        QTest::newRow("SIGHUP") << SIGHUP;
    }

    void aSignalMidPrintLeavesNothing()
    {
        QFETCH(int, signal);
        const QString in = files.path(QStringLiteral("long.txt"));
        if (!QFile::exists(in))
            files.write(QStringLiteral("long.txt"), barettes(19'000));
        const TestFiles folder;
        const QString out = folder.write(QStringLiteral("out.pdf"), "older");
        QProcess proc;
        proc.start(QStringLiteral(LAMELLO_BATCH), {in, QStringLiteral("-o"), out});
        QVERIFY(proc.waitForStarted());
        // Under way: the temporary file is there.
        const QDir dir(folder.path(QString()));
        QElapsedTimer waited;
        waited.start();
        while (dir.entryList(QDir::Files | QDir::Hidden).size() < 2 && waited.elapsed() < 60'000
               && proc.state() == QProcess::Running)
            QThread::usleep(500);
        QCOMPARE(dir.entryList(QDir::Files | QDir::Hidden).size(), 2);
        QCOMPARE(::kill(pid_t(proc.processId()), signal), 0);
        QVERIFY(proc.waitForFinished(60'000));
        QCOMPARE(proc.exitStatus(), QProcess::NormalExit);
        QCOMPARE(proc.exitCode(), 128 + signal);
        QCOMPARE(dir.entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("out.pdf")});
        QCOMPARE(contents(out), QByteArray("older"));
    }

    // What the shell hands over as it is: a terminal or a closed descriptor
    // for standard output, and names whose bytes are not UTF-8.
    void standardOutputAndNamesAsTheShellGivesThem_data()
    {
        QTest::addColumn<QString>("command");   // IN is a good input, BATCH the program
        QTest::addColumn<QString>("message");
        QTest::newRow("-o - on a terminal") << "script -qefc \"BATCH IN -o -\" /dev/null" << "to terminal";
        QTest::newRow("-o - with standard output closed") << "BATCH IN -o - >&-" << "jest zamknięte";
        QTest::newRow("input name not UTF-8") << "BATCH \"$(printf 'in\\377.txt')\" -o out.pdf" << "in\\xFF.txt";
        QTest::newRow("output name not UTF-8") << "BATCH IN -o \"$(printf 'out\\376.pdf')\"" << "out\\xFE.pdf";
    }

    void standardOutputAndNamesAsTheShellGivesThem()
    {
        QFETCH(QString, command);
        QFETCH(QString, message);
        const TestFiles folder;
        const QByteArray texts = barettes(1);
        folder.write(QStringLiteral("in.txt"), texts);
        QVERIFY(::close(::creat(QFile::encodeName(folder.path(QString())) + "/in\xff.txt", 0644)) == 0);
        command.replace(QStringLiteral("BATCH"), QStringLiteral(LAMELLO_BATCH)).replace(QStringLiteral("IN"),
                                                                                       QStringLiteral("in.txt"));
        QProcess shell;
        shell.setWorkingDirectory(folder.path(QString()));
        shell.start(QStringLiteral("sh"), {QStringLiteral("-c"), command});
        QVERIFY(shell.waitForFinished(60000));
        QCOMPARE(shell.exitCode(), 1);
        const QString said = QString::fromUtf8(shell.readAllStandardError() + shell.readAllStandardOutput());
        QVERIFY2(said.contains(message), qPrintable(said));
        // Nothing written, under any name (read as bytes: the toolkit does not
        // see names that are not UTF-8), and the odd input goes.
        const QByteArray dir = QFile::encodeName(folder.path(QString()));
        QByteArrayList names;
        DIR *d = ::opendir(dir.constData());
        while (const dirent *e = ::readdir(d))
            names.append(e->d_name);
        ::closedir(d);
        ::unlink(dir + "/in\xff.txt");
        std::sort(names.begin(), names.end());
        QCOMPARE(names, (QByteArrayList{".", "..", "in.txt", "in\xff.txt"}));
    }

    void aProgressLineOnATerminalOnly()
    {
        // 20,000 barettes, the most a file may have without --no-limit: a few
        // seconds of work on this machine class.
        const QString input = files.write(QStringLiteral("long.txt"), barettes(20'000, 8, true));
        const QString pdf = files.path(QStringLiteral("long.pdf"));
        const QString command = QStringLiteral("'%1' '%2' -o '%3'").arg(QStringLiteral(LAMELLO_BATCH), input, pdf);
        // script(1) gives the program a terminal and copies what it shows.
        QProcess term;
        QElapsedTimer clock;
        clock.start();
        term.start(QStringLiteral("script"), {QStringLiteral("-qefc"), command, QStringLiteral("/dev/null")});
        QVERIFY(term.waitForFinished(300000));
        const qint64 ran = clock.elapsed();
        QCOMPARE(term.exitCode(), 0);
        const QString shown = QString::fromUtf8(term.readAllStandardOutput());
        QVERIFY2(shown.endsWith(QStringLiteral("\rlamello-batch: strona 3334 z 3334\r\n")), qPrintable(shown.right(200)));
        // Ten lines a second at most, however long the job took (a sanitized
        // build on a busy machine takes many times longer than a release one).
        const qsizetype lines = shown.count(QLatin1Char('\r'));
        QVERIFY2(lines <= ran / 100 + 3, qPrintable(QStringLiteral("%1 lines in %2 ms").arg(lines).arg(ran)));

        const Result piped = batch({input, QStringLiteral("-o"), pdf});
        QCOMPARE(piped.status, 0);
        QCOMPARE(piped.err, QString());

        // Into a pipe, written as it is drawn, the whole document.
        QProcess shell;
        shell.start(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("'%1' '%2' -o - | pdfinfo -")
                                                                     .arg(QStringLiteral(LAMELLO_BATCH), input)});
        QVERIFY(shell.waitForFinished(300000));
        const QString info = QString::fromUtf8(shell.readAllStandardOutput());
        QVERIFY2(shell.exitCode() == 0 && info.contains(QRegularExpression(QStringLiteral("Pages: +3334\\n"))),
                 qPrintable(info + QString::fromUtf8(shell.readAllStandardError())));
    }

    void helpAndVersion()
    {
        Result r = batch({QStringLiteral("--help")});
        QCOMPARE(r.status, 0);
        QVERIFY(r.out.contains(QStringLiteral("Użycie:")) && r.out.contains(QStringLiteral("--pages")));
        // The desktop's languages walked as gettext walks them: the first one
        // with a translation, Polish counting as one.
        for (const auto &[languages, usage] : {std::pair{"de:en", "Usage:"}, std::pair{"de:pl:en", "Użycie:"},
                                               std::pair{"de:fr", "Użycie:"}, std::pair{"en_GB:pl", "Usage:"}}) {
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.remove(QStringLiteral("LC_ALL"));
            env.remove(QStringLiteral("LC_MESSAGES"));
            env.insert(QStringLiteral("LANG"), QStringLiteral("de_DE.UTF-8"));
            env.insert(QStringLiteral("LANGUAGE"), QString::fromLatin1(languages));
            r = batch({QStringLiteral("--help")}, env);
            QVERIFY2(r.out.startsWith(QString::fromUtf8(usage)), qPrintable(languages + QLatin1Char(' ') + r.out.left(20)));
        }
        r = batch({QStringLiteral("--version")});
        QCOMPARE(r.status, 0);
        QVERIFY(r.out.startsWith(QStringLiteral("lamello-batch ")));
    }
};

QTEST_MAIN(TestBatch)
#include "tst_batch.moc"
