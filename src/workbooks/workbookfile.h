#pragma once

#include "workbooks/numberformat.h"
#include "workbooks/workbook.h"

#include <QByteArrayView>
#include <QString>

#include <atomic>
#include <optional>
#include <vector>

class FileLook;
class QIODevice;

// The readers of spreadsheet files: OpenDocument spreadsheets (.ods),
// Office Open XML workbooks (.xlsx) and delimited text (.csv, .tsv, or any
// text file read as such).
//
// A workbook is outside input. Its ZIP container is read through QuaZip
// with every entry bounded (maxEntryBytes unpacked, maxTotalBytes for all
// read), encrypted entries and methods other than stored and deflated
// refused, duplicate entry names are damage; every XML part is streamed
// through expat in blocks (a DTD is refused, no external entity is ever
// fetched, elements nest at most maxDepth deep); rows, columns and cells are
// bounded per file (the cells and shared strings of all sheets together),
// and a repeated run of empty cells or rows at the end of a sheet costs
// nothing. Anything wrong is a refusal naming the file and the part (the
// entry, the cell or the XML line in it), never an empty sheet.
//
// What a cell gives is the text a user sees in it:
//   ODS   the cell's paragraphs (<text:s text:c="N"/> spaces, <text:tab/>,
//         <text:line-break/> and paragraph breaks as line breaks), comments
//         left out; table:number-columns-repeated / number-rows-repeated
//         expanded;
//   XLSX  shared strings (rich-text runs joined, phonetic runs left out),
//         inline strings, formula results, booleans as PRAWDA / FAŁSZ, cells
//         that skip columns or rows; numbers through their cell style's
//         number format (xl/styles.xml: a cell's s indexes cellXfs, whose
//         numFmtId is a built-in format or one of numFmts; see
//         workbooks/numberformat.h) in the interface language, General being
//         15 significant digits without a trailing ".0" and with the
//         language's decimal separator; dates from 1900 or, with
//         workbookPr date1904, from 1904; a text cell through its format's
//         text section ("Nr "@), an ISO date cell (t="d") through its date
//         format. A cell whose s is past the styles (or no number) has
//         style 0, as in Excel;
//   text  RFC 4180 through libcsv: quotes with doubled quotes, line breaks
//         inside quotes as line breaks, CR LF or LF rows, the delimiter
//         detected among ";" "," and tab when not given, UTF-8 (with or
//         without a byte order mark) or Windows-1250 told apart as for a
//         descriptions file, UTF-16 and UTF-32 by their byte order marks.
//         Nothing is trimmed. A quote left open to the end, and a file that
//         is no text (a ZIP, an old .xls, NUL bytes), are refused.
namespace WorkbookFile {

enum class Format { Ods, Xlsx, Delimited };

// By the file's name: .ods, .xlsx, .csv, .tsv; none for anything else.
std::optional<Format> formatOf(const QString &path);

// Bounds on what a file may make the program do.
constexpr qint64 maxEntryBytes = 256ll << 20;   // one unpacked ZIP entry
constexpr qint64 maxTotalBytes = 512ll << 20;   // all entries read from one file
constexpr qint64 maxTextBytes = 512ll << 20;    // a delimited text file
constexpr int maxZipEntries = 10'000;
constexpr int maxSheets = 1'000;
constexpr qsizetype maxRows = 1'048'576;        // as many as the spreadsheet programs have
constexpr qsizetype maxColumns = 16'384;
constexpr qsizetype maxCells = 20'000'000;      // non-empty cells kept of one file
constexpr qsizetype maxCellLength = 32'767;     // characters in one cell, as in the programs
constexpr qsizetype maxFormatted = 32;           // characters number formats add to the texts, per cell of the budget
constexpr int maxDepth = 256;                   // elements open at once in an XML part
constexpr qsizetype maxShownName = 100;         // characters of a name a message or a list shows

// Styles: at most this many cell styles (Excel has 64,000), number formats
// (Excel about 250) and characters in a format's code (Excel 255).
constexpr qsizetype maxCellStyles = 65'536;
constexpr qsizetype maxNumberFormats = 4'096;
constexpr qsizetype maxFormatCodeLength = 1'024;

// How an XLSX workbook shows its numbers: the number format of each cell
// style (cellXfs, by a cell's s) and the language and date system.
struct XlsxStyles
{
    std::vector<NumberFormat> cellFormats;
    NumberFormat::Context context;
};

// `name` (of a sheet, a part) as messages and lists show it: cut to
// maxShownName characters with "…".
QString shown(const QString &name);

// Reads the file at `path` as `format` (delimited text with `delimiter`, 0
// detecting it). On failure `error` says why in words for the user, naming
// the file, and `book` is empty. Once `cancelled` is set the read stops at
// the next row and fails (with no reason to show).
bool read(const QString &path, Format format, Workbook &book, QString *error, char delimiter = 0,
          const std::atomic<bool> *cancelled = nullptr);
// The same from the file `look` opened (files/filelook.h): the file the
// command looked at is the one read.
bool read(FileLook &look, Format format, Workbook &book, QString *error, char delimiter = 0,
          const std::atomic<bool> *cancelled = nullptr);

// The same from bytes in memory (the fuzz targets, the clipboard); `name`
// is what messages call the file.
bool readOds(QIODevice &zip, const QString &name, Workbook &book, QString *error);
bool readXlsx(QIODevice &zip, const QString &name, Workbook &book, QString *error);
bool readDelimited(QByteArrayView bytes, const QString &name, char delimiter, Workbook &book, QString *error);
// A block of cells copied from a spreadsheet program: tab-separated text.
// `cancelled`, when set, stops the read between rows (false, no error).
bool readPasted(const QString &text, Workbook &book, QString *error, const std::atomic<bool> *cancelled = nullptr);

// The XML of the parts alone, without their container (the fuzz targets).
// A workbook's cells and shared strings draw on one budget of maxCells
// (`cellBudget`, which they lessen; none: a budget of their own).
bool readOdsContent(QIODevice &xml, const QString &name, Workbook &book, QString *error);
bool readXlsxSheet(QIODevice &xml, const QStringList &sharedStrings, const QString &name, WorkbookSheet &sheet,
                   QString *error, qsizetype *cellBudget = nullptr, const XlsxStyles &styles = {});
// xl/styles.xml: the built-in formats in `styles.context.language`, which,
// with the date system, is left as it is.
bool readXlsxStyles(QIODevice &xml, const QString &name, XlsxStyles &styles, QString *error);
bool readXlsxSharedStrings(QIODevice &xml, const QString &name, QStringList &strings, QString *error,
                           qsizetype *cellBudget = nullptr);

// Whether `bytes` start as an OLE2 compound document (D0 CF 11 E0 A1 B1 1A
// E1): an old Excel .xls, or an Office file encrypted with a password.
bool isCompoundDocument(QByteArrayView bytes);

// The delimiter of delimited text among ';' ',' and tab: the one found in
// most of the first lines, the same number of times in each (outside quotes).
char detectDelimiter(QByteArrayView bytes);

} // namespace WorkbookFile
