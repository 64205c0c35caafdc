#include "app/mainwindow.h"

#include "app/aboutdialog.h"
#include "app/commandline.h"
#include "app/helpdialog.h"
#include "app/pageindicator.h"
#include "dialogs/calibrationdialog.h"
#include "dialogs/printpagesdialog.h"
#include "dialogs/sheetimportdialog.h"
#include "document/sheetdocument.h"
#include "document/specialglyphfont.h"
#include "editor/editpad.h"
#include "files/descriptionscheck.h"
#include "files/projectfile.h"
#include "files/settings.h"
#include "files/windows1250.h"
#include "geometry/gbgeometry.h"
#include "layout/sheetlayout.h"
#include "printing/fittracker.h"
#include "printing/printsettings.h"
#include "prompts/backgroundread.h"
#include "prompts/prompts.h"
#include "sheet/preview.h"
#include "system/language.h"
#include "system/plural.h"
#include "workbooks/workbookcheck.h"
#include "workbooks/workbookfile.h"

#include <QAction>
#include <QActionGroup>
#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QIntValidator>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPrinterInfo>
#include <QPushButton>
#include <QSpinBox>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUndoStack>
#include <QUrl>

#include <functional>
#include <utility>

namespace {
const QString makerText = QStringLiteral("Lamello  ");
} // namespace

namespace {
// The printer list, read anew each time it opens: queues come and go while
// the program runs.
class PrinterBox : public QComboBox
{
public:
    explicit PrinterBox(std::function<void()> beforePopup)
        : beforePopup(std::move(beforePopup))
    {
    }

    void showPopup() override
    {
        beforePopup();
        QComboBox::showPopup();
    }

private:
    std::function<void()> beforePopup;
};
} // namespace

namespace {
// "1 kolumnę", "2 kolumny", "5 kolumn": the label columns a sheet has (accusative).
QString labelColumnsText(qint64 count)
{
    return counted(count, MainWindow::tr("%1 kolumnę", "one"), MainWindow::tr("%1 kolumny", "few"), MainWindow::tr("%1 kolumn", "many"));
}
} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
{
    initLamelloResources();
    // Numbers as the interface language writes them, whatever the desktop's locale.
    setLocale(Language::locale());
    lbPage = new PageIndicator;
    lbPage->setObjectName(QStringLiteral("lbPage"));

    // The preview comes first: the project actions are connected straight to it.
    preview = new Preview(this);
    preview->setObjectName(QStringLiteral("preview"));

    createActions();
    createMenus();
    createPrintOptions();
    createToolBars();
    createStatusBar();
    setCentralWidget(preview);
    setWindowState(Qt::WindowMaximized);
    fillPrinterList();
    makeConnections();
    createZoomKeys();
    preview->generationEnabled = true;
    readSettings();
    setWindowIcon(QIcon(QStringLiteral(":/icons/lamello.png")));
    setAcceptDrops(true);
    preview->viewport()->installEventFilter(this);
    // The selection keys work from the start.
    preview->setFocus();
}

MainWindow::~MainWindow()
{
    leFontSize->setValidator(nullptr);
}

void MainWindow::createActions()
{
    struct ActionDef
    {
        QAction *&action;
        const char *text;
        const char *shortcut;
        const char *icon;
    };
    const ActionDef actionDefs[] = {
        {newAct, QT_TR_NOOP("&Nowe opisy"), QT_TR_NOOP("CTRL+N"), ":/icons/new.png"},
        {openProjectAct, QT_TR_NOOP("&Otwórz projekt"), QT_TR_NOOP("CTRL+O"), ":/icons/open.png"},
        {saveProjectAct, QT_TR_NOOP("&Zapisz projekt"), QT_TR_NOOP("CTRL+S"), ":/icons/Save-icon.png"},
        {saveProjectAsAct, QT_TR_NOOP("Zapisz projekt &jako…"), QT_TR_NOOP("CTRL+SHIFT+S"), nullptr},
        // The import command shows the picture named "export" and the export
        // command the one named "import".
        {importAct, QT_TR_NOOP("&Importuj plik z opisami"), QT_TR_NOOP("CTRL+ALT+O"), ":/icons/export-icon.png"},
        {exportAct, QT_TR_NOOP("&Eksportuj plik z opisami"), QT_TR_NOOP("CTRL+ALT+S"), ":/icons/import-icon.png"},
        {exitAct, QT_TR_NOOP("Za&kończ"), QT_TR_NOOP("CTRL+Q"), ":/icons/exit-icon.png"},
        {editorAct, QT_TR_NOOP("&Edytor"), QT_TR_NOOP("CTRL+E"), ":/icons/edit.png"},
        {printOneAct, QT_TR_NOOP("Drukuj &bieżącą stronę"), QT_TR_NOOP("CTRL+P"), ":/icons/printer_b.png"},
        {printAllAct, QT_TR_NOOP("Drukuj &wszystkie strony"), QT_TR_NOOP("CTRL+SHIFT+P"), ":/icons/printer_g.png"},
        {helpAct, QT_TR_NOOP("&Pomoc"), QT_TR_NOOP("F1"), nullptr},
        {aboutAct, QT_TR_NOOP("O programie &Lamello"), nullptr, ":/icons/lamello.png"},
        {aboutQtAct, QT_TR_NOOP("O &Qt"), nullptr, nullptr},
    };
    for (const ActionDef &s : actionDefs) {
        s.action = new QAction(tr(s.text), this);
        tableActions.append({s.action, s.text});
        if (s.shortcut)
            s.action->setShortcut(QKeySequence(tr(s.shortcut)));
        if (s.icon)
            s.action->setIcon(QIcon(QString::fromLatin1(s.icon)));
    }

    connect(newAct, &QAction::triggered, this, &MainWindow::newFile);
    connect(openProjectAct, &QAction::triggered, this, &MainWindow::openProject);
    connect(saveProjectAct, &QAction::triggered, preview, &Preview::saveProject);
    connect(saveProjectAsAct, &QAction::triggered, preview, &Preview::saveProjectAs);
    connect(importAct, &QAction::triggered, this, &MainWindow::openFile);
    connect(exportAct, &QAction::triggered, this, &MainWindow::saveFile);
    connect(exitAct, &QAction::triggered, this, &MainWindow::close);
    connect(editorAct, &QAction::triggered, this, &MainWindow::openEditor);
    connect(printOneAct, &QAction::triggered, this, &MainWindow::printOne);
    connect(printAllAct, &QAction::triggered, this, &MainWindow::printAll);
    connect(helpAct, &QAction::triggered, this, &MainWindow::openHelpDialog);
    connect(aboutQtAct, &QAction::triggered, this, &MainWindow::openQtDialog);
    connect(aboutAct, &QAction::triggered, this, &MainWindow::openAboutDialog);

    struct PageKey
    {
        QAction *&action;
        QKeySequence keys;
        void (MainWindow::*slot)();
    };
    const PageKey pageKeys[] = {
        {previousPageAct, QKeySequence(Qt::Key_PageUp), &MainWindow::showPreviousPage},
        {nextPageAct, QKeySequence(Qt::Key_PageDown), &MainWindow::showNextPage},
        // Home and End alone belong to the sheet: the first and last field.
        {firstPageAct, QKeySequence(Qt::CTRL | Qt::Key_Home), nullptr},
        {lastPageAct, QKeySequence(Qt::CTRL | Qt::Key_End), nullptr},
        {goToPageAct, QKeySequence(tr("Ctrl+G")), nullptr},
    };
    for (const PageKey &k : pageKeys) {
        k.action = new QAction(this);
        k.action->setShortcut(k.keys);
        addAction(k.action);
        if (k.slot)
            connect(k.action, &QAction::triggered, this, k.slot);
    }
    connect(firstPageAct, &QAction::triggered, this, [this] { showPage(1); });
    connect(lastPageAct, &QAction::triggered, this, [this] { showPage(pagesCount); });
    connect(goToPageAct, &QAction::triggered, lbPage, &PageIndicator::startEditing);
    connect(lbPage, &PageIndicator::pageRequested, this, &MainWindow::showPage);

    // Undo and redo of the field edits; the sheet's document keeps them over
    // every new layout and forgets them when other texts are read.
    QUndoStack *history = preview->undoStack();
    undoAct = new QAction(tr("&Cofnij"), this);
    undoAct->setObjectName(QStringLiteral("undoAct"));
    undoAct->setShortcut(QKeySequence(tr("CTRL+Z")));
    undoAct->setEnabled(history->canUndo());
    redoAct = new QAction(tr("&Ponów"), this);
    redoAct->setObjectName(QStringLiteral("redoAct"));
    redoAct->setShortcut(QKeySequence(tr("CTRL+SHIFT+Z")));
    redoAct->setEnabled(history->canRedo());
    connect(undoAct, &QAction::triggered, history, &QUndoStack::undo);
    connect(redoAct, &QAction::triggered, history, &QUndoStack::redo);
    connect(history, &QUndoStack::canUndoChanged, undoAct, &QAction::setEnabled);
    connect(history, &QUndoStack::canRedoChanged, redoAct, &QAction::setEnabled);
    // What would be undone or redone, in the status bar.
    connect(history, &QUndoStack::undoTextChanged, undoAct, &QAction::setStatusTip);
    connect(history, &QUndoStack::redoTextChanged, redoAct, &QAction::setStatusTip);

    // Spreadsheets: imported through the mapping dialog, read again with
    // F5, pasted as a block of cells, and the sheet written back as CSV.
    importSheetAct = new QAction(tr("Importuj &arkusz…"), this);
    importSheetAct->setObjectName(QStringLiteral("importSheetAct"));
    importSheetAct->setStatusTip(tr("Wczytuje baretki z arkusza ODS, XLSX albo CSV"));
    connect(importSheetAct, &QAction::triggered, this, &MainWindow::importSheetCommand);
    reloadAct = new QAction(tr("&Wczytaj ponownie"), this);
    reloadAct->setObjectName(QStringLiteral("reloadAct"));
    reloadAct->setShortcut(QKeySequence(Qt::Key_F5));
    reloadAct->setStatusTip(tr("Wczytuje ostatni arkusz jeszcze raz, z tym samym przyporządkowaniem kolumn"));
    connect(reloadAct, &QAction::triggered, this, &MainWindow::reloadSheet);
    pasteSheetAct = new QAction(tr("Wklej z &arkusza"), this);
    pasteSheetAct->setObjectName(QStringLiteral("pasteSheetAct"));
    pasteSheetAct->setShortcut(QKeySequence(tr("CTRL+SHIFT+V")));
    pasteSheetAct->setStatusTip(tr("Wczytuje komórki skopiowane z programu arkuszowego"));
    connect(pasteSheetAct, &QAction::triggered, this, &MainWindow::pasteSheet);
    exportCsvAct = new QAction(tr("Eksportuj jako &CSV…"), this);
    exportCsvAct->setObjectName(QStringLiteral("exportCsvAct"));
    connect(exportCsvAct, &QAction::triggered, preview, &Preview::exportCsv);

    fitSizeAct = new QAction(tr("Dopasuj &rozmiar"), this);
    fitSizeAct->setObjectName(QStringLiteral("fitSizeAct"));
    fitSizeAct->setShortcut(QKeySequence(tr("CTRL+SHIFT+F")));
    fitSizeAct->setToolTip(tr("Dopasuj rozmiar (Ctrl+Shift+F)"));
    fitSizeAct->setStatusTip(tr("Zmniejsza czcionkę zaznaczonych pól, a bez zaznaczenia wszystkich, "
                                "tak aby tekst mieścił się w ramce"));
    connect(fitSizeAct, &QAction::triggered, preview, &Preview::fitSize);
    nextOverflowAct = new QAction(tr("&Następne pole, które się nie mieści"), this);
    nextOverflowAct->setShortcut(QKeySequence(Qt::Key_F3));
    connect(nextOverflowAct, &QAction::triggered, this, [this] { showOverflowing(true); });
    previousOverflowAct = new QAction(tr("P&oprzednie pole, które się nie mieści"), this);
    previousOverflowAct->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3));
    connect(previousOverflowAct, &QAction::triggered, this, [this] { showOverflowing(false); });
}

void MainWindow::createMenus()
{
    fileMenu = menuBar()->addMenu(tr("&Plik"));
    fileMenu->addActions({newAct, openProjectAct, saveProjectAct, saveProjectAsAct, importAct, exportAct});
    fileMenu->addSeparator();
    fileMenu->addActions({importSheetAct, reloadAct, exportCsvAct});
    fileMenu->addSeparator();
    recentMenu = fileMenu->addMenu(tr("Ostatnio otwierane"));
    recentMenu->setObjectName(QStringLiteral("recentMenu"));
    fileMenu->addAction(exitAct);
    connect(fileMenu, &QMenu::aboutToShow, this, &MainWindow::fillRecentMenu);
    editMenu = menuBar()->addMenu(tr("&Edycja"));
    editMenu->addActions({undoAct, redoAct});
    editMenu->addSeparator();
    editMenu->addAction(pasteSheetAct);
    editMenu->addSeparator();
    editMenu->addActions({fitSizeAct, nextOverflowAct, previousOverflowAct});
    editMenu->addSeparator();
    editMenu->addAction(editorAct);
    printMenu = menuBar()->addMenu(tr("Dr&ukuj"));
    printMenu->addActions({printOneAct, printAllAct});
    helpMenu = menuBar()->addMenu(tr("P&omoc"));
    helpMenu->addActions({helpAct, aboutAct, aboutQtAct});
    createLanguageMenu();
}

void MainWindow::createLanguageMenu()
{
    // At the end of the help menu, named in both languages, so that either
    // reader finds it; the languages are named in their own.
    helpMenu->addSeparator();
    QMenu *menu = helpMenu->addMenu(QStringLiteral("Język / Language"));
    menu->setObjectName(QStringLiteral("languageMenu"));
    auto *group = new QActionGroup(menu);
    const std::optional<Language::Choice> chosen = Settings().language();
    const auto add = [&](QAction *&action, const QString &text, std::optional<Language::Choice> language) {
        action = menu->addAction(text);
        action->setCheckable(true);
        action->setChecked(chosen == language);
        group->addAction(action);
        connect(action, &QAction::triggered, this, [language] {
            Settings().setLanguage(language);
            Language::install(language.value_or(Language::ofDesktop()));
        });
    };
    add(desktopLanguageAct, tr("Język pulpitu"), std::nullopt);
    menu->addSeparator();
    add(polishAct, QStringLiteral("Polski"), Language::Choice::Polish);
    add(englishAct, QStringLiteral("English"), Language::Choice::English);
}

void MainWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange && preview)
        retranslate();
    QMainWindow::changeEvent(event);
}

void MainWindow::retranslate()
{
    // Sizes as the language writes numbers: "40,00 mm", "40.00 mm".
    setLocale(Language::locale());
    for (const auto &[action, text] : std::as_const(tableActions))
        action->setText(tr(text));
    undoAct->setText(tr("&Cofnij"));
    redoAct->setText(tr("&Ponów"));
    fitSizeAct->setText(tr("Dopasuj &rozmiar"));
    fitSizeAct->setToolTip(tr("Dopasuj rozmiar (Ctrl+Shift+F)"));
    fitSizeAct->setStatusTip(tr("Zmniejsza czcionkę zaznaczonych pól, a bez zaznaczenia wszystkich, "
                                "tak aby tekst mieścił się w ramce"));
    nextOverflowAct->setText(tr("&Następne pole, które się nie mieści"));
    previousOverflowAct->setText(tr("P&oprzednie pole, które się nie mieści"));
    printPagesAct->setText(tr("Drukuj &strony…"));
    printMarksAct->setText(tr("Drukuj &oznaczenia"));
    printMarksAct->setStatusTip(tr("Drukuje zabarwienie pól, w których tekst się nie mieści, i ramkę obszaru wydruku"));
    calibrationAct->setText(tr("&Kalibracja drukarki…"));
    importSheetAct->setText(tr("Importuj &arkusz…"));
    importSheetAct->setStatusTip(tr("Wczytuje baretki z arkusza ODS, XLSX albo CSV"));
    reloadAct->setText(tr("&Wczytaj ponownie"));
    reloadAct->setStatusTip(tr("Wczytuje ostatni arkusz jeszcze raz, z tym samym przyporządkowaniem kolumn"));
    pasteSheetAct->setText(tr("Wklej z &arkusza"));
    pasteSheetAct->setShortcut(QKeySequence(tr("CTRL+SHIFT+V")));
    pasteSheetAct->setStatusTip(tr("Wczytuje komórki skopiowane z programu arkuszowego"));
    exportCsvAct->setText(tr("Eksportuj jako &CSV…"));
    zoomInAct->setText(tr("Powiększ"));
    zoomOutAct->setText(tr("Pomniejsz"));
    zoomFitAct->setText(tr("Dopasuj stronę do okna"));
    pbZoomIn->setToolTip(tr("Powiększ (Ctrl++)"));
    pbZoomOut->setToolTip(tr("Pomniejsz (Ctrl+-)"));
    pbZoomReset->setToolTip(tr("Dopasuj stronę do okna (Ctrl+0)"));
    desktopLanguageAct->setText(tr("Język pulpitu"));

    fileMenu->setTitle(tr("&Plik"));
    recentMenu->setTitle(tr("Ostatnio otwierane"));
    editMenu->setTitle(tr("&Edycja"));
    printMenu->setTitle(tr("Dr&ukuj"));
    helpMenu->setTitle(tr("P&omoc"));

    actionsToolBar->setWindowTitle(tr("Akcje"));
    for (QToolBar *bar : {printerToolBar, fontToolBar, navigationToolBar, zoomToolBar, geometryToolBar})
        bar->setWindowTitle(tr(bar->objectName().toUtf8().constData()));
    const char *const labels[] = {QT_TR_NOOP("Drukarka: "), QT_TR_NOOP("Czcionka: "), QT_TR_NOOP("Strona: "),
                                  QT_TR_NOOP("Skala: ")};
    for (qsizetype i = 0; i < toolBarLabels.size(); ++i)
        toolBarLabels.at(i)->setText(tr(labels[i]));

    cbPrinter->setItemText(0, tr("Wybierz drukarkę"));
    cbPrinter->setItemText(cbPrinter->findData(Preview::builtInPdfName), tr("PDF WBUDOWANA"));
    lbHelpKey->setText(tr("F1 - Pomoc"));
    lbZoom->setText(shownZoom == 0 ? tr("Powiększenie: 100 %") : tr("Powiększenie: +%1%").arg(shownZoom - 100));
    pbOverflow->setToolTip(tr("Pokaż następne pole, które się nie mieści (F3; poprzednie: Shift+F3)"));
    showOverflowCount(preview->overflowCount());
}

QString MainWindow::printerAt(int index) const
{
    // The built-in PDF is known by its data; a system queue by its name.
    const QVariant name = cbPrinter->itemData(index);
    return name.isValid() ? name.toString() : cbPrinter->itemText(index);
}

void MainWindow::createPrintOptions()
{
    printPagesAct = new QAction(tr("Drukuj &strony…"), this);
    printPagesAct->setShortcut(QKeySequence(tr("CTRL+ALT+P")));
    connect(printPagesAct, &QAction::triggered, this, &MainWindow::printChosenPages);

    // Kept in the settings: a workshop that cuts on the fields' frames wants
    // clean sheets every time.
    printMarksAct = new QAction(tr("Drukuj &oznaczenia"), this);
    printMarksAct->setCheckable(true);
    printMarksAct->setChecked(PrintSettings::marks());
    printMarksAct->setStatusTip(tr("Drukuje zabarwienie pól, w których tekst się nie mieści, i ramkę obszaru wydruku"));
    preview->printMarks = printMarksAct->isChecked();
    connect(printMarksAct, &QAction::toggled, this, [this](bool on) {
        preview->printMarks = on;
        PrintSettings::setMarks(on);
    });

    calibrationAct = new QAction(tr("&Kalibracja drukarki…"), this);
    connect(calibrationAct, &QAction::triggered, this, &MainWindow::calibratePrinter);

    printMenu->addAction(printPagesAct);
    printMenu->addSeparator();
    printMenu->addActions({printMarksAct, calibrationAct});
}

namespace {
QPushButton *smallButton(const QString &name, const QSize &maximum)
{
    auto *button = new QPushButton;
    button->setObjectName(name);
    button->setMaximumSize(maximum);
    return button;
}

QPushButton *iconButton(const QString &name, const char *icon, const QSize &iconSize = {})
{
    QPushButton *button = smallButton(name, QSize(25, 25));
    button->setIcon(QIcon(QString::fromLatin1(icon)));
    if (iconSize.isValid())
        button->setIconSize(iconSize);
    return button;
}

QPushButton *styleButton(const QString &name, const QString &text, void (QFont::*style)(bool))
{
    QPushButton *button = smallButton(name, QSize(25, 25));
    button->setText(text);
    QFont font;
    (font.*style)(true);
    button->setFont(font);
    return button;
}
} // namespace

QToolBar *MainWindow::addStyledToolBar(const char *title)
{
    QToolBar *bar = addToolBar(tr(title));
    // The Polish title in every language: the stored window state names it.
    bar->setObjectName(QString::fromUtf8(title));
    bar->setAllowedAreas(Qt::TopToolBarArea);
    bar->setStyleSheet(QStringLiteral("QToolBar{spacing:5px;}"));
    bar->layout()->setContentsMargins(5, 5, 5, 5);
    return bar;
}

void MainWindow::createToolBars()
{
    cbPrinter = new PrinterBox([this] { refreshPrinterList(); });
    cbPrinter->setObjectName(QStringLiteral("cbPrinter"));
    // Wide enough for its entries in every language, also after a switch.
    cbPrinter->setSizeAdjustPolicy(QComboBox::AdjustToContents);

    sbFontSize = std::make_unique<QSpinBox>();
    sbFontSize->setRange(6, 24);
    sbFontSize->setSingleStep(1);
    sbFontSize->setValue(10);
    leFontSize = new QLineEdit(QStringLiteral("10"));
    leFontSize->setObjectName(QStringLiteral("leFontSize"));
    leFontSize->setFixedWidth(30);
    leFontSize->setAlignment(Qt::AlignCenter);
    fontSizeValidator = std::make_unique<QIntValidator>(6, 24);
    leFontSize->setValidator(fontSizeValidator.get());

    pbFontSizeDown = iconButton(QStringLiteral("pbFontSizeDown"), ":/icons/arrow-down.png");
    pbFontSizeUp = iconButton(QStringLiteral("pbFontSizeUp"), ":/icons/arrow-up.png");
    pbBold = smallButton(QStringLiteral("pbBold"), QSize(25, 25));
    pbBold->setText(tr("B"));
    QFont boldFont;
    boldFont.setWeight(QFont::Bold);
    pbBold->setFont(boldFont);
    pbItalic = styleButton(QStringLiteral("pbItalic"), tr("I"), &QFont::setItalic);
    pbUnderline = styleButton(QStringLiteral("pbUnderline"), tr("U"), &QFont::setUnderline);

    pbPreviousPage = iconButton(QStringLiteral("pbPreviousPage"), ":/icons/arrow-left.png", QSize(15, 15));
    pbNextPage = iconButton(QStringLiteral("pbNextPage"), ":/icons/arrow-right.png", QSize(15, 15));

    pbZoomOut = iconButton(QStringLiteral("pbZoomOut"), ":/icons/Zoom-Minus-icon.png", QSize(20, 20));
    pbZoomReset = smallButton(QStringLiteral("pbZoomReset"), QSize(50, 25));
    pbZoomReset->setText(tr("100%"));
    pbZoomIn = iconButton(QStringLiteral("pbZoomIn"), ":/icons/Zoom-Plus-icon.png", QSize(20, 20));

    gbGeometry = new GbGeometry;
    gbGeometry->setObjectName(QStringLiteral("gbGeometry"));
    lbZoom = new QLabel(tr("Powiększenie: 100 %"));
    lbZoom->setObjectName(QStringLiteral("lbZoom"));

    actionsToolBar = addToolBar(tr("Akcje"));
    actionsToolBar->setObjectName(QStringLiteral("Akcje"));
    actionsToolBar->setAllowedAreas(Qt::TopToolBarArea);
    actionsToolBar->addActions({newAct, editorAct, importAct, exportAct, saveProjectAct, openProjectAct,
                                printOneAct, printAllAct});

    printerToolBar = addStyledToolBar(QT_TR_NOOP("Drukarka"));
    toolBarLabels.append(new QLabel(tr("Drukarka: ")));
    printerToolBar->addWidget(toolBarLabels.constLast());
    printerToolBar->addWidget(cbPrinter);

    fontToolBar = addStyledToolBar(QT_TR_NOOP("Czcionka"));
    toolBarLabels.append(new QLabel(tr("Czcionka: ")));
    fontToolBar->addWidget(toolBarLabels.constLast());
    fontToolBar->addWidget(pbFontSizeDown);
    fontToolBar->addWidget(leFontSize);
    fontToolBar->addWidget(pbFontSizeUp);
    fontToolBar->addSeparator();
    fontToolBar->addWidget(pbBold);
    fontToolBar->addWidget(pbItalic);
    fontToolBar->addWidget(pbUnderline);
    fontToolBar->addSeparator();
    fontToolBar->addAction(fitSizeAct);

    navigationToolBar = addStyledToolBar(QT_TR_NOOP("Nawigacja"));
    toolBarLabels.append(new QLabel(tr("Strona: ")));
    navigationToolBar->addWidget(toolBarLabels.constLast());
    navigationToolBar->addWidget(pbPreviousPage);
    navigationToolBar->addWidget(lbPage);
    navigationToolBar->addWidget(pbNextPage);

    zoomToolBar = addStyledToolBar(QT_TR_NOOP("Powiększenie"));
    toolBarLabels.append(new QLabel(tr("Skala: ")));
    zoomToolBar->addWidget(toolBarLabels.constLast());
    zoomToolBar->addWidget(pbZoomOut);
    zoomToolBar->addWidget(pbZoomReset);
    zoomToolBar->addWidget(pbZoomIn);

    geometryToolBar = new QToolBar(tr("Geometria"));
    geometryToolBar->setObjectName(QStringLiteral("Geometria"));
    geometryToolBar->setMovable(false);
    auto *picture = new QLabel;
    picture->setPixmap(QPixmap(QStringLiteral(":/icons/layer1.png")));
    picture->setAlignment(Qt::AlignCenter);
    picture->setMargin(10);
    geometryToolBar->addWidget(picture);
    geometryToolBar->addWidget(gbGeometry);
    geometryToolBar->layout()->setAlignment(Qt::AlignHCenter);
    geometryToolBar->layout()->setContentsMargins(5, 5, 5, 5);
    addToolBar(Qt::LeftToolBarArea, geometryToolBar);
}

void MainWindow::createStatusBar()
{
    statusBar()->layout()->setContentsMargins(5, 5, 5, 5);
    lbHelpKey = new QLabel(tr("F1 - Pomoc"));
    statusBar()->addWidget(lbHelpKey);
    statusBar()->addWidget(lbZoom);
    // Permanent, so that passing messages never hide it.
    pbOverflow = new QToolButton;
    pbOverflow->setObjectName(QStringLiteral("pbOverflow"));
    pbOverflow->setAutoRaise(true);
    pbOverflow->setToolTip(tr("Pokaż następne pole, które się nie mieści (F3; poprzednie: Shift+F3)"));
    pbOverflow->hide();
    connect(pbOverflow, &QToolButton::clicked, this, [this] { showOverflowing(true); });
    statusBar()->addPermanentWidget(pbOverflow);
    auto *maker = new QLabel(makerText);
    maker->setObjectName(QStringLiteral("lbMaker"));
    statusBar()->addPermanentWidget(maker);
}

namespace {
// The system's queues the list offers: two case-sensitive tests, so that
// "Pdf" in a name does not hide it.
QStringList offeredPrinters()
{
    QStringList names;
    const QStringList all = QPrinterInfo::availablePrinterNames();
    for (const QString &name : all) {
        if (!name.contains(QLatin1String("pdf")) && !name.contains(QLatin1String("PDF")))
            names.append(name);
    }
    return names;
}
} // namespace

void MainWindow::refreshPrinterList()
{
    // The system's queues as they are now, between the placeholder and the
    // built-in PDF: a queue added since the start is there, one removed goes.
    const QStringList now = offeredPrinters();
    const QString current = cbPrinter->currentText();
    const bool systemQueue = cbPrinter->currentIndex() > 0 && printerAt(cbPrinter->currentIndex()) != Preview::builtInPdfName;
    {
        const QSignalBlocker quiet(cbPrinter);
        while (cbPrinter->count() > 2)
            cbPrinter->removeItem(1);
        cbPrinter->insertItems(1, now);
        const int index = cbPrinter->findText(current, Qt::MatchExactly | Qt::MatchCaseSensitive);
        cbPrinter->setCurrentIndex(index >= 0 ? index : 0);
    }
    if (systemQueue && !now.contains(current)) {
        changePrinter(printerAt(cbPrinter->currentIndex()));
        statusBar()->showMessage(tr("Drukarki „%1” nie ma już w systemie.").arg(current));
    }
}

void MainWindow::fillPrinterList()
{
    cbPrinter->addItem(tr("Wybierz drukarkę"));
    cbPrinter->addItems(offeredPrinters());
    // Shown in the window's language, known by its Polish name (the settings keep it).
    cbPrinter->addItem(tr("PDF WBUDOWANA"), Preview::builtInPdfName);

    connect(cbPrinter, &QComboBox::currentIndexChanged, this,
            [this](int index) { changePrinter(printerAt(index)); });

    // The system's default queue, unless the list leaves it out.
    if (const QString fallback = QPrinterInfo::defaultPrinterName(); !fallback.isEmpty()) {
        const int index = cbPrinter->findText(fallback, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (index > 0)
            cbPrinter->setCurrentIndex(index);
    }
}

void MainWindow::makeConnections()
{
    connect(preview, &Preview::selectedId, this, &MainWindow::selectAction);
    connect(preview, &Preview::sharedFontSize, this, &MainWindow::showFontSize);
    connect(preview, &Preview::updatePagesCount, this, &MainWindow::updatePagesCount);
    connect(preview, &Preview::updatePathToFile, this, &MainWindow::updatePathToFile);
    connect(preview, &Preview::projectWritten, this, &MainWindow::projectSaved);
    connect(preview, &Preview::projectRead, this, &MainWindow::projectOpened);
    connect(preview->document(), &SheetDocument::modifiedChanged, this, &MainWindow::updateWindowTitle);
    connect(preview, &Preview::zoomChanged, this, &MainWindow::zoomChanged);
    // The keyboard moves the selection onto other pages too.
    connect(preview, &Preview::pageShown, this, [this](int index) {
        currentPage = index + 1;
        showPageIndicator();
    });
    connect(preview, &Preview::overflowCountChanged, this, &MainWindow::showOverflowCount);
    connect(preview, &Preview::statusMessage, this, [this](const QString &message) {
        statusBar()->showMessage(message, 10000);
    });
    connect(sbFontSize.get(), &QSpinBox::valueChanged, this, qOverload<int>(&MainWindow::changeFontPixelSize));
    connect(leFontSize, &QLineEdit::textChanged, this, qOverload<QString>(&MainWindow::changeFontPixelSize));
    connect(pbFontSizeUp, &QPushButton::clicked, this, &MainWindow::changeSbFontSizeUp);
    connect(pbFontSizeDown, &QPushButton::clicked, this, &MainWindow::changeSbFontSizeDown);
    connect(pbBold, &QPushButton::clicked, this, &MainWindow::changeFontBold);
    connect(pbItalic, &QPushButton::clicked, this, &MainWindow::changeFontItalic);
    connect(pbUnderline, &QPushButton::clicked, this, &MainWindow::changeFontUnderline);
    connect(pbPreviousPage, &QPushButton::clicked, this, &MainWindow::showPreviousPage);
    connect(pbNextPage, &QPushButton::clicked, this, &MainWindow::showNextPage);
    connect(pbZoomOut, &QPushButton::clicked, this, &MainWindow::zoomOut);
    connect(pbZoomReset, &QPushButton::clicked, preview, &Preview::zoomReset);
    connect(pbZoomIn, &QPushButton::clicked, this, &MainWindow::zoomIn);
    connect(gbGeometry, &GbGeometry::updateLabelsPerBarette, preview, &Preview::setLabelsPerBarette);
    connect(gbGeometry, &GbGeometry::updateDimensions, preview, &Preview::updateDimensions);
    gbGeometry->setApproval([this](const GeometryPreset &geometry) { return approveGeometry(geometry); });
    connect(gbGeometry, &GbGeometry::geometryApplied, this, [this](const GeometryPreset &geometry) {
        if (settingsRestored)
            Settings().setGeometry(geometry);
    });
    leFontSize->installEventFilter(this);
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    if (preview)
        preview->zoomResize();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    const QList<EditPad *> editors = findChildren<EditPad *>(Qt::FindDirectChildrenOnly);
    for (EditPad *editor : editors) {
        // A closed editor lingers hidden until it is deleted: it has been asked.
        if (editor->isVisible() && !editor->close()) {
            event->ignore();
            return;
        }
    }
    if (!mayReplaceSheet()) {
        event->ignore();
        return;
    }
    writeSettings();
    QMainWindow::closeEvent(event);
}

bool MainWindow::mayReplaceSheet()
{
    SheetDocument *document = preview->document();
    if (!document->isModified())
        return true;
    switch (Prompts::current().question(QMessageBox::Question, tr("Komunikat"),
                                        tr("Arkusz ma niezapisane zmiany. Zapisać projekt?"),
                                        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                                        QMessageBox::Save)) {
    case QMessageBox::Save:
        // Only a save that really happened lets the sheet go.
        return preview->saveProject() && !document->isModified();
    case QMessageBox::Discard:
        return true;
    default:
        return false;
    }
}

void MainWindow::openProject()
{
    // The sheet's own dialog, which starts in the folder of the last project.
    if (mayReplaceSheet())
        preview->openProject();
}

void MainWindow::openProjectFile(QString path)
{
    if (mayReplaceSheet())
        preview->openProject(path);
}

void MainWindow::openFromCommandLine(const QStringList &arguments, const QStringList &undecodable)
{
    openFiles(CommandLine::parse(arguments).files);
    if (!undecodable.isEmpty()) {
        const QString said = statusBar()->currentMessage();
        const QString note = tr("Pominięto nazwy, które nie są zapisane w UTF-8 (zmień nazwę pliku): %1")
                                 .arg(undecodable.join(QStringLiteral(", ")));
        statusBar()->showMessage(said.isEmpty() ? note : said + QStringLiteral("  ") + note);
    }
}

void MainWindow::openFiles(const QStringList &files)
{
    if (files.isEmpty())
        return;
    openDocument(files.first());
    if (files.size() == 1)
        return;
    QStringList ignored;
    for (qsizetype i = 1; i < files.size(); ++i)
        ignored.append(QDir::toNativeSeparators(files.at(i)));
    // After what the opening itself said (a file read as UTF-8), not instead of it.
    const QString said = statusBar()->currentMessage();
    const QString note = tr("Otwarto tylko pierwszy plik; pominięte: %1").arg(ignored.join(QStringLiteral(", ")));
    statusBar()->showMessage(said.isEmpty() ? note : said + QStringLiteral("  ") + note, 10000);
}

void MainWindow::openDocument(const QString &path)
{
    if (!mayReplaceSheet())
        return;
    if (CommandLine::kindOf(path) == CommandLine::FileKind::Project)
        preview->openProject(path);
    else if (WorkbookFile::formatOf(path) || WorkbookCheck::isOldExcel(path))
        importSheet(path, true);
    else
        importDescriptions(path);
}

namespace {
// The local files a drag carries: none for text, our own fields or web links.
QStringList localFiles(const QMimeData *data)
{
    QStringList files;
    if (!data || !data->hasUrls())
        return files;
    const QList<QUrl> urls = data->urls();
    for (const QUrl &url : urls) {
        if (url.isLocalFile())
            files.append(url.toLocalFile());
    }
    return files;
}
} // namespace

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    // Over the sheet a drag of files is left unaccepted, so that it goes on
    // to the window: it never reaches a field, which would take the file
    // names for its text. The window then gets the moves and the drop.
    // The size field: a size that was not applied (typed "0", or nothing)
    // gives way to the size in force on Enter or when the field is left.
    if (watched == leFontSize && !leFontSize->hasAcceptableInput()) {
        const auto *key = event->type() == QEvent::KeyPress ? static_cast<QKeyEvent *>(event) : nullptr;
        const bool entered = key && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter);
        if (event->type() == QEvent::FocusOut || entered)
            showFontSize(preview->sharedPixelSize());
    }
    if (watched == preview->viewport() && event->type() == QEvent::DragEnter
        && !localFiles(static_cast<QDragEnterEvent *>(event)->mimeData()).isEmpty()) {
        event->ignore();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (localFiles(event->mimeData()).isEmpty()) {
        QMainWindow::dragEnterEvent(event);
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void MainWindow::dropEvent(QDropEvent *event)
{
    const QStringList files = localFiles(event->mimeData());
    if (files.isEmpty()) {
        QMainWindow::dropEvent(event);
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    // Opened once the drop is over: the file manager waits for the drop's
    // answer while a question or a message of the opening would be shown.
    QTimer::singleShot(0, this, [this, files] { openFiles(files); });
}

// --------------------------------------------------------------- commands

EditPad *MainWindow::showEditor(const QString &path)
{
    // Not modal, and as many as the user likes: each one's saves reload the sheet.
    auto *editor = new EditPad(path, this);
    // The sheet's changes are settled before the file is written, so that
    // "Anuluj" leaves both the file and the sheet as they are.
    editor->setBeforeWrite([this] {
        // For the write that follows at once, whether it succeeds or not.
        sheetSettled = mayReplaceSheet();
        QTimer::singleShot(0, this, [this] { sheetSettled = false; });
        return sheetSettled;
    });
    connect(editor, &EditPad::savedAs, this, &MainWindow::openThisFile);
    editor->show();
    return editor;
}

void MainWindow::newFile()
{
    showEditor(QString());
}

void MainWindow::openFile()
{
    const QString file = Prompts::current().openFileName(
        this, tr("Importuj opisy"), Prompts::startFolder(Settings::Folder::Descriptions, pathToFile),
        QStringLiteral("*.txt;;*.dat"));
    // A cancelled dialog changes nothing: the file shown stays the one the
    // title names and the editor opens.
    if (file.isEmpty() || !mayReplaceSheet())
        return;
    // A spreadsheet picked here goes through its own dialog.
    if (WorkbookFile::formatOf(file) || WorkbookCheck::isOldExcel(file))
        importSheet(file, true);
    else
        importDescriptions(file);
}

bool MainWindow::importDescriptions(const QString &file)
{
    // A refused or declined file leaves the sheet, its fonts and the title as
    // they were; a new file starts every field in the default font. What the
    // status bar said about the last read goes; the sheet says what there is
    // to say about this one.
    statusBar()->clearMessage();
    preview->filePath = file;
    if (!preview->readFile(false))
        return false;
    pathToFile = file;
    lastSheet.clear();
    pastedSheet = false;
    preview->generatePages();
    updateWindowTitle();
    // A file that could not be read is said so in the status bar, and not remembered.
    if (QFileInfo(file).isReadable()) {
        Settings settings;
        settings.setLastFolder(Settings::Folder::Descriptions, file);
        settings.addRecentFile(file);
    }
    return true;
}

void MainWindow::saveFile()
{
    preview->exportDescriptions();
}

void MainWindow::openThisFile(QString file)
{
    if (file.isEmpty())
        return;
    statusBar()->clearMessage();
    // The editor has saved the file (the sheet was asked about before the
    // write) or opened another one; the sheet's own edits come first.
    if (!std::exchange(sheetSettled, false) && !mayReplaceSheet()) {
        statusBar()->showMessage(tr("Plik %1 zapisano, ale arkusz go nie wczytał: ma niezapisane zmiany.")
                                     .arg(QDir::toNativeSeparators(file)));
        return;
    }
    preview->filePath = file;
    if (!preview->readFile())
        return;
    pathToFile = file;
    preview->generatePages();
    updateWindowTitle();
}

void MainWindow::updateWindowTitle()
{
    // The document's name: the project's when there is one, else the
    // descriptions file's; "[*]" shows unsaved changes.
    const QString &project = preview->projectPath();
    QString name = QFileInfo(project.isEmpty() ? pathToFile : project).fileName();
    if (name.isEmpty() && pastedSheet)
        name = tr("Wklejone z arkusza");
    setWindowTitle((name.isEmpty() ? QString() : name + QStringLiteral("[*] — ")) + QStringLiteral("Lamello"));
    setWindowModified(preview->document()->isModified());
}

void MainWindow::updatePathToFile(QString newPath)
{
    // A project was opened: before its texts are read.
    statusBar()->clearMessage();
    pastedSheet = false;
    pathToFile = newPath;
    updateWindowTitle();
}

bool MainWindow::checkIsPrinterSelected()
{
    if (cbPrinter->currentIndex() != 0)
        return true;
    Prompts::current().message(QMessageBox::Warning, QString(),
                               tr("Przed rozpoczęciem pracy należy wybrać drukarkę.\n"
                                  "Następnie można zmodyfikować zawartość pól lamello i wydrukować.\n"
                                  "Szczegóły znajdziesz w \"Pomocy\" (F1)."));
    return false;
}

void MainWindow::printOne()
{
    if (checkIsPrinterSelected())
        preview->printCurrent();
}

void MainWindow::printAll()
{
    if (checkIsPrinterSelected())
        preview->printAll();
}

void MainWindow::printChosenPages()
{
    if (!checkIsPrinterSelected() || preview->pageCount() == 0)
        return;
    PrintPagesDialog dialog(int(preview->pageCount()), this);
    if (Prompts::current().runDialog(dialog) != QDialog::Accepted)
        return;
    QList<int> indexes = dialog.pages();
    if (indexes.isEmpty())
        return;
    for (int &page : indexes)
        --page;
    preview->printPages(indexes, dialog.copies());
}

void MainWindow::calibratePrinter()
{
    const QString printer = preview->printer();
    if (cbPrinter->currentIndex() == 0 || printer == Preview::builtInPdfName) {
        Prompts::current().message(QMessageBox::Information, tr("Komunikat"),
                                   tr("Kalibracja dotyczy drukarki systemowej.\n"
                                      "Wybierz ją najpierw na liście „Drukarka”."));
        return;
    }
    CalibrationDialog dialog(printer, PrintSettings::calibration(printer), this);
    if (Prompts::current().runDialog(dialog) == QDialog::Accepted) {
        PrintSettings::setCalibration(printer, dialog.calibration());
        statusBar()->showMessage(tr("Zapisano kalibrację drukarki %1.").arg(printer), 10000);
    }
}

void MainWindow::openEditor()
{
    // A workbook is no text to edit: the editor starts empty.
    showEditor(WorkbookFile::formatOf(pathToFile) ? QString() : pathToFile);
}

void MainWindow::openHelpDialog()
{
    HelpDialog help;
    Prompts::current().runDialog(help);
}

void MainWindow::openQtDialog()
{
    Prompts::current().aboutQt(this);
}

void MainWindow::openAboutDialog()
{
    AboutDialog about(this);
    Prompts::current().runDialog(about);
}

void MainWindow::changePrinter(QString name)
{
    preview->setPrinter(name);
    if (settingsRestored)
        Settings().setPrinter(cbPrinter->currentIndex() > 0 ? name : QString());
}

// ------------------------------------------------------ font and view bars

void MainWindow::changeFontPixelSize(int pixelSize)
{
    if (fontSizeSignalsEnabled)
        preview->changeFontPixelSize(pixelSize);
}

void MainWindow::changeFontPixelSize(QString pixelSize)
{
    const int size = pixelSize.toInt(nullptr, 10);
    if (fontSizeSignalsEnabled)
        preview->changeFontPixelSize(size);
}

void MainWindow::changeSbFontSizeUp()
{
    if (sbFontSize->value() <= 24)
        sbFontSize->setValue(sbFontSize->value() + 1);
    const int t = leFontSize->text().toInt(nullptr, 10);
    if (t < 24)
        leFontSize->setText(QString::number(t + 1));
}

void MainWindow::changeSbFontSizeDown()
{
    if (sbFontSize->value() > 6)
        sbFontSize->setValue(sbFontSize->value() - 1);
    const int t = leFontSize->text().toInt(nullptr, 10);
    if (t > 6)
        leFontSize->setText(QString::number(t - 1));
}

void MainWindow::changeFontBold()
{
    preview->changeFontBold();
}

void MainWindow::changeFontItalic()
{
    preview->changeFontItalic();
}

void MainWindow::changeFontUnderline()
{
    preview->changeFontUnderline();
}

void MainWindow::selectAction(int, QFont font)
{
    showFontSize(font.pixelSize());
}

void MainWindow::showFontSize(int pixelSize)
{
    fontSizeSignalsEnabled = false;
    sbFontSize->setValue(pixelSize);
    leFontSize->setText(QStringLiteral("%1").arg(pixelSize));
    fontSizeSignalsEnabled = true;
}

void MainWindow::showPageIndicator()
{
    lbPage->showPages(currentPage, pagesCount);
}

void MainWindow::showPage(int page)
{
    page = qBound(1, page, pagesCount);
    if (page == currentPage)
        return;
    currentPage = page;
    preview->swichPage(currentPage);
    showPageIndicator();
}

void MainWindow::showOverflowing(bool forward)
{
    const qsizetype id = preview->nextOverflowing(forward);
    if (id < 0) {
        statusBar()->showMessage(tr("Wszystkie pola mieszczą się w ramkach."), 10000);
        return;
    }
    showPage(preview->pageOf(id) + 1);
    preview->selectField(id);
}

void MainWindow::showOverflowCount(qsizetype count)
{
    pbOverflow->setVisible(count > 0);
    if (count > 0)
        pbOverflow->setText(tr("Nie mieści się: %1").arg(FitTracker::fieldsText(count)));
}

void MainWindow::showPreviousPage()
{
    showPage(currentPage - 1);
}

void MainWindow::showNextPage()
{
    showPage(currentPage + 1);
}

void MainWindow::updatePagesCount(int pages)
{
    pagesCount = pages + 1;
    // The preview brings its own page back into range in the same way, so the
    // two never disagree about the page shown.
    if (currentPage > pagesCount)
        currentPage = pagesCount;
    showPageIndicator();
}

void MainWindow::zoomIn()
{
    preview->zoomIn();
}

void MainWindow::zoomOut()
{
    preview->zoomOut();
}

void MainWindow::createZoomKeys()
{
    // On the window, like the page keys. Ctrl+= is the unshifted key of "+"
    // on many keyboards.
    zoomInAct = new QAction(tr("Powiększ"), this);
    zoomInAct->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    zoomOutAct = new QAction(tr("Pomniejsz"), this);
    zoomOutAct->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
    zoomFitAct = new QAction(tr("Dopasuj stronę do okna"), this);
    zoomFitAct->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    addActions({zoomInAct, zoomOutAct, zoomFitAct});
    connect(zoomInAct, &QAction::triggered, this, &MainWindow::zoomIn);
    connect(zoomOutAct, &QAction::triggered, this, &MainWindow::zoomOut);
    connect(zoomFitAct, &QAction::triggered, preview, &Preview::zoomReset);
    pbZoomIn->setToolTip(tr("Powiększ (Ctrl++)"));
    pbZoomOut->setToolTip(tr("Pomniejsz (Ctrl+-)"));
    pbZoomReset->setToolTip(tr("Dopasuj stronę do okna (Ctrl+0)"));
}

void MainWindow::zoomChanged(int zoom)
{
    shownZoom = zoom;
    lbZoom->setText(tr("Powiększenie: +%1%").arg(zoom - 100));
}

// ----------------------------------------------------------------- settings

void MainWindow::readSettings()
{
    Settings settings;
    if (const QByteArray geometry = settings.windowGeometry(); !geometry.isEmpty())
        restoreGeometry(geometry);
    if (const QByteArray state = settings.windowState(); !state.isEmpty())
        restoreState(state);

    QStringList notes;
    if (const QString problem = Settings::takeFileProblem(); !problem.isEmpty())
        notes.append(problem);
    if (const QString printer = settings.printer(); !printer.isEmpty()) {
        const int named = cbPrinter->findData(printer);
        const int index = named >= 0 ? named : cbPrinter->findText(printer, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (index > 0) {
            cbPrinter->setCurrentIndex(index);
            QString problem;
            PrintSettings::calibration(printer, &problem);
            if (!problem.isEmpty())
                notes.append(problem);
        } else {
            notes.append(tr("Drukarki „%1” nie ma już w systemie.").arg(printer));
        }
    }
    // No file is shown yet: applying it asks nothing.
    QString geometryProblem;
    if (const std::optional<GeometryPreset> geometry = settings.geometry(&geometryProblem))
        gbGeometry->apply(*geometry);
    if (!geometryProblem.isEmpty())
        notes.append(geometryProblem);
    if (!gbGeometry->userFileProblem().isEmpty())
        notes.append(gbGeometry->userFileProblem());
    if (!notes.isEmpty())
        statusBar()->showMessage(notes.join(QLatin1Char(' ')));
    fillRecentMenu();
    settingsRestored = true;
}

void MainWindow::writeSettings()
{
    Settings settings;
    settings.setWindow(saveGeometry(), saveState());
    QString error;
    if (!settings.save(&error))
        Prompts::current().message(QMessageBox::Warning, QString(), error);
}

void MainWindow::fillRecentMenu()
{
    recentMenu->clear();
    const QStringList files = Settings().recentFiles();
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QString path = files.at(i);
        QString shown = QDir::toNativeSeparators(path);
        shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction *entry = recentMenu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(shown));
        connect(entry, &QAction::triggered, this, [this, path] { openRecentFile(path); });
    }
    recentMenu->menuAction()->setEnabled(!files.isEmpty());
}

void MainWindow::openRecentFile(const QString &path)
{
    if (!QFileInfo::exists(path)) {
        Settings().removeRecentFile(path);
        Prompts::current().message(QMessageBox::Warning, QString(),
                                   tr("Nie ma pliku %1.\nUsunięto go z listy ostatnio otwieranych.")
                                       .arg(QDir::toNativeSeparators(path)));
        return;
    }
    openDocument(path);
}

bool MainWindow::approveGeometry(const GeometryPreset &geometry)
{
    // Regrouping reads nothing again, so the question about a large sheet is
    // asked here, about the sheet the whole new geometry makes.
    const SheetLayout &now = preview->layout();
    if (geometry.labelsPerBarette != now.labelsPerBarette) {
        SheetLayout next = now;
        next.labelsPerBarette = geometry.labelsPerBarette;
        next.labelWidth = float(geometry.labelRect.width());
        next.labelHeight = float(geometry.labelRect.height());
        next.headerWidth = float(geometry.headerRect.width());
        next.headerHeight = float(geometry.headerRect.height());
        next.computeLayout();
        // The lines the sheet holds, regrouped: nothing is read again.
        const DescriptionsCheck::Result check = DescriptionsCheck::forLines(
            preview->document()->lineCount(), geometry.labelsPerBarette, next.barettesPerPage);
        if (check.barettes > DescriptionsCheck::largeSheetBarettes && !Preview::mayBuildLarge(check))
            return false;
    }
    return true;
}

// ----------------------------------------------------------- spreadsheets

void MainWindow::importSheetCommand()
{
    const QString file = Prompts::current().openFileName(
        this, tr("Importuj arkusz"), Prompts::startFolder(Settings::Folder::Descriptions, pathToFile),
        tr("Arkusze (*.ods *.xlsx *.csv *.tsv *.txt);;Wszystkie pliki (*)"));
    if (file.isEmpty() || !mayReplaceSheet())
        return;
    importSheet(file, true);
}

bool MainWindow::importSheet(const QString &path, bool ask)
{
    statusBar()->clearMessage();
    // A text file chosen here is delimited text; an old Excel file is no text.
    const std::optional<WorkbookFile::Format> named = WorkbookFile::formatOf(path);
    if ((!named || *named == WorkbookFile::Format::Delimited) && WorkbookCheck::isOldExcel(path)) {
        Prompts::current().message(QMessageBox::Warning, QString(), WorkbookCheck::oldExcelRefusal(path));
        return false;
    }
    const WorkbookFile::Format format = named.value_or(WorkbookFile::Format::Delimited);
    const std::optional<SheetMapping> stored = SheetMapping::fromString(Settings().sheetMapping(path));
    SheetMapping mapping = stored.value_or(SheetMapping());
    Workbook book;
    QString error;
    bool read = false;
    // Off the window's thread; a cancelled read leaves the sheet as it was.
    if (!BackgroundRead::run(this, path, [&](const std::atomic<bool> &cancelled) {
            read = WorkbookFile::read(path, format, book, &error, mapping.delimiter, &cancelled);
        }))
        return false;
    if (!read) {
        Prompts::current().message(QMessageBox::Warning, QString(), error);
        return false;
    }
    if (!stored && !book.sheets.isEmpty())
        mapping = SheetImport::guessMapping(book.sheets.first());
    std::function<std::optional<Workbook>(char)> reread;
    if (format == WorkbookFile::Format::Delimited) {
        reread = [path](char delimiter) -> std::optional<Workbook> {
            Workbook again;
            QString why;
            if (!WorkbookFile::read(path, WorkbookFile::Format::Delimited, again, &why, delimiter))
                return std::nullopt;
            return again;
        };
    }
    // The dialog again when a question after it is cancelled: the mapping
    // just set is kept for another try.
    for (bool dialog = ask || !stored;;) {
        if (dialog && !chooseMapping(book, mapping, QFileInfo(path).fileName(), reread))
            return false;
        const SheetOutcome outcome = applySheet(book, mapping, path);
        if (outcome == SheetOutcome::Imported)
            break;
        if (outcome == SheetOutcome::Refused || !dialog)
            return false;
    }
    lastMapping = mapping;
    Settings settings;
    settings.setSheetMapping(path, mapping.toString());
    settings.setLastFolder(Settings::Folder::Descriptions, path);
    settings.addRecentFile(path);
    return true;
}

bool MainWindow::chooseMapping(Workbook &book, SheetMapping &mapping, const QString &title,
                               const std::function<std::optional<Workbook>(char)> &reread)
{
    SheetImportDialog dialog(book, title, mapping, preview->layout().labelsPerBarette, reread, this);
    if (Prompts::current().runDialog(dialog) != QDialog::Accepted)
        return false;
    mapping = dialog.mapping();
    book = dialog.workbook();
    return true;
}

MainWindow::SheetOutcome MainWindow::applySheet(const Workbook &book, const SheetMapping &mapping,
                                                const QString &source)
{
    Prompts &prompts = Prompts::current();
    const qsizetype index = mapping.sheet.isEmpty() ? 0 : book.indexOf(mapping.sheet);
    if (index < 0 || index >= book.sheets.size()) {
        prompts.message(QMessageBox::Warning, QString(),
                        tr("W pliku %1 nie ma już arkusza „%2”.\nArkusz nie został wczytany.")
                            .arg(QFileInfo(source).fileName(), mapping.sheet));
        return SheetOutcome::Refused;
    }
    const WorkbookSheet &sheet = book.sheets.at(index);

    // Nothing is imported while a cell holds what the sheet cannot print.
    qsizetype total = 0;
    const QList<SheetImport::BadCell> bad = SheetImport::unencodable(sheet, mapping, 20, &total);
    if (total > 0) {
        QStringList lines;
        for (const SheetImport::BadCell &cell : bad)
            lines.append(SheetImport::describe(sheet, cell));
        if (total > bad.size())
            lines.append(counted(total - bad.size(), tr("… i %1 inna", "one"), tr("… i %1 inne", "few"), tr("… i %1 innych", "many")));
        if (!prompts.confirm(QMessageBox::Warning, tr("Komunikat"),
                             tr("Te komórki zawierają znaki, których nie ma w kodowaniu Windows-1250:\n%1\n\n"
                                "Zamienić je na „?” i wczytać arkusz?")
                                 .arg(lines.join(QLatin1Char('\n'))),
                             tr("Zamień na „?”"), tr("Anuluj")))
            return SheetOutcome::Reconsider;
    }

    int labels = preview->layout().labelsPerBarette;
    if (mapping.layout == SheetMapping::Layout::Rows) {
        const std::optional<int> chosen = labelsForColumns(mapping.labelColumns());
        if (!chosen)
            return SheetOutcome::Reconsider;
        labels = *chosen;
    }

    QStringList texts = SheetImport::texts(sheet, mapping, labels);
    if (total > 0) {
        for (QString &text : texts)
            text = SheetImport::replaceUnencodable(text);
    }

    // The same limits as a descriptions file.
    const DescriptionsCheck::Result check =
        DescriptionsCheck::forLines(texts.size(), labels, preview->layout().barettesPerPage, 0, preview->memoryLimit);
    if (check.verdict == DescriptionsCheck::Verdict::TooLarge) {
        prompts.message(QMessageBox::Warning, QString(), DescriptionsCheck::refusal(check, source));
        return SheetOutcome::Refused;
    }
    if (check.verdict == DescriptionsCheck::Verdict::Large && !Preview::mayBuildLarge(check, source.isEmpty()))
        return SheetOutcome::Refused;

    if (rereadingProject) {
        // Into the project's sheet: its fonts stay by position.
        preview->rereadSheet(std::move(texts));
    } else {
        preview->loadSheet(std::move(texts), source);
        pathToFile = source;
        pastedSheet = source.isEmpty();
    }
    lastSheet = source;
    preview->generatePages();
    updateWindowTitle();
    if (total > 0)
        statusBar()->showMessage(tr("Zamieniono na „?” znaki w %1.")
                                     .arg(counted(total, tr("%1 komórce", "one"), tr("%1 komórkach", "few"), tr("%1 komórkach", "many"))));
    return SheetOutcome::Imported;
}

std::optional<int> MainWindow::labelsForColumns(int columns)
{
    // A row a barette: the label columns set the labels per barette.
    Prompts &prompts = Prompts::current();
    int labels = preview->layout().labelsPerBarette;
    if (columns == labels)
        return labels;
    if (columns >= 5 && columns <= 15) {
        const QMessageBox::StandardButton answer = prompts.question(
            QMessageBox::Question, tr("Komunikat"),
            tr("Arkusz ma %1 etykiet, a baretka %2 etykiet. Zmienić liczbę etykiet na baretce na %3?")
                .arg(labelColumnsText(columns))
                .arg(labels)
                .arg(columns),
            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
        if (answer == QMessageBox::Cancel)
            return std::nullopt;
        if (answer == QMessageBox::Yes) {
            GeometryPreset geometry;
            const SheetLayout &now = preview->layout();
            geometry.presetName = GbGeometry::freeEntry;
            geometry.labelsPerBarette = columns;
            geometry.labelRect = QRectF(0, 0, now.labelWidth, now.labelHeight);
            geometry.headerRect = QRectF(0, 0, now.headerWidth, now.headerHeight);
            if (!gbGeometry->apply(geometry))
                return std::nullopt;
            return columns;
        }
    }
    if (columns > labels) {
        prompts.message(QMessageBox::Warning, QString(),
                        tr("Arkusz ma %1 etykiet, a baretka tylko %2 etykiet: część tekstów nie "
                           "zmieściłaby się.\nArkusz nie został wczytany.")
                            .arg(labelColumnsText(columns))
                            .arg(labels));
        return std::nullopt;
    }
    // Fewer columns than labels: the rest of every barette stays empty, when the user says so.
    if (!prompts.confirm(QMessageBox::Question, tr("Komunikat"),
                         tr("Arkusz ma %1 etykiet, a baretka %2 etykiet: w każdej baretce %3 pozostanie "
                            "pustych. Wczytać arkusz?")
                             .arg(labelColumnsText(columns))
                             .arg(labels)
                             .arg(labels - columns),
                         tr("Wczytaj"), tr("Anuluj")))
        return std::nullopt;
    return labels;
}

void MainWindow::pasteSheet()
{
    const QString text = QGuiApplication::clipboard()->text();
    if (text.isEmpty()) {
        statusBar()->showMessage(tr("Schowek nie zawiera komórek arkusza."), 5000);
        return;
    }
    Workbook book;
    QString error;
    if (!WorkbookFile::readPasted(text, book, &error)) {
        Prompts::current().message(QMessageBox::Warning, QString(), error);
        return;
    }
    if (!mayReplaceSheet())
        return;
    SheetMapping mapping = SheetImport::guessMapping(book.sheets.first());
    do {
        if (!chooseMapping(book, mapping, tr("schowek"), {}))
            return;
    } while (applySheet(book, mapping, QString()) == SheetOutcome::Reconsider);
}

void MainWindow::reloadSheet()
{
    if (!lastSheet.isEmpty() && !preview->projectPath().isEmpty()) {
        if (mayReplaceSheet())
            rereadProjectSheet();
        return;
    }
    if (!lastSheet.isEmpty() && lastSheet == pathToFile) {
        if (mayReplaceSheet())
            importSheet(lastSheet, false);
        return;
    }
    if (pathToFile.isEmpty() || !preview->projectPath().isEmpty()) {
        statusBar()->showMessage(tr("Nie ma arkusza ani pliku z opisami do wczytania ponownie."), 5000);
        return;
    }
    if (mayReplaceSheet())
        importDescriptions(pathToFile);
}

// ------------------------------------------------------- a project's workbook

void MainWindow::rereadProjectSheet()
{
    statusBar()->clearMessage();
    const QString path = lastSheet;
    // As importSheet() reads it: a text file taken there is delimited text.
    const WorkbookFile::Format format = WorkbookFile::formatOf(path).value_or(WorkbookFile::Format::Delimited);
    Workbook book;
    QString error;
    if (!WorkbookFile::read(path, format, book, &error, lastMapping.delimiter)) {
        Prompts::current().message(QMessageBox::Warning, QString(), error);
        return;
    }
    rereadingProject = true;
    const SheetOutcome outcome = applySheet(book, lastMapping, path);
    rereadingProject = false;
    if (outcome == SheetOutcome::Imported)
        statusBar()->showMessage(tr("Teksty projektu wczytano ponownie z arkusza %1; czcionki pól pozostały.")
                                     .arg(QFileInfo(path).fileName()),
                                 10000);
}

void MainWindow::projectSaved(const QString &project)
{
    // The project remembers the workbook its texts came from, so that F5
    // reads it again into the project; a sheet of another kind forgets it.
    Settings settings;
    if (!lastSheet.isEmpty())
        settings.setProjectSource(project, lastSheet, lastMapping.toString());
    else
        settings.removeProjectSource(project);
}

void MainWindow::projectOpened(const QString &project)
{
    lastSheet.clear();
    const std::optional<Settings::ProjectSource> source = Settings().projectSource(project);
    if (!source)
        return;
    const std::optional<SheetMapping> mapping = SheetMapping::fromString(source->mapping);
    if (!mapping)
        return;
    lastSheet = source->workbook;
    lastMapping = *mapping;
}
