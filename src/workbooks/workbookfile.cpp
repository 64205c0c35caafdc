#include "workbooks/workbookfile.h"

#include "files/descriptionscheck.h"
#include "files/descriptionsfile.h"
#include "files/windows1250.h"
#include "system/language.h"

#include <QBuffer>
#include <QDateTime>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QScopeGuard>
#include <QSet>
#include <QStringDecoder>

#include <expat.h>

#include <sys/stat.h>
#include <unistd.h>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipfileinfo.h>

#include <csv.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace WorkbookFile {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("WorkbookFile", text);
}

// Every refusal reads the same: the file, the part, why.
QString refusal(const QString &name, const QString &part, const QString &why)
{
    if (part.isEmpty())
        return tr("Arkusz „%1” nie został wczytany: %2.").arg(name, why);
    return tr("Arkusz „%1” nie został wczytany: %2: %3.").arg(name, part, why);
}

void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

QString megabytes(qint64 bytes)
{
    return QString::number(bytes >> 20);
}

// ------------------------------------------------------------------ sheet
//
// Builds a sheet from cells given in reading order, keeping empty runs as
// counts until something follows them: a run of empty cells or rows at the
// end of a sheet, however long it claims to be, costs nothing.
class SheetBuilder
{
    Q_DECLARE_TR_FUNCTIONS(WorkbookFile)

public:
    SheetBuilder(QString name, qsizetype *cellBudget)
        : budget(cellBudget)
    {
        sheet.name = std::move(name);
    }

    // The cell at the next column of the row being built, `repeat` times.
    bool addCell(const QString &text, qsizetype repeat, QString *why)
    {
        if (text.isEmpty()) {
            pendingColumns = std::min<qsizetype>(pendingColumns + repeat, maxColumns + 1);
            return true;
        }
        if (row.size() + pendingColumns + repeat > maxColumns) {
            *why = tr("kolumn jest więcej niż %1").arg(maxColumns);
            return false;
        }
        if (!spend(pendingColumns + repeat, why))
            return false;
        for (; pendingColumns > 0; --pendingColumns)
            row.append(QString());
        for (qsizetype k = 0; k < repeat; ++k)
            row.append(text);
        return true;
    }
    // Skips to column `column` (from 0) of the row being built.
    void skipTo(qsizetype column) { pendingColumns = column - row.size(); }
    qsizetype nextColumn() const { return row.size() + pendingColumns; }

    // Ends the row being built, which stands `repeat` times.
    bool endRow(qsizetype repeat, QString *why)
    {
        pendingColumns = 0;
        if (row.isEmpty()) {
            pendingRows = std::min<qsizetype>(pendingRows + repeat, maxRows + 1);
            return true;
        }
        if (sheet.rows.size() + pendingRows + repeat > maxRows) {
            *why = tr("wierszy jest więcej niż %1").arg(maxRows);
            return false;
        }
        if (repeat > 1 && !spend(row.size() * (repeat - 1), why))
            return false;
        for (; pendingRows > 0; --pendingRows)
            sheet.rows.append(QStringList());
        // The row kept at its size; the one being built keeps its room for
        // the next row.
        const QStringList kept(row.cbegin(), row.cend());
        for (qsizetype k = 0; k < repeat; ++k)
            sheet.rows.append(kept);
        row.resize(0);
        return true;
    }
    // Skips to row `index` (from 0).
    void skipRowsTo(qsizetype index) { pendingRows = index - sheet.rows.size(); }
    qsizetype nextRow() const { return sheet.rows.size() + pendingRows; }
    const QString &name() const { return sheet.name; }

    WorkbookSheet take() { return std::move(sheet); }

private:
    bool spend(qsizetype cells, QString *why)
    {
        *budget -= cells;
        if (*budget >= 0)
            return true;
        *why = tr("komórek jest więcej niż %1").arg(maxCells);
        return false;
    }

    WorkbookSheet sheet;
    QStringList row;
    qsizetype pendingColumns = 0;
    qsizetype pendingRows = 0;
    qsizetype *budget;
};

// A whole number from an attribute, at least 1; `ok` false when it is no
// number at all. Runs longer than any sheet are cut to just past it.
qsizetype repeatCount(QStringView value, bool *ok)
{
    *ok = true;
    if (value.isEmpty())
        return 1;
    qulonglong n = value.toULongLong(ok);
    if (!*ok) {
        // Longer than 20 digits is still a number, just a large one.
        bool digits = !value.isEmpty() && std::all_of(value.begin(), value.end(), [](QChar c) { return c.isDigit(); });
        *ok = digits;
        n = qulonglong(maxRows) * 2;
    }
    if (n == 0)
        *ok = false;
    return qsizetype(std::min<qulonglong>(n, qulonglong(maxRows) * 2));
}

// Sheets repeat their texts ("Praca", "Awaria", ...): equal short cells
// share one string, which saves an allocation a cell and most of the memory
// of a large sheet. A small table indexed by a hash of the cell's bytes (as
// the file has them for delimited text, as expat gives them, UTF-8, for XML)
// remembers the last cell seen in each slot; another text in the same slot
// takes it over, so a sheet of all-different cells costs little more than
// making a string of each.
class RecentTexts
{
public:
    // The text of the bytes at `units`, made by make() when it is not in the table.
    template<typename Make>
    QString text(const char *units, qsizetype length, Make make)
    {
        if (length == 0)
            return QString();
        if (length > sharedLength)
            return make();
        if (table.empty())
            table.resize(size_t(1) << slotBits);
        quint64 hash = quint64(length) * 0x9E3779B97F4A7C15ull;
        for (qsizetype i = 0; i < length; ++i)
            hash = (hash ^ quint64(units[i])) * 0x100000001B3ull;
        Slot &slot = table[size_t((hash * 0x9E3779B97F4A7C15ull) >> (64 - slotBits))];
        if (slot.length == length && std::memcmp(slot.units, units, size_t(length)) == 0)
            return slot.text;
        std::memcpy(slot.units, units, size_t(length));
        slot.length = length;
        slot.text = make();
        return slot.text;
    }

private:
    static constexpr qsizetype sharedLength = 48;
    static constexpr int slotBits = 12;
    struct Slot
    {
        char units[sharedLength];
        qsizetype length = 0;
        QString text;
    };
    std::vector<Slot> table;
};

// ----------------------------------------------------------------- expat
//
// Every XML part (an ODS's content.xml, an XLSX's workbook, relationships,
// sheets and shared strings) goes through expat, a push parser, with one set
// of bounds and messages: the part is fed to it in blocks,
// never whole, and each reader below keeps its own place between the calls
// expat makes for every element and piece of text. Names come as
// "namespace|local" ("local" alone outside any namespace) and are compared
// as bytes; a cell's text is gathered as UTF-8 and made a string once.
//
// A DTD is refused: a spreadsheet program writes none, and a DTD is how
// entities get into a document. No handler for external entities is set,
// so none is ever loaded, and expat's own bound on how far entities may
// amplify the input stays on. Elements nest at most maxDepth deep.

static_assert(std::is_same_v<XML_Char, char>, "expat is expected to give UTF-8");

constexpr char nsSeparator = '|';
constexpr int feedBytes = 64 << 10;
constexpr int maxFeedBytes = 64 << 20;

// The local part of an expat name. The separator is no name character, but
// a namespace URI may hold one: the last one counts.
const char *localName(const char *name)
{
    const char *separator = std::strrchr(name, nsSeparator);
    return separator ? separator + 1 : name;
}

bool equal(const char *a, const char *b)
{
    return std::strcmp(a, b) == 0;
}

// The value of the attribute `name` ("namespace|local", or "local" for an
// attribute without a prefix), null when the element has none.
const char *attribute(const char **attributes, const char *name)
{
    for (; *attributes; attributes += 2) {
        if (equal(attributes[0], name))
            return attributes[1];
    }
    return nullptr;
}

// A whole number from text, as QString::toLongLong reads it; plain digits,
// which is what the programs write, without making a string of them.
qlonglong wholeNumber(const char *value, bool *ok)
{
    qlonglong n = 0;
    int i = 0;
    for (; i < 18 && value[i] >= '0' && value[i] <= '9'; ++i)
        n = n * 10 + (value[i] - '0');
    if (i > 0 && value[i] == '\0') {
        *ok = true;
        return n;
    }
    return QString::fromUtf8(value).toLongLong(ok);
}

// repeatCount of an attribute's value; absent or empty is once.
qsizetype repeatCount(const char *value, bool *ok)
{
    *ok = true;
    if (!value || !*value)
        return 1;
    qulonglong n = 0;
    int i = 0;
    for (; i < 18 && value[i] >= '0' && value[i] <= '9'; ++i)
        n = n * 10 + qulonglong(value[i] - '0');
    if (value[i] == '\0') {
        *ok = n > 0;
        return qsizetype(std::min<qulonglong>(n, qulonglong(maxRows) * 2));
    }
    return repeatCount(QString::fromUtf8(value), ok);
}

// A text gathered from XML as UTF-8, with its length counted as a string's
// (UTF-16 code units: every byte but a continuation byte, and one more for
// a character beyond the BMP). It keeps its room from cell to cell.
struct Utf8Text
{
    std::string bytes;
    qsizetype units = 0;

    void clear()
    {
        bytes.clear();
        units = 0;
    }
    void append(const char *s, int length)
    {
        bytes.append(s, size_t(length));
        for (int i = 0; i < length; ++i) {
            const uchar b = uchar(s[i]);
            units += ((b & 0xC0) != 0x80) + (b >= 0xF0);
        }
    }
    void append(char c, qsizetype count = 1)
    {
        bytes.append(size_t(count), c);
        units += count;
    }
    bool tooLong() const { return units > maxCellLength; }
    bool contains(const char *s) const { return bytes.find(s) != std::string::npos; }
    QString toString() const { return QString::fromUtf8(bytes.data(), qsizetype(bytes.size())); }
};

// expat's reasons for damaged XML, in the words of the program; the rare
// ones in expat's own.
QString xmlError(XML_Error code)
{
    switch (code) {
    case XML_ERROR_NO_MEMORY:
        return tr("brak pamięci");
    case XML_ERROR_SYNTAX:
        return tr("błąd składni");
    case XML_ERROR_NO_ELEMENTS:
        return tr("brak elementu: część jest pusta albo ucięta");
    case XML_ERROR_INVALID_TOKEN:
        return tr("niedozwolony znak");
    case XML_ERROR_UNCLOSED_TOKEN:
        return tr("niedomknięty znacznik");
    case XML_ERROR_PARTIAL_CHAR:
        return tr("ucięty znak");
    case XML_ERROR_TAG_MISMATCH:
        return tr("znacznik zamykający nie pasuje do otwierającego");
    case XML_ERROR_DUPLICATE_ATTRIBUTE:
        return tr("powtórzony atrybut");
    case XML_ERROR_JUNK_AFTER_DOC_ELEMENT:
        return tr("dane po końcu dokumentu");
    case XML_ERROR_UNDEFINED_ENTITY:
        return tr("nieznana encja");
    case XML_ERROR_UNKNOWN_ENCODING:
        return tr("nieznane kodowanie znaków");
    case XML_ERROR_INCORRECT_ENCODING:
        return tr("kodowanie niezgodne z deklaracją");
    case XML_ERROR_UNCLOSED_CDATA_SECTION:
        return tr("niedomknięta sekcja CDATA");
    case XML_ERROR_UNBOUND_PREFIX:
        return tr("nieznany prefiks przestrzeni nazw");
    case XML_ERROR_MISPLACED_XML_PI:
        return tr("deklaracja XML nie na początku");
    case XML_ERROR_AMPLIFICATION_LIMIT_BREACH:
        return tr("encje rozwijają się w zbyt długi tekst");
    case XML_ERROR_INVALID_ARGUMENT:
    default:
        return QString::fromLatin1(XML_ErrorString(code));
    }
}

QString tooLongCell()
{
    return tr("komórka dłuższa niż %1 znaków").arg(maxCellLength);
}

// What the readers of the large parts share: the parser, fed from the
// device, and the message for a failure at the current place. A reader
// stops the parser with stop(why); skip() in start() passes over the rest
// of the element just started.
class ExpatReader
{
    Q_DECLARE_TR_FUNCTIONS(WorkbookFile)

public:
    ExpatReader(const QString &fileName, const QString &partName)
        : parser(XML_ParserCreateNS(nullptr, nsSeparator))
        , file(fileName)
        , part(partName)
    {
        Q_CHECK_PTR(parser);
        XML_SetUserData(parser, this);
        XML_SetElementHandler(parser, onStart, onEnd);
        XML_SetCharacterDataHandler(parser, onText);
        XML_SetStartDoctypeDeclHandler(parser, onDoctype);
        XML_SetXmlDeclHandler(parser, onXmlDeclaration);
        XML_SetParamEntityParsing(parser, XML_PARAM_ENTITY_PARSING_NEVER);
    }
    virtual ~ExpatReader() { XML_ParserFree(parser); }
    ExpatReader(const ExpatReader &) = delete;
    ExpatReader &operator=(const ExpatReader &) = delete;

    // Reads the whole part; false with the refusal in `error`.
    bool read(QIODevice &device, QString *error)
    {
        // expat scans a token that a block leaves unfinished again from its
        // start with the next block: a block that gave no element and no
        // text makes the next one twice as large, so that a huge tag or
        // attribute value is scanned a few times, not once a block.
        int block = feedBytes;
        for (;;) {
            void *buffer = XML_GetBuffer(parser, block);
            const qint64 got = buffer ? device.read(static_cast<char *>(buffer), block) : 0;
            const bool last = got <= 0;
            const quint64 before = events;
            if (!buffer || XML_ParseBuffer(parser, last ? 0 : int(got), last) != XML_STATUS_OK) {
                setError(error, stopped ? stopMessage : damaged());
                return false;
            }
            if (last)
                return true;
            block = events != before ? feedBytes : std::min(block * 2, maxFeedBytes);
        }
    }

    // The cell being read ("content.xml, komórka Arkusz1!C14"), else the
    // line of the part ("xl/workbook.xml, wiersz XML 3").
    QString where() const
    {
        const QString address = cellAddress();
        if (!address.isEmpty())
            return tr("%1, komórka %2").arg(shown(part), address);
        return tr("%1, wiersz XML %2").arg(shown(part)).arg(qulonglong(XML_GetCurrentLineNumber(parser)));
    }
    QString fail(const QString &why) const { return refusal(file, where(), why); }

protected:
    virtual void start(const char *name, const char **attributes) = 0;
    virtual void end(const char *name) = 0;
    virtual void text(const char *s, int length) = 0;
    // The address of the cell being read, if any.
    virtual QString cellAddress() const { return QString(); }

    void stop(const QString &why)
    {
        if (stopped)
            return;
        stopped = true;
        stopMessage = fail(why);
        XML_StopParser(parser, XML_FALSE);
    }
    void skip() { skipping = 1; }

private:
    QString damaged() const { return fail(tr("uszkodzony XML (%1)").arg(xmlError(XML_GetErrorCode(parser)))); }

    static void XMLCALL onStart(void *data, const XML_Char *name, const XML_Char **attributes)
    {
        auto *self = static_cast<ExpatReader *>(data);
        ++self->events;
        if (self->stopped)
            return;
        // Spreadsheet programs nest a few dozen elements at most; expat
        // would keep a stack of any depth.
        if (++self->depth > maxDepth)
            return self->stop(tr("elementy zagnieżdżone głębiej niż %1 poziomów").arg(maxDepth));
        if (self->skipping > 0)
            ++self->skipping;
        else
            self->start(name, attributes);
    }
    static void XMLCALL onEnd(void *data, const XML_Char *name)
    {
        auto *self = static_cast<ExpatReader *>(data);
        ++self->events;
        if (self->stopped)
            return;
        --self->depth;
        if (self->skipping > 0)
            --self->skipping;   // the skipped element's own end included
        else
            self->end(name);
    }
    static void XMLCALL onText(void *data, const XML_Char *s, int length)
    {
        auto *self = static_cast<ExpatReader *>(data);
        ++self->events;
        if (!self->stopped && self->skipping == 0)
            self->text(s, length);
    }
    static void XMLCALL onDoctype(void *data, const XML_Char *, const XML_Char *, const XML_Char *, int)
    {
        static_cast<ExpatReader *>(data)->stop(tr("uszkodzony XML (deklaracja DOCTYPE, której arkusze nie mają)"));
    }

    // Version 1.0, as every spreadsheet program writes it; expat would take
    // any version at all.
    static void XMLCALL onXmlDeclaration(void *data, const XML_Char *version, const XML_Char *, int)
    {
        if (version && !equal(version, "1.0")) {
            static_cast<ExpatReader *>(data)->stop(
                tr("uszkodzony XML (nieobsługiwana wersja XML „%1”)").arg(QString::fromUtf8(version).left(20)));
        }
    }

    XML_Parser parser;
    QString file;
    QString part;
    int skipping = 0;   // elements open inside a skipped one, itself included
    int depth = 0;      // elements open
    quint64 events = 0; // elements and texts reported
    bool stopped = false;
    QString stopMessage;
};

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
        const QString text = recent.text(cell.bytes.data(), qsizetype(cell.bytes.size()), [&] { return cell.toString(); });
        QString why;
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
    RecentTexts recent;
};

// ------------------------------------------------------------------ XLSX

// "_x000D_" and the like: characters Excel writes escaped.
QString unescapeXlsx(QString text)
{
    if (text.contains(QLatin1String("_x"))) {
        QString out;
        out.reserve(text.size());
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text.at(i) == u'_' && i + 6 < text.size() && text.at(i + 1) == u'x' && text.at(i + 6) == u'_') {
                bool ok = false;
                const uint code = QStringView(text).sliced(i + 2, 4).toUInt(&ok, 16);
                if (ok) {
                    out += QChar(char16_t(code));
                    i += 6;
                    continue;
                }
            }
            out += text.at(i);
        }
        text = std::move(out);
    }
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return text;
}

// A number as the cell shows it through its format (none: General, up to
// 15 significant digits, no trailing zeros); what is no number stays as
// written.
QString xlsxNumber(const QString &value, const NumberFormat *format, const NumberFormat::Context &context)
{
    bool ok = false;
    const double d = value.toDouble(&ok);
    if (!ok || !std::isfinite(d))
        return value;
    return format ? format->number(d, context) : NumberFormat::general(d, context.language);
}

// An ISO date cell (t="d": "2024-03-15", "2024-03-15T12:00:00") as a serial
// date; none when it is not one.
std::optional<double> xlsxSerial(const QString &value, bool date1904)
{
    QDateTime at = QDateTime::fromString(value, Qt::ISODateWithMs);
    if (!at.isValid())
        at = QDateTime(QDate::fromString(value, Qt::ISODate), QTime(0, 0));
    if (!at.isValid())
        return std::nullopt;
    const QDate first = date1904 ? QDate(1904, 1, 1) : QDate(1899, 12, 30);
    double days = double(first.daysTo(at.date()));
    // Excel's 1900 has a 29 February: the days before it count one more.
    if (!date1904 && days > 0 && days < 61)
        days += 1;
    return days + at.time().msecsSinceStartOfDay() / 86'400'000.0;
}

// "C14": column 2; the letters only are looked at.
std::optional<int> xlsxColumn(QStringView ref)
{
    qsizetype letters = 0;
    while (letters < ref.size() && ref.at(letters).isLetter())
        ++letters;
    return CellAddress::column(ref.first(letters));
}

// The text of all <t> below an <si> or <is> (rich-text runs joined, the
// text of a <t>'s children included), phonetic runs left out; given the
// item's content a call at a time.
struct RichText
{
    enum class Step { Go, Skip };

    void begin()
    {
        text.clear();
        depth = 0;
        inT = 0;
    }
    Step start(const char *local)
    {
        if (inT > 0) {
            ++inT;
        } else if (equal(local, "rPh") || equal(local, "phoneticPr")) {
            return Step::Skip;
        } else if (equal(local, "t")) {
            inT = 1;
        } else {
            ++depth;
        }
        return Step::Go;
    }
    // True at the item's own end.
    bool end()
    {
        if (inT > 0) {
            --inT;
            return false;
        }
        return depth-- == 0;
    }
    // False once the text is longer than a cell may be.
    bool add(const char *s, int length)
    {
        if (inT > 0)
            text.append(s, length);
        return !text.tooLong();
    }
    QString take() const
    {
        QString s = text.toString();
        if (text.contains("_x") || text.contains("\r"))
            s = unescapeXlsx(std::move(s));
        return s;
    }

    Utf8Text text;
    int depth = 0;   // elements open below the item, outside any <t>
    int inT = 0;     // elements open from a <t> down
};

// "C14": column 2; the letters only are looked at. Letters that are ASCII
// are read in place, anything else as a string.
std::optional<int> xlsxColumn(const char *ref)
{
    char16_t letters[16];
    qsizetype n = 0;
    for (;; ++n) {
        const uchar c = uchar(ref[n]);
        if (c >= 0x80 || n == qsizetype(std::size(letters)))
            return xlsxColumn(QString::fromUtf8(ref));
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')))
            break;
        letters[n] = c;
    }
    return CellAddress::column(QStringView(letters, n));
}

class XlsxSharedStringsReader : public ExpatReader
{
    Q_DECLARE_TR_FUNCTIONS(WorkbookFile)

public:
    XlsxSharedStringsReader(const QString &name, const QString &part, QStringList &strings, qsizetype &budget)
        : ExpatReader(name, part)
        , strings(strings)
        , budget(budget)
    {
    }

protected:
    void start(const char *name, const char **) override
    {
        const char *local = localName(name);
        if (!inItem) {
            if (equal(local, "si")) {
                // Every string takes room, an empty one too.
                if (--budget < 0)
                    return stop(tr("komórek i tekstów jest więcej niż %1").arg(maxCells));
                inItem = true;
                item.begin();
            }
        } else if (item.start(local) == RichText::Step::Skip) {
            skip();
        }
    }
    void end(const char *) override
    {
        if (inItem && item.end()) {
            strings.append(item.take());
            inItem = false;
        }
    }
    void text(const char *s, int length) override
    {
        if (inItem && !item.add(s, length))
            stop(tooLongCell());
    }

private:
    QStringList &strings;
    qsizetype &budget;
    bool inItem = false;
    RichText item;
};

// A worksheet: the <c>s of the <row>s of <sheetData>, by the local name
// alone, as Excel and the others write the main namespace as the default
// one. A cell's <v> or <is> is its value; formulas and extensions are
// passed over, and so is anything else inside <sheetData> but rows.
class XlsxSheetReader : public ExpatReader
{
    Q_DECLARE_TR_FUNCTIONS(WorkbookFile)

public:
    XlsxSheetReader(const QStringList &shared, const XlsxStyles &styles, const QString &name, const QString &part,
                    qsizetype &budget)
        : ExpatReader(name, part)
        , shared(shared)
        , styles(styles)
        , sheet(part, &budget)
    {
    }
    bool sawData = false;
    WorkbookSheet take() { return sheet.take(); }

protected:
    void start(const char *name, const char **attributes) override
    {
        const char *local = localName(name);
        if (inCell) {
            switch (child) {
            case Child::Value:
                ++valueDepth;
                return;
            case Child::Inline:
                if (inlineText.start(local) == RichText::Step::Skip)
                    skip();
                return;
            case Child::None:
                break;
            }
            if (equal(local, "v")) {
                value.clear();
                valueDepth = 0;
                child = Child::Value;
            } else if (equal(local, "is")) {
                inlineText.begin();
                child = Child::Inline;
            } else {
                skip();   // a formula, extensions
            }
            return;
        }
        if (equal(local, "sheetData")) {
            inData = sawData = true;
            return;
        }
        if (!inData)
            return;
        if (equal(local, "row"))
            return rowStart(attributes);
        if (!inRow || !equal(local, "c"))
            return skip();
        cellStart(attributes);
    }
    void end(const char *name) override
    {
        if (inCell) {
            switch (child) {
            case Child::Value:
                if (valueDepth-- == 0)
                    child = Child::None;
                return;
            case Child::Inline:
                if (inlineText.end()) {
                    inline_ = inlineText.take();
                    hasInline = true;
                    child = Child::None;
                }
                return;
            case Child::None:
                break;
            }
            cellEnd();
            inCell = false;
            return;
        }
        const char *local = localName(name);
        if (equal(local, "sheetData"))
            inData = false;
        if (inRow && equal(local, "row")) {
            inRow = false;
            QString why;
            if (!sheet.endRow(1, &why))
                stop(why);
        }
    }
    void text(const char *s, int length) override
    {
        if (!inCell)
            return;
        if (child == Child::Value) {
            value.append(s, length);
            if (value.tooLong())
                stop(tooLongCell());
        } else if (child == Child::Inline && !inlineText.add(s, length)) {
            stop(tooLongCell());
        }
    }

private:
    enum class CellType { Shared, Inline, Boolean, Text, Error, Date, Number };
    enum class Child { None, Value, Inline };   // what of the cell is being read

    QString refText() const { return QString::fromUtf8(ref.data(), qsizetype(ref.size())).left(20); }

    void rowStart(const char **attributes)
    {
        const char *r = attribute(attributes, "r");
        qsizetype index = sheet.nextRow();
        if (r && *r) {
            bool ok = false;
            index = wholeNumber(r, &ok) - 1;
            if (!ok || index < sheet.nextRow() || index >= maxRows)
                return stop(tr("błędny numer wiersza „%1”").arg(QString::fromUtf8(r).left(20)));
        }
        sheet.skipRowsTo(index);
        inRow = true;
    }
    // What the cell's attributes say.
    void cellStart(const char **attributes)
    {
        const char *r = nullptr;
        const char *t = nullptr;
        const char *s = nullptr;
        for (const char **a = attributes; *a; a += 2) {
            if (equal(a[0], "r"))
                r = a[1];
            else if (equal(a[0], "t"))
                t = a[1];
            else if (equal(a[0], "s"))
                s = a[1];
        }
        ref.assign(r ? r : "");
        if (r && *r) {
            const std::optional<int> column = xlsxColumn(r);
            if (!column || *column < sheet.nextColumn() || !validRow(r))
                return stop(tr("błędny adres komórki „%1”").arg(refText()));
            sheet.skipTo(*column);
        }
        cellRow = sheet.nextRow();
        cellColumn = sheet.nextColumn();
        type = !t                      ? CellType::Number
               : equal(t, "s")         ? CellType::Shared
               : equal(t, "inlineStr") ? CellType::Inline
               : equal(t, "b")         ? CellType::Boolean
               : equal(t, "str")       ? CellType::Text
               : equal(t, "e")         ? CellType::Error
               : equal(t, "d")         ? CellType::Date
                                       : CellType::Number;
        // A style past the list, or no number, is style 0, as Excel takes it.
        style.assign(s ? s : "");
        format = nullptr;
        if (!styles.cellFormats.empty()) {
            bool ok = false;
            const qlonglong index = s && *s ? wholeNumber(s, &ok) : 0;
            const NumberFormat &f = styles.cellFormats[ok && index >= 0 && size_t(index) < styles.cellFormats.size()
                                                           ? size_t(index)
                                                           : 0];
            if (!f.isGeneral())
                format = &f;
        }
        value.clear();
        hasInline = false;
        child = Child::None;
        inCell = true;
    }
    void cellEnd()
    {
        QString text;
        switch (type) {
        case CellType::Shared: {
            bool ok = false;
            const qlonglong index = wholeNumber(value.bytes.c_str(), &ok);
            if (!ok || index < 0 || index >= shared.size())
                return stop(tr("wskazuje tekst nr %1, którego nie ma").arg(value.toString().left(20)));
            text = shared.at(qsizetype(index));
            break;
        }
        case CellType::Inline:
            text = hasInline ? inline_ : unescapeXlsx(value.toString());
            break;
        case CellType::Boolean:
            text = value.bytes.empty() ? QString() : value.bytes == "0" ? no : yes;
            break;
        case CellType::Text:
        case CellType::Error:
            text = unescapeXlsx(value.toString());
            break;
        case CellType::Date: {
            text = unescapeXlsx(value.toString());
            const std::optional<double> serial = format ? xlsxSerial(text, styles.context.date1904) : std::nullopt;
            if (serial)
                text = format->number(*serial, styles.context);
            break;
        }
        case CellType::Number:
            if (!format) {
                text = numbers.text(value.bytes.data(), qsizetype(value.bytes.size()),
                                    [&] { return xlsxNumber(value.toString(), nullptr, styles.context); });
                break;
            }
            // The same number in another style is another text (0x1F cannot
            // be in XML text, so no plain number's bytes look like this).
            key.assign(value.bytes).append(1, '\x1F').append(style);
            text = numbers.text(key.data(), qsizetype(key.size()),
                                [&] { return xlsxNumber(value.toString(), format, styles.context); });
            break;
        }
        if (format && type != CellType::Number && type != CellType::Boolean && type != CellType::Error
            && type != CellType::Date && format->changesText() && !text.isEmpty())
            text = format->text(text);
        QString why;
        if (!sheet.addCell(text, 1, &why))
            stop(why);
    }
    QString cellAddress() const override
    {
        return inCell ? CellAddress::columnName(cellColumn) + QString::number(cellRow + 1) : QString();
    }
    // The digits after a cell reference's letters: a row from 1 up.
    static bool validRow(const char *ref)
    {
        while ((*ref >= 'A' && *ref <= 'Z') || (*ref >= 'a' && *ref <= 'z'))
            ++ref;
        if (*ref < '1' || *ref > '9')
            return false;
        qsizetype row = 0;
        for (; *ref >= '0' && *ref <= '9'; ++ref) {
            row = row * 10 + (*ref - '0');
            if (row > maxRows)
                return false;
        }
        return *ref == '\0';
    }

    const QStringList &shared;
    const XlsxStyles &styles;
    SheetBuilder sheet;
    bool inData = false;
    bool inRow = false;
    bool inCell = false;
    Child child = Child::None;
    int valueDepth = 0;   // elements open inside <v>
    CellType type = CellType::Number;
    qsizetype cellRow = 0;
    qsizetype cellColumn = 0;
    // Reused for every cell: they keep their room.
    std::string ref;
    std::string style;   // the s attribute as written
    std::string key;     // a number and its style, for `numbers`
    const NumberFormat *format = nullptr;   // none: General
    Utf8Text value;
    RichText inlineText;
    QString inline_;
    bool hasInline = false;
    RecentTexts numbers;
    const QString yes = tr("PRAWDA");
    const QString no = tr("FAŁSZ");
};

// `target` of a relationship of a part in `base`, as a path in the package;
// none when it leads outside the package.
std::optional<QString> joinPath(const QString &base, const QString &target)
{
    if (target.isEmpty())
        return std::nullopt;
    QStringList parts;
    if (!target.startsWith(QLatin1Char('/')))
        parts = base.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    const QStringList more = target.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString &p : more) {
        if (p == QLatin1String("..")) {
            if (parts.isEmpty())
                return std::nullopt;
            parts.removeLast();
        } else if (p != QLatin1String(".")) {
            parts.append(p);
        }
    }
    if (parts.isEmpty())
        return std::nullopt;
    return parts.join(QLatin1Char('/'));
}

// xl/workbook.xml: the sheets by name and relationship id, in order.
class XlsxWorkbookReader : public ExpatReader
{
    Q_DECLARE_TR_FUNCTIONS(WorkbookFile)

public:
    struct Sheet
    {
        QString name;
        QString id;
    };

    XlsxWorkbookReader(const QString &name, const QString &part)
        : ExpatReader(name, part)
    {
    }
    QList<Sheet> sheets;
    bool date1904 = false;

protected:
    void start(const char *name, const char **attributes) override
    {
        const char *local = localName(name);
        if (equal(local, "workbookPr")) {
            const char *d = attribute(attributes, "date1904");
            date1904 = d && (equal(d, "1") || equal(d, "true"));
            return;
        }
        if (!equal(local, "sheet"))
            return;
        if (sheets.size() >= maxSheets)
            return stop(tr("więcej niż %1 arkuszy").arg(maxSheets));
        Sheet sheet;
        for (const char **a = attributes; *a; a += 2) {
            const char *attributeLocal = localName(a[0]);
            if (attributeLocal == a[0]) {
                if (equal(a[0], "name"))
                    sheet.name = QString::fromUtf8(a[1]);
            } else if (equal(attributeLocal, "id")
                       && std::string_view(a[0], size_t(attributeLocal - a[0] - 1)).ends_with("relationships")) {
                sheet.id = QString::fromUtf8(a[1]);
            }
        }
        sheets.append(std::move(sheet));
    }
    void end(const char *) override {}
    void text(const char *, int) override {}
};

// A relationships part: where each id leads, and the shared strings' part.
class RelationshipsReader : public ExpatReader
{
    Q_DECLARE_TR_FUNCTIONS(WorkbookFile)

public:
    RelationshipsReader(const QString &name, const QString &part)
        : ExpatReader(name, part)
    {
    }
    struct Target
    {
        QString path;   // in the package; empty for one outside it
        QString type;   // the last part of the type ("worksheet", "sharedStrings")
    };
    QHash<QString, Target> targets;

protected:
    void start(const char *name, const char **attributes) override
    {
        if (!equal(localName(name), "Relationship"))
            return;
        if (targets.size() >= maxZipEntries)
            return stop(tr("więcej niż %1 powiązań części").arg(maxZipEntries));
        const char *id = attribute(attributes, "Id");
        const char *type = attribute(attributes, "Type");
        const char *target = attribute(attributes, "Target");
        const char *mode = attribute(attributes, "TargetMode");
        Target t;
        if (type) {
            const char *slash = std::strrchr(type, '/');
            t.type = QString::fromUtf8(slash ? slash + 1 : type);
        }
        if (target && !(mode && equal(mode, "External")))
            t.path = joinPath(QStringLiteral("xl"), QString::fromUtf8(target)).value_or(QString());
        targets.insert(QString::fromUtf8(id ? id : ""), t);
    }
    void end(const char *) override {}
    void text(const char *, int) override {}
};

// xl/styles.xml: the custom number formats (numFmts/numFmt: numFmtId,
// formatCode) and the number format of each cell style (cellXfs/xf:
// numFmtId). The rest (fonts, fills, borders, cellStyleXfs) is passed over.
class XlsxStylesReader : public ExpatReader
{
    Q_DECLARE_TR_FUNCTIONS(WorkbookFile)

public:
    XlsxStylesReader(const QString &name, const QString &part)
        : ExpatReader(name, part)
    {
    }
    QHash<qlonglong, QString> codes;   // numFmtId: formatCode
    QList<qlonglong> cellFormatIds;    // cellXfs' numFmtIds

protected:
    void start(const char *name, const char **attributes) override
    {
        const char *local = localName(name);
        ++depth;
        if (equal(local, "numFmts") && depth == 2) {
            inFormats = true;
        } else if (equal(local, "cellXfs") && depth == 2) {
            inCellStyles = true;
        } else if (inFormats && depth == 3 && equal(local, "numFmt")) {
            if (codes.size() >= maxNumberFormats)
                return stop(tr("formatów liczb jest więcej niż %1").arg(maxNumberFormats));
            const qlonglong id = formatId(attribute(attributes, "numFmtId"));
            const char *code = attribute(attributes, "formatCode");
            const QString text = QString::fromUtf8(code ? code : "");
            if (text.size() > maxFormatCodeLength)
                return stop(tr("format liczb dłuższy niż %1 znaków").arg(maxFormatCodeLength));
            if (id >= 0)
                codes.insert(id, text);
        } else if (inCellStyles && depth == 3 && equal(local, "xf")) {
            if (cellFormatIds.size() >= maxCellStyles)
                return stop(tr("stylów komórek jest więcej niż %1").arg(maxCellStyles));
            const char *id = attribute(attributes, "numFmtId");
            cellFormatIds.append(id ? formatId(id) : 0);
        }
    }
    void end(const char *name) override
    {
        const char *local = localName(name);
        if (depth == 2 && equal(local, "numFmts"))
            inFormats = false;
        else if (depth == 2 && equal(local, "cellXfs"))
            inCellStyles = false;
        --depth;
    }
    void text(const char *, int) override {}

private:
    // A format's number; a malformed one stops the reading.
    qlonglong formatId(const char *value)
    {
        bool ok = false;
        const qlonglong id = value ? wholeNumber(value, &ok) : -1;
        if (!ok || id < 0) {
            stop(tr("błędny numer formatu liczb „%1”").arg(QString::fromUtf8(value ? value : "").left(20)));
            return -1;
        }
        return id;
    }

    int depth = 0;   // elements open, the styleSheet itself included
    bool inFormats = false;
    bool inCellStyles = false;
};

} // namespace

bool readXlsxStyles(QIODevice &device, const QString &name, XlsxStyles &styles, QString *error)
{
    styles.cellFormats.clear();
    XlsxStylesReader reader(name, QStringLiteral("xl/styles.xml"));
    if (!reader.read(device, error))
        return false;
    // Parsed once a format, however many styles use it.
    QHash<qlonglong, NumberFormat> parsed;
    styles.cellFormats.reserve(size_t(reader.cellFormatIds.size()));
    for (const qlonglong id : std::as_const(reader.cellFormatIds)) {
        auto it = parsed.find(id);
        if (it == parsed.end()) {
            const auto custom = reader.codes.constFind(id);
            const QString code = custom != reader.codes.cend()
                                     ? *custom
                                     : id < 50 ? NumberFormat::builtInCode(int(id), styles.context.language) : QString();
            it = parsed.insert(id, NumberFormat(code));
        }
        styles.cellFormats.push_back(*it);
    }
    return true;
}

bool readXlsxSharedStrings(QIODevice &device, const QString &name, QStringList &strings, QString *error,
                           qsizetype *cellBudget)
{
    strings.clear();
    qsizetype own = maxCells;
    XlsxSharedStringsReader reader(name, QStringLiteral("xl/sharedStrings.xml"), strings, cellBudget ? *cellBudget : own);
    return reader.read(device, error);
}

bool readXlsxSheet(QIODevice &device, const QStringList &shared, const QString &name, WorkbookSheet &sheetOut,
                   QString *error, qsizetype *cellBudget, const XlsxStyles &styles)
{
    qsizetype own = maxCells;
    XlsxSheetReader reader(shared, styles, name, sheetOut.name, cellBudget ? *cellBudget : own);
    if (!reader.read(device, error))
        return false;
    if (!reader.sawData) {
        setError(error, reader.fail(tr("brak danych arkusza (sheetData)")));
        return false;
    }
    sheetOut = reader.take();
    return true;
}

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

// ------------------------------------------------------------------- ZIP

// The compression methods a ZIP entry may name, for the refusal.
QString methodName(int method)
{
    switch (method) {
    case 9:
        return QStringLiteral("Deflate64");
    case 12:
        return QStringLiteral("BZIP2");
    case 14:
        return QStringLiteral("LZMA");
    case 93:
        return QStringLiteral("Zstandard");
    case 95:
        return QStringLiteral("XZ");
    case 98:
        return QStringLiteral("PPMd");
    case 99:
        return QStringLiteral("AES");
    default:
        return QString::number(method);
    }
}

// One entry of the archive, read through at most `limit` bytes: past them
// the read fails and `exceeded` says so.
class BoundedEntry : public QIODevice
{
    Q_DECLARE_TR_FUNCTIONS(WorkbookFile)

public:
    BoundedEntry(QIODevice &source, qint64 limit)
        : source(source)
        , left(limit)
    {
        open(QIODevice::ReadOnly);
    }
    bool isSequential() const override { return true; }
    bool exceeded = false;
    bool failed = false;
    qint64 taken = 0;

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        if (exceeded || failed)
            return -1;
        if (left <= 0) {
            char probe = 0;
            if (source.read(&probe, 1) > 0) {
                exceeded = true;
                return -1;
            }
            return 0;
        }
        const qint64 got = source.read(data, std::min(maxSize, left));
        if (got < 0) {
            failed = true;
            return -1;
        }
        left -= got;
        taken += got;
        return got;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QIODevice &source;
    qint64 left;
};

// The first `length` bytes of a device, for reading at random.
class DevicePrefix : public QIODevice
{
public:
    DevicePrefix(QIODevice &source, qint64 length)
        : source(source)
        , length(length)
    {
    }
    qint64 size() const override { return length; }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        const qint64 at = pos();
        if (at >= length)
            return 0;
        if (!source.seek(at))
            return -1;
        return source.read(data, std::min(maxSize, length - at));
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QIODevice &source;
    qint64 length;
};

class ZipReader
{
    Q_DECLARE_TR_FUNCTIONS(WorkbookFile)

public:
    ZipReader(QIODevice &device, const QString &fileName)
        : source(device)
        , zip(&device)
        , name(fileName)
    {
    }

    bool open(const QString &kind, QString *error)
    {
        // minizip looks for the archive's end record only in the last
        // 64 KiB, where a comment of nearly that length hides it: such an
        // archive is read without its comment.
        const qint64 end = source.size() > 0xFFFF ? endRecordEnd(source) : 0;
        if (end > 0 && end < source.size() - 0xFFFF + 22) {
            withoutComment.emplace(source, end);
            zip.setIoDevice(&*withoutComment);
        }
        if (!zip.open(QuaZip::mdUnzip)) {
            setError(error, refusal(name, QString(), tr("to nie jest plik %1 (nie jest archiwum ZIP albo jest uszkodzony)")
                                                          .arg(kind)));
            return false;
        }
        if (zip.getEntriesCount() > maxZipEntries) {
            setError(error, refusal(name, QString(), tr("archiwum ma więcej niż %1 części").arg(maxZipEntries)));
            return false;
        }
        entries = zip.getFileNameList();
        // Two entries of one name: which one is the part depends on who reads.
        QSet<QString> seen;
        seen.reserve(entries.size());
        for (const QString &entry : std::as_const(entries)) {
            if (seen.contains(entry)) {
                setError(error, refusal(name, shown(entry), tr("uszkodzone archiwum: dwie części o tej samej nazwie")));
                return false;
            }
            seen.insert(entry);
        }
        return true;
    }
    bool has(const QString &entry) const { return entries.contains(entry); }

    // Streams `entry` to `parse`, bounded; false with the reason in `error`.
    bool read(const QString &entry, const std::function<bool(QIODevice &)> &parse, QString *error)
    {
        if (!zip.setCurrentFile(entry)) {
            setError(error, refusal(name, shown(entry), tr("brak tej części archiwum")));
            return false;
        }
        QuaZipFileInfo64 info;
        if (!zip.getCurrentFileInfo(&info)) {
            setError(error, refusal(name, shown(entry), tr("uszkodzony katalog archiwum")));
            return false;
        }
        if (info.flags & 1) {
            setError(error, refusal(name, shown(entry), tr("część jest zaszyfrowana (arkusz chroniony hasłem); "
                                                    "zapisz go bez hasła")));
            return false;
        }
        if (info.method != 0 && info.method != Z_DEFLATED) {
            setError(error, refusal(name, shown(entry), tr("nieobsługiwana metoda kompresji %1; zapisz plik ponownie w programie "
                                                    "arkuszy, bez innych ustawień kompresji")
                                                     .arg(methodName(info.method))));
            return false;
        }
        const qint64 limit = std::min(maxEntryBytes, maxTotalBytes - total);
        if (qint64(info.uncompressedSize) > limit) {
            setError(error, refusal(name, shown(entry), tr("po rozpakowaniu ma %1 MB, więcej niż %2 MB, które program "
                                                    "przyjmuje (bomba ZIP?)")
                                                     .arg(megabytes(qint64(info.uncompressedSize)))
                                                     .arg(megabytes(limit))));
            return false;
        }
        QuaZipFile file(&zip);
        if (!file.open(QIODevice::ReadOnly)) {
            setError(error, refusal(name, shown(entry), tr("nie można rozpakować tej części")));
            return false;
        }
        BoundedEntry bounded(file, limit);
        const bool parsed = parse(bounded);
        total += bounded.taken;
        if (bounded.exceeded) {
            setError(error, refusal(name, shown(entry), tr("po rozpakowaniu ma więcej niż %1 MB, które program przyjmuje "
                                                    "(bomba ZIP?)")
                                                     .arg(megabytes(limit))));
            return false;
        }
        if (bounded.failed) {
            setError(error, refusal(name, shown(entry), tr("uszkodzone dane archiwum")));
            return false;
        }
        if (!parsed)
            return false;
        // What the parser left unread still has to check out.
        char rest[4096];
        while (bounded.read(rest, sizeof rest) > 0) {
        }
        if (bounded.exceeded || bounded.failed) {
            setError(error, refusal(name, shown(entry), tr("uszkodzone dane archiwum albo za duża część")));
            return false;
        }
        file.close();
        if (file.getZipError() != UNZ_OK) {
            setError(error, refusal(name, shown(entry), tr("uszkodzone dane archiwum (błędna suma kontrolna)")));
            return false;
        }
        return true;
    }

    // A small entry whole (at most `limit` bytes).
    bool readSmall(const QString &entry, qint64 limit, QByteArray &bytes, QString *error)
    {
        return read(
            entry,
            [&](QIODevice &d) {
                bytes = d.read(limit + 1);
                if (bytes.size() > limit) {
                    setError(error, refusal(name, shown(entry), tr("część jest za duża")));
                    return false;
                }
                return true;
            },
            error);
    }

private:
    // Where the archive's end record ends, when a comment follows it to the
    // end of the device; 0 when there is none.
    static qint64 endRecordEnd(QIODevice &device)
    {
        constexpr qint64 record = 22;
        const qint64 size = device.size();
        const qint64 from = std::max<qint64>(0, size - record - 0xFFFF);
        if (device.isSequential() || size < record || !device.seek(from))
            return 0;
        const QByteArray tail = device.read(size - from);
        for (qsizetype at = tail.lastIndexOf("PK\x05\x06"); at >= 0; at = tail.lastIndexOf("PK\x05\x06", at - 1)) {
            if (at + record > tail.size())
                continue;
            const qint64 comment = uchar(tail[at + 20]) | (uchar(tail[at + 21]) << 8);
            if (from + at + record + comment == size)
                return from + at + record;
        }
        return 0;
    }

    QIODevice &source;
    std::optional<DevicePrefix> withoutComment;
    QuaZip zip;
    QString name;
    QStringList entries;
    qint64 total = 0;
};

// An encrypted Office workbook, or an old .xls, is a compound file, not a ZIP.
bool isCompoundFile(QIODevice &device)
{
    return device.peek(8) == QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
}


// ------------------------------------------------------------- delimited

struct CsvState
{
    Workbook *book = nullptr;
    SheetBuilder *sheet = nullptr;
    bool utf8 = false;
    bool fieldsInRow = false;
    bool lastEndedInCr = false;
    QString why;
    RecentTexts recent;
};

QString decodeField(const CsvState &s, QByteArrayView bytes)
{
    QString text = s.utf8 ? QString::fromUtf8(bytes) : Windows1250::decode(bytes);
    if (text.contains(QLatin1Char('\r')))
        text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return text;
}

void csvField(void *field, size_t length, void *data)
{
    auto &s = *static_cast<CsvState *>(data);
    if (!s.why.isEmpty())
        return;
    s.fieldsInRow = true;
    if (qint64(length) > maxCellLength * 4) {
        s.why = tooLongCell();
        return;
    }
    const QByteArrayView bytes(static_cast<const char *>(field), qsizetype(length));
    const QString text = s.recent.text(bytes.data(), bytes.size(), [&] { return decodeField(s, bytes); });
    if (text.size() > maxCellLength) {
        s.why = tooLongCell();
        return;
    }
    s.sheet->addCell(text, 1, &s.why);
}

void csvRow(int terminator, void *data)
{
    auto &s = *static_cast<CsvState *>(data);
    if (!s.why.isEmpty())
        return;
    // Every CR and LF is reported: the LF of a CR LF is no row of its own.
    const bool secondHalf = terminator == '\n' && s.lastEndedInCr && !s.fieldsInRow;
    s.lastEndedInCr = terminator == '\r';
    if (secondHalf)
        return;
    s.fieldsInRow = false;
    s.sheet->endRow(1, &s.why);
}

int noSpace(unsigned char)
{
    return 0;   // nothing is trimmed
}

// UTF-16 or UTF-32 by its byte order mark.
std::optional<QStringConverter::Encoding> wideEncoding(QByteArrayView bytes)
{
    if (bytes.startsWith(QByteArrayView("\xFF\xFE\0\0", 4)))
        return QStringConverter::Utf32LE;
    if (bytes.startsWith(QByteArrayView("\0\0\xFE\xFF", 4)))
        return QStringConverter::Utf32BE;
    if (bytes.startsWith("\xFF\xFE"))
        return QStringConverter::Utf16LE;
    if (bytes.startsWith("\xFE\xFF"))
        return QStringConverter::Utf16BE;
    return std::nullopt;
}

// What a file that is no text seems to be, by its first bytes; empty for
// text.
QString notText(QByteArrayView bytes)
{
    if (bytes.startsWith("PK\x03\x04") || bytes.startsWith("PK\x05\x06"))
        return tr("to archiwum ZIP, nie tekst (może arkusz .xlsx lub .ods o innym rozszerzeniu?)");
    if (bytes.startsWith(QByteArrayView("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8)))
        return tr("plik w starym formacie programu Excel (.xls): zapisz go jako .xlsx lub .ods");
    // Text has no NUL bytes; a program's data and UTF-16 without a byte
    // order mark are full of them.
    const QByteArrayView head = bytes.first(std::min<qsizetype>(bytes.size(), 1 << 16));
    if (head.count('\0') * 100 > head.size())
        return tr("plik zawiera dane binarne (bajty zerowe), nie tekst");
    return QString();
}

// The line (from 1) of the quote that opens the cell still open at the end
// of `bytes`, read as libcsv reads it: a quote opens a cell only as its first
// character, and inside one a quote ends it only before the delimiter or a
// line end (two quotes are one; anything else keeps the cell open).
qsizetype openQuoteLine(QByteArrayView bytes, char delimiter)
{
    const auto ends = [delimiter](char c) { return c == delimiter || c == '\n' || c == '\r'; };
    qsizetype line = 1;
    qsizetype openedOn = 0;
    bool quoted = false;
    bool cellStart = true;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (quoted) {
            if (c == '"' && (i + 1 == bytes.size() || ends(bytes[i + 1])))
                quoted = false;
            else if (c == '"')
                ++i;   // a doubled quote, or a stray one kept with what follows it
        } else if (c == '"' && cellStart) {
            quoted = true;
            openedOn = line;
        }
        if (i < bytes.size() && bytes[i] == '\n')
            ++line;
        cellStart = !quoted && ends(c);
    }
    return quoted ? openedOn : 0;
}

// What says that a file is the same: its size and the time it last changed,
// looked at through a descriptor of its own (the ZIP reader closes the file
// it is given).
struct FileStamp
{
    qint64 size = 0;
    qint64 seconds = 0;
    qint64 nanoseconds = 0;

    static std::optional<FileStamp> of(int fd)
    {
        struct stat st{};
        if (fd < 0 || ::fstat(fd, &st) != 0)
            return std::nullopt;
        return FileStamp{qint64(st.st_size), qint64(st.st_mtim.tv_sec), qint64(st.st_mtim.tv_nsec)};
    }
    bool operator==(const FileStamp &) const = default;
};

QString changedWhileRead(const QString &name)
{
    return refusal(name, QString(), tr("plik zmienił się w czasie wczytywania; wczytaj go ponownie, gdy program, "
                                       "który go zapisuje, skończy"));
}

} // namespace

QString shown(const QString &name)
{
    if (name.size() <= maxShownName)
        return name;
    qsizetype cut = maxShownName - 1;
    if (name.at(cut - 1).isHighSurrogate())
        --cut;
    return name.first(cut) + QChar(0x2026);
}

std::optional<Format> formatOf(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("ods"))
        return Format::Ods;
    if (suffix == QLatin1String("xlsx"))
        return Format::Xlsx;
    if (suffix == QLatin1String("csv") || suffix == QLatin1String("tsv"))
        return Format::Delimited;
    return std::nullopt;
}

char detectDelimiter(QByteArrayView bytes)
{
    const char candidates[] = {';', '\t', ','};
    constexpr int linesLooked = 50;
    int counts[3][linesLooked] = {};
    int lines = 0;
    bool quoted = false;
    const qsizetype end = std::min<qsizetype>(bytes.size(), 1 << 16);
    for (qsizetype i = 0; i < end && lines < linesLooked; ++i) {
        const char c = bytes[i];
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && c == '\n') {
            ++lines;
        } else if (!quoted) {
            for (int k = 0; k < 3; ++k)
                counts[k][lines] += c == candidates[k] ? 1 : 0;
        }
    }
    // A last line without a line feed counts when it was reached.
    const int looked = std::min(lines + 1, linesLooked);
    // Each candidate scores the number of lines that hold it the same
    // number of times, the count most of them share: a title line or a
    // note without delimiters does not hide the table under it.
    int best = 0;
    int bestScore = 0;
    for (int k = 0; k < 3; ++k) {
        int score = 0;
        for (int l = 0; l < looked; ++l) {
            if (counts[k][l] == 0)
                continue;
            const int same = int(std::count(counts[k], counts[k] + looked, counts[k][l]));
            score = std::max(score, same);
        }
        if (score > bestScore) {
            best = k;
            bestScore = score;
        }
    }
    return candidates[best];
}

bool readDelimited(QByteArrayView bytes, const QString &name, char delimiter, Workbook &book, QString *error)
{
    book = Workbook();
    if (bytes.size() > maxTextBytes) {
        setError(error, refusal(name, QString(), tr("plik ma więcej niż %1 MB").arg(megabytes(maxTextBytes))));
        return false;
    }
    // "Unicode text" of the spreadsheet programs is UTF-16 with a byte
    // order mark; it is read as the same text in UTF-8.
    QByteArray recoded;
    if (const std::optional<QStringConverter::Encoding> wide = wideEncoding(bytes)) {
        QStringDecoder decoder(*wide);
        const QString text = decoder(bytes);
        if (decoder.hasError()) {
            setError(error, refusal(name, QString(), tr("uszkodzony tekst %1").arg(QLatin1String(
                                                           QStringConverter::nameForEncoding(*wide)))));
            return false;
        }
        recoded = "\xEF\xBB\xBF" + text.toUtf8();
        bytes = recoded;
    }
    // A byte order mark is what spreadsheet programs write to say UTF-8,
    // whatever the text holds; without one, as for a descriptions file.
    DescriptionsFile::Encoding encoding = DescriptionsFile::Encoding::Utf8;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    else
        encoding = DescriptionsFile::detectEncoding(bytes);
    if (const QString what = notText(bytes); !what.isEmpty()) {
        setError(error, refusal(name, QString(), what));
        return false;
    }
    if (delimiter == 0)
        delimiter = detectDelimiter(bytes);

    qsizetype budget = maxCells;
    SheetBuilder sheet(QFileInfo(name).completeBaseName(), &budget);
    CsvState state;
    state.book = &book;
    state.sheet = &sheet;
    state.utf8 = encoding == DescriptionsFile::Encoding::Utf8;

    csv_parser parser{};
    if (csv_init(&parser, CSV_REPALL_NL) != 0) {
        setError(error, refusal(name, QString(), tr("brak pamięci")));
        return false;
    }
    csv_set_delim(&parser, static_cast<unsigned char>(delimiter));
    csv_set_space_func(&parser, noSpace);
    // In pieces, so that a refusal stops the reading soon.
    constexpr qsizetype piece = 1 << 20;
    bool ok = true;
    for (qsizetype at = 0; at < bytes.size() && state.why.isEmpty(); at += piece) {
        const qsizetype n = std::min(piece, bytes.size() - at);
        if (csv_parse(&parser, bytes.data() + at, size_t(n), csvField, csvRow, &state) != size_t(n)) {
            ok = false;
            break;
        }
    }
    // The text ends inside quotes (libcsv's state FIELD_BEGUN, quoted): the
    // rest of the file would be one cell.
    constexpr int fieldBegun = 2;
    if (ok && state.why.isEmpty() && parser.quoted && parser.pstate == fieldBegun) {
        state.why = tr("cudzysłów otwarty w wierszu %1 nie jest zamknięty do końca pliku")
                        .arg(openQuoteLine(bytes, delimiter));
    }
    if (ok && state.why.isEmpty())
        csv_fini(&parser, csvField, csvRow, &state);
    csv_free(&parser);
    if (!ok) {
        setError(error, refusal(name, QString(), tr("brak pamięci")));
        return false;
    }
    if (!state.why.isEmpty()) {
        setError(error, refusal(name, QString(), state.why));
        return false;
    }
    book.sheets.append(sheet.take());
    book.delimiter = delimiter;
    book.utf8 = state.utf8;
    return true;
}

bool readPasted(const QString &text, Workbook &book, QString *error)
{
    QString plain = text;
    // Spreadsheet programs end the block with a line break of their own.
    if (plain.endsWith(QLatin1Char('\n')))
        plain.chop(plain.endsWith(QLatin1String("\r\n")) ? 2 : 1);
    // UTF-8 with a byte order mark is read as UTF-8, whatever it holds.
    const QByteArray bytes = "\xEF\xBB\xBF" + plain.toUtf8();
    if (!readDelimited(bytes, tr("schowek"), '\t', book, error))
        return false;
    book.sheets.first().name = tr("Schowek");
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

bool readXlsxInto(QIODevice &device, const QString &name, Workbook &book, QString *error)
{
    if (isCompoundFile(device)) {
        setError(error, refusal(name, QString(), tr("plik jest zaszyfrowany (chroniony hasłem) albo zapisany w starym "
                                                    "formacie .xls; zapisz go jako .xlsx bez hasła")));
        return false;
    }
    ZipReader zip(device, name);
    if (!zip.open(QStringLiteral("XLSX"), error))
        return false;
    const QString workbookPart = QStringLiteral("xl/workbook.xml");
    if (!zip.has(workbookPart)) {
        setError(error, refusal(name, workbookPart, tr("brak tej części archiwum (to nie jest plik XLSX)")));
        return false;
    }

    // The sheets by name and relationship, then where each relationship leads.
    XlsxWorkbookReader listed(name, workbookPart);
    if (!zip.read(workbookPart, [&](QIODevice &d) { return listed.read(d, error); }, error))
        return false;
    if (listed.sheets.isEmpty()) {
        setError(error, refusal(name, workbookPart, tr("brak arkuszy")));
        return false;
    }

    const QString relsPart = QStringLiteral("xl/_rels/workbook.xml.rels");
    RelationshipsReader rels(name, relsPart);
    const bool hasRels = zip.has(relsPart);
    if (hasRels && !zip.read(relsPart, [&](QIODevice &d) { return rels.read(d, error); }, error))
        return false;
    QString sharedPart;
    QString stylesPart;
    for (const RelationshipsReader::Target &t : std::as_const(rels.targets)) {
        if (t.type == QLatin1String("sharedStrings"))
            sharedPart = t.path;
        else if (t.type == QLatin1String("styles"))
            stylesPart = t.path;
    }
    if (sharedPart.isEmpty() && zip.has(QStringLiteral("xl/sharedStrings.xml")))
        sharedPart = QStringLiteral("xl/sharedStrings.xml");

    XlsxStyles styles;
    styles.context.language = Language::installed();
    styles.context.date1904 = listed.date1904;
    if (stylesPart.isEmpty() && zip.has(QStringLiteral("xl/styles.xml")))
        stylesPart = QStringLiteral("xl/styles.xml");
    if (!stylesPart.isEmpty()
        && !zip.read(stylesPart, [&](QIODevice &d) { return readXlsxStyles(d, name, styles, error); }, error))
        return false;

    // Every cell and every shared string of the file draws on one budget.
    qsizetype budget = maxCells;
    QStringList shared;
    if (!sharedPart.isEmpty()
        && !zip.read(sharedPart, [&](QIODevice &d) { return readXlsxSharedStrings(d, name, shared, error, &budget); },
                     error))
        return false;

    // Where each sheet is, all found before any is read.
    QStringList parts;
    QSet<QString> seen;
    for (qsizetype i = 0; i < listed.sheets.size(); ++i) {
        const XlsxWorkbookReader::Sheet &ref = listed.sheets.at(i);
        QString part;
        if (!hasRels) {
            // Without relationships, sheets are found where Excel puts them.
            part = QStringLiteral("xl/worksheets/sheet%1.xml").arg(i + 1);
        } else {
            const auto target = rels.targets.constFind(ref.id);
            if (target == rels.targets.cend()) {
                setError(error, refusal(name, relsPart, tr("brak powiązania arkusza „%1”").arg(shown(ref.name))));
                return false;
            }
            if (target->path.isEmpty()) {
                setError(error, refusal(name, relsPart, tr("arkusz „%1” wskazuje część spoza pliku").arg(shown(ref.name))));
                return false;
            }
            part = target->path;
        }
        // A part read twice would cost twice, and no program writes that.
        if (seen.contains(part)) {
            setError(error, refusal(name, workbookPart, tr("dwa arkusze wskazują tę samą część %1").arg(shown(part))));
            return false;
        }
        seen.insert(part);
        parts.append(part);
    }
    for (qsizetype i = 0; i < parts.size(); ++i) {
        WorkbookSheet sheet;
        sheet.name = parts.at(i);   // messages name the part while it is read
        if (!zip.read(parts.at(i), [&](QIODevice &d) { return readXlsxSheet(d, shared, name, sheet, error, &budget, styles); },
                      error))
            return false;
        sheet.name = listed.sheets.at(i).name;
        book.sheets.append(std::move(sheet));
    }
    return true;
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

bool readXlsx(QIODevice &device, const QString &name, Workbook &book, QString *error)
{
    book = Workbook();
    if (readXlsxInto(device, name, book, error))
        return true;
    book = Workbook();
    return false;
}

bool read(const QString &path, Format format, Workbook &book, QString *error, char delimiter)
{
    book = Workbook();
    const QString name = QFileInfo(path).fileName();
    QFile file;
    switch (DescriptionsCheck::openRegular(path, file)) {
    case DescriptionsCheck::Verdict::Ok:
        break;
    case DescriptionsCheck::Verdict::Missing:
        setError(error, tr("Nie ma pliku %1.").arg(path));
        return false;
    case DescriptionsCheck::Verdict::NotRegular:
        setError(error, tr("„%1” nie jest zwykłym plikiem (to folder, potok lub urządzenie).\n"
                           "Arkusz nie został wczytany.").arg(path));
        return false;
    default:
        setError(error, DescriptionsCheck::unreadable(path));
        return false;
    }
    const int watched = ::dup(file.handle());
    const auto closeWatched = qScopeGuard([watched] {
        if (watched >= 0)
            ::close(watched);
    });
    const std::optional<FileStamp> before = FileStamp::of(watched);
    bool ok = false;
    switch (format) {
    case Format::Ods:
        ok = readOds(file, name, book, error);
        break;
    case Format::Xlsx:
        ok = readXlsx(file, name, book, error);
        break;
    case Format::Delimited: {
        if (file.size() > maxTextBytes) {
            setError(error, refusal(name, QString(), tr("plik ma więcej niż %1 MB").arg(megabytes(maxTextBytes))));
            return false;
        }
        const QByteArray bytes = file.readAll();
        if (file.error() != QFileDevice::NoError) {
            setError(error, tr("Nie można odczytać pliku %1.").arg(path));
            return false;
        }
        if (before && bytes.size() != before->size) {
            setError(error, changedWhileRead(name));
            return false;
        }
        ok = readDelimited(bytes, name, delimiter, book, error);
        break;
    }
    }
    // A file written to while it was read may have given part of the old
    // and part of the new: neither is what the user has.
    if (ok && before && FileStamp::of(watched) != before) {
        setError(error, changedWhileRead(name));
        ok = false;
    }
    if (!ok)
        book = Workbook();
    return ok;
}

} // namespace WorkbookFile
