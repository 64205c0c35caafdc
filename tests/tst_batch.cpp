// lamello-batch as a script runs it: its PDF against the window's, its exit
// statuses and messages, and a job on a real (private) CUPS queue.

#include "fakeprompts.h"
#include "pdfcheck.h"
#include "testfiles.h"
#include "sheet/mygraphicsitem.h"
#include "sheet/preview.h"
#include "model/projectfile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTest>

using namespace PdfCheck;

namespace {

struct Result
{
    int status = -1;
    QString out;
    QString err;
};

Result batch(const QStringList &args, const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment())
{
    QProcess proc;
    proc.setProcessEnvironment(env);
    proc.start(QStringLiteral(LAMELLO_BATCH), args);
    if (!proc.waitForFinished(300000))
        return {};
    return {proc.exitStatus() == QProcess::NormalExit ? proc.exitCode() : -1,
            QString::fromUtf8(proc.readAllStandardOutput()), QString::fromUtf8(proc.readAllStandardError())};
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
    }

    void chosenPagesInOrderAndOnAPrinter()
    {
        const QString input = files.write(QStringLiteral("pages.txt"), barettes(13, 8, true));
        const QString pdf = files.path(QStringLiteral("pages.pdf"));
        Result r = batch({QStringLiteral("--pages"), QStringLiteral("3,1-1"), input, QStringLiteral("-o"), pdf});
        QCOMPARE(r.status, 0);
        QCOMPARE(pageCount(pdf), 2);
        const QList<Word> all = words(pdf);
        QCOMPARE(all.first().text, QStringLiteral("Żółć"));
        QCOMPARE(all.last().page, 2);

        const QString out = QDir(qEnvironmentVariable("LAMELLO_CUPS_DIR")).filePath(QStringLiteral("out/Archiwum.prn"));
        QFile::remove(out);
        r = batch({input, QStringLiteral("-P"), QStringLiteral("Archiwum"), QStringLiteral("--pages"), QStringLiteral("2")});
        QVERIFY2(r.status == 0 && r.err.isEmpty(), qPrintable(r.err));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(out) && pageCount(out) == 1, 20000);
        QCOMPARE(words(out).first().text, QStringLiteral("H6"));
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
        QTest::newRow("missing input") << QStringList{"brak.txt", "-o", "OUT"} << 2 << "brak.txt: nie ma takiego pliku";
        QTest::newRow("folder as input") << QStringList{".", "-o", "OUT"} << 2 << "nie jest zwykłym plikiem";
        QTest::newRow("not a project") << QStringList{"NOTPROJ", "-o", "OUT"} << 2 << "to nie jest plik projektu";
        QTest::newRow("project without its texts") << QStringList{"LONE", "-o", "OUT"} << 2
                                                   << "lone.dat: nie ma takiego pliku";
        QTest::newRow("huge file") << QStringList{"HUGE", "-o", "OUT"} << 2 << "--no-limit";
        QTest::newRow("unwritable folder") << QStringList{"IN", "-o", "brak/OUT"} << 3 << "brak/out.pdf";
        QTest::newRow("printer gone") << QStringList{"IN", "-P", "Nie_ma"} << 3 << "„Nie_ma” nie jest dostępna";
    }

    void failuresSayWhatAndLeaveNothing()
    {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, message);
        const TestFiles folder;
        const QString in = files.write(QStringLiteral("in.txt"), barettes(7, 8, true));
        const QString huge = files.path(QStringLiteral("huge.txt"));
        if (args.contains(QStringLiteral("HUGE")) && !QFile::exists(huge))
            files.write(QStringLiteral("huge.txt"), QByteArray(9 * 20'001, '\n'));
        const QString notProject = files.write(QStringLiteral("notproj.lmpro"), barettes(1, 8, true));
        const QString lone = files.write(QStringLiteral("lone.lmpro"), ProjectFile::fontRecord(QFont()));
        for (QString &a : args) {
            a.replace(QStringLiteral("NOTPROJ"), notProject).replace(QStringLiteral("LONE"), lone);
            a.replace(QStringLiteral("HUGE"), huge).replace(QStringLiteral("IN"), in);
            a.replace(QStringLiteral("brak/OUT"), folder.path(QStringLiteral("brak/out.pdf")));
            a.replace(QStringLiteral("OUT"), folder.path(QStringLiteral("out.pdf")));
        }
        const Result r = batch(args);
        QCOMPARE(r.status, status);
        QVERIFY2(r.err.endsWith(QLatin1Char('\n')) && r.err.count(QLatin1Char('\n')) == 1, qPrintable(r.err));
        QVERIFY2(r.err.startsWith(QStringLiteral("lamello-batch: ")) && r.err.contains(message), qPrintable(r.err));
        QVERIFY(QDir(folder.path(QString())).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
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
    }

    void helpAndVersion()
    {
        Result r = batch({QStringLiteral("--help")});
        QCOMPARE(r.status, 0);
        QVERIFY(r.out.contains(QStringLiteral("Użycie:")) && r.out.contains(QStringLiteral("--pages")));
        r = batch({QStringLiteral("--version")});
        QCOMPARE(r.status, 0);
        QVERIFY(r.out.startsWith(QStringLiteral("lamello-batch ")));
    }
};

QTEST_MAIN(TestBatch)
#include "tst_batch.moc"
