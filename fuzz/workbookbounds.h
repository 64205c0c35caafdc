#pragma once

// What every workbook reader promises of what it read, whatever the bytes:
// no more rows, columns or characters in a cell than the program takes.

#include "workbooks/workbook.h"
#include "workbooks/workbookfile.h"

#include <cstdlib>

inline void abortUnlessWithinBounds(const WorkbookSheet &sheet)
{
    if (sheet.rows.size() > WorkbookFile::maxRows || sheet.columnCount() > WorkbookFile::maxColumns)
        std::abort();
    for (const QStringList &row : sheet.rows) {
        for (const QString &cell : row) {
            if (cell.size() > WorkbookFile::maxCellLength)
                std::abort();
        }
    }
}
