#pragma once

#include "workbooks/workbook.h"

#include <QDialog>
#include <QHash>

#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTableWidget;

// "Importuj arkusz": how a spreadsheet's cells become the sheet's fields.
// The first rows of the chosen sheet as read, and the two layouts:
// "Wiersz = bareta" (a header column and a range of label columns, e.g.
// "B-I", or picked by clicks on the column heads: a click chooses the header
// column, a click with Shift the last label column) and "Kolumna = kolejne
// pola" (one column, one field a cell). The chosen columns are tinted; under
// the grid the dialog says how many barettes the mapping makes, or why it
// cannot be imported (then "Importuj" is off), which cells hold "@" (a
// line break on the label) or a symbol character, and what they become, and
// which hold a formula saved without its result (imported empty, if at all).
// Another sheet chosen gets its own layout: the one guessed for it, or the
// one the user left it with.
class SheetImportDialog : public QDialog
{
    Q_OBJECT

public:
    // `reread` reads the file again with another delimiter (delimited text
    // only; null hides the choice). `labelsPerBarette` is the geometry's.
    SheetImportDialog(Workbook book, const QString &title, const SheetMapping &initial, int labelsPerBarette,
                      std::function<std::optional<Workbook>(char)> reread, QWidget *parent = nullptr);

    SheetMapping mapping() const;
    const Workbook &workbook() const { return book; }

    // How many rows of the sheet the grid shows.
    static constexpr int shownRows = 40;
    static constexpr int shownColumns = 60;

    // The most label columns a barette can have.
    static constexpr int maxLabelColumns = 15;

private:
    void fillSheet();
    // Sets the layout controls to `m` (its sheet is the one shown).
    void setControls(const SheetMapping &m);
    void updateState();
    void columnHeadClicked(int column);
    // Lists the cells the mapping reads that hold "@" or a symbol character.
    void showMarkedCells(const WorkbookSheet &sheet, const SheetMapping &m);
    // Lists the cells the mapping reads that hold a formula saved without
    // its result, with the advice to open and save the workbook.
    void showFormulaCells(const WorkbookSheet &sheet, const SheetMapping &m);
    const WorkbookSheet &currentSheet() const;

    Workbook book;
    int labels;
    std::function<std::optional<Workbook>(char)> reread;
    QComboBox *cbSheet = nullptr;
    QComboBox *cbDelimiter = nullptr;
    QRadioButton *rbRows = nullptr;
    QRadioButton *rbColumn = nullptr;
    QComboBox *cbHeaderColumn = nullptr;
    QLineEdit *leLabelColumns = nullptr;
    QComboBox *cbColumn = nullptr;
    QCheckBox *cbKeepEmpty = nullptr;
    QCheckBox *cbHeadings = nullptr;
    QTableWidget *grid = nullptr;
    QLabel *lbSummary = nullptr;
    QLabel *lbMarked = nullptr;
    QLabel *lbFormulas = nullptr;
    QDialogButtonBox *buttons = nullptr;
    bool updating = false;
    // The mapping each sheet shown was left with, by index: chosen again
    // when the user comes back to it; a sheet not shown yet gets the layout
    // guessed for it.
    QHash<int, SheetMapping> leftWith;
};
