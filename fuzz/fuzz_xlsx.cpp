// Office Open XML workbooks: any bytes as the ZIP file, or as a worksheet
// part with a few shared strings, are read or refused with a message, never
// crash, and stay within the bounds.
//
// Input: the first byte chooses the ZIP file (even) or a worksheet part
// (odd), the rest is the bytes.

#include "workbookbounds.h"

#include "model/workbook.h"
#include "model/workbookfile.h"

#include <QBuffer>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    QBuffer buffer;
    buffer.setData(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    buffer.open(QIODevice::ReadOnly);
    QString error;
    if (data[0] % 2 == 0) {
        Workbook book;
        if (!WorkbookFile::readXlsx(buffer, QStringLiteral("f.xlsx"), book, &error)) {
            if (error.isEmpty() || !book.sheets.isEmpty())
                std::abort();
            return 0;
        }
        if (book.sheets.isEmpty())
            std::abort();
        for (const WorkbookSheet &sheet : std::as_const(book.sheets))
            abortUnlessWithinBounds(sheet);
        return 0;
    }
    WorkbookSheet sheet;
    sheet.name = QStringLiteral("xl/worksheets/sheet1.xml");
    const QStringList shared{QStringLiteral("Praca"), QStringLiteral("Awaria"), QString()};
    if (!WorkbookFile::readXlsxSheet(buffer, shared, QStringLiteral("f.xlsx"), sheet, &error)) {
        if (error.isEmpty())
            std::abort();
        return 0;
    }
    abortUnlessWithinBounds(sheet);
    return 0;
}
