// Delimited text: any bytes read with each delimiter stay within the bounds,
// and a sheet written out as CSV reads back as the same cells.
//
// Input: the first byte chooses the delimiter (0 detects it), the rest is the file.

#include "workbookbounds.h"

#include "workbooks/workbook.h"
#include "workbooks/workbookfile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const char delimiters[] = {0, ';', ',', '\t'};
    const char delimiter = delimiters[data[0] % 4];
    const QByteArrayView bytes(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    Workbook book;
    QString error;
    if (!WorkbookFile::readDelimited(bytes, QStringLiteral("f.csv"), delimiter, book, &error)) {
        if (error.isEmpty() || !book.sheets.isEmpty())
            std::abort();
        return 0;
    }
    if (book.sheets.size() != 1)
        std::abort();
    const WorkbookSheet &sheet = book.sheets.first();
    abortUnlessWithinBounds(sheet);

    // Every row a barette of as many cells as the widest row: written out and
    // read back, the same texts (a CR alone in a cell is the one thing CSV
    // turns into a line break).
    const int width = int(sheet.columnCount());
    if (width < 2 || width > 16)
        return 0;
    SheetMapping m;
    m.layout = SheetMapping::Layout::Rows;
    m.firstLabel = 1;
    m.lastLabel = width - 1;
    m.keepEmptyRows = true;
    const QStringList texts = SheetImport::texts(sheet, m, width - 1);
    for (const QString &t : texts) {
        if (t.contains(QLatin1Char('\r')))
            return 0;
    }
    Workbook again;
    if (!WorkbookFile::readDelimited(SheetExport::csv(texts, width - 1), QStringLiteral("e.csv"), ';', again, &error))
        std::abort();
    QStringList back = SheetImport::texts(again.sheets.first(), m, width - 1);
    if (back != texts)
        std::abort();
    return 0;
}
