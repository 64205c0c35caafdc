#include "model/workbookfile.h"

#include "model/descriptionscheck.h"
#include "model/descriptionsfile.h"
#include "model/windows1250.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QXmlStreamReader>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipfileinfo.h>

#include <csv.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
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
// of a large sheet. A small table indexed by a hash of the cell's code units
// (bytes of delimited text, UTF-16 of XML) remembers the last cell seen in
// each slot; another text in the same slot takes it over, so a sheet of
// all-different cells costs little more than making a string of each.
template<typename Char>
class RecentTexts
{
public:
    // The text of `units`, made by make(units) when it is not in the table.
    template<typename Make>
    QString text(const Char *units, qsizetype length, Make make)
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
        if (slot.length == length && std::memcmp(slot.units, units, size_t(length) * sizeof(Char)) == 0)
            return slot.text;
        std::memcpy(slot.units, units, size_t(length) * sizeof(Char));
        slot.length = length;
        slot.text = make();
        return slot.text;
    }

private:
    static constexpr qsizetype sharedLength = 48;
    static constexpr int slotBits = 12;
    struct Slot
    {
        Char units[sharedLength];
        qsizetype length = 0;
        QString text;
    };
    std::vector<Slot> table;
};

// ------------------------------------------------------------------- XML

// What every part's reader shares: the reader, with the entity expansion
// kept small, and the message for a failure at the current place.
struct Xml
{
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

bool isElement(const QXmlStreamReader &r, QStringView ns, QStringView name)
{
    return r.name() == name && r.namespaceUri() == ns;
}

// ------------------------------------------------------------------- ODS

const QString tableNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:table:1.0");
const QString textNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:text:1.0");
const QString officeNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:office:1.0");

// The text of the cell whose start the reader is at, up to its end.
bool odsCellText(Xml &xml, QString &text, QString *why)
{
    QXmlStreamReader &r = xml.reader;
    text.resize(0);   // keeps its room: the cell's string is made from it
    int paragraphs = 0;
    int depth = 0;       // elements open inside the cell
    int inParagraph = 0; // text:p / text:h open
    while (!r.atEnd()) {
        switch (xml.next()) {
        case QXmlStreamReader::StartElement:
            if (r.namespaceUri() == textNs && (r.name() == u"p" || r.name() == u"h")) {
                if (paragraphs++ > 0)
                    text += QLatin1Char('\n');
                ++inParagraph;
            } else if (r.namespaceUri() == textNs && r.name() == u"s") {
                bool ok = false;
                const QStringView c = r.attributes().value(textNs, QStringLiteral("c"));
                const qsizetype n = c.isEmpty() ? 1 : repeatCount(c, &ok);
                if (!c.isEmpty() && !ok) {
                    *why = tr("liczba spacji „%1” nie jest liczbą").arg(c.left(20));
                    return false;
                }
                if (text.size() + n > maxCellLength) {
                    *why = tr("komórka dłuższa niż %1 znaków").arg(maxCellLength);
                    return false;
                }
                text.resize(text.size() + n, QLatin1Char(' '));
            } else if (r.namespaceUri() == textNs && r.name() == u"tab") {
                text += QLatin1Char('\t');
            } else if (r.namespaceUri() == textNs && r.name() == u"line-break") {
                text += QLatin1Char('\n');
            } else if ((r.namespaceUri() == officeNs && r.name() == u"annotation")
                       || (r.namespaceUri() == tableNs && r.name() == u"table")) {
                // A comment on the cell, or a table inside it: not what it shows.
                r.skipCurrentElement();
                continue;
            }
            ++depth;
            break;
        case QXmlStreamReader::EndElement:
            if (depth == 0)
                return true;
            if (r.namespaceUri() == textNs && (r.name() == u"p" || r.name() == u"h"))
                --inParagraph;
            --depth;
            break;
        case QXmlStreamReader::Characters:
        case QXmlStreamReader::EntityReference:
            if (inParagraph > 0)
                text += r.text();
            break;
        default:
            break;
        }
        if (text.size() > maxCellLength) {
            *why = tr("komórka dłuższa niż %1 znaków").arg(maxCellLength);
            return false;
        }
    }
    return !r.hasError();
}

bool odsTable(Xml &xml, Workbook &book, qsizetype *budget, QString *error)
{
    QXmlStreamReader &r = xml.reader;
    SheetBuilder sheet(r.attributes().value(tableNs, QStringLiteral("name")).toString(), budget);
    if (book.sheets.size() >= maxSheets) {
        setError(error, xml.fail(tr("więcej niż %1 arkuszy").arg(maxSheets)));
        return false;
    }
    qsizetype rowRepeat = 1;
    bool inRow = false;
    int depth = 0;
    QString why;
    QString text;
    RecentTexts<ushort> recent;
    while (!r.atEnd()) {
        const QXmlStreamReader::TokenType t = xml.next();
        if (t == QXmlStreamReader::StartElement) {
            if (r.namespaceUri() == tableNs && r.name() == u"table-row" && !inRow) {
                bool ok = false;
                rowRepeat = repeatCount(r.attributes().value(tableNs, QStringLiteral("number-rows-repeated")), &ok);
                if (!ok) {
                    setError(error, xml.fail(tr("błędna liczba powtórzeń wiersza")));
                    return false;
                }
                inRow = true;
                ++depth;
                continue;
            }
            if (inRow && r.namespaceUri() == tableNs
                && (r.name() == u"table-cell" || r.name() == u"covered-table-cell")) {
                bool ok = false;
                const qsizetype repeat =
                    repeatCount(r.attributes().value(tableNs, QStringLiteral("number-columns-repeated")), &ok);
                if (!ok) {
                    setError(error, xml.fail(tr("błędna liczba powtórzeń komórki")));
                    return false;
                }
                if (!odsCellText(xml, text, &why)
                    || !sheet.addCell(recent.text(text.utf16(), text.size(), [&] { return QStringView(text).toString(); }), repeat,
                                      &why)) {
                    setError(error, xml.failed(why));
                    return false;
                }
                continue;
            }
            if (r.namespaceUri() == tableNs && r.name() == u"table") {
                r.skipCurrentElement();   // a table inside a table's parts: not a sheet
                continue;
            }
            ++depth;
        } else if (t == QXmlStreamReader::EndElement) {
            if (depth == 0) {
                book.sheets.append(sheet.take());
                return true;
            }
            --depth;
            if (inRow && r.namespaceUri() == tableNs && r.name() == u"table-row") {
                inRow = false;
                if (!sheet.endRow(rowRepeat, &why)) {
                    setError(error, xml.fail(why));
                    return false;
                }
            }
        }
    }
    setError(error, xml.failed(tr("dokument się urywa")));
    return false;
}

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

// The text inside the element the reader is at (its child elements' text
// included, as readElementText gives it), appended to `text` in place, so
// that a cell costs no string of its own until it is kept.
bool appendElementText(QXmlStreamReader &r, QString &text, QString *why)
{
    int depth = 0;
    while (!r.atEnd()) {
        switch (r.readNext()) {
        case QXmlStreamReader::Characters:
        case QXmlStreamReader::EntityReference:
            text += r.text();
            if (text.size() > maxCellLength) {
                *why = tr("komórka dłuższa niż %1 znaków").arg(maxCellLength);
                return false;
            }
            break;
        case QXmlStreamReader::StartElement:
            ++depth;
            break;
        case QXmlStreamReader::EndElement:
            if (depth-- == 0)
                return true;
            break;
        default:
            break;
        }
    }
    return false;
}

// The text of all <t> below the element the reader is at (rich-text runs
// joined), leaving out phonetic runs. `text` is reused: its room stays.
bool xlsxRichText(Xml &xml, QString &text, QString *why)
{
    QXmlStreamReader &r = xml.reader;
    text.resize(0);
    int depth = 0;
    while (!r.atEnd()) {
        const QXmlStreamReader::TokenType t = xml.next();
        if (t == QXmlStreamReader::StartElement) {
            if (r.name() == u"rPh" || r.name() == u"phoneticPr") {
                r.skipCurrentElement();
                continue;
            }
            if (r.name() == u"t") {
                if (!appendElementText(r, text, why))
                    return false;
                continue;
            }
            ++depth;
        } else if (t == QXmlStreamReader::EndElement) {
            if (depth-- == 0) {
                if (text.contains(QLatin1String("_x")) || text.contains(QLatin1Char('\r')))
                    text = unescapeXlsx(std::move(text));
                return true;
            }
        }
    }
    return false;
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

} // namespace

bool readXlsxSharedStrings(QIODevice &device, const QString &name, QStringList &strings, QString *error)
{
    Xml xml(device, name, QStringLiteral("xl/sharedStrings.xml"));
    QXmlStreamReader &r = xml.reader;
    strings.clear();
    QString text;
    QString why;
    while (!r.atEnd()) {
        if (xml.next() != QXmlStreamReader::StartElement)
            continue;
        if (r.name() != u"si")
            continue;
        if (!xlsxRichText(xml, text, &why)) {
            setError(error, xml.failed(why));
            return false;
        }
        strings.append(QStringView(text).toString());
    }
    if (r.hasError()) {
        setError(error, xml.failed());
        return false;
    }
    return true;
}

bool readXlsxSheet(QIODevice &device, const QStringList &shared, const QString &name, WorkbookSheet &sheetOut,
                   QString *error)
{
    Xml xml(device, name, sheetOut.name);
    QXmlStreamReader &r = xml.reader;
    qsizetype budget = maxCells;
    SheetBuilder sheet(sheetOut.name, &budget);
    QString why;
    bool inData = false;
    bool inRow = false;
    bool sawData = false;
    enum class CellType { Shared, Inline, Boolean, Text, Number };
    // Reused for every cell: they keep their room.
    QString refText;
    QString value;
    QString inline_;
    RecentTexts<ushort> numbers;
    const QString yes = tr("PRAWDA");
    const QString no = tr("FAŁSZ");
    const auto fail = [&](const QString &text) {
        setError(error, xml.failed(text));
        return false;
    };
    while (!r.atEnd()) {
        const QXmlStreamReader::TokenType t = xml.next();
        if (t == QXmlStreamReader::EndElement) {
            if (r.name() == u"sheetData")
                inData = false;
            if (r.name() == u"row" && inRow) {
                inRow = false;
                if (!sheet.endRow(1, &why))
                    return fail(why);
            }
            continue;
        }
        if (t != QXmlStreamReader::StartElement)
            continue;
        if (r.name() == u"sheetData") {
            inData = sawData = true;
            continue;
        }
        if (!inData)
            continue;
        if (r.name() == u"row") {
            const QStringView ref = r.attributes().value(QStringLiteral("r"));
            qsizetype index = sheet.nextRow();
            if (!ref.isEmpty()) {
                bool ok = false;
                index = ref.toLongLong(&ok) - 1;
                if (!ok || index < sheet.nextRow() || index >= maxRows)
                    return fail(tr("błędny numer wiersza „%1”").arg(ref.left(20)));
            }
            sheet.skipRowsTo(index);
            inRow = true;
            continue;
        }
        if (r.name() != u"c" || !inRow) {
            if (r.name() != u"row")
                r.skipCurrentElement();
            continue;
        }
        // What the cell's attributes say, taken before the next token: a
        // copy of them kept past it would make the reader copy its own.
        CellType type = CellType::Number;
        {
            const QXmlStreamAttributes attributes = r.attributes();
            const QStringView ref = attributes.value(QStringLiteral("r"));
            refText.resize(0);
            refText += ref.left(20);
            if (!ref.isEmpty()) {
                const std::optional<int> column = xlsxColumn(ref);
                if (!column || *column < sheet.nextColumn())
                    return fail(tr("błędny adres komórki „%1”").arg(refText));
                sheet.skipTo(*column);
            }
            const QStringView t = attributes.value(QStringLiteral("t"));
            type = t == u"s"                            ? CellType::Shared
                   : t == u"inlineStr"                  ? CellType::Inline
                   : t == u"b"                          ? CellType::Boolean
                   : t == u"str" || t == u"e" || t == u"d" ? CellType::Text
                                                        : CellType::Number;
        }
        value.resize(0);
        bool hasInline = false;
        while (!r.atEnd()) {
            const QXmlStreamReader::TokenType ct = xml.next();
            if (ct == QXmlStreamReader::EndElement)
                break;
            if (ct != QXmlStreamReader::StartElement)
                continue;
            if (r.name() == u"v") {
                value.resize(0);
                if (!appendElementText(r, value, &why))
                    return fail(why);
            } else if (r.name() == u"is") {
                if (!xlsxRichText(xml, inline_, &why))
                    return fail(why);
                hasInline = true;
            } else {
                r.skipCurrentElement();   // a formula, extensions
            }
        }
        if (r.hasError())
            return fail(QString());
        QString text;
        switch (type) {
        case CellType::Shared: {
            bool ok = false;
            const qsizetype index = QStringView(value).toLongLong(&ok);
            if (!ok || index < 0 || index >= shared.size())
                return fail(tr("komórka %1 wskazuje tekst nr %2, którego nie ma").arg(refText, value.left(20)));
            text = shared.at(index);
            break;
        }
        case CellType::Inline:
            text = hasInline ? QStringView(inline_).toString() : unescapeXlsx(value);
            break;
        case CellType::Boolean:
            text = value.isEmpty() ? QString() : value == u"0" ? no : yes;
            break;
        case CellType::Text:
            text = unescapeXlsx(value);
            break;
        case CellType::Number:
            text = numbers.text(value.utf16(), value.size(), [&] { return xlsxNumber(value); });
            break;
        }
        if (!sheet.addCell(text, 1, &why))
            return fail(why);
    }
    if (r.hasError())
        return fail(QString());
    if (!sawData)
        return fail(tr("brak danych arkusza (sheetData)"));
    sheetOut = sheet.take();
    return true;
}

bool readOdsContent(QIODevice &device, const QString &name, Workbook &book, QString *error)
{
    Xml xml(device, name, QStringLiteral("content.xml"));
    QXmlStreamReader &r = xml.reader;
    qsizetype budget = maxCells;
    bool spreadsheet = false;
    while (!r.atEnd()) {
        if (xml.next() != QXmlStreamReader::StartElement)
            continue;
        if (isElement(r, officeNs, u"spreadsheet")) {
            spreadsheet = true;
        } else if (spreadsheet && isElement(r, tableNs, u"table")) {
            if (!odsTable(xml, book, &budget, error))
                return false;
        }
    }
    if (r.hasError()) {
        setError(error, xml.failed());
        return false;
    }
    if (!spreadsheet || book.sheets.isEmpty()) {
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
    RecentTexts<char> recent;
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
        s.why = tr("komórka dłuższa niż %1 znaków").arg(maxCellLength);
        return;
    }
    const QByteArrayView bytes(static_cast<const char *>(field), qsizetype(length));
    const QString text = s.recent.text(bytes.data(), bytes.size(), [&] { return decodeField(s, bytes); });
    if (text.size() > maxCellLength) {
        s.why = tr("komórka dłuższa niż %1 znaków").arg(maxCellLength);
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
        ok = readDelimited(bytes, name, delimiter, book, error);
        break;
    }
    }
    if (!ok)
        book = Workbook();
    return ok;
}

} // namespace WorkbookFile
