// Office Open XML workbooks: any bytes as the ZIP file, as a worksheet part
// alone, or as one XML part of a well-formed workbook packed around it, are
// read or refused with a message, never crash, and stay within the bounds.
//
// Input: the first byte chooses what the rest is: the ZIP file (even), a
// worksheet part with three shared strings (1), or, packed with the other
// parts of a small workbook, xl/workbook.xml (3), its relationships (5),
// xl/sharedStrings.xml (7), xl/worksheets/sheet1.xml (9), xl/styles.xml (11,
// and every other odd byte). The packed modes reach the XML readers of every
// part with inputs that get past the ZIP layer; fuzz_xlsx.dict has the
// formats' names.

#include "workbookbounds.h"

#include "sheetfixtures.h"

#include "workbooks/workbook.h"
#include "workbooks/workbookfile.h"

#include <QBuffer>

#include <cstdint>
#include <cstdlib>

namespace {

// A workbook of one sheet with one shared string, `part` replaced by `xml`.
QByteArray packedAround(const QString &part, const QByteArray &xml)
{
    QList<SheetFixtures::Entry> entries{
        {QStringLiteral("xl/workbook.xml"),
         "<?xml version=\"1.0\"?><workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
         "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"><sheets>"
         "<sheet name=\"A\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>",
         0},
        {QStringLiteral("xl/_rels/workbook.xml.rels"),
         "<?xml version=\"1.0\"?><Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
         "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet\" "
         "Target=\"worksheets/sheet1.xml\"/><Relationship Id=\"rId2\" "
         "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings\" "
         "Target=\"sharedStrings.xml\"/><Relationship Id=\"rId3\" "
         "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles\" "
         "Target=\"styles.xml\"/></Relationships>",
         0},
        {QStringLiteral("xl/sharedStrings.xml"), SheetFixtures::xlsxShared("<si><t>Praca</t></si>"), 0},
        {QStringLiteral("xl/worksheets/sheet1.xml"),
         SheetFixtures::xlsxSheet("<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\" s=\"1\"><v>1.5</v></c></row>"), 0},
        {QStringLiteral("xl/styles.xml"),
         "<?xml version=\"1.0\"?><styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
         "<numFmts count=\"1\"><numFmt numFmtId=\"164\" formatCode=\"0.00\"/></numFmts><cellXfs count=\"2\">"
         "<xf numFmtId=\"0\"/><xf numFmtId=\"164\"/></cellXfs></styleSheet>",
         0},
    };
    for (SheetFixtures::Entry &e : entries) {
        if (e.name == part)
            e.bytes = xml;
    }
    return SheetFixtures::zip(entries);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const QByteArray rest(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    QString error;
    if (data[0] == 1) {
        QBuffer buffer;
        buffer.setData(rest);
        buffer.open(QIODevice::ReadOnly);
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
    static const QString parts[] = {QStringLiteral("xl/workbook.xml"), QStringLiteral("xl/_rels/workbook.xml.rels"),
                                    QStringLiteral("xl/sharedStrings.xml"), QStringLiteral("xl/worksheets/sheet1.xml"),
                                    QStringLiteral("xl/styles.xml")};
    QBuffer buffer;
    buffer.setData(data[0] % 2 == 0 ? rest : packedAround(parts[std::min<size_t>(data[0] / 2 - 1, 4)], rest));
    buffer.open(QIODevice::ReadOnly);
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
