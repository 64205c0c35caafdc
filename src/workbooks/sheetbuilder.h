#pragma once

// A sheet built from cells in reading order, bounded by the file's cell
// budget, and the table of recent texts that lets equal cells share one
// string.
#include "workbooks/readsupport.h"
#include "workbooks/workbook.h"
#include "workbooks/workbookfile.h"

#include <QString>
#include <QStringList>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <vector>

namespace WorkbookFile {

// ------------------------------------------------------------------ sheet
//
// Builds a sheet from cells given in reading order, keeping empty runs as
// counts until something follows them: a run of empty cells or rows at the
// end of a sheet, however long it claims to be, costs nothing.
class SheetBuilder
{
    Q_DECLARE_TR_FUNCTIONS(WorkbookFile)

public:
    SheetBuilder(QString name, qsizetype *cellBudget)
        : budget(cellBudget)
    {
        sheet.name = std::move(name);
    }

    // The cell at the next column of the row being built, `repeat` times.
    bool addCell(const QString &text, qsizetype repeat, QString *why)
    {
        if (text.isEmpty()) {
            pendingColumns = std::min<qsizetype>(pendingColumns + repeat, maxColumns + 1);
            return true;
        }
        if (row.size() + pendingColumns + repeat > maxColumns) {
            *why = tr("kolumn jest więcej niż %1").arg(maxColumns);
            return false;
        }
        if (!spend(pendingColumns + repeat, why))
            return false;
        for (; pendingColumns > 0; --pendingColumns)
            row.append(QString());
        for (qsizetype k = 0; k < repeat; ++k)
            row.append(text);
        return true;
    }
    // What number formats add to a cell's own text ("Nr "@, "0.00 zł")
    // draws on the budget too: a cell for every maxFormatted characters.
    bool spendOnFormats(qsizetype added, QString *why)
    {
        if (added < maxFormatted)
            return true;
        *budget -= added / maxFormatted;
        if (*budget >= 0)
            return true;
        *why = tr("formaty liczb wydłużają teksty komórek o więcej niż %1 znaków").arg(maxCells * maxFormatted);
        return false;
    }
    // The cell at the next column holds `formula` ("=B1*2", as written) but
    // not its result: it is kept empty, and named in formulaCells.
    bool addFormulaCell(const QString &formula, QString *why)
    {
        if (!spend(1, why))
            return false;
        FormulaCell cell{qint32(sheet.rows.size() + pendingRows), qint32(nextColumn()), QString()};
        if (sheet.formulaCells.size() < WorkbookSheet::maxKeptFormulas)
            cell.formula = shown(formula);
        sheet.formulaCells.append(std::move(cell));
        return addCell(QString(), 1, why);
    }
    // Skips to column `column` (from 0) of the row being built.
    void skipTo(qsizetype column) { pendingColumns = column - row.size(); }
    qsizetype nextColumn() const { return row.size() + pendingColumns; }

    // The flag that stops the read() under way on this thread.
    static inline thread_local const std::atomic<bool> *cancelled = nullptr;

    // Ends the row being built, which stands `repeat` times.
    bool endRow(qsizetype repeat, QString *why)
    {
        if (cancelled && cancelled->load(std::memory_order_relaxed)) {
            *why = QString();
            return false;
        }
        pendingColumns = 0;
        if (row.isEmpty()) {
            pendingRows = std::min<qsizetype>(pendingRows + repeat, maxRows + 1);
            return true;
        }
        if (sheet.rows.size() + pendingRows + repeat > maxRows) {
            *why = tr("wierszy jest więcej niż %1").arg(maxRows);
            return false;
        }
        if (repeat > 1 && !spend(row.size() * (repeat - 1), why))
            return false;
        for (; pendingRows > 0; --pendingRows)
            sheet.rows.append(QStringList());
        // The row kept at its size; the one being built keeps its room for
        // the next row.
        const QStringList kept(row.cbegin(), row.cend());
        for (qsizetype k = 0; k < repeat; ++k)
            sheet.rows.append(kept);
        row.resize(0);
        return true;
    }
    // Skips to row `index` (from 0).
    void skipRowsTo(qsizetype index) { pendingRows = index - sheet.rows.size(); }
    qsizetype nextRow() const { return sheet.rows.size() + pendingRows; }
    const QString &name() const { return sheet.name; }

    WorkbookSheet take() { return std::move(sheet); }

private:
    bool spend(qsizetype cells, QString *why)
    {
        *budget -= cells;
        if (*budget >= 0)
            return true;
        *why = tr("komórek jest więcej niż %1").arg(maxCells);
        return false;
    }

    WorkbookSheet sheet;
    QStringList row;
    qsizetype pendingColumns = 0;
    qsizetype pendingRows = 0;
    qsizetype *budget;
};

// A whole number from an attribute, at least 1; `ok` false when it is no
// number at all. Runs longer than any sheet are cut to just past it.
inline qsizetype repeatCount(QStringView value, bool *ok)
{
    *ok = true;
    if (value.isEmpty())
        return 1;
    qulonglong n = value.toULongLong(ok);
    if (!*ok) {
        // Longer than 20 digits is still a number, just a large one.
        bool digits = !value.isEmpty() && std::all_of(value.begin(), value.end(), [](QChar c) { return c.isDigit(); });
        *ok = digits;
        n = qulonglong(maxRows) * 2;
    }
    if (n == 0)
        *ok = false;
    return qsizetype(std::min<qulonglong>(n, qulonglong(maxRows) * 2));
}

// Sheets repeat their texts ("Praca", "Awaria", ...): equal short cells
// share one string, which saves an allocation a cell and most of the memory
// of a large sheet. A small table indexed by a hash of the cell's bytes (as
// the file has them for delimited text, as expat gives them, UTF-8, for XML)
// remembers the last cell seen in each slot; another text in the same slot
// takes it over, so a sheet of all-different cells costs little more than
// making a string of each.
class RecentTexts
{
public:
    // The text of the bytes at `units`, made by make() when it is not in the table.
    template<typename Make>
    QString text(const char *units, qsizetype length, Make make)
    {
        if (length == 0)
            return QString();
        if (length > sharedLength)
            return make();
        if (table.empty())
            table.resize(size_t(1) << slotBits);
        quint64 hash = quint64(length) * 0x9E3779B97F4A7C15ull;
        for (qsizetype i = 0; i < length; ++i)
            hash = (hash ^ quint64(units[i])) * 0x100000001B3ull;
        Slot &slot = table[size_t((hash * 0x9E3779B97F4A7C15ull) >> (64 - slotBits))];
        if (slot.length == length && std::memcmp(slot.units, units, size_t(length)) == 0)
            return slot.text;
        std::memcpy(slot.units, units, size_t(length));
        slot.length = length;
        slot.text = make();
        return slot.text;
    }

private:
    static constexpr qsizetype sharedLength = 48;
    static constexpr int slotBits = 12;
    struct Slot
    {
        char units[sharedLength];
        qsizetype length = 0;
        QString text;
    };
    std::vector<Slot> table;
};

} // namespace WorkbookFile
