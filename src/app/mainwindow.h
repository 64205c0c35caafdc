#pragma once

#include "layout/geometrypreset.h"

#include <QList>
#include <QMainWindow>
#include <QString>
#include <QStringList>

#include <memory>
#include <utility>

class FieldClipboard;
class FieldMenu;
class FileCommands;
class FindBar;
class FontBar;
class GbGeometry;
class Preview;
class QAction;
class PageNavigation;
class PrintCommands;
class QLabel;
class QMenu;
class QSpinBox;
class Recovery;
class SeriesFill;
class QToolBar;
class WorkbookImport;

// The program's single window: the label sheet in the middle, the commands in
// four menus and six tool bars around it, and the zoom in the status bar.
// The window builds its actions, menus and bars and connects them; the
// commands act in classes of their own: the workbook import
// (WorkbookImport), the files (FileCommands), printing (PrintCommands), the
// font bar (FontBar), the pages and the zoom (PageNavigation).
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // Opens the project at `path`.
    void openProjectFile(QString path);
    // Start-up: opens the files that `arguments` (the program's command line,
    // its name first) names, as openFiles() does; `undecodable`, names whose
    // bytes are no UTF-8 (shown escaped), are named in the status bar.
    void openFromCommandLine(const QStringList &arguments, const QStringList &undecodable = {});
    // Opens the first of `files` as openDocument() does and names the others
    // in the status bar as ignored (the command line, a drop).
    void openFiles(const QStringList &files);
    // Opens a project when the file's content is one, otherwise imports it as
    // a descriptions file, as the menu command does; each says what is wrong.
    void openDocument(const QString &path);

    // Start-up: offers the recovery copies of windows that did not close
    // cleanly (Recovery); true when one was restored.
    bool offerRecovery();

    Preview *sheetPreview() const { return preview; }
    Recovery *sheetRecovery() const { return recovery; }
    // The font size model behind the size field; it is never shown.
    QSpinBox *fontSizeModel() const;

protected:
    void resizeEvent(QResizeEvent *event) override;
    // Closing the window ends the program: every editor with unsaved changes
    // asks first, and one that stays open keeps the program running.
    void closeEvent(QCloseEvent *event) override;
    // Files dragged from a file manager onto the window, the sheet included,
    // open as from the command line; other drags go where they went before.
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    // Over the sheet a drag of files is left for the window.
    bool eventFilter(QObject *watched, QEvent *event) override;
    // A new language (QEvent::LanguageChange): every text again.
    void changeEvent(QEvent *event) override;

private slots:
    void openThisFile(QString file);
    void updateWindowTitle();
    void openHelpDialog();
    void openQtDialog();
    void openAboutDialog();
    // Shows the page of the next field that does not fit (or the previous
    // one) and selects it.
    void showOverflowing(bool forward);
    void updatePathToFile(QString newPath);

private:
    void createActions();
    void createMenus();
    // "Język / Language" in the help menu: the desktop's language, Polish or
    // English, kept in the settings and installed at once.
    void createLanguageMenu();
    void retranslate();
    void createToolBars();
    void createStatusBar();
    void makeConnections();
    // Before the sheet's texts are replaced or the window closes: asks what
    // to do with unsaved changes; false when the user cancels or the save
    // failed.
    bool mayReplaceSheet();
    // What the program remembers (see Settings): restored at start, the
    // window's size and tool bars written when it closes.
    void readSettings();
    void writeSettings();
    // Before the geometry panel applies `geometry`: asks when the texts
    // regrouped under its number of labels make a large sheet, refuses what
    // the sheet could not hold; false when nothing is to change.
    bool approveGeometry(const GeometryPreset &geometry);
    // `title` is translated; its Polish text names the bar in the stored state.
    QToolBar *addStyledToolBar(const char *title);

    // The file the sheet shows and whether it holds pasted cells: what the
    // title says.
    QString pathToFile;
    bool pastedSheet = false;
    WorkbookImport *sheets = nullptr;
    FileCommands *files = nullptr;
    PrintCommands *prints = nullptr;
    // Destroyed before the window's widgets.
    std::unique_ptr<FontBar> fontBar;
    PageNavigation *navigation = nullptr;
    FindBar *findBar = nullptr;
    FieldClipboard *fieldClipboard = nullptr;
    FieldMenu *fieldMenu = nullptr;
    SeriesFill *seriesFill = nullptr;
    Recovery *recovery = nullptr;

    QAction *newAct = nullptr;
    QAction *openProjectAct = nullptr;
    QAction *saveProjectAct = nullptr;
    QAction *saveProjectAsAct = nullptr;
    QAction *importAct = nullptr;
    QAction *exportAct = nullptr;
    QAction *importSheetAct = nullptr;
    QAction *reloadAct = nullptr;
    QAction *pasteSheetAct = nullptr;
    QAction *exportCsvAct = nullptr;
    QAction *exitAct = nullptr;
    QAction *editorAct = nullptr;
    QAction *undoAct = nullptr;
    QAction *redoAct = nullptr;
    QAction *printOneAct = nullptr;
    QAction *printAllAct = nullptr;
    QAction *helpAct = nullptr;
    QAction *aboutQtAct = nullptr;
    QAction *aboutAct = nullptr;
    QAction *fitSizeAct = nullptr;
    QAction *nextOverflowAct = nullptr;
    QAction *findAct = nullptr;
    QAction *replaceAct = nullptr;
    QAction *previousOverflowAct = nullptr;

    // The actions of createActions()'s table with their untranslated texts.
    QList<std::pair<QAction *, const char *>> tableActions;
    QAction *desktopLanguageAct = nullptr;
    QAction *polishAct = nullptr;
    QAction *englishAct = nullptr;

    QMenu *fileMenu = nullptr;
    QMenu *recentMenu = nullptr;
    QMenu *printMenu = nullptr;
    QMenu *editMenu = nullptr;
    QMenu *helpMenu = nullptr;

    QToolBar *actionsToolBar = nullptr;
    QToolBar *fontToolBar = nullptr;
    QToolBar *navigationToolBar = nullptr;
    QToolBar *zoomToolBar = nullptr;
    QToolBar *printerToolBar = nullptr;
    QToolBar *geometryToolBar = nullptr;

    // Until the settings are restored, nothing chosen is written back.
    bool settingsRestored = false;
    GbGeometry *gbGeometry = nullptr;
    Preview *preview = nullptr;
    QList<QLabel *> toolBarLabels;
    QLabel *lbHelpKey = nullptr;
};
