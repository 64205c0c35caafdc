#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

// A spreadsheet as the program reads it: every sheet's cells as the texts a
// user sees in them, and how those cells become field texts (SheetMapping).
//
// Rows and columns count from 0 here; addresses shown to the user are the
// spreadsheet's own ("C14": column C, row 14). A row holds its cells up to
// its last non-empty one, and a sheet its rows up to its last non-empty one:
// the empty tail of a sheet is not there at all.
// A cell holding a formula but not its result, as programs that write
// workbooks without calculating them (openpyxl and the like) save one: the
// sheet has it empty. `formula` ("=B1*2", cut to
// WorkbookFile::maxShownName) is kept for the first maxKeptFormulas of a
// sheet only; the others are their address alone.
struct FormulaCell
{
    qint32 row = 0;
    qint32 column = 0;
    QString formula;
};

struct WorkbookSheet
{
    QString name;
    QList<QStringList> rows;
    // The cells with a formula and no result, in reading order.
    QList<FormulaCell> formulaCells = {};
    static constexpr qsizetype maxKeptFormulas = 1'000;

    QString cell(qsizetype row, qsizetype column) const
    {
        return row >= 0 && row < rows.size() ? rows.at(row).value(column) : QString();
    }
    // One more than the last column holding a cell in any row.
    qsizetype columnCount() const;
};

struct Workbook
{
    QList<WorkbookSheet> sheets;
    // Delimited text: the delimiter used (',' ';' or '\t'); 0 for workbooks.
    char delimiter = 0;
    // Delimited text read as UTF-8 (else Windows-1250).
    bool utf8 = false;

    qsizetype indexOf(const QString &sheetName) const;
};

namespace CellAddress {
// "A", "B", ..., "Z", "AA", ... for column 0, 1, ...
QString columnName(qsizetype column);
// The column of "A", "c", "AB" (letters only); none for anything else or
// past the last column a workbook may have.
std::optional<int> column(QStringView letters);
// "Arkusz1!C14" for row 13, column 2 of the sheet "Arkusz1".
QString address(const QString &sheet, qsizetype row, qsizetype column);
// "B-I" or "B" as a first and last column; none when malformed or backwards.
std::optional<std::pair<int, int>> columnRange(QStringView text);
} // namespace CellAddress

// How a sheet's cells become field texts.
//
//   Rows:    one row a barette: the header from headerColumn, the labels
//            from firstLabel..lastLabel, top to bottom. A row whose chosen
//            cells are all empty is skipped, or kept as an empty barette.
//   Column:  one column top to bottom, one field a cell, as the lines of a
//            descriptions file: empty cells are empty fields, down to the
//            column's last non-empty cell.
//
// With firstRowHeadings the sheet's first row is not read (either layout).
struct SheetMapping
{
    enum class Layout { Rows, Column };

    Layout layout = Layout::Column;
    QString sheet;   // empty: the first
    int headerColumn = 0;
    int firstLabel = 1;
    int lastLabel = 8;
    int column = 0;
    bool keepEmptyRows = false;
    bool firstRowHeadings = false;
    char delimiter = 0;   // delimited text: 0 detects it

    int labelColumns() const { return lastLabel - firstLabel + 1; }
    bool operator==(const SheetMapping &) const = default;

    // One line for the settings ("rows;Arkusz1;A;B-I;skip;data;;"), and back;
    // none when the line is not one this writes.
    QString toString() const;
    static std::optional<SheetMapping> fromString(QStringView text);
};

namespace SheetImport {

// The mapping a sheet most likely wants: with several columns filled, a row
// a barette (header A, labels B onwards, at most 15); else column A.
SheetMapping guessMapping(const WorkbookSheet &sheet);

// A cell holding a character Windows-1250 cannot hold: its address and the
// character (the first such in the cell).
struct BadCell
{
    qsizetype row = 0;
    qsizetype column = 0;
    char32_t character = 0;
};

// The fields of `sheet` under `mapping`, in field id order. In the Rows
// layout every barette has `labelsPerBarette` labels: label columns beyond
// them are not read (the caller asks first), missing ones are empty. Every
// "@" is a line break already, as the descriptions file will give it back
// (DescriptionsFile::asRead), so that a saved sheet reopens as imported.
QStringList texts(const WorkbookSheet &sheet, const SheetMapping &mapping, int labelsPerBarette);

// The cells `mapping` reads that Windows-1250 cannot hold, or that hold a NUL
// (which would end the field's line in the descriptions file), in reading
// order, at most `limit` of them; `total` gets how many there are in all.
QList<BadCell> unencodable(const WorkbookSheet &sheet, const SheetMapping &mapping, qsizetype limit = 50,
                           qsizetype *total = nullptr);
// "Arkusz1!C14: „✓” (U+2713)"
QString describe(const WorkbookSheet &sheet, const BadCell &cell);

// A cell holding characters that mean something else on a label: "@" is a
// line break, "#" "$" "^" "&" are printed as symbol pairs by the symbol font.
// `characters` are the ones found, each once, in the order of `specialCharacters`.
struct MarkedCell
{
    qsizetype row = 0;
    qsizetype column = 0;
    QString characters;
};
inline constexpr QStringView specialCharacters = u"@#$^&";
// The cells `mapping` reads that hold such characters, in reading order, at
// most `limit` of them; `total` gets how many there are in all.
QList<MarkedCell> marked(const WorkbookSheet &sheet, const SheetMapping &mapping, qsizetype limit = 50,
                         qsizetype *total = nullptr);
// The cells `mapping` would read that hold a formula without its result
// (cells the Rows layout passes over as empty included), in reading order,
// at most `limit` of them; `total` gets how many there are in all.
QList<FormulaCell> uncalculated(const WorkbookSheet &sheet, const SheetMapping &mapping, qsizetype limit = 50,
                                qsizetype *total = nullptr);
// "Arkusz1!C14: =B1*2"
QString describe(const WorkbookSheet &sheet, const FormulaCell &cell);
// "Arkusz1!C14: „@” → nowa linia, „#” → symbol (kwadraty)"
QString describe(const WorkbookSheet &sheet, const MarkedCell &cell);
// What a special character becomes on the label, in words ("nowa linia").
QString meaning(QChar special);
// `text` with every character Windows-1250 cannot hold (a surrogate pair
// counting as one) and every NUL made "?".
QString replaceUnencodable(const QString &text);

} // namespace SheetImport

namespace SheetExport {
// The sheet's texts as delimited text: one row a barette (the header, then
// the labels), ";" between cells, CR LF after each row, cells with ";", a
// quote, a line break or a space at either end in quotes (quotes doubled),
// line breaks kept inside them; UTF-8 with a byte order mark, which is what
// spreadsheet programs take for UTF-8.
QByteArray csv(const QStringList &fieldTexts, int labelsPerBarette);
} // namespace SheetExport
