// OpenDocument spreadsheets: content.xml's tables as sheets.

#include "workbooks/readsupport.h"
#include "workbooks/sheetbuilder.h"
#include "workbooks/workbookfile.h"
#include "workbooks/xmlpart.h"
#include "workbooks/zipentries.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <string_view>

namespace WorkbookFile {

namespace {

// ------------------------------------------------------------------- ODS

enum class OdsNs { Other, Office, Table, Text };

OdsNs odsNamespace(const char *name, const char *local)
{
    if (local == name)
        return OdsNs::Other;
    const std::string_view uri(name, size_t(local - name - 1));
    if (uri == "urn:oasis:names:tc:opendocument:xmlns:table:1.0")
        return OdsNs::Table;
    if (uri == "urn:oasis:names:tc:opendocument:xmlns:text:1.0")
        return OdsNs::Text;
    if (uri == "urn:oasis:names:tc:opendocument:xmlns:office:1.0")
        return OdsNs::Office;
    return OdsNs::Other;
}

constexpr const char *odsSheetName = "urn:oasis:names:tc:opendocument:xmlns:table:1.0|name";
constexpr const char *odsRowsRepeated = "urn:oasis:names:tc:opendocument:xmlns:table:1.0|number-rows-repeated";
constexpr const char *odsColumnsRepeated = "urn:oasis:names:tc:opendocument:xmlns:table:1.0|number-columns-repeated";
constexpr const char *odsSpaces = "urn:oasis:names:tc:opendocument:xmlns:text:1.0|c";
constexpr const char *odsFormula = "urn:oasis:names:tc:opendocument:xmlns:table:1.0|formula";
// The attributes that hold a cell's value, a formula's result among them.
constexpr const char *odsValues[] = {"urn:oasis:names:tc:opendocument:xmlns:office:1.0|value",
                                     "urn:oasis:names:tc:opendocument:xmlns:office:1.0|date-value",
                                     "urn:oasis:names:tc:opendocument:xmlns:office:1.0|time-value",
                                     "urn:oasis:names:tc:opendocument:xmlns:office:1.0|boolean-value",
                                     "urn:oasis:names:tc:opendocument:xmlns:office:1.0|string-value"};

// content.xml: every table:table of the office:spreadsheet a sheet. A cell
// is its paragraphs, <text:s text:c="N"/> as N spaces, <text:tab/> and
// <text:line-break/>; comments and tables inside it are left out.
class OdsContentReader : public ExpatReader
{
    Q_DECLARE_TR_FUNCTIONS(WorkbookFile)

public:
    OdsContentReader(const QString &name, Workbook &book)
        : ExpatReader(name, QStringLiteral("content.xml"))
        , book(book)
    {
    }
    bool spreadsheet = false;

protected:
    void start(const char *name, const char **attributes) override
    {
        const char *local = localName(name);
        const OdsNs ns = odsNamespace(name, local);
        if (inCell) {
            cellStart(ns, local, attributes);
        } else if (sheet) {
            tableStart(ns, local, attributes);
        } else if (ns == OdsNs::Office && equal(local, "spreadsheet")) {
            spreadsheet = true;
        } else if (spreadsheet && ns == OdsNs::Table && equal(local, "table")) {
            if (book.sheets.size() >= maxSheets)
                return stop(tr("więcej niż %1 arkuszy").arg(maxSheets));
            const char *sheetName = attribute(attributes, odsSheetName);
            sheet.emplace(sheetName ? QString::fromUtf8(sheetName) : QString(), &budget);
            depth = 0;
            inRow = false;
        }
    }
    void end(const char *name) override
    {
        if (!sheet)
            return;
        const char *local = localName(name);
        const OdsNs ns = odsNamespace(name, local);
        if (inCell)
            return cellEnd(ns, local);
        if (depth == 0) {
            book.sheets.append(sheet->take());
            sheet.reset();
            return;
        }
        --depth;
        if (inRow && ns == OdsNs::Table && equal(local, "table-row")) {
            inRow = false;
            QString why;
            if (!sheet->endRow(rowRepeat, &why))
                stop(why);
        }
    }
    void text(const char *s, int length) override
    {
        if (inCell && inParagraph > 0) {
            cell.append(s, length);
            if (cell.tooLong())
                stop(tooLongCell());
        }
    }

private:
    void tableStart(OdsNs ns, const char *local, const char **attributes)
    {
        if (ns == OdsNs::Table) {
            bool ok = false;
            if (!inRow && equal(local, "table-row")) {
                rowRepeat = repeatCount(attribute(attributes, odsRowsRepeated), &ok);
                if (!ok)
                    return stop(tr("błędna liczba powtórzeń wiersza"));
                inRow = true;
                ++depth;
                return;
            }
            if (inRow && (equal(local, "table-cell") || equal(local, "covered-table-cell"))) {
                cellRepeat = repeatCount(attribute(attributes, odsColumnsRepeated), &ok);
                if (!ok)
                    return stop(tr("błędna liczba powtórzeń komórki"));
                inCell = true;
                cellRow = sheet->nextRow();
                cellColumn = sheet->nextColumn();
                cellDepth = 0;
                paragraphs = 0;
                inParagraph = 0;
                cell.clear();
                // A formula with no value: saved without its result.
                formula.clear();
                if (const char *f = attribute(attributes, odsFormula);
                    f && std::none_of(std::begin(odsValues), std::end(odsValues),
                                      [&](const char *value) { return attribute(attributes, value); })) {
                    std::string_view written(f);
                    if (written.substr(0, 3) == "of:")
                        written.remove_prefix(3);
                    formula = QString::fromUtf8(written.data(), qsizetype(std::min<size_t>(written.size(), 400)));
                    if (formula.isEmpty())
                        formula = QStringLiteral("=");
                }
                return;
            }
            if (equal(local, "table"))
                return skip();   // a table inside a table's parts: not a sheet
        }
        ++depth;
    }
    void cellStart(OdsNs ns, const char *local, const char **attributes)
    {
        if (ns == OdsNs::Text) {
            if (equal(local, "p") || equal(local, "h")) {
                if (paragraphs++ > 0)
                    cell.append('\n');
                ++inParagraph;
            } else if (equal(local, "s")) {
                const char *c = attribute(attributes, odsSpaces);
                bool ok = false;
                const qsizetype n = repeatCount(c, &ok);
                if (!ok)
                    return stop(tr("liczba spacji „%1” nie jest liczbą").arg(QString::fromUtf8(c).left(20)));
                if (cell.units + n > maxCellLength)
                    return stop(tooLongCell());
                cell.append(' ', n);
            } else if (equal(local, "tab")) {
                cell.append('\t');
            } else if (equal(local, "line-break")) {
                cell.append('\n');
            }
        } else if ((ns == OdsNs::Office && equal(local, "annotation")) || (ns == OdsNs::Table && equal(local, "table"))) {
            return skip();   // a comment on the cell, or a table inside it: not what it shows
        }
        ++cellDepth;
        if (cell.tooLong())
            stop(tooLongCell());
    }
    void cellEnd(OdsNs ns, const char *local)
    {
        if (cellDepth > 0) {
            if (ns == OdsNs::Text && (equal(local, "p") || equal(local, "h")))
                --inParagraph;
            --cellDepth;
            return;
        }
        QString why;
        if (!formula.isEmpty() && cell.bytes.empty()) {
            // Named once, however many times it is repeated.
            if (!sheet->addFormulaCell(formula, &why) || !sheet->addCell(QString(), cellRepeat - 1, &why))
                stop(why);
            inCell = false;
            return;
        }
        const QString text = recent.text(cell.bytes.data(), qsizetype(cell.bytes.size()), [&] { return cell.toString(); });
        if (!sheet->addCell(text, cellRepeat, &why))
            stop(why);
        inCell = false;
    }
    QString cellAddress() const override
    {
        return inCell && sheet ? CellAddress::address(shown(sheet->name()), cellRow, cellColumn) : QString();
    }

    Workbook &book;
    qsizetype budget = maxCells;
    std::optional<SheetBuilder> sheet;   // the table being read
    int depth = 0;                       // elements open inside it
    bool inRow = false;
    qsizetype rowRepeat = 1;
    bool inCell = false;
    qsizetype cellRepeat = 1;
    qsizetype cellRow = 0;
    qsizetype cellColumn = 0;
    int cellDepth = 0;     // elements open inside the cell
    int paragraphs = 0;
    int inParagraph = 0;   // text:p / text:h open
    Utf8Text cell;
    QString formula;   // of a cell without a value: the formula as written
    RecentTexts recent;
};

} // namespace

bool readOdsContent(QIODevice &device, const QString &name, Workbook &book, QString *error)
{
    OdsContentReader reader(name, book);
    if (!reader.read(device, error))
        return false;
    if (!reader.spreadsheet || book.sheets.isEmpty()) {
        setError(error, refusal(name, QStringLiteral("content.xml"), tr("brak arkuszy (to nie jest arkusz kalkulacyjny)")));
        return false;
    }
    return true;
}

namespace {

bool readOdsInto(QIODevice &device, const QString &name, Workbook &book, QString *error)
{
    ZipReader zip(device, name);
    if (isCompoundFile(device)) {
        setError(error, refusal(name, QString(), tr("to nie jest plik ODS")));
        return false;
    }
    if (!zip.open(QStringLiteral("ODS"), error))
        return false;
    // An ODS file with a password keeps its parts whole but enciphered:
    // the manifest says so.
    if (zip.has(QStringLiteral("META-INF/manifest.xml"))) {
        QByteArray manifest;
        if (!zip.readSmall(QStringLiteral("META-INF/manifest.xml"), 4 << 20, manifest, error))
            return false;
        if (manifest.contains("encryption-data")) {
            setError(error, refusal(name, QStringLiteral("content.xml"),
                                    tr("część jest zaszyfrowana (arkusz chroniony hasłem); zapisz go bez hasła")));
            return false;
        }
    }
    if (!zip.has(QStringLiteral("content.xml"))) {
        setError(error, refusal(name, QStringLiteral("content.xml"), tr("brak tej części archiwum (to nie jest plik ODS)")));
        return false;
    }
    return zip.read(QStringLiteral("content.xml"),
                    [&](QIODevice &xml) { return readOdsContent(xml, name, book, error); }, error);
}

} // namespace

// On a refusal the sheets read before it are dropped.
bool readOds(QIODevice &device, const QString &name, Workbook &book, QString *error)
{
    book = Workbook();
    if (readOdsInto(device, name, book, error))
        return true;
    book = Workbook();
    return false;
}

} // namespace WorkbookFile
