#pragma once

#include "workbooks/workbook.h"

#include <QString>

#include <optional>

class FileLook;

// What is refused before or right after a spreadsheet is read, rather than
// printed as garbage:
// - an old Excel file (.xls, an OLE2 compound document: the eight bytes
//   D0 CF 11 E0 A1 B1 1A E1 at the start), under any name: no reader here
//   gives its cells as Excel shows them;
// - delimited text read with a delimiter that splits nothing (every row one
//   cell) while the mapping reads further columns: the file most likely uses
//   another delimiter, which is named.
namespace WorkbookCheck {

// Whether the regular file at `path` starts as a compound document. Reads
// eight bytes, never blocks on a FIFO or a device.
bool isOldExcel(const QString &path);
// The same by the first bytes a look at the file kept.
bool isOldExcel(const FileLook &look);
// "Plik lista.xls jest w starym formacie Excela (.xls): zapisz go jako .xlsx albo .ods."
QString oldExcelRefusal(const QString &path);

// Whether `sheet`, read as delimited text, has no row of more than one cell
// while `mapping` reads a column past A.
bool delimiterSplitsNothing(const WorkbookSheet &sheet, const SheetMapping &mapping);
// The delimiter the file at `path` seems to use, judged on its first 64 KiB;
// none when it is `used` or none is found.
std::optional<char> likelyDelimiter(const QString &path, char used);
// ";", "," or "tab": as --delimiter takes it.
QString delimiterName(char delimiter);

} // namespace WorkbookCheck
