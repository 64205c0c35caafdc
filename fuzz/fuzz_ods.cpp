// OpenDocument spreadsheets: any bytes as the ZIP file, as its content.xml
// alone, or as one XML part of a well-formed file packed around it, are read
// or refused with a message, never crash, and stay within the bounds.
//
// Input: the first byte chooses what the rest is: the ZIP file (even),
// content.xml alone (1), content.xml packed with a manifest (3),
// META-INF/manifest.xml packed with a content.xml (5 and every other odd
// byte). The packed modes get past the ZIP layer; fuzz_ods.dict has the
// format's names.

#include "workbookbounds.h"

#include "sheetfixtures.h"

#include "workbooks/workbook.h"
#include "workbooks/workbookfile.h"

#include <QBuffer>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const QByteArray rest(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    QByteArray bytes = rest;
    if (data[0] % 2 == 1 && data[0] != 1) {
        QByteArray content = SheetFixtures::odsContent(
            "<table:table table:name=\"A\"><table:table-row><table:table-cell><text:p>Praca</text:p>"
            "</table:table-cell></table:table-row></table:table>");
        QByteArray manifest = "<?xml version=\"1.0\"?><manifest:manifest "
                              "xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\"/>";
        (data[0] == 3 ? content : manifest) = rest;
        bytes = SheetFixtures::zip({{QStringLiteral("mimetype"), "application/vnd.oasis.opendocument.spreadsheet", 0},
                                    {QStringLiteral("content.xml"), content, 0},
                                    {QStringLiteral("META-INF/manifest.xml"), manifest, 0}});
    }
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    Workbook book;
    QString error;
    const bool read = data[0] == 1 ? WorkbookFile::readOdsContent(buffer, QStringLiteral("f.ods"), book, &error)
                                   : WorkbookFile::readOds(buffer, QStringLiteral("f.ods"), book, &error);
    if (!read) {
        if (error.isEmpty() || (data[0] != 1 && !book.sheets.isEmpty()))
            std::abort();   // a refusal always says why, and keeps nothing
        return 0;
    }
    if (book.sheets.isEmpty())
        std::abort();   // damage is never an empty workbook
    for (const WorkbookSheet &sheet : std::as_const(book.sheets))
        abortUnlessWithinBounds(sheet);
    return 0;
}
