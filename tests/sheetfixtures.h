#pragma once

// Small spreadsheet files made from XML written by hand, packed with QuaZip:
// the parts and namespaces as LibreOffice Calc (ODS) and Microsoft Excel
// (XLSX) write them, with only what the reader looks at. Used by the tests
// and the benchmarks.

#include <QBuffer>
#include <QByteArray>
#include <QList>
#include <QString>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>

#include <utility>

namespace SheetFixtures {

struct Entry
{
    QString name;
    QByteArray bytes;
    int method = Z_DEFLATED;
    const char *password = nullptr;
};

inline QByteArray zip(const QList<Entry> &entries)
{
    QByteArray out;
    QBuffer buffer(&out);
    QuaZip archive(&buffer);
    if (!archive.open(QuaZip::mdCreate))
        qFatal("cannot make a ZIP");
    for (const Entry &e : entries) {
        QuaZipFile file(&archive);
        const quint32 crc = quint32(::crc32(0, reinterpret_cast<const Bytef *>(e.bytes.constData()), uInt(e.bytes.size())));
        const bool raw = e.method != 0 && e.method != Z_DEFLATED;
        if (!file.open(QIODevice::WriteOnly, QuaZipNewInfo(e.name), e.password, crc, e.method, 1, raw))
            qFatal("cannot add %s", qPrintable(e.name));
        file.write(e.bytes);
        file.close();
    }
    archive.close();
    return out;
}

// An ODS file as LibreOffice Calc writes one: `tables` is the XML of the
// <table:table> elements.
inline QByteArray odsContent(const QByteArray &tables)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<office:document-content xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
           "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
           "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" "
           "xmlns:dc=\"http://purl.org/dc/elements/1.1/\" office:version=\"1.3\">"
           "<office:body><office:spreadsheet>"
           + tables + "</office:spreadsheet></office:body></office:document-content>";
}

inline QByteArray ods(const QByteArray &tables)
{
    return zip({{QStringLiteral("mimetype"), "application/vnd.oasis.opendocument.spreadsheet", 0},
                {QStringLiteral("content.xml"), odsContent(tables)},
                {QStringLiteral("META-INF/manifest.xml"),
                 "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<manifest:manifest "
                 "xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\"><manifest:file-entry "
                 "manifest:full-path=\"content.xml\" manifest:media-type=\"text/xml\"/></manifest:manifest>"}});
}

// A worksheet part as Excel writes one: `rows` is the XML of the <row>s.
inline QByteArray xlsxSheet(const QByteArray &rows)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
           "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
           "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
           "<dimension ref=\"A1\"/><sheetData>"
           + rows + "</sheetData></worksheet>";
}

inline QByteArray xlsxShared(const QByteArray &items)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
           "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
           + items + "</sst>";
}

// An XLSX workbook as Excel writes one: each sheet is a name and its rows'
// XML; `shared` the <si> items of the shared strings (none: no such part);
// `styles` what <styleSheet> holds (none: no such part); `properties` the
// workbook's <workbookPr/>.
inline QByteArray xlsx(const QList<std::pair<QString, QByteArray>> &sheets, const QByteArray &shared = {},
                       const QByteArray &styles = {}, const QByteArray &properties = {})
{
    QByteArray book = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                      "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
                      "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
                      + properties + "<sheets>";
    QByteArray rels = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                      "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
    // The content types and the package's relationships, which other
    // programs (LibreOffice) need to open the file.
    const QByteArray type = "application/vnd.openxmlformats-officedocument.spreadsheetml.";
    QByteArray types = "<?xml version=\"1.0\"?><Types "
                       "xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                       "<Default Extension=\"rels\" "
                       "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
                       "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
                       "<Override PartName=\"/xl/workbook.xml\" ContentType=\""
                       + type + "sheet.main+xml\"/>";
    QList<Entry> entries{{QStringLiteral("_rels/.rels"),
                          "<?xml version=\"1.0\"?><Relationships "
                          "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"><Relationship "
                          "Id=\"rId1\" "
                          "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
                          "Target=\"xl/workbook.xml\"/></Relationships>"}};
    for (qsizetype i = 0; i < sheets.size(); ++i) {
        const QByteArray n = QByteArray::number(i + 1);
        // Excel numbers its relationships from the sheets' order in the file.
        book += "<sheet name=\"" + sheets.at(i).first.toUtf8() + "\" sheetId=\"" + n + "\" r:id=\"rId" + n + "\"/>";
        rels += "<Relationship Id=\"rId" + n
                + "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet\" "
                  "Target=\"worksheets/sheet"
                + n + ".xml\"/>";
        entries.append({QStringLiteral("xl/worksheets/sheet%1.xml").arg(i + 1), xlsxSheet(sheets.at(i).second)});
        types += "<Override PartName=\"/xl/worksheets/sheet" + n + ".xml\" ContentType=\"" + type + "worksheet+xml\"/>";
    }
    if (!shared.isNull()) {
        rels += "<Relationship Id=\"rIdS\" "
                "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings\" "
                "Target=\"sharedStrings.xml\"/>";
        entries.append({QStringLiteral("xl/sharedStrings.xml"), xlsxShared(shared)});
        types += "<Override PartName=\"/xl/sharedStrings.xml\" ContentType=\"" + type + "sharedStrings+xml\"/>";
    }
    if (!styles.isNull()) {
        rels += "<Relationship Id=\"rIdT\" "
                "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles\" "
                "Target=\"styles.xml\"/>";
        types += "<Override PartName=\"/xl/styles.xml\" ContentType=\"" + type + "styles+xml\"/>";
        entries.append({QStringLiteral("xl/styles.xml"),
                        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<styleSheet "
                        "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
                            + styles + "</styleSheet>"});
    }
    entries.append({QStringLiteral("[Content_Types].xml"), types + "</Types>"});
    entries.append({QStringLiteral("xl/workbook.xml"), book + "</sheets></workbook>"});
    entries.append({QStringLiteral("xl/_rels/workbook.xml.rels"), rels + "</Relationships>"});
    return zip(entries);
}

} // namespace SheetFixtures
