// The user geometry file: its bytes, rewrites that touch only the lines they
// mean, and failures that leave the old file as it was; the geometry panel with
// its presets, its name dialog and "Zastosuj" on a real sheet. Everything runs
// twice, the second time under a Polish locale, whose decimal separator is ",".

#include "app/mainwindow.h"
#include "fakeprompts.h"
#include "testfiles.h"
#include "files/usergeometryfile.h"
#include "geometry/gbgeometry.h"
#include "layout/geometrypreset.h"
#include "sheet/mygraphicsitem.h"
#include "sheet/preview.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <clocale>
#include <cmath>
#include <csignal>
#include <linux/capability.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

using Presets = QList<GeometryPreset>;

namespace {

GeometryPreset named(const QString &name, const GeometryPreset &values)
{
    GeometryPreset p = values;
    p.presetName = name;
    return p;
}

GeometryPreset builtIn(const char *name)
{
    const Presets &all = GeometryPreset::builtIns();
    for (const GeometryPreset &p : all) {
        if (p.presetName == QLatin1String(name))
            return p;
    }
    qFatal("no built-in preset %s", name);
}

GeometryPreset geometry(const QString &name, double hw, double hh, double lw, double lh, int n)
{
    return {name, QRectF(0, 0, lw, lh), QRectF(0, 0, hw, hh), n};
}

// Bytes of a literal, NUL bytes included.
template<qsizetype N>
QByteArray raw(const char (&s)[N])
{
    return QByteArray(s, N - 1);
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Root reads and writes whatever the permission bits say. Taking the two
// override capabilities out of the effective set makes them count for a while,
// as they do for every user.
class PermissionBitsCount
{
public:
    PermissionBitsCount()
    {
        syscall(SYS_capget, &header, saved);
        __user_cap_data_struct reduced[2] = {saved[0], saved[1]};
        reduced[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        syscall(SYS_capset, &header, reduced);
    }
    ~PermissionBitsCount() { syscall(SYS_capset, &header, saved); }

private:
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct saved[2]{};
};

template<typename T>
T *child(const QObject &parent, const char *name)
{
    T *found = parent.findChild<T *>(QLatin1String(name));
    if (!found)
        qFatal("no %s", name);
    return found;
}

// The panel's controls, and what it sends out.
struct Panel
{
    GbGeometry w;
    QComboBox *list = child<QComboBox>(w, "cbPredefinited");
    QSpinBox *labels = child<QSpinBox>(w, "sbLabels");
    QDoubleSpinBox *labelWidth = child<QDoubleSpinBox>(w, "dsbLabelWidth");
    QDoubleSpinBox *labelHeight = child<QDoubleSpinBox>(w, "dsbLabelHeight");
    QDoubleSpinBox *headerWidth = child<QDoubleSpinBox>(w, "dsbHeaderWidth");
    QDoubleSpinBox *headerHeight = child<QDoubleSpinBox>(w, "dsbHeaderHeight");
    QPushButton *accept = child<QPushButton>(w, "pbAccept");
    QPushButton *remove = child<QPushButton>(w, "pbDelete");
    QPushButton *save = child<QPushButton>(w, "pbSave");
    QSignalSpy counts{&w, &GbGeometry::updateLabelsPerBarette};
    QSignalSpy sizes{&w, &GbGeometry::updateDimensions};

    // n, label width and height, header width and height, as shown.
    QList<double> values() const
    {
        return {double(labels->value()), labelWidth->value(), labelHeight->value(), headerWidth->value(),
                headerHeight->value()};
    }
    QStringList entries() const
    {
        QStringList all;
        for (int i = 0; i < list->count(); ++i)
            all.append(list->itemText(i));
        return all;
    }
    void select(const QString &entry) { list->setCurrentIndex(list->findText(entry)); }
};

// The sheet keeps its millimetres as float: frames agree to a thousandth of a unit.
bool near(const QRectF &a, const QRectF &b)
{
    return std::abs(a.x() - b.x()) < 1e-3 && std::abs(a.y() - b.y()) < 1e-3
           && std::abs(a.width() - b.width()) < 1e-3 && std::abs(a.height() - b.height()) < 1e-3;
}

void import(MainWindow &window, FakePrompts &prompts, const QString &path)
{
    prompts.fileAnswers = {path};
    const QList<QAction *> actions = window.findChildren<QAction *>();
    for (QAction *a : actions) {
        if (a->text() == QStringLiteral("&Importuj plik z opisami"))
            a->trigger();
    }
}

const QStringList builtInEntries{QStringLiteral("Użytkownika"), "TYP-A1", "TYP-A2", "TYP-B1", "TYP-B2",
                                 "TYP-C1", "TYP-C2", "TYP-D1"};

} // namespace

class TestGeometry : public QObject
{
    Q_OBJECT

    FakePrompts prompts;
    std::unique_ptr<QTemporaryDir> workDir;
    QString startDir = QDir::currentPath();

    // The user geometry file the panel reads, in the working directory.
    static void writeUserFile(const QByteArray &bytes)
    {
        QFile file(UserGeometryFile::defaultPath);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
    }
    static QByteArray userFile() { return contents(UserGeometryFile::defaultPath); }

    // Presses "Zapisz" and types `names` into the name dialog one after the
    // other, pressing its "OK" after each; records whether it stayed open.
    QList<bool> saveAs(Panel &panel, const QStringList &names)
    {
        QList<bool> open;
        prompts.dialogs = [&](QDialog &dialog) {
            dialog.show();
            auto *name = child<QLineEdit>(dialog, "leName");
            for (const QString &n : names) {
                name->setText(n);
                child<QPushButton>(dialog, "pbOk")->click();
                open.append(dialog.isVisible());
                if (open.last() && name->text() != n)
                    qFatal("the dialog lost the name");
            }
            return dialog.result();
        };
        panel.save->click();
        prompts.dialogs = nullptr;
        return open;
    }

private slots:
    void init()
    {
        workDir = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir::setCurrent(workDir->path()));
        freshSettings();
        prompts.messages.clear();
        prompts.questions.clear();
        prompts.confirmButtons.clear();
        prompts.questionAnswers.clear();
    }

    void cleanup()
    {
        QDir::setCurrent(startDir);
        workDir.reset();
    }

    void linesAreWrittenInOneFormat_data()
    {
        QTest::addColumn<GeometryPreset>("preset");
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("TYP-C2 as Test") << named("Test", builtIn("TYP-C2"))
                                        << QByteArray("Test;;28;;12.12;;28;;11.8;;8\n");
        QTest::newRow("TYP-A1 as Test") << named("Test", builtIn("TYP-A1"))
                                        << QByteArray("Test;;50.25;;8.5;;37.3;;11.2;;8\n");
        QTest::newRow("editor extremes") << geometry("x", 100, 0, 0.01, 99.99, 15)
                                         << QByteArray("x;;100;;0;;0.01;;99.99;;15\n");
        QTest::newRow("negative zero") << geometry("z", -0.0, 1, 1, 1, 5) << QByteArray("z;;0;;1;;1;;1;;5\n");
        QTest::newRow("empty name") << geometry("", 1, 2, 3, 4, 6) << QByteArray(";;1;;2;;3;;4;;6\n");
        QTest::newRow("Windows-1250 name") << named(QStringLiteral("Żółw €"), builtIn("TYP-B1"))
                                           << QByteArray("\xaf\xf3\xb3w \x80;;29.5;;11.17;;29.5;;11.17;;8\n");
    }

    void linesAreWrittenInOneFormat()
    {
        QFETCH(GeometryPreset, preset);
        QFETCH(QByteArray, line);
        QByteArray out;
        QVERIFY(UserGeometryFile::formatLine(preset, out));
        QCOMPARE(out, line);
        // and read back as written
        QCOMPARE(UserGeometryFile::parse(out), Presets{preset});
    }

    void namesThatWouldNotReadBackAreRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("refused");
        QTest::newRow("plain") << QStringLiteral("Ustawienia własne nr 1") << false;
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("built-in name") << QStringLiteral("TYP-A1") << false;
        QTest::newRow("single semicolons") << QStringLiteral(";a;b") << false;
        QTest::newRow(";; inside") << QStringLiteral("a;;b") << true;
        QTest::newRow("ends in ;") << QStringLiteral("a;") << true;
        QTest::newRow("line feed") << QStringLiteral("a\nb") << true;
        QTest::newRow("NUL") << QStringLiteral("a") + QChar(0) << true;
        QTest::newRow("outside Windows-1250") << QStringLiteral("Moc → 5") << true;
        QTest::newRow("emoji") << QStringLiteral("😀") << true;
    }

    void namesThatWouldNotReadBackAreRefused()
    {
        QFETCH(QString, name);
        QFETCH(bool, refused);
        QCOMPARE(!UserGeometryFile::nameProblem(name).isEmpty(), refused);
        QByteArray line("untouched");
        QString error;
        QCOMPARE(UserGeometryFile::formatLine(geometry(name, 1, 1, 1, 1, 5), line, &error), !refused);
        if (refused) {
            QCOMPARE(line, QByteArray("untouched"));
            QCOMPARE(error, UserGeometryFile::nameProblem(name));
        }
    }

    void handEditedFilesRead_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Presets>("expected");
        const GeometryPreset a = geometry("A", 50.25, 8.5, 37.3, 11.2, 8);
        QTest::newRow("empty file") << QByteArray() << Presets{};
        QTest::newRow("CRLF") << QByteArray("A;;50.25;;8.5;;37.3;;11.2;;8\r\nB;;1;;2;;3;;4;;5\r\n")
                              << Presets{a, geometry("B", 1, 2, 3, 4, 5)};
        QTest::newRow("no final LF") << QByteArray("A;;50.25;;8.5;;37.3;;11.2;;8") << Presets{a};
        QTest::newRow("empty and short lines skipped")
            << QByteArray("\n\r\nB;;1;;2\nA;;50.25;;8.5;;37.3;;11.2;;8\n;;\n") << Presets{a};
        QTest::newRow("NUL ends the text of its line")
            << raw("A;;50.25;;8.5;;37.3;;11.2;;8\0junk\nB\0;;1;;2;;3;;4;;5\n") << Presets{a};
        QTest::newRow("Polish letters") << QByteArray("\xa3\xf3\x9f;;1;;2;;3;;4;;5\n")
                                        << Presets{geometry(QStringLiteral("Łóź"), 1, 2, 3, 4, 5)};
        QTest::newRow("not numbers read as 0, spaces ignored")
            << QByteArray("N;;1,5;;nan;; 3 ;;inf;;x\n") << Presets{geometry("N", 0, 0, 3, 0, 0)};
        QTest::newRow("values out of the editors' range as they stand")
            << QByteArray("O;;-4;;1e3;;3.14159;;4;;20\n") << Presets{geometry("O", -4, 1000, 3.14159, 4, 20)};
        QTest::newRow("fields after the sixth ignored") << QByteArray("a;;b;;1;;2;;3;;4;;5\n")
                                                        << Presets{geometry("a", 0, 1, 2, 3, 4)};
        QTest::newRow("empty name") << QByteArray(";;1;;2;;3;;4;;5\n") << Presets{geometry("", 1, 2, 3, 4, 5)};
    }

    void handEditedFilesRead()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(Presets, expected);
        TestFiles files;
        const UserGeometryFile file(files.write("usersgeometry.dat", bytes));
        Presets read{geometry("stale", 1, 1, 1, 1, 1)};
        QString error;
        QVERIFY(file.read(read, &error));
        QCOMPARE(read, expected);
        QVERIFY(error.isEmpty());
    }

    void changesTouchOnlyTheLinesMeant_data()
    {
        QTest::addColumn<QByteArray>("before");   // "<missing>": no file
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("after");
        const QByteArray hand = raw("\n"
                                    "short;;1\r\n"
                                    "A;;1;;2;;3;;4;;5\r\n"
                                    "Te\0st;;1;;2;;3;;4;;5\n"
                                    "\xa3\xf3\x9f;;1;;2;;3;;4;;5\n"
                                    "Test;;9;;9;;9;;9;;9\r\n"
                                    "test;;1;;2;;3;;4;;5\n"
                                    "Test;;1;;2;;3;;4;;5\0x\n"
                                    "Z;;1;;2;;3;;4;;77");
        auto without = [&hand](std::initializer_list<const char *> lines) {
            QByteArray b = hand;
            for (const char *line : lines)
                b.replace(QByteArray(line), QByteArray());
            return b;
        };
        const QByteArray c2("Test;;28;;12.12;;28;;11.8;;8\n");

        QTest::newRow("first save creates the file")
            << QByteArray("<missing>") << QString("append") << QString("Test") << c2;
        QTest::newRow("append after a line without LF")
            << QByteArray("A;;1;;2;;3;;4;;5") << QString("append") << QString("Test") << "A;;1;;2;;3;;4;;5\n" + c2;
        QTest::newRow("append keeps every byte")
            << hand << QString("append") << QString("TYP-C2") << hand + "\nTYP-C2;;28;;12.12;;28;;11.8;;8\n";
        QTest::newRow("overwrite keeps the line's position")
            << QByteArray("A;;1;;2;;3;;4;;5\nTest;;1;;1;;1;;1;;5\nB;;1;;2;;3;;4;;5\n") << QString("replace")
            << QString("Test")
            << "A;;1;;2;;3;;4;;5\n" + c2 + "B;;1;;2;;3;;4;;5\n";
        QTest::newRow("overwrite replaces every line of the name")
            << hand << QString("replace") << QString("Test")
            << QByteArray(hand).replace("Test;;9;;9;;9;;9;;9\r\n", c2).replace(
                   raw("Test;;1;;2;;3;;4;;5\0x\n"), c2);
        QTest::newRow("overwrite of a line gone from the file adds it")
            << QByteArray("A;;1;;2;;3;;4;;5") << QString("replace") << QString("Test")
            << "A;;1;;2;;3;;4;;5\n" + c2;
        QTest::newRow("delete removes every line of the name and nothing else")
            << hand << QString("remove") << QString("Test")
            << without({"Test;;9;;9;;9;;9;;9\r\n"}).replace(raw("Test;;1;;2;;3;;4;;5\0x\n"),
                                                              QByteArray());
        QTest::newRow("delete of a last line without LF")
            << hand << QString("remove") << QString("Z") << without({"Z;;1;;2;;3;;4;;77"});
        QTest::newRow("delete of a Polish name") << hand << QString("remove") << QStringLiteral("Łóź")
                                                 << without({"\xa3\xf3\x9f;;1;;2;;3;;4;;5\n"});
        QTest::newRow("delete keeps a last line without LF whole")
            << QByteArray("Test;;1;;2;;3;;4;;5\nB;;1;;2;;3;;4;;5") << QString("remove") << QString("Test")
            << QByteArray("B;;1;;2;;3;;4;;5");
        QTest::newRow("delete of a name not in the file") << hand << QString("remove") << QString("short") << hand;
        const QByteArray padding(UserGeometryFile::maxSize - c2.size(), '\n');
        QTest::newRow("append up to the size limit") << padding << QString("append") << QString("Test") << padding + c2;
        QTest::newRow("delete without a file") << QByteArray("<missing>") << QString("remove") << QString("Test")
                                               << QByteArray("<missing>");
    }

    void changesTouchOnlyTheLinesMeant()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, operation);
        QFETCH(QString, name);
        QFETCH(QByteArray, after);
        TestFiles files;
        const QString path = before == "<missing>" ? files.path("usersgeometry.dat")
                                                   : files.write("usersgeometry.dat", before);
        const UserGeometryFile file(path);
        const GeometryPreset values = named(name, builtIn("TYP-C2"));
        const QDateTime longAgo(QDate(2001, 2, 3), QTime(4, 5, 6), Qt::UTC);
        if (before != "<missing>") {
            QFile old(path);
            QVERIFY(old.open(QIODevice::ReadOnly) && old.setFileTime(longAgo, QFileDevice::FileModificationTime));
        }
        QString error;
        const bool ok = operation == "append"    ? file.append(values, &error)
                        : operation == "replace" ? file.replace(values, &error)
                                                 : file.remove(name, &error);
        QVERIFY2(ok, qPrintable(error));
        QCOMPARE(contents(path), after);
        // A change that changes nothing writes nothing.
        if (after == before && before != "<missing>")
            QCOMPARE(QFileInfo(path).lastModified().toUTC(), longAgo);
    }

    void failuresKeepTheOldFile_data()
    {
        QTest::addColumn<QString>("failure");
        QTest::newRow("read-only working directory") << QString("read-only folder");
        QTest::newRow("full disk") << QString("file size limit");
        QTest::newRow("unreadable file") << QString("unreadable");
        QTest::newRow("file too large") << QString("too large");
        QTest::newRow("a folder under the file's name") << QString("folder");
        QTest::newRow("a symbolic link to nothing") << QString("dangling link");
    }

    void failuresKeepTheOldFile()
    {
        QFETCH(QString, failure);
        TestFiles files;
        const QString dir = files.path("work");
        QVERIFY(QDir().mkpath(dir));
        const QString path = dir + "/usersgeometry.dat";
        QByteArray old("A;;1;;2;;3;;4;;5\nTest;;1;;2;;3;;4;;5");
        if (failure == "too large")
            old += QByteArray(UserGeometryFile::maxSize, '\n');
        if (failure == "folder")
            QVERIFY(QDir().mkpath(path));
        else if (failure == "dangling link")
            QVERIFY(QFile::link(dir + "/nowhere.dat", path));
        else
            QVERIFY(QFile(files.write("work/usersgeometry.dat", old)).exists());
        const UserGeometryFile file(path);
        const bool readable = failure == "read-only folder" || failure == "file size limit";

        std::signal(SIGXFSZ, SIG_IGN);
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        {
            PermissionBitsCount bits;
            if (failure == "read-only folder")
                QFile::setPermissions(dir, QFile::ReadOwner | QFile::ExeOwner);
            if (failure == "unreadable")
                QFile::setPermissions(path, QFile::WriteOwner);
            if (failure == "file size limit") {
                rlimit small = saved;
                small.rlim_cur = 8;
                setrlimit(RLIMIT_FSIZE, &small);
            }
            const GeometryPreset values = named("Test", builtIn("TYP-C2"));
            QString error;
            Presets read;
            QCOMPARE(file.read(read, &error), readable);
            QCOMPARE(read.size(), readable ? 2 : 0);   // the last line has no LF: it counts
            QCOMPARE(error.isEmpty(), readable);
            error.clear();
            QVERIFY(!file.append(values, &error));
            QVERIFY(!error.isEmpty());
            error.clear();
            QVERIFY(!file.replace(values, &error));
            QVERIFY(!error.isEmpty());
            error.clear();
            QVERIFY(!file.remove("Test", &error));
            QVERIFY(!error.isEmpty());
            // The window says so at start, not only on stderr.
            if (!readable) {
                QDir::setCurrent(dir);
                MainWindow window;
                const QString shown = window.statusBar()->currentMessage();
                QVERIFY2(shown.contains(UserGeometryFile::defaultPath), qPrintable(shown));
                QDir::setCurrent(workDir->path());
            }
            setrlimit(RLIMIT_FSIZE, &saved);
            QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        }
        if (failure == "dangling link")
            QCOMPARE(QFileInfo(path).symLinkTarget(), dir + "/nowhere.dat");
        else if (failure != "folder")
            QCOMPARE(contents(path), old);
        QCOMPARE(QDir(dir).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList{"usersgeometry.dat"});
    }

    void presetsFillTheEditorsAndEditsMoveToTheFreeEntry()
    {
        Panel panel;
        QCOMPARE(panel.entries(), builtInEntries);
        QCOMPARE(panel.list->currentIndex(), 1);
        QCOMPARE(panel.values(), (QList<double>{8, 37.3, 11.2, 50.25, 8.5}));
        QVERIFY(!panel.save->isEnabled());
        QVERIFY(!panel.remove->isEnabled());

        panel.select("TYP-C2");
        QCOMPARE(panel.values(), (QList<double>{8, 28, 11.8, 28, 12.12}));
        QCOMPARE(panel.list->currentText(), QStringLiteral("TYP-C2"));

        panel.labelHeight->stepUp();
        QCOMPARE(panel.values(), (QList<double>{8, 28, 11.9, 28, 12.12}));
        QCOMPARE(panel.list->currentIndex(), 0);
        QVERIFY(panel.save->isEnabled());
        QVERIFY(!panel.remove->isEnabled());
        panel.labels->setValue(6);
        panel.select("TYP-C2");
        panel.select(GbGeometry::freeEntry);
        QCOMPARE(panel.values(), (QList<double>{8, 28, 11.8, 28, 12.12}));
        QCOMPARE(panel.counts.size() + panel.sizes.size(), 0);   // nothing leaves before "Zastosuj"
    }

    void acceptSendsTheEditorsValuesOrRefusesThem()
    {
        writeUserFile("Big;;29.5;;8.5;;29.5;;3.14159;;20\n"
                      "Minus;;-4;;8.5;;29.5;;11.2;;6\n");
        Panel panel;
        panel.select("*Big");
        QVERIFY(panel.remove->isEnabled());
        QCOMPARE(panel.values(), (QList<double>{15, 29.5, 3.14, 29.5, 8.5}));
        panel.accept->click();
        QCOMPARE(panel.counts.size(), 1);
        QCOMPARE(panel.counts.at(0).at(0).toInt(), 15);
        QCOMPARE(panel.sizes.size(), 1);
        QCOMPARE(panel.sizes.at(0).at(0).toRectF(), QRectF(0, 0, 29.5, 3.14));
        QCOMPARE(panel.sizes.at(0).at(1).toRectF(), QRectF(0, 0, 29.5, 8.5));

        // The number goes out first, then the sizes.
        QList<QByteArray> order;
        connect(&panel.w, &GbGeometry::updateLabelsPerBarette, this, [&order] { order.append("count"); });
        connect(&panel.w, &GbGeometry::updateDimensions, this, [&order] { order.append("sizes"); });
        panel.select("TYP-C1");
        panel.accept->click();
        QCOMPARE(order, (QList<QByteArray>{"count", "sizes"}));
        QCOMPARE(panel.sizes.last().at(0).toRectF(), QRectF(0, 0, 29.5, 11.2));

        // A negative stored width shows as 0, which no sheet can hold.
        panel.select("*Minus");
        QCOMPARE(panel.headerWidth->value(), 0.0);
        panel.accept->click();
        QCOMPARE(panel.counts.size(), 2);
        QCOMPARE(prompts.messages.size(), 1);
        QVERIFY(prompts.messages.at(0).text.contains(QStringLiteral("większe od zera")));
    }

    void savingOverwritingAndDeleting()
    {
        writeUserFile("Other;;1;;2;;3;;4;;5\r\n");
        Panel panel;
        panel.select("TYP-C2");
        panel.select(GbGeometry::freeEntry);
        QCOMPARE(saveAs(panel, {"Test"}), QList<bool>{false});
        QCOMPARE(userFile(), QByteArray("Other;;1;;2;;3;;4;;5\r\nTest;;28;;12.12;;28;;11.8;;8\n"));
        QCOMPARE(panel.entries(), (builtInEntries + QStringList{"*Other", "*Test"}));
        QCOMPARE(panel.list->currentText(), QStringLiteral("*Test"));
        QVERIFY(panel.remove->isEnabled());
        QVERIFY(!panel.save->isEnabled());
        QVERIFY(prompts.questions.isEmpty());

        // The same name again: asked first; "Anuluj" changes nothing.
        panel.labels->setValue(10);
        const QByteArray saved = userFile();
        QCOMPARE(saveAs(panel, {"Test"}), QList<bool>{false});
        QCOMPARE(prompts.questions.size(), 1);
        QCOMPARE(prompts.questions.at(0).text,
                 QStringLiteral("Ustawienia o podanej nazwie juz istnieją.\nCzy nadpisać?"));
        QCOMPARE(prompts.confirmButtons.at(0), (QStringList{"Nadpisz", "Anuluj"}));
        QCOMPARE(userFile(), saved);
        QCOMPARE(panel.list->currentIndex(), 0);

        // "Nadpisz" replaces the line where it stands.
        writeUserFile(saved + "Last;;1;;2;;3;;4;;5");
        prompts.questionAnswers = {QMessageBox::Ok};
        saveAs(panel, {"Test"});
        QCOMPARE(userFile(),
                 QByteArray("Other;;1;;2;;3;;4;;5\r\nTest;;28;;12.12;;28;;11.8;;10\nLast;;1;;2;;3;;4;;5"));
        QCOMPARE(panel.list->currentText(), QStringLiteral("*Test"));
        QCOMPARE(panel.w.presetList().last().labelsPerBarette, 10);

        // A built-in name becomes a user preset of its own, without a question.
        panel.select("TYP-A1");
        panel.select(GbGeometry::freeEntry);
        QCOMPARE(saveAs(panel, {"TYP-A1"}), QList<bool>{false});
        QCOMPARE(prompts.questions.size(), 2);
        QCOMPARE(panel.list->currentText(), QStringLiteral("*TYP-A1"));
        QVERIFY(userFile().endsWith("\nTYP-A1;;50.25;;8.5;;37.3;;11.2;;8\n"));

        // Deleting removes every line of the name, and shows its values on the free entry.
        writeUserFile("Test;;1;;2;;3;;4;;5\nKeep;;1;;2;;3;;4;;5\r\n\nTest;;9;;9;;9;;9;;9\n");
        Panel fresh;
        QCOMPARE(fresh.entries(), (builtInEntries + QStringList{"*Test", "*Keep", "*Test"}));
        fresh.select("*Test");
        fresh.remove->click();   // "Anuluj"
        QCOMPARE(prompts.questions.last().text, QStringLiteral("Czy na pewno usunąć ustawienia:\nTest"));
        QCOMPARE(prompts.confirmButtons.last(), (QStringList{QStringLiteral("Usuń"), "Anuluj"}));
        QCOMPARE(fresh.entries().size(), 11);
        prompts.questionAnswers = {QMessageBox::Ok};
        fresh.remove->click();
        QCOMPARE(userFile(), QByteArray("Keep;;1;;2;;3;;4;;5\r\n\n"));
        QCOMPARE(fresh.entries(), (builtInEntries + QStringList{"*Keep"}));
        QCOMPARE(fresh.list->currentIndex(), 0);
        QCOMPARE(fresh.values(), (QList<double>{5, 3, 4, 1, 2}));
        QVERIFY(!fresh.save->isEnabled());
        QVERIFY(!fresh.remove->isEnabled());
        QVERIFY(prompts.messages.isEmpty());
    }

    void nameDialogKeepsNamesTheFileCannotHold()
    {
        Panel panel;
        panel.labels->setValue(9);
        QCOMPARE(saveAs(panel, {"a;;b", QStringLiteral("Moc → 5"), "Dobra"}), (QList<bool>{true, true, false}));
        QCOMPARE(prompts.messages.size(), 2);
        QVERIFY(prompts.messages.at(0).text.contains(";;"));
        QVERIFY(prompts.messages.at(1).text.contains(QStringLiteral("→")));
        QCOMPARE(contents(panel.w.userFilePath()), QByteArray("Dobra;;50.25;;8.5;;37.3;;11.2;;9\n"));
        QCOMPARE(panel.list->currentText(), QStringLiteral("*Dobra"));

        // Closing the dialog without "OK" saves nothing.
        panel.select(GbGeometry::freeEntry);
        panel.save->click();
        QCOMPARE(panel.entries().size(), 9);
    }

    // The user's data folder holds the file, made at the first save, unless
    // earlier use left one in the working folder; the tool tip names it, and
    // one that cannot be read is said so in the window.
    void userFileInTheDataFolderOrWhereEarlierUseLeftIt()
    {
        const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        {
            Panel panel;
            panel.select(GbGeometry::freeEntry);
            saveAs(panel, {"Nowe"});
            QVERIFY(panel.w.toolTip().contains(data + "/usersgeometry.dat"));
            QCOMPARE(contents(data + "/usersgeometry.dat"), QByteArray("Nowe;;50.25;;8.5;;37.3;;11.2;;8\n"));
        }
        writeUserFile("Stare;;1;;2;;3;;4;;5\n");
        Panel panel;
        QCOMPARE(panel.entries().mid(builtInEntries.size()), QStringList{"*Stare"});
        QVERIFY(panel.w.toolTip().contains(QDir::current().absoluteFilePath("usersgeometry.dat")));
        panel.select(GbGeometry::freeEntry);
        saveAs(panel, {"Nowe"});
        QCOMPARE(userFile(), QByteArray("Stare;;1;;2;;3;;4;;5\nNowe;;50.25;;8.5;;37.3;;11.2;;8\n"));

        QVERIFY(QFile::remove(UserGeometryFile::defaultPath) && QDir().mkdir(UserGeometryFile::defaultPath));
        MainWindow window;
        QVERIFY(window.statusBar()->currentMessage().contains("usersgeometry.dat"));
    }

    void failedChangesSayWhyAndKeepFileAndList_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<bool>("full");   // the file at its size limit, not a read-only folder
        QTest::newRow("save under a new name") << QString("new") << false;
        QTest::newRow("overwrite") << QString("overwrite") << false;
        QTest::newRow("delete") << QString("delete") << false;
        // The reader would refuse a larger file, and every preset would be gone.
        QTest::newRow("save under a new name, file full") << QString("new") << true;
        QTest::newRow("overwrite with a longer line, file full") << QString("overwrite") << true;
    }

    void failedChangesSayWhyAndKeepFileAndList()
    {
        QFETCH(QString, operation);
        QFETCH(bool, full);
        QByteArray old("Test;;1;;2;;3;;4;;5\n");
        if (full)
            old += QByteArray(UserGeometryFile::maxSize - old.size(), '\n');
        writeUserFile(old);
        Panel panel;
        panel.select("*Test");
        QCOMPARE(panel.list->currentText(), QStringLiteral("*Test"));   // a file at its limit reads
        if (operation != "delete")
            panel.labelWidth->setValue(42);
        const QStringList entries = panel.entries();
        const QList<double> values = panel.values();
        const int selected = panel.list->currentIndex();
        const QList<GeometryPreset> presets = panel.w.presetList();
        prompts.questionAnswers = {QMessageBox::Ok};
        {
            PermissionBitsCount bits;
            if (!full)
                QFile::setPermissions(".", QFile::ReadOwner | QFile::ExeOwner);
            if (operation == "delete")
                panel.remove->click();
            else
                saveAs(panel, {operation == "new" ? "Nowe" : "Test"});
            QFile::setPermissions(".", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        QCOMPARE(prompts.messages.size(), 1);
        QVERIFY(prompts.messages.at(0).text.contains(UserGeometryFile::defaultPath));
        if (full)
            QVERIFY2(prompts.messages.at(0).text.contains(QStringLiteral("1024 kB")),
                     qPrintable(prompts.messages.at(0).text));
        QCOMPARE(userFile(), old);
        QCOMPARE(panel.entries(), entries);
        QCOMPARE(panel.w.presetList(), presets);
        QCOMPARE(panel.values(), values);
        QCOMPARE(panel.list->currentIndex(), selected);
    }

    void acceptLaysTheSheetOutAgain()
    {
        TestFiles files;
        QByteArray texts;
        for (int line = 0; line < 7 * 9; ++line)
            texts += "T" + QByteArray::number(line) + '\n';
        MainWindow window;
        Preview *sheet = window.sheetPreview();
        prompts.fileAnswers = {files.write("opisy.txt", texts)};
        const QList<QAction *> actions = window.findChildren<QAction *>();
        for (QAction *a : actions) {
            if (a->text() == QStringLiteral("&Importuj plik z opisami"))
                a->trigger();
        }
        QCOMPARE(sheet->pageCount(), 2);   // three by two barettes a page

        auto *panel = child<GbGeometry>(window, "gbGeometry");
        auto *list = child<QComboBox>(*panel, "cbPredefinited");
        list->setCurrentIndex(list->findText("TYP-C2"));
        child<QPushButton>(*panel, "pbAccept")->click();
        // Six by two barettes of 28 mm: one page.
        QCOMPARE(sheet->pageCount(), 1);
        QCOMPARE(child<QLabel>(window, "lbPage")->text(), QStringLiteral("1 / 1"));
        QCOMPARE(sheet->fields().size(), 7 * 9);
        QVERIFY(near(sheet->fields().at(0)->frame(), QRectF(15, 36, 84, 36.36)));
        QVERIFY(near(sheet->fields().at(1)->frame(), QRectF(15, 72.36, 84, 35.4)));
        QVERIFY(near(sheet->fields().at(9)->frame(), QRectF(108, 36, 84, 36.36)));   // next column
        QVERIFY(near(sheet->fields().at(6 * 9)->frame(), QRectF(15, 385.56, 84, 36.36)));   // next row

        // Lower headers alone: their texts no longer fit, and the count says so.
        QCOMPARE(sheet->overflowCount(), 0);
        child<QDoubleSpinBox>(*panel, "dsbHeaderHeight")->setValue(2);
        child<QPushButton>(*panel, "pbAccept")->click();
        QTRY_COMPARE(child<QToolButton>(window, "pbOverflow")->text(), QStringLiteral("Nie mieści się: 7 pól"));

        // A barette taller than the page: a message, and the sheet stays.
        const QList<MyGraphicsItem *> before = sheet->fields();
        const QRectF frame = before.at(1)->frame();
        child<QDoubleSpinBox>(*panel, "dsbLabelHeight")->setValue(60);
        child<QPushButton>(*panel, "pbAccept")->click();
        QCOMPARE(prompts.messages.size(), 1);
        QVERIFY(prompts.messages.at(0).text.contains(QStringLiteral("nie mieści się")));
        QCOMPARE(sheet->fields(), before);
        QCOMPARE(sheet->fields().at(1)->frame(), frame);
        QCOMPARE(sheet->pageCount(), 1);
    }

    // "Zastosuj" with a new number of labels on a large file asks with the
    // pages of the whole new geometry; "Nie" leaves the sheet and the panel
    // as they were, "Tak" applies all of it without asking twice.
    void acceptOnALargeSheetIsAllOrNothing()
    {
        TestFiles files;
        MainWindow window;
        Preview *sheet = window.sheetPreview();
        sheet->generationEnabled = false;   // the grouping and the question are what count
        import(window, prompts, files.write("duzy.txt", QByteArray(20'000 * 9, '\n')));
        QCOMPARE(sheet->baretteCount(), 20'000);
        auto *list = child<QComboBox>(window, "cbPredefinited");

        for (const QMessageBox::StandardButton answer : {QMessageBox::No, QMessageBox::Yes}) {
            prompts.questions.clear();
            prompts.questionAnswers = {answer};
            list->setCurrentIndex(list->findText("TYP-C1"));
            child<QPushButton>(window, "pbAccept")->click();
            QCOMPARE(prompts.questions.size(), 1);
            QCOMPARE(prompts.questions.at(0).text,
                     QStringLiteral("Plik zawiera 25715 baretek (1429 stron). Wczytać?"));   // not 2858
            const bool taken = answer == QMessageBox::Yes;
            QCOMPARE(list->currentText(), taken ? "TYP-C1" : "TYP-A1");
            QCOMPARE(child<QSpinBox>(window, "sbLabels")->value(), taken ? 6 : 8);
            QCOMPARE(sheet->layout().labelsPerBarette, taken ? 6 : 8);
            QCOMPARE(sheet->layout().labelWidth, taken ? 29.5f : 37.3f);
            QCOMPARE(sheet->baretteCount(), taken ? 25'715 : 20'000);
        }
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    TestGeometry test;
    int failed = QTest::qExec(&test, argc, argv);
    // Again as a Polish user runs it.
    std::setlocale(LC_ALL, "pl_PL.UTF-8");
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    if (QLocale().decimalPoint() != QLatin1String(","))
        qFatal("the Polish locale has no decimal comma");
    failed += QTest::qExec(&test, argc, argv);
    return failed;
}

#include "tst_geometry.moc"
