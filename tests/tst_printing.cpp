// Printing at true size into the built-in PDF and onto a real (private) CUPS
// queue, read back with poppler; the failures a user can run into.

#include "fakeprompts.h"
#include "pdfcheck.h"
#include "testfiles.h"
#include "files/projectfile.h"
#include "printing/pagerenderer.h"
#include "printing/testpage.h"
#include "sheet/mygraphicsitem.h"
#include "sheet/preview.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProgressDialog>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <sys/stat.h>

using namespace PdfCheck;

namespace {
constexpr int n = 8;

QString cupsOut(const QString &queue)
{
    return QDir(qEnvironmentVariable("LAMELLO_CUPS_DIR")).filePath(QStringLiteral("out/%1.prn").arg(queue));
}

void lp(const QString &tool, const QStringList &args)
{
    QProcess proc;
    proc.start(tool, args);
    QVERIFY(proc.waitForFinished(20000));
    QVERIFY2(proc.exitCode() == 0, proc.readAllStandardError().constData());
}

// Cancels every progress window as soon as it is shown.
struct Canceller : QObject
{
    int shown = 0;
    bool eventFilter(QObject *o, QEvent *e) override
    {
        if (auto *dialog = qobject_cast<QProgressDialog *>(o); dialog && e->type() == QEvent::Show) {
            ++shown;
            QTimer::singleShot(0, dialog, &QProgressDialog::cancel);
        }
        return false;
    }
};
} // namespace

class TestPrinting : public QObject
{
    Q_OBJECT

    TestFiles files;
    FakePrompts prompts;

    void load(Preview &p, int count, const QString &printer)
    {
        p.generationEnabled = true;
        p.filePath = files.write(QStringLiteral("sheet.txt"), barettes(count, n, true));
        p.readFile();
        p.setPrinter(printer);
    }

    // Where the first barette's top strip and first label field lie on paper
    // in the raster of page 1, compared with the scene at 3 units per mm.
    static void checkTrueSize(const Preview &p, const QString &pdf)
    {
        const QImage img = raster(pdf, 1);
        QVERIFY(!img.isNull());
        QCOMPARE(img.width(), qRound(mmToPx(210)));

        const QRectF label = p.fields().at(1)->frame();   // scene units
        const QRectF labelMm(label.x() / 3, label.y() / 3, label.width() / 3, label.height() / 3);
        const int row = qRound(mmToPx(labelMm.top() + 1));   // above the text
        const QList<double> sides = blackRuns(img, true, row, qRound(mmToPx(labelMm.left() - 1)),
                                              qRound(mmToPx(labelMm.right() + 1)));
        QCOMPARE(sides.size(), 2);
        const double width = pxToMm(sides.at(1) - sides.at(0));
        QVERIFY2(std::abs(width - 37.3) <= 0.1, qPrintable(QString::number(width)));

        const QRectF strip = p.fields().at(0)->frame().translated(0, -21);
        const QPointF corner(strip.x() / 3, strip.y() / 3);
        const QList<double> left = blackRuns(img, true, qRound(mmToPx(corner.y() + 3.5)),
                                             qRound(mmToPx(corner.x() - 1)), qRound(mmToPx(corner.x() + 1)));
        const QList<double> top = blackRuns(img, false, qRound(mmToPx(corner.x() + 10)),
                                            qRound(mmToPx(corner.y() - 1)), qRound(mmToPx(corner.y() + 1)));
        QCOMPARE(left.size(), 1);
        QCOMPARE(top.size(), 1);
        QVERIFY2(std::abs(pxToMm(left.at(0)) - corner.x()) <= 0.1, qPrintable(QString::number(pxToMm(left.at(0)))));
        QVERIFY2(std::abs(pxToMm(top.at(0)) - corner.y()) <= 0.1, qPrintable(QString::number(pxToMm(top.at(0)))));
    }

private slots:
    void initTestCase()
    {
        freshSettings();
        QVERIFY2(qEnvironmentVariableIsSet("LAMELLO_CUPS_DIR"), "run through ctest: it starts the test printers");
        useTestSettings();
    }

    void init()
    {
        prompts.messages.clear();
        prompts.fileAnswers.clear();
    }

    void allPagesIntoThePdfAtTrueSize()
    {
        Preview p;
        load(p, 13, Preview::builtInPdfName);
        QCOMPARE(p.pageCount(), 3);
        p.clickedItem(1, p.fields().at(1)->currentFont(), false, false);   // selected before printing
        QCOMPARE(p.selectionCount(), 1);

        const QString pdf = files.path(QStringLiteral("all.pdf"));
        prompts.fileAnswers = {pdf};
        p.printAll();
        QCOMPARE(p.selectionCount(), 0);
        QCOMPARE(prompts.messages.size(), 1);
        QCOMPARE(prompts.messages.at(0).title, QString());   // the program's name
        QCOMPARE(prompts.messages.at(0).text, QStringLiteral("Wydruk zapisano poprawnie."));

        QCOMPARE(pageCount(pdf), 3);
        QVERIFY2(pageSize(pdf).contains(QRegularExpression(QStringLiteral("^595(\\.\\d+)? x 84[12](\\.\\d+)?$"))),
                 qPrintable(pageSize(pdf)));   // A4 portrait, in whole or exact points
        // Texts stay text, in page order, Polish letters included.
        QList<int> headerPages;
        const QList<Word> all = words(pdf);
        for (const Word &w : all) {
            if (w.text == QStringLiteral("H6") || w.text == QStringLiteral("H12") || w.text == QStringLiteral("Żółć"))
                headerPages.append(w.page);
        }
        QCOMPARE(headerPages, (QList<int>{1, 2, 3}));
        // The symbol font travels with the file.
        const QStringList fontRows = fonts(pdf);
        QVERIFY(!fontRows.isEmpty());
        for (const QString &row : fontRows) {
            QVERIFY2(row.contains(QLatin1String("TIMES_K")), qPrintable(row));
            QVERIFY2(row.contains(QRegularExpression(QStringLiteral("Identity-H\\s+yes\\s"))), qPrintable(row));   // embedded
        }

        checkTrueSize(p, pdf);
        // The field selected before printing is white on paper, not tinted.
        const QImage img = raster(pdf, 1);
        const QRectF label = p.fields().at(1)->frame();
        QCOMPARE(qGray(img.pixel(qRound(mmToPx(label.x() / 3 + 1)), qRound(mmToPx(label.y() / 3 + 1)))), 255);
    }

    void aTextTooLongForItsFieldStaysInsideIt()
    {
        Preview p;
        p.generationEnabled = true;
        // One word far wider than its label: unclipped, it would run out over
        // the blank paper left of the labels, under the wider header. The
        // fields after it, on the same barette and the next, print whole.
        const QByteArray bytes = "H\n" + QByteArray("Przeciwzamro\xBF" "eniowy").repeated(4)
                                 + "\nPraca\n\n\n\n\n\nStop\nH2\nAwaria\n";
        p.filePath = files.write(QStringLiteral("long.txt"), bytes);
        p.readFile();
        p.setPrinter(Preview::builtInPdfName);
        QVERIFY(!p.fields().at(1)->textFits());
        const QString pdf = files.path(QStringLiteral("long.pdf"));
        prompts.fileAnswers = {pdf};
        prompts.questionAnswers = {QMessageBox::Ok};   // "Drukuj" although it does not fit
        p.printCurrent();

        const QImage img = raster(pdf, 1);
        const QRectF label = p.fields().at(1)->frame();
        const QRectF header = p.fields().at(0)->frame();
        int marks = 0;
        for (int y = qRound(mmToPx(label.top() / 3 + 0.3)); y < qRound(mmToPx(label.bottom() / 3 - 0.3)); ++y) {
            for (int x = qRound(mmToPx(header.left() / 3 + 0.3)); x < qRound(mmToPx(label.left() / 3 - 0.3)); ++x)
                marks += qGray(img.pixel(x, y)) < 255;
        }
        QCOMPARE(marks, 0);

        // Ink inside each later field's frame: the clip of the field that did
        // not fit has been lifted.
        for (const int id : {2, 8, 9, 10}) {
            const QRectF frame = p.fields().at(id)->frame();
            int ink = 0;
            for (int y = qRound(mmToPx(frame.top() / 3 + 0.5)); y < qRound(mmToPx(frame.bottom() / 3 - 0.5)); ++y) {
                for (int x = qRound(mmToPx(frame.left() / 3 + 0.5)); x < qRound(mmToPx(frame.right() / 3 - 0.5)); ++x)
                    ink += qGray(img.pixel(x, y)) < 128;
            }
            QVERIFY2(ink > 20, qPrintable(QStringLiteral("field %1: %2 dark pixels").arg(id).arg(ink)));
        }
    }

    void currentPageOnly()
    {
        Preview p;
        load(p, 13, Preview::builtInPdfName);
        p.swichPage(2);
        const QString pdf = files.path(QStringLiteral("one.pdf"));
        prompts.fileAnswers = {pdf};
        p.printCurrent();
        QCOMPARE(pageCount(pdf), 1);
        const QList<Word> all = words(pdf);
        QVERIFY(!all.isEmpty());
        QCOMPARE(all.first().text, QStringLiteral("H6"));
    }

    // Every page prints from the sheet's document: an edit on a page that is
    // not shown, made before a new layout, reaches the paper.
    void editsReachThePdfAfterANewLayout()
    {
        Preview p;
        load(p, 13, Preview::builtInPdfName);
        p.swichPage(3);
        const qsizetype id = p.firstShownId();
        QCOMPARE(p.field(id)->currentText(), QStringLiteral("H12"));
        p.document()->editField(id, QStringLiteral("Zmieniony"), p.document()->font(id), QStringLiteral("edit"));
        QVERIFY(p.updateDimensions(QRectF(0, 0, 37.3, 11.2), QRectF(0, 0, 50.25, 8.5)));
        p.swichPage(1);
        const QString pdf = files.path(QStringLiteral("edited.pdf"));
        prompts.fileAnswers = {pdf};
        p.printAll();
        QStringList texts;
        for (const Word &w : words(pdf))
            texts.append(w.text);
        QVERIFY(texts.contains(QStringLiteral("Zmieniony")));
        QVERIFY(!texts.contains(QStringLiteral("H12")));
    }

    void aSystemPrinterGetsTheSamePagesAtTrueSize()
    {
        const QString out = cupsOut(QStringLiteral("Archiwum"));
        QFile::remove(out);
        Preview p;
        QSignalSpy status(&p, &Preview::statusMessage);
        load(p, 7, QStringLiteral("Archiwum"));
        p.printAll();
        QVERIFY2(prompts.messages.isEmpty(), qPrintable(prompts.messages.value(0).text));
        QCOMPARE(status.size(), 1);
        QVERIFY2(status.at(0).at(0).toString().startsWith(QStringLiteral("Do drukarki Archiwum wysłano 2 strony")),
                 qPrintable(status.at(0).at(0).toString()));

        // The raw queue writes the job's bytes to a file once the job is done.
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(out) && PdfCheck::run(QStringLiteral("lpstat"),
                                                                     {QStringLiteral("-o"), QStringLiteral("Archiwum")})
                                                                .isEmpty(),
                                 20000);
        QCOMPARE(pageCount(out), 2);
        checkTrueSize(p, out);
    }

    // The test page's scales are 150 and 250 mm long and its corner mark lies
    // 10 mm in from both edges; what is measured on it calibrates a printer.
    void theTestPageMeasuresTrueAndCalibrates()
    {
        const QString pdf = files.path(QStringLiteral("test-page.pdf"));
        const auto page = [](int, PageRenderer &renderer) {
            return renderer.drawSheet(
                [](QPainter &painter) { TestPage::paint(painter, QStringLiteral("Warsztat"), Calibration()); });
        };
        QString error;
        QCOMPARE(PrintJob::writePdf(pdf, 1, page, {}, &error), PrintJob::Outcome::Done);
        using namespace TestPage;
        const QList<double> across = blackRunsMm(pdf, 1, true, horizontalY + 1, horizontalX - 1, horizontalX + 151);
        const QList<double> down = blackRunsMm(pdf, 1, false, verticalX + 1, verticalY - 1, verticalY + 251);
        QCOMPARE(across.size(), 151);   // a tick every millimetre
        QCOMPARE(down.size(), 251);
        const QList<double> markX = blackRunsMm(pdf, 1, true, markMm + 1, 0, markMm + 1.5);
        const QList<double> markY = blackRunsMm(pdf, 1, false, markMm + 1, 0, markMm + 1.5);
        QCOMPARE(markX.size(), 1);
        QCOMPARE(markY.size(), 1);
        const QList<double> found{across.last() - across.first(), down.last() - down.first(), markX.first(), markY.first()};
        const QString shown = QStringLiteral("%1 %2 %3 %4").arg(found[0]).arg(found[1]).arg(found[2]).arg(found[3]);
        QVERIFY2(std::abs(found[0] - 150) <= 0.05 && std::abs(found[1] - 250) <= 0.05, qPrintable(shown));
        QVERIFY2(std::abs(found[2] - 10) <= 0.05 && std::abs(found[3] - 10) <= 0.05, qPrintable(shown));
        QVERIFY(words(pdf).size() > 50);   // the instructions are there

        // A printer that prints 0.4 % wide and 1.2 mm right, 0.3 % short and
        // 0.8 mm high; measured on a page printed uncalibrated or with some
        // earlier calibration, the correction makes it print true.
        const auto measure = [](const Calibration &c) {
            const auto paper = [](double sent, bool across) { return across ? sent * 1.004 + 1.2 : sent * 0.997 - 0.8; };
            Measurement m;
            m.horizontal = paper(horizontalX + horizontalLengthMm, true) - paper(horizontalX, true);
            m.horizontal *= c.scaleX / 100;
            m.vertical = (paper(verticalY + verticalLengthMm, false) - paper(verticalY, false)) * c.scaleY / 100;
            m.left = paper(markMm * c.scaleX / 100 + c.shiftX, true);
            m.top = paper(markMm * c.scaleY / 100 + c.shiftY, false);
            return m;
        };
        for (const Calibration &earlier : {Calibration(), Calibration{0.5, -0.5, 101, 99}}) {
            const Measurement after = measure(correction(measure(earlier), earlier));
            QVERIFY(std::abs(after.horizontal - 150) < 1e-9 && std::abs(after.vertical - 250) < 1e-9);
            QVERIFY(std::abs(after.left - 10) < 1e-9 && std::abs(after.top - 10) < 1e-9);
        }
    }

    void aPrinterThatIsGoneOrRefusesPrintsNothingAndSaysSo_data()
    {
        QTest::addColumn<QString>("queue");
        QTest::addColumn<bool>("deleted");
        QTest::addColumn<QString>("reason");
        QTest::newRow("deleted after it was chosen") << "Znikajaca" << true << "nie jest dostępna";
        QTest::newRow("not accepting jobs") << "Odmowna" << false << "nie przyjęła zadania";
    }

    void aPrinterThatIsGoneOrRefusesPrintsNothingAndSaysSo()
    {
        QFETCH(QString, queue);
        QFETCH(bool, deleted);
        QFETCH(QString, reason);
        const QString out = cupsOut(queue);
        lp(QStringLiteral("lpadmin"), {QStringLiteral("-p"), queue, QStringLiteral("-E"), QStringLiteral("-v"),
                                       QStringLiteral("file://") + out});
        Preview p;
        QSignalSpy status(&p, &Preview::statusMessage);
        load(p, 2, queue);
        if (deleted)
            lp(QStringLiteral("lpadmin"), {QStringLiteral("-x"), queue});
        else
            lp(QStringLiteral("cupsreject"), {queue});
        p.printAll();
        if (!deleted)
            lp(QStringLiteral("lpadmin"), {QStringLiteral("-x"), queue});

        QCOMPARE(prompts.messages.size(), 1);
        const QString text = prompts.messages.at(0).text;
        QVERIFY2(text.startsWith(QStringLiteral("Wystąpił błąd podczas wydruku.\n")), qPrintable(text));
        QVERIFY2(text.contains(queue) && text.contains(reason), qPrintable(text));
        QVERIFY(status.isEmpty());
        QVERIFY(!QFile::exists(out));
    }

    void pdfFailuresLeaveNothingBehind_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("cancelJob");
        QTest::addColumn<QString>("message");   // start of the one message, empty for none
        QTest::newRow("cancelled dialog") << "" << false << "";
        QTest::newRow("folder that does not exist") << "missing/out.pdf" << false << "Wystąpił błąd podczas wydruku.\n";
        QTest::newRow("cancelled long job, older file kept") << "old.pdf" << true << "";
        QTest::newRow("a FIFO in the way") << "fifo.pdf" << false << "Wystąpił błąd podczas wydruku.\n";
        // The sheet's own files: the texts it shows, the project opened.
        const QString own = QStringLiteral("Tego pliku nie można zastąpić");
        QTest::newRow("the sheet's texts file") << "SHEET" << false << own;
        QTest::newRow("the project opened") << "p.lmpro" << false << own;
    }

    void pdfFailuresLeaveNothingBehind()
    {
        QFETCH(QString, name);
        QFETCH(bool, cancelJob);
        QFETCH(QString, message);
        Preview p;
        load(p, 13, Preview::builtInPdfName);
        const TestFiles folder;   // nothing else in it
        QString path = name.isEmpty() ? QString() : folder.path(name);
        if (name == QStringLiteral("old.pdf"))
            folder.write(name, "older file");
        if (name == QStringLiteral("fifo.pdf"))
            QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        if (name == QStringLiteral("SHEET"))
            path = p.filePath;
        if (name == QStringLiteral("p.lmpro")) {
            folder.write(QStringLiteral("p.dat"), barettes(13, n, true));
            folder.write(name, ProjectFile::serializeFonts(QList<QFont>(13 * (n + 1), QFont())));
            p.openProject(path);
            QVERIFY(prompts.messages.isEmpty());
        }
        // A FIFO is never opened here: it would block.
        const auto contents = [&path] {
            QFile file(path);
            return QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        const QByteArray old = contents();
        prompts.fileAnswers = {path};
        Canceller canceller;
        if (cancelJob) {
            p.progressDelayMs = 0;
            qApp->installEventFilter(&canceller);
        }
        const qsizetype dialogs = prompts.folders.size();
        p.printAll();
        qApp->removeEventFilter(&canceller);

        QCOMPARE(canceller.shown, cancelJob ? 1 : 0);
        // A refused name brings the dialog back (cancelled here); a cancel is a cancel.
        QCOMPARE(prompts.folders.size() - dialogs, message.startsWith(QLatin1String("Tego pliku")) ? 2 : 1);
        QCOMPARE(prompts.messages.size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty())
            QVERIFY2(prompts.messages.at(0).text.startsWith(message), qPrintable(prompts.messages.at(0).text));
        if (name == QStringLiteral("old.pdf")) {
            QFile old(path);
            QVERIFY(old.open(QIODevice::ReadOnly));
            QCOMPARE(old.readAll(), QByteArray("older file"));
        }
        // What was there stays as it was: an older PDF, the sheet's files, a FIFO.
        QCOMPARE(contents(), old);
        // No temporary or partial file anywhere in the folder.
        QStringList left = QDir(folder.path(QString())).entryList(QDir::Files | QDir::Hidden);
        for (const char *kept : {"old.pdf", "p.lmpro", "p.dat"})
            left.removeAll(QLatin1String(kept));
        QVERIFY2(left.isEmpty(), qPrintable(left.join(QLatin1Char(' '))));

        // The same target then takes a finished job.
        if (name == QStringLiteral("old.pdf")) {
            prompts.messages.clear();
            prompts.fileAnswers = {path};
            p.printAll();
            QCOMPARE(prompts.messages.at(0).text, QStringLiteral("Wydruk zapisano poprawnie."));
            QCOMPARE(pageCount(path), 3);
        }
    }
};

QTEST_MAIN(TestPrinting)
#include "tst_printing.moc"
