// Spreadsheets read as label lists: what a cell gives in each format, the two
// mappings, the cells Windows-1250 cannot hold, the CSV export read back, and
// workbooks made to hurt.

#include "workbooks/workbook.h"
#include "workbooks/workbookfile.h"

#include "sheetfixtures.h"
#include "testfiles.h"

#include <QBuffer>
#include <QTest>

#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

using SheetFixtures::ods;
using SheetFixtures::xlsx;

// A file another program writes to while it is read: once armed, the first
// read of the file named `growing` appends a line to it.
static QByteArray growing;

extern "C" ssize_t read(int fd, void *buffer, size_t count)
{
    using Read = ssize_t (*)(int, void *, size_t);
    static const auto real = reinterpret_cast<Read>(dlsym(RTLD_NEXT, "read"));
    const ssize_t got = real(fd, buffer, count);
    if (!growing.isEmpty() && got > 0) {
        char target[4096];
        const ssize_t n = ::readlink(QByteArray("/proc/self/fd/" + QByteArray::number(fd)).constData(), target,
                                     sizeof target);
        if (n > 0 && QByteArray(target, n) == growing) {
            growing.clear();
            const int out = ::open(target, O_WRONLY | O_APPEND);
            [[maybe_unused]] const ssize_t written = ::write(out, "x;y\n", 4);
            ::close(out);
        }
    }
    return got;
}

namespace {

// Rows as "a|b" lines, so that a failure shows the sheet.
QString shown(const WorkbookSheet &sheet)
{
    QStringList lines;
    for (const QStringList &row : sheet.rows)
        lines.append(row.join(QLatin1Char('|')));
    return lines.join(QLatin1String("\n"));
}

bool readBytes(const QByteArray &bytes, WorkbookFile::Format format, Workbook &book, QString *error)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    switch (format) {
    case WorkbookFile::Format::Ods:
        return WorkbookFile::readOds(buffer, QStringLiteral("lista.ods"), book, error);
    case WorkbookFile::Format::Xlsx:
        return WorkbookFile::readXlsx(buffer, QStringLiteral("lista.xlsx"), book, error);
    case WorkbookFile::Format::Delimited:
        break;
    }
    return WorkbookFile::readDelimited(bytes, QStringLiteral("lista.csv"), 0, book, error);
}

QByteArray odsTable(const QByteArray &rows)
{
    return "<table:table table:name=\"Arkusz1\"><table:table-column table:number-columns-repeated=\"1024\"/>" + rows
           + "</table:table>";
}

// An XLSX file whose workbook lists `sheets` (<sheet> elements) and whose
// relationships are `relationships`, with the parts `more`.
QByteArray xlsxParts(const QByteArray &sheets, const QByteArray &relationships, QList<SheetFixtures::Entry> more,
                     const QByteArray &workbookStart = "<workbook")
{
    more.append({QStringLiteral("xl/workbook.xml"),
                 "<?xml version=\"1.0\"?>\n" + workbookStart
                     + " xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
                       "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"><sheets>"
                     + sheets + "</sheets></workbook>"});
    more.append({QStringLiteral("xl/_rels/workbook.xml.rels"),
                 "<?xml version=\"1.0\"?>\n<Relationships "
                 "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                     + relationships + "</Relationships>"});
    return SheetFixtures::zip(more);
}

QByteArray worksheetRelationship(const QByteArray &id, const QByteArray &target)
{
    return "<Relationship Id=\"" + id
           + "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet\" Target=\""
           + target + "\"/>";
}

// `depth` elements each inside the one before.
QByteArray nested(int depth)
{
    return QByteArray("<x>").repeated(depth) + QByteArray("</x>").repeated(depth);
}

// A text as "Unicode text" of the spreadsheet programs: UTF-16 little-endian
// with a byte order mark.
QByteArray utf16(const QString &text)
{
    return QByteArray("\xFF\xFE")
           + QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * qsizetype(sizeof(char16_t)));
}

} // namespace

Q_DECLARE_METATYPE(WorkbookFile::Format)

class TestSpreadsheets : public QObject
{
    Q_OBJECT

private slots:
    void cellsGiveWhatTheUserSees_data()
    {
        using F = WorkbookFile::Format;
        QTest::addColumn<F>("format");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("rows");

        // LibreOffice Calc's content.xml.
        QTest::newRow("ods spaces, tab, line break, paragraphs, comment")
            << F::Ods
            << ods(odsTable("<table:table-row><table:table-cell office:value-type=\"string\"><text:p>a<text:s "
                            "text:c=\"3\"/>b<text:tab/>c<text:line-break/>d</text:p><text:p>e <text:span>f</text:span>"
                            "</text:p><office:annotation xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\">"
                            "<text:p>komentarz</text:p></office:annotation></table:table-cell></table:table-row>"))
            << QStringLiteral("a   b\tc\nd\ne f");
        QTest::newRow("ods repeated cells and rows, empty tail not kept")
            << F::Ods
            << ods(odsTable("<table:table-row table:number-rows-repeated=\"2\"><table:table-cell/>"
                            "<table:table-cell table:number-columns-repeated=\"2\"><text:p>x</text:p></table:table-cell>"
                            "<table:table-cell table:number-columns-repeated=\"16380\"/></table:table-row>"
                            "<table:table-row table:number-rows-repeated=\"3\"><table:table-cell/></table:table-row>"
                            "<table:table-row><table:table-cell><text:p>y</text:p></table:table-cell></table:table-row>"
                            "<table:table-row table:number-rows-repeated=\"1048570\"><table:table-cell "
                            "table:number-columns-repeated=\"16384\"/></table:table-row>"))
            << QStringLiteral("|x|x\n|x|x\n\n\n\ny");
        QTest::newRow("ods heading, covered cell; stray text and a table in a cell left out")
            << F::Ods
            << ods(odsTable("<table:table-row><table:table-cell>poza<text:h>H</text:h><table:table><table:table-row>"
                            "<table:table-cell><text:p>w</text:p></table:table-cell></table:table-row></table:table>"
                            "</table:table-cell><table:covered-table-cell><text:p>c</text:p></table:covered-table-cell>"
                            "</table:table-row>"))
            << QStringLiteral("H|c");
        // A cell as long as a cell may be, in two-byte characters: it crosses
        // the blocks the parser is fed, and its length is counted in
        // characters, not bytes.
        QTest::newRow("ods longest cell, across blocks, with an entity")
            << F::Ods
            << ods(odsTable("<table:table-row><table:table-cell><text:p>" + QString(32765, u'ą').toUtf8()
                            + "&amp;ą</text:p></table:table-cell></table:table-row>"))
            << QString(32765, u'ą') + QStringLiteral("&ą");
        // Excel's sheet XML, shared strings with a rich-text run and a phonetic one.
        QTest::newRow("xlsx shared, rich, inline, numbers, booleans, skipped cells")
            << F::Xlsx
            << xlsx({{QStringLiteral("Arkusz1"),
                      "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\" t=\"s\"><v>1</v></c>"
                      "<c r=\"D1\"><v>12</v></c><c r=\"E1\"><v>3.5</v></c><c r=\"F1\"><v>0.30000000000000004</v></c>"
                      "<c r=\"G1\" t=\"b\"><v>1</v></c></row>"
                      "<row r=\"3\"><c r=\"B3\" t=\"inlineStr\"><is><t xml:space=\"preserve\"> sam </t></is></c>"
                      "<c r=\"C3\" t=\"str\"><f>A1</f><v>Pompa</v></c><c r=\"D3\"><v>1E-3</v></c></row>"}},
                    "<si><t>Praca</t></si><si><r><t>Awa</t></r><r><rPr><b/></rPr><t xml:space=\"preserve\">ria "
                    "_x000D_\nB</t></r><rPh><t>x</t></rPh></si>")
            << QStringLiteral("Praca|Awaria \nB||12|3,5|0,3|PRAWDA\n\n| sam |Pompa|0,001");
        // General: the digits as written when they are 15 significant ones
        // or fewer, else the value rounded half away from zero to 15; an
        // exponent below -4 or from 15 up.
        QTest::newRow("xlsx General, written digits and rounded values")
            << F::Xlsx
            << xlsx({{QStringLiteral("Arkusz1"),
                      "<row><c><v>-0.0</v></c><c><v>000120.4500</v></c><c><v>-.5</v></c><c><v>0.0001</v></c>"
                      "<c><v>0.000012</v></c><c><v>123456789012345</v></c><c><v>1000000000000000</v></c>"
                      "<c><v>43795690708336.25</v></c><c><v>0.14285714285714285</v></c><c><v>-1.5E+300</v></c></row>"}})
            << QStringLiteral("0|120,45|-0,5|0,0001|1,2E-05|123456789012345|1E+15|43795690708336,3|0,142857142857143|"
                              "-1,5E+300");
        // Two-letter columns: AA follows Z, BA follows AZ.
        QTest::newRow("xlsx columns past Z")
            << F::Xlsx
            << xlsx({{QStringLiteral("Arkusz1"),
                      "<row r=\"1\"><c r=\"A1\"><v>1</v></c><c r=\"Z1\"><v>26</v></c><c r=\"AA1\"><v>27</v></c></row>"
                      "<row r=\"3\"><c r=\"AZ3\"><v>52</v></c><c r=\"BA3\"><v>53</v></c></row>"}})
            << QStringLiteral("1") + QString(25, u'|') + QStringLiteral("26|27\n\n") + QString(51, u'|')
                   + QStringLiteral("52|53");
        QTest::newRow("xlsx text below <v>; what is not a row or a cell passed over with all inside it")
            << F::Xlsx
            << xlsx({{QStringLiteral("Arkusz1"),
                      "<row><c><v>1<x>2</x></v></c><extLst><c><v>9</v></c></extLst><c t=\"inlineStr\"><is><r><t>a</t>"
                      "</r><rPh><t>x</t></rPh><t>b</t></is></c></row><ext><row><c><v>7</v></c></row></ext>"}})
            << QStringLiteral("12|ab");
        // Numbers through their formats, the styles part as LibreOffice Calc
        // writes it (a Polish dd.mm.yyyy is its "dd/mm/yyyy"), the cells as
        // LibreOffice shows them; a style past the list is style 0, a text
        // shows its format's text section, an ISO date cell its date format.
        QTest::newRow("xlsx number formats, LibreOffice's styles")
            << F::Xlsx
            << xlsx({{QStringLiteral("Arkusz1"),
                      "<row r=\"1\"><c r=\"A1\" s=\"1\" t=\"n\"><v>45366</v></c><c r=\"B1\" s=\"2\" t=\"n\"><v>0.5</v></c>"
                      "<c r=\"C1\" s=\"3\" t=\"n\"><v>0.75</v></c><c r=\"D1\" s=\"4\" t=\"n\"><v>1.1</v></c>"
                      "<c r=\"E1\" s=\"5\" t=\"n\"><v>7</v></c><c r=\"F1\" s=\"6\" t=\"n\"><v>1000000</v></c>"
                      "<c r=\"G1\" s=\"7\" t=\"n\"><v>12.5</v></c><c r=\"H1\" s=\"8\" t=\"n\"><v>12.5</v></c>"
                      "<c r=\"I1\" s=\"9\" t=\"n\"><v>-2.5</v></c><c r=\"J1\" s=\"11\" t=\"n\"><v>1.1</v></c>"
                      "<c r=\"K1\" s=\"12\" t=\"n\"><v>3.5</v></c><c r=\"L1\" s=\"10\" t=\"s\"><v>0</v></c>"
                      "<c r=\"M1\" s=\"1\" t=\"d\"><v>2024-03-15</v></c><c r=\"N1\" s=\"4\" t=\"n\"><v>1.1</v></c></row>"}},
                    "<si><t>abc</t></si>",
                    "<numFmts count=\"12\"><numFmt numFmtId=\"164\" formatCode=\"General\"/><numFmt numFmtId=\"165\" "
                    "formatCode=\"dd/mm/yyyy\"/><numFmt numFmtId=\"166\" formatCode=\"hh:mm\"/><numFmt numFmtId=\"167\" "
                    "formatCode=\"0%\"/><numFmt numFmtId=\"168\" formatCode=\"0.00\"/><numFmt numFmtId=\"169\" "
                    "formatCode=\"000\"/><numFmt numFmtId=\"170\" formatCode=\"#,##0\"/><numFmt numFmtId=\"171\" "
                    "formatCode=\"#,##0.00&quot; zł&quot;\"/><numFmt numFmtId=\"172\" formatCode=\"#,##0.00\\ "
                    "[$zł-415]\"/><numFmt numFmtId=\"174\" formatCode=\"0.00;\\(0.00\\)\"/><numFmt numFmtId=\"175\" "
                    "formatCode=\"\\X0.0\"/><numFmt numFmtId=\"176\" formatCode=\"&quot;Nr &quot;@\"/></numFmts>"
                    "<fonts count=\"1\"><font><sz val=\"10\"/><name val=\"DejaVu Sans\"/><family val=\"2\"/></font></fonts>"
                    "<cellStyleXfs count=\"1\"><xf numFmtId=\"164\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/></cellStyleXfs>"
                    "<cellXfs count=\"12\"><xf numFmtId=\"164\" fontId=\"0\" xfId=\"0\"><alignment horizontal=\"general\"/></xf>"
                    "<xf numFmtId=\"165\" xfId=\"0\" applyNumberFormat=\"true\"/><xf numFmtId=\"166\" xfId=\"0\"/>"
                    "<xf numFmtId=\"167\"/><xf numFmtId=\"168\"/><xf numFmtId=\"169\"/><xf numFmtId=\"170\"/>"
                    "<xf numFmtId=\"171\"/><xf numFmtId=\"172\"/><xf numFmtId=\"174\"/><xf numFmtId=\"176\"/>"
                    "<xf numFmtId=\"175\"/></cellXfs>")
            << QStringLiteral("15.03.2024|12:00|75%|1,10|007|1\u00A0000\u00A0000|12,50 zł|12,50 zł|(2,50)|X1,1|3,5|Nr abc|"
                              "15.03.2024|1,10");
        // Excel: built-in formats by id alone, and dates from 1904.
        QTest::newRow("xlsx built-in formats, 1904 dates")
            << F::Xlsx
            << xlsx({{QStringLiteral("Arkusz1"), "<row><c s=\"1\"><v>43904.5</v></c><c s=\"2\"><v>0.25</v></c>"
                                                 "<c><v>2.5</v></c><c s=\"3\"><v>1234.5</v></c></row>"}},
                    {},
                    "<cellXfs count=\"4\"><xf numFmtId=\"0\"/><xf numFmtId=\"22\"/><xf numFmtId=\"9\"/><xf "
                    "numFmtId=\"4\"/></cellXfs>",
                    "<workbookPr date1904=\"1\"/>")
            << QStringLiteral("15.03.2024 12:00|25%|2,5|1\u00A0234,50");
        // Excel's "CSV UTF-8": a byte order mark, ";" in a Polish locale, CR LF.
        QTest::newRow("csv utf-8, quotes, line breaks, CR LF, nothing trimmed")
            << F::Delimited
            << QByteArray("\xEF\xBB\xBFR\xC4\x99" "czny;\"a;\"\"b\"\"\";\" x \"\r\n\"dwa\r\nwiersze\";;c \r\n\r\nz\r\n")
            << QStringLiteral("Ręczny|a;\"b\"| x \ndwa\nwiersze||c \n\nz");
        // Notepad's Windows-1250, tabs as LibreOffice's "Text CSV" with tab writes them.
        QTest::newRow("csv windows-1250, tab detected, LF")
            << F::Delimited << QByteArray("\xA3\xB9ka\tb\n1\t2\n") << QStringLiteral("Łąka|b\n1|2");
        QTest::newRow("csv comma detected") << F::Delimited << QByteArray("a,b,c\nd,e,f") << QStringLiteral("a|b|c\nd|e|f");
        QTest::newRow("csv decimal commas in semicolon columns")
            << F::Delimited << QByteArray("1,5;2,5\n3,5;4,5\n") << QStringLiteral("1,5|2,5\n3,5|4,5");
        QTest::newRow("csv delimiter of the lines under a title line")
            << F::Delimited << QByteArray("Szafa 1\na,b,c\nd,e,f\n") << QStringLiteral("Szafa 1\na|b|c\nd|e|f");
        QTest::newRow("csv utf-16 as excel's unicode text, tabs")
            << F::Delimited << utf16(QStringLiteral("Zażółć\tgęślą\r\njaźń\t\"a\tb\"\r\n"))
            << QStringLiteral("Zażółć|gęślą\njaźń|a\tb");
        QTest::newRow("csv utf-32 big-endian")
            << F::Delimited << QByteArray("\0\0\xFE\xFF\0\0\x01\x41\0\0\0;\0\0\0b", 16) << QStringLiteral("Ł|b");
        QTest::newRow("ods with the longest archive comment")
            << F::Ods << [] {
                   QByteArray bytes = ods(odsTable("<table:table-row><table:table-cell><text:p>k</text:p>"
                                                   "</table:table-cell></table:table-row>"));
                   bytes[bytes.size() - 2] = bytes[bytes.size() - 1] = '\xFF';
                   return bytes + QByteArray(0xFFFF, 'c');
               }() << QStringLiteral("k");
        // QXmlStreamReader took 17 s for 100,000 attributes of one element.
        QTest::newRow("xlsx workbook element with 100,000 attributes")
            << F::Xlsx
            << xlsxParts("<sheet name=\"A\" r:id=\"rId1\"/>", worksheetRelationship("rId1", "worksheets/a.xml"),
                         {{QStringLiteral("xl/worksheets/a.xml"), SheetFixtures::xlsxSheet("<row><c><v>1</v></c></row>")}},
                         [] {
                             QByteArray start = "<workbook";
                             for (int i = 0; i < 100'000; ++i)
                                 start += " a" + QByteArray::number(i) + "=\"\"";
                             return start;
                         }())
            << QStringLiteral("1");
    }
    void cellsGiveWhatTheUserSees()
    {
        QFETCH(WorkbookFile::Format, format);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, rows);
        Workbook book;
        QString error;
        QVERIFY2(readBytes(bytes, format, book, &error), qPrintable(error));
        QCOMPARE(book.sheets.size(), 1);
        QCOMPARE(shown(book.sheets.first()), rows);
    }

    // A file that grows while it is read was printed in part, as a whole file.
    void aFileChangedWhileReadIsRefused()
    {
        TestFiles files;
        const QString path = files.write(QStringLiteral("rosnie.csv"), QByteArray("a;b\n").repeated(1000));
        growing = QFile::encodeName(path);
        Workbook book;
        QString error;
        QVERIFY(!WorkbookFile::read(path, WorkbookFile::Format::Delimited, book, &error));
        QVERIFY(growing.isEmpty());
        QVERIFY2(error.contains(QStringLiteral("zmienił się w czasie wczytywania")), qPrintable(error));
        QVERIFY(book.sheets.isEmpty());
    }

    void severalSheetsKeepTheirNamesAndOrder()
    {
        TestFiles files;
        const QString path = files.write(QStringLiteral("szafa.xlsx"),
                                         xlsx({{QStringLiteral("Rozdzielnia"), "<row><c><v>1</v></c></row>"},
                                               {QStringLiteral("Pompy"), "<row><c><v>2</v></c></row>"}}));
        Workbook book;
        QString error;
        QVERIFY2(WorkbookFile::read(path, WorkbookFile::Format::Xlsx, book, &error), qPrintable(error));
        QCOMPARE(book.sheets.size(), 2);
        QCOMPARE(book.sheets.at(1).name, QStringLiteral("Pompy"));
        QCOMPARE(book.sheets.at(1).cell(0, 0), QStringLiteral("2"));
    }

    void hostileWorkbooksAreRefusedByName_data()
    {
        using F = WorkbookFile::Format;
        using SheetFixtures::Entry;
        QTest::addColumn<F>("format");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("said");

        QTest::newRow("not a zip") << F::Xlsx << QByteArray("PK\x03\x04 nothing more") << QStringLiteral("ZIP");
        QTest::newRow("old or encrypted office file")
            << F::Xlsx << QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1 ...") << QStringLiteral("hasłem");
        QTest::newRow("encrypted entry")
            << F::Ods
            << SheetFixtures::zip({Entry{QStringLiteral("content.xml"), SheetFixtures::odsContent(odsTable("")),
                                         Z_DEFLATED, "haslo"}})
            << QStringLiteral("content.xml: część jest zaszyfrowana");
        QTest::newRow("unsupported method")
            << F::Ods << SheetFixtures::zip({Entry{QStringLiteral("content.xml"), "BZh91AY&SY", 12}})
            << QStringLiteral("nieobsługiwana metoda kompresji BZIP2");
        QTest::newRow("no content") << F::Ods << SheetFixtures::zip({Entry{QStringLiteral("mimetype"), "x", 0}})
                                    << QStringLiteral("content.xml: brak tej części");
        QTest::newRow("damaged xml names part and line")
            << F::Ods << SheetFixtures::zip({Entry{QStringLiteral("content.xml"), "<?xml version=\"1.0\"?>\n<a>\n<b>"}})
            << QStringLiteral("content.xml, wiersz XML 3: uszkodzony XML (brak elementu");
        QTest::newRow("no sheet in an ods")
            << F::Ods << ods("") << QStringLiteral("brak arkuszy");
        QTest::newRow("too many columns")
            << F::Ods
            << ods(odsTable("<table:table-row><table:table-cell table:number-columns-repeated=\"16384\"/>"
                            "<table:table-cell><text:p>x</text:p></table:table-cell></table:table-row>"))
            << QStringLiteral("kolumn jest więcej niż 16384");
        QTest::newRow("non-empty rows repeated past the sheet")
            << F::Ods
            << ods(odsTable("<table:table-row table:number-rows-repeated=\"99999999999999999999999\">"
                            "<table:table-cell><text:p>x</text:p></table:table-cell></table:table-row>"))
            << QStringLiteral("wierszy jest więcej niż 1048576");
        QTest::newRow("rows backwards")
            << F::Xlsx << xlsx({{QStringLiteral("A"), "<row r=\"5\"/><row r=\"2\"/>"}})
            << QStringLiteral("błędny numer wiersza „2”");
        QTest::newRow("xlsx cell one longer than a cell may be, counted as the program's strings")
            << F::Xlsx
            << xlsx({{QStringLiteral("A"), "<row><c t=\"s\"><v>0</v></c></row>"}},
                    "<si><t>" + QString(32766, u'ą').toUtf8() + "\xF0\x9F\x98\x80</t></si>")
            << QStringLiteral("xl/sharedStrings.xml, wiersz XML 2: komórka dłuższa niż 32767 znaków");
        QTest::newRow("a DOCTYPE is refused")
            << F::Ods
            << SheetFixtures::zip({Entry{QStringLiteral("content.xml"),
                                         "<?xml version=\"1.0\"?>\n<!DOCTYPE a [<!ENTITY e \"x\">]><a>&e;</a>"}})
            << QStringLiteral("content.xml, wiersz XML 2: uszkodzony XML (deklaracja DOCTYPE");
        QTest::newRow("an XML version other than 1.0")
            << F::Ods
            << SheetFixtures::zip({Entry{QStringLiteral("content.xml"), SheetFixtures::odsContent(odsTable("")).replace(
                                                                            "version=\"1.0\"", "version=\"1.1\"")}})
            << QStringLiteral("content.xml, wiersz XML 1: uszkodzony XML (nieobsługiwana wersja XML „1.1”)");
        QTest::newRow("xlsx sheet cut short")
            << F::Xlsx << xlsx({{QStringLiteral("A"), "<row><c><v>1</v></c></row><row><c><v>2"}})
            << QStringLiteral("xl/worksheets/sheet1.xml, komórka A2: uszkodzony XML");
        QTest::newRow("shared string that is not there")
            << F::Xlsx << xlsx({{QStringLiteral("A"), "<row><c r=\"B1\" t=\"s\"><v>7</v></c></row>"}}, "<si><t>a</t></si>")
            << QStringLiteral("xl/worksheets/sheet1.xml, komórka B1: wskazuje tekst nr 7");
        // The styles part is bounded as the sheets are.
        QTest::newRow("xlsx number format code too long")
            << F::Xlsx
            << xlsx({{QStringLiteral("A"), "<row><c><v>1</v></c></row>"}}, {},
                    "<numFmts><numFmt numFmtId=\"164\" formatCode=\"" + QByteArray(1025, '0') + "\"/></numFmts>")
            << QStringLiteral("xl/styles.xml, wiersz XML 2: format liczb dłuższy niż 1024 znaków");
        QTest::newRow("xlsx more cell styles than a workbook may have")
            << F::Xlsx
            << xlsx({{QStringLiteral("A"), "<row><c><v>1</v></c></row>"}}, {},
                    "<cellXfs>" + QByteArray("<xf numFmtId=\"0\"/>").repeated(65'537) + "</cellXfs>")
            << QStringLiteral("stylów komórek jest więcej niż 65536");
        QTest::newRow("xlsx number format id no number")
            << F::Xlsx
            << xlsx({{QStringLiteral("A"), "<row><c><v>1</v></c></row>"}}, {}, "<cellXfs><xf numFmtId=\"x\"/></cellXfs>")
            << QStringLiteral("xl/styles.xml, wiersz XML 2: błędny numer formatu liczb „x”");
        QTest::newRow("shared string one past the last")
            << F::Xlsx
            << xlsx({{QStringLiteral("A"), "<row><c r=\"A1\" t=\"s\"><v>2</v></c></row>"}}, "<si><t>a</t></si><si><t>b</t></si>")
            << QStringLiteral("komórka A1: wskazuje tekst nr 2, którego nie ma");
        // LibreOffice's "Zapisz z hasłem": the parts stay, enciphered, and the
        // manifest says how.
        QTest::newRow("password-protected ods")
            << F::Ods
            << SheetFixtures::zip(
                   {Entry{QStringLiteral("mimetype"), "application/vnd.oasis.opendocument.spreadsheet", 0},
                    Entry{QStringLiteral("META-INF/manifest.xml"),
                          "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<manifest:manifest xmlns:manifest=\"urn:oasis:"
                          "names:tc:opendocument:xmlns:manifest:1.0\" manifest:version=\"1.3\"><manifest:file-entry "
                          "manifest:full-path=\"content.xml\" manifest:media-type=\"text/xml\" manifest:size=\"2915\">"
                          "<manifest:encryption-data manifest:checksum-type=\"urn:oasis:names:tc:opendocument:xmlns:"
                          "manifest:1.0#sha256-1k\" manifest:checksum=\"aGFzbG8=\"><manifest:algorithm "
                          "manifest:algorithm-name=\"http://www.w3.org/2001/04/xmlenc#aes256-cbc\" "
                          "manifest:initialisation-vector=\"aGFzbG8=\"/></manifest:encryption-data>"
                          "</manifest:file-entry></manifest:manifest>"},
                    Entry{QStringLiteral("content.xml"), "\x8f\x13\xd2\x07 enciphered \xfe\x01"}})
            << QStringLiteral("content.xml: część jest zaszyfrowana (arkusz chroniony hasłem)");
        // "@" 1,024 times over a cell of 32,767 characters would be 33.5
        // million characters in each of its 100 cells.
        QTest::newRow("xlsx cell made too long by its text format")
            << F::Xlsx
            << xlsx({{QStringLiteral("A"), "<row>" + QByteArray("<c s=\"1\" t=\"s\"><v>0</v></c>").repeated(100) + "</row>"}},
                    "<si><t>" + QByteArray(32'767, 'a') + "</t></si>",
                    "<numFmts><numFmt numFmtId=\"164\" formatCode=\"" + QByteArray(1'024, '@')
                        + "\"/></numFmts><cellXfs><xf numFmtId=\"0\"/><xf numFmtId=\"164\"/></cellXfs>")
            << QStringLiteral("xl/worksheets/sheet1.xml, komórka A1: komórka dłuższa niż 32767 znaków");
        QTest::newRow("cell too long")
            << F::Delimited << QByteArray(40'000, 'a') << QStringLiteral("komórka dłuższa niż 32767 znaków");

        // Bounds on the file as a whole, not on one part or element.
        const QByteArray farCells = [] {
            QByteArray rows;
            for (int r = 1; r <= 700; ++r)
                rows += "<row><c r=\"XFD" + QByteArray::number(r) + "\"><v>1</v></c></row>";
            return SheetFixtures::xlsxSheet(rows);
        }();
        QTest::newRow("the cells of all sheets share one budget")
            << F::Xlsx
            << xlsxParts("<sheet name=\"A\" r:id=\"rId1\"/><sheet name=\"B\" r:id=\"rId2\"/>",
                         worksheetRelationship("rId1", "worksheets/a.xml") + worksheetRelationship("rId2", "worksheets/b.xml"),
                         {{QStringLiteral("xl/worksheets/a.xml"), farCells}, {QStringLiteral("xl/worksheets/b.xml"), farCells}})
            << QStringLiteral("xl/worksheets/b.xml, komórka XFD521: komórek jest więcej niż 20000000");
        QTest::newRow("two sheets read from one part")
            << F::Xlsx
            << xlsxParts("<sheet name=\"A\" r:id=\"rId1\"/><sheet name=\"B\" r:id=\"rId2\"/>",
                         worksheetRelationship("rId1", "worksheets/a.xml") + worksheetRelationship("rId2", "/xl/worksheets/a.xml"),
                         {{QStringLiteral("xl/worksheets/a.xml"), SheetFixtures::xlsxSheet("")}})
            << QStringLiteral("xl/workbook.xml: dwa arkusze wskazują tę samą część xl/worksheets/a.xml");
        QTest::newRow("a sheet whose part lies outside the package")
            << F::Xlsx
            << xlsxParts("<sheet name=\"A\" r:id=\"rId1\"/>", worksheetRelationship("rId1", "../../sheet1.xml"),
                         {{QStringLiteral("xl/worksheets/sheet1.xml"), SheetFixtures::xlsxSheet("")}})
            << QStringLiteral("arkusz „A” wskazuje część spoza pliku");
        QTest::newRow("a sheet without a relationship, its long name cut")
            << F::Xlsx
            << xlsxParts("<sheet name=\"" + QByteArray(10'000, 'a') + "\" r:id=\"rId9\"/>",
                         worksheetRelationship("rId1", "worksheets/sheet1.xml"),
                         {{QStringLiteral("xl/worksheets/sheet1.xml"), SheetFixtures::xlsxSheet("")}})
            << QStringLiteral("brak powiązania arkusza „%1…”.").arg(QString(99, u'a'));
        QTest::newRow("a DOCTYPE in the workbook part")
            << F::Xlsx
            << xlsxParts("<sheet name=\"&e;\" r:id=\"rId1\"/>", worksheetRelationship("rId1", "worksheets/sheet1.xml"),
                         {{QStringLiteral("xl/worksheets/sheet1.xml"), SheetFixtures::xlsxSheet("")}},
                         "<!DOCTYPE workbook [<!ENTITY e \"Arkusz\">]><workbook")
            << QStringLiteral("xl/workbook.xml, wiersz XML 2: uszkodzony XML (deklaracja DOCTYPE");
        QTest::newRow("elements nested past any spreadsheet's, in the workbook part")
            << F::Xlsx
            << xlsxParts("<sheet name=\"A\" r:id=\"rId1\"/>" + nested(300), worksheetRelationship("rId1", "worksheets/a.xml"),
                         {{QStringLiteral("xl/worksheets/a.xml"), SheetFixtures::xlsxSheet("")}})
            << QStringLiteral("xl/workbook.xml, wiersz XML 2: elementy zagnieżdżone głębiej niż 256 poziomów");
        QTest::newRow("elements nested past any spreadsheet's, in a cell")
            << F::Ods
            << ods(odsTable("<table:table-row><table:table-cell><text:p>" + nested(300)
                            + "</text:p></table:table-cell></table:table-row>"))
            << QStringLiteral("content.xml, komórka Arkusz1!A1: elementy zagnieżdżone głębiej niż 256");
        QTest::newRow("two entries of one name")
            << F::Ods
            << SheetFixtures::zip({{QStringLiteral("content.xml"), SheetFixtures::odsContent(odsTable(""))},
                                   {QStringLiteral("content.xml"), SheetFixtures::odsContent("")}})
            << QStringLiteral("content.xml: uszkodzone archiwum: dwie części o tej samej nazwie");
        QTest::newRow("a cell in row 0")
            << F::Xlsx << xlsx({{QStringLiteral("A"), "<row><c r=\"A0\"><v>1</v></c></row>"}})
            << QStringLiteral("błędny adres komórki „A0”");
        QTest::newRow("csv quote never closed, named by its line")
            << F::Delimited << QByteArray("a;b\nc;\"d\"\"\"\ne;\"f\ng;h\n") << QStringLiteral("cudzysłów otwarty w wierszu 3");
        QTest::newRow("a zip named .csv") << F::Delimited << xlsx({{QStringLiteral("A"), ""}})
                                          << QStringLiteral("to archiwum ZIP, nie tekst");
        QTest::newRow("binary data named .csv")
            << F::Delimited << QByteArray("\x7F" "ELF\x02\x01\x01\0\0\0\0\0\0\0\0\0\x03\0>\0", 20)
            << QStringLiteral("dane binarne");
    }
    void hostileWorkbooksAreRefusedByName()
    {
        QFETCH(WorkbookFile::Format, format);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, said);
        Workbook book;
        QString error;
        QVERIFY(!readBytes(bytes, format, book, &error));
        QVERIFY(book.sheets.isEmpty());
        QVERIFY2(error.contains(said), qPrintable(error));
        QVERIFY2(error.contains(QStringLiteral("„lista.")), qPrintable(error));
    }

    void entitiesNeverExpandWithoutBound()
    {
        // A DTD is refused before any of its entities is declared: one that
        // would grow to a billion characters is damage.
        QByteArray laughs = "<!DOCTYPE sst [<!ENTITY a \"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa\">";
        QByteArray previous = "a";
        for (char c = 'b'; c <= 'j'; ++c) {
            laughs += QByteArray("<!ENTITY ") + c + " \"" + QByteArray("&" + previous + ";").repeated(10) + "\">";
            previous = QByteArray(1, c);
        }
        laughs += "<!ENTITY ext SYSTEM \"file:///etc/hostname\">]>";
        const QByteArray shared = "<?xml version=\"1.0\"?>" + laughs
                                  + "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
                                    "<si><t>&j;</t></si></sst>";
        QBuffer buffer;
        buffer.setData(shared);
        buffer.open(QIODevice::ReadOnly);
        QStringList strings;
        QString error;
        QVERIFY(!WorkbookFile::readXlsxSharedStrings(buffer, QStringLiteral("lista.xlsx"), strings, &error));
        QVERIFY2(error.contains(QStringLiteral("xl/sharedStrings.xml")), qPrintable(error));
    }

    // 50 million empty strings took 15 GB: each string costs a cell of the
    // file's budget, an empty one too.
    void sharedStringsDrawOnTheCellBudget()
    {
        QBuffer buffer;
        buffer.setData(SheetFixtures::xlsxShared("<si/><si><t>a</t></si><si/>"));
        buffer.open(QIODevice::ReadOnly);
        QStringList strings;
        QString error;
        qsizetype budget = 2;
        QVERIFY(!WorkbookFile::readXlsxSharedStrings(buffer, QStringLiteral("lista.xlsx"), strings, &error, &budget));
        QVERIFY2(error.contains(QStringLiteral("komórek i tekstów jest więcej")), qPrintable(error));
    }

    // What a format adds to a text draws on the same budget: a cell for
    // every 32 characters.
    void formattedTextsDrawOnTheCellBudget()
    {
        QBuffer buffer;
        buffer.setData(SheetFixtures::xlsxSheet("<row><c t=\"s\"><v>0</v></c><c s=\"1\" t=\"s\"><v>0</v></c></row>"));
        buffer.open(QIODevice::ReadOnly);
        WorkbookFile::XlsxStyles styles;
        styles.cellFormats = {NumberFormat(), NumberFormat(u"@@@")};
        const QStringList shared{QString(1'600, u'a')};   // 3,200 characters added: 100 cells
        WorkbookSheet sheet;
        QString error;
        qsizetype budget = 100;
        QVERIFY(!WorkbookFile::readXlsxSheet(buffer, shared, QStringLiteral("lista.xlsx"), sheet, &error, &budget, styles));
        QVERIFY2(error.contains(QStringLiteral("komórka B1: formaty liczb wydłużają teksty komórek o więcej niż")),
                 qPrintable(error));
    }

    void aZipBombIsRefusedUnopened()
    {
        // 300 MB of zeros pack into a few hundred kilobytes.
        QByteArray content = SheetFixtures::odsContent(odsTable(""));
        content += QByteArray(300 << 20, ' ');
        const QByteArray bomb = SheetFixtures::zip({{QStringLiteral("content.xml"), content}});
        content.clear();
        QVERIFY(bomb.size() < 4 << 20);
        Workbook book;
        QString error;
        QVERIFY(!readBytes(bomb, WorkbookFile::Format::Ods, book, &error));
        QVERIFY2(error.contains(QStringLiteral("bomba ZIP")), qPrintable(error));
    }

    void aDamagedEntryIsDamageNotAnEmptySheet()
    {
        QByteArray bytes = ods(odsTable("<table:table-row><table:table-cell><text:p>x</text:p></table:table-cell>"
                                        "</table:table-row>"));
        // Flip a byte inside content.xml's packed data: it no longer inflates
        // or no longer matches its checksum.
        const qsizetype at = bytes.indexOf("content.xml") + 40;
        bytes[at] = char(bytes[at] ^ 0x55);
        Workbook book;
        QString error;
        QVERIFY(!readBytes(bytes, WorkbookFile::Format::Ods, book, &error));
        QVERIFY2(error.contains(QStringLiteral("content.xml")), qPrintable(error));
    }

    // Formulas saved without their results (openpyxl writes <f> and an
    // empty <v/>): empty cells, each named, whatever the mapping reads;
    // a formula with its result, or an empty text result, is a cell as any.
    void formulasWithoutResultsAreNamed()
    {
        Workbook book;
        QString error;
        QVERIFY2(readBytes(xlsx({{QStringLiteral("Arkusz1"),
                                  "<row r=\"1\"><c r=\"A1\"><v>10</v></c><c r=\"B1\"><f>A1*2</f><v/></c>"
                                  "<c r=\"C1\" t=\"str\"><f>\"Q\"&amp;A1</f></c><c r=\"D1\"><f>A1</f><v>10</v></c>"
                                  "<c r=\"E1\" t=\"str\"><f>\"\"</f><v></v></c></row>"
                                  "<row r=\"2\"><c r=\"AA2\"><f t=\"shared\" si=\"0\"/></c></row>"}}),
                           WorkbookFile::Format::Xlsx, book, &error),
                 qPrintable(error));
        const WorkbookSheet &sheet = book.sheets.first();
        QCOMPARE(shown(sheet), QStringLiteral("10|||10"));
        QStringList named;
        for (const FormulaCell &cell : sheet.formulaCells)
            named.append(SheetImport::describe(sheet, cell));
        QCOMPARE(named, (QStringList{u"Arkusz1!B1: =A1*2"_qs, u"Arkusz1!C1: =\"Q\"&A1"_qs, u"Arkusz1!AA2"_qs}));
        // The mapping's columns only; in the Rows layout a row of formulas
        // alone counts, though its texts are empty.
        qsizetype total = 0;
        QCOMPARE(SheetImport::uncalculated(sheet, *SheetMapping::fromString(u"rows;A;C-AA;A;skip;data;;"_qs), 1, &total)
                     .first().column, 2);
        QCOMPARE(total, 2);
        QVERIFY(SheetImport::uncalculated(sheet, *SheetMapping::fromString(u"column;A;B-C;A;skip;data;;"_qs)).isEmpty());

        // LibreOffice's form: a table:formula with no office:value.
        QVERIFY2(readBytes(ods(odsTable("<table:table-row><table:table-cell table:formula=\"of:=[.B1]*2\" "
                                        "office:value-type=\"float\" table:number-columns-repeated=\"2\"/>"
                                        "<table:table-cell table:formula=\"of:=1\" office:value-type=\"float\" "
                                        "office:value=\"1\"><text:p>1</text:p></table:table-cell></table:table-row>")),
                           WorkbookFile::Format::Ods, book, &error),
                 qPrintable(error));
        QCOMPARE(shown(book.sheets.first()), QStringLiteral("||1"));
        QCOMPARE(book.sheets.first().formulaCells.size(), 1);
        QCOMPARE(book.sheets.first().formulaCells.first().formula, u"=[.B1]*2"_qs);
    }

    void mappings_data()
    {
        QTest::addColumn<QString>("mapping");
        QTest::addColumn<int>("labels");
        QTest::addColumn<QStringList>("texts");
        // Rows: header in A, labels B-C; an empty row; a headings row.
        QTest::newRow("rows, headings skipped, empty row skipped, labels padded")
            << QStringLiteral("rows;A;B-C;A;skip;headings;;Arkusz1") << 5
            << QStringList{u"P1"_qs, u"a"_qs, u"b"_qs, {}, {}, {}, u"P2"_qs, {}, u"d"_qs, {}, {}, {}};
        QTest::newRow("rows, empty row kept")
            << QStringLiteral("rows;A;B-C;A;keep;headings;;") << 2
            << QStringList{u"P1"_qs, u"a"_qs, u"b"_qs, {}, {}, {}, u"P2"_qs, {}, u"d"_qs, {}, {}, {}};
        QTest::newRow("rows, more label columns than labels read only the first")
            << QStringLiteral("rows;B;C-D;A;skip;data;;") << 1
            << QStringList{u"Etykieta"_qs, u"Uwagi"_qs, u"a"_qs, u"b"_qs, {}, u"d"_qs};
        QTest::newRow("column, empty cells are fields, to the last non-empty")
            << QStringLiteral("column;A;B-C;A;skip;data;;") << 8
            << QStringList{u"Nagłówek"_qs, u"P1"_qs, {}, u"P2"_qs};
        QTest::newRow("column, its heading not a field")
            << QStringLiteral("column;A;B-C;A;skip;headings;;") << 8 << QStringList{u"P1"_qs, {}, u"P2"_qs};
        QTest::newRow("rows, columns past Z")
            << QStringLiteral("rows;Z;AA-AC;A;skip;data;;") << 3 << QStringList{u"z"_qs, u"aa"_qs, {}, u"ac"_qs};
    }
    void mappings()
    {
        QFETCH(QString, mapping);
        QFETCH(int, labels);
        QFETCH(QStringList, texts);
        WorkbookSheet sheet{u"Arkusz1"_qs,
                            {{u"Nagłówek"_qs, u"Etykieta"_qs, u"Uwagi"_qs},
                             {u"P1"_qs, u"a"_qs, u"b"_qs},
                             {},
                             {u"P2"_qs, {}, u"d"_qs},
                             {{}, {}, {}, u"poza"_qs}}};
        // Past Z: Z, AA and AC of the last row.
        sheet.rows.last().resize(29);
        sheet.rows.last()[25] = u"z"_qs;
        sheet.rows.last()[26] = u"aa"_qs;
        sheet.rows.last()[28] = u"ac"_qs;
        const std::optional<SheetMapping> m = SheetMapping::fromString(mapping);
        QVERIFY(m);
        QCOMPARE(m->toString(), mapping);
        QCOMPARE(SheetImport::texts(sheet, *m, labels), texts);
    }

    void cellsWindows1250CannotHoldAreNamed()
    {
        WorkbookSheet sheet{u"Arkusz1"_qs, {}};
        sheet.rows.resize(14);
        sheet.rows[13] = QStringList{u"ok"_qs, u"Ręczny"_qs, u"✓ gotowe"_qs};
        sheet.rows[2] = QStringList{u"x"_qs, u"😀"_qs};
        // A NUL (Excel's "_x0000_") would end the field's line in the saved file.
        sheet.rows[5] = QStringList{u"Pompa"_qs, QStringLiteral("a") + QChar(0) + QStringLiteral("b")};
        SheetMapping rows;
        rows.layout = SheetMapping::Layout::Rows;
        rows.headerColumn = 0;
        rows.firstLabel = 1;
        rows.lastLabel = 2;
        qsizetype total = 0;
        const QList<SheetImport::BadCell> bad = SheetImport::unencodable(sheet, rows, 50, &total);
        QCOMPARE(total, 3);
        QCOMPARE(SheetImport::describe(sheet, bad.at(0)), QStringLiteral("Arkusz1!B3: „😀” (U+1F600)"));
        QCOMPARE(SheetImport::describe(sheet, bad.at(1)), QStringLiteral("Arkusz1!B6: „” (U+0000)"));
        QCOMPARE(SheetImport::describe(sheet, bad.at(2)), QStringLiteral("Arkusz1!C14: „✓” (U+2713)"));
        QCOMPARE(SheetImport::replaceUnencodable(u"😀 ✓ ą"_qs + QChar(0)), QStringLiteral("? ? ą?"));
    }

    void exportReadsBackUnchanged()
    {
        const QStringList texts{u"Pompa; \"główna\""_qs, u" Praca"_qs, u"dwa\nwiersze"_qs, {}, u"# $"_qs, u"a@b"_qs};
        const QByteArray csv = SheetExport::csv(texts, 2);
        QVERIFY(csv.startsWith("\xEF\xBB\xBF"));
        Workbook book;
        QString error;
        QVERIFY2(WorkbookFile::readDelimited(csv, u"eksport.csv"_qs, 0, book, &error), qPrintable(error));
        QCOMPARE(book.delimiter, ';');
        SheetMapping m;
        m.layout = SheetMapping::Layout::Rows;
        m.firstLabel = 1;
        m.lastLabel = 2;
        m.keepEmptyRows = true;
        // Every text as it was, but "@": a cell's "@" is the line break it is
        // in a descriptions file, so that the sheet saved reads back as imported.
        QStringList expected = texts;
        expected[5] = u"a\nb"_qs;
        QCOMPARE(SheetImport::texts(book.sheets.first(), m, 2), expected);
    }

    void pastedCellsAreTabSeparated()
    {
        Workbook book;
        QString error;
        QVERIFY(WorkbookFile::readPasted(u"Pompa\tPraca\tAwaria; stop\n\"a\nb\"\t\t✓\n"_qs, book, &error));
        QCOMPARE(shown(book.sheets.first()), QStringLiteral("Pompa|Praca|Awaria; stop\na\nb||✓"));
        // Cyrillic and Greek that a guess at Windows-1250 would also decode
        // (as other letters): the clipboard's text is the text.
        QVERIFY(WorkbookFile::readPasted(u"Пуск\tΩμέγα\n"_qs, book, &error));
        QCOMPARE(shown(book.sheets.first()), QStringLiteral("Пуск|Ωμέγα"));
    }
};

QTEST_GUILESS_MAIN(TestSpreadsheets)
#include "tst_spreadsheets.moc"
