// Projects: the font records users' files already hold, saving both files or
// neither, and opening damaged, foreign and incomplete projects.

#include "fakeprompts.h"
#include "pdfcheck.h"
#include "testfiles.h"
#include "document/specialglyphfont.h"
#include "files/projectfile.h"
#include "sheet/mygraphicsitem.h"
#include "sheet/preview.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <QtEndian>

#include <csignal>
#include <cerrno>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr int n = 8;

// One font record as the stream version 12 layout documents it, built by hand.
QByteArray documentedRecord(int pixelSize, int weight, bool italic, bool underline, quint16 stretch = 100,
                            const QString &family = QStringLiteral("TIMES_K"))
{
    QByteArray r;
    auto u32 = [&r](quint32 v) { r += QByteArray(4, 0); qToBigEndian(v, r.data() + r.size() - 4); };
    u32(quint32(family.size() * 2));
    for (QChar c : family) {
        r += char(c.unicode() >> 8);
        r += char(c.unicode() & 0xff);
    }
    r += QByteArray::fromHex("bff0000000000000");   // point size -1.0
    u32(quint32(pixelSize));
    r += char(5);                                    // style hint: any
    r += char(1);                                    // style strategy: default
    r += char(0);                                    // character set
    r += char(weight);
    r += char((italic ? 0x01 : 0) | (underline ? 0x02 : 0) | 0x10);   // kerning on
    r += char(stretch >> 8);
    r += char(stretch & 0xff);
    r += char(1);                                    // ignore pitch
    r += QByteArray(8, 0);                           // letter and word spacing
    return r;
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QStringList entries(const QString &dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}
} // namespace

class TestProject : public QObject
{
    Q_OBJECT

    TestFiles files;
    FakePrompts prompts;

    void load(Preview &p, const QByteArray &bytes, int labels = n)
    {
        p.generationEnabled = true;
        p.setLabelsPerBarette(labels);
        p.filePath = files.write(QStringLiteral("sheet-%1.txt").arg(labels), bytes);
        p.readFile();
        p.generatePages();
    }

    void save(Preview &p, const QString &answer)
    {
        prompts.messages.clear();
        prompts.fileAnswers = {answer};
        p.saveProjectAs();   // a name of its own each time
    }

    QString lastMessage() const { return prompts.messages.isEmpty() ? QString() : prompts.messages.last().text; }

private slots:
    void initTestCase() { freshSettings(); }

    void init()
    {
        prompts.messages.clear();
        prompts.fileAnswers.clear();
    }

    void recordBytes()
    {
        QFont font = SpecialGlyphFont::defaultFont();
        font.setPixelSize(12);
        font.setBold(true);
        font.setUnderline(true);
        const QByteArray golden = QByteArray::fromHex("0000000e0054004900 4d00450053005f004b"
                                                      "bff0000000000000 0000000c 05 01 00 4b 12 0064 01"
                                                      "00000000 00000000");
        QCOMPARE(ProjectFile::fontRecord(font).toHex(' '), golden.toHex(' '));

        // Qt 4 wrote 100 where Qt 6 writes 0 for the same face: both read alike.
        const auto with100 = ProjectFile::parseFonts(documentedRecord(12, 75, false, true, 100));
        const auto with0 = ProjectFile::parseFonts(documentedRecord(12, 75, false, true, 0));
        QCOMPARE(with100.fonts.size(), 1);
        QCOMPARE(with100.fonts, with0.fonts);
        QCOMPARE(with100.fonts.at(0).weight(), int(QFont::Bold));
        QVERIFY(with100.fonts.at(0).underline());
    }

    void aSavedProjectHoldsTheDocumentedRecords()
    {
        Preview p;
        load(p, barettes(2));
        p.fields().at(3)->changeFontBold();                 // through the field's own font
        p.clickedItem(5, QFont(), false, false);            // through the tool bar
        p.changeFontItalic();
        p.changeFontUnderline();
        p.clickedItem(9, QFont(), false, false);
        p.clickedItem(17, QFont(), true, false);
        p.changeFontPixelSize(14);
        p.fields().at(1)->setText(QStringLiteral("Pompa\nrezerwowa"));
        const QString path = files.path(QStringLiteral("two.lmpro"));
        save(p, path);
        QCOMPARE(lastMessage(), QStringLiteral("Zapisano."));
        QCOMPARE(prompts.captions.last(), QStringLiteral("Zapisz projekt"));

        QByteArray expected;
        for (int id = 0; id < 2 * (n + 1); ++id)
            expected += documentedRecord(id >= 9 ? 14 : 10, id == 3 ? 75 : 50, id == 5, id == 5);
        QCOMPARE(contents(path), expected);
        QByteArray texts = barettes(2);
        texts.replace("L0.1\n", "Pompa@rezerwowa\n");
        QCOMPARE(contents(files.path(QStringLiteral("two.dat"))), texts);

        // An edit undone leaves the field the file's line again, byte for byte.
        SheetDocument *document = p.document();
        document->editField(10, QStringLiteral("Zawór"), document->font(10), QStringLiteral("Edycja"));
        QCOMPARE(document->allTexts().editCount(), 2);
        document->undoStack()->undo();
        QCOMPARE(document->allTexts().editCount(), 1);
        save(p, files.path(QStringLiteral("undone.lmpro")));
        QCOMPARE(contents(files.path(QStringLiteral("undone.dat"))), texts);
    }

    void roundTripUnderAnotherGeometry()
    {
        Preview saved;
        // The last barette three lines short: the fields past the file's
        // last line keep their fonts all the same, with a text or without.
        load(saved, barettes(2).chopped(15));
        for (int id = 0; id < 16; ++id)
            saved.fields().at(id)->changeFontPixelSize(10 + id);
        for (int id = 16; id < 18; ++id) {   // through the tool bar: fonts, no texts
            saved.clickedItem(id, QFont(), false, false);
            saved.changeFontPixelSize(10 + id);
        }
        saved.fields().at(4)->changeFontBold();   // the sheet's remembered fonts never hear of it
        saved.fields().at(7)->setText(QStringLiteral("Pompa\nrezerwowa"));
        saved.fields().at(15)->setText(QStringLiteral("Rezerwa"));   // past the file's last line
        const QString path = files.path(QStringLiteral("round.lmpro"));
        save(saved, path);

        for (const int labels : {n, 10}) {
            Preview opened;
            opened.generationEnabled = true;
            opened.setLabelsPerBarette(labels);
            QSignalSpy title(&opened, &Preview::updatePathToFile);
            prompts.messages.clear();
            prompts.fileAnswers = {path};
            opened.openProject();
            QCOMPARE(prompts.captions.last(), QStringLiteral("Otwórz projekt"));
            QVERIFY2(prompts.messages.isEmpty(), qPrintable(lastMessage()));
            QCOMPARE(title.size(), 1);
            QCOMPARE(title.at(0).at(0).toString(), files.path(QStringLiteral("round.dat")));
            QCOMPARE(opened.baretteCount(), 2);
            QCOMPARE(opened.fields().size(), 2 * (labels + 1));
            for (int id = 0; id < opened.fields().size(); ++id) {
                const MyGraphicsItem *field = opened.fields().at(id);
                QCOMPARE(field->currentFont().pixelSize(), id < 18 ? 10 + id : 10);
                QCOMPARE(field->currentFont().weight(), int(id == 4 ? QFont::Bold : QFont::Normal));
                QCOMPARE(field->currentFont().family(), SpecialGlyphFont::family());
                const QString text = id < 18 ? saved.fields().at(id)->currentText() : QString();
                QCOMPARE(field->currentText(), text);
            }
        }
    }

    // An automatic size is written as pixel size 1, which earlier readers
    // show at size 10, and read back automatic: on screen and on paper at
    // the size that fits.
    void automaticSizeIsStoredAsOneAndReadBackAutomatic()
    {
        Preview saved;
        load(saved, barettes(1));
        QFont automatic = saved.document()->font(2);
        automatic.setPixelSize(1);
        saved.document()->editField(2, QStringLiteral("Temperatura zasilania wody w obiegu pierwotnym"), automatic,
                                    QString());
        const QString path = files.path(QStringLiteral("auto.lmpro"));
        save(saved, path);
        const QByteArray record = documentedRecord(1, 50, false, false);
        QCOMPARE(contents(path).mid(2 * record.size(), record.size()).toHex(' '), record.toHex(' '));

        Preview opened;
        opened.generationEnabled = true;
        QVERIFY(opened.openProject(path));
        opened.setPrinter(Preview::builtInPdfName);
        const MyGraphicsItem *field = opened.field(2);
        const int shown = field->shownFont().pixelSize();
        QCOMPARE(field->currentFont().pixelSize(), 1);
        QVERIFY2(shown >= 4 && shown < 10 && field->textFits(), qPrintable(QString::number(shown)));

        const QString pdf = files.path(QStringLiteral("auto.pdf"));
        prompts.fileAnswers = {pdf};
        opened.printCurrent();
        QHash<QString, double> heights;   // a word's box grows with its font size
        for (const PdfCheck::Word &w : PdfCheck::words(pdf))
            heights.insert(w.text, w.box.height());
        QVERIFY2(qAbs(heights.value(QStringLiteral("Temperatura")) / heights.value(QStringLiteral("H0")) - shown / 10.0)
                     < 0.03,
                 qPrintable(QString::number(heights.value(QStringLiteral("Temperatura")))));
    }

    void bothFilesOrNeither_data()
    {
        QTest::addColumn<QString>("project");
        QTest::addColumn<QString>("failing");
        QTest::newRow("file size limit") << QStringLiteral("full.lmpro") << QStringLiteral("full.lmpro");
        // ".lmpro" twice: the texts go to ro.dat/, the fonts to the read-only ro.lmpro/.
        QTest::newRow("read-only folder") << QStringLiteral("ro.lmpro/b.lmpro") << QStringLiteral("ro.lmpro/b.lmpro");
        // A folder under the project's name is refused before anything is
        // put in place: the old texts file stays...
        QTest::newRow("project name is a folder") << QStringLiteral("dir.lmpro") << QStringLiteral("dir.lmpro");
        // ...and a first save leaves no texts file behind.
        QTest::newRow("new project, its name a folder") << QStringLiteral("new.lmpro") << QStringLiteral("new.lmpro");
    }

    void bothFilesOrNeither()
    {
        QFETCH(QString, project);
        QFETCH(QString, failing);
        const TestFiles scratch;
        const QString dir = QFileInfo(scratch.path(QStringLiteral("x"))).absolutePath();
        QVERIFY(QDir(dir).mkpath(QStringLiteral("ro.lmpro")));
        QVERIFY(QDir(dir).mkpath(QStringLiteral("ro.dat")));
        QVERIFY(QDir(dir).mkpath(QStringLiteral("dir.lmpro")));
        QVERIFY(QDir(dir).mkpath(QStringLiteral("new.lmpro")));
        const QString path = scratch.path(project);
        const QString textsPath = ProjectFile::textsPath(path);

        Preview p;
        load(p, barettes(1));
        if (QTest::currentDataTag() == QLatin1String("project name is a folder")) {
            QVERIFY(QFile(textsPath).open(QIODevice::WriteOnly));
        } else if (QTest::currentDataTag() != QLatin1String("new project, its name a folder")) {
            save(p, path);
            QCOMPARE(lastMessage(), QStringLiteral("Zapisano."));
        }
        const QByteArray oldFonts = QFileInfo(path).isFile() ? contents(path) : QByteArray();
        const QByteArray oldTexts = contents(textsPath);
        const QStringList before = entries(dir) + entries(dir + "/ro.lmpro") + entries(dir + "/ro.dat");

        load(p, barettes(3));
        p.changeFontBold();
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        const bool asRoot = ::geteuid() == 0;
        if (QTest::currentDataTag() == QLatin1String("file size limit")) {
            // The texts (129 bytes) fit, the fonts (27 records of 46 bytes) do not.
            std::signal(SIGXFSZ, SIG_IGN);
            rlimit small = saved;
            small.rlim_cur = 600;
            setrlimit(RLIMIT_FSIZE, &small);
        } else if (QTest::currentDataTag() == QLatin1String("read-only folder")) {
            QVERIFY(::chmod(qPrintable(dir), 0755) == 0);
            QVERIFY(::chmod(qPrintable(dir + "/ro.lmpro"), 0555) == 0);
            QVERIFY(::chmod(qPrintable(dir + "/ro.dat"), 0777) == 0);
            // Permissions do not stop root: save as nobody.
            if (asRoot)
                QVERIFY(::seteuid(65534) == 0);
        }
        save(p, path);
        setrlimit(RLIMIT_FSIZE, &saved);
        if (asRoot)
            QVERIFY(::seteuid(0) == 0);
        ::chmod(qPrintable(dir + "/ro.lmpro"), 0755);

        QCOMPARE(prompts.messages.size(), 1);
        QCOMPARE(prompts.messages.at(0).icon, QMessageBox::Critical);
        QVERIFY(lastMessage().startsWith(QStringLiteral("Błąd przy próbie utworzenia pliku.")));
        QVERIFY2(lastMessage().contains(scratch.path(failing) + QStringLiteral(": ")), qPrintable(lastMessage()));
        QCOMPARE(QFileInfo(path).isFile() ? contents(path) : QByteArray(), oldFonts);
        QCOMPARE(contents(textsPath), oldTexts);   // "<missing>" when there was none
        QCOMPARE(entries(dir) + entries(dir + "/ro.lmpro") + entries(dir + "/ro.dat"), before);
    }

    void savingRefusesOrSkips()
    {
        Preview p;
        load(p, barettes(1));
        // No name, or no name before the suffix: nothing written, nothing said.
        for (const QString &answer : {QString(), QStringLiteral(".lmpro")}) {
            save(p, answer);
            QVERIFY(prompts.messages.isEmpty());
        }
        QVERIFY(!QFile::exists(QStringLiteral(".lmpro")) && !QFile::exists(QStringLiteral(".dat")));
        for (const QString &answer : {QString(), QStringLiteral(".lmpro")}) {
            prompts.fileAnswers = {answer};
            p.openProject();
            QVERIFY(prompts.messages.isEmpty());
            QCOMPARE(p.fields().at(0)->currentText(), QStringLiteral("H0"));
        }

        // Without the suffix it is added: two files, never one written twice.
        save(p, files.path(QStringLiteral("bare")));
        QCOMPARE(lastMessage(), QStringLiteral("Zapisano."));
        QCOMPARE(contents(files.path(QStringLiteral("bare.dat"))), barettes(1));
        QCOMPARE(contents(files.path(QStringLiteral("bare.lmpro"))).size(), 9 * 46);
        // Saved over: the pair and nothing else, no second name of an old file.
        const TestFiles scratch;
        save(p, scratch.path(QStringLiteral("p.lmpro")));
        save(p, scratch.path(QStringLiteral("p.lmpro")));
        QCOMPARE(lastMessage(), QStringLiteral("Zapisano."));
        QCOMPARE(entries(scratch.path(QString())), (QStringList{"p.dat", "p.lmpro"}));

        p.fields().at(2)->setText(QStringLiteral("Moc ≥ 5 kW"));
        save(p, files.path(QStringLiteral("bad.lmpro")));
        QCOMPARE(prompts.messages.at(0).icon, QMessageBox::Critical);
        QVERIFY(lastMessage().contains(QStringLiteral("nr 3")) && lastMessage().contains(QStringLiteral("≥")));
        QVERIFY(!QFile::exists(files.path(QStringLiteral("bad.lmpro"))));
        QVERIFY(!QFile::exists(files.path(QStringLiteral("bad.dat"))));

        // Texts, but a geometry in which no barette fits: no fields to save.
        p.updateDimensions(QRectF(0, 0, 100, 100), QRectF(0, 0, 100, 100));
        QVERIFY(p.fields().isEmpty());
        save(p, files.path(QStringLiteral("none.lmpro")));
        QCOMPARE(prompts.messages.size(), 1);
        QVERIFY(prompts.fileAnswers.size() == 1);   // refused before asking for a name
        QVERIFY(!QFile::exists(files.path(QStringLiteral("none.lmpro"))));
    }

    // A project whose files are links is saved into the files they name; a
    // save stopped between its two renames is finished at the next open, one
    // stopped while staging is undone, and neither leaves anything behind.
    void savesGoThroughLinksAndInterruptedOnesAreFinished()
    {
        const TestFiles scratch;
        const QString real = scratch.path(QStringLiteral("real"));
        const QString links = scratch.path(QStringLiteral("links"));
        QVERIFY(QDir().mkpath(real) && QDir().mkpath(links));
        Preview p;
        load(p, barettes(1));
        save(p, real + QStringLiteral("/p.lmpro"));
        for (const QString &name : {QStringLiteral("p.lmpro"), QStringLiteral("p.dat")})
            QVERIFY(QFile::link(QStringLiteral("../real/") + name, links + QLatin1Char('/') + name));
        QVERIFY(p.openProject(links + QStringLiteral("/p.lmpro")));
        p.fields().at(1)->setText(QStringLiteral("Nowy"));
        p.fields().at(2)->changeFontBold();
        QVERIFY(p.saveProject());
        QCOMPARE(lastMessage(), QStringLiteral("Zapisano."));
        QVERIFY(QFileInfo(links + QStringLiteral("/p.lmpro")).isSymLink());
        QVERIFY(QFileInfo(links + QStringLiteral("/p.dat")).isSymLink());
        QVERIFY(contents(real + QStringLiteral("/p.dat")).contains("Nowy"));
        const QByteArray savedFonts = contents(real + QStringLiteral("/p.lmpro"));
        QCOMPARE(entries(real), (QStringList{"p.dat", "p.lmpro"}));

        // Stopped between the renames: the new texts in place, the old ones
        // under a second name, the new fonts still staged.
        const QByteArray newFonts = savedFonts + savedFonts.right(46);
        const QByteArray newTexts = barettes(1) + "Dziesiaty\n";
        QVERIFY(QFile::rename(real + QStringLiteral("/p.dat"), real + QStringLiteral("/.p.dat.save-Ab3dEf7h.old")));
        QVERIFY(QFile::copy(files.write(QStringLiteral("t"), newTexts), real + QStringLiteral("/p.dat")));
        QVERIFY(QFile::copy(files.write(QStringLiteral("f"), newFonts), real + QStringLiteral("/.p.lmpro.save-Ab3dEf7h")));
        // Stopped while staging another time: both staged, nothing in place.
        QVERIFY(QFile::copy(files.write(QStringLiteral("t2"), "x\n"), real + QStringLiteral("/.p.dat.save-Zz9yY8xX")));
        QVERIFY(QFile::copy(files.write(QStringLiteral("f2"), "xx"), real + QStringLiteral("/.p.lmpro.save-Zz9yY8xX")));
        Preview reopened;
        reopened.generationEnabled = true;
        QSignalSpy said(&reopened, &Preview::statusMessage);
        QVERIFY(reopened.openProject(real + QStringLiteral("/p.lmpro")));
        QCOMPARE(entries(real), (QStringList{"p.dat", "p.lmpro"}));
        QCOMPARE(contents(real + QStringLiteral("/p.lmpro")), newFonts);
        QCOMPARE(reopened.fields().at(9)->currentText(), QStringLiteral("Dziesiaty"));
        // A first save stopped the same way: no old file had a second name.
        QVERIFY(QFile::remove(real + QStringLiteral("/p.lmpro")));
        QVERIFY(QFile::copy(files.path(QStringLiteral("f")), real + QStringLiteral("/.p.lmpro.save-Qq1wW2eE")));
        QVERIFY(Preview().openProject(real + QStringLiteral("/p.lmpro")));
        QCOMPARE(entries(real), (QStringList{"p.dat", "p.lmpro"}));
        QVERIFY(std::any_of(said.cbegin(), said.cend(),
                            [](const QList<QVariant> &s) { return s.first().toString().contains(QStringLiteral("przerwany")); }));
    }

    void parseFontsStopsAtDamage_data()
    {
        QTest::addColumn<QByteArray>("tail");
        QTest::addColumn<int>("status");
        const QByteArray rest = documentedRecord(12, 50, false, false).mid(4);
        const int damaged = int(ProjectFile::Fonts::Status::Damaged);
        QTest::newRow("huge length") << QByteArray("\x7f\xff\xff\xfe") + rest << damaged;
        QTest::newRow("length just past the limit") << QByteArray("\x00\x00\x02\x5a", 4) + rest << damaged;
        QTest::newRow("odd length") << QByteArray("\x00\x00\x00\x0d", 4) + rest << damaged;
        QTest::newRow("length past the end") << QByteArray("\x00\x00\x00\xc8", 4) + rest << damaged;
        QTest::newRow("weight past 99") << documentedRecord(12, 120, false, false) << damaged;
        QTest::newRow("no size") << documentedRecord(-1, 50, false, false) << damaged;
        QTest::newRow("a control character in the family")
            << documentedRecord(12, 50, false, false, 100, QStringLiteral("TI\nES_K")) << damaged;
        QTest::newRow("no family at all is a font")
            << QByteArray("\xff\xff\xff\xff") + rest.mid(14) << int(ProjectFile::Fonts::Status::Complete);
        QTest::newRow("the longest family allowed")
            << documentedRecord(12, 50, false, false, 100, QString(ProjectFile::maxFamilyLength, u'x'))
            << int(ProjectFile::Fonts::Status::Complete);
    }

    void parseFontsStopsAtDamage()
    {
        QFETCH(QByteArray, tail);
        QFETCH(int, status);
        const QByteArray first = documentedRecord(10, 75, true, false);
        const auto read = ProjectFile::parseFonts(first + tail);
        QCOMPARE(int(read.status), status);
        const bool complete = status == int(ProjectFile::Fonts::Status::Complete);
        QCOMPARE(read.fonts.size(), complete ? 2 : 1);
        QCOMPARE(read.fonts.at(0).weight(), int(QFont::Bold));
        QVERIFY(read.fonts.at(0).italic());
        if (!complete)
            QCOMPARE(read.damageOffset, first.size());
        // The same record first in a file: a damaged file is no project at all.
        if (!complete && !QByteArray(QTest::currentDataTag()).startsWith("length past"))
            QCOMPARE(ProjectFile::parseFonts(tail).status, ProjectFile::Fonts::Status::NotAProject);
    }

    void everyTruncationOpensWhatWasReadAndWarns()
    {
        Preview saved;
        load(saved, barettes(2));
        for (int id = 0; id < 18; ++id)
            saved.fields().at(id)->changeFontPixelSize(10 + id);
        const QString full = files.path(QStringLiteral("full.lmpro"));
        save(saved, full);
        const QByteArray bytes = contents(full);
        const qsizetype recordSize = bytes.size() / 18;
        QFile::copy(files.path(QStringLiteral("full.dat")), files.path(QStringLiteral("cut.dat")));

        Preview p;
        load(p, barettes(1));
        for (qsizetype cut = 0; cut < bytes.size(); ++cut) {
            const QString path = files.write(QStringLiteral("cut.lmpro"), bytes.left(cut));
            prompts.messages.clear();
            p.openProject(path);
            const qsizetype kept = cut / recordSize;
            QVERIFY2(prompts.messages.size() == 1, qPrintable(QString::number(cut)));
            QCOMPARE(prompts.messages.at(0).icon, QMessageBox::Warning);
            QVERIFY2(lastMessage().contains(path) && lastMessage().contains(QStringLiteral("%1 z 18").arg(kept)),
                     qPrintable(lastMessage()));
            QCOMPARE(p.fields().size(), 18);
            for (int id = 0; id < 18; ++id)
                QCOMPARE(p.fields().at(id)->currentFont().pixelSize(), id < kept ? 10 + id : 10);
        }

        // A long project whose texts were cut short (the editor can): reading
        // stops inside a record far past the last field, which is no damage.
        const QFont font = saved.fields().at(5)->currentFont();
        const QString longProject = files.write(QStringLiteral("long.lmpro"),
                                                ProjectFile::serializeFonts(QList<QFont>(200 * (n + 1), font)));
        files.write(QStringLiteral("long.dat"), barettes(10));   // the first 90 lines
        QVERIFY(ProjectFile::readLimit(90) % recordSize != 0);   // the limit falls inside a record
        prompts.messages.clear();
        p.openProject(longProject);
        QVERIFY2(prompts.messages.isEmpty(), qPrintable(lastMessage()));
        QCOMPARE(p.fieldCount(), 90);
        QCOMPARE(p.document()->font(89).pixelSize(), 15);
    }

    void projectsThatCannotBeOpenedChangeNothing_data()
    {
        QTest::addColumn<QByteArray>("project");   // empty: no project file
        QTest::addColumn<QByteArray>("texts");     // empty: no texts file
        QTest::addColumn<QString>("message");
        const QByteArray record = documentedRecord(12, 50, false, false);
        QTest::newRow("no project file") << QByteArray() << barettes(3) << QStringLiteral("Błąd odczytu pliku czcionek");
        QTest::newRow("a PDF renamed") << QByteArray("%PDF-1.4\n%\xe2\xe3\xcf\xd3\n1 0 obj\n") << barettes(3)
                                       << QStringLiteral("nie jest plikiem projektu");
        QTest::newRow("a descriptions file") << barettes(1) << barettes(3) << QStringLiteral("nie jest plikiem projektu");
        QTest::newRow("no texts file") << record << QByteArray() << QStringLiteral("Brak pliku z opisami projektu");
        QTest::newRow("a texts file that is no text") << record << QByteArray(5000, '\0')
                                                      << QStringLiteral("nie jest plikiem tekstowym");
    }

    void projectsThatCannotBeOpenedChangeNothing()
    {
        QFETCH(QByteArray, project);
        QFETCH(QByteArray, texts);
        QFETCH(QString, message);
        const TestFiles scratch;
        const QString path = scratch.path(QStringLiteral("p.lmpro"));
        if (!project.isEmpty())
            scratch.write(QStringLiteral("p.lmpro"), project);
        if (!texts.isEmpty())
            scratch.write(QStringLiteral("p.dat"), texts);

        Preview p;
        load(p, barettes(1));
        p.fields().at(2)->changeFontBold();
        const QString shownFile = p.filePath;
        QSignalSpy title(&p, &Preview::updatePathToFile);
        QSignalSpy pages(&p, &Preview::updatePagesCount);
        p.openProject(path);
        QCOMPARE(prompts.messages.size(), 1);
        QVERIFY2(lastMessage().contains(message), qPrintable(lastMessage()));
        QVERIFY2(lastMessage().contains(QStringLiteral("p.")), qPrintable(lastMessage()));
        if (project.isEmpty())   // the system's reason, not a file object's "Unknown error"
            QVERIFY2(lastMessage().endsWith(qt_error_string(ENOENT)), qPrintable(lastMessage()));
        QCOMPARE(title.size(), 0);
        QCOMPARE(pages.size(), 0);
        QCOMPARE(p.filePath, shownFile);
        QCOMPARE(p.fields().size(), n + 1);
        QCOMPARE(p.fields().at(2)->currentFont().weight(), int(QFont::Bold));
        QCOMPARE(p.fields().at(0)->currentText(), QStringLiteral("H0"));
    }
};

QTEST_MAIN(TestProject)
#include "tst_project.moc"
