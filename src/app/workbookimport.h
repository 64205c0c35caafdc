#pragma once

#include "workbooks/workbook.h"

#include <QCoreApplication>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class FileLook;
class GbGeometry;
class Preview;
class QMainWindow;
class QStatusBar;

// The window's workbook import: "Importuj arkusz…" and a workbook opened
// otherwise, the mapping dialog and the questions after it (cells
// Windows-1250 cannot hold, formulas saved without results, the labels per
// barette, a large sheet), F5, the
// cells pasted from a spreadsheet, and the workbook a project's texts came
// from. It speaks in the window's words (the translation context MainWindow).
class WorkbookImport : public QObject
{
    Q_DECLARE_TR_FUNCTIONS(MainWindow)

public:
    // What the import asks of the window around it.
    struct Hooks
    {
        // Asks what to do with unsaved changes; false: keep the sheet.
        std::function<bool()> mayReplaceSheet;
        // Reads a descriptions file into the sheet (F5 on one).
        std::function<bool(const QString &)> importDescriptions;
        std::function<void()> updateWindowTitle;
    };

    // `pathToFile` and `pastedSheet` are the window's: the file the sheet
    // shows and whether it holds pasted cells, which its title says.
    WorkbookImport(QMainWindow *window, Preview *preview, GbGeometry *geometry, QString &pathToFile,
                   bool &pastedSheet, Hooks hooks);

    // "Importuj arkusz…": asks for a spreadsheet, then importSheet().
    void importSheetCommand();
    // Reads the spreadsheet at `path` and imports it with the mapping the
    // user chooses in the mapping dialog (or, without `ask`, the one
    // remembered for the file, or `known` when given); false when nothing
    // was imported.
    bool importSheet(const QString &path, bool ask, const std::optional<SheetMapping> &known = std::nullopt);
    // The same on the file a look opened (files/filelook.h): what the
    // command looked at is what is read.
    bool importSheet(FileLook &look, bool ask, const std::optional<SheetMapping> &known = std::nullopt);
    // "Wklej z arkusza": the cells on the clipboard through the mapping dialog.
    void pasteSheet();
    // "Wczytaj ponownie": the last spreadsheet with the mapping it was read
    // with, or the descriptions file shown.
    void reloadSheet();
    void projectSaved(const QString &project);
    void projectOpened(const QString &project);
    // Other texts were read into the sheet: F5 no longer reads the spreadsheet.
    void forgetSheet();

    // Where the sheet's texts came from, as far as F5 and the title need it:
    // the spreadsheet F5 reads again and its mapping (SheetMapping::toString(),
    // as the settings keep it), both empty when none, and whether the texts
    // are pasted cells.
    struct Source
    {
        QString workbook;
        QString mapping;
        bool pasted = false;
    };
    Source sheetSource() const;
    // A sheet brought back from a recovery copy came from `source`: F5 reads
    // that workbook again with that mapping (none when the mapping is not
    // one the settings take), and the title says pasted cells.
    void restoreSource(const Source &source);

private:
    // The mapping dialog for `book`, starting from `mapping`; false when cancelled.
    bool chooseMapping(Workbook &book, SheetMapping &mapping, const QString &title,
                       const std::function<std::optional<Workbook>(char)> &reread);
    // Imported; refused (said why); or a question after the mapping dialog
    // was cancelled, which goes back to the dialog.
    enum class SheetOutcome { Imported, Refused, Reconsider };
    // The cells of `book` under `mapping` into the sheet, after the
    // questions: the labels per barette, cells Windows-1250 cannot hold, a
    // large sheet. `source` is the file (empty: pasted cells).
    SheetOutcome applySheet(const Workbook &book, const SheetMapping &mapping, const QString &source);
    // The labels per barette for `columns` label columns, after asking to
    // change the geometry (5 to 15 columns) or to leave labels empty (fewer);
    // none when cancelled or refused.
    std::optional<int> labelsForColumns(int columns);
    // F5 on a project saved from a workbook: the workbook read again with its
    // mapping into the project's sheet, every field keeping its font.
    void rereadProjectSheet();
    // "1 kolumnę", "2 kolumny", "5 kolumn": the label columns a sheet has (accusative).
    static QString labelColumnsText(qint64 count);

    QStatusBar *statusBar() const;
    bool mayReplaceSheet() { return hooks.mayReplaceSheet(); }
    bool importDescriptions(const QString &file) { return hooks.importDescriptions(file); }
    void updateWindowTitle() { hooks.updateWindowTitle(); }

    QMainWindow *window;
    Preview *preview;
    GbGeometry *gbGeometry;
    QString &pathToFile;
    bool &pastedSheet;
    Hooks hooks;
    // The spreadsheet imported last (what F5 reads again).
    QString lastSheet;
    SheetMapping lastMapping;
    bool rereadingProject = false;
};
