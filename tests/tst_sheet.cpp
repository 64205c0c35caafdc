// The sheet: reading into pages, ids across pages, the font memory, export,
// selection by real clicks and keys, font commands, zoom and paging.

#include "fakeprompts.h"
#include "testfiles.h"
#include "files/descriptionscheck.h"
#include "files/projectfile.h"
#include "printing/fieldpainter.h"
#include "printing/fittracker.h"
#include "sheet/mygraphicsitem.h"
#include "sheet/preview.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFile>
#include <QGraphicsScene>
#include <QProgressDialog>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <climits>
#include <cmath>
#include <sys/stat.h>

namespace {
constexpr int n = 8;

int fieldsOn(QGraphicsScene *scene)
{
    int count = 0;
    const QList<QGraphicsItem *> all = scene->items();
    for (QGraphicsItem *item : all) {
        if (auto *field = dynamic_cast<MyGraphicsItem *>(item); field && field->fieldId() >= 0)
            ++count;
    }
    return count;
}

QList<int> selectedIds(const Preview &p)
{
    QList<int> ids;
    for (const MyGraphicsItem *item : p.fields()) {
        if (item->isSelected())
            ids.append(item->fieldId());
    }
    return ids;
}
} // namespace

class TestSheet : public QObject
{
    Q_OBJECT

    TestFiles files;
    FakePrompts prompts;

    void load(Preview &p, const QByteArray &bytes)
    {
        p.filePath = files.write(QStringLiteral("sheet.txt"), bytes);
        p.readFile();
        p.generatePages();
    }

    static void showSheet(Preview &p)
    {
        p.generationEnabled = true;
        p.resize(700, 950);
        p.show();
        QVERIFY(QTest::qWaitForWindowExposed(&p));
        p.zoomResize();
    }

    static void click(Preview &p, int id, Qt::KeyboardModifiers mods = {})
    {
        const MyGraphicsItem *field = p.field(id);
        QVERIFY2(field, "field is not on the page shown");
        QVERIFY2(field->scene() == p.scene(), "field is not on the page shown");
        const QPoint at = p.mapFromScene(field->frame().center());
        QTest::mouseClick(p.viewport(), Qt::LeftButton, mods, at);
    }

private slots:
    // Every count the program says takes the noun's form for that number, in
    // the case its sentence needs.
    void countsAgreeInPolish_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("said");
        const QStringList one{"baretkę", "strona", "stronę", "pole", "pola"};
        const QStringList few{"baretki", "strony", "strony", "pola", "pól"};
        const QStringList many{"baretek", "stron", "stron", "pól", "pól"};
        // The number and its form: one, few (2–4, 22–24, ... not 12–14) or many.
        const QList<std::pair<int, char>> rows{{0, 'm'},   {1, 'o'},    {2, 'f'},   {4, 'f'},   {5, 'm'},   {12, 'm'},
                                               {13, 'm'},  {14, 'm'},   {21, 'm'},  {22, 'f'},  {25, 'm'},  {101, 'm'},
                                               {102, 'f'}, {112, 'm'},  {1002, 'f'}, {20002, 'f'}};
        for (const auto &[n, form] : rows) {
            const QStringList &words = form == 'o' ? one : form == 'f' ? few : many;
            QStringList said;
            for (const QString &word : words)
                said.append(QString::number(n) + QLatin1Char(' ') + word);
            QTest::addRow("%d", n) << n << said.join(QLatin1Char('|'));
        }
    }

    void countsAgreeInPolish()
    {
        QFETCH(int, count);
        QFETCH(QString, said);
        QCOMPARE((QStringList{DescriptionsCheck::baretteCount(count), DescriptionsCheck::pageCount(count),
                              Preview::pagesText(count), FitTracker::fieldsText(count), ProjectFile::ofFields(count)}
                      .join(QLatin1Char('|'))),
                 said);
    }

    void initTestCase() { freshSettings(); }

    void init()
    {
        prompts.messages.clear();
        prompts.fileAnswers.clear();
        prompts.questions.clear();
        prompts.questionAnswers.clear();
        prompts.captions.clear();
    }

    void barettesAreLaidOutOnPagesWithIdsRunningOn()
    {
        Preview p;
        p.generationEnabled = true;
        QSignalSpy pages(&p, &Preview::updatePagesCount);
        load(p, barettes(7));
        QCOMPARE(pages.last().at(0).toInt(), 1);
        QCOMPARE(p.pageCount(), 2);
        QCOMPARE(p.fieldCount(), 7 * (n + 1));
        QCOMPARE(fieldsOn(p.page(0)), 6 * (n + 1));
        for (int id = 0; id < p.fields().size(); ++id)
            QCOMPARE(p.fields().at(id)->fieldId(), id);
        // Only the page shown has items; the next one is built when shown.
        QCOMPARE(p.page(1), nullptr);
        p.swichPage(2);
        QCOMPARE(fieldsOn(p.page(1)), n + 1);
        QCOMPARE(p.fields().first()->fieldId(), 6 * (n + 1));

        // The first barette of page 2 starts at id 54, in the top-left position.
        const MyGraphicsItem *header = p.field(54);
        QCOMPARE(header->currentText(), QStringLiteral("H6"));
        QCOMPARE(header->scene(), p.page(1));
        QCOMPARE(header->frame().topLeft(), QPointF(15, 36));
        QCOMPARE(p.field(55)->currentText(), QStringLiteral("L6.1"));
        p.swichPage(1);
        // Row by row, column by column: barette 1 is to the right of barette 0.
        QCOMPARE(p.fields().at(9)->currentText(), QStringLiteral("H1"));
        QCOMPARE(p.fields().at(9)->frame().x(), 174.75);
        QCOMPARE(p.scene(), p.page(0));
    }

    void fullPageLeavesNoEmptyLastPageAndNoFileOnePage()
    {
        Preview p;
        p.generationEnabled = true;
        load(p, barettes(12));
        QCOMPARE(p.pageCount(), 2);
        p.swichPage(2);
        QCOMPARE(fieldsOn(p.page(1)), 6 * (n + 1));

        load(p, QByteArray());
        QCOMPARE(p.pageCount(), 1);
        QCOMPARE(p.fields().size(), 0);
        QCOMPARE(p.page(0)->sceneRect(), QRectF(0, 0, 630, 891));
    }

    void rebuildsShowNoProgressWindow()
    {
        // Records the label of every progress window shown.
        struct Watcher : QObject
        {
            QStringList labels;
            bool eventFilter(QObject *o, QEvent *e) override
            {
                if (auto *dialog = qobject_cast<QProgressDialog *>(o); dialog && e->type() == QEvent::Show)
                    labels.append(dialog->labelText());
                return false;
            }
        } watcher;
        qApp->installEventFilter(&watcher);
        Preview p;
        p.generationEnabled = true;
        load(p, barettes(13));
        QVERIFY(watcher.labels.isEmpty());   // quick: no window

        // A rebuild builds the page shown, however large the sheet: no
        // window to wait behind.
        p.progressDelayMs = 0;
        p.generatePages();
        qApp->removeEventFilter(&watcher);
        QVERIFY(watcher.labels.isEmpty());
        const QList<QWidget *> windows = QApplication::topLevelWidgets();
        for (QWidget *w : windows)
            QVERIFY(!qobject_cast<QProgressDialog *>(w));   // gone when the sheet is done
    }

    void nothingIsBuiltBeforeGenerationIsEnabled()
    {
        Preview p;
        load(p, barettes(2));
        QCOMPARE(p.pageCount(), 0);
        QCOMPARE(p.baretteCount(), 2);
    }

    void aFileThatCannotBeReadEmptiesTheSheetAndSaysSo()
    {
        Preview p;
        p.generationEnabled = true;
        load(p, barettes(13));
        QCOMPARE(p.pageCount(), 3);
        QSignalSpy status(&p, &Preview::statusMessage);
        QSignalSpy pages(&p, &Preview::updatePagesCount);
        p.filePath = files.path(QStringLiteral("gone.txt"));
        p.readFile();
        p.generatePages();
        QVERIFY(p.baretteCount() == 0);
        QCOMPARE(p.pageCount(), 1);
        QCOMPARE(pages.last().at(0).toInt(), 0);
        QCOMPARE(status.size(), 1);
        QVERIFY(status.at(0).at(0).toString().contains(QStringLiteral("gone.txt")));

        // Without a path nothing is said to the user (the geometry panel does this).
        p.filePath.clear();
        p.setLabelsPerBarette(5);
        QCOMPARE(status.size(), 1);
    }

    void aUtf8FileIsReadAsUtf8AndTheUserIsTold()
    {
        Preview p;
        p.generationEnabled = true;
        QSignalSpy status(&p, &Preview::statusMessage);
        load(p, QStringLiteral("ŻÓŁW@morski\n").toUtf8());
        QCOMPARE(p.fields().at(0)->currentText(), QStringLiteral("ŻÓŁW\nmorski"));
        QCOMPARE(status.size(), 1);
        QVERIFY(status.at(0).at(0).toString().contains(QStringLiteral("UTF-8")));
        QVERIFY(status.at(0).at(0).toString().contains(QStringLiteral("Windows-1250")));
        load(p, "\xaf\xd3\xa3W\n");   // the same word in Windows-1250: not a word about it
        QCOMPARE(p.fields().at(0)->currentText(), QStringLiteral("ŻÓŁW"));
        QCOMPARE(status.size(), 1);
    }

    void changingTheLabelCountRegroupsTheFile()
    {
        Preview p;
        p.generationEnabled = true;
        load(p, barettes(2));   // 18 lines
        p.setLabelsPerBarette(5);
        QCOMPARE(p.baretteCount(), 3);
        QCOMPARE(p.document()->text(6), QStringLiteral("L0.6"));
        QCOMPARE(p.fieldCount(), 18);
    }

    void fontMemoryGrowsAndCarriesFontsIntoTheFields()
    {
        Preview p;
        p.generationEnabled = true;
        QFont bold;
        bold.setPixelSize(14);
        bold.setWeight(QFont::Bold);
        p.document()->reset({}, {bold, bold});
        load(p, barettes(1));
        QCOMPARE(p.fields().at(1)->currentFont().weight(), int(QFont::Bold));
        QCOMPARE(p.fields().at(1)->currentFont().pixelSize(), 14);
        QCOMPARE(p.fields().at(1)->currentFont().family(), QStringLiteral("TIMES_K"));
        QCOMPARE(p.fields().at(2)->currentFont().weight(), int(QFont::Normal));
        QCOMPARE(p.document()->font(2).pixelSize(), 10);
        QCOMPARE(p.document()->font(2).family(), QStringLiteral("TIMES_K"));
    }

    void shownPageComesBackIntoRangeOnASmallerSheet()
    {
        Preview p;
        showSheet(p);
        load(p, barettes(13));
        p.swichPage(3);
        QCOMPARE(p.currentPage(), 2);
        QCOMPARE(p.scene(), p.page(2));
        load(p, barettes(2));
        QCOMPARE(p.currentPage(), 0);
        QCOMPARE(p.scene(), p.page(0));
    }

    void geometryInWhichNothingFits()
    {
        Preview p;
        p.generationEnabled = true;
        load(p, barettes(3));
        QSignalSpy status(&p, &Preview::statusMessage);
        QVERIFY(p.updateDimensions(QRectF(0, 0, 37.3, 100), QRectF(0, 0, 100, 8.5)));
        QCOMPARE(p.layout().barettesPerPage, 0);
        QCOMPARE(p.pageCount(), 1);
        QCOMPARE(p.fields().size(), 0);
        QCOMPARE(p.page(0)->items().size(), 1);
        QVERIFY(!status.isEmpty());

        // The sheet has texts but no fields: exporting would replace a file with nothing.
        const QString out = files.write(QStringLiteral("keep.txt"), "old\n");
        prompts.fileAnswers = {out};
        p.exportDescriptions();
        QVERIFY(prompts.captions.isEmpty());   // not even asked for a name
        QCOMPARE(prompts.messages.size(), 1);
        QVERIFY(prompts.messages.at(0).text.contains(QStringLiteral("nie ma pól do zapisania")));
        QFile file(out);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("old\n"));
    }

    void filesThatAreRefusedOrDeclinedKeepTheSheet()
    {
        Preview p;
        p.generationEnabled = true;
        load(p, barettes(2));
        const QString shown = p.filePath;
        const QString fifo = files.path(QStringLiteral("fifo"));
        QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        const QString utf16 = files.write(QStringLiteral("utf16.txt"), QByteArray("P\0o\0\n\0S\0", 8));
        const qint64 large = DescriptionsCheck::largeSheetBarettes;
        const QString big = files.write(QStringLiteral("big.txt"), QByteArray((large + 1) * (n + 1), '\n'));

        struct Case
        {
            QString path;
            qint64 memoryLimit;
            bool asked;
        };
        const Case cases[] = {{fifo, 0, false}, {utf16, 0, false}, {big, 1 << 20, false}, {big, 0, true}};
        for (const Case &c : cases) {
            prompts.messages.clear();
            prompts.questions.clear();
            prompts.questionAnswers = {QMessageBox::No};
            p.memoryLimit = c.memoryLimit;
            p.filePath = c.path;
            QVERIFY(!p.readFile());
            QCOMPARE(p.filePath, shown);
            QCOMPARE(p.baretteCount(), 2);
            QCOMPARE(p.fields().size(), 2 * (n + 1));
            if (c.asked) {
                QCOMPARE(prompts.questions.size(), 1);
                QCOMPARE(prompts.questions.at(0).text,
                         QStringLiteral("Plik zawiera 20001 baretek (3334 strony). Wczytać?"));
            } else {
                QCOMPARE(prompts.messages.size(), 1);
                QVERIFY(prompts.messages.at(0).text.contains(QFileInfo(c.path).fileName()));
            }
        }

        // Yes reads it; regrouping the lines read asks nothing: it reads
        // nothing and builds one page.
        p.memoryLimit = 0;
        p.generationEnabled = false;   // reading is what this is about
        prompts.questionAnswers = {QMessageBox::Yes, QMessageBox::No};
        p.filePath = big;
        QVERIFY(p.readFile());
        QCOMPARE(p.baretteCount(), large + 1);
        QVERIFY(p.setLabelsPerBarette(5));
        QCOMPARE(prompts.questions.size(), 2);
        QCOMPARE(p.document()->lineCount(), (large + 1) * (n + 1));
        QCOMPARE(p.filePath, big);
    }

    void slotsRefuseWhatThePanelCouldNotSend()
    {
        Preview p;
        p.generationEnabled = true;
        load(p, barettes(7));
        const QRectF label(0, 0, 37.3, 11.2);
        const QRectF header(0, 0, 50.25, 8.5);
        const double nan = qQNaN();
        const double inf = qInf();
        for (int count : {INT_MIN, -1, 0, 4, 16, INT_MAX})
            QVERIFY(!p.setLabelsPerBarette(count));
        for (double mm : {nan, inf, -inf, 0.0, -5.0, 100.01, 1e9}) {
            QVERIFY(!p.updateDimensions(QRectF(0, 0, mm, 11.2), header));
            QVERIFY(!p.updateDimensions(label, QRectF(0, 0, 50.25, mm)));
        }
        for (const QRectF &area : {QRectF(nan, 0, 210, 297), QRectF(0, 0, inf, 297), QRectF(0, 0, 0, 297),
                                   QRectF(0, 0, 210, -1), QRectF(300, 0, 10, 10), QRectF(0, 0, 1e300, 1e300)})
            QVERIFY(!p.setAvailableArea(area));
        QCOMPARE(p.layout().labelsPerBarette, n);
        QCOMPARE(p.layout().fAvailableArea, QRectF(0, 0, 630, 891));
        QCOMPARE(p.layout().barettesPerPage, 6);
        QCOMPARE(p.fieldCount(), 7 * (n + 1));
        QCOMPARE(p.fields().at(n + 1)->frame().width(), 3 * 50.25);

        for (int page : {INT_MIN, -1, 0, 3, INT_MAX}) {
            p.swichPage(page);
            QCOMPARE(p.currentPage(), 0);
        }
        // A printer set to a larger paper still prints on A4.
        QVERIFY(p.setAvailableArea(QRectF(0, 0, 297, 420)));
        QCOMPARE(p.layout().fAvailableArea, QRectF(0, 0, 630, 891));
    }

    void builtInPdfAndUnknownPrinters()
    {
        Preview p;
        p.generationEnabled = true;
        load(p, barettes(1));
        p.setPrinter(Preview::builtInPdfName);
        QCOMPARE(p.layout().columns, 3);
        QVERIFY(std::abs(p.fields().at(0)->frame().x() - 30.3) < 1e-3);
        QVERIFY(std::abs(p.fields().at(0)->frame().y() - (27.216 + 21)) < 1e-3);

        // The placeholder and a removed queue keep the area in use.
        const QRectF area = p.layout().fAvailableArea;
        p.setPrinter(QStringLiteral("Wybierz drukarkę"));
        QCOMPARE(p.layout().fAvailableArea, area);
        p.setPrinter(QStringLiteral("Usunieta_kolejka"));
        QCOMPARE(p.layout().fAvailableArea, area);
        QCOMPARE(p.fields().size(), n + 1);
    }

    // ------------------------------------------------------------- export

    void exportWritesTheFieldsAsShown()
    {
        Preview p;
        p.generationEnabled = true;
        load(p, "Start\r\n" + QByteArray(n, '\n'));
        p.fields().at(1)->setText(QStringLiteral("Pompa\nrezerwowa\nB"));
        p.fields().at(2)->setText(QStringLiteral("Żuraw"));
        const QString out = files.path(QStringLiteral("export.txt"));
        prompts.fileAnswers = {out};
        p.exportDescriptions();
        QCOMPARE(prompts.messages.size(), 1);
        QCOMPARE(prompts.messages.at(0).text, QStringLiteral("Zapisano."));
        QCOMPARE(prompts.messages.at(0).icon, QMessageBox::Information);
        QFile file(out);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(),
                 "Start\r\nPompa@rezerwowa@B\n\xafuraw\n" + QByteArray(n - 2, '\n'));
    }

    void exportAnswersThatWriteNothing_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("message");   // start of the one message, empty for none
        QTest::newRow("cancelled") << QString() << QString();
        QTest::newRow("just .txt") << QStringLiteral(".txt") << QString();
        QTest::newRow("just .dat") << QStringLiteral(".dat") << QString();
        // The sheet's own files, by any name: the texts it shows, the project saved last.
        const QString own = QStringLiteral("Tego pliku nie można zastąpić");
        QTest::newRow("the sheet's texts file") << QStringLiteral("SHEET") << own;
        QTest::newRow("the sheet's texts file through ./") << QStringLiteral("./SHEET") << own;
        QTest::newRow("the project saved last") << QStringLiteral("own.lmpro") << own;
    }

    void exportAnswersThatWriteNothing()
    {
        QFETCH(QString, answer);
        QFETCH(QString, message);
        Preview p;
        p.generationEnabled = true;
        load(p, barettes(1));
        const TestFiles folder;
        prompts.fileAnswers = {folder.path(QStringLiteral("own.lmpro"))};
        p.saveProject();
        prompts.messages.clear();
        // Saved, the sheet's texts are the project's texts file.
        const QFileInfo sheet(p.filePath);
        if (answer.endsWith(QStringLiteral("SHEET")))
            answer = sheet.absolutePath() + QLatin1Char('/') + answer.replace(QStringLiteral("SHEET"), sheet.fileName());
        else if (answer == QStringLiteral("own.lmpro"))
            answer = folder.path(answer);
        auto contents = [&answer] {
            QFile file(answer);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
        };
        const QByteArray old = contents();
        prompts.fileAnswers = {answer};
        p.exportDescriptions();
        QCOMPARE(prompts.messages.size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty())
            QVERIFY2(prompts.messages.at(0).text.startsWith(message), qPrintable(prompts.messages.at(0).text));
        QCOMPARE(contents(), old);
    }

    void exportRefusesTextsItCannotEncode()
    {
        Preview p;
        p.generationEnabled = true;
        load(p, barettes(1));
        p.fields().at(3)->setText(QStringLiteral("Moc 😀 5 kW"));
        const QString out = files.write(QStringLiteral("keep.txt"), "old\n");
        prompts.fileAnswers = {out};
        p.exportDescriptions();
        QCOMPARE(prompts.messages.size(), 1);
        QCOMPARE(prompts.messages.at(0).icon, QMessageBox::Critical);
        QVERIFY(prompts.messages.at(0).text.contains(QStringLiteral("nr 4")));
        // The whole character, not half of its UTF-16 pair.
        QVERIFY(prompts.messages.at(0).text.contains(QStringLiteral("„😀” (U+1F600)")));
        QFile file(out);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("old\n"));
    }

    void exportFailureIsReportedNotSaved()
    {
        Preview p;
        p.generationEnabled = true;
        load(p, barettes(1));
        prompts.fileAnswers = {files.path(QStringLiteral("no/such/folder/x.txt"))};
        p.exportDescriptions();
        QCOMPARE(prompts.messages.size(), 1);
        QCOMPARE(prompts.messages.at(0).icon, QMessageBox::Critical);
        QVERIFY(prompts.messages.at(0).text.startsWith(QStringLiteral("Błąd przy próbie utworzenia pliku.\n")));
        QVERIFY(prompts.messages.at(0).text.size() > 40);   // with the system's reason
    }

    // ---------------------------------------------------------- selection

    void shiftRangesToggleInBothDirections()
    {
        Preview p;
        showSheet(p);
        load(p, barettes(2));
        QSignalSpy selected(&p, &Preview::selectedId);

        click(p, 3);
        QCOMPARE(selectedIds(p), (QList<int>{3}));
        click(p, 5, Qt::ShiftModifier);
        QCOMPARE(selectedIds(p), (QList<int>{3, 4, 5}));
        QCOMPARE(p.selectionCount(), 3);

        // Back from the new anchor 5 to 1: 5, 4, 3, 2, 1 are toggled.
        click(p, 1, Qt::ShiftModifier);
        QCOMPARE(selectedIds(p), (QList<int>{1, 2}));
        QCOMPARE(p.selectionCount(), 2);

        QCOMPARE(selected.size(), 3);
        QCOMPARE(selected.last().at(0).toInt(), 1);
        QCOMPARE(selected.last().at(1).value<QFont>().pixelSize(), 10);
    }

    void shiftDownFromAPlainClick()
    {
        Preview p;
        showSheet(p);
        load(p, barettes(1));
        click(p, 3);
        click(p, 1, Qt::ShiftModifier);   // toggles 3, 2, 1: the anchor itself goes off
        QCOMPARE(selectedIds(p), (QList<int>{1, 2}));
        QCOMPARE(p.selectionCount(), 2);
    }

    void plainAndCtrlClicks()
    {
        Preview p;
        showSheet(p);
        load(p, barettes(1));
        click(p, 2);
        click(p, 6, Qt::ControlModifier);
        QCOMPARE(selectedIds(p), (QList<int>{2, 6}));
        click(p, 2, Qt::ControlModifier);
        QCOMPARE(selectedIds(p), (QList<int>{6}));
        click(p, 4);
        QCOMPARE(selectedIds(p), (QList<int>{4}));
        click(p, 4);   // the only selected field: nothing stays selected
        QCOMPARE(selectedIds(p), QList<int>{});
        QCOMPARE(p.selectionCount(), 0);
    }

    void topStripsAreNotSelectable()
    {
        Preview p;
        showSheet(p);
        load(p, barettes(1));
        QSignalSpy selected(&p, &Preview::selectedId);
        const QPointF strip = p.layout().stripRect(p.layout().baretteOrigin(0, 0)).center();
        QTest::mouseClick(p.viewport(), Qt::LeftButton, {}, p.mapFromScene(strip));
        QCOMPARE(selected.size(), 0);
        QCOMPARE(p.selectionCount(), 0);
    }

    // A right click (the press, then the menu event the platform sends with
    // it) asks for the field menu: a selected field keeps the selection and
    // becomes the keyboard's, another field is selected alone; the top strip
    // has no menu and changes nothing.
    void rightClicks_data()
    {
        QTest::addColumn<int>("clicked");   // -1: the top strip
        QTest::addColumn<QList<int>>("selected");
        QTest::newRow("on a selected field") << 5 << QList<int>{2, 5, 6};
        QTest::newRow("on another field") << 4 << QList<int>{4};
        QTest::newRow("on the top strip") << -1 << QList<int>{2, 5, 6};
    }

    void rightClicks()
    {
        QFETCH(int, clicked);
        QFETCH(QList<int>, selected);
        Preview p;
        showSheet(p);
        load(p, barettes(1));
        click(p, 2);
        click(p, 5, Qt::ControlModifier);
        click(p, 6, Qt::ControlModifier);
        QSignalSpy menus(&p, &Preview::fieldMenuRequested);
        const QPoint at = p.mapFromScene(clicked < 0 ? p.layout().stripRect(p.layout().baretteOrigin(0, 0)).center()
                                                     : p.field(clicked)->frame().center());
        QTest::mouseClick(p.viewport(), Qt::RightButton, {}, at);
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, p.viewport()->mapToGlobal(at));
        QApplication::sendEvent(p.viewport(), &event);
        QCOMPARE(selectedIds(p), selected);
        QCOMPARE(menus.size(), clicked < 0 ? 0 : 1);
        QCOMPARE(p.currentFieldId(), clicked < 0 ? 6 : clicked);
    }

    void shiftRangeStaysOnThePageShown()
    {
        Preview p;
        showSheet(p);
        load(p, barettes(7));
        click(p, 51);
        p.swichPage(2);   // clears the selection; the anchor stays
        QCOMPARE(p.selectionCount(), 0);
        click(p, 56, Qt::ShiftModifier);   // the anchor is on another page: a plain click
        QCOMPARE(selectedIds(p), (QList<int>{56}));
        QCOMPARE(p.selectionCount(), 1);
    }

    void shiftWithoutAUsableAnchorIsAPlainClick()
    {
        Preview p;
        showSheet(p);
        load(p, barettes(2));
        click(p, 4, Qt::ShiftModifier);   // first click of all, Shift held
        QCOMPARE(selectedIds(p), (QList<int>{4}));
        click(p, 15);                     // anchor 15
        load(p, barettes(1));             // smaller sheet: ids 0..8
        click(p, 2, Qt::ShiftModifier | Qt::ControlModifier);
        QCOMPARE(selectedIds(p), (QList<int>{2}));
        QCOMPARE(p.selectionCount(), 1);
    }

    // Seven barettes, three columns by two rows a page: page 1 holds
    // barettes 0-5 (ids 0-53), page 2 barette 6 (ids 54-62).
    void keysMoveAndExtendTheSelection_data()
    {
        QTest::addColumn<int>("start");      // clicked first
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<int>("page");
        QTest::newRow("Down in a barette") << 3 << "Down" << QList<int>{4} << 0;
        QTest::newRow("Down from the last label to the header below") << 8 << "Down" << QList<int>{27} << 0;
        QTest::newRow("Up from a header to the last label above") << 27 << "Up" << QList<int>{8} << 0;
        QTest::newRow("Up at the top of the sheet") << 0 << "Up" << QList<int>{0} << 0;
        QTest::newRow("Right keeps the row") << 3 << "Right" << QList<int>{12} << 0;
        QTest::newRow("Right past a row's end") << 21 << "Right" << QList<int>{30} << 0;
        QTest::newRow("Left") << 12 << "Left" << QList<int>{3} << 0;
        QTest::newRow("Down onto the next page") << 35 << "Down" << QList<int>{54} << 1;
        QTest::newRow("Right onto the next page") << 47 << "Right" << QList<int>{56} << 1;
        QTest::newRow("Left back to the first page") << 56 << "Left" << QList<int>{47} << 0;
        QTest::newRow("Down where no barette is below") << 44 << "Down" << QList<int>{44} << 0;
        QTest::newRow("Home") << 30 << "Home" << QList<int>{0} << 0;
        QTest::newRow("End") << 3 << "End" << QList<int>{53} << 0;
        QTest::newRow("End on the last page") << 56 << "End" << QList<int>{62} << 1;
        QTest::newRow("Shift+Down") << 3 << "Shift+Down, Shift+Down" << QList<int>{3, 4, 5} << 0;
        QTest::newRow("Shift+Up undoes Shift+Down") << 3 << "Shift+Down, Shift+Down, Shift+Up" << QList<int>{3, 4} << 0;
        QTest::newRow("Shift+Up back to the start") << 3 << "Shift+Down, Shift+Up" << QList<int>{3} << 0;
        QTest::newRow("Shift+Up past the start") << 3 << "Shift+Up, Shift+Up" << QList<int>{1, 2, 3} << 0;
        // Spreadsheets' way: the rectangle from where Shift started.
        QTest::newRow("Shift+Down twice, Shift+Right: a rectangle") << 3 << "Shift+Down, Shift+Down, Shift+Right"
                                                                   << QList<int>{3, 4, 5, 12, 13, 14} << 0;
        QTest::newRow("Shift+Left back to the column") << 3 << "Shift+Right, Shift+Down, Shift+Left"
                                                       << QList<int>{3, 4} << 0;
        QTest::newRow("Shift+Right, the same row") << 3 << "Shift+Right, Shift+Right" << QList<int>{3, 12, 21} << 0;
        QTest::newRow("Shift stays on the page") << 35 << "Shift+Down" << QList<int>{35} << 0;
        QTest::newRow("Shift+End") << 50 << "Shift+End" << QList<int>{50, 51, 52, 53} << 0;
        QTest::newRow("a plain arrow ends the range") << 3 << "Shift+Down, Down" << QList<int>{5} << 0;
        QTest::newRow("Shift+F10 keeps the selection for its menu") << 3 << "Shift+Down, Shift+F10"
                                                                    << QList<int>{3, 4} << 0;
        QTest::newRow("Esc") << 3 << "Esc" << QList<int>{} << 0;
        QTest::newRow("after Esc from the field left") << 3 << "Esc, Down" << QList<int>{4} << 0;
    }

    void keysMoveAndExtendTheSelection()
    {
        QFETCH(int, start);
        QFETCH(QString, keys);
        QFETCH(QList<int>, selected);
        QFETCH(int, page);
        Preview p;
        showSheet(p);
        load(p, barettes(7));
        for (int i = 0; i < 8; ++i)   // a part of the page in view
            p.zoomIn();
        QSignalSpy shown(&p, &Preview::pageShown);
        p.swichPage(p.pageOf(start) + 1);
        p.centerOn(p.field(start));
        click(p, start);
        QTest::keySequence(&p, QKeySequence(keys));
        QCOMPARE(selectedIds(p), selected);
        QCOMPARE(p.currentPage(), page);
        QCOMPARE(shown.isEmpty() ? -1 : shown.last().at(0).toInt(), page);   // for the window's page indicator
        QCOMPARE(p.selectionCount(), selected.size());
        if (!selected.isEmpty())   // scrolled into view
            QVERIFY(p.viewport()->rect().contains(p.mapFromScene(p.field(selected.last())->frame().center())));
    }

    // ------------------------------------------------------ font commands

    void commandsOnSelectedFieldsAreRememberedAcrossRebuilds()
    {
        Preview p;
        showSheet(p);
        load(p, barettes(1));
        click(p, 2, Qt::ControlModifier);
        click(p, 5, Qt::ControlModifier);
        p.changeFontBold();
        for (const MyGraphicsItem *f : p.fields())
            QCOMPARE(f->currentFont().weight() > QFont::Normal, f->fieldId() == 2 || f->fieldId() == 5);
        QCOMPARE(p.document()->font(2).weight(), int(QFont::Bold));
        QCOMPARE(p.document()->font(3).weight(), int(QFont::Normal));

        p.changeFontPixelSize(18);
        p.changeFontItalic();
        p.changeFontUnderline();
        p.setPrinter(Preview::builtInPdfName);   // rebuilds
        const QFont kept = p.fields().at(5)->currentFont();
        QCOMPARE(kept.weight(), int(QFont::Bold));
        QCOMPARE(kept.pixelSize(), 18);
        QCOMPARE(kept.style(), QFont::StyleItalic);
        p.updatePreview();
        for (const MyGraphicsItem *f : p.fields())
            QCOMPARE(f->currentFont().weight() > QFont::Normal, f->fieldId() == 2 || f->fieldId() == 5);
    }

    void commandsOnEveryFieldReachEveryPageAndSurviveRebuilds()
    {
        Preview p;
        showSheet(p);
        load(p, barettes(40));   // more than one page
        QVERIFY(p.pageCount() > 1);
        p.changeFontBold();   // nothing selected: every field of the sheet
        p.setPrinter(Preview::builtInPdfName);
        p.swichPage(int(p.pageCount()));
        for (const MyGraphicsItem *f : p.fields())
            QCOMPARE(f->currentFont().weight(), int(QFont::Bold));
        QCOMPARE(p.document()->font(p.fieldCount() - 1).weight(), int(QFont::Bold));
        p.undoStack()->undo();
        for (const MyGraphicsItem *f : p.fields())
            QCOMPARE(f->currentFont().weight(), int(QFont::Normal));
        // A toggle on a selected field starts from that field's font.
        p.changeFontBold();
        click(p, int(p.firstShownId()) + 3);
        p.changeFontBold();
        QCOMPARE(p.field(p.firstShownId() + 3)->currentFont().weight(), int(QFont::Normal));
        QCOMPARE(p.document()->font(p.firstShownId() + 4).weight(), int(QFont::Bold));
    }

    void sizesBelowSixAreNotApplied()
    {
        Preview p;
        showSheet(p);
        load(p, barettes(1));
        for (int size : {0, 1, 5})
            p.changeFontPixelSize(size);
        for (const MyGraphicsItem *f : p.fields())
            QCOMPARE(f->currentFont().pixelSize(), 10);
        p.changeFontPixelSize(6);
        QCOMPARE(p.fields().at(0)->currentFont().pixelSize(), 6);
    }

    // "Dopasuj rozmiar" and the automatic size on texts of every kind: a
    // changed field fits at its size and would not at one pixel more.
    void sizeFitAndAutomaticSize_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("changed");
        QTest::addColumn<int>("stillOverflowing");   // even at 4 px
        QTest::newRow("long") << "Temperatura zasilania wody w obiegu pierwotnym kotła" << 10 << 1 << 0;
        QTest::newRow("short") << "Start" << 10 << 0 << 0;
        QTest::newRow("empty") << "" << 14 << 0 << 0;
        QTest::newRow("multi-line") << "Pompa\nobiegowa\nrezerwowa" << 14 << 1 << 0;
        QTest::newRow("symbol") << "Ręczny # automat" << 24 << 1 << 0;
        QTest::newRow("too long at 4 px") << QStringLiteral("Przeciwzamrożeniowy").repeated(4) << 10 << 1 << 1;
        QTest::newRow("too long, already below 4 px") << QStringLiteral("Przeciwzamrożeniowy").repeated(5) << 3 << 0 << 1;
    }

    void sizeFitAndAutomaticSize()
    {
        QFETCH(QString, text);
        QFETCH(int, size);
        QFETCH(int, changed);
        QFETCH(int, stillOverflowing);
        Preview p;
        showSheet(p);
        load(p, barettes(1));
        QFont font = p.document()->font(1);
        font.setPixelSize(size);
        p.document()->setContent(1, text, font);
        const MyGraphicsItem *field = p.field(1);
        const auto fitsAt = [&](int pixels) {
            QFont f = font;
            f.setPixelSize(pixels);
            return FieldPainter::fits(text, f, field->frame());
        };
        QSignalSpy said(&p, &Preview::statusMessage);
        p.fitSize();   // nothing selected: every field
        QCOMPARE(said.last().at(0).toString(),
                 stillOverflowing ? QStringLiteral("Dopasowano rozmiar: zmieniono %1; przy rozmiarze 4 nadal nie "
                                                   "mieści się: %2.")
                                        .arg(FitTracker::fieldsText(changed), FitTracker::fieldsText(stillOverflowing))
                                  : QStringLiteral("Dopasowano rozmiar: zmieniono %1. Wszystkie pola mieszczą się.")
                                        .arg(FitTracker::fieldsText(changed)));
        QCOMPARE(p.undoStack()->count(), changed);
        const int fitted = field->currentFont().pixelSize();
        if (stillOverflowing)   // never made larger
            QVERIFY(fitted == qMin(size, 4) && !fitsAt(fitted));
        else if (changed)
            QVERIFY2(fitted < size && fitsAt(fitted) && !fitsAt(fitted + 1), qPrintable(QString::number(fitted)));
        else
            QVERIFY(fitted == size && fitsAt(size));
        QCOMPARE(p.overflowCount(), stillOverflowing);

        // Automatic: the largest size up to 10 that fits, whatever it was;
        // the size fit leaves it automatic.
        font.setPixelSize(1);
        p.document()->setContent(1, text, font);
        p.fitSize();
        const int shown = field->shownFont().pixelSize();
        QCOMPARE(field->currentFont().pixelSize(), 1);
        QCOMPARE(field->textFits(), !stillOverflowing);
        QVERIFY2(stillOverflowing ? shown == 4 : fitsAt(shown) && (shown == 10 || !fitsAt(shown + 1)),
                 qPrintable(QString::number(shown)));
    }

    // After the selection is cleared a font command reaches every field.
    void clearingTheSelection_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("page switch") << "page";
        QTest::newRow("Esc") << "Esc";
        QTest::newRow("click on the empty page") << "page click";
        QTest::newRow("click on a top strip") << "strip click";
    }

    void clearingTheSelection()
    {
        QFETCH(QString, how);
        Preview p;
        showSheet(p);
        load(p, barettes(7));
        click(p, 0);
        const SheetLayout &layout = p.layout();
        const QPointF empty(layout.fAvailableArea.center().x(), layout.fAvailableArea.bottom() - 20);
        const QPointF strip = layout.stripRect(layout.baretteOrigin(1, 1)).center();
        if (how == QLatin1String("page"))
            p.swichPage(2);
        else if (how == QLatin1String("Esc"))
            QTest::keyClick(&p, Qt::Key_Escape);
        else
            QTest::mouseClick(p.viewport(), Qt::LeftButton, {}, p.mapFromScene(how == "strip click" ? strip : empty));
        QCOMPARE(selectedIds(p), QList<int>{});
        p.changeFontUnderline();
        QVERIFY(p.document()->font(60).underline());
        QVERIFY(p.document()->font(1).underline());
    }

    // --------------------------------------------------------------- zoom

    void zoomPercentages()
    {
        Preview p;
        showSheet(p);
        QSignalSpy zoom(&p, &Preview::zoomChanged);
        for (int i = 0; i < 9; ++i)
            p.zoomIn();
        QList<int> reported;
        for (const QList<QVariant> &args : std::as_const(zoom))
            reported.append(args.at(0).toInt());
        QCOMPARE(reported, (QList<int>{114, 132, 152, 174, 201, 231, 266, 305, 351}));
        QCOMPARE(p.zoomStep(), 10);
        p.zoomReset();
        QCOMPARE(p.zoomStep(), 1);
        QCOMPARE(zoom.last().at(0).toInt(), 100);
    }

    void wheelZoomsAroundTheMouseAndNeverScrolls()
    {
        Preview p;
        showSheet(p);
        load(p, barettes(1));
        const double fitted = p.transform().m11();
        QSignalSpy zoom(&p, &Preview::zoomChanged);
        // Level with the page's centre, where the fitted page has as much room
        // left and right as the zoom needs; the point under the mouse stays put.
        const QPoint at(p.viewport()->width() / 2, 300);
        const QPointF under = p.mapToScene(at);
        auto wheel = [&](int delta) {
            QWheelEvent event(at, p.viewport()->mapToGlobal(at), {}, QPoint(0, delta), Qt::NoButton, {},
                              Qt::NoScrollPhase, false);
            QApplication::sendEvent(p.viewport(), &event);
        };
        for (int i = 0; i < 3; ++i)
            wheel(120);
        QCOMPARE(p.zoomStep(), 4);
        QVERIFY((p.mapToScene(at) - under).manhattanLength() < 2);
        for (int i = 0; i < 5; ++i)
            wheel(-120);
        QCOMPARE(p.zoomStep(), 1);
        QList<int> reported;
        for (const QList<QVariant> &args : std::as_const(zoom))
            reported.append(args.at(0).toInt());
        QCOMPARE(reported, (QList<int>{114, 132, 152, 132, 114, 100, 100, 100}));
        QVERIFY(std::abs(p.transform().m11() - fitted) < 1e-9);
        // At the fitted scale a wheel turn neither zooms out further nor scrolls.
        const int scroll = p.verticalScrollBar()->value();
        wheel(-120);
        QCOMPARE(p.verticalScrollBar()->value(), scroll);
    }

    void zoomStopsAtItsBounds()
    {
        Preview p;
        showSheet(p);
        load(p, barettes(1));
        const double fitted = p.transform().m11();
        QSignalSpy zoom(&p, &Preview::zoomChanged);
        for (int i = 0; i < 200; ++i)
            p.zoomIn();
        QCOMPARE(p.zoomStep(), Preview::maxZoomLevel);
        QCOMPARE(zoom.last().at(0).toInt(), 2862);
        QVERIFY(std::abs(p.transform().m11() / fitted - std::pow(1.15, Preview::maxZoomLevel - 1)) < 1e-6);

        // The wheel is as inert there as the button: no zoom, no scroll.
        const QTransform top = p.transform();
        const QPoint scroll(p.horizontalScrollBar()->value(), p.verticalScrollBar()->value());
        const QPoint at(100, 100);
        QWheelEvent event(at, p.viewport()->mapToGlobal(at), {}, QPoint(0, 120), Qt::NoButton, {},
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(p.viewport(), &event);
        QCOMPARE(p.transform(), top);
        QCOMPARE(QPoint(p.horizontalScrollBar()->value(), p.verticalScrollBar()->value()), scroll);
        QCOMPARE(zoom.last().at(0).toInt(), 2862);
    }

    void pageSwitchKeepsTheZoom()
    {
        Preview p;
        showSheet(p);
        load(p, barettes(7));
        p.zoomIn();
        const QTransform zoomed = p.transform();
        p.swichPage(2);
        QCOMPARE(p.transform(), zoomed);
        QCOMPARE(p.zoomStep(), 2);
        QCOMPARE(p.scene(), p.page(1));
    }
};

QTEST_MAIN(TestSheet)
#include "tst_sheet.moc"
