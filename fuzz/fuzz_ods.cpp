// OpenDocument spreadsheets: any bytes as the ZIP file, or as its content.xml,
// are read or refused with a message, never crash, and stay within the bounds.
//
// Input: the first byte chooses the ZIP file (even) or content.xml alone
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
    Workbook book;
    QString error;
    const bool read = data[0] % 2 == 0 ? WorkbookFile::readOds(buffer, QStringLiteral("f.ods"), book, &error)
                                       : WorkbookFile::readOdsContent(buffer, QStringLiteral("f.ods"), book, &error);
    if (!read) {
        if (error.isEmpty())
            std::abort();   // a refusal always says why
        return 0;
    }
    if (book.sheets.isEmpty())
        std::abort();   // damage is never an empty workbook
    for (const WorkbookSheet &sheet : std::as_const(book.sheets))
        abortUnlessWithinBounds(sheet);
    return 0;
}
