#include "app/mainwindow.h"
#include "app/recovery.h"
#include "dialogs/recoverydialog.h"
#include "document/sheetdocument.h"
#include "files/projectfile.h"
#include "files/recoveryfile.h"
#include "files/recoveryfolder.h"
#include "files/settings.h"
#include "geometry/gbgeometry.h"
#include "sheet/preview.h"

#include "fakeprompts.h"
#include "windowactions.h"
#include "testfiles.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <QFile>
#include <QGuiApplication>
#include <QSignalSpy>
#include <QProcess>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QTest>
#include <QTreeWidget>
#include <QPushButton>
#include <QDateTime>

#include <QDirIterator>
#include <QStatusBar>
#include <QTemporaryDir>

#include <csignal>
#include <cstdio>

#include <memory>

#include <grp.h>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Sheet
{
    QStringList texts;
    QList<QFont> fonts;
};

Sheet sheetOf(const Preview *preview)
{
    Sheet sheet;
    const SheetDocument *document = preview->document();
    sheet.texts = document->allTexts().toList();
    for (qsizetype id = 0; id < qMax(document->lineCount(), preview->fieldCount()); ++id)
        sheet.fonts.append(document->font(id));
    return sheet;
}

std::unique_ptr<MainWindow> openWindow(const QString &file = QString())
{
    auto window = std::make_unique<MainWindow>();
    window->show();
    if (!file.isEmpty())
        window->openFromCommandLine({QStringLiteral("lamello"), file});
    return window;
}

void trigger(MainWindow &window, const QString &text)
{
    QAction *named = action(window, text);
    QVERIFY2(named, qPrintable(text));
    named->trigger();
}

// Answers the recovery offer through its buttons: `choice` for its newest
// copy (Later: the dialog closed); the rows offered are added to `offered`,
// one text a row.
void answerOffer(FakePrompts &prompts, RecoveryDialog::Choice choice, QStringList *offered = nullptr)
{
    prompts.dialogs = [choice, offered](QDialog &dialog) {
        auto *offer = qobject_cast<RecoveryDialog *>(&dialog);
        if (!offer)
            return int(QDialog::Rejected);
        auto *rows = offer->findChild<QTreeWidget *>(QStringLiteral("twCopies"));
        for (int row = 0; offered && row < rows->topLevelItemCount(); ++row) {
            const QTreeWidgetItem *item = rows->topLevelItem(row);
            offered->append(item->text(0) + QStringLiteral(" | ") + item->text(1) + QStringLiteral(" | ")
                            + item->text(2));
        }
        rows->setCurrentItem(rows->topLevelItem(0));
        if (choice == RecoveryDialog::Choice::Restore)
            offer->findChild<QPushButton *>(QStringLiteral("pbRestore"))->click();
        else if (choice == RecoveryDialog::Choice::Discard)
            offer->findChild<QPushButton *>(QStringLiteral("pbDiscard"))->click();
        else
            offer->findChild<QPushButton *>(QStringLiteral("pbLater"))->click();
        return offer->result();
    };
}

// A copy of one field's text, as a window writes it.
QByteArray copyOf(const QString &text)
{
    RecoveryCopy copy;
    copy.savedAt = QDateTime::currentMSecsSinceEpoch();
    copy.texts = {text};
    copy.lineCount = 1;
    return RecoveryCopy::serialize(copy);
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

QStringList recoveryFiles()
{
    return QDir(Recovery::folder()).entryList(QDir::Files | QDir::System, QDir::Name);
}

} // namespace

class TestRecovery : public QObject
{
    Q_OBJECT

    FakePrompts prompts;
    TestFiles files;

private slots:
    void initTestCase() { useTestSettings(); }

    void init()
    {
        prompts.messages.clear();
        prompts.questions.clear();
        prompts.questionAnswers.clear();
        prompts.modalDialogs.clear();
        prompts.dialogs = {};
        freshSettings();
    }

    // A window that dies with unsaved edits (dropped without its clean
    // quit, as a kill leaves it) leaves a copy; the next window offers it
    // and "Przywróć" brings back the texts and fonts the user saw, the
    // project for Ctrl+S and the unsaved mark, whatever became of the
    // descriptions file since.
    void restoresAfterKill_data()
    {
        QTest::addColumn<QString>("afterwards");
        QTest::addColumn<bool>("project");
        QTest::newRow("source unchanged") << QString() << false;
        QTest::newRow("source changed") << QStringLiteral("changed") << false;
        QTest::newRow("source deleted") << QStringLiteral("deleted") << false;
        QTest::newRow("project, its texts deleted") << QStringLiteral("deleted") << true;
        QTest::newRow("copy of the first format") << QStringLiteral("version 1") << true;
        QTest::newRow("opened by a relative path, restored in another folder") << QStringLiteral("relative") << false;
    }
    void restoresAfterKill()
    {
        QFETCH(QString, afterwards);
        QFETCH(bool, project);
        QString source = files.write(QStringLiteral("pumps.txt"), barettes(30, 8, true));
        const QString projectPath = files.path(QStringLiteral("pumps.lmpro"));
        Sheet before;
        const QString startFolder = QDir::currentPath();
        const auto back = qScopeGuard([&] { QDir::setCurrent(startFolder); });
        const bool relative = afterwards == QLatin1String("relative");
        if (relative)
            QDir::setCurrent(QFileInfo(source).path());
        {
            auto window = openWindow(relative ? QFileInfo(source).fileName() : source);
            Preview *preview = window->sheetPreview();
            SheetDocument *document = preview->document();
            if (project) {
                prompts.fileAnswers = {projectPath};
                QVERIFY(preview->saveProjectAs());
                prompts.messages.clear();
                source = ProjectFile::textsPath(projectPath);
            }
            QFont bold = document->font(3);
            bold.setBold(true);
            document->editField(3, QStringLiteral("Pompa@P-1"), bold, QStringLiteral("edycja"));
            document->editField(275, QStringLiteral("past the file"), document->font(275), QStringLiteral("edycja"));
            // Written a moment after the edits settle.
            const QString copy = window->sheetRecovery()->copyPath();
            QVERIFY(!QFile::exists(copy));
            QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(copy), 5000);
            // Later copies: a font changed, then a text alone.
            QFont italic = document->font(5);
            italic.setItalic(true);
            document->editField(5, QStringLiteral("Zegar"), italic, QStringLiteral("edycja"));
            window->sheetRecovery()->writeNow();
            document->editField(7, QStringLiteral("Start"), document->font(7), QStringLiteral("edycja"));
            window->sheetRecovery()->writeNow();
            before = sheetOf(preview);
        }
        if (relative) {
            // Another folder with a file of the same name.
            const QString elsewhere = files.path(QStringLiteral("elsewhere"));
            QVERIFY(QDir().mkpath(elsewhere));
            QFile other(elsewhere + QStringLiteral("/pumps.txt"));
            QVERIFY(other.open(QIODevice::WriteOnly) && other.write(barettes(2)) > 0);
            QDir::setCurrent(elsewhere);
        } else if (afterwards == QLatin1String("changed"))
            files.write(QFileInfo(source).fileName(), barettes(2));
        else if (afterwards == QLatin1String("deleted"))
            QVERIFY(QFile::remove(source));
        else if (afterwards == QLatin1String("version 1")) {
            // As the first format wrote it: no geometry nor workbook after the fonts.
            const QStringList copies = QDir(Recovery::folder()).entryList({QStringLiteral("*.lmrec")}, QDir::Files);
            QCOMPARE(copies.size(), 1);
            QFile file(QDir(Recovery::folder()).filePath(copies[0]));
            QVERIFY(file.open(QIODevice::ReadOnly));
            RecoveryCopy copy = RecoveryCopy::parse(file.readAll()).copy;
            file.close();
            copy.geometry = {};
            copy.workbookPath.clear();
            copy.workbookMapping.clear();
            copy.pasted = false;
            QByteArray bytes = RecoveryCopy::serialize(copy);
            bytes.chop(4 + 4 + 4 + 1);
            bytes[11] = 1;
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(bytes);
        }

        auto window = openWindow();
        QStringList offered;
        answerOffer(prompts, RecoveryDialog::Choice::Restore, &offered);
        QVERIFY(window->offerRecovery());
        QCOMPARE(offered.size(), 1);
        // What the copy holds: the sheet, the fields written over, the first.
        QVERIFY2(offered[0].startsWith(project ? QStringLiteral("pumps.lmpro") : QStringLiteral("pumps.txt"))
                     && offered[0].endsWith(QStringLiteral("4 zmienione pola, pierwsze: „Pompa”")),
                 qPrintable(offered[0]));
        const Sheet after = sheetOf(window->sheetPreview());
        QCOMPARE(after.texts, before.texts);
        QCOMPARE(after.fonts, before.fonts);
        QVERIFY(window->sheetPreview()->document()->isModified());
        QVERIFY(window->isWindowModified());
        QCOMPARE(window->sheetPreview()->projectPath(), project ? projectPath : QString());
        // F5 and the editor read the file the sheet came from.
        QCOMPARE(window->sheetPreview()->filePath, source);
        QVERIFY2(prompts.messages.isEmpty(), qPrintable(prompts.messages.value(0).text));
        // The restoring window's copy has taken the old one's place.
        window->sheetRecovery()->flush();
        QCOMPARE(recoveryFiles().filter(RecoveryCopy::suffix).size(), 1);
        QVERIFY(QFile::exists(window->sheetRecovery()->copyPath()));
    }

    // The copy brings the sheet back under the geometry it had, whatever
    // the next window starts with: a workbook's with the mapping F5 reads it
    // again with (the settings no longer know it), and one whose barettes
    // this printer's page cannot hold applied as by hand, texts kept.
    void restoresGeometryAndWorkbook_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("workbook, a row a barette of 6 labels") << QStringLiteral("workbook");
        QTest::newRow("pasted cells") << QStringLiteral("pasted");
        QTest::newRow("geometry the printer cannot hold") << QStringLiteral("wide");
    }
    void restoresGeometryAndWorkbook()
    {
        QFETCH(QString, kind);
        const bool workbook = kind == QLatin1String("workbook");
        const QByteArray rows = "Pompa;P1;P2;P3;P4;P5;P6\nZawór;Z1;Z2;Z3;Z4;Z5;Z6\n";
        const QString csv = files.write(QStringLiteral("rows.csv"), rows);
        Sheet before;
        GeometryPreset geometry;
        QString title;
        {
            auto window = openWindow(kind == QLatin1String("wide") ? files.write(QStringLiteral("wide.txt"), barettes(3))
                                                                   : QString());
            SheetDocument *document = window->sheetPreview()->document();
            QFont bold = document->font(2);
            bold.setBold(true);
            prompts.dialogs = [](QDialog &dialog) {
                dialog.findChild<QRadioButton *>(QStringLiteral("rbRows"))->setChecked(true);
                dialog.findChild<QLineEdit *>(QStringLiteral("leLabelColumns"))->setText(QStringLiteral("B-G"));
                dialog.findChild<QCheckBox *>(QStringLiteral("cbHeadings"))->setChecked(false);
                return int(QDialog::Accepted);
            };
            prompts.questionAnswers = {QMessageBox::Yes};   // 6 labels a barette
            if (workbook) {
                prompts.fileAnswers = {csv};
                trigger(*window, QStringLiteral("Importuj &arkusz…"));
            } else if (kind == QLatin1String("pasted")) {
                QGuiApplication::clipboard()->setText(QString::fromUtf8(rows).replace(QLatin1Char(';'), QLatin1Char('\t')));
                trigger(*window, QStringLiteral("Wklej z &arkusza"));
                // Cells in no file are unsaved, their copy written at once.
                QVERIFY(window->isWindowModified());
                QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(window->sheetRecovery()->copyPath()), Recovery::settleMs / 2);
            }
            document->editField(2, QStringLiteral("Praca"), bold, QStringLiteral("edycja"));
            window->sheetRecovery()->writeNow();
            QTRY_VERIFY(QFile::exists(window->sheetRecovery()->copyPath()));
            if (kind == QLatin1String("wide")) {
                // A new geometry is written at once, not after edits settle.
                window->findChild<GbGeometry *>()->apply(
                    {QStringLiteral("Szeroka"), QRectF(0, 0, 95, 12), QRectF(0, 0, 95, 9), 10});
                window->sheetRecovery()->flush();
                QFile copy(window->sheetRecovery()->copyPath());
                QVERIFY(copy.open(QIODevice::ReadOnly));
                QCOMPARE(RecoveryCopy::parse(copy.readAll()).copy.geometry.labelsPerBarette, 10);
            }
            before = sheetOf(window->sheetPreview());
            geometry = window->findChild<GbGeometry *>()->geometryInForce();
            title = window->windowTitle();
        }
        QCOMPARE(geometry.labelsPerBarette, kind == QLatin1String("wide") ? 10 : 6);
        // The next start knows neither the geometry nor the mapping.
        QVERIFY(QFile::remove(Settings::filePath()));
        auto window = openWindow();
        Preview *preview = window->sheetPreview();
        if (kind == QLatin1String("wide"))
            QVERIFY(preview->setAvailableArea(QRectF(5, 5, 80, 280)));
        answerOffer(prompts, RecoveryDialog::Choice::Restore);
        QVERIFY(window->offerRecovery());
        const Sheet after = sheetOf(preview);
        QCOMPARE(after.texts, before.texts);
        QCOMPARE(after.fonts.mid(0, before.texts.size()), before.fonts.mid(0, before.texts.size()));
        QCOMPARE(window->findChild<GbGeometry *>()->geometryInForce(), geometry);
        QCOMPARE(window->windowTitle(), title);
        QVERIFY(window->isWindowModified());
        if (kind == QLatin1String("wide"))
            QCOMPARE(preview->fieldCount(), 0);
        if (!workbook)
            return;
        files.write(QStringLiteral("rows.csv"), "Pompa 2;P1;P2;P3;P4;P5;P6\nZawór;Z1;Z2;Z3;Z4;Z5;Z6\n");
        prompts.questionAnswers = {QMessageBox::Discard};
        prompts.modalDialogs.clear();
        trigger(*window, QStringLiteral("&Wczytaj ponownie"));
        QVERIFY(prompts.modalDialogs.isEmpty());
        QCOMPARE(preview->document()->text(0), QStringLiteral("Pompa 2"));
        QCOMPARE(preview->document()->text(7), QStringLiteral("Zawór"));
    }

    // The program itself, killed with SIGKILL a moment after an edit: the
    // next start of the program is offered the copy and "Przywróć" brings
    // back the texts and fonts, which its project then holds.
    void restoresInTheNextProcess()
    {
        const QString home = files.path(QStringLiteral("home"));
        const QString source = files.write(QStringLiteral("pumps.txt"), barettes(4));
        const QString project = files.path(QStringLiteral("restored.lmpro"));
        const auto program = [&](const QStringList &arguments, const QString &script) {
            auto process = std::make_unique<QProcess>();
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("HOME"), home);
            env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
            env.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/data"));
            env.insert(QStringLiteral("LAMELLO_TEST_SCRIPT"), script);
            process->setProcessEnvironment(env);
            process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
            process->start(QStringLiteral(LAMELLO_WINDOW), arguments);
            return process;
        };
        const QString folder = home + QStringLiteral("/data/Lamello/lamello/recovery");
        auto killed = program({source}, QStringLiteral("edit 3 Pompa@P-1\nbold 3"));
        QVERIFY(killed->waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(!QDir(folder).entryList({QStringLiteral("*.lmrec")}, QDir::Files).isEmpty(), 20000);
        // While the program runs, its copy is no other window's to offer.
        const std::atomic<bool> going = false;
        QVERIFY(RecoveryFolder::scan(folder, QString(), 0, going).isEmpty());
        ::kill(pid_t(killed->processId()), SIGKILL);
        QVERIFY(killed->waitForFinished());

        auto next = program({}, QStringLiteral("answer yes\nfile %1\nsaveas\nquit").arg(project));
        QVERIFY(next->waitForFinished(30000));
        QCOMPARE(next->exitCode(), 0);
        QFile texts(ProjectFile::textsPath(project));
        QFile fonts(project);
        QVERIFY(texts.open(QIODevice::ReadOnly) && fonts.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = texts.readAll().split('\n');
        QCOMPARE(lines.value(3), QByteArray("Pompa@P-1"));
        QCOMPARE(lines.value(4), QByteArray("L0.4"));
        const QList<QFont> saved = ProjectFile::parseFonts(fonts.readAll()).fonts;
        QCOMPARE(saved.size(), 36);
        for (qsizetype id = 0; id < saved.size(); ++id)
            QCOMPARE(saved[id].bold(), id == 3);
    }

    // "Później" keeps the copy for the next start, "Porzuć" removes it; the
    // copy of a window still running is never offered; a save and a clean
    // quit leave no copy.
    void answersAndSaves()
    {
        const QString source = files.write(QStringLiteral("later.txt"), barettes(3));
        auto running = openWindow(source);
        SheetDocument *document = running->sheetPreview()->document();
        document->editField(0, QStringLiteral("X"), document->font(0), QStringLiteral("edycja"));
        running->sheetRecovery()->writeNow();
        const QString copy = running->sheetRecovery()->copyPath();
        QTRY_VERIFY(QFile::exists(copy));
        {
            auto other = openWindow();
            QVERIFY(!other->offerRecovery());
            QVERIFY(prompts.modalDialogs.isEmpty());
        }
        // A failed save keeps the copy, a save removes it.
        prompts.fileAnswers = {files.path(QStringLiteral("no-such-folder/x.lmpro"))};
        QVERIFY(!running->sheetPreview()->saveProjectAs());
        QVERIFY(QFile::exists(copy));
        prompts.fileAnswers = {files.path(QStringLiteral("later.lmpro"))};
        QVERIFY(running->sheetPreview()->saveProjectAs());
        QVERIFY(!QFile::exists(copy));
        document->editField(1, QStringLiteral("Y"), document->font(1), QStringLiteral("edycja"));
        running->sheetRecovery()->writeNow();
        QTRY_VERIFY(QFile::exists(copy));
        running.reset();

        using Choice = RecoveryDialog::Choice;
        for (const auto answer : {Choice::Later, Choice::Later, Choice::Discard}) {
            auto window = openWindow();
            answerOffer(prompts, answer);
            QVERIFY(!window->offerRecovery());
            QCOMPARE(QFile::exists(copy), answer == Choice::Later);
        }
        QCOMPARE(prompts.modalDialogs.size(), 3);

        // "Porzuć" at quit leaves nothing either.
        auto quitting = openWindow(source);
        document = quitting->sheetPreview()->document();
        document->editField(0, QStringLiteral("Z"), document->font(0), QStringLiteral("edycja"));
        quitting->sheetRecovery()->writeNow();
        const QString quitCopy = quitting->sheetRecovery()->copyPath();
        QTRY_VERIFY(QFile::exists(quitCopy));
        // Copies still being written on their thread, or waiting for it, do
        // not come back after.
        for (int field = 1; field <= 2; ++field) {
            document->editField(field, QStringLiteral("Z"), document->font(field), QStringLiteral("edycja"));
            quitting->sheetRecovery()->writeNow();
        }
        prompts.questionAnswers = {QMessageBox::Discard};
        QVERIFY(quitting->close());
        QTest::qWait(200);
        QVERIFY(!QFile::exists(quitCopy));
    }

    // A window process killed at any moment while it writes copies (an edit
    // and a copy after another on a large sheet) leaves a copy that reads,
    // the old one or the new one, never a part of one.
    void killedWhileWriting()
    {
        const QString source = files.write(QStringLiteral("large.txt"), barettes(100'000));
        const QString folder = Recovery::folder();
        for (int round = 0; round < 30; ++round) {
            QDir(folder).removeRecursively();
            QProcess child;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("TST_RECOVERY_WRITER"), source);
            child.setProcessEnvironment(env);
            child.start(QCoreApplication::applicationFilePath(), {});
            QVERIFY(child.waitForStarted());
            // Until the first copy is there, then a moment more.
            QTRY_VERIFY_WITH_TIMEOUT(!QDir(folder).entryList({QStringLiteral("*.lmrec")}, QDir::Files).isEmpty(),
                                     60000);
            QTest::qWait(int(QRandomGenerator::global()->bounded(200)));
            ::kill(pid_t(child.processId()), SIGKILL);
            QVERIFY(child.waitForFinished());
            const QStringList copies = QDir(folder).entryList({QStringLiteral("*.lmrec")}, QDir::Files);
            QCOMPARE(copies.size(), 1);
            QFile file(QDir(folder).filePath(copies[0]));
            QVERIFY(file.open(QIODevice::ReadOnly));
            const RecoveryCopy::Read read = RecoveryCopy::parse(file.readAll());
            QCOMPARE(read.status, RecoveryCopy::Status::Ok);
            QVERIFY(!read.copy.edits.isEmpty());
            if (round < 29)
                continue;
            // The killed window's copy is offered and, as opening its file
            // would, the large sheet asked about: "Nie" keeps the copy for
            // the next start, where it restores its edits.
            {
                auto declined = openWindow();
                answerOffer(prompts, RecoveryDialog::Choice::Restore);
                prompts.questionAnswers = {QMessageBox::No};
                QVERIFY(!declined->offerRecovery());
                QCOMPARE(prompts.questions.size(), 1);
                QVERIFY2(prompts.questions[0].text.contains(QStringLiteral("100000 baretek")),
                         qPrintable(prompts.questions[0].text));
            }
            auto window = openWindow();
            prompts.questionAnswers = {QMessageBox::Yes};
            QVERIFY(window->offerRecovery());
            const SheetDocument *document = window->sheetPreview()->document();
            QCOMPARE(document->lineCount(), 900'000);
            for (const auto &[id, text] : read.copy.edits)
                QCOMPARE(document->text(id), QStringLiteral("Pompa %1").arg(id));
            QCOMPARE(document->text(1), QStringLiteral("L0.1"));
        }
        QDir(folder).removeRecursively();
    }

    // What cannot be offered never holds up the start: said in one message
    // a start (a damaged copy, set aside, and a newer version's, left for
    // it, only once), a lock that is no regular file keeps its copy where it
    // is, a lock no window wrote is taken over, and what a window killed
    // before its first copy left is removed.
    void unreadableCopyKeptAside_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("offers");     // over two starts
        QTest::addColumn<int>("messages");   // over two starts
        QTest::addColumn<QString>("said");
        QTest::addColumn<QString>("left");   // what is in the folder afterwards
        const QString aside = QStringLiteral("c.lmrec.unreadable");
        QTest::newRow("damaged") << QStringLiteral("damaged") << 0 << 1 << QStringLiteral(".unreadable") << aside;
        QTest::newRow("more edits than lines") << QStringLiteral("edits") << 0 << 1 << QStringLiteral("uszkodzony") << aside;
        QTest::newRow("fonts more than their runs") << QStringLiteral("fonts") << 0 << 1 << QStringLiteral("uszkodzony") << aside;
        QTest::newRow("over 1 GB") << QStringLiteral("large") << 0 << 1 << QStringLiteral("1025 MB") << aside;
        QTest::newRow("no permission to read it") << QStringLiteral("denied") << 0 << 2 << QStringLiteral("brak uprawnień")
                                                  << QStringLiteral("c.lmrec");
        QTest::newRow("of a newer version") << QStringLiteral("newer") << 0 << 1 << QStringLiteral("nowsza wersja") << QStringLiteral("c.lmrec c.newer");
        QTest::newRow("lock a FIFO") << QStringLiteral("fifo") << 0 << 2 << QStringLiteral("c.lock nie jest zwykłym plikiem") << QStringLiteral("c.lmrec c.lock");
        QTest::newRow("lock a folder") << QStringLiteral("folder") << 0 << 2 << QStringLiteral("c.lock nie jest zwykłym plikiem") << QStringLiteral("c.lmrec");
        QTest::newRow("lock empty") << QStringLiteral("empty") << 2 << 0 << QStringLiteral("") << QStringLiteral("c.lmrec");
        QTest::newRow("lock garbage") << QStringLiteral("garbage") << 2 << 0 << QStringLiteral("") << QStringLiteral("c.lmrec");
        QTest::newRow("lock of 300 MB") << QStringLiteral("huge") << 2 << 0 << QStringLiteral("") << QStringLiteral("c.lmrec");
        QTest::newRow("orphans of a window killed before its copy") << QStringLiteral("orphans") << 0 << 0 << QStringLiteral("") << QStringLiteral("");
    }
    void unreadableCopyKeptAside()
    {
        QFETCH(QString, kind);
        QFETCH(int, offers);
        QFETCH(int, messages);
        QFETCH(QString, said);
        QFETCH(QString, left);
        QDir(Recovery::folder()).removeRecursively();
        QVERIFY(QDir().mkpath(Recovery::folder()));
        const QString base = QDir(Recovery::folder()).filePath(QStringLiteral("c"));
        const QString copy = base + RecoveryCopy::suffix;
        const QString lock = base + QStringLiteral(".lock");
        const QByteArray magic("LMREC\r\n\x1a", 8);
        RecoveryCopy bounded;
        bounded.lineCount = 2;
        bounded.sourceHash = RecoveryCopy::hash("x");
        if (kind == QLatin1String("damaged")) {
            writeFile(copy, magic + QByteArray(4, '\0') + QByteArray(3, '\x01'));
        } else if (kind == QLatin1String("edits")) {
            bounded.edits = {{0, QStringLiteral("A")}, {1, QStringLiteral("B")}, {0, QStringLiteral("C")}};
            writeFile(copy, RecoveryCopy::serialize(bounded));
        } else if (kind == QLatin1String("fonts")) {
            bounded.fontTable = {QFont(), QFont(QStringLiteral("Serif")), QFont(QStringLiteral("Mono"))};
            bounded.fontRuns = {{0, 2}};
            writeFile(copy, RecoveryCopy::serialize(bounded));
        } else if (kind == QLatin1String("large")) {
            writeFile(copy, copyOf(QStringLiteral("A")));
            QVERIFY(QFile::resize(copy, RecoveryCopy::maxFileSize + 1));
        } else if (kind == QLatin1String("newer")) {
            writeFile(copy, magic + QByteArray("\0\0\0\x63", 4) + QByteArray(100, 'x'));
        } else if (kind == QLatin1String("denied")) {
            writeFile(copy, copyOf(QStringLiteral("Pompa")));
            QCOMPARE(::chmod(QFile::encodeName(copy).constData(), 0), 0);
            QCOMPARE(::chmod(QFile::encodeName(Recovery::folder()).constData(), 0777), 0);
        } else if (kind == QLatin1String("orphans")) {
            writeFile(base + RecoveryCopy::sourceSuffix, barettes(2));
            writeFile(lock, "garbage");
        } else {
            writeFile(copy, copyOf(QStringLiteral("Pompa")));
        }
        if (kind == QLatin1String("fifo"))
            QCOMPARE(::mkfifo(QFile::encodeName(lock).constData(), 0600), 0);
        else if (kind == QLatin1String("folder"))
            QVERIFY(QDir().mkpath(lock));
        else if (kind == QLatin1String("empty"))
            writeFile(lock, QByteArray());
        else if (kind == QLatin1String("garbage"))
            writeFile(lock, "\x01\x02garbage\n");
        else if (kind == QLatin1String("huge"))
            QVERIFY(QFile::resize((writeFile(lock, "1\n"), lock), qint64(300) << 20));
        // Locks are never new: one a minute old was not being written.
        if (QFileInfo(lock).isFile()) {
            QFile file(lock);
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-60), QFileDevice::FileModificationTime));
        }
        QStringList offered;
        for (int start = 0; start < 2; ++start) {
            auto window = openWindow();
            answerOffer(prompts, RecoveryDialog::Choice::Later, &offered);
            // Root reads any file: the offer is then made as another user.
            const passwd *nobody = ::getpwnam("nobody");
            const bool drop = kind == QLatin1String("denied") && ::geteuid() == 0 && nobody;
            if (drop)
                QCOMPARE(::seteuid(nobody->pw_uid), 0);
            const auto back = qScopeGuard([drop] {
                if (drop)
                    (void)::seteuid(0);
            });
            QVERIFY(!window->offerRecovery());
        }
        QCOMPARE(offered.size(), offers);
        QCOMPARE(prompts.messages.size(), messages);
        if (messages > 0)
            QVERIFY2(prompts.messages[0].text.contains(said), qPrintable(prompts.messages[0].text));
        QCOMPARE(recoveryFiles().join(QLatin1Char(' ')), left);
        QFile::remove(lock);
        QDir().rmdir(lock);
    }

    // The copies of two windows of one file killed are offered in one
    // dialog, newest first, each saying what it holds and when to the
    // second; many damaged ones are one message.
    void offersEveryCopyInOneDialog()
    {
        const QString source = files.write(QStringLiteral("panel.txt"), barettes(3));
        for (const QString &text : {QStringLiteral("Starsza"), QStringLiteral("Nowsza")}) {
            auto window = openWindow(source);
            SheetDocument *document = window->sheetPreview()->document();
            document->editField(text.size(), text, document->font(0), QStringLiteral("edycja"));
            if (text == QLatin1String("Nowsza"))
                document->editField(20, text, document->font(0), QStringLiteral("edycja"));
            window->sheetRecovery()->writeNow();
            window->sheetRecovery()->flush();
            QTest::qWait(1100);
        }
        for (int copy = 0; copy < 12; ++copy)
            writeFile(QDir(Recovery::folder()).filePath(QStringLiteral("d%1.lmrec").arg(copy)), "LMREC\r\n\x1a");
        auto window = openWindow();
        QStringList offered;
        answerOffer(prompts, RecoveryDialog::Choice::Restore, &offered);
        QVERIFY(window->offerRecovery());
        QCOMPARE(offered.size(), 2);
        QVERIFY2(offered[0].endsWith(QStringLiteral("2 zmienione pola, pierwsze: „Nowsza”")), qPrintable(offered[0]));
        QVERIFY2(offered[1].endsWith(QStringLiteral("1 zmienione pole, pierwsze: „Starsza”")), qPrintable(offered[1]));
        QVERIFY(offered[0].split(QStringLiteral(" | "))[1] != offered[1].split(QStringLiteral(" | "))[1]);
        QCOMPARE(window->sheetPreview()->document()->text(6), QStringLiteral("Nowsza"));
        QCOMPARE(prompts.messages.size(), 1);
        QVERIFY2(prompts.messages[0].text.contains(QStringLiteral("… i 2 inne")), qPrintable(prompts.messages[0].text));
        QDir(Recovery::folder()).removeRecursively();
    }

    // A recovery folder that cannot hold copies is said once; the window
    // works on and nothing is written through the link. A read-only folder
    // (a child process of an unprivileged user, its folders root's, 0555)
    // and a full disk (a child under a file size limit) leave no file
    // anywhere, not even a part of one.
    // A workbook's or pasted cells' texts go to the copy as the sheet holds
    // them (packed, written over, packed anew) and are written exactly as
    // the same texts as a list.
    void wholeTextsWrittenAsAList_data()
    {
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QStringList>("edited");   // written over them, from id 0 on; null: left
        QTest::newRow("outside Latin-1") << QStringList{"Łódź", "Ω\U0001F527", "x"} << QStringList{};
        QTest::newRow("empty texts") << QStringList{"", "a", ""} << QStringList{QString(), ""};
        QTest::newRow("the last text written over") << QStringList{"a", "b"} << QStringList{QString(), "Żółw"};
        QTest::newRow("written past the last text") << QStringList{"a"} << QStringList{QString(), QString(), "ω"};
        QTest::newRow("the first texts and one between written over")
            << QStringList{"a", "bb", "c", "dd", "e"} << QStringList{"Ą", "", QString(), "ωω\U0001F527"};
    }
    void wholeTextsWrittenAsAList()
    {
        QFETCH(QStringList, texts);
        QFETCH(QStringList, edited);
        SheetTexts held(texts);
        for (qsizetype id = 0; id < edited.size(); ++id) {
            if (!edited.at(id).isNull()) {
                held.set(id, edited.at(id));
                texts.resize(std::max(texts.size(), id + 1));
                texts[id] = edited.at(id);
            }
        }
        RecoveryCopy list;
        list.savedAt = 1;
        list.lineCount = texts.size();
        list.texts = texts;
        RecoveryCopy sheet = list;
        sheet.texts.clear();
        sheet.sheetTexts = held;
        QCOMPARE(RecoveryCopy::serialize(sheet), RecoveryCopy::serialize(list));
        held.repack();
        sheet.sheetTexts = held;
        QCOMPARE(RecoveryCopy::serialize(sheet), RecoveryCopy::serialize(list));
        QCOMPARE(RecoveryCopy::parse(RecoveryCopy::serialize(sheet)).copy.texts, texts);
    }

    void unusableFolder_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("FIFO") << QStringLiteral("fifo");
        QTest::newRow("link to a device") << QStringLiteral("device");
        QTest::newRow("read-only folder") << QStringLiteral("read-only");
        QTest::newRow("full disk") << QStringLiteral("full");
    }
    void unusableFolder()
    {
        QFETCH(QString, kind);
        if (kind == QLatin1String("read-only") || kind == QLatin1String("full"))
            return unusableInChild(kind == QLatin1String("read-only"));
        const QString folder = Recovery::folder();
        QVERIFY(QDir().mkpath(QFileInfo(folder).path()));
        if (kind == QLatin1String("fifo"))
            QCOMPARE(::mkfifo(QFile::encodeName(folder).constData(), 0600), 0);
        else
            QVERIFY(QFile::link(QStringLiteral("/dev/null"), folder));
        const QString source = files.write(QStringLiteral("fifo.txt"), barettes(2));
        auto window = openWindow(source);
        QSignalSpy said(window->sheetRecovery(), &Recovery::statusMessage);
        SheetDocument *document = window->sheetPreview()->document();
        for (int edit = 0; edit < 2; ++edit) {
            document->editField(edit, QStringLiteral("E"), document->font(edit), QStringLiteral("edycja"));
            window->sheetRecovery()->writeNow();
        }
        QCOMPARE(said.size(), 1);
        QCOMPARE(document->text(1), QStringLiteral("E"));
        QVERIFY(!window->offerRecovery());
        QFile::remove(folder);
    }

private:
    void unusableInChild(bool readOnly)
    {
        QTemporaryDir root;
        QTemporaryDir cache;
        QVERIFY(root.isValid() && cache.isValid());
        const QString home = root.filePath(QStringLiteral("home"));
        const QString folder = home + QStringLiteral("/.qttest/share/lamello-tests/tst_recovery/recovery");
        const QString own = root.filePath(QStringLiteral("files"));
        QVERIFY(QDir().mkpath(folder) && QDir().mkpath(own));
        const QString source = own + QStringLiteral("/list.txt");
        QFile file(source);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(barettes(2000)) > 0);
        file.close();
        // The user's own folder is open to the child: nothing may land there either.
        QCOMPARE(::chmod(QFile::encodeName(root.path()).constData(), 0755), 0);
        QCOMPARE(::chmod(QFile::encodeName(own).constData(), 0777), 0);
        if (readOnly) {
            for (QString dir = folder; dir.size() >= home.size(); dir = QFileInfo(dir).path())
                QCOMPARE(::chmod(QFile::encodeName(dir).constData(), 0555), 0);
        }
        const auto tree = [&] {
            QStringList names;
            QDirIterator it(root.path(), QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
            // The settings are the program's to write at start.
            while (it.hasNext()) {
                if (const QString name = it.next(); !name.contains(QStringLiteral("/.qttest/config/")))
                    names.append(name);
            }
            names.sort();
            return names;
        };
        const QStringList before = tree();

        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TST_RECOVERY_UNUSABLE"), source);
        env.insert(QStringLiteral("HOME"), home);
        env.insert(QStringLiteral("XDG_CACHE_HOME"), cache.path());
        child.setProcessEnvironment(env);
        const passwd *nobody = ::getpwnam("nobody");
        const uid_t uid = nobody ? nobody->pw_uid : 65534;
        const gid_t gid = nobody ? nobody->pw_gid : 65534;
        child.setChildProcessModifier([readOnly, uid, gid] {
            if (readOnly) {
                // Root writes anywhere: the child drops to a user the folder refuses.
                if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0))
                    ::_exit(125);
            } else {
                // The disk is full after 16 KiB of any file.
                const rlimit limit{16384, 16384};
                ::setrlimit(RLIMIT_FSIZE, &limit);
                ::signal(SIGXFSZ, SIG_IGN);
            }
        });
        child.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(child.waitForFinished(60000));
        QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
                 child.readAllStandardOutput() + child.readAllStandardError());
        QCOMPARE(tree(), before);
        if (readOnly) {
            for (QString dir = folder; dir.size() >= home.size(); dir = QFileInfo(dir).path())
                ::chmod(QFile::encodeName(dir).constData(), 0755);
        }
    }
};

// The child of unusableFolder()'s read-only folder and full disk: the
// window opens the file, and its edits work while the status bar says once
// that no copies can be kept. Exits with 0 when so.
int editWithoutCopies(const QString &source)
{
    FakePrompts prompts;
    auto window = openWindow(source);
    QSignalSpy said(window->sheetRecovery(), &Recovery::statusMessage);
    SheetDocument *document = window->sheetPreview()->document();
    for (int edit = 0; edit < 3; ++edit) {
        document->editField(edit, QStringLiteral("E"), document->font(edit), QStringLiteral("edycja"));
        window->sheetRecovery()->writeNow();
        // The file's bytes are written beside the window.
        (void)QTest::qWaitFor([&] { return !said.isEmpty(); }, 5000);
    }
    const QString shown = window->statusBar()->currentMessage();
    std::printf("%s\n%d messages\n", qPrintable(shown), int(said.size()));
    const bool ok = said.size() == 1 && shown.startsWith(QStringLiteral("Nie można przechowywać kopii zapasowych"))
                    && document->text(2) == QStringLiteral("E") && window->isWindowModified()
                    && prompts.messages.isEmpty();
    return ok ? 0 : 1;
}

// The child of killedWhileWriting(): edits the sheet of the file it is
// given and writes a copy after each edit until it is killed.
int writeCopiesUntilKilled(const QString &source)
{
    FakePrompts prompts;
    prompts.questionAnswers = {QMessageBox::Yes, QMessageBox::Yes};
    auto window = openWindow(source);
    SheetDocument *document = window->sheetPreview()->document();
    Recovery *recovery = window->sheetRecovery();
    for (qsizetype id = 0;; id += 9) {
        document->editField(id, QStringLiteral("Pompa %1").arg(id), document->font(id), QStringLiteral("edycja"));
        recovery->writeNow();
        QCoreApplication::processEvents();
    }
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    if (qEnvironmentVariableIsSet("TST_RECOVERY_WRITER")) {
        QStandardPaths::setTestModeEnabled(true);
        QCoreApplication::setOrganizationName(QStringLiteral("lamello-tests"));
        return writeCopiesUntilKilled(qEnvironmentVariable("TST_RECOVERY_WRITER"));
    }
    if (qEnvironmentVariableIsSet("TST_RECOVERY_UNUSABLE")) {
        QStandardPaths::setTestModeEnabled(true);
        QCoreApplication::setOrganizationName(QStringLiteral("lamello-tests"));
        return editWithoutCopies(qEnvironmentVariable("TST_RECOVERY_UNUSABLE"));
    }
    TestRecovery test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_recovery.moc"
