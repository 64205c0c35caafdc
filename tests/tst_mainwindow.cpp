// The main window against a real (private) CUPS server: its controls, the
// printer list, the import, and the font, page and zoom tool bars.

#include "app/aboutdialog.h"
#include "app/buildinfo.h"
#include "app/commandline.h"
#include "app/helpdialog.h"
#include "app/findbar.h"
#include "app/mainwindow.h"
#include "editor/editpad.h"
#include "fakeprompts.h"
#include "windowactions.h"
#include "pdfcheck.h"
#include "sheetfixtures.h"
#include "testfiles.h"
#include "dialogs/sheetimportdialog.h"
#include "document/sheetdocument.h"
#include "files/settings.h"
#include "printing/printsettings.h"
#include "printing/testpage.h"
#include "sheet/mygraphicsitem.h"
#include "sheet/preview.h"
#include "system/language.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QRadioButton>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QCursor>
#include <QDialogButtonBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QMultiHash>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPointer>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QWindow>

#include <cstdio>
#include <functional>

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSettings>
#include <QTranslator>
#include <QXmlStreamReader>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {
constexpr int n = 8;

// `count` barettes of n + 1 lines "T0", "T1", ...
QByteArray numberedLines(int count)
{
    QByteArray bytes;
    for (int b = 0; b < count * (n + 1); ++b)
        bytes += "T" + QByteArray::number(b) + '\n';
    return bytes;
}

// Entries of one menu (and of the menu bar) that share an access key:
// "Plik: z (&Zapisz projekt, &Zakończ)".
QStringList clashingAccessKeys(const QMenuBar &bar)
{
    QStringList clashes;
    const auto check = [&](const QString &where, const QList<QAction *> &entries, auto &self) -> void {
        QMultiHash<QChar, QString> byKey;
        for (const QAction *a : entries) {
            const QString text = a->text();
            for (qsizetype i = text.indexOf(u'&'); i >= 0 && i + 1 < text.size(); i = text.indexOf(u'&', i + 2)) {
                if (text.at(i + 1) != u'&') {
                    byKey.insert(text.at(i + 1).toLower(), text);
                    break;
                }
            }
            if (a->menu())
                self(text, a->menu()->actions(), self);
        }
        const QList<QChar> keys = byKey.uniqueKeys();
        for (const QChar key : keys) {
            if (byKey.count(key) > 1)
                clashes.append(QStringLiteral("%1: %2 (%3)").arg(where, key, byKey.values(key).join(QStringLiteral(", "))));
        }
    };
    check(QStringLiteral("menu bar"), bar.actions(), check);
    return clashes;
}

// The entries of the menus of `bar` that `helpList`, the help's list of the
// menus, leaves out ("Edycja: Znajdź… (Ctrl+F)"): it has a part for each
// menu in order ("2. Edycja"), naming each entry with its shortcut.
QStringList entriesMissingFromHelp(const QMenuBar &bar, const QString &helpList)
{
    // One line: an entry may be broken over two.
    static const QRegularExpression space(QStringLiteral("\\s+"));
    const QString list = QString(helpList).replace(space, QStringLiteral(" "));
    QStringList missing;
    const QList<QAction *> menus = bar.actions();
    for (qsizetype i = 0; i < menus.size(); ++i) {
        const QString title = QString(menus.at(i)->text()).remove(u'&');
        const qsizetype from = list.indexOf(QStringLiteral(" %1. %2 ").arg(i + 1).arg(title));
        if (from < 0) {
            missing.append(title);
            continue;
        }
        const qsizetype to = list.indexOf(QStringLiteral(" %1. ").arg(i + 2), from);
        const QString part = list.mid(from, to < 0 ? -1 : to - from);
        const auto check = [&](const QMenu *menu, auto &self) -> void {
            const QList<QAction *> entries = menu->actions();
            for (const QAction *a : entries) {
                if (a->isSeparator())
                    continue;
                QString entry = QString(a->text()).remove(u'&');
                if (!a->shortcut().isEmpty())
                    entry += QStringLiteral(" (%1)").arg(a->shortcut().toString());
                if (!part.contains(entry))
                    missing.append(title + QStringLiteral(": ") + entry);
                // The recent files are the user's, not the program's.
                if (a->menu() && a->menu()->objectName() != QLatin1String("recentMenu"))
                    self(a->menu(), self);
            }
        };
        check(menus.at(i)->menu(), check);
    }
    return missing;
}

void lpadmin(const QStringList &args)
{
    QProcess proc;
    proc.start(QStringLiteral("lpadmin"), args);
    QVERIFY(proc.waitForFinished(20000));
    QCOMPARE(proc.exitCode(), 0);
}
} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

    TestFiles files;
    FakePrompts prompts;
    std::unique_ptr<MainWindow> window;
    Preview *preview = nullptr;

    template<typename T>
    T *child(const QString &name)
    {
        T *widget = window->findChild<T *>(name);
        if (!widget)
            qFatal("no %s", qPrintable(name));
        return widget;
    }

    void import(const QString &path)
    {
        prompts.fileAnswers = {path};
        action(*window, QStringLiteral("&Importuj plik z opisami"))->trigger();
    }

    void clickField(int id, Qt::KeyboardModifiers mods = {})
    {
        const MyGraphicsItem *field = preview->fields().at(id);
        QTest::mouseClick(preview->viewport(), Qt::LeftButton, mods,
                          preview->mapFromScene(field->frame().center()));
    }

    void activate()
    {
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        // The window itself, not one of its editors: a read lets the editor
        // opened before it become active meanwhile.
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget *>(window.get()));
    }

    QList<EditPad *> editors() const
    {
        QList<EditPad *> shown;
        const QList<EditPad *> all = window->findChildren<EditPad *>();
        for (EditPad *pad : all) {
            if (pad->isVisible())
                shown.append(pad);
        }
        return shown;
    }

    QString text(const QString &name) { return child<QLineEdit>(name)->text(); }
    QString label(const QString &name) { return child<QLabel>(name)->text(); }

private slots:
    void initTestCase()
    {
        QVERIFY2(qEnvironmentVariableIsSet("LAMELLO_CUPS_DIR"), "run through ctest: it starts the test printers");
        useTestSettings();
    }

    void init()
    {
        prompts.messages.clear();
        freshSettings();
        window = std::make_unique<MainWindow>();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        preview = window->sheetPreview();
    }

    void cleanup()
    {
        window.reset();
        prompts.questionAnswers.clear();
        prompts.questions.clear();
        prompts.modalDialogs.clear();
        prompts.dialogs = {};
        prompts.fileAnswers.clear();
        prompts.progress = {};
        prompts.progressDelay = 500;
        prompts.progressShown = 0;
    }

    void startsEmptyWithItsControlsInPlace()
    {
        QCOMPARE(window->windowTitle(), QStringLiteral("Lamello"));
        // The program's boxes pass no title: the platform's box shows the
        // program's name, never the lower-case one of its files.
        Prompts::install(nullptr);
        const auto fakeAgain = qScopeGuard([this] { Prompts::install(&prompts); });
        QString boxTitle;
        QTimer closer;
        connect(&closer, &QTimer::timeout, this, [&boxTitle] {
            if (QWidget *box = QApplication::activeModalWidget()) {
                boxTitle = box->windowTitle();
                box->close();
            }
        });
        closer.start(10);
        Prompts::current().message(QMessageBox::Information, QString(), QStringLiteral("Zapisano."));
        QCOMPARE(boxTitle, QStringLiteral("Lamello"));
        QCOMPARE(label(QStringLiteral("lbPage")), QStringLiteral("1 / 1"));
        QCOMPARE(text(QStringLiteral("leFontSize")), QStringLiteral("10"));
        QCOMPARE(window->fontSizeModel()->value(), 10);
        QVERIFY(!window->fontSizeModel()->isVisible());
        // The first resize has fitted the view and reported the zoom.
        QCOMPARE(label(QStringLiteral("lbZoom")), QStringLiteral("Powiększenie: +0%"));
        QCOMPARE(preview->pageCount(), 0);   // no sheet until something is loaded
        QCOMPARE(window->statusBar()->findChild<QLabel *>(QStringLiteral("lbMaker"))->text(),
                 QStringLiteral("Lamello  "));
        QVERIFY(window->windowState().testFlag(Qt::WindowMaximized));
        QCOMPARE(window->windowIcon().pixmap(48).toImage(),
                 QIcon(QStringLiteral(":/icons/lamello.png")).pixmap(48).toImage());
    }

    void actionsMenusAndToolBars()
    {
        struct Row
        {
            const char *text;
            const char *keys;
            bool icon;
        };
        const Row rows[] = {
            {"&Nowe opisy", "Ctrl+N", true},           {"&Otwórz projekt", "Ctrl+O", true},
            {"&Zapisz projekt", "Ctrl+S", true},       {"&Importuj plik z opisami", "Ctrl+Alt+O", true},
            {"&Eksportuj plik z opisami", "Ctrl+Alt+S", true}, {"Za&kończ", "Ctrl+Q", true},
            {"&Edytor", "Ctrl+E", true},               {"Drukuj &bieżącą stronę", "Ctrl+P", true},
            {"Drukuj &wszystkie strony", "Ctrl+Shift+P", true}, {"&Pomoc", "F1", false},
            {"O &Qt", "", false},                      {"&Cofnij", "Ctrl+Z", false},
            {"O programie &Lamello", "", true},
            {"&Ponów", "Ctrl+Shift+Z", false},         {"Drukuj &strony…", "Ctrl+Alt+P", false},
            {"Drukuj &oznaczenia", "", false},         {"&Kalibracja drukarki…", "", false},
            {"Zapisz projekt &jako…", "Ctrl+Shift+S", false},
            {"Dopasuj &rozmiar", "Ctrl+Shift+F", false},
            {"&Następne pole, które się nie mieści", "F3", false},
            {"Importuj &arkusz…", "", false},          {"&Wczytaj ponownie", "F5", false},
            {"Wklej z &arkusza", "Ctrl+Shift+V", false}, {"Eksportuj jako &CSV…", "", false},
            {"P&oprzednie pole, które się nie mieści", "Shift+F3", false},
        };
        for (const Row &row : rows) {
            QAction *a = action(*window, QString::fromUtf8(row.text));
            QVERIFY2(a, row.text);
            QCOMPARE(a->shortcut().toString(), QString::fromLatin1(row.keys));
            QCOMPARE(!a->icon().isNull() && !a->icon().pixmap(16).isNull(), row.icon);
        }

        QStringList menus;
        const QList<QAction *> menuActions = window->menuBar()->actions();
        for (const QAction *m : menuActions)
            menus.append(m->text());
        QCOMPARE(menus, (QStringList{"&Plik", "&Edycja", "Dr&ukuj", "P&omoc"}));
        QStringList fileEntries;
        const QList<QAction *> fileActions = window->menuBar()->actions().first()->menu()->actions();
        for (const QAction *a : fileActions)
            fileEntries.append(a->text());
        QCOMPARE(fileEntries.size(), 13);
        QCOMPARE(fileEntries.at(11), QStringLiteral("Ostatnio otwierane"));
        QCOMPARE(fileEntries.last(), QStringLiteral("Za&kończ"));

        QStringList bars;
        const QList<QToolBar *> toolBars = window->findChildren<QToolBar *>();
        for (QToolBar *bar : toolBars) {
            bars.append(bar->windowTitle());
            QCOMPARE(window->toolBarArea(bar),
                     bar->windowTitle() == QStringLiteral("Geometria") ? Qt::LeftToolBarArea : Qt::TopToolBarArea);
        }
        QCOMPARE(bars.size(), 6);
        for (const char *title : {"Akcje", "Drukarka", "Czcionka", "Nawigacja", "Powiększenie", "Geometria"})
            QVERIFY2(bars.contains(QString::fromUtf8(title)), title);
        QCOMPARE(child<QPushButton>(QStringLiteral("pbZoomReset"))->text(), QStringLiteral("100%"));
    }

    void everyPictureAndTheFontAreEmbedded()
    {
        for (const char *path : {":/icons/new.png", ":/icons/open.png", ":/icons/Save-icon.png",
                                 ":/icons/export-icon.png", ":/icons/import-icon.png", ":/icons/exit-icon.png",
                                 ":/icons/edit.png", ":/icons/printer_b.png", ":/icons/printer_g.png",
                                 ":/icons/printer_r.png", ":/icons/arrow-down.png", ":/icons/arrow-up.png",
                                 ":/icons/arrow-left.png", ":/icons/arrow-right.png", ":/icons/Zoom-Minus-icon.png",
                                 ":/icons/Zoom-Plus-icon.png", ":/icons/layer1.png", ":/icons/logo_duze.png",
                                 ":/icons/images/icon.png", ":/icons/lamello.png"}) {
            QVERIFY2(!QPixmap(QString::fromLatin1(path)).isNull(), path);
        }
        QVERIFY(QFile::exists(QStringLiteral(":/fonts/TIMES_K.ttf")));
    }

    // ------------------------------------------------------------ printers

    void printerListFromTheSystem()
    {
        auto *cb = child<QComboBox>(QStringLiteral("cbPrinter"));
        QStringList entries;
        for (int i = 0; i < cb->count(); ++i)
            entries.append(cb->itemText(i));
        // "PDF" and "pdf" hide a queue; "Pdf" does not.
        QCOMPARE(entries, (QStringList{"Wybierz drukarkę", "Archiwum", "Etykiety_Pdf", "Magazyn", "Warsztat", "PDF WBUDOWANA"}));
        QCOMPARE(cb->currentText(), QStringLiteral("Etykiety_Pdf"));
        // The default printer's printable area, asked of CUPS, set the layout:
        // A4 with 4.23 mm margins all round.
        QCOMPARE(preview->printer(), QStringLiteral("Etykiety_Pdf"));
        const QRectF area = preview->layout().fAvailableArea;
        QVERIFY2(std::abs(area.x() - 12.69) < 0.05 && std::abs(area.width() - 604.62) < 0.05,
                 qPrintable(QStringLiteral("%1 %2").arg(area.x()).arg(area.width())));
    }

    void choosingAnotherPrinterRelaysTheSheet()
    {
        import(files.write(QStringLiteral("p.txt"), numberedLines(13)));
        child<QPushButton>(QStringLiteral("pbZoomIn"))->click();
        auto *cb = child<QComboBox>(QStringLiteral("cbPrinter"));
        cb->setCurrentText(QStringLiteral("Magazyn"));   // 6.35, 12.7, 197.3 x 271.6 mm
        // The new page is fitted to the window again, and the zoom label says so.
        QCOMPARE(label(QStringLiteral("lbZoom")), QStringLiteral("Powiększenie: +0%"));
        QCOMPARE(preview->zoomStep(), 1);
        QCOMPARE(preview->printer(), QStringLiteral("Magazyn"));
        QVERIFY(std::abs(preview->layout().fAvailableArea.y() - (891 - 3 * 271.6) / 2) < 0.05);
        // The fields moved with the narrower area: 5 mm from its left edge.
        QVERIFY(std::abs(preview->fields().at(0)->frame().x() - (15 + (630 - 3 * 197.3) / 2)) < 0.05);
        QCOMPARE(label(QStringLiteral("lbPage")), QStringLiteral("1 / 3"));

        // Back to the placeholder: the area stays, nothing fails.
        const QRectF area = preview->layout().fAvailableArea;
        cb->setCurrentIndex(0);
        QCOMPARE(preview->layout().fAvailableArea, area);
        QCOMPARE(preview->fieldCount(), 13 * (n + 1));
    }

    void aDefaultPrinterHiddenByItsNameLeavesThePlaceholder()
    {
        window.reset();
        lpadmin({QStringLiteral("-d"), QStringLiteral("Biuro_PDF")});
        window = std::make_unique<MainWindow>();
        const QString current = child<QComboBox>(QStringLiteral("cbPrinter"))->currentText();
        lpadmin({QStringLiteral("-d"), QStringLiteral("Etykiety_Pdf")});
        QCOMPARE(current, QStringLiteral("Wybierz drukarkę"));
    }

    void printingAsksForAPrinterFirst()
    {
        auto *cb = child<QComboBox>(QStringLiteral("cbPrinter"));
        cb->setCurrentIndex(0);
        action(*window, QStringLiteral("Drukuj &bieżącą stronę"))->trigger();
        action(*window, QStringLiteral("Drukuj &wszystkie strony"))->trigger();
        QCOMPARE(prompts.messages.size(), 2);
        QCOMPARE(prompts.messages.at(0).icon, QMessageBox::Warning);
        QCOMPARE(prompts.messages.at(0).text,
                 QStringLiteral("Przed rozpoczęciem pracy należy wybrać drukarkę.\nNastępnie można zmodyfikować "
                                "zawartość pól lamello i wydrukować.\nSzczegóły znajdziesz w \"Pomocy\" (F1)."));
        prompts.messages.clear();
        cb->setCurrentText(QStringLiteral("PDF WBUDOWANA"));
        action(*window, QStringLiteral("Drukuj &bieżącą stronę"))->trigger();
        QVERIFY(prompts.messages.isEmpty() || prompts.messages.first().icon != QMessageBox::Warning);
    }

    // Pages and collated copies chosen in "Drukuj strony…"; a printer job of
    // more than 20 pages is confirmed first, a PDF is not asked about.
    void chosenPagesCopiesAndTheLargeJobQuestion()
    {
        import(files.write(QStringLiteral("c.txt"), numberedLines(66)));   // 6 barettes a page
        auto *cb = child<QComboBox>(QStringLiteral("cbPrinter"));
        cb->setCurrentText(QStringLiteral("PDF WBUDOWANA"));
        QString range = QStringLiteral("3,2-3,2");   // pages named twice print once, in the sheet's order
        int copies = 2;
        bool offered = false;   // "Drukuj" could be pressed
        prompts.dialogs = [&](QDialog &dialog) {
            dialog.findChild<QLineEdit *>(QStringLiteral("leRange"))->setText(range);
            dialog.findChild<QSpinBox *>(QStringLiteral("sbCopies"))->setValue(copies);
            offered = dialog.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->isEnabled();
            return int(QDialog::Accepted);
        };
        const QString pdf = files.path(QStringLiteral("chosen.pdf"));
        prompts.fileAnswers = {pdf};
        activate();
        QTest::keySequence(window.get(), QKeySequence(QStringLiteral("Ctrl+Alt+P")));
        QCOMPARE(prompts.modalDialogs, QStringList{QStringLiteral("Drukuj strony")});
        QStringList firstWords;
        const QList<PdfCheck::Word> words = PdfCheck::words(pdf);
        for (const PdfCheck::Word &w : words) {
            if (firstWords.size() < w.page)
                firstWords.append(w.text);
        }
        QCOMPARE(firstWords, (QStringList{"T54", "T108", "T54", "T108"}));
        QVERIFY(prompts.questions.isEmpty());

        cb->setCurrentText(QStringLiteral("Archiwum"));
        range = QStringLiteral("1-8");
        copies = 3;
        action(*window, QStringLiteral("Drukuj &strony…"))->trigger();   // "Anuluj" by default
        QCOMPARE(prompts.questions.size(), 1);
        QCOMPARE(prompts.questions.at(0).text, QStringLiteral("Wydrukować 24 strony na drukarce Archiwum?"));
        QCOMPARE(prompts.confirmButtons.last(), (QStringList{"Drukuj", "Anuluj"}));
        QVERIFY(!window->statusBar()->currentMessage().startsWith(QStringLiteral("Do drukarki")));

        // A range far beyond the sheet is refused as typed: nothing to ask
        // about, and no page listed (two billion would take 8 GB).
        range = QStringLiteral("1-2000000000");
        action(*window, QStringLiteral("Drukuj &strony…"))->trigger();
        QVERIFY(!offered);
        QCOMPARE(prompts.questions.size(), 1);
        rusage self{};
        QVERIFY(getrusage(RUSAGE_SELF, &self) == 0);
        QVERIFY2(self.ru_maxrss < 1024 * 1024, qPrintable(QString::number(self.ru_maxrss)));
    }

    // "Drukuj oznaczenia" is kept in the settings; off, an overflowing
    // field is printed without its tint.
    void printMarksAreKeptAndLeaveTheTintOff()
    {
        QAction *marks = action(*window, QStringLiteral("Drukuj &oznaczenia"));
        QVERIFY(marks->isCheckable() && marks->isChecked());
        marks->trigger();
        window = std::make_unique<MainWindow>();
        preview = window->sheetPreview();
        marks = action(*window, QStringLiteral("Drukuj &oznaczenia"));
        QVERIFY(!marks->isChecked());

        import(files.write(QStringLiteral("m.txt"), "H\n" + QByteArray("Przeciwzamro\xBF" "eniowy").repeated(4) + "\n"));
        QVERIFY(!preview->fields().at(1)->textFits());
        child<QComboBox>(QStringLiteral("cbPrinter"))->setCurrentText(QStringLiteral("PDF WBUDOWANA"));
        const QString pdf = files.path(QStringLiteral("marks.pdf"));
        prompts.fileAnswers = {pdf};
        prompts.questionAnswers = {QMessageBox::Ok};
        action(*window, QStringLiteral("Drukuj &bieżącą stronę"))->trigger();
        QCOMPARE(prompts.questions.value(0).text, QStringLiteral("1 pole nie mieści się w ramkach. Drukować mimo to?"));
        marks->trigger();   // on again for the tests after this one
        const QRectF label = preview->fields().at(1)->frame();
        const QImage img = PdfCheck::raster(pdf, 1);
        QCOMPARE(qGray(img.pixel(qRound(PdfCheck::mmToPx(label.x() / 3 + 1)), qRound(PdfCheck::mmToPx(label.y() / 3 + 1)))),
                 255);
    }

    // The calibration of the chosen printer: the test page goes to it, and
    // what was measured on it is turned into the stored shift and scale.
    void calibrationFromTheMeasuredTestPage()
    {
        const QString out = QDir(qEnvironmentVariable("LAMELLO_CUPS_DIR")).filePath(QStringLiteral("out/Archiwum.prn"));
        QFile::remove(out);
        child<QComboBox>(QStringLiteral("cbPrinter"))->setCurrentText(QStringLiteral("Archiwum"));
        prompts.dialogs = [](QDialog &dialog) {
            dialog.findChild<QPushButton *>(QStringLiteral("pbTestPage"))->click();
            dialog.findChild<QDoubleSpinBox *>(QStringLiteral("sbHorizontal"))->setValue(150.6);
            dialog.findChild<QDoubleSpinBox *>(QStringLiteral("sbVertical"))->setValue(249.5);
            dialog.findChild<QDoubleSpinBox *>(QStringLiteral("sbLeft"))->setValue(11.2);
            dialog.findChild<QDoubleSpinBox *>(QStringLiteral("sbTop"))->setValue(9.4);
            dialog.findChild<QPushButton *>(QStringLiteral("pbCompute"))->click();
            return int(QDialog::Accepted);
        };
        action(*window, QStringLiteral("&Kalibracja drukarki…"))->trigger();
        QCOMPARE(prompts.modalDialogs, QStringList{QStringLiteral("Kalibracja drukarki")});
        const Calibration stored = PrintSettings::calibration(QStringLiteral("Archiwum"));
        PrintSettings::setCalibration(QStringLiteral("Archiwum"), {});
        const Calibration expected = TestPage::correction({150.6, 249.5, 11.2, 9.4}, {});
        QVERIFY2(std::abs(stored.shiftX - expected.shiftX) < 0.006 && std::abs(stored.shiftY - expected.shiftY) < 0.006
                     && std::abs(stored.scaleX - expected.scaleX) < 0.0006
                     && std::abs(stored.scaleY - expected.scaleY) < 0.0006,
                 qPrintable(QStringLiteral("%1 %2 %3 %4").arg(stored.shiftX).arg(stored.shiftY).arg(stored.scaleX).arg(stored.scaleY)));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(out) && PdfCheck::pageCount(out) == 1, 20000);
        QVERIFY(PdfCheck::run(QStringLiteral("pdftotext"), {out, QStringLiteral("-")}).contains(QStringLiteral("drukarki Archiwum")));

        // No system printer, nothing to calibrate: said, not asked.
        child<QComboBox>(QStringLiteral("cbPrinter"))->setCurrentText(QStringLiteral("PDF WBUDOWANA"));
        action(*window, QStringLiteral("&Kalibracja drukarki…"))->trigger();
        QCOMPARE(prompts.modalDialogs.size(), 1);
        QVERIFY(prompts.messages.last().text.startsWith(QStringLiteral("Kalibracja dotyczy drukarki systemowej")));
    }

    // -------------------------------------------------------------- import

    void importShowsTheFileWithFreshFonts()
    {
        const QString path = files.write(QStringLiteral("panel.txt"), numberedLines(2));
        import(path);
        QCOMPARE(window->windowTitle(), QFileInfo(path).fileName() + QStringLiteral("[*] — Lamello"));
        QCOMPARE(prompts.captions.last(), QStringLiteral("Importuj opisy"));
        QCOMPARE(preview->fields().size(), 2 * (n + 1));

        clickField(4);
        child<QPushButton>(QStringLiteral("pbBold"))->click();
        QCOMPARE(preview->document()->font(4).weight(), int(QFont::Bold));
        QVERIFY(window->isWindowModified());
        prompts.questionAnswers = {QMessageBox::Discard};
        import(path);
        QVERIFY(!window->isWindowModified());
        QCOMPARE(preview->fields().at(4)->currentFont().weight(), int(QFont::Normal));

        // A cancelled dialog loads nothing and keeps the title.
        import(QString());
        QCOMPARE(window->windowTitle(), QFileInfo(path).fileName() + QStringLiteral("[*] — Lamello"));
        QCOMPARE(preview->fields().size(), 2 * (n + 1));

        // So does a file that is refused, and the remembered fonts stay.
        clickField(4);
        child<QPushButton>(QStringLiteral("pbBold"))->click();
        const QString fifo = files.path(QStringLiteral("fifo"));
        QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        prompts.questionAnswers = {QMessageBox::Discard};
        import(fifo);
        QCOMPARE(prompts.messages.size(), 1);
        QVERIFY(prompts.messages.at(0).text.contains(fifo));
        QCOMPARE(window->windowTitle(), QFileInfo(path).fileName() + QStringLiteral("[*] — Lamello"));
        QCOMPARE(preview->fields().size(), 2 * (n + 1));
        QCOMPARE(preview->document()->font(4).weight(), int(QFont::Bold));

        // Every read replaces what the status bar said about the one before.
        prompts.questionAnswers = {QMessageBox::Discard};
        import(files.write(QStringLiteral("utf8.txt"), "Za\xc5\xbc\xc3\xb3\xc5\x82\xc4\x87\n"));
        QVERIFY(window->statusBar()->currentMessage().contains(QStringLiteral("UTF-8")));
        prompts.questionAnswers = {QMessageBox::Discard};
        import(path);
        QCOMPARE(window->statusBar()->currentMessage(), QString());
    }

    // A workbook through the mapping dialog: a row a barette, the label count
    // taken from the sheet, a cell Windows-1250 lacks named and replaced, the
    // mapping remembered for F5, and the sheet exported as CSV read back the same.
    void aSpreadsheetImportsThroughItsMappingAndReloads()
    {
        // Excel's parts, two barettes of five labels under a headings row.
        const auto workbook = [](const QByteArray &pump, const QByteArray &f2 = "<v>5</v>") {
            return SheetFixtures::xlsx(
                {{QStringLiteral("Arkusz1"),
                  "<row><c t=\"inlineStr\"><is><t>Urządzenie</t></is></c></row>"
                  "<row><c t=\"inlineStr\"><is><t>" + pump + "</t></is></c><c r=\"C2\" t=\"inlineStr\"><is>"
                  "<t>Praca ✓</t></is></c><c r=\"F2\">" + f2 + "</c></row>"
                  "<row><c t=\"inlineStr\"><is><t>Wentylator</t></is></c></row>"}});
        };
        const QString path = files.write(QStringLiteral("szafa.xlsx"), workbook("Pompa"));
        QString grabbed = qEnvironmentVariable("LAMELLO_GRAB_DIALOG");
        prompts.dialogs = [&](QDialog &dialog) {
            auto &d = dynamic_cast<SheetImportDialog &>(dialog);
            d.findChild<QRadioButton *>(QStringLiteral("rbRows"))->setChecked(true);
            d.findChild<QLineEdit *>(QStringLiteral("leLabelColumns"))->setText(QStringLiteral("B-F"));
            // A header column among the label columns is refused.
            auto *header = d.findChild<QComboBox *>(QStringLiteral("cbHeaderColumn"));
            header->setCurrentIndex(1);
            const bool headerAmongLabelsRefused =
                !d.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->isEnabled()
                && d.findChild<QLabel *>(QStringLiteral("lbSummary"))->text()
                       == QStringLiteral("Kolumna nagłówków nie może być jedną z kolumn etykiet.");
            header->setCurrentIndex(0);
            if (!headerAmongLabelsRefused)
                return int(QDialog::Rejected);
            d.findChild<QCheckBox *>(QStringLiteral("cbHeadings"))->setChecked(true);
            if (!grabbed.isEmpty())
                d.grab().save(grabbed);
            return int(QDialog::Accepted);
        };
        prompts.fileAnswers = {path};
        prompts.questionAnswers = {QMessageBox::Ok, QMessageBox::Yes};   // replace "✓", 5 labels
        action(*window, QStringLiteral("Importuj &arkusz…"))->trigger();
        QVERIFY2(prompts.questions.value(0).text.contains(QStringLiteral("Arkusz1!C2: „✓” (U+2713)")),
                 qPrintable(prompts.questions.value(0).text));
        QCOMPARE(preview->layout().labelsPerBarette, 5);
        QCOMPARE(window->windowTitle(), QStringLiteral("szafa.xlsx[*] — Lamello"));
        const QStringList expected{u"Pompa"_qs, {}, u"Praca ?"_qs, {}, {}, u"5"_qs, u"Wentylator"_qs};
        for (qsizetype id = 0; id < expected.size(); ++id)
            QCOMPARE(preview->document()->text(id), expected.at(id));

        // Edited in the spreadsheet program, read again in one step.
        files.write(QStringLiteral("szafa.xlsx"), workbook("Pompa 2"));
        prompts.modalDialogs.clear();
        prompts.questionAnswers = {QMessageBox::Ok};
        action(*window, QStringLiteral("&Wczytaj ponownie"))->trigger();
        QVERIFY(prompts.modalDialogs.isEmpty());
        QCOMPARE(preview->document()->text(0), QStringLiteral("Pompa 2"));
        QCOMPARE(preview->document()->text(6), QStringLiteral("Wentylator"));
        // The mapping is remembered for the file: the next import offers it,
        // and taking it as offered reads the same fields.
        prompts.dialogs = [](QDialog &) { return int(QDialog::Accepted); };
        prompts.fileAnswers = {path};
        prompts.questionAnswers = {QMessageBox::Ok};
        action(*window, QStringLiteral("Importuj &arkusz…"))->trigger();
        QCOMPARE(preview->document()->text(2), QStringLiteral("Praca ?"));
        QCOMPARE(preview->document()->text(6), QStringLiteral("Wentylator"));

        // Saved by a program that does not calculate: its formula has no
        // result. The dialog lists it, F5 asks, and only "Wczytaj puste"
        // imports it empty.
        files.write(QStringLiteral("szafa.xlsx"), workbook("Pompa 3", "<f>A2*2</f><v/>"));
        QString listed;
        prompts.dialogs = [&](QDialog &dialog) {
            listed = dialog.findChild<QLabel *>(QStringLiteral("lbFormulas"))->text();
            if (!grabbed.isEmpty())
                dialog.grab().save(grabbed + QStringLiteral(".formulas.png"));
            return int(QDialog::Rejected);
        };
        prompts.fileAnswers = {path};
        action(*window, QStringLiteral("Importuj &arkusz…"))->trigger();
        QVERIFY2(listed.contains(QStringLiteral("Arkusz1!F2: =A2*2")), qPrintable(listed));
        prompts.questions.clear();
        prompts.questionAnswers = {QMessageBox::Ok, QMessageBox::Cancel};
        action(*window, QStringLiteral("&Wczytaj ponownie"))->trigger();
        QVERIFY2(prompts.questions.value(1).text.contains(QStringLiteral("Arkusz1!F2: =A2*2")),
                 qPrintable(prompts.questions.value(1).text));
        QCOMPARE(preview->document()->text(0), QStringLiteral("Pompa 2"));
        prompts.questionAnswers = {QMessageBox::Ok, QMessageBox::Ok};
        action(*window, QStringLiteral("&Wczytaj ponownie"))->trigger();
        QCOMPARE(preview->document()->text(0), QStringLiteral("Pompa 3"));
        QCOMPARE(preview->document()->text(5), QString());
        files.write(QStringLiteral("szafa.xlsx"), workbook("Pompa 2"));
        prompts.questionAnswers = {QMessageBox::Ok};
        action(*window, QStringLiteral("&Wczytaj ponownie"))->trigger();
        QCOMPARE(preview->document()->text(5), QStringLiteral("5"));

        // Out as CSV, and back in through the clipboard: the same texts.
        const QString csv = files.path(QStringLiteral("szafa.csv"));
        prompts.fileAnswers = {csv};
        action(*window, QStringLiteral("Eksportuj jako &CSV…"))->trigger();
        QCOMPARE(prompts.messages.last().text, QStringLiteral("Zapisano."));
        QFile exported(csv);
        QVERIFY(exported.open(QIODevice::ReadOnly));
        const QByteArray bytes = exported.readAll();
        QVERIFY(bytes.startsWith("\xEF\xBB\xBFPompa 2;;Praca ?;;;5\r\n"));
        QGuiApplication::clipboard()->setText(QString::fromUtf8(bytes.mid(3)).replace(QLatin1Char(';'), QLatin1Char('\t')));
        prompts.dialogs = [](QDialog &) { return int(QDialog::Accepted); };
        action(*window, QStringLiteral("Wklej z &arkusza"))->trigger();
        QCOMPARE(window->windowTitle(), QStringLiteral("Wklejone z arkusza[*] — Lamello"));
        QCOMPARE(preview->document()->text(0), QStringLiteral("Pompa 2"));
        QCOMPARE(preview->document()->text(5), QStringLiteral("5"));
        QCOMPARE(preview->document()->text(6), QStringLiteral("Wentylator"));

        // A CSV read with the delimiter chosen in the dialog, not the one
        // detected (";" on every line), comes back from F5 with that one.
        const QString list = files.write(QStringLiteral("lista.csv"), "Pompa;Praca;1,5\nWentylator;Stop;2\n");
        prompts.dialogs = [](QDialog &dialog) {
            auto *delimiter = dialog.findChild<QComboBox *>(QStringLiteral("cbDelimiter"));
            delimiter->setCurrentIndex(delimiter->findData(int(',')));
            dialog.findChild<QRadioButton *>(QStringLiteral("rbColumn"))->setChecked(true);
            dialog.findChild<QCheckBox *>(QStringLiteral("cbHeadings"))->setChecked(false);
            return int(QDialog::Accepted);
        };
        prompts.fileAnswers = {list};
        prompts.questionAnswers = {QMessageBox::Discard};   // the pasted sheet
        action(*window, QStringLiteral("Importuj &arkusz…"))->trigger();
        QCOMPARE(preview->document()->text(0), QStringLiteral("Pompa;Praca;1"));
        files.write(QStringLiteral("lista.csv"), "Pompa 2;Praca;1,5\nWentylator;Stop;2\n");
        prompts.questionAnswers.clear();
        action(*window, QStringLiteral("&Wczytaj ponownie"))->trigger();
        QCOMPARE(preview->document()->text(0), QStringLiteral("Pompa 2;Praca;1"));
        QCOMPARE(preview->document()->text(1), QStringLiteral("Wentylator;Stop;2"));

        // Exported over the CSV it was read from: refused, the file kept.
        prompts.fileAnswers = {list};
        action(*window, QStringLiteral("Eksportuj jako &CSV…"))->trigger();
        QVERIFY2(prompts.messages.last().text.startsWith(QStringLiteral("Tego pliku nie można zastąpić")),
                 qPrintable(prompts.messages.last().text));
        QFile source(list);
        QVERIFY(source.open(QIODevice::ReadOnly));
        QCOMPARE(source.readAll(), QByteArray("Pompa 2;Praca;1,5\nWentylator;Stop;2\n"));
    }

    // In the mapping dialog each sheet has a layout of its own: the one
    // guessed for it when it is first shown, the one the user left it with
    // when it is shown again.
    void eachSheetOfTheMappingDialogKeepsItsOwnLayout()
    {
        Workbook book;
        book.sheets = {{u"Szafa"_qs, {{u"Pompa"_qs, u"Praca"_qs, u"Stop"_qs}}},
                       {u"Lista"_qs, QList<QStringList>(17, QStringList{u"Pole"_qs})}};
        SheetImportDialog d(book, u"szafa.xlsx"_qs, SheetImport::guessMapping(book.sheets.first()), n, {});
        auto *sheets = d.findChild<QComboBox *>(QStringLiteral("cbSheet"));
        auto *headings = d.findChild<QCheckBox *>(QStringLiteral("cbHeadings"));
        headings->setChecked(true);
        sheets->setCurrentIndex(1);
        QCOMPARE(d.mapping().toString(), QStringLiteral("column;A;B-I;A;skip;data;;Lista"));
        QCOMPARE(d.findChild<QLabel *>(QStringLiteral("lbSummary"))->text(), QStringLiteral("Pól: 17, baretek: 2 po 8 etykiet."));
        headings->setChecked(true);
        sheets->setCurrentIndex(0);
        QCOMPARE(d.mapping().toString(), QStringLiteral("rows;A;B-C;A;skip;headings;;Szafa"));
        sheets->setCurrentIndex(1);
        QCOMPARE(d.mapping().toString(), QStringLiteral("column;A;B-I;A;skip;headings;;Lista"));
    }

    // "@" and the symbol characters in cells: listed before the import, and
    // the sheet holds what its saved project gives back. The project keeps
    // its workbook: F5 reads it again into the project, fonts kept.
    void aWorkbookReadsBackFromItsProjectAndAgainWithF5()
    {
        const QString path = files.write(QStringLiteral("tablica.csv"), "Pompa;info@firma.pl;L1 # L2\n");
        QString listed;
        QString summary;
        int shown = 0;
        bool guessedRows = true;
        prompts.dialogs = [&](QDialog &dialog) {
            ++shown;
            guessedRows = guessedRows && dialog.findChild<QRadioButton *>(QStringLiteral("rbRows"))->isChecked();
            listed = dialog.findChild<QLabel *>(QStringLiteral("lbMarked"))->text();
            summary = dialog.findChild<QLabel *>(QStringLiteral("lbSummary"))->text();
            if (const QString grabbed = qEnvironmentVariable("LAMELLO_GRAB_DIALOG"); !grabbed.isEmpty())
                dialog.grab().save(grabbed);
            return int(QDialog::Accepted);
        };
        // Two label columns for eight labels: asked; cancelled, the dialog comes back.
        prompts.fileAnswers = {path};
        prompts.questionAnswers = {QMessageBox::Cancel, QMessageBox::Ok};
        action(*window, QStringLiteral("Importuj &arkusz…"))->trigger();
        QCOMPARE(shown, 2);
        QVERIFY(guessedRows);
        QVERIFY2(summary.contains(QStringLiteral("etykiet na baretce: 8, z arkusza tylko 2")), qPrintable(summary));
        QVERIFY2(prompts.questions.value(0).text.contains(QStringLiteral("w każdej baretce 6 pozostanie pustych")),
                 qPrintable(prompts.questions.value(0).text));
        QVERIFY2(listed.contains(QStringLiteral("tablica!B1: „@” → nowa linia\ntablica!C1: „#” → symbol (kwadraty)")),
                 qPrintable(listed));
        const QStringList imported{u"Pompa"_qs, u"info\nfirma.pl"_qs, u"L1 # L2"_qs};
        for (qsizetype id = 0; id < imported.size(); ++id)
            QCOMPARE(preview->document()->text(id), imported.at(id));

        clickField(2);
        child<QPushButton>(QStringLiteral("pbBold"))->click();
        const QString project = files.path(QStringLiteral("tablica.lmpro"));
        prompts.fileAnswers = {project};
        action(*window, QStringLiteral("&Zapisz projekt"))->trigger();
        QVERIFY(!window->isWindowModified());

        // Another window (the settings carry the workbook), the project opened.
        window = std::make_unique<MainWindow>();
        window->show();
        preview = window->sheetPreview();
        prompts.fileAnswers = {project};
        action(*window, QStringLiteral("&Otwórz projekt"))->trigger();
        for (qsizetype id = 0; id < imported.size(); ++id)
            QCOMPARE(preview->document()->text(id), imported.at(id));

        files.write(QStringLiteral("tablica.csv"), "Pompa 2;info@firma.pl;L1 # L2\n");
        prompts.modalDialogs.clear();
        prompts.questionAnswers = {QMessageBox::Ok};   // the two label columns again
        action(*window, QStringLiteral("&Wczytaj ponownie"))->trigger();
        QVERIFY(prompts.modalDialogs.isEmpty());
        QCOMPARE(preview->document()->text(0), QStringLiteral("Pompa 2"));
        QCOMPARE(preview->document()->text(1), imported.at(1));
        QVERIFY(preview->document()->font(2).bold());
        QCOMPARE(window->windowTitle(), QStringLiteral("tablica.lmpro[*] — Lamello"));
        QVERIFY(window->isWindowModified());
    }

    void aLongReadGoesOnBesideTheWindowAndCanBeCancelled()
    {
        // A million rows are read off the window's thread: the window's event
        // loop goes on meanwhile (a timer fires), and the progress dialog's
        // cancel leaves the sheet, its title and its file as they were.
        import(files.write(QStringLiteral("shown.txt"), numberedLines(3)));
        const QString title = window->windowTitle();
        QByteArray rows;
        for (int r = 0; r < 1'000'000; ++r)
            rows += "Pompa;Praca;Awaria\n";
        prompts.fileAnswers = {files.write(QStringLiteral("long.csv"), rows)};
        int ticks = 0;
        int ticksWhenCancelled = -1;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
        ticker.start(0);
        prompts.progressDelay = 0;
        prompts.progress = [&](QProgressDialog &dialog) {
            QTimer::singleShot(1, &dialog, [&] {
                ticksWhenCancelled = ticks;
                dialog.findChild<QPushButton *>()->click();
            });
        };
        action(*window, QStringLiteral("Importuj &arkusz…"))->trigger();
        QCOMPARE(prompts.progressShown, 1);
        QVERIFY(ticksWhenCancelled > 0);
        QVERIFY(prompts.modalDialogs.isEmpty());
        QVERIFY(prompts.messages.isEmpty());
        QCOMPARE(window->windowTitle(), title);
        QCOMPARE(preview->document()->lineCount(), 27);
        QCOMPARE(preview->document()->text(26), QStringLiteral("T26"));

        // As are as many cells pasted from a spreadsheet program.
        QGuiApplication::clipboard()->setText(QString::fromLatin1(rows).replace(QLatin1Char(';'), QLatin1Char('\t')));
        ticksWhenCancelled = -1;
        action(*window, QStringLiteral("Wklej z &arkusza"))->trigger();
        QCOMPARE(prompts.progressShown, 2);
        QVERIFY(ticksWhenCancelled > 0);
        QVERIFY(prompts.messages.isEmpty());
        QCOMPARE(window->windowTitle(), title);
        QCOMPARE(preview->document()->lineCount(), 27);

        // Ctrl+Q during a read stops it and closes the window.
        prompts.progress = [&](QProgressDialog &dialog) {
            QKeyEvent quit(QEvent::KeyPress, Qt::Key_Q, Qt::ControlModifier);
            QCoreApplication::sendEvent(&dialog, &quit);
        };
        prompts.fileAnswers = {files.path(QStringLiteral("long.csv"))};
        action(*window, QStringLiteral("Importuj &arkusz…"))->trigger();
        QCOMPARE(prompts.progressShown, 3);
        QCOMPARE(preview->document()->text(26), QStringLiteral("T26"));
        QTRY_VERIFY(!window->isVisible());

        // So does the window system closing the window (its title bar's
        // button): no modal dialog may stand between, which would swallow
        // the close. The pasted cells are never applied.
        init();
        prompts.progress = [&](QProgressDialog &dialog) {
            dialog.show();
            QVERIFY(!QGuiApplication::modalWindow());
            window->windowHandle()->close();
        };
        action(*window, QStringLiteral("Wklej z &arkusza"))->trigger();
        QCOMPARE(prompts.progressShown, 4);
        QTRY_VERIFY(!window->isVisible());
        QVERIFY(prompts.modalDialogs.isEmpty());
        QCOMPARE(window->sheetPreview()->document()->lineCount(), 0);
    }

    void projectNamedOnTheCommandLineOpensAtStartUp()
    {
        import(files.write(QStringLiteral("cabinet.txt"), numberedLines(2)));
        clickField(4);
        child<QPushButton>(QStringLiteral("pbBold"))->click();
        const QString project = files.path(QStringLiteral("cabinet.lmpro"));
        prompts.fileAnswers = {project};
        action(*window, QStringLiteral("&Zapisz projekt"))->trigger();
        QCOMPARE(prompts.messages.last().text, QStringLiteral("Zapisano."));

        init();   // a fresh start of the program
        prompts.messages.clear();
        window->openFromCommandLine({QStringLiteral("lamello"), project, QStringLiteral("ignored")});
        QVERIFY(prompts.messages.isEmpty());
        QCOMPARE(preview->fields().size(), 2 * (n + 1));
        QCOMPARE(preview->fields().at(4)->currentFont().weight(), int(QFont::Bold));
        QVERIFY(window->statusBar()->currentMessage().endsWith(QStringLiteral("pominięte: ignored")));
        QCOMPARE(window->windowTitle(), QStringLiteral("cabinet.lmpro[*] — Lamello"));

        // A missing project is said so, and the sheet stays as it is.
        const QString missing = files.path(QStringLiteral("gone.lmpro"));
        window->openFromCommandLine({QStringLiteral("lamello"), missing});
        QCOMPARE(prompts.messages.size(), 1);
        QVERIFY(prompts.messages.at(0).text.contains(missing));
        QCOMPARE(preview->fields().size(), 2 * (n + 1));
        window->openFromCommandLine({QStringLiteral("lamello")});
        QCOMPARE(prompts.messages.size(), 1);

        // So does a missing descriptions file: the title and the editor keep
        // the project's, the status bar names the file.
        const QString gone = files.path(QStringLiteral("gone.txt"));
        window->openFromCommandLine({QStringLiteral("lamello"), gone});
        QCOMPARE(window->windowTitle(), QStringLiteral("cabinet.lmpro[*] — Lamello"));
        QCOMPARE(preview->fields().at(4)->currentFont().weight(), int(QFont::Bold));
        QVERIFY(window->statusBar()->currentMessage().contains(gone));
        action(*window, QStringLiteral("&Edytor"))->trigger();
        QCOMPARE(editors().last()->path(), files.path(QStringLiteral("cabinet.dat")));
    }

    // The printer list is read when it opens: a queue added since the start
    // is there, and the chosen queue, once removed, is said and unchosen.
    void printerListFollowsTheSystem()
    {
        auto *cb = child<QComboBox>(QStringLiteral("cbPrinter"));
        lpadmin({QStringLiteral("-p"), QStringLiteral("Nowa"), QStringLiteral("-E"), QStringLiteral("-v"),
                 QStringLiteral("file:///dev/null")});
        cb->showPopup();
        cb->hidePopup();
        QVERIFY(cb->findText(QStringLiteral("Nowa")) > 0);
        cb->setCurrentIndex(cb->findText(QStringLiteral("Nowa")));
        lpadmin({QStringLiteral("-x"), QStringLiteral("Nowa")});
        cb->showPopup();
        cb->hidePopup();
        QCOMPARE(cb->currentIndex(), 0);
        QCOMPARE(cb->findText(QStringLiteral("Nowa")), -1);
        QCOMPARE(window->statusBar()->currentMessage(), QStringLiteral("Drukarki „Nowa” nie ma już w systemie."));
    }

    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("action");
        QTest::addColumn<QString>("text");   // the start of what is printed
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("language");   // --lang's: "pl", "en" or none
        using A = CommandLine::Parsed::Action;
        const QString version = QStringLiteral("lamello %1\n").arg(QLatin1String(LamelloBuild::version));
        QTest::newRow("help") << QStringList{"--help"} << int(A::Help) << "Użycie: lamello [opcje] [PLIK...]\n"
                              << QStringList() << "";
        QTest::newRow("help wins") << QStringList{"a.txt", "--nope", "-h"} << int(A::Help) << "Użycie:"
                                   << QStringList() << "";
        QTest::newRow("version") << QStringList{"--version"} << int(A::Version) << version << QStringList() << "";
        QTest::newRow("-v") << QStringList{"-v"} << int(A::Version) << version << QStringList() << "";
        // One word after one dash is one option, not -r -e -v -e -r -s -e.
        QTest::newRow("unknown") << QStringList{"-reverse"} << int(A::Usage)
                                 << "lamello: nieznana opcja --reverse. Pomoc: lamello --help\n" << QStringList() << "";
        QTest::newRow("files") << QStringList{"a.lmpro", "b.txt", "--", "-c.txt"} << int(A::Open) << ""
                               << QStringList{"a.lmpro", "b.txt", "-c.txt"} << "";
        // The language of one run: exactly pl or en, also before --help.
        QTest::newRow("--lang en") << QStringList{"--lang", "en", "a.txt"} << int(A::Open) << "" << QStringList{"a.txt"}
                                   << "en";
        QTest::newRow("--lang=pl --help") << QStringList{"--lang=pl", "--help"} << int(A::Help) << "Użycie:"
                                          << QStringList() << "pl";
        QTest::newRow("--lang de") << QStringList{"--lang", "de", "a.txt"} << int(A::Usage)
                                   << "lamello: --lang de: podaj pl albo en. Pomoc: lamello --help\n" << QStringList() << "";
        QTest::newRow("--lang en_GB") << QStringList{"--lang", "en_GB"} << int(A::Usage) << "lamello: --lang en_GB:"
                                      << QStringList() << "";
    }

    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, action);
        QFETCH(QString, text);
        QFETCH(QStringList, files);
        QFETCH(QString, language);
        arguments.prepend(QStringLiteral("lamello"));
        const CommandLine::Parsed parsed = CommandLine::parse(arguments);
        QCOMPARE(int(parsed.action), action);
        QCOMPARE(parsed.text.left(text.size()), text);
        QCOMPARE(parsed.files, files);
        QCOMPARE(parsed.language ? Language::code(*parsed.language) : QString(), language);
    }

    // A file named on the command line opens as a project by its name and
    // content, otherwise as an import; a file that is neither is refused as
    // the import refuses it.
    void aFileOnTheCommandLineOpensByWhatItHolds_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("fields");       // after opening; -1: the sheet stays as it was
        QTest::addColumn<QString>("message");   // the start of the one message, if any
        QTest::newRow("descriptions") << "panel.txt" << numberedLines(2) << 2 * (n + 1) << "";
        QTest::newRow("text named as a project") << "notes.lmpro" << numberedLines(3) << 3 * (n + 1) << "";
        QTest::newRow("neither") << "scan.pdf" << QByteArray("%PDF-1.4\n\0\0\n\0\n\0\n", 15) << -1
                                 << "Plik „scan.pdf” nie jest plikiem tekstowym";
        const QByteArray compound = QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1") + QByteArray(504, '\0');
        QTest::newRow("an old Excel file") << "cennik.xls" << compound << -1
                                           << "Plik cennik.xls jest w starym formacie Excela (.xls): zapisz go jako .xlsx";
        QTest::newRow("an old Excel file named .csv") << "cennik.csv" << compound << -1
                                                      << "Plik cennik.csv jest w starym formacie Excela";
    }

    void aFileOnTheCommandLineOpensByWhatItHolds()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(int, fields);
        QFETCH(QString, message);
        import(files.write(QStringLiteral("before.txt"), numberedLines(1)));
        const QString path = files.write(name, bytes);
        window->openFromCommandLine({QStringLiteral("lamello"), path});
        QCOMPARE(prompts.messages.size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty())
            QVERIFY2(prompts.messages.at(0).text.startsWith(message), qPrintable(prompts.messages.at(0).text));
        QCOMPARE(preview->fields().size(), fields < 0 ? n + 1 : fields);
        QCOMPARE(window->windowTitle(), QFileInfo(fields < 0 ? QStringLiteral("before.txt") : path).fileName()
                                             + QStringLiteral("[*] — Lamello"));
    }

    // Files dragged from a file manager onto the sheet go to the window, even
    // over a field: the first opens, the field never takes the names as text.
    void filesDroppedOnTheSheetOpenLikeTheCommandLine()
    {
        import(files.write(QStringLiteral("shown.txt"), numberedLines(2)));
        QByteArray other = numberedLines(2);
        other.replace('T', 'D');
        const QString dropped = files.write(QStringLiteral("dropped.txt"), other);
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(dropped), QUrl::fromLocalFile(files.path(QStringLiteral("more.txt")))});
        data.setText(dropped);   // file managers offer the names as text too
        const QPoint onField = preview->mapFromScene(preview->fields().at(4)->frame().center());
        QDragEnterEvent enter(onField, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(preview->viewport(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(onField, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(preview->viewport(), &drop);
        QCOMPARE(drop.dropAction(), Qt::CopyAction);
        QTRY_COMPARE(window->windowTitle(), QFileInfo(dropped).fileName() + QStringLiteral("[*] — Lamello"));
        QCOMPARE(preview->fields().at(4)->currentText(), QStringLiteral("D4"));
        QVERIFY(window->statusBar()->currentMessage().endsWith(files.path(QStringLiteral("more.txt"))));
    }

    // ------------------------------------------------------ font tool bar

    void sizeButtonsSendModelThenField()
    {
        import(files.write(QStringLiteral("f.txt"), numberedLines(1)));
        auto *up = child<QPushButton>(QStringLiteral("pbFontSizeUp"));
        auto *down = child<QPushButton>(QStringLiteral("pbFontSizeDown"));
        auto *field = child<QLineEdit>(QStringLiteral("leFontSize"));
        clickField(2);

        // Model 10, field typed to 15: the model's 11 goes first, the field's 16 last.
        field->setText(QStringLiteral("15"));
        QCOMPARE(preview->fields().at(2)->currentFont().pixelSize(), 15);
        up->click();
        QCOMPARE(window->fontSizeModel()->value(), 11);
        QCOMPARE(field->text(), QStringLiteral("16"));
        QCOMPARE(preview->fields().at(2)->currentFont().pixelSize(), 16);

        // Model 11, field 24: only the model moves, and its size stays on the field.
        field->setText(QStringLiteral("24"));
        up->click();
        QCOMPARE(field->text(), QStringLiteral("24"));
        QCOMPARE(preview->fields().at(2)->currentFont().pixelSize(), 12);

        // Model 12, field 6 typed by hand: down sends 11 and leaves the field at 6.
        field->setText(QStringLiteral("6"));
        down->click();
        QCOMPARE(field->text(), QStringLiteral("6"));
        QCOMPARE(window->fontSizeModel()->value(), 11);
        QCOMPARE(preview->fields().at(2)->currentFont().pixelSize(), 11);
    }

    void sizeButtonsStopAtTheirBounds()
    {
        QFont big;
        big.setPixelSize(24);
        QFont small;
        small.setPixelSize(6);
        QFont almost;
        almost.setPixelSize(23);
        import(files.write(QStringLiteral("b.txt"), numberedLines(1)));
        preview->document()->reset({}, {big, small, almost});   // then read again, keeping them
        preview->filePath = files.path(QStringLiteral("b.txt"));
        preview->readFile();
        preview->updatePreview();

        clickField(0);   // both holders at 24
        QCOMPARE(text(QStringLiteral("leFontSize")), QStringLiteral("24"));
        preview->fields().at(0)->changeFontPixelSize(12);   // behind the tool bar's back
        child<QPushButton>(QStringLiteral("pbFontSizeUp"))->click();
        QCOMPARE(preview->fields().at(0)->currentFont().pixelSize(), 12);   // nothing was sent
        QCOMPARE(window->fontSizeModel()->value(), 24);

        clickField(1);   // both at 6
        preview->fields().at(1)->changeFontPixelSize(12);
        child<QPushButton>(QStringLiteral("pbFontSizeDown"))->click();
        QCOMPARE(preview->fields().at(1)->currentFont().pixelSize(), 12);
        QCOMPARE(text(QStringLiteral("leFontSize")), QStringLiteral("6"));

        clickField(2);   // both at 23: up sends 24 from both
        child<QPushButton>(QStringLiteral("pbFontSizeUp"))->click();
        QCOMPARE(window->fontSizeModel()->value(), 24);
        QCOMPARE(text(QStringLiteral("leFontSize")), QStringLiteral("24"));
        QCOMPARE(preview->fields().at(2)->currentFont().pixelSize(), 24);
    }

    void selectingShowsTheSizeWithoutApplyingIt()
    {
        QFont f14;
        f14.setPixelSize(14);
        import(files.write(QStringLiteral("s.txt"), numberedLines(1)));
        preview->document()->setContent(3, preview->document()->text(3), f14);
        clickField(3);
        QCOMPARE(text(QStringLiteral("leFontSize")), QStringLiteral("14"));
        QCOMPARE(window->fontSizeModel()->value(), 14);
        for (const MyGraphicsItem *f : preview->fields())
            QCOMPARE(f->currentFont().pixelSize(), f->fieldId() == 3 ? 14 : 10);
        // The keys show the sizes as clicks do.
        QTest::keyClick(preview, Qt::Key_Down);
        QCOMPARE(text(QStringLiteral("leFontSize")), QStringLiteral("10"));
        QTest::keyClick(preview, Qt::Key_Up, Qt::ShiftModifier);
        QCOMPARE(text(QStringLiteral("leFontSize")), QStringLiteral("14"));
        QTest::keyClick(preview, Qt::Key_Escape);
        QCOMPARE(text(QStringLiteral("leFontSize")), QStringLiteral("10"));
        clickField(3);
        // Nothing selected: the next command acts on all fields, which differ,
        // so the default size is shown.
        clickField(3);
        QCOMPARE(preview->selectionCount(), 0);
        QCOMPARE(text(QStringLiteral("leFontSize")), QStringLiteral("10"));
        QCOMPARE(window->fontSizeModel()->value(), 10);

        // After a rebuild the size shown is the one the fields share, never
        // the size of a field clicked before: ↑ steps every field from it.
        clickField(3);
        QCOMPARE(text(QStringLiteral("leFontSize")), QStringLiteral("14"));
        child<QPushButton>(QStringLiteral("pbFontSizeUp"))->click();   // field 3: 15
        prompts.questionAnswers = {QMessageBox::Discard};
        import(files.write(QStringLiteral("s2.txt"), numberedLines(1)));
        QCOMPARE(text(QStringLiteral("leFontSize")), QStringLiteral("10"));
        child<QPushButton>(QStringLiteral("pbFontSizeUp"))->click();
        for (const MyGraphicsItem *f : preview->fields())
            QCOMPARE(f->currentFont().pixelSize(), 11);
        // A rebuild keeps every font, a change to all fields too: the size
        // shown follows what the fields have.
        preview->updatePreview();
        QCOMPARE(preview->fields().at(0)->currentFont().pixelSize(), 11);
        QCOMPARE(text(QStringLiteral("leFontSize")), QStringLiteral("11"));
    }

    void typingChangesTheFieldsAtEveryKeystroke()
    {
        import(files.write(QStringLiteral("t.txt"), numberedLines(1)));
        clickField(5);
        auto *field = child<QLineEdit>(QStringLiteral("leFontSize"));
        field->setFocus();
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Backspace);   // empty: 0 is sent and ignored
        QCOMPARE(preview->fields().at(5)->currentFont().pixelSize(), 10);
        QTest::keyClicks(field, QStringLiteral("18"));   // 1 (ignored), then 18
        QCOMPARE(preview->fields().at(5)->currentFont().pixelSize(), 18);
        QCOMPARE(preview->document()->font(5).pixelSize(), 18);
        QCOMPARE(preview->fields().at(4)->currentFont().pixelSize(), 10);

        // "0" is not applied; Enter shows the size in force again.
        field->selectAll();
        QTest::keyClicks(field, QStringLiteral("0"));
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(field->text(), QStringLiteral("18"));
    }

    void styleButtonsWithoutSelectionChangeEveryField()
    {
        import(files.write(QStringLiteral("st.txt"), numberedLines(2)));
        child<QPushButton>(QStringLiteral("pbItalic"))->click();
        child<QPushButton>(QStringLiteral("pbUnderline"))->click();
        for (const MyGraphicsItem *f : preview->fields()) {
            QCOMPARE(f->currentFont().style(), QFont::StyleItalic);
            QVERIFY(f->currentFont().underline());
        }
    }

    void undoAndRedoFromTheEditMenu()
    {
        QAction *undo = action(*window, QStringLiteral("&Cofnij"));
        QAction *redo = action(*window, QStringLiteral("&Ponów"));
        const QList<QAction *> editEntries = window->menuBar()->actions().at(1)->menu()->actions();
        QVERIFY(editEntries.contains(undo) && editEntries.contains(redo));
        QVERIFY(!undo->isEnabled() && !redo->isEnabled());

        import(files.write(QStringLiteral("undo.txt"), numberedLines(1)));
        child<QPushButton>(QStringLiteral("pbBold"))->click();
        QVERIFY(undo->isEnabled());
        QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(preview->fields().at(0)->currentFont().weight(), int(QFont::Normal));
        QVERIFY(!undo->isEnabled() && redo->isEnabled());
        QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(preview->fields().at(0)->currentFont().weight(), int(QFont::Bold));

        // Another file replaces the sheet: nothing is left to undo.
        prompts.questionAnswers = {QMessageBox::Discard};
        import(files.write(QStringLiteral("undo2.txt"), numberedLines(1)));
        QVERIFY(!undo->isEnabled() && !redo->isEnabled());
    }

    // ------------------------------------------------------------- paging

    // Ctrl+F: the find bar searches every field, on pages not built too,
    // selects the field found and shows its page; Esc gives the keys back.
    void findBarFindsOnEveryPage()
    {
        QByteArray bytes;
        for (int b = 0; b < 5 * 5 * (n + 1); ++b) {
            bytes += b == 10 ? "Awaria@P3" : b == 60 ? "Pompa P3" : b == 130 ? "POMPA P3"
                     : b == 220                   ? "Pompa P3 rezerwa"
                                                  : "T" + QByteArray::number(b);
            bytes += '\n';
        }
        import(files.write(QStringLiteral("find.txt"), bytes));
        activate();
        const auto selected = [this] {
            const QList<MyGraphicsItem *> &items = preview->fields();
            for (const MyGraphicsItem *item : items) {
                if (item->isSelected())
                    return qsizetype(item->fieldId());
            }
            return qsizetype(-1);
        };
        QTest::keySequence(window.get(), QKeySequence(QStringLiteral("Ctrl+F")));
        auto *query = child<QLineEdit>(QStringLiteral("leFindQuery"));
        QVERIFY(child<QWidget>(QStringLiteral("findBar"))->isVisible());
        QVERIFY(query->hasFocus());

        // Typing finds from the page shown on.
        QTest::keyClicks(query, QStringLiteral("pompa p3"));
        QCOMPARE(selected(), 60);
        QCOMPARE(label(QStringLiteral("lbPage")), QStringLiteral("2 / 5"));
        QCOMPARE(label(QStringLiteral("lbFindCount")), QStringLiteral("1 z 3"));
        QTest::keyClick(query, Qt::Key_Return);
        QCOMPARE(selected(), 130);
        QTest::keyClick(query, Qt::Key_Return);
        QCOMPARE(selected(), 220);
        QCOMPARE(label(QStringLiteral("lbPage")), QStringLiteral("5 / 5"));
        QCOMPARE(label(QStringLiteral("lbFindCount")), QStringLiteral("3 z 3"));
        QTest::keyClick(query, Qt::Key_Return);   // round the sheet
        QCOMPARE(selected(), 60);
        QTest::keyClick(query, Qt::Key_Return, Qt::ShiftModifier);
        QCOMPARE(selected(), 220);

        // The case, then the whole field, narrow it.
        child<QCheckBox>(QStringLiteral("cbFindMatchCase"))->click();
        QCOMPARE(label(QStringLiteral("lbFindCount")), QStringLiteral("Nie znaleziono"));
        query->setText(QStringLiteral("Pompa P3"));
        QCOMPARE(label(QStringLiteral("lbFindCount")), QStringLiteral("2 z 2"));
        child<QCheckBox>(QStringLiteral("cbFindWholeField"))->click();
        QCOMPARE(selected(), 60);
        QCOMPARE(label(QStringLiteral("lbFindCount")), QStringLiteral("1 z 1"));
        // "@" stands for a line break, as in the file.
        query->setText(QStringLiteral("Awaria@P3"));
        QCOMPARE(selected(), 10);
        QCOMPARE(label(QStringLiteral("lbPage")), QStringLiteral("1 / 5"));

        QTest::keyClick(query, Qt::Key_Escape);
        QVERIFY(!child<QWidget>(QStringLiteral("findBar"))->isVisible());
        QVERIFY(preview->hasFocus());
        QCOMPARE(preview->selectionCount(), 1);
    }

    // On a large sheet each keystroke searches beside the window, cancelling
    // the search before it: the count shows "…" until the last one is done,
    // and only the last query's fields are selected. Polish letters match in
    // either case.
    void findAsYouTypeOnALargeSheet()
    {
        QByteArray bytes;
        const int lines = int(FindBar::searchedAtOnce) + 9'000;
        for (int i = 0; i < lines; ++i) {
            bytes += i == 100 ? "Zaw\xf3r 39" : i == 30'000 ? "ZAW\xd3R 39 b" : i == lines - 50 ? "zaw\xf3r 391"
                                                                                    : "Zawory " + QByteArray::number(i);
            bytes += '\n';
        }
        prompts.questionAnswers = {QMessageBox::Yes};   // the large-file question
        import(files.write(QStringLiteral("typed.txt"), bytes));
        prompts.questionAnswers.clear();
        const auto selected = [this] {
            const QList<MyGraphicsItem *> &items = preview->fields();
            for (const MyGraphicsItem *item : items) {
                if (item->isSelected())
                    return qsizetype(item->fieldId());
            }
            return qsizetype(-1);
        };
        activate();
        QTest::keySequence(window.get(), QKeySequence(QStringLiteral("Ctrl+F")));
        auto *query = child<QLineEdit>(QStringLiteral("leFindQuery"));
        QTest::keyClicks(query, QStringLiteral("zaw"));
        query->insert(QStringLiteral("ó"));   // (no key of the test's keyboard)
        QTest::keyClicks(query, QStringLiteral("r 39"));
        QCOMPARE(label(QStringLiteral("lbFindCount")), QStringLiteral("…"));
        QTRY_COMPARE(label(QStringLiteral("lbFindCount")), QStringLiteral("1 z 3"));
        QCOMPARE(selected(), 100);
        QTest::keyClick(query, Qt::Key_Return);
        QTRY_COMPARE(selected(), 30'000);
        QCOMPARE(label(QStringLiteral("lbFindCount")), QStringLiteral("2 z 3"));
        // From the selected field on: the case narrows it to the last.
        child<QCheckBox>(QStringLiteral("cbFindMatchCase"))->click();
        QTRY_COMPARE(label(QStringLiteral("lbFindCount")), QStringLiteral("1 z 1"));
        QCOMPARE(selected(), lines - 50);
        // A field written meanwhile is counted again.
        preview->document()->editField(7, QStringLiteral("zawór 39"), preview->document()->font(7), QStringLiteral("e"));
        QTRY_COMPARE(label(QStringLiteral("lbFindCount")), QStringLiteral("2 z 2"));
    }

    // Ctrl+H: "Zamień" replaces in the field found and goes on; "Zamień
    // wszystko" in every field that matches, on pages not built too, as one
    // step to undo, each field keeping its font; a replacement Windows-1250
    // cannot hold changes nothing.
    void replaceKeepsFontsAndUndoesInOneStep()
    {
        QByteArray bytes;
        for (int b = 0; b < 15 * (n + 1); ++b)
            bytes += (b % 50 == 1 ? "Awaria " : "T") + QByteArray::number(b) + '\n';
        import(files.write(QStringLiteral("replace.txt"), bytes));
        const SheetDocument *doc = preview->document();
        clickField(1);
        child<QPushButton>(QStringLiteral("pbBold"))->click();
        QVERIFY(doc->font(1).bold());
        activate();
        QTest::keySequence(window.get(), QKeySequence(QStringLiteral("Ctrl+H")));
        auto *replacement = child<QLineEdit>(QStringLiteral("leReplacement"));
        QVERIFY(replacement->isVisible());
        QTest::keyClicks(child<QLineEdit>(QStringLiteral("leFindQuery")), QStringLiteral("awaria"));
        replacement->setText(QStringLiteral("Alarm"));
        child<QPushButton>(QStringLiteral("pbReplace"))->click();
        QCOMPARE(doc->text(1), QStringLiteral("Alarm 1"));
        QCOMPARE(doc->text(51), QStringLiteral("Awaria 51"));
        QCOMPARE(label(QStringLiteral("lbPage")), QStringLiteral("1 / 3"));   // 51 is on the first page
        const int steps = preview->undoStack()->count();

        replacement->setText(QStringLiteral("Alarm \U0001F600"));
        child<QPushButton>(QStringLiteral("pbReplaceAll"))->click();
        QVERIFY2(prompts.messages.last().text.contains(QStringLiteral("U+1F600")), qPrintable(prompts.messages.last().text));
        QCOMPARE(doc->text(101), QStringLiteral("Awaria 101"));
        QCOMPARE(preview->undoStack()->count(), steps);

        replacement->setText(QStringLiteral("Alarm@"));   // "@" a line break, as in the file
        child<QPushButton>(QStringLiteral("pbReplaceAll"))->click();
        QCOMPARE(doc->text(51), QStringLiteral("Alarm\n 51"));
        QCOMPARE(doc->text(101), QStringLiteral("Alarm\n 101"));
        QCOMPARE(window->statusBar()->currentMessage(), QStringLiteral("Zamieniono; zmienione pola: 2."));
        QVERIFY(doc->font(1).bold());
        QCOMPARE(preview->undoStack()->count(), steps + 1);
        preview->undoStack()->undo();
        QCOMPARE(doc->text(51), QStringLiteral("Awaria 51"));
        QCOMPARE(doc->text(101), QStringLiteral("Awaria 101"));
        QCOMPARE(doc->text(1), QStringLiteral("Alarm 1"));
        QVERIFY(doc->font(1).bold());
        // The count described the sheet before the undo.
        QCOMPARE(window->statusBar()->currentMessage(), QString());

        // Ctrl+Z in the box undoes what was done last: the replacement made
        // by Enter (in field 51, selected), then the typing before it.
        replacement->clear();
        replacement->setFocus();
        QTest::keyClicks(replacement, QStringLiteral("Usterka"));
        QTest::keyClick(replacement, Qt::Key_Return);
        QCOMPARE(doc->text(51), QStringLiteral("Usterka 51"));
        QTest::keyClick(replacement, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(doc->text(51), QStringLiteral("Awaria 51"));
        QCOMPARE(replacement->text(), QStringLiteral("Usterka"));
        QTest::keyClick(replacement, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(replacement->text() != QStringLiteral("Usterka"));
        QCOMPARE(doc->text(1), QStringLiteral("Alarm 1"));

        // A control character would be lost by the file: refused by its code,
        // nothing changed. A tab is kept, through a save and a new read.
        replacement->setText(QStringLiteral("A") + QChar(0) + QStringLiteral("B\tC"));
        child<QPushButton>(QStringLiteral("pbReplaceAll"))->click();
        QVERIFY2(prompts.messages.last().text.contains(QStringLiteral("U+0000")), qPrintable(prompts.messages.last().text));
        replacement->setText(QStringLiteral("A\x01"));
        child<QPushButton>(QStringLiteral("pbReplaceAll"))->click();
        QVERIFY2(prompts.messages.last().text.contains(QStringLiteral("U+0001")), qPrintable(prompts.messages.last().text));
        QCOMPARE(doc->text(51), QStringLiteral("Awaria 51"));
        QCOMPARE(preview->undoStack()->count(), steps + 1);
        replacement->setText(QStringLiteral("Al\tarm"));
        child<QPushButton>(QStringLiteral("pbReplaceAll"))->click();
        prompts.fileAnswers = {files.path(QStringLiteral("replaced.txt"))};
        action(*window, QStringLiteral("&Eksportuj plik z opisami"))->trigger();
        import(files.path(QStringLiteral("replaced.txt")));
        QCOMPARE(doc->text(51), QStringLiteral("Al\tarm 51"));
        QCOMPARE(doc->text(1), QStringLiteral("Alarm 1"));
    }

    // "Zamień wszystko" over many fields runs beside the window: cancelled,
    // it leaves the sheet as it was and nothing to undo; an undo cancelled
    // leaves the step and its texts where they were.
    void replaceAllOverManyFieldsCanBeCancelled()
    {
        QByteArray bytes;
        for (int i = 0; i < 270'000; ++i)
            bytes += (i % 3 ? "Pompa " : "Zawór ") + QByteArray::number(i) + '\n';
        prompts.questionAnswers = {QMessageBox::Yes};   // the large-file question
        import(files.write(QStringLiteral("many.txt"), bytes));
        prompts.questionAnswers.clear();
        SheetDocument *doc = preview->document();
        QCOMPARE(doc->lineCount(), 270'000);
        const QString title = window->windowTitle();
        activate();
        QTest::keySequence(window.get(), QKeySequence(QStringLiteral("Ctrl+H")));
        child<QLineEdit>(QStringLiteral("leFindQuery"))->setText(QStringLiteral("pompa"));
        child<QLineEdit>(QStringLiteral("leReplacement"))->setText(QStringLiteral("Alarm"));
        prompts.progressDelay = 0;
        const auto cancel = [](QProgressDialog &dialog) { dialog.findChild<QPushButton *>()->click(); };
        prompts.progress = cancel;
        child<QPushButton>(QStringLiteral("pbReplaceAll"))->click();
        QCOMPARE(prompts.progressShown, 1);
        QCOMPARE(doc->text(1), QStringLiteral("Pompa 1"));
        QCOMPARE(doc->text(269'999), QStringLiteral("Pompa 269999"));
        QCOMPARE(doc->allTexts().editCount(), 0);
        QCOMPARE(preview->undoStack()->count(), 0);
        QCOMPARE(window->windowTitle(), title);
        QCOMPARE(window->statusBar()->currentMessage(), QStringLiteral("Zamianę anulowano; nic nie zmieniono."));

        prompts.progress = {};
        child<QPushButton>(QStringLiteral("pbReplaceAll"))->click();
        QCOMPARE(window->statusBar()->currentMessage(), QStringLiteral("Zamieniono; zmienione pola: 180000."));
        QCOMPARE(preview->field(1)->currentText(), QStringLiteral("Alarm 1"));
        QCOMPARE(doc->text(269'999), QStringLiteral("Alarm 269999"));
        QCOMPARE(doc->text(269'997), QStringLiteral("Zawór 269997"));
        QVERIFY(window->isWindowModified());

        QCoreApplication::processEvents();   // what the step set going
        prompts.progress = cancel;
        const int shown = prompts.progressShown;
        preview->undoStack()->undo();
        QCOMPARE(prompts.progressShown, shown + 1);
        QTRY_COMPARE(preview->undoStack()->index(), 1);
        QCOMPARE(doc->text(269'999), QStringLiteral("Alarm 269999"));
        QVERIFY(window->isWindowModified());
        prompts.progress = {};
        preview->undoStack()->undo();
        QCOMPARE(preview->field(1)->currentText(), QStringLiteral("Pompa 1"));
        QCOMPARE(doc->text(269'999), QStringLiteral("Pompa 269999"));
        QCOMPARE(doc->allTexts().editCount(), 0);
        QVERIFY(!window->isWindowModified());
        preview->undoStack()->redo();
        QCOMPARE(doc->text(269'999), QStringLiteral("Alarm 269999"));

        // A series over as many fields goes the same way.
        clickField(1);
        prompts.dialogs = [](QDialog &dialog) {
            dialog.findChild<QLineEdit *>(QStringLiteral("leSeriesPattern"))->setText(QStringLiteral("Q{1}"));
            auto *count = dialog.findChild<QSpinBox *>(QStringLiteral("sbSeriesCount"));
            count->setValue(count->maximum());
            return int(QDialog::Accepted);
        };
        prompts.progress = cancel;
        child<QAction>(QStringLiteral("fillSeriesAct"))->trigger();
        QCOMPARE(window->statusBar()->currentMessage(), QStringLiteral("Wypełnianie serią anulowano; nic nie zmieniono."));
        QCOMPARE(doc->text(2), QStringLiteral("Alarm 2"));
        QCOMPARE(preview->undoStack()->count(), 1);
        prompts.progress = {};
        child<QAction>(QStringLiteral("fillSeriesAct"))->trigger();
        QCOMPARE(doc->text(2), QStringLiteral("Q2"));
        QCOMPARE(preview->undoStack()->count(), 2);
    }

    // A replace whose result would not fit in memory is refused before
    // anything changes, the program and its unsaved sheet still there: a
    // child under an address-space limit (replaceUnderLimit()).
    void replaceAllUnderAnAddressSpaceLimit()
    {
        QByteArray bytes;
        for (int i = 0; i < 90'000; ++i)
            bytes += "Pompa " + QByteArray::number(i) + '\n';
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TST_REPLACE_UNDER_LIMIT"), files.write(QStringLiteral("limited.txt"), bytes));
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(child.waitForFinished(120000));
        QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
                 child.readAllStandardOutput() + child.readAllStandardError());
    }

    // "Wypełnij serią…": the pattern is checked in the dialog, the series
    // goes into the selected fields, or from one field on over barettes and
    // a page not built yet, as one step to undo; fonts stay. A right click on
    // a selected field keeps the selection and opens the field menu.
    void fillWithASeries()
    {
        import(files.write(QStringLiteral("series.txt"), numberedLines(10)));   // pages of ids 0-44, 45-89
        const SheetDocument *doc = preview->document();
        QCOMPARE(preview->pageCount(), 2);
        QAction *fill = child<QAction>(QStringLiteral("fillSeriesAct"));
        QVERIFY(!fill->isEnabled());   // offered with a selection only
        clickField(44);
        child<QPushButton>(QStringLiteral("pbBold"))->click();
        clickField(2);
        clickField(3, Qt::ControlModifier);
        clickField(11, Qt::ControlModifier);
        activate();
        // The right press, then the menu event the platform sends with it.
        const auto rightClick = [this](int id) {
            const QPoint at = preview->mapFromScene(preview->fields().at(id)->frame().center());
            QTest::mouseClick(preview->viewport(), Qt::RightButton, {}, at);
            QContextMenuEvent event(QContextMenuEvent::Mouse, at, preview->viewport()->mapToGlobal(at));
            QApplication::sendEvent(preview->viewport(), &event);
        };
        rightClick(3);
        auto *menu = child<QMenu>(QStringLiteral("fieldMenu"));
        QTRY_VERIFY(menu->isVisible());
        QCOMPARE(preview->selectionCount(), 3);
        QVERIFY(fill->isEnabled());
        QVERIFY(menu->actions().contains(fill));
        QVERIFY(window->menuBar()->actions().at(1)->menu()->actions().contains(fill));
        menu->hide();

        QString problem;
        bool okWhileBad = true;
        QString selectedPart;
        QString shownValues;
        // The hint before anything is typed is grey; a fault in the pattern red.
        QList<QColor> problemColours;
        prompts.dialogs = [&](QDialog &dialog) {
            auto *pattern = dialog.findChild<QLineEdit *>(QStringLiteral("leSeriesPattern"));
            QPushButton *ok = dialog.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok);
            const auto *problemLabel = dialog.findChild<QLabel *>(QStringLiteral("lbSeriesProblem"));
            problemColours = {problemLabel->palette().color(QPalette::WindowText)};
            pattern->setText(QStringLiteral("Q{0}.{0-7"));
            problem = problemLabel->text();
            problemColours.append(problemLabel->palette().color(QPalette::WindowText));
            okWhileBad = ok->isEnabled();
            QTest::keyClick(pattern, Qt::Key_Return);
            selectedPart = pattern->selectedText();
            pattern->setText(QStringLiteral("Q{0}.{0-7}@X"));
            if (auto *count = dialog.findChild<QSpinBox *>(QStringLiteral("sbSeriesCount")))
                count->setValue(12);
            shownValues = dialog.findChild<QPlainTextEdit *>(QStringLiteral("teSeriesValues"))->toPlainText();
            return ok->isEnabled() ? int(QDialog::Accepted) : int(QDialog::Rejected);
        };
        fill->trigger();
        QCOMPARE(problem, QStringLiteral("Znak 6: brak zamykającego „}”."));
        QCOMPARE(problemColours, (QList<QColor>{window->palette().color(QPalette::PlaceholderText), QColor(0xB0, 0x00, 0x20)}));
        QVERIFY(!okWhileBad);
        QCOMPARE(selectedPart, QStringLiteral("{0-7"));
        QVERIFY2(shownValues.startsWith(QStringLiteral("1. Q0.0⏎X\n2. Q0.1⏎X\n3. Q0.2⏎X")), qPrintable(shownValues));
        QCOMPARE(doc->text(2), QStringLiteral("Q0.0\nX"));
        QCOMPARE(doc->text(11), QStringLiteral("Q0.2\nX"));
        QCOMPARE(window->statusBar()->currentMessage(), QStringLiteral("Wypełniono serią; wypełnione pola: 3."));

        // One field: a run from it on; the headers of barettes 5 (the next
        // page's first) and 6 are left out.
        rightClick(43);
        QTRY_VERIFY(menu->isVisible());
        QCOMPARE(preview->selectionCount(), 1);
        menu->hide();
        QTest::keyClick(preview, Qt::Key_F10, Qt::ShiftModifier);
        QTRY_VERIFY(menu->isVisible());
        menu->hide();
        QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, QPoint(), QCursor::pos());   // the Menu key, as the platform sends it
        QApplication::sendEvent(preview, &menuKey);
        QTRY_VERIFY(menu->isVisible());
        menu->hide();
        QCOMPARE(preview->selectionCount(), 1);
        const int steps = preview->undoStack()->count();
        fill->trigger();
        const auto run = [doc] {
            QStringList texts;
            for (int id = 43; id <= 57; ++id)
                texts.append(doc->text(id).replace(u'\n', u'@'));
            return texts.join(u' ');
        };
        const QString filled = QStringLiteral("Q0.0@X Q0.1@X T45 Q0.2@X Q0.3@X Q0.4@X Q0.5@X Q0.6@X Q0.7@X Q1.0@X "
                                              "Q1.1@X T54 Q1.2@X Q1.3@X T57");
        QCOMPARE(run(), filled);
        QCOMPARE(preview->currentPage(), 0);   // the page shown stays, and shows the series
        QCOMPARE(preview->field(44)->currentText(), QStringLiteral("Q0.1\nX"));
        QVERIFY(doc->font(44).bold());
        QVERIFY(!doc->font(43).bold());
        QCOMPARE(preview->undoStack()->count(), steps + 1);
        QCOMPARE(window->statusBar()->currentMessage(), QStringLiteral("Wypełniono serią; wypełnione pola: 12."));
        preview->undoStack()->undo();
        QCOMPARE(window->statusBar()->currentMessage(), QString());
        QCOMPARE(preview->field(43)->currentText(), QStringLiteral("T43"));
        QCOMPARE(run(), QStringLiteral("T43 T44 T45 T46 T47 T48 T49 T50 T51 T52 T53 T54 T55 T56 T57"));
        QCOMPARE(doc->text(2), QStringLiteral("Q0.0\nX"));
        preview->undoStack()->redo();
        QCOMPARE(run(), filled);
        QVERIFY(doc->font(44).bold());

        // "Ustaw czcionkę…", also in the field menu: the style chosen on every
        // selected field, each keeping the rest of its font, as one step.
        clickField(2);
        clickField(44, Qt::ControlModifier);
        prompts.dialogs = [](QDialog &dialog) {
            dialog.findChild<QCheckBox *>(QStringLiteral("cbItalic"))->setChecked(true);
            dialog.findChild<QPushButton *>(QStringLiteral("pbSet"))->click();
            return int(QDialog::Accepted);
        };
        QAction *font = child<QAction>(QStringLiteral("fieldFontAct"));
        QVERIFY(menu->actions().contains(font));
        font->trigger();
        QVERIFY(doc->font(2).italic() && doc->font(44).italic() && !doc->font(3).italic());
        QVERIFY(!doc->font(2).bold());
        preview->undoStack()->undo();
        QVERIFY(!doc->font(2).italic() && !doc->font(44).italic());
        QCOMPARE(run(), filled);
    }

    void pageButtonsKeysAndIndicator()
    {
        import(files.write(QStringLiteral("pages.txt"), numberedLines(5 * 5)));
        QCOMPARE(label(QStringLiteral("lbPage")), QStringLiteral("1 / 5"));
        child<QPushButton>(QStringLiteral("pbPreviousPage"))->click();
        QCOMPARE(label(QStringLiteral("lbPage")), QStringLiteral("1 / 5"));
        child<QPushButton>(QStringLiteral("pbNextPage"))->click();
        QCOMPARE(label(QStringLiteral("lbPage")), QStringLiteral("2 / 5"));
        QCOMPARE(preview->currentPage(), 1);

        // Every press counts, however quick, and the keys work with the
        // navigation tool bar hidden.
        child<QToolBar>(QStringLiteral("Nawigacja"))->hide();
        activate();
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(window.get(), Qt::Key_PageDown);
        QCOMPARE(label(QStringLiteral("lbPage")), QStringLiteral("5 / 5"));
        QCOMPARE(preview->scene(), preview->page(4));
        QTest::keyClick(window.get(), Qt::Key_PageDown);
        QCOMPARE(label(QStringLiteral("lbPage")), QStringLiteral("5 / 5"));
        QTest::keyClick(window.get(), Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(label(QStringLiteral("lbPage")), QStringLiteral("1 / 5"));
        QTest::keyClick(window.get(), Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(label(QStringLiteral("lbPage")), QStringLiteral("5 / 5"));
        QTest::keyClick(window.get(), Qt::Key_PageUp);
        QCOMPARE(label(QStringLiteral("lbPage")), QStringLiteral("4 / 5"));
        QCOMPARE(preview->currentPage(), 3);
        // Home and End alone stay on the page: its last field, and Right
        // from there takes the selection and the indicator to the next page.
        QVERIFY(preview->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_End);
        QCOMPARE(label(QStringLiteral("lbPage")), QStringLiteral("4 / 5"));
        QCOMPARE(preview->selectionCount(), 1);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
        QCOMPARE(label(QStringLiteral("lbPage")), QStringLiteral("5 / 5"));
        QCOMPARE(preview->field(preview->firstShownId() + n)->isSelected(), true);
        QTest::keyClick(window.get(), Qt::Key_PageUp);

        // A page number typed into the indicator; Escape gives up. (The
        // offscreen screen is 800 pixels wide: widen the window so that no tool
        // bar hides the indicator.)
        child<QToolBar>(QStringLiteral("Nawigacja"))->show();
        window->setWindowState(Qt::WindowNoState);
        window->resize(1500, 900);
        auto *indicator = child<QLabel>(QStringLiteral("lbPage"));
        auto *typed = child<QLineEdit>(QStringLiteral("lePage"));
        QTRY_VERIFY(indicator->isVisible());
        QTest::mouseClick(indicator, Qt::LeftButton);
        QVERIFY(typed->isVisible());
        QTest::keyClicks(typed, QStringLiteral("2"));
        QTest::keyClick(typed, Qt::Key_Return);
        QVERIFY(!typed->isVisible());
        QCOMPARE(label(QStringLiteral("lbPage")), QStringLiteral("2 / 5"));
        QCOMPARE(preview->scene(), preview->page(1));
        QTest::keySequence(window.get(), QKeySequence(QStringLiteral("Ctrl+G")));
        QVERIFY(typed->isVisible());
        QTest::keyClicks(typed, QStringLiteral("9"));   // beyond the sheet: not taken
        QTest::keyClick(typed, Qt::Key_Return);
        QCOMPARE(label(QStringLiteral("lbPage")), QStringLiteral("2 / 5"));
        typed->setText(QStringLiteral("4"));
        QTest::keyClick(typed, Qt::Key_Escape);
        QVERIFY(!typed->isVisible());
        QCOMPARE(label(QStringLiteral("lbPage")), QStringLiteral("2 / 5"));
    }

    // Fields that do not fit: counted in the status bar, visited in id order
    // across pages by F3, Shift+F3 and the count itself, fitted by
    // Ctrl+Shift+F, and asked about before printing.
    void overflowingFieldsAreCountedVisitedAndAskedAbout()
    {
        import(files.write(QStringLiteral("one.txt"), numberedLines(1)));
        const int perPage = preview->layout().barettesPerPage * (n + 1);
        QList<QByteArray> lines = numberedLines(3 * perPage / (n + 1)).split('\n');
        const QList<int> cut{3, perPage, 2 * perPage + 5};   // pages 1, 2 and 3
        for (int id : cut)
            lines[id] = QByteArray("Przeciwzamro\xBF" "eniowy").repeated(4);
        import(files.write(QStringLiteral("cut.txt"), lines.join('\n')));
        auto *count = child<QToolButton>(QStringLiteral("pbOverflow"));
        QTRY_COMPARE(count->text(), QStringLiteral("Nie mieści się: 3 pola"));
        QVERIFY(count->isVisible());

        activate();
        const auto visit = [&](const std::function<void()> &go) {
            go();
            QList<int> selected;
            for (const MyGraphicsItem *f : preview->fields()) {
                if (f->isSelected())
                    selected.append(f->fieldId());
            }
            return QStringLiteral("%1@%2").arg(selected.value(0, -1)).arg(label(QStringLiteral("lbPage")));
        };
        const std::function<void()> f3 = [&] { QTest::keyClick(window.get(), Qt::Key_F3); };
        const std::function<void()> shiftF3 = [&] { QTest::keyClick(window.get(), Qt::Key_F3, Qt::ShiftModifier); };
        QStringList visits;
        for (const std::function<void()> &go : {f3, f3, f3, f3, shiftF3})
            visits.append(visit(go));
        visits.append(visit([&] { count->click(); }));
        const QString at = QStringLiteral("%1@%2 / 3");
        QCOMPARE(visits, (QStringList{at.arg(cut[0]).arg(1), at.arg(cut[1]).arg(2), at.arg(cut[2]).arg(3),
                                      at.arg(cut[0]).arg(1), at.arg(cut[2]).arg(3), at.arg(cut[0]).arg(1)}));

        // An edit counts at once, and so does its undo.
        preview->document()->editField(cut[1], QStringLiteral("Pompa"), preview->document()->font(cut[1]),
                                       QStringLiteral("Edycja"));
        QCOMPARE(count->text(), QStringLiteral("Nie mieści się: 2 pola"));
        preview->undoStack()->undo();
        QCOMPARE(count->text(), QStringLiteral("Nie mieści się: 3 pola"));

        child<QComboBox>(QStringLiteral("cbPrinter"))->setCurrentText(QStringLiteral("PDF WBUDOWANA"));
        prompts.captions.clear();
        action(*window, QStringLiteral("Drukuj &wszystkie strony"))->trigger();   // "Anuluj"
        QCOMPARE(prompts.questions.value(0).text,
                 QStringLiteral("3 pola nie mieszczą się w ramkach. Drukować mimo to?"));
        QCOMPARE(prompts.confirmButtons.last(), (QStringList{"Drukuj", "Anuluj"}));
        QVERIFY(prompts.captions.isEmpty());   // no file asked for, nothing printed

        QVERIFY(child<QToolBar>(QStringLiteral("Czcionka"))->actions().contains(action(*window, QStringLiteral("Dopasuj &rozmiar"))));
        QTest::keySequence(window.get(), QKeySequence(QStringLiteral("Ctrl+Shift+F")));
        QCOMPARE(window->statusBar()->currentMessage(),
                 QStringLiteral("Dopasowano rozmiar: zmieniono 3 pola; przy rozmiarze 4 nadal nie mieści się: 2 pola."));
        QTest::keySequence(window.get(), QKeySequence(QStringLiteral("Ctrl+Z")));
        QCOMPARE(window->statusBar()->currentMessage(), QString());
    }

    void aSmallerReloadMovesBothToTheLastPage()
    {
        import(files.write(QStringLiteral("big.txt"), numberedLines(13)));
        child<QPushButton>(QStringLiteral("pbNextPage"))->click();
        child<QPushButton>(QStringLiteral("pbNextPage"))->click();
        import(files.write(QStringLiteral("small.txt"), numberedLines(7)));
        QCOMPARE(label(QStringLiteral("lbPage")), QStringLiteral("2 / 2"));
        QCOMPARE(preview->currentPage(), 1);
        QCOMPARE(preview->scene(), preview->page(1));
        child<QPushButton>(QStringLiteral("pbPreviousPage"))->click();
        QCOMPARE(label(QStringLiteral("lbPage")), QStringLiteral("1 / 2"));
        QCOMPARE(preview->scene(), preview->page(0));
    }

    // --------------------------------------------------------------- zoom

    void zoomButtonsAndLabel()
    {
        // The keys every viewer has; Ctrl+0 fits the page again.
        activate();
        const struct
        {
            QKeyCombination keys;
            const char *shown;
        } keys[] = {{Qt::CTRL | Qt::Key_Plus, "+14%"}, {Qt::CTRL | Qt::Key_Equal, "+32%"},
                    {Qt::CTRL | Qt::Key_Minus, "+14%"}, {Qt::CTRL | Qt::Key_0, "+0%"}};
        for (const auto &k : keys) {
            QTest::keySequence(window.get(), QKeySequence(k.keys));
            QCOMPARE(label(QStringLiteral("lbZoom")), QStringLiteral("Powiększenie: ") + QLatin1String(k.shown));
        }

        child<QPushButton>(QStringLiteral("pbZoomIn"))->click();
        QCOMPARE(label(QStringLiteral("lbZoom")), QStringLiteral("Powiększenie: +14%"));
        child<QPushButton>(QStringLiteral("pbZoomIn"))->click();
        QCOMPARE(label(QStringLiteral("lbZoom")), QStringLiteral("Powiększenie: +32%"));
        child<QPushButton>(QStringLiteral("pbZoomOut"))->click();
        QCOMPARE(label(QStringLiteral("lbZoom")), QStringLiteral("Powiększenie: +14%"));
        child<QPushButton>(QStringLiteral("pbZoomReset"))->click();
        QCOMPARE(label(QStringLiteral("lbZoom")), QStringLiteral("Powiększenie: +0%"));
        QCOMPARE(preview->zoomStep(), 1);
        // Bounded: far more clicks than steps end at the last step.
        for (int i = 0; i < 150; ++i)
            child<QPushButton>(QStringLiteral("pbZoomIn"))->click();
        QCOMPARE(label(QStringLiteral("lbZoom")), QStringLiteral("Powiększenie: +2762%"));
        child<QPushButton>(QStringLiteral("pbZoomReset"))->click();

        child<QPushButton>(QStringLiteral("pbZoomIn"))->click();
        window->setWindowState(Qt::WindowNoState);
        window->resize(900, 700);
        QTRY_COMPARE(label(QStringLiteral("lbZoom")), QStringLiteral("Powiększenie: +0%"));
        QCOMPARE(preview->zoomStep(), 1);
    }
    // ------------------------------------------------------------ commands

    // The keys reach their commands: two editors at once, the help window and
    // the box about Qt.
    void keysAndActionsReachTheirCommands()
    {
        activate();
        QTest::keySequence(window.get(), QKeySequence(QStringLiteral("Ctrl+N")));
        QCOMPARE(editors().size(), 1);
        QVERIFY(editors().first()->path().isEmpty());
        QTest::keySequence(window.get(), QKeySequence(QStringLiteral("Ctrl+E")));   // nothing loaded yet
        QCOMPARE(editors().size(), 2);
        QVERIFY(editors().last()->path().isEmpty());

        const QString path = files.write(QStringLiteral("e.txt"), numberedLines(1));
        import(path);
        activate();
        QTest::keySequence(window.get(), QKeySequence(QStringLiteral("Ctrl+E")));
        QCOMPARE(editors().size(), 3);
        QCOMPARE(editors().last()->path(), path);
        QCOMPARE(editors().last()->parent(), window.get());

        QTest::keyClick(window.get(), Qt::Key_F1);
        QCOMPARE(prompts.modalDialogs, QStringList{QStringLiteral("Pomoc - Lamello")});
        action(*window, QStringLiteral("O &Qt"))->trigger();
        QCOMPARE(prompts.aboutQtShown, 1);
        QString version;
        prompts.dialogs = [&version](QDialog &about) {
            version = about.findChild<QLabel *>(QStringLiteral("lbVersion"))->text();
            return int(QDialog::Rejected);
        };
        action(*window, QStringLiteral("O programie &Lamello"))->trigger();
        prompts.dialogs = nullptr;
        QCOMPARE(prompts.modalDialogs.last(), QStringLiteral("O programie Lamello"));
        QVERIFY2(version.startsWith(QStringLiteral("Lamello %1, kompilacja z dnia: ")
                                        .arg(QLatin1String(LamelloBuild::version))),
                 qPrintable(version));

        // Quitting closes the unmodified editors without a question.
        action(*window, QStringLiteral("Za&kończ"))->trigger();
        QVERIFY(prompts.questions.isEmpty());
        QVERIFY(!window->isVisible());
    }

    // The other commands' keys reach them: each asks its first question.
    void everyKeyReachesItsCommand_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("asked");   // a file dialog's caption, or the start of a message
        QTest::newRow("import") << "Ctrl+Alt+O" << "Importuj opisy";
        QTest::newRow("export") << "Ctrl+Alt+S" << "Eksportuj opisy";
        QTest::newRow("open project") << "Ctrl+O" << "Otwórz projekt";
        QTest::newRow("save project") << "Ctrl+S" << "Zapisz projekt";
        QTest::newRow("print page") << "Ctrl+P" << "Przed rozpoczęciem pracy";
        QTest::newRow("print all") << "Ctrl+Shift+P" << "Przed rozpoczęciem pracy";
        QTest::newRow("print chosen pages") << "Ctrl+Alt+P" << "Przed rozpoczęciem pracy";
    }

    void everyKeyReachesItsCommand()
    {
        QFETCH(QString, keys);
        QFETCH(QString, asked);
        import(files.write(QStringLiteral("k.txt"), numberedLines(1)));
        child<QComboBox>(QStringLiteral("cbPrinter"))->setCurrentIndex(0);
        prompts.captions.clear();
        prompts.messages.clear();
        activate();
        QTest::keySequence(window.get(), QKeySequence(keys));
        const QString first = prompts.captions.isEmpty() ? prompts.messages.value(0).text : prompts.captions.first();
        QVERIFY2(first.startsWith(asked), qPrintable(first));
    }

    // A save in the editor reloads the sheet; every field keeps its font.
    void savingInTheEditorReloadsTheSheet()
    {
        const QString path = files.write(QStringLiteral("r.txt"), numberedLines(2));
        import(path);
        clickField(3);
        child<QPushButton>(QStringLiteral("pbBold"))->click();
        action(*window, QStringLiteral("&Edytor"))->trigger();
        EditPad *pad = editors().first();
        pad->textArea()->moveCursor(QTextCursor::Start);
        QTest::keyClicks(pad->textArea(), QStringLiteral("New"));
        QTest::keyClick(pad->textArea(), Qt::Key_Return);   // every text moves one field on
        prompts.questionAnswers = {QMessageBox::Save, QMessageBox::Discard};
        pad->findChild<QPushButton *>(QStringLiteral("pbSave"))->click();

        QCOMPARE(preview->fields().at(0)->currentText(), QStringLiteral("New"));
        QCOMPARE(preview->fields().at(3)->currentText(), QStringLiteral("T2"));
        QCOMPARE(preview->fields().at(3)->currentFont().weight(), int(QFont::Bold));
        QCOMPARE(preview->fields().at(4)->currentFont().weight(), int(QFont::Normal));
        QCOMPARE(window->windowTitle(), QFileInfo(path).fileName() + QStringLiteral("[*] — Lamello"));
        // The texts as the file now holds them: nothing to undo, nothing unsaved.
        QVERIFY(!action(*window, QStringLiteral("&Cofnij"))->isEnabled());
        QVERIFY(!window->isWindowModified());
    }

    // What the window remembers comes back in the next one.
    void settingsComeBackInASecondWindow()
    {
        const QString path = files.write(QStringLiteral("pamiec.txt"), numberedLines(2));
        import(path);
        child<QComboBox>(QStringLiteral("cbPrinter"))->setCurrentText(QStringLiteral("Magazyn"));
        child<QComboBox>(QStringLiteral("cbPredefinited"))->setCurrentText(QStringLiteral("TYP-C2"));
        child<QPushButton>(QStringLiteral("pbAccept"))->click();
        window->setWindowState(Qt::WindowNoState);
        window->resize(900, 700);
        QVERIFY(window->close());

        window = std::make_unique<MainWindow>();
        preview = window->sheetPreview();
        QCOMPARE(preview->printer(), QStringLiteral("Magazyn"));
        QCOMPARE(child<QComboBox>(QStringLiteral("cbPredefinited"))->currentText(), QStringLiteral("TYP-C2"));
        QCOMPARE(preview->layout().labelWidth, 28.0f);
        QCOMPARE(window->size(), QSize(900, 700));
        QVERIFY(!window->windowState().testFlag(Qt::WindowMaximized));
        import(QString());
        QCOMPARE(prompts.folders.last(), QFileInfo(path).absolutePath());

        // "Ostatnio otwierane" opens the file; one gone since leaves the list with a message.
        QMenu *recent = child<QMenu>(QStringLiteral("recentMenu"));
        emit window->menuBar()->actions().first()->menu()->aboutToShow();
        QCOMPARE(recent->actions().size(), 1);
        recent->actions().first()->trigger();
        QCOMPARE(preview->fields().size(), 2 * (n + 1));
        QFile::remove(path);
        recent->actions().first()->trigger();
        QVERIFY(prompts.messages.last().text.contains(path));
        emit window->menuBar()->actions().first()->menu()->aboutToShow();
        QVERIFY(recent->actions().isEmpty() && !recent->menuAction()->isEnabled());

        // A file opened again goes back to the top, listed once.
        files.write(QStringLiteral("pamiec.txt"), numberedLines(2));
        const QString second = files.write(QStringLiteral("drugi.txt"), numberedLines(1));
        const QString third = files.write(QStringLiteral("trzeci.txt"), numberedLines(1));
        for (const QString &opened : {path, second, third, path})
            import(opened);
        emit window->menuBar()->actions().first()->menu()->aboutToShow();
        QStringList listed;
        for (const QAction *entry : recent->actions())
            listed.append(entry->text());
        QCOMPARE(listed, (QStringList{QStringLiteral("&1 ") + path, QStringLiteral("&2 ") + third,
                                      QStringLiteral("&3 ") + second}));

        // A geometry of the user's own, every value different: each comes back.
        child<QSpinBox>(QStringLiteral("sbLabels"))->setValue(7);
        child<QDoubleSpinBox>(QStringLiteral("dsbLabelWidth"))->setValue(30);
        child<QDoubleSpinBox>(QStringLiteral("dsbLabelHeight"))->setValue(11.5);
        child<QDoubleSpinBox>(QStringLiteral("dsbHeaderWidth"))->setValue(45);
        child<QDoubleSpinBox>(QStringLiteral("dsbHeaderHeight"))->setValue(9);
        child<QPushButton>(QStringLiteral("pbAccept"))->click();
        QVERIFY(window->close());
        window = std::make_unique<MainWindow>();
        const SheetLayout &layout = window->sheetPreview()->layout();
        QCOMPARE((QList<double>{double(layout.labelsPerBarette), layout.labelWidth, layout.labelHeight,
                                layout.headerWidth, layout.headerHeight}),
                 (QList<double>{7, 30, 11.5, 45, 9}));
    }

    // A settings file is outside input: whatever lies under its name, the
    // window opens and lamello-batch prints, each says once what it ignored,
    // and nothing but a regular file is ever written.
    void hostileSettingsFiles_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("said");        // by both programs
        QTest::newRow("FIFO") << "fifo" << "Pominięto plik ustawień";
        QTest::newRow("2 GB") << "huge" << "Pominięto plik ustawień";
        QTest::newRow("random bytes") << "garbage" << "Nie można odczytać ustawień";
        QTest::newRow("link to a device node") << "device" << "Pominięto plik ustawień";
        QTest::newRow("link loop") << "loop" << "pętla dowiązań";
        QTest::newRow("labels=0") << "geometry" << "geometria baretki jest nieprawidłowa";
        QTest::newRow("scaleY=200") << "calibration" << "kalibracja drukarki „Archiwum” jest nieprawidłowa";
        QTest::newRow("window state changed") << "state" << "";
        QTest::newRow("printer name of 600 000 characters") << "printer" << "";
        QTest::newRow("link to a regular file") << "link" << "";
    }

    void hostileSettingsFiles()
    {
        QFETCH(QString, kind);
        QFETCH(QString, said);
        const auto make = [&](const QString &path) {
            QDir folder = QFileInfo(path).absoluteDir();
            folder.removeRecursively();
            folder.mkpath(QStringLiteral("."));
            const QByteArray name = QFile::encodeName(path);
            const QByteArray aside = name + ".aside";
            if (kind == QLatin1String("fifo"))
                return ::mkfifo(name, 0600) == 0;
            if (kind == QLatin1String("huge")) {
                QFile file(path);
                return file.open(QIODevice::WriteOnly) && file.resize(qint64(2) << 30);
            }
            if (kind == QLatin1String("device")) {
                return ::mknod(aside, S_IFCHR | 0600, makedev(1, 3)) == 0 && ::symlink(aside, name) == 0;
            }
            if (kind == QLatin1String("link")) {
                QFile target(QString::fromLocal8Bit(aside));
                return target.open(QIODevice::WriteOnly) && target.write("[General]\n") > 0
                       && ::symlink(aside, name) == 0;
            }
            if (kind == QLatin1String("loop"))
                return ::symlink(aside, name) == 0 && ::symlink(name, aside) == 0;
            QByteArray bytes;
            if (kind == QLatin1String("garbage")) {
                QRandomGenerator random(21);
                for (int i = 0; i < (1 << 20) / 4; ++i) {
                    const quint32 word = random.generate();
                    bytes.append(reinterpret_cast<const char *>(&word), 4);
                }
            } else if (kind == QLatin1String("geometry")) {
                bytes = "[Geometry]\nlabels=0\nlabelWidth=1e308\nlabelHeight=10\nheaderWidth=50\nheaderHeight=9\n";
            } else if (kind == QLatin1String("calibration")) {
                bytes = "[Printer]\nname=Archiwum\n[Calibration]\nArchiwum\\scaleY=200\n";
            } else if (kind == QLatin1String("state")) {
                bytes = "[Window]\nstate=@ByteArray(\\0\\0\\0\\xff\\0\\0\\0\\0\\xfd\\x7f\\xff\\xff\\xff)\n"
                        "check=00\n";
            } else {
                bytes = "[Printer]\nname=" + QByteArray(600'000, 'P') + "\n";
            }
            QFile file(path);
            return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
        };
        struct stat before{};
        const auto unchanged = [&](const QString &path) {
            struct stat now{};
            return ::lstat(QFile::encodeName(path), &now) == 0 && (now.st_mode & S_IFMT) == (before.st_mode & S_IFMT)
                   && now.st_size == before.st_size && now.st_ino == before.st_ino;
        };
        const bool refused = said.startsWith(QLatin1String("Pominięto")) || kind == QLatin1String("loop");

        // The window, in settings of this row's own.
        window.reset();
        QCoreApplication::setOrganizationName(QStringLiteral("Lamello-hostile-") + kind);
        const QString path = Settings::filePath();
        if (!make(path))
            QSKIP("this system does not let the test make that file");
        QVERIFY(::lstat(QFile::encodeName(path), &before) == 0);
        prompts.messages.clear();
        window = std::make_unique<MainWindow>();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        const QString note = window->statusBar()->currentMessage();
        QVERIFY2(said.isEmpty() ? note.size() < 200 : note.contains(said), qPrintable(note.left(300)));
        QCOMPARE(window->sheetPreview()->layout().labelsPerBarette, 8);
        window->close();
        window.reset();
        QVERIFY2(prompts.messages.isEmpty(), qPrintable(prompts.messages.value(0).text));
        if (refused) {
            QVERIFY(unchanged(path));
            if (kind == QLatin1String("device")) {
                QVERIFY(QFileInfo(path).isSymLink());
                struct stat node{};
                QVERIFY(::stat(QFile::encodeName(path), &node) == 0 && S_ISCHR(node.st_mode));
            }
        } else {
            // Written through a link into the file it names.
            if (kind == QLatin1String("link")) {
                QVERIFY(QFileInfo(path).isSymLink());
                QFile target(path + QStringLiteral(".aside"));
                QVERIFY(target.open(QIODevice::ReadOnly) && target.readAll().contains("Window"));
            }
            // Written clean: a second window hears nothing.
            window = std::make_unique<MainWindow>();
            QCOMPARE(window->statusBar()->currentMessage().contains(QLatin1String("ustawień")), false);
            window.reset();
        }
        QCoreApplication::setOrganizationName(QStringLiteral("lamello-tests"));

        // lamello-batch, printing on a queue: it reads the calibrations.
        const QString xdg = files.path(QStringLiteral("xdg-") + kind);
        const QString batchPath = xdg + QStringLiteral("/Lamello/lamello.conf");
        QVERIFY(make(batchPath));
        QVERIFY(::lstat(QFile::encodeName(batchPath), &before) == 0);
        QProcess batch;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), xdg);
        batch.setProcessEnvironment(env);
        batch.start(QStringLiteral(LAMELLO_BATCH),
                    {files.write(QStringLiteral("one.txt"), "H\nL\n"), QStringLiteral("-P"), QStringLiteral("Archiwum")});
        QVERIFY(batch.waitForFinished(60000));
        const QString err = QString::fromUtf8(batch.readAllStandardError());
        QCOMPARE(batch.exitCode(), 0);
        const bool batchReads = kind != QLatin1String("geometry") && kind != QLatin1String("state")
                                && kind != QLatin1String("printer");
        QVERIFY2(batchReads ? err.contains(said) : err.isEmpty(), qPrintable(err));
        if (refused)
            QVERIFY(unchanged(batchPath));
        QDir(xdg).removeRecursively();
        QFileInfo(path).absoluteDir().removeRecursively();
    }

    // A project's workbook as the settings give it back: damage is no source.
    void projectSourcesInTheSettingsAreBounded()
    {
        const QString project = QFileInfo(files.path(QStringLiteral("szafa.lmpro"))).absoluteFilePath();
        const QString mapping = SheetMapping().toString();
        const auto stored = [&](const QVariant &value) {
            {
                QSettings raw(Settings::filePath(), QSettings::IniFormat);
                raw.setValue(QStringLiteral("Projects/sources"), value);
            }
            const std::optional<Settings::ProjectSource> source = Settings().projectSource(project);
            return source ? source->workbook : QStringLiteral("none");
        };
        const QString entry = project + u"\n/dane/szafa.ods\n"_qs + mapping;
        QCOMPARE(stored(QStringList{entry}), QStringLiteral("/dane/szafa.ods"));
        QCOMPARE(stored(42), QStringLiteral("none"));
        QCOMPARE(stored(QStringList{project + u"\n/dane/szafa.ods"_qs}), QStringLiteral("none"));
        QCOMPARE(stored(QStringList{project + u"\n/"_qs + QString(5000, u'x') + u".ods\n"_qs + mapping}),
                 QStringLiteral("none"));
        QCOMPARE(stored(QStringList(40, u"/x.lmpro\n/x.ods\n"_qs) + QStringList{entry}), QStringLiteral("none"));

        // Written: the newest first, at most maxProjectSources.
        Settings settings;
        for (int i = 0; i < 40; ++i)
            settings.setProjectSource(files.path(QStringLiteral("p%1.lmpro").arg(i)), u"/dane/a.ods"_qs, mapping);
        settings.setProjectSource(project, u"/dane/b.ods"_qs, mapping);
        QCOMPARE(settings.projectSource(project)->workbook, QStringLiteral("/dane/b.ods"));
        QVERIFY(settings.projectSource(files.path(QStringLiteral("p39.lmpro"))));
        QVERIFY(!settings.projectSource(files.path(QStringLiteral("p0.lmpro"))));
        settings.removeProjectSource(project);
        QVERIFY(!settings.projectSource(project));
    }

    // Each save dialog adds its extension to a name typed without one, and
    // starts in the folder of the file shown, then in the last one used.
    void saveDialogsAddTheirExtensionAndStartInTheRightFolder_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("extension");
        QTest::newRow("export") << "&Eksportuj plik z opisami" << ".txt";
        QTest::newRow("CSV") << "Eksportuj jako &CSV…" << ".csv";
        QTest::newRow("built-in PDF") << "Drukuj &bieżącą stronę" << ".pdf";
        QTest::newRow("project") << "Zapisz projekt &jako…" << ".lmpro";
        QTest::newRow("editor's Zapisz jako") << "&Edytor" << ".txt";
    }

    void saveDialogsAddTheirExtensionAndStartInTheRightFolder()
    {
        QFETCH(QString, command);
        QFETCH(QString, extension);
        QVERIFY(QDir().mkpath(files.path(QStringLiteral("opisy"))));
        QVERIFY(QDir().mkpath(files.path(QStringLiteral("wyniki"))));
        import(files.write(QStringLiteral("opisy/s.txt"), numberedLines(1)));
        child<QComboBox>(QStringLiteral("cbPrinter"))->setCurrentText(QStringLiteral("PDF WBUDOWANA"));
        const QString out = files.path(QStringLiteral("wyniki/") + QTest::currentDataTag());
        for (const QString &folder : {files.path(QStringLiteral("opisy")), files.path(QStringLiteral("wyniki"))}) {
            prompts.fileAnswers = {out};
            prompts.folders.clear();
            action(*window, command)->trigger();
            if (command == QStringLiteral("&Edytor"))
                editors().last()->findChild<QPushButton *>(QStringLiteral("pbSaveAs"))->click();
            // The project's and the PDF's dialogs offer the current name too:
            // the project's, else the descriptions file's.
            const QString asked = prompts.folders.value(0);
            const bool named = extension != QLatin1String(".txt");
            QCOMPARE(named ? QFileInfo(asked).absolutePath() : asked, folder);
            if (named)
                QCOMPARE(QFileInfo(asked).fileName(),
                         (extension == QLatin1String(".lmpro") && folder.endsWith(QLatin1String("wyniki"))
                              ? QStringLiteral("project")
                              : QStringLiteral("s"))
                             + extension);
            QVERIFY(QFile::exists(out + extension));
            // A saved project is offered again as an opened one is.
            if (extension == QLatin1String(".lmpro"))
                QCOMPARE(Settings().recentFiles().value(0), out + extension);
        }
    }

    // Quitting with unsaved changes asks for that editor; "Anuluj" keeps both
    // windows open.
    // Every way of replacing the sheet's texts, and closing, asks first when
    // the sheet has changes no project holds: Zapisz saves them (and goes
    // on), Porzuć drops them, Anuluj keeps everything as it was.
    void unsavedSheetIsNeverDroppedSilently_data()
    {
        QTest::addColumn<QString>("way");
        QTest::addColumn<int>("answer");
        const QString ways[] = {QStringLiteral("import"), QStringLiteral("editor save"),
                                QStringLiteral("open project"), QStringLiteral("close")};
        const std::pair<QString, QMessageBox::StandardButton> answers[] = {
            {QStringLiteral("save"), QMessageBox::Save},
            {QStringLiteral("discard"), QMessageBox::Discard},
            {QStringLiteral("cancel"), QMessageBox::Cancel}};
        for (const QString &way : ways) {
            for (const auto &[name, answer] : answers)
                QTest::newRow(qPrintable(way + QStringLiteral(", ") + name)) << way << int(answer);
        }
    }

    void unsavedSheetIsNeverDroppedSilently()
    {
        QFETCH(QString, way);
        QFETCH(int, answer);
        const QString first = files.write(QStringLiteral("first.txt"), numberedLines(1));
        const QString other = files.write(QStringLiteral("other.txt"), "Inny\n");
        const QString stored = files.path(QStringLiteral("stored.lmpro"));
        QFile::remove(stored);
        import(first);
        clickField(1);
        child<QPushButton>(QStringLiteral("pbBold"))->click();
        QVERIFY(window->isWindowModified());

        const bool save = answer == QMessageBox::Save;
        prompts.questionAnswers = {QMessageBox::StandardButton(answer)};
        bool closed = false;
        if (way == QLatin1String("import")) {
            prompts.fileAnswers = {other, stored};
            action(*window, QStringLiteral("&Importuj plik z opisami"))->trigger();
        } else if (way == QLatin1String("editor save")) {
            action(*window, QStringLiteral("&Edytor"))->trigger();
            EditPad *pad = editors().first();
            pad->textArea()->setPlainText(QStringLiteral("Inny"));
            prompts.questionAnswers.prepend(QMessageBox::Save);   // the editor's overwrite question
            prompts.fileAnswers = {stored};
            pad->findChild<QPushButton *>(QStringLiteral("pbSave"))->click();
        } else if (way == QLatin1String("open project")) {
            const QString project = files.path(QStringLiteral("other.lmpro"));
            {
                Preview maker;
                maker.generationEnabled = true;
                maker.filePath = other;
                maker.readFile();
                maker.generatePages();
                prompts.fileAnswers = {project};
                QVERIFY(maker.saveProjectAs());
            }
            prompts.fileAnswers = save ? QStringList{stored, project} : QStringList{project};
            action(*window, QStringLiteral("&Otwórz projekt"))->trigger();
        } else {
            prompts.fileAnswers = {stored};
            closed = window->close();
        }
        QCOMPARE(prompts.questions.last().text, QStringLiteral("Arkusz ma niezapisane zmiany. Zapisać projekt?"));
        QCOMPARE(QFile::exists(stored), save);
        if (answer == QMessageBox::Cancel) {
            QVERIFY(window->isWindowModified());
            QVERIFY(!closed);
            // Asked before the editor wrote anything: the file is as it was.
            QCOMPARE(QFile(first).size(), qint64(numberedLines(1).size()));
            QCOMPARE(preview->document()->font(1).weight(), int(QFont::Bold));
            QCOMPARE(preview->document()->text(0), QStringLiteral("T0"));
            return;
        }
        if (way == QLatin1String("close")) {
            QVERIFY(closed);
            return;
        }
        QVERIFY(!window->isWindowModified());
        QCOMPARE(preview->document()->text(0), QStringLiteral("Inny"));
    }

    void ctrlSSavesToTheOpenProjectWithoutAsking()
    {
        import(files.write(QStringLiteral("named.txt"), numberedLines(1)));
        clickField(2);
        child<QPushButton>(QStringLiteral("pbBold"))->click();
        const QString project = files.path(QStringLiteral("named.lmpro"));
        prompts.fileAnswers = {project};
        activate();
        QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(window->windowTitle(), QStringLiteral("named.lmpro[*] — Lamello"));
        QVERIFY(!window->isWindowModified());
        const int dialogs = prompts.captions.size();
        child<QPushButton>(QStringLiteral("pbItalic"))->click();
        QVERIFY(window->isWindowModified());
        QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(prompts.captions.size(), dialogs);   // no dialog the second time
        QVERIFY(!window->isWindowModified());
        QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(prompts.captions.size(), dialogs + 1);   // "jako" always asks

        // Another file imported is no part of the project: Ctrl+S asks for a
        // name (here cancelled) and the project stays as it was saved.
        QFile file(project);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray saved = file.readAll();
        file.close();
        import(files.write(QStringLiteral("imported.txt"), numberedLines(1)));
        child<QPushButton>(QStringLiteral("pbBold"))->click();
        QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(prompts.captions.last(), QStringLiteral("Zapisz projekt"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), saved);
    }

    void quittingAsksForUnsavedChanges()
    {
        const QString path = files.write(QStringLiteral("q.txt"), "A");
        import(path);
        action(*window, QStringLiteral("&Edytor"))->trigger();
        action(*window, QStringLiteral("&Nowe opisy"))->trigger();
        QPointer<EditPad> pad = editors().first();
        QTest::keyClicks(pad->textArea(), QStringLiteral("B"));

        prompts.questionAnswers = {QMessageBox::Cancel};
        QVERIFY(!window->close());
        QCOMPARE(prompts.questions.size(), 1);
        QVERIFY(window->isVisible() && pad->isVisible());

        prompts.questionAnswers = {QMessageBox::Save};
        QVERIFY(window->close());
        QCOMPARE(prompts.questions.size(), 2);
        QFile saved(path);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), QByteArray("BA"));
    }

    // ------------------------------------------------------------ languages

    // Every entry of translations/ is translated and none is left over, and
    // counts go through system/plural.h: a noun that is counted somewhere is
    // never put after a bare number elsewhere, nor is Qt's %n used (the
    // Polish forms would then need a Polish translation loaded).
    void translationsAreCompleteAndCountThroughThePluralRule()
    {
        const QStringList tsFiles = QDir(QStringLiteral(LAMELLO_TRANSLATIONS)).entryList({"*.ts"}, QDir::Files);
        QVERIFY(!tsFiles.isEmpty());
        for (const QString &name : tsFiles) {
            QFile file(QStringLiteral(LAMELLO_TRANSLATIONS "/") + name);
            QVERIFY(file.open(QIODevice::ReadOnly));
            struct Message
            {
                QString context, source, comment, translation, type;
                bool numerus = false;
            };
            QList<Message> messages;
            QString context;
            QXmlStreamReader xml(&file);
            while (!xml.atEnd()) {
                if (xml.readNext() != QXmlStreamReader::StartElement)
                    continue;
                if (xml.name() == QLatin1String("name")) {
                    context = xml.readElementText();
                } else if (xml.name() == QLatin1String("message")) {
                    Message m{context, {}, {}, {}, {}, xml.attributes().value(QLatin1String("numerus")) == QLatin1String("yes")};
                    while (xml.readNextStartElement()) {
                        if (xml.name() == QLatin1String("translation")) {
                            m.type = xml.attributes().value(QLatin1String("type")).toString();
                            m.translation = xml.readElementText(QXmlStreamReader::IncludeChildElements);
                        } else if (xml.name() == QLatin1String("source")) {
                            m.source = xml.readElementText();
                        } else if (xml.name() == QLatin1String("comment")) {
                            m.comment = xml.readElementText();
                        } else {
                            xml.skipCurrentElement();
                        }
                    }
                    messages.append(m);
                }
            }
            QVERIFY2(!xml.hasError(), qPrintable(name + QLatin1String(": ") + xml.errorString()));
            QVERIFY(messages.size() > 300);

            // The nouns of the count forms ("%1 stron" with "many": "stron").
            const QStringList forms{"one", "few", "many"};
            QSet<QString> countedNouns;
            static const QRegularExpression countForm(QStringLiteral("^%\\d (\\w+)$"),
                                                     QRegularExpression::UseUnicodePropertiesOption);
            for (const Message &m : std::as_const(messages)) {
                if (const QRegularExpressionMatch form = countForm.match(m.source); forms.contains(m.comment) && form.hasMatch())
                    countedNouns.insert(form.captured(1));
            }
            QVERIFY(countedNouns.contains(QStringLiteral("stron")) && countedNouns.contains(QStringLiteral("pól")));
            static const QRegularExpression numberAndWord(QStringLiteral("%\\d (\\w+)"),
                                                         QRegularExpression::UseUnicodePropertiesOption);
            QStringList faults;
            for (const Message &m : std::as_const(messages)) {
                const QString where = m.context + QLatin1String(": ") + m.source.left(60);
                // tr() in a helper class without a context of its own is filed
                // under the class, where the program never looks it up.
                if (m.context.contains(QLatin1String("::")))
                    faults.append(QLatin1String("a context the program does not translate in - ") + where);
                if (!m.type.isEmpty())
                    faults.append(m.type + QLatin1String(" - ") + where);
                else if (m.translation.isEmpty())
                    faults.append(QLatin1String("empty - ") + where);
                if (m.numerus || m.source.contains(QLatin1String("%n")))
                    faults.append(QLatin1String("%n instead of counted() - ") + where);
                if (!forms.contains(m.comment) && countedNouns.contains(numberAndWord.match(m.source).captured(1)))
                    faults.append(QLatin1String("a bare number before a counted noun - ") + where);
                if (forms.contains(m.comment) && countForm.match(m.source).hasMatch()
                    && m.source.count(QLatin1Char('%')) != m.translation.count(QLatin1Char('%')))
                    faults.append(QLatin1String("the number is lost - ") + where);
            }
            QVERIFY2(faults.isEmpty(), qPrintable(name + QLatin1String(":\n") + faults.join(QLatin1Char('\n'))));
        }
        // Built into the program.
        QTranslator english;
        QVERIFY(english.load(QStringLiteral(":/i18n/lamello_en.qm")));
        QCOMPARE(english.translate("FitTracker", "%1 pól", "many"), QStringLiteral("%1 fields"));
    }

    // The language menu switches every widget at once and is remembered; a
    // window built in the new language says the same as the switched one.
    // The desktop's language (LANG) chooses for both programs' help.
    void speaksTheChosenLanguage_data()
    {
        QTest::addColumn<QStringList>("choices");   // entries of the language menu, in turn
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QStringList>("menus");
        QTest::addColumn<QString>("dialogTitle");
        QTest::addColumn<QString>("qtCancel");
        QTest::addColumn<QString>("allFit");
        QTest::addColumn<QString>("usage");   // the first word of both programs' --help
        QTest::newRow("English") << QStringList{"English"} << "en_US.UTF-8"
                                 << QStringList{"&File", "&Edit", "&Print", "&Help"} << "About Lamello" << "Cancel"
                                 << "All fields fit in their frames." << "Usage:";
        QTest::newRow("Polish again") << QStringList{"English", "Polski"} << "pl_PL.UTF-8"
                                      << QStringList{"&Plik", "&Edycja", "Dr&ukuj", "P&omoc"} << "O programie Lamello"
                                      << "Anuluj" << "Wszystkie pola mieszczą się w ramkach." << "Użycie:";
    }

    void speaksTheChosenLanguage()
    {
        QFETCH(QStringList, choices);
        QFETCH(QString, lang);
        QFETCH(QStringList, menus);
        QFETCH(QString, dialogTitle);
        QFETCH(QString, qtCancel);
        QFETCH(QString, allFit);
        QFETCH(QString, usage);
        const auto backToPolish = qScopeGuard([] { Language::install(Language::Choice::Polish); });
        // Every text the window shows, in a fixed order.
        const auto texts = [](QWidget &w) {
            QStringList all;
            const QList<QObject *> objects = w.findChildren<QObject *>();
            for (QObject *o : objects) {
                if (auto *a = qobject_cast<QAction *>(o))
                    all << a->text() << a->toolTip() << a->statusTip();
                if (auto *l = qobject_cast<QLabel *>(o))
                    all << l->text();
                if (auto *b = qobject_cast<QAbstractButton *>(o))
                    all << b->text();
                if (auto *g = qobject_cast<QGroupBox *>(o))
                    all << g->title();
                if (auto *c = qobject_cast<QComboBox *>(o)) {
                    for (int i = 0; i < c->count(); ++i)
                        all << c->itemText(i);
                }
                if (auto *widget = qobject_cast<QWidget *>(o))
                    all << widget->windowTitle() << widget->toolTip() << widget->whatsThis();
            }
            all.removeAll(QString());
            return all;
        };

        const QMenu *languages = window->findChild<QMenu *>(QStringLiteral("languageMenu"));
        QVERIFY(languages);
        for (const QString &choice : std::as_const(choices)) {
            action(*window, choice)->trigger();
            QCoreApplication::processEvents();
        }
        const Language::Choice chosen = choices.constLast() == QLatin1String("English") ? Language::Choice::English
                                                                                          : Language::Choice::Polish;
        QVERIFY(Settings().language() == chosen);

        QStringList titles;
        const QList<QAction *> menuActions = window->menuBar()->actions();
        for (const QAction *m : menuActions)
            titles.append(m->text());
        QCOMPARE(titles, menus);
        // The help lists every entry of the menus, in this language too.
        HelpDialog help;
        QString menuList;
        const QList<QLabel *> topics = help.findChildren<QLabel *>(QStringLiteral("topic"));
        for (const QLabel *topic : topics) {
            if (topic->text().contains(QStringLiteral("\n1. ")))
                menuList = topic->text();
        }
        const QStringList missing = entriesMissingFromHelp(*window->menuBar(), menuList);
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(u'\n')));
        // Sizes in the language's numbers, the printer box wide enough for its entries.
        QCOMPARE(child<QDoubleSpinBox>(QStringLiteral("dsbLabelWidth"))->text().contains(u','),
                 chosen == Language::Choice::Polish);
        QStringList clashes = clashingAccessKeys(*window->menuBar());
        QMenuBar onField;   // the sheet's field menu, checked as a menu of a bar
        onField.addMenu(child<QMenu>(QStringLiteral("fieldMenu")));
        clashes += clashingAccessKeys(onField);
        QVERIFY2(clashes.isEmpty(), qPrintable(clashes.join(QLatin1Char('\n'))));
        QCOMPARE(AboutDialog(window.get()).windowTitle(), dialogTitle);
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), qtCancel);
        QMetaObject::invokeMethod(window.get(), "showOverflowing", Q_ARG(bool, true));
        QCOMPARE(window->statusBar()->currentMessage(), allFit);

        const QStringList switched = texts(*window);
        MainWindow fresh;
        fresh.show();
        QVERIFY(QTest::qWaitForWindowExposed(&fresh));
        QCOMPARE(switched, texts(fresh));
        // Sized for the texts it shows now, as in a window opened in this language.
        QCOMPARE(child<QComboBox>(QStringLiteral("cbPrinter"))->sizeHint(),
                 fresh.findChild<QComboBox *>(QStringLiteral("cbPrinter"))->sizeHint());
        if (chosen == Language::Choice::English) {
            static const QRegularExpression polish(QStringLiteral("[ąćęłńóśźżĄĆĘŁŃÓŚŹŻ]"));
            for (const QString &shown : switched)
                QVERIFY2(!shown.contains(polish) || shown == QStringLiteral("Język / Language"), qPrintable(shown));
        }

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"})
            env.remove(QString::fromLatin1(name));
        env.insert(QStringLiteral("LANG"), lang);
        const auto helpOf = [&env](const char *program, const QStringList &arguments) {
            QProcess help;
            help.setProcessEnvironment(env);
            help.start(QString::fromLocal8Bit(program), arguments);
            return help.waitForFinished(30000) ? QString::fromUtf8(help.readAllStandardOutput()) : QString();
        };
        for (const char *program : {LAMELLO_BATCH, LAMELLO_WINDOW}) {
            const QString out = helpOf(program, {QStringLiteral("--help")});
            QVERIFY2(out.startsWith(usage), qPrintable(out));
        }
        // --lang speaks the other language for one run: the desktop and the
        // language chosen in the window stay as they were.
        const bool english = chosen == Language::Choice::English;
        const QString other = helpOf(LAMELLO_WINDOW, {QStringLiteral("--lang"), english ? u"pl"_qs : u"en"_qs,
                                                      QStringLiteral("--help")});
        QVERIFY2(other.startsWith(english ? u"Użycie:"_qs : u"Usage:"_qs), qPrintable(other));
        QVERIFY(other.contains(QStringLiteral("--lang")));
        QVERIFY(Settings().language() == chosen);
    }
};

// The child of replaceAllUnderAnAddressSpaceLimit(): the sheet of `path`
// edited, then the address space limited to what the process maps and 256
// MiB more, and "Pompa" replaced in every field by 32,000 characters (9 GB
// of texts). Exits with 0 when the replace was refused by a message that
// says why and the sheet, its edit and its step to undo stayed.
int replaceUnderLimit(const QString &path)
{
    FakePrompts prompts;
    prompts.questionAnswers = {QMessageBox::Yes};
    MainWindow window;
    window.show();
    window.openFromCommandLine({QStringLiteral("lamello"), path});
    SheetDocument *doc = window.sheetPreview()->document();
    doc->editField(0, QStringLiteral("Zmieniona"), doc->font(0), QStringLiteral("edycja"));
    auto *bar = window.findChild<QWidget *>(QStringLiteral("findBar"));
    bar->findChild<QLineEdit *>(QStringLiteral("leFindQuery"))->setText(QStringLiteral("Pompa"));
    bar->findChild<QLineEdit *>(QStringLiteral("leReplacement"))->setText(QString(32'000, u'x'));
    long long pages = 0;
    if (FILE *statm = std::fopen("/proc/self/statm", "re")) {
        if (std::fscanf(statm, "%lld", &pages) != 1)
            pages = 0;
        std::fclose(statm);
    }
    const rlimit limit{rlim_t(pages * ::sysconf(_SC_PAGESIZE) + (256 << 20)), RLIM_INFINITY};
    if (pages == 0 || ::setrlimit(RLIMIT_AS, &limit) != 0)
        return 2;
    bar->findChild<QPushButton *>(QStringLiteral("pbReplaceAll"))->click();
    const QString said = prompts.messages.isEmpty() ? QString() : prompts.messages.last().text;
    std::printf("%s\n", qPrintable(said));
    const bool ok = said.contains(QStringLiteral(" MB pamięci")) && doc->text(1) == QStringLiteral("Pompa 1")
                    && doc->text(0) == QStringLiteral("Zmieniona") && doc->undoStack()->count() == 1
                    && window.isWindowModified();
    return ok ? 0 : 1;
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (qEnvironmentVariableIsSet("TST_REPLACE_UNDER_LIMIT")) {
        useTestSettings();
        return replaceUnderLimit(qEnvironmentVariable("TST_REPLACE_UNDER_LIMIT"));
    }
    TestMainWindow test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_mainwindow.moc"
