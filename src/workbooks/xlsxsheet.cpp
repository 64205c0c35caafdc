// Office Open XML worksheets and shared strings: a cell as the workbook
// shows it.

#include "workbooks/readsupport.h"
#include "workbooks/sheetbuilder.h"
#include "workbooks/workbookfile.h"
#include "workbooks/xmlpart.h"

#include <QDateTime>

#include <charconv>
#include <cmath>
#include <iterator>
#include <optional>
#include <string>

namespace WorkbookFile {

namespace {

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
// written. `bytes` are the <v> text as the file has it: plain decimal
// digits, as the programs write them, are read in place; anything else
// (spaces around it, a "+") as QString::toDouble reads it.
QString xlsxNumber(const std::string &bytes, const NumberFormat *format, const NumberFormat::Context &context)
{
    if (!format) {
        if (std::optional<QString> shown = NumberFormat::generalOfDigits(bytes, context.language))
            return *shown;
    }
    double d = 0;
    const char *first = bytes.data();
    const char *last = first + bytes.size();
    const auto [end, ec] = std::from_chars(first, last, d, std::chars_format::general);
    if (ec != std::errc() || end != last) {
        const QString value = QString::fromUtf8(first, qsizetype(bytes.size()));
        bool ok = false;
        d = value.toDouble(&ok);
        if (!ok || !std::isfinite(d))
            return value;
    } else if (!std::isfinite(d)) {
        return QString::fromUtf8(first, qsizetype(bytes.size()));
    }
    return format ? format->number(d, context, bytes) : NumberFormat::general(d, context.language);
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
constexpr int maxColumnsPlusOne = int(maxColumns) + 1;
std::optional<int> xlsxColumn(const char *ref)
{
    // As CellAddress::column() reads them: one to three letters, up to XFD.
    int column = 0;
    qsizetype n = 0;
    for (;; ++n) {
        const uchar c = uchar(ref[n]);
        if (c >= 0x80)
            return xlsxColumn(QString::fromUtf8(ref));
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')))
            break;
        column = std::min(column * 26 + ((c | 0x20) - 'a' + 1), maxColumnsPlusOne);
    }
    if (n == 0 || n > 3 || column > maxColumns)
        return std::nullopt;
    return column - 1;
}

class XlsxSharedStringsReader : public ExpatReader
{
    Q_DECLARE_TR_FUNCTIONS(WorkbookFile)

public:
    XlsxSharedStringsReader(const QString &name, const QString &part, QStringList &strings, qsizetype &budget)
        : ExpatReader(name, part, Names::AsWritten)
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
// one. A cell's <v> or <is> is its value, the start of its <f> names a
// formula saved without its result; extensions are passed over, and so is
// anything else inside <sheetData> but rows.
class XlsxSheetReader : public ExpatReader
{
    Q_DECLARE_TR_FUNCTIONS(WorkbookFile)

public:
    XlsxSheetReader(const QStringList &shared, const XlsxStyles &styles, const QString &name, const QString &part,
                    qsizetype &budget)
        : ExpatReader(name, part, Names::AsWritten)
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
            case Child::Formula:
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
                hasValue = true;
            } else if (equal(local, "is")) {
                inlineText.begin();
                child = Child::Inline;
            } else if (equal(local, "f")) {
                formula.clear();
                valueDepth = 0;
                child = Child::Formula;
                hasFormula = true;
            } else {
                skip();   // extensions
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
            case Child::Formula:
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
        } else if (child == Child::Formula && formula.units <= maxShownName) {
            formula.append(s, length);   // enough of it to show
        }
    }

private:
    enum class CellType { Shared, Inline, Boolean, Text, Error, Date, Number };
    enum class Child { None, Value, Inline, Formula };   // what of the cell is being read

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
        hasValue = false;
        hasFormula = false;
        child = Child::None;
        inCell = true;
    }
    void cellEnd()
    {
        // A formula saved without its result (no <v>, or an empty one where
        // the result is no text): the cell is empty, and said to be.
        if (hasFormula && !hasInline && (!hasValue || (value.bytes.empty() && type != CellType::Text))) {
            QString why;
            if (!sheet.addFormulaCell(formula.bytes.empty() ? QString() : QLatin1Char('=') + formula.toString(), &why))
                stop(why);
            return;
        }
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
                                    [&] { return xlsxNumber(value.bytes, nullptr, styles.context); });
                break;
            }
            // The same number in another style is another text (0x1F cannot
            // be in XML text, so no plain number's bytes look like this).
            key.assign(value.bytes).append(1, '\x1F').append(style);
            text = numbers.text(key.data(), qsizetype(key.size()),
                                [&] { return xlsxNumber(value.bytes, format, styles.context); });
            break;
        }
        // The cell's own text, to tell what its format adds.
        const qsizetype own = type == CellType::Number || type == CellType::Date ? value.units : text.size();
        if (format && type != CellType::Number && type != CellType::Boolean && type != CellType::Error
            && type != CellType::Date && format->changesText() && !text.isEmpty())
            text = format->text(text, maxCellLength);   // cut just past the limit while it is made
        if (text.size() > maxCellLength)
            return stop(tooLongCell());
        QString why;
        if (!sheet.spendOnFormats(text.size() - own, &why) || !sheet.addCell(text, 1, &why))
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
    Utf8Text formula;   // the start of it, to name the cell
    bool hasValue = false;
    bool hasFormula = false;
    RichText inlineText;
    QString inline_;
    bool hasInline = false;
    RecentTexts numbers;
    const QString yes = tr("PRAWDA");
    const QString no = tr("FAŁSZ");
};

} // namespace

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

} // namespace WorkbookFile
