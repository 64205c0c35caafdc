#pragma once

#include <QCoreApplication>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class EditPad;
class FileLook;
class Preview;
class QMainWindow;
class QMenu;
class QMimeData;
class QStatusBar;
class WorkbookImport;

// The window's file commands: opening a project, a descriptions file or a
// workbook (the menu, the command line, a drop, the recent files), the
// descriptions import and export, and the editors. It speaks in the
// window's words (the translation context MainWindow).
class FileCommands : public QObject
{
    Q_DECLARE_TR_FUNCTIONS(MainWindow)

public:
    // What the commands ask of the window around them.
    struct Hooks
    {
        // Asks what to do with unsaved changes; false: keep the sheet.
        std::function<bool()> mayReplaceSheet;
        std::function<void()> updateWindowTitle;
    };

    // `pathToFile` and `pastedSheet` are the window's: the file the sheet
    // shows and whether it holds pasted cells, which its title says.
    FileCommands(QMainWindow *window, Preview *preview, WorkbookImport &sheets, QString &pathToFile,
                 bool &pastedSheet, Hooks hooks);

    void openProject();
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
    // The local files a drag carries: none for text, our own fields or web links.
    static QStringList localFiles(const QMimeData *data);

    void newFile();
    void openFile();
    void saveFile();
    void openThisFile(QString file);
    void openEditor();
    // Reads `file` into the sheet with fresh fonts; false when it was refused
    // or declined, and the sheet stays as it was.
    // `look`: the look openDocument() took at the file, handed to the read.
    bool importDescriptions(const QString &file, FileLook *look = nullptr);
    // The recent files into `recentMenu`.
    void fillRecentMenu();
    void openRecentFile(const QString &path);

    QMenu *recentMenu = nullptr;

private:
    EditPad *showEditor(const QString &path);
    QStatusBar *statusBar() const;
    bool mayReplaceSheet() { return hooks.mayReplaceSheet(); }
    void updateWindowTitle() { hooks.updateWindowTitle(); }
    bool importSheet(FileLook &look, bool ask);

    QMainWindow *window;
    Preview *preview;
    WorkbookImport &sheets;
    QString &pathToFile;
    bool &pastedSheet;
    Hooks hooks;
    // The sheet's changes were settled for the editor's write that follows.
    bool sheetSettled = false;
};
