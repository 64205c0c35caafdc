// The descriptions editor and the legend of symbol characters beside it.

#include "app/buildinfo.h"
#include "app/helpdialog.h"
#include "editor/editpad.h"
#include "system/startup.h"
#include "fakeprompts.h"
#include "testfiles.h"
#include "dialogs/formatslegend.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QTextDocument>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QStringList texts(const QList<QLabel *> &labels)
{
    QStringList result;
    for (const QLabel *label : labels)
        result.append(label->text());
    return result;
}
QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QPushButton *button(EditPad &pad, const char *name)
{
    auto *pb = pad.findChild<QPushButton *>(QLatin1String(name));
    if (!pb)
        qFatal("no button %s", name);
    return pb;
}

// The text as the editor holds it (toPlainText() would turn a no-break space
// into a space).
QString shownText(EditPad &pad)
{
    return pad.textArea()->document()->toRawText().replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
}

QString saveCaption(EditPad &pad)
{
    return button(pad, "pbSave")->text();
}

void type(EditPad &pad, const QString &text)
{
    QTest::keyClicks(pad.textArea(), text);
}

enum class Closing { Cancel, Escape, CloseButton };
enum class Failure { ReadOnlyFolder, NoFolder, FileSizeLimit };
} // namespace

class TestEditor : public QObject
{
    Q_OBJECT

    TestFiles files;
    FakePrompts prompts;

    void forget()
    {
        prompts.messages.clear();
        prompts.questions.clear();
        prompts.questionAnswers.clear();
        prompts.fileAnswers.clear();
        prompts.captions.clear();
        prompts.folders.clear();
    }

private slots:
    void init()
    {
        freshSettings();
        forget();
    }

    // Opened and saved under another name without an edit, every file comes
    // back byte for byte, whatever it holds; a UTF-8 file comes back in the
    // program's one file encoding.
    void savedBytesAreTheReadBytes_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QByteArray>("saved");
        auto row = [](const char *name, const QByteArray &bytes, const QString &shown) {
            QTest::newRow(name) << bytes << shown << bytes;
        };
        row("Windows-1250 letters", QByteArray("Zaw\xf3r \xb9\xea\x9c\n\xa0" "Ci\x9cnienie\n"),
            QStringLiteral("Zawór ąęś\n\u00a0Ciśnienie\n"));
        row("markup in the first line", "<b>Stop</b>\n<i>x</i>", QStringLiteral("<b>Stop</b>\n<i>x</i>"));
        row("CR LF lines", "Praca\r\nStop\r\n", QStringLiteral("Praca\nStop\n"));
        row("a lone CR", "Pra\rca\nStop\r\n", QStringLiteral("Pra\u240dca\nStop\u240d\n"));
        row("NUL bytes", QByteArray("Pra\0ca\n\0\0Stop", 13), QStringLiteral("Pra\u2400ca\n\u2400\u2400Stop"));
        row("empty", QByteArray(), QString());
        QTest::newRow("UTF-8") << QByteArray("Zaw\xc3\xb3r\n") << QStringLiteral("Zawór\n") << QByteArray("Zaw\xf3r\n");
    }

    void savedBytesAreTheReadBytes()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, shown);
        QFETCH(QByteArray, saved);
        const QString path = files.write(QStringLiteral("in.txt"), bytes);
        EditPad pad(path, nullptr);
        QCOMPARE(shownText(pad), shown);
        QVERIFY(!pad.isModified());
        // Said when the file will not be written back as it came.
        QCOMPARE(pad.findChild<QLabel *>(QStringLiteral("lbEncoding"))->isVisibleTo(&pad), saved != bytes);
        QCOMPARE(prompts.messages.size(), bytes.contains('\0') ? 1 : 0);
        if (bytes.contains('\0'))
            QVERIFY(prompts.messages.first().text.contains(QStringLiteral("NUL (3)")));

        const QString copy = files.path(QStringLiteral("copy.txt"));
        prompts.fileAnswers = {copy};
        QSignalSpy savedAs(&pad, &EditPad::savedAs);
        button(pad, "pbSaveAs")->click();
        QCOMPARE(contents(copy), saved);
        QCOMPARE(savedAs.size(), 1);
        QCOMPARE(savedAs.first().first().toString(), copy);
        QCOMPARE(pad.windowTitle(), copy);
    }

    // The "*" of "Zapisz", the overwrite question and its two answers.
    void saveMarksAndAsks()
    {
        const QString path = files.write(QStringLiteral("s.txt"), "Praca\n");
        EditPad pad(path, nullptr);
        QSignalSpy saved(&pad, &EditPad::savedAs);
        QCOMPARE(saveCaption(pad), QStringLiteral("Zapisz"));
        button(pad, "pbSave")->click();   // nothing to save: nothing asked, nothing shown
        QVERIFY(prompts.questions.isEmpty() && prompts.messages.isEmpty());

        pad.textArea()->moveCursor(QTextCursor::End);
        type(pad, QStringLiteral("S"));
        QCOMPARE(saveCaption(pad), QStringLiteral("Zapisz*"));
        type(pad, QStringLiteral("top"));
        QCOMPARE(saveCaption(pad), QStringLiteral("Zapisz*"));

        prompts.questionAnswers = {QMessageBox::Discard};
        button(pad, "pbSave")->click();
        QCOMPARE(prompts.questions.size(), 1);
        QCOMPARE(prompts.questions.first().text, QStringLiteral("Czy na pewno chcesz nadpisać oryginalną zawartość pliku?"));
        QCOMPARE(prompts.questions.first().title, QString());   // the program's name
        QCOMPARE(contents(path), QByteArray("Praca\n"));
        QCOMPARE(saveCaption(pad), QStringLiteral("Zapisz*"));

        prompts.questionAnswers = {QMessageBox::Save};
        button(pad, "pbSave")->click();
        QCOMPARE(contents(path), QByteArray("Praca\nStop"));
        QCOMPARE(prompts.messages.last().text, QStringLiteral("Zapisano\n") + path);
        QCOMPARE(saveCaption(pad), QStringLiteral("Zapisz"));
        QCOMPARE(saved.size(), 1);
        QCOMPARE(saved.first().first().toString(), path);
    }

    void aNewTextAsksForItsName()
    {
        EditPad pad(QString(), nullptr);
        QCOMPARE(pad.windowTitle(), QStringLiteral("Nowe opisy"));
        type(pad, QStringLiteral("Praca"));
        button(pad, "pbSave")->click();   // cancelled: nothing written
        QCOMPARE(prompts.captions, QStringList{QStringLiteral("Zapisz jako")});
        QVERIFY(pad.path().isEmpty() && pad.isModified());

        const QString path = files.path(QStringLiteral("new.txt"));
        prompts.fileAnswers = {path};
        button(pad, "pbSave")->click();
        QVERIFY(prompts.questions.isEmpty());   // a chosen name is not asked about again
        QCOMPARE(contents(path), QByteArray("Praca"));
        QCOMPARE(pad.path(), path);
        QVERIFY(!pad.isModified());
    }

    // File dialogs start in "files" below the working directory when it
    // exists, otherwise at home; never with "files" as a name to save under.
    void dialogsStartInFilesOrAtHome()
    {
        const QString before = QDir::currentPath();
        QDir::setCurrent(files.path(QString()));
        EditPad pad(QString(), nullptr);
        type(pad, QStringLiteral("x"));
        button(pad, "pbSave")->click();
        QDir().mkdir(QStringLiteral("files"));
        button(pad, "pbOpen")->click();
        QDir::setCurrent(before);
        QCOMPARE(prompts.folders, (QStringList{QDir::homePath(), QDir(files.path(QStringLiteral("files"))).absolutePath()}));
    }

    // Every way of closing asks while there are unsaved changes.
    void closingAsks_data()
    {
        QTest::addColumn<Closing>("how");
        QTest::addColumn<QMessageBox::StandardButton>("answer");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("Anuluj, cancel") << Closing::Cancel << QMessageBox::Cancel << false << QByteArray("A");
        QTest::newRow("Escape, discard") << Closing::Escape << QMessageBox::Discard << true << QByteArray("A");
        QTest::newRow("close button, save") << Closing::CloseButton << QMessageBox::Save << true << QByteArray("BA");
        QTest::newRow("Escape, cancel") << Closing::Escape << QMessageBox::Cancel << false << QByteArray("A");
    }

    void closingAsks()
    {
        QFETCH(Closing, how);
        QFETCH(QMessageBox::StandardButton, answer);
        QFETCH(bool, closed);
        QFETCH(QByteArray, file);
        const QString path = files.write(QStringLiteral("c.txt"), "A");
        QPointer<EditPad> pad = new EditPad(path, nullptr);
        pad->show();
        QVERIFY(QTest::qWaitForWindowExposed(pad));
        type(*pad, QStringLiteral("B"));
        prompts.questionAnswers = {answer};
        switch (how) {
        case Closing::Cancel: button(*pad, "pbCancel")->click(); break;
        case Closing::Escape: QTest::keyClick(pad->textArea(), Qt::Key_Escape); break;
        case Closing::CloseButton: pad->close(); break;
        }
        QCOMPARE(prompts.questions.size(), 1);
        QCOMPARE(prompts.questions.first().title, QString());   // the program's name
        QCOMPARE(contents(path), file);
        if (closed) {
            QTRY_VERIFY(pad.isNull());   // deleted on close
        } else {
            QVERIFY(pad->isVisible());
            QCOMPARE(pad->textArea()->toPlainText(), QStringLiteral("BA"));
            delete pad;
        }
    }

    // A write that fails keeps the old file and the changes, and says why.
    void aFailedWriteKeepsTheOldFile_data()
    {
        QTest::addColumn<Failure>("failure");
        QTest::newRow("read-only folder") << Failure::ReadOnlyFolder;
        QTest::newRow("no folder to write in") << Failure::NoFolder;
        QTest::newRow("file size limit") << Failure::FileSizeLimit;
    }

    void aFailedWriteKeepsTheOldFile()
    {
        QFETCH(Failure, failure);
        if (failure == Failure::ReadOnlyFolder && geteuid() == 0)
            QSKIP("root writes into read-only folders");
        const QByteArray old(100, 'x');
        QString path;   // the file the editor is on, or the name answered
        QString oldFile;
        switch (failure) {
        case Failure::ReadOnlyFolder:
            QVERIFY(QDir().mkpath(files.path(QStringLiteral("ro"))));
            path = oldFile = files.write(QStringLiteral("ro/f.txt"), old);
            QVERIFY(QFile::setPermissions(files.path(QStringLiteral("ro")),
                                          QFile::ReadOwner | QFile::ExeOwner));
            break;
        case Failure::NoFolder:
            oldFile = files.write(QStringLiteral("notafolder"), old);
            path = oldFile + QStringLiteral("/f.txt");
            break;
        case Failure::FileSizeLimit:
            path = oldFile = files.write(QStringLiteral("big.txt"), old);
            break;
        }
        const bool onFile = failure != Failure::NoFolder;
        EditPad pad(onFile ? path : QString(), nullptr);
        pad.textArea()->setPlainText(QString(5000, QLatin1Char('y')));
        QVERIFY(pad.isModified());

        rlimit saved{};
        if (failure == Failure::FileSizeLimit) {
            std::signal(SIGXFSZ, SIG_IGN);
            getrlimit(RLIMIT_FSIZE, &saved);
            rlimit limit = saved;
            limit.rlim_cur = 1000;
            setrlimit(RLIMIT_FSIZE, &limit);
        }
        if (onFile)
            prompts.questionAnswers = {QMessageBox::Save};
        else
            prompts.fileAnswers = {path};
        button(pad, "pbSave")->click();
        if (failure == Failure::FileSizeLimit)
            setrlimit(RLIMIT_FSIZE, &saved);
        if (failure == Failure::ReadOnlyFolder)
            QFile::setPermissions(files.path(QStringLiteral("ro")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        QCOMPARE(prompts.messages.size(), 1);
        QCOMPARE(prompts.messages.first().icon, QMessageBox::Warning);
        QVERIFY2(prompts.messages.first().text.startsWith(QStringLiteral("Nie udało się zapisać pliku.\n") + path),
                 qPrintable(prompts.messages.first().text));
        QCOMPARE(contents(oldFile), old);
        QVERIFY(pad.isModified());
        QCOMPARE(saveCaption(pad), QStringLiteral("Zapisz*"));
        QCOMPARE(pad.path(), onFile ? path : QString());   // a name that failed is not kept
    }

    void aCharacterWithoutAByteIsRefused()
    {
        const QString path = files.write(QStringLiteral("r.txt"), "A\nB\n");
        EditPad pad(path, nullptr);
        pad.textArea()->moveCursor(QTextCursor::End);
        pad.textArea()->insertPlainText(QStringLiteral("C \u2126"));   // Ω, third line
        prompts.questionAnswers = {QMessageBox::Save};
        button(pad, "pbSave")->click();
        QCOMPARE(prompts.messages.size(), 1);
        const QString text = prompts.messages.first().text;
        QVERIFY2(text.contains(QStringLiteral("„\u2126” (U+2126) w wierszu 3")), qPrintable(text));
        QCOMPARE(contents(path), QByteArray("A\nB\n"));
        QVERIFY(pad.isModified());
    }

    void anUnreadableFileStartsEmpty_data()
    {
        QTest::addColumn<bool>("fifo");
        QTest::newRow("missing") << false;
        // Opening a FIFO for reading would wait for a writer for good.
        QTest::newRow("a FIFO") << true;
    }

    // An unreadable file: said so, an empty unmodified text, the path kept, and
    // nothing overwritten by a save without changes.
    void anUnreadableFileStartsEmpty()
    {
        QFETCH(bool, fifo);
        const QString path = files.path(fifo ? QStringLiteral("fifo.txt") : QStringLiteral("missing.txt"));
        if (fifo)
            QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        EditPad pad(path, nullptr);
        QCOMPARE(prompts.messages.size(), 1);
        QVERIFY(prompts.messages.first().text.startsWith(QStringLiteral("Nie udało się otworzyć pliku do odczytu.\n") + path));
        QVERIFY(pad.textArea()->toPlainText().isEmpty());
        QVERIFY(!pad.isModified());
        QCOMPARE(saveCaption(pad), QStringLiteral("Zapisz"));
        QCOMPARE(pad.path(), path);
        button(pad, "pbSave")->click();
        QCOMPARE(QFileInfo::exists(path), fifo);
        QVERIFY(!QFileInfo(path).isFile());
    }

    // "Otwórz" and "Resetuj" are shown and ask before dropping changes.
    void openAndResetAskFirst()
    {
        const QString first = files.write(QStringLiteral("1.txt"), "one");
        const QString second = files.write(QStringLiteral("2.txt"), "two");
        EditPad pad(first, nullptr);
        pad.show();
        QVERIFY(button(pad, "pbOpen")->isVisible() && button(pad, "pbReset")->isVisible());
        QSignalSpy saved(&pad, &EditPad::savedAs);
        type(pad, QStringLiteral("X"));

        prompts.fileAnswers = {second};
        prompts.questionAnswers = {QMessageBox::Cancel};
        button(pad, "pbOpen")->click();
        QCOMPARE(pad.textArea()->toPlainText(), QStringLiteral("Xone"));
        QCOMPARE(prompts.questions.last().text, QStringLiteral("Czy na pewno chcesz porzucić wszystkie zmiany?"));

        prompts.questionAnswers = {QMessageBox::Cancel};
        button(pad, "pbReset")->click();
        QCOMPARE(pad.textArea()->toPlainText(), QStringLiteral("Xone"));
        prompts.questionAnswers = {QMessageBox::Discard};
        button(pad, "pbReset")->click();
        QCOMPARE(pad.textArea()->toPlainText(), QStringLiteral("one"));
        QVERIFY(!pad.isModified());

        type(pad, QStringLiteral("Y"));
        prompts.fileAnswers = {second};
        prompts.questionAnswers = {QMessageBox::Discard};
        button(pad, "pbOpen")->click();
        QCOMPARE(pad.textArea()->toPlainText(), QStringLiteral("two"));
        QCOMPARE(pad.path(), second);
        QCOMPARE(saved.size(), 1);   // the sheet shows the file opened
        QCOMPARE(contents(first), QByteArray("one"));
    }

    // A large file arrives a slice at a time and is only editable when whole.
    void aLargeFileLoadsWhole()
    {
        QByteArray bytes;
        for (int i = 0; i < 60000; ++i)
            bytes += "Pompa " + QByteArray::number(i) + "\r\n";
        const QString path = files.write(QStringLiteral("large.txt"), bytes);
        EditPad pad(path, nullptr);
        QVERIFY(pad.isLoading());
        QVERIFY(pad.textArea()->isReadOnly());
        QVERIFY(!button(pad, "pbSave")->isEnabled());
        QSignalSpy loaded(&pad, &EditPad::loaded);
        QVERIFY(loaded.wait(20000));
        QVERIFY(!pad.textArea()->isReadOnly());
        QVERIFY(!pad.isModified());
        QCOMPARE(pad.textArea()->document()->blockCount(), 60001);
        const QString copy = files.path(QStringLiteral("large-copy.txt"));
        prompts.fileAnswers = {copy};
        button(pad, "pbSaveAs")->click();
        QCOMPARE(contents(copy), bytes);
    }

    void legendRows_data()
    {
        QTest::addColumn<bool>("withNewLine");
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QStringList>("results");
        const QStringList symbols = {"#", "$", "^", "&"};
        QTest::newRow("edit dialog") << false << symbols << symbols;
        QTest::newRow("editor") << true << (QStringList{"@"} + symbols)
                                << (QStringList{QStringLiteral("Nowa linia")} + symbols);
    }

    void legendRows()
    {
        QFETCH(bool, withNewLine);
        QFETCH(QStringList, keys);
        QFETCH(QStringList, results);
        FormatsLegend legend(withNewLine);
        QCOMPARE(texts(legend.keyLabels()), keys);
        QCOMPARE(texts(legend.resultLabels()), results);
        QCOMPARE(legend.minimumSize(), legend.maximumSize());

        // Each symbol is drawn as one glyph about two letters wide: the pair,
        // not the plain character of the key column.
        for (int row = withNewLine ? 1 : 0; row < keys.size(); ++row) {
            const QLabel *key = legend.keyLabels().at(row);
            const QLabel *symbol = legend.resultLabels().at(row);
            QCOMPARE(QFontInfo(symbol->font()).family(), QStringLiteral("TIMES_K"));
            QVERIFY(QFontInfo(key->font()).family() != QStringLiteral("TIMES_K"));
            const QFontMetricsF metrics(symbol->font());
            QVERIFY2(metrics.horizontalAdvance(symbol->text()) > 1.5 * metrics.horizontalAdvance(QStringLiteral("M")),
                     qPrintable(symbol->text()));
        }
    }

    // The foot of the help window: version and build date from the build, the
    // icons' source, both in a fixed-pitch font.
    void helpWindowFoot()
    {
        HelpDialog help;
        const QLabel *build = help.findChild<QLabel *>(QStringLiteral("lbBuild"));
        const QLabel *credit = help.findChild<QLabel *>(QStringLiteral("lbCredit"));
        QVERIFY(build && credit);
        const QRegularExpression line(QStringLiteral("^Lamello %1, kompilacja z dnia: \\d{1,2} \\S+ 20\\d\\d$")
                                          .arg(QRegularExpression::escape(QString::fromLatin1(LamelloBuild::version))));
        QVERIFY2(line.match(build->text()).hasMatch(), qPrintable(build->text()));
        QVERIFY(credit->text().contains(QStringLiteral("Tango Desktop Project")));
        QVERIFY(QFontInfo(build->font()).fixedPitch() && QFontInfo(credit->font()).fixedPitch());
        QCOMPARE(help.windowTitle(), QStringLiteral("Pomoc - Lamello"));

        // The topics tell how the program works now.
        QStringList topics;
        for (const QLabel *topic : help.findChildren<QLabel *>(QStringLiteral("topic")))
            topics.append(topic->text());
        const QString text = topics.join(QLatin1Char('\n')).replace(QLatin1Char('\n'), QLatin1Char(' '));
        for (const char *told : {"Arkusz ma niezapisane zmiany. Zapisać projekt?", "historia zmian zostają",
                                 "Dopasuj rozmiar", "F3", "Kalibracja drukarki", "Ctrl+S", "Czytnik ekranu"})
            QVERIFY2(text.contains(QString::fromUtf8(told)), told);
        for (const char *gone : {"od nowa", "na ostatni krok", "do następnego odtworzenia"})
            QVERIFY2(!text.contains(QString::fromUtf8(gone)), gone);
    }

    // Last: from here on Qt's own texts are Polish in this process.
    void qtSpeaksPolish()
    {
        QVERIFY(installToolkitTranslations());
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Anuluj"));
        QCOMPARE(QCoreApplication::translate("QFileDialog", "&Open"), QStringLiteral("&Otwórz"));
    }
};

QTEST_MAIN(TestEditor)
#include "tst_editor.moc"
