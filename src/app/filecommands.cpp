#include "app/filecommands.h"

#include "app/commandline.h"
#include "app/workbookimport.h"
#include "editor/editpad.h"
#include "files/filelook.h"
#include "files/settings.h"
#include "prompts/prompts.h"
#include "sheet/preview.h"
#include "workbooks/workbookcheck.h"
#include "workbooks/workbookfile.h"

#include <QDir>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenu>
#include <QMimeData>
#include <QStatusBar>
#include <QTimer>
#include <QUrl>

#include <utility>

FileCommands::FileCommands(QMainWindow *window, Preview *preview, WorkbookImport &sheets, QString &pathToFile,
                           bool &pastedSheet, Hooks hooks)
    : QObject(window)
    , window(window)
    , preview(preview)
    , sheets(sheets)
    , pathToFile(pathToFile)
    , pastedSheet(pastedSheet)
    , hooks(std::move(hooks))
{
}

QStatusBar *FileCommands::statusBar() const
{
    return window->statusBar();
}

bool FileCommands::importSheet(FileLook &look, bool ask)
{
    return sheets.importSheet(look, ask);
}

void FileCommands::openProject()
{
    // The sheet's own dialog, which starts in the folder of the last project.
    if (mayReplaceSheet())
        preview->openProject();
}

void FileCommands::openProjectFile(QString path)
{
    if (mayReplaceSheet())
        preview->openProject(path);
}

void FileCommands::openFromCommandLine(const QStringList &arguments, const QStringList &undecodable)
{
    openFiles(CommandLine::parse(arguments).files);
    if (!undecodable.isEmpty()) {
        const QString said = statusBar()->currentMessage();
        const QString note = tr("Pominięto nazwy, które nie są zapisane w UTF-8 (zmień nazwę pliku): %1")
                                 .arg(undecodable.join(QStringLiteral(", ")));
        statusBar()->showMessage(said.isEmpty() ? note : said + QStringLiteral("  ") + note);
    }
}

void FileCommands::openFiles(const QStringList &files)
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

void FileCommands::openDocument(const QString &path)
{
    if (!mayReplaceSheet())
        return;
    // One look at the file picks its reader, which then reads what was looked at.
    FileLook look = FileLook::at(path);
    if (CommandLine::kindOf(look) == CommandLine::FileKind::Project)
        preview->openProject(path, &look);
    else if (WorkbookFile::formatOf(path) || WorkbookCheck::isOldExcel(look))
        importSheet(look, true);
    else
        importDescriptions(path, &look);
}

QStringList FileCommands::localFiles(const QMimeData *data)
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

EditPad *FileCommands::showEditor(const QString &path)
{
    // Not modal, and as many as the user likes: each one's saves reload the sheet.
    auto *editor = new EditPad(path, window);
    // The sheet's changes are settled before the file is written, so that
    // "Anuluj" leaves both the file and the sheet as they are.
    editor->setBeforeWrite([this] {
        // For the write that follows at once, whether it succeeds or not.
        sheetSettled = mayReplaceSheet();
        QTimer::singleShot(0, this, [this] { sheetSettled = false; });
        return sheetSettled;
    });
    connect(editor, &EditPad::savedAs, this, &FileCommands::openThisFile);
    editor->show();
    return editor;
}

void FileCommands::newFile()
{
    showEditor(QString());
}

void FileCommands::openFile()
{
    const QString file = Prompts::current().openFileName(
        window, tr("Importuj opisy"), Prompts::startFolder(Settings::Folder::Descriptions, pathToFile),
        QStringLiteral("*.txt;;*.dat"));
    // A cancelled dialog changes nothing: the file shown stays the one the
    // title names and the editor opens.
    if (file.isEmpty() || !mayReplaceSheet())
        return;
    // A spreadsheet picked here goes through its own dialog.
    FileLook look = FileLook::at(file);
    if (WorkbookFile::formatOf(file) || WorkbookCheck::isOldExcel(look))
        importSheet(look, true);
    else
        importDescriptions(file, &look);
}

bool FileCommands::importDescriptions(const QString &file, FileLook *look)
{
    // A refused or declined file leaves the sheet, its fonts and the title as
    // they were; a new file starts every field in the default font. What the
    // status bar said about the last read goes; the sheet says what there is
    // to say about this one.
    statusBar()->clearMessage();
    preview->filePath = file;
    if (!preview->readFile(false, look))
        return false;
    pathToFile = file;
    sheets.forgetSheet();
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

void FileCommands::saveFile()
{
    preview->exportDescriptions();
}

void FileCommands::openThisFile(QString file)
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
void FileCommands::openEditor()
{
    // A workbook is no text to edit: the editor starts empty.
    showEditor(WorkbookFile::formatOf(pathToFile) ? QString() : pathToFile);
}

void FileCommands::fillRecentMenu()
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

void FileCommands::openRecentFile(const QString &path)
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
