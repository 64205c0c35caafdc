#include "model/workbookfile.h"

#include "model/descriptionscheck.h"
#include "model/descriptionsfile.h"
#include "model/windows1250.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QScopeGuard>
#include <QXmlStreamReader>

#include <expat.h>

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

    // The flag that stops the read() under way on this thread.
    static inline thread_local const std::atomic<bool> *cancelled = nullptr;

    // Ends the row being built, which stands `repeat` times.
    bool endRow(qsizetype repeat, QString *why)
    {
        if (cancelled && cancelled->load(std::memory_order_relaxed)) {
            *why = QString();
            return false;
        }
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

// ------------------------------------------------------------------- XML

// The small parts (workbook.xml, its relationships) are read with
// QXmlStreamReader; what their readers share: the reader, with the entity
// expansion kept small, and the message for a failure at the current place.
struct Xml
{
    Q_DECLARE_TR_FUNCTIONS(WorkbookFile)
public:

    Xml(QIODevice &device, const QString &fileName, const QString &partName)
        : reader(&device)
        , file(fileName)
        , part(partName)
    {
        // A spreadsheet program writes no entities of its own; an entity
        // that expands to more than this is an attack, and an error.
        reader.setEntityExpansionLimit(1024);
    }

    QString where() const { return tr("%1, wiersz %2").arg(part).arg(reader.lineNumber()); }
    QString fail(const QString &why) const { return refusal(file, where(), why); }
    // The reader's own error (damaged XML, an entity too large), or `why`.
    QString failed(const QString &why = QString()) const
    {
        if (reader.hasError())
            return fail(tr("uszkodzony XML (%1)").arg(reader.errorString()));
        return fail(why);
    }
    // Reads the next token, skipping what the program never uses: the DTD
    // is ignored, and so is anything that is not an element or text.
    QXmlStreamReader::TokenType next()
    {
        for (;;) {
            const QXmlStreamReader::TokenType t = reader.readNext();
            if (t != QXmlStreamReader::DTD && t != QXmlStreamReader::Comment
                && t != QXmlStreamReader::ProcessingInstruction && t != QXmlStreamReader::StartDocument)
                return t;
        }
    }

    QXmlStreamReader reader;
    QString file;
    QString part;
};

// ----------------------------------------------------------------- expat
//
// The large parts (an ODS's content.xml, an XLSX's sheets and its shared
// strings) go through expat, a push parser: the part is fed to it in blocks,
// never whole, and each reader below keeps its own place between the calls
// expat makes for every element and piece of text. Names come as
// "namespace|local" ("local" alone outside any namespace) and are compared
// as bytes; a cell's text is gathered as UTF-8 and made a string once.
//
// A DTD is refused: a spreadsheet program writes none, and a DTD is how
// entities get into a document. No handler for external entities is set,
// so none is ever loaded, and expat's own bound on how far entities may
// amplify the input stays on.

static_assert(std::is_same_v<XML_Char, char>, "expat is expected to give UTF-8");

constexpr char nsSeparator = '|';
constexpr int feedBytes = 64 << 10;

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
        for (;;) {
            void *buffer = XML_GetBuffer(parser, feedBytes);
            const qint64 got = buffer ? device.read(static_cast<char *>(buffer), feedBytes) : 0;
            const bool last = got <= 0;
            if (!buffer || XML_ParseBuffer(parser, last ? 0 : int(got), last) != XML_STATUS_OK) {
                setError(error, stopped ? stopMessage : damaged());
                return false;
            }
            if (last)
                return true;
        }
    }

    QString where() const
    {
        return tr("%1, wiersz %2").arg(part).arg(qulonglong(XML_GetCurrentLineNumber(parser)));
    }
    QString fail(const QString &why) const { return refusal(file, where(), why); }

protected:
    virtual void start(const char *name, const char **attributes) = 0;
    virtual void end(const char *name) = 0;
    virtual void text(const char *s, int length) = 0;

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
    QString damaged() const
    {
        return fail(tr("uszkodzony XML (%1)").arg(QLatin1String(XML_ErrorString(XML_GetErrorCode(parser)))));
    }

    static void XMLCALL onStart(void *data, const XML_Char *name, const XML_Char **attributes)
    {
        auto *self = static_cast<ExpatReader *>(data);
        if (self->stopped)
            return;
        if (self->skipping > 0)
            ++self->skipping;
        else
            self->start(name, attributes);
    }
    static void XMLCALL onEnd(void *data, const XML_Char *name)
    {
        auto *self = static_cast<ExpatReader *>(data);
        if (self->stopped)
            return;
        if (self->skipping > 0)
            --self->skipping;   // the skipped element's own end included
        else
            self->end(name);
    }
    static void XMLCALL onText(void *data, const XML_Char *s, int length)
    {
        auto *self = static_cast<ExpatReader *>(data);
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
        inCell = false;
        const QString text = recent.text(cell.bytes.data(), qsizetype(cell.bytes.size()), [&] { return cell.toString(); });
        QString why;
        if (!sheet->addCell(text, cellRepeat, &why))
            stop(why);
    }

    Workbook &book;
    qsizetype budget = maxCells;
    std::optional<SheetBuilder> sheet;   // the table being read
    int depth = 0;                       // elements open inside it
    bool inRow = false;
    qsizetype rowRepeat = 1;
    bool inCell = false;
    qsizetype cellRepeat = 1;
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

// A number as the cell shows it in the General format: up to 15
// significant digits, no trailing zeros, the decimal comma.
QString xlsxNumber(const QString &value)
{
    bool ok = false;
    const double d = value.toDouble(&ok);
    if (!ok || !std::isfinite(d))
        return value;
    QString s = QString::number(d, 'g', 15);
    s.replace(QLatin1Char('.'), QLatin1Char(',')).replace(QLatin1Char('e'), QLatin1Char('E'));
    return s;
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
    XlsxSharedStringsReader(const QString &name, QStringList &strings)
        : ExpatReader(name, QStringLiteral("xl/sharedStrings.xml"))
        , strings(strings)
    {
    }

protected:
    void start(const char *name, const char **) override
    {
        const char *local = localName(name);
        if (!inItem) {
            if (equal(local, "si")) {
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
    XlsxSheetReader(const QStringList &shared, const QString &name, const QString &part)
        : ExpatReader(name, part)
        , shared(shared)
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
            inCell = false;
            return cellEnd();
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
    enum class CellType { Shared, Inline, Boolean, Text, Number };
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
        const char *r = attribute(attributes, "r");
        ref.assign(r ? r : "");
        if (r && *r) {
            const std::optional<int> column = xlsxColumn(r);
            if (!column || *column < sheet.nextColumn())
                return stop(tr("błędny adres komórki „%1”").arg(refText()));
            sheet.skipTo(*column);
        }
        const char *t = attribute(attributes, "t");
        type = !t                                                 ? CellType::Number
               : equal(t, "s")                                    ? CellType::Shared
               : equal(t, "inlineStr")                            ? CellType::Inline
               : equal(t, "b")                                    ? CellType::Boolean
               : equal(t, "str") || equal(t, "e") || equal(t, "d") ? CellType::Text
                                                                  : CellType::Number;
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
                return stop(tr("komórka %1 wskazuje tekst nr %2, którego nie ma").arg(refText(), value.toString().left(20)));
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
            text = unescapeXlsx(value.toString());
            break;
        case CellType::Number:
            text = numbers.text(value.bytes.data(), qsizetype(value.bytes.size()),
                                [&] { return xlsxNumber(value.toString()); });
            break;
        }
        QString why;
        if (!sheet.addCell(text, 1, &why))
            stop(why);
    }

    const QStringList &shared;
    qsizetype budget = maxCells;
    SheetBuilder sheet;
    bool inData = false;
    bool inRow = false;
    bool inCell = false;
    Child child = Child::None;
    int valueDepth = 0;   // elements open inside <v>
    CellType type = CellType::Number;
    // Reused for every cell: they keep their room.
    std::string ref;
    Utf8Text value;
    RichText inlineText;
    QString inline_;
    bool hasInline = false;
    RecentTexts numbers;
    const QString yes = tr("PRAWDA");
    const QString no = tr("FAŁSZ");
};

} // namespace

bool readXlsxSharedStrings(QIODevice &device, const QString &name, QStringList &strings, QString *error)
{
    strings.clear();
    XlsxSharedStringsReader reader(name, strings);
    return reader.read(device, error);
}

bool readXlsxSheet(QIODevice &device, const QStringList &shared, const QString &name, WorkbookSheet &sheetOut,
                   QString *error)
{
    XlsxSheetReader reader(shared, name, sheetOut.name);
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

class ZipReader
{
    Q_DECLARE_TR_FUNCTIONS(WorkbookFile)

public:
    ZipReader(QIODevice &device, const QString &fileName)
        : zip(&device)
        , name(fileName)
    {
    }

    bool open(const QString &kind, QString *error)
    {
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
        return true;
    }
    bool has(const QString &entry) const { return entries.contains(entry); }

    // Streams `entry` to `parse`, bounded; false with the reason in `error`.
    bool read(const QString &entry, const std::function<bool(QIODevice &)> &parse, QString *error)
    {
        if (!zip.setCurrentFile(entry)) {
            setError(error, refusal(name, entry, tr("brak tej części archiwum")));
            return false;
        }
        QuaZipFileInfo64 info;
        if (!zip.getCurrentFileInfo(&info)) {
            setError(error, refusal(name, entry, tr("uszkodzony katalog archiwum")));
            return false;
        }
        if (info.flags & 1) {
            setError(error, refusal(name, entry, tr("część jest zaszyfrowana (arkusz chroniony hasłem); "
                                                    "zapisz go bez hasła")));
            return false;
        }
        if (info.method != 0 && info.method != Z_DEFLATED) {
            setError(error, refusal(name, entry, tr("nieobsługiwana metoda kompresji %1").arg(info.method)));
            return false;
        }
        const qint64 limit = std::min(maxEntryBytes, maxTotalBytes - total);
        if (qint64(info.uncompressedSize) > limit) {
            setError(error, refusal(name, entry, tr("po rozpakowaniu ma %1 MB, więcej niż %2 MB, które program "
                                                    "przyjmuje (bomba ZIP?)")
                                                     .arg(megabytes(qint64(info.uncompressedSize)))
                                                     .arg(megabytes(limit))));
            return false;
        }
        QuaZipFile file(&zip);
        if (!file.open(QIODevice::ReadOnly)) {
            setError(error, refusal(name, entry, tr("nie można rozpakować tej części")));
            return false;
        }
        BoundedEntry bounded(file, limit);
        const bool parsed = parse(bounded);
        total += bounded.taken;
        if (bounded.exceeded) {
            setError(error, refusal(name, entry, tr("po rozpakowaniu ma więcej niż %1 MB, które program przyjmuje "
                                                    "(bomba ZIP?)")
                                                     .arg(megabytes(limit))));
            return false;
        }
        if (bounded.failed) {
            setError(error, refusal(name, entry, tr("uszkodzone dane archiwum")));
            return false;
        }
        if (!parsed)
            return false;
        // What the parser left unread still has to check out.
        char rest[4096];
        while (bounded.read(rest, sizeof rest) > 0) {
        }
        if (bounded.exceeded || bounded.failed) {
            setError(error, refusal(name, entry, tr("uszkodzone dane archiwum albo za duża część")));
            return false;
        }
        file.close();
        if (file.getZipError() != UNZ_OK) {
            setError(error, refusal(name, entry, tr("uszkodzone dane archiwum (błędna suma kontrolna)")));
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
                    setError(error, refusal(name, entry, tr("część jest za duża")));
                    return false;
                }
                return true;
            },
            error);
    }

private:
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

QString joinPath(const QString &base, const QString &target)
{
    if (target.startsWith(QLatin1Char('/')))
        return target.mid(1);
    QStringList parts = base.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    const QStringList more = target.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString &p : more) {
        if (p == QLatin1String(".."))
            parts.removeLast();
        else if (p != QLatin1String("."))
            parts.append(p);
        if (parts.isEmpty() && p == QLatin1String(".."))
            break;
    }
    return parts.join(QLatin1Char('/'));
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

} // namespace

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
    int best = 0;
    int bestScore = 0;
    for (int k = 0; k < 3; ++k) {
        int score = 0;
        for (int l = 0; l < looked; ++l)
            score += counts[k][l] > 0 && counts[k][l] == counts[k][0] ? 1 : 0;
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
    // A byte order mark is what spreadsheet programs write to say UTF-8,
    // whatever the text holds; without one, as for a descriptions file.
    DescriptionsFile::Encoding encoding = DescriptionsFile::Encoding::Utf8;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    else
        encoding = DescriptionsFile::detectEncoding(bytes);
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

bool readOds(QIODevice &device, const QString &name, Workbook &book, QString *error)
{
    book = Workbook();
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

bool readXlsx(QIODevice &device, const QString &name, Workbook &book, QString *error)
{
    book = Workbook();
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
    struct SheetRef
    {
        QString name;
        QString id;
    };
    QList<SheetRef> refs;
    const bool listed = zip.read(
        workbookPart,
        [&](QIODevice &d) {
            Xml xml(d, name, workbookPart);
            QXmlStreamReader &r = xml.reader;
            while (!r.atEnd()) {
                if (xml.next() != QXmlStreamReader::StartElement || r.name() != u"sheet")
                    continue;
                if (refs.size() >= maxSheets) {
                    setError(error, xml.fail(tr("więcej niż %1 arkuszy").arg(maxSheets)));
                    return false;
                }
                SheetRef ref{r.attributes().value(QStringLiteral("name")).toString(), QString()};
                for (const QXmlStreamAttribute &a : r.attributes()) {
                    if (a.name() == u"id" && a.namespaceUri().endsWith(u"relationships"))
                        ref.id = a.value().toString();
                }
                refs.append(ref);
            }
            if (r.hasError()) {
                setError(error, xml.failed());
                return false;
            }
            return true;
        },
        error);
    if (!listed)
        return false;
    if (refs.isEmpty()) {
        setError(error, refusal(name, workbookPart, tr("brak arkuszy")));
        return false;
    }

    QHash<QString, QString> targets;
    QString sharedPart;
    const QString relsPart = QStringLiteral("xl/_rels/workbook.xml.rels");
    if (zip.has(relsPart)) {
        const bool read = zip.read(
            relsPart,
            [&](QIODevice &d) {
                Xml xml(d, name, relsPart);
                QXmlStreamReader &r = xml.reader;
                while (!r.atEnd()) {
                    if (xml.next() != QXmlStreamReader::StartElement || r.name() != u"Relationship")
                        continue;
                    const QXmlStreamAttributes a = r.attributes();
                    const QString target = joinPath(QStringLiteral("xl"), a.value(QStringLiteral("Target")).toString());
                    if (a.value(QStringLiteral("Type")).endsWith(u"/sharedStrings"))
                        sharedPart = target;
                    if (targets.size() < maxZipEntries)
                        targets.insert(a.value(QStringLiteral("Id")).toString(), target);
                }
                if (r.hasError()) {
                    setError(error, xml.failed());
                    return false;
                }
                return true;
            },
            error);
        if (!read)
            return false;
    }
    if (sharedPart.isEmpty() && zip.has(QStringLiteral("xl/sharedStrings.xml")))
        sharedPart = QStringLiteral("xl/sharedStrings.xml");

    QStringList shared;
    if (!sharedPart.isEmpty()
        && !zip.read(sharedPart, [&](QIODevice &d) { return readXlsxSharedStrings(d, name, shared, error); }, error))
        return false;

    for (qsizetype i = 0; i < refs.size(); ++i) {
        // Without relationships, sheets are found where Excel puts them.
        QString part = targets.value(refs.at(i).id);
        if (part.isEmpty())
            part = QStringLiteral("xl/worksheets/sheet%1.xml").arg(i + 1);
        WorkbookSheet sheet;
        sheet.name = part;   // messages name the part while it is read
        if (!zip.read(part, [&](QIODevice &d) { return readXlsxSheet(d, shared, name, sheet, error); }, error))
            return false;
        sheet.name = refs.at(i).name;
        book.sheets.append(std::move(sheet));
    }
    return true;
}

bool read(const QString &path, Format format, Workbook &book, QString *error, char delimiter,
          const std::atomic<bool> *cancelled)
{
    book = Workbook();
    SheetBuilder::cancelled = cancelled;
    const auto done = qScopeGuard([] { SheetBuilder::cancelled = nullptr; });
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
        QByteArray bytes;
        if (!DescriptionsFile::readAll(file, bytes, cancelled) || file.error() != QFileDevice::NoError) {
            setError(error, tr("Nie można odczytać pliku %1.").arg(path));
            return false;
        }
        ok = readDelimited(bytes, name, delimiter, book, error);
        break;
    }
    }
    if (!ok)
        book = Workbook();
    return ok;
}

} // namespace WorkbookFile
