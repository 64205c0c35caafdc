#include "app/mainwindow.h"

#include "app/aboutdialog.h"
#include "app/accessiblenames.h"
#include "app/fieldclipboard.h"
#include "app/fieldmenu.h"
#include "app/filecommands.h"
#include "app/findbar.h"
#include "app/fontbar.h"
#include "app/helpdialog.h"
#include "app/pagenavigation.h"
#include "app/printcommands.h"
#include "app/recovery.h"
#include "app/seriesfill.h"
#include "app/sheetmessages.h"
#include "app/workbookimport.h"
#include "document/sheetdocument.h"
#include "document/specialglyphfont.h"
#include "editor/editpad.h"
#include "files/descriptionscheck.h"
#include "files/settings.h"
#include "geometry/gbgeometry.h"
#include "layout/sheetlayout.h"
#include "prompts/prompts.h"
#include "sheet/preview.h"
#include "system/language.h"
#include "system/pictures.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QKeySequence>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUndoStack>
#include <QVBoxLayout>

#include <optional>
#include <utility>

namespace {
const QString makerText = QStringLiteral("Lamello  ");
} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
{
    initLamelloResources();
    // Numbers as the interface language writes them, whatever the desktop's locale.
    setLocale(Language::locale());

    // The preview comes first: the project actions are connected straight to it.
    preview = new Preview(this);
    preview->setObjectName(QStringLiteral("preview"));
    gbGeometry = new GbGeometry;
    gbGeometry->setObjectName(QStringLiteral("gbGeometry"));

    // The commands, before the actions that start them.
    sheets = new WorkbookImport(this, preview, gbGeometry, pathToFile, pastedSheet,
                                {[this] { return mayReplaceSheet(); },
                                 [this](const QString &file) { return files->importDescriptions(file); },
                                 [this] { updateWindowTitle(); }});
    files = new FileCommands(this, preview, *sheets, pathToFile, pastedSheet,
                             {[this] { return mayReplaceSheet(); }, [this] { updateWindowTitle(); }});
    prints = new PrintCommands(this, preview, settingsRestored);
    fontBar = std::make_unique<FontBar>(preview);
    navigation = new PageNavigation(this, preview);
    findBar = new FindBar(preview);
    fieldClipboard = new FieldClipboard(this, preview);
    fieldMenu = new FieldMenu(this, preview);
    seriesFill = new SeriesFill(this, preview);
    recovery = new Recovery(preview, this);
    recovery->attach(gbGeometry, sheets);

    createActions();
    navigation->createPageKeys();
    createMenus();
    prints->createPrintOptions(printMenu);
    createToolBars();
    createStatusBar();
    // The find bar under the sheet, as in a browser.
    auto *central = new QWidget;
    auto *column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(preview, 1);
    column->addWidget(findBar);
    setCentralWidget(central);
    AccessibleNames::apply(this);
    setWindowState(Qt::WindowMaximized);
    prints->fillPrinterList();
    makeConnections();
    navigation->createZoomKeys();
    preview->generationEnabled = true;
    readSettings();
    setWindowIcon(QIcon(QStringLiteral(":/icons/lamello.png")));
    // "Lamello" before any sheet, not the lower-case name of the program's files.
    updateWindowTitle();
    setAcceptDrops(true);
    preview->viewport()->installEventFilter(this);
    // The selection keys work from the start.
    preview->setFocus();
}

MainWindow::~MainWindow() = default;

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
            s.action->setIcon(Pictures::icon(QString::fromLatin1(s.icon)));
    }

    connect(newAct, &QAction::triggered, files, &FileCommands::newFile);
    connect(openProjectAct, &QAction::triggered, files, &FileCommands::openProject);
    connect(saveProjectAct, &QAction::triggered, preview, &Preview::saveProject);
    connect(saveProjectAsAct, &QAction::triggered, preview, &Preview::saveProjectAs);
    connect(importAct, &QAction::triggered, files, &FileCommands::openFile);
    connect(exportAct, &QAction::triggered, files, &FileCommands::saveFile);
    connect(exitAct, &QAction::triggered, this, &MainWindow::close);
    connect(editorAct, &QAction::triggered, files, &FileCommands::openEditor);
    connect(printOneAct, &QAction::triggered, prints, &PrintCommands::printOne);
    connect(printAllAct, &QAction::triggered, prints, &PrintCommands::printAll);
    connect(helpAct, &QAction::triggered, this, &MainWindow::openHelpDialog);
    connect(aboutQtAct, &QAction::triggered, this, &MainWindow::openQtDialog);
    connect(aboutAct, &QAction::triggered, this, &MainWindow::openAboutDialog);

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
    connect(importSheetAct, &QAction::triggered, sheets, &WorkbookImport::importSheetCommand);
    reloadAct = new QAction(tr("&Wczytaj ponownie"), this);
    reloadAct->setObjectName(QStringLiteral("reloadAct"));
    reloadAct->setShortcut(QKeySequence(Qt::Key_F5));
    reloadAct->setStatusTip(tr("Wczytuje ostatni arkusz jeszcze raz, z tym samym przyporządkowaniem kolumn"));
    connect(reloadAct, &QAction::triggered, sheets, &WorkbookImport::reloadSheet);
    pasteSheetAct = new QAction(tr("Wklej z &arkusza"), this);
    pasteSheetAct->setObjectName(QStringLiteral("pasteSheetAct"));
    pasteSheetAct->setShortcut(QKeySequence(tr("CTRL+SHIFT+V")));
    pasteSheetAct->setStatusTip(tr("Wczytuje komórki skopiowane z programu arkuszowego"));
    connect(pasteSheetAct, &QAction::triggered, sheets, &WorkbookImport::pasteSheet);
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
    connect(nextOverflowAct, &QAction::triggered, navigation, [this] { navigation->showOverflowing(true); });
    previousOverflowAct = new QAction(tr("P&oprzednie pole, które się nie mieści"), this);
    previousOverflowAct->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3));
    connect(previousOverflowAct, &QAction::triggered, navigation, [this] { navigation->showOverflowing(false); });
    findAct = new QAction(tr("&Znajdź…"), this);
    findAct->setObjectName(QStringLiteral("findAct"));
    findAct->setShortcut(QKeySequence(tr("CTRL+F")));
    connect(findAct, &QAction::triggered, findBar, &FindBar::open);
    replaceAct = new QAction(tr("Za&mień…"), this);
    replaceAct->setObjectName(QStringLiteral("replaceAct"));
    replaceAct->setShortcut(QKeySequence(tr("CTRL+H")));
    connect(replaceAct, &QAction::triggered, findBar, &FindBar::openReplace);
    // What a command did to the sheet or took from it: gone once the sheet's
    // history moves on (an undo, the paste).
    auto *sheetMessages = new SheetMessages(statusBar(), history, this);
    connect(findBar, &FindBar::statusMessage, sheetMessages, &SheetMessages::show);
    connect(seriesFill, &SeriesFill::statusMessage, sheetMessages, &SheetMessages::show);
    connect(fieldClipboard, &FieldClipboard::statusMessage, sheetMessages, &SheetMessages::show);
    // "Dopasowano rozmiar: …", said by the sheet itself once the sizes are set.
    connect(fitSizeAct, &QAction::triggered, sheetMessages, &SheetMessages::adoptShown);
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
    files->recentMenu = recentMenu;
    fileMenu->addAction(exitAct);
    connect(fileMenu, &QMenu::aboutToShow, files, &FileCommands::fillRecentMenu);
    editMenu = menuBar()->addMenu(tr("&Edycja"));
    editMenu->addActions({undoAct, redoAct});
    editMenu->addSeparator();
    editMenu->addActions({fieldMenu->editAction(), fieldMenu->fontAction()});
    fieldClipboard->addTo(editMenu);
    editMenu->addSeparator();
    editMenu->addAction(pasteSheetAct);
    editMenu->addSeparator();
    editMenu->addActions({findAct, replaceAct, seriesFill->action()});
    editMenu->addActions({fitSizeAct, nextOverflowAct, previousOverflowAct});
    editMenu->addSeparator();
    editMenu->addAction(editorAct);
    // The sheet's field menu: the same actions.
    QMenu *onField = fieldMenu->menu();
    onField->addActions({fieldMenu->editAction(), fieldMenu->fontAction()});
    onField->addSeparator();
    fieldClipboard->addTo(onField);
    onField->addSeparator();
    onField->addActions({fitSizeAct, seriesFill->action()});
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
    findAct->setText(tr("&Znajdź…"));
    findAct->setShortcut(QKeySequence(tr("CTRL+F")));
    replaceAct->setText(tr("Za&mień…"));
    replaceAct->setShortcut(QKeySequence(tr("CTRL+H")));
    importSheetAct->setText(tr("Importuj &arkusz…"));
    importSheetAct->setStatusTip(tr("Wczytuje baretki z arkusza ODS, XLSX albo CSV"));
    reloadAct->setText(tr("&Wczytaj ponownie"));
    reloadAct->setStatusTip(tr("Wczytuje ostatni arkusz jeszcze raz, z tym samym przyporządkowaniem kolumn"));
    pasteSheetAct->setText(tr("Wklej z &arkusza"));
    pasteSheetAct->setShortcut(QKeySequence(tr("CTRL+SHIFT+V")));
    pasteSheetAct->setStatusTip(tr("Wczytuje komórki skopiowane z programu arkuszowego"));
    exportCsvAct->setText(tr("Eksportuj jako &CSV…"));
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

    prints->retranslate();
    lbHelpKey->setText(tr("F1 - Pomoc"));
    navigation->retranslate();
    fieldClipboard->retranslate();
    fieldMenu->retranslate();
    seriesFill->retranslate();
    AccessibleNames::apply(this);
}

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

    actionsToolBar = addToolBar(tr("Akcje"));
    actionsToolBar->setObjectName(QStringLiteral("Akcje"));
    actionsToolBar->setAllowedAreas(Qt::TopToolBarArea);
    actionsToolBar->addActions({newAct, editorAct, importAct, exportAct, saveProjectAct, openProjectAct,
                                printOneAct, printAllAct});

    printerToolBar = addStyledToolBar(QT_TR_NOOP("Drukarka"));
    toolBarLabels.append(new QLabel(tr("Drukarka: ")));
    printerToolBar->addWidget(toolBarLabels.constLast());
    printerToolBar->addWidget(prints->printerBox());
    toolBarLabels.constLast()->setBuddy(prints->printerBox());

    fontToolBar = addStyledToolBar(QT_TR_NOOP("Czcionka"));
    toolBarLabels.append(new QLabel(tr("Czcionka: ")));
    fontToolBar->addWidget(toolBarLabels.constLast());
    fontBar->addTo(fontToolBar);
    fontToolBar->addSeparator();
    fontToolBar->addAction(fitSizeAct);
    fontToolBar->widgetForAction(fitSizeAct)->setObjectName(QStringLiteral("pbFitSize"));

    navigationToolBar = addStyledToolBar(QT_TR_NOOP("Nawigacja"));
    toolBarLabels.append(new QLabel(tr("Strona: ")));
    navigationToolBar->addWidget(toolBarLabels.constLast());
    navigation->addPageButtons(navigationToolBar);

    zoomToolBar = addStyledToolBar(QT_TR_NOOP("Powiększenie"));
    toolBarLabels.append(new QLabel(tr("Skala: ")));
    zoomToolBar->addWidget(toolBarLabels.constLast());
    navigation->addZoomButtons(zoomToolBar);

    geometryToolBar = new QToolBar(tr("Geometria"));
    geometryToolBar->setObjectName(QStringLiteral("Geometria"));
    geometryToolBar->setMovable(false);
    auto *picture = new QLabel;
    picture->setObjectName(QStringLiteral("lbGeometryPicture"));
    picture->setPixmap(Pictures::pixmap(QStringLiteral(":/icons/layer1.png"), devicePixelRatio()));
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
    statusBar()->addWidget(navigation->zoomLabel());
    // Permanent, so that passing messages never hide it.
    statusBar()->addPermanentWidget(navigation->overflowButton());
    auto *maker = new QLabel(makerText);
    maker->setObjectName(QStringLiteral("lbMaker"));
    statusBar()->addPermanentWidget(maker);
}

void MainWindow::makeConnections()
{
    connect(preview, &Preview::updatePathToFile, this, &MainWindow::updatePathToFile);
    connect(preview, &Preview::projectWritten, sheets, &WorkbookImport::projectSaved);
    connect(preview, &Preview::projectRead, sheets, &WorkbookImport::projectOpened);
    connect(preview->document(), &SheetDocument::modifiedChanged, this, &MainWindow::updateWindowTitle);
    connect(recovery, &Recovery::statusMessage, this, [this](const QString &message) {
        statusBar()->showMessage(message, 10000);
    });
    connect(preview, &Preview::statusMessage, this, [this](const QString &message) {
        statusBar()->showMessage(message, 10000);
    });
    connect(gbGeometry, &GbGeometry::updateLabelsPerBarette, preview, &Preview::setLabelsPerBarette);
    connect(gbGeometry, &GbGeometry::updateDimensions, preview, &Preview::updateDimensions);
    gbGeometry->setApproval([this](const GeometryPreset &geometry) { return approveGeometry(geometry); });
    connect(gbGeometry, &GbGeometry::geometryApplied, this, [this](const GeometryPreset &geometry) {
        if (settingsRestored)
            Settings().setGeometry(geometry);
    });
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
    // A clean quit: nothing is left to recover.
    recovery->discard();
    QMainWindow::closeEvent(event);
}

bool MainWindow::offerRecovery()
{
    return recovery->offerLeftCopies();
}

bool MainWindow::mayReplaceSheet()
{
    SheetDocument *document = preview->document();
    if (!document->isModified())
        return true;
    switch (Prompts::current().question(QMessageBox::Question, QString(),
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

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    // Over the sheet a drag of files is left unaccepted, so that it goes on
    // to the window: it never reaches a field, which would take the file
    // names for its text. The window then gets the moves and the drop.
    if (watched == preview->viewport() && event->type() == QEvent::DragEnter
        && !FileCommands::localFiles(static_cast<QDragEnterEvent *>(event)->mimeData()).isEmpty()) {
        event->ignore();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (FileCommands::localFiles(event->mimeData()).isEmpty()) {
        QMainWindow::dragEnterEvent(event);
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void MainWindow::dropEvent(QDropEvent *event)
{
    const QStringList dropped = FileCommands::localFiles(event->mimeData());
    if (dropped.isEmpty()) {
        QMainWindow::dropEvent(event);
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    // Opened once the drop is over: the file manager waits for the drop's
    // answer while a question or a message of the opening would be shown.
    QTimer::singleShot(0, this, [this, dropped] { files->openFiles(dropped); });
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
    prints->restorePrinter(settings.printer(), notes);
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
    files->fillRecentMenu();
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

bool MainWindow::approveGeometry(const GeometryPreset &geometry)
{
    // Regrouping reads nothing again, so the question about a large sheet is
    // asked here, about the sheet the whole new geometry makes.
    const SheetLayout &now = preview->layout();
    if (geometry.labelsPerBarette != now.labelsPerBarette) {
        SheetLayout next = now;
        geometry.applyTo(next);
        next.computeLayout();
        // The lines the sheet holds, regrouped: nothing is read again.
        const DescriptionsCheck::Result check = DescriptionsCheck::forLines(
            preview->document()->lineCount(), geometry.labelsPerBarette, next.barettesPerPage);
        if (check.barettes > DescriptionsCheck::largeSheetBarettes && !Preview::mayBuildLarge(check))
            return false;
    }
    return true;
}

void MainWindow::openProjectFile(QString path)
{
    files->openProjectFile(std::move(path));
}

void MainWindow::openFromCommandLine(const QStringList &arguments, const QStringList &undecodable)
{
    files->openFromCommandLine(arguments, undecodable);
}

void MainWindow::openFiles(const QStringList &paths)
{
    files->openFiles(paths);
}

void MainWindow::openDocument(const QString &path)
{
    files->openDocument(path);
}

void MainWindow::openThisFile(QString file)
{
    files->openThisFile(std::move(file));
}

void MainWindow::showOverflowing(bool forward)
{
    navigation->showOverflowing(forward);
}

QSpinBox *MainWindow::fontSizeModel() const
{
    return fontBar->sizeModel();
}
