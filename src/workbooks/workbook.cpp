#include "workbooks/workbook.h"

#include "files/descriptionsfile.h"
#include "files/windows1250.h"
#include "workbooks/workbookfile.h"

#include <QCoreApplication>

#include <algorithm>

qsizetype WorkbookSheet::columnCount() const
{
    qsizetype count = 0;
    for (const QStringList &row : rows)
        count = std::max(count, row.size());
    return count;
}

qsizetype Workbook::indexOf(const QString &sheetName) const
{
    for (qsizetype i = 0; i < sheets.size(); ++i) {
        if (sheets.at(i).name == sheetName)
            return i;
    }
    return -1;
}

namespace CellAddress {

// The last column of the spreadsheet programs, "XFD".
constexpr int lastColumn = 16'383;

QString columnName(qsizetype column)
{
    QString name;
    qsizetype n = column + 1;
    while (n > 0) {
        const qsizetype digit = (n - 1) % 26;
        name.prepend(QChar(char16_t(u'A' + digit)));
        n = (n - 1) / 26;
    }
    return name;
}

std::optional<int> column(QStringView letters)
{
    if (letters.isEmpty() || letters.size() > 3)
        return std::nullopt;
    int value = 0;
    for (const QChar c : letters) {
        const char16_t u = c.toUpper().unicode();
        if (u < u'A' || u > u'Z')
            return std::nullopt;
        value = value * 26 + (u - u'A' + 1);
    }
    if (value - 1 > lastColumn)
        return std::nullopt;
    return value - 1;
}

QString address(const QString &sheet, qsizetype row, qsizetype column)
{
    return QStringLiteral("%1!%2%3").arg(sheet, columnName(column)).arg(row + 1);
}

std::optional<std::pair<int, int>> columnRange(QStringView text)
{
    const QStringView trimmed = text.trimmed();
    const qsizetype dash = trimmed.indexOf(u'-');
    const QStringView first = (dash < 0 ? trimmed : trimmed.first(dash)).trimmed();
    const QStringView last = (dash < 0 ? trimmed : trimmed.sliced(dash + 1)).trimmed();
    const std::optional<int> a = column(first);
    const std::optional<int> b = column(last);
    if (!a || !b || *b < *a)
        return std::nullopt;
    return std::pair{*a, *b};
}

} // namespace CellAddress

// ------------------------------------------------------------- mapping

QString SheetMapping::toString() const
{
    // The sheet's name last: it may hold ";".
    const QString delimiterName = delimiter == '\t' ? QStringLiteral("tab")
                                  : delimiter      ? QString(QLatin1Char(delimiter))
                                                   : QString();
    return QStringList{layout == Layout::Rows ? QStringLiteral("rows") : QStringLiteral("column"),
                       CellAddress::columnName(headerColumn),
                       CellAddress::columnName(firstLabel) + QLatin1Char('-') + CellAddress::columnName(lastLabel),
                       CellAddress::columnName(column),
                       keepEmptyRows ? QStringLiteral("keep") : QStringLiteral("skip"),
                       firstRowHeadings ? QStringLiteral("headings") : QStringLiteral("data"),
                       delimiterName == QLatin1String(";") ? QStringLiteral("semicolon") : delimiterName,
                       sheet}
        .join(QLatin1Char(';'));
}

std::optional<SheetMapping> SheetMapping::fromString(QStringView text)
{
    const QList<QStringView> parts = text.split(u';');
    if (parts.size() < 8)
        return std::nullopt;
    SheetMapping m;
    if (parts[0] == u"rows")
        m.layout = Layout::Rows;
    else if (parts[0] != u"column")
        return std::nullopt;
    const std::optional<int> header = CellAddress::column(parts[1]);
    const std::optional<std::pair<int, int>> labels = CellAddress::columnRange(parts[2]);
    const std::optional<int> column = CellAddress::column(parts[3]);
    if (!header || !labels || !column || (parts[4] != u"keep" && parts[4] != u"skip")
        || (parts[5] != u"headings" && parts[5] != u"data"))
        return std::nullopt;
    m.headerColumn = *header;
    m.firstLabel = labels->first;
    m.lastLabel = labels->second;
    m.column = *column;
    m.keepEmptyRows = parts[4] == u"keep";
    m.firstRowHeadings = parts[5] == u"headings";
    if (parts[6] == u"tab")
        m.delimiter = '\t';
    else if (parts[6] == u"semicolon")
        m.delimiter = ';';
    else if (parts[6] == u",")
        m.delimiter = ',';
    else if (!parts[6].isEmpty())
        return std::nullopt;
    // The rest is the sheet's name, ";" and all.
    qsizetype at = 0;
    for (int k = 0; k < 7; ++k)
        at = text.indexOf(u';', at) + 1;
    m.sheet = text.sliced(at).toString();
    return m;
}

// --------------------------------------------------------------- import

namespace SheetImport {

namespace {

// The cells `mapping` reads, in reading order: calls visit(row, column) for
// each (empty ones included) and, in the Rows layout, rowDone(row, empty)
// after every row.
template<typename Visit, typename RowDone>
void walk(const WorkbookSheet &sheet, const SheetMapping &mapping, int labelsPerBarette, Visit visit,
          RowDone rowDone)
{
    const qsizetype first = mapping.firstRowHeadings ? 1 : 0;
    if (mapping.layout == SheetMapping::Layout::Column) {
        qsizetype last = sheet.rows.size() - 1;
        while (last >= first && sheet.cell(last, mapping.column).isEmpty())
            --last;
        for (qsizetype r = first; r <= last; ++r)
            visit(r, qsizetype(mapping.column));
        return;
    }
    const int labels = std::min(mapping.labelColumns(), labelsPerBarette);
    for (qsizetype r = first; r < sheet.rows.size(); ++r) {
        const QStringList &row = sheet.rows.at(r);
        bool empty = row.value(mapping.headerColumn).isEmpty();
        for (int k = 0; k < labels && empty; ++k)
            empty = row.value(mapping.firstLabel + k).isEmpty();
        if (empty && !mapping.keepEmptyRows)
            continue;
        visit(r, qsizetype(mapping.headerColumn));
        for (int k = 0; k < labels; ++k)
            visit(r, qsizetype(mapping.firstLabel + k));
        rowDone(labels);
    }
}

} // namespace

SheetMapping guessMapping(const WorkbookSheet &sheet)
{
    SheetMapping mapping;
    mapping.sheet = sheet.name;
    const qsizetype columns = sheet.columnCount();
    if (columns > 1) {
        mapping.layout = SheetMapping::Layout::Rows;
        mapping.lastLabel = int(std::min<qsizetype>(columns - 1, 15));
    }
    return mapping;
}

QStringList texts(const WorkbookSheet &sheet, const SheetMapping &mapping, int labelsPerBarette)
{
    QStringList out;
    walk(
        sheet, mapping, labelsPerBarette,
        [&](qsizetype r, qsizetype c) { out.append(DescriptionsFile::asRead(sheet.cell(r, c))); },
        [&](int labels) {
            for (int k = labels; k < labelsPerBarette; ++k)
                out.append(QString());
        });
    return out;
}

QList<BadCell> unencodable(const WorkbookSheet &sheet, const SheetMapping &mapping, qsizetype limit,
                           qsizetype *total)
{
    QList<BadCell> bad;
    qsizetype count = 0;
    QByteArray ignored;
    walk(
        sheet, mapping, 30,
        [&](qsizetype r, qsizetype c) {
            const QString text = sheet.cell(r, c);
            qsizetype at = -1;
            // A NUL would end the field's line in the descriptions file.
            const qsizetype nul = text.indexOf(QChar(0));
            if (text.isEmpty() || (Windows1250::encode(text, ignored, &at) && nul < 0))
                return;
            if (nul >= 0 && (at < 0 || nul < at))
                at = nul;
            if (bad.size() < limit)
                bad.append({r, c, Windows1250::characterAt(text, at)});
            ++count;
        },
        [](int) {});
    if (total)
        *total = count;
    return bad;
}

QString describe(const WorkbookSheet &sheet, const BadCell &cell)
{
    return CellAddress::address(WorkbookFile::shown(sheet.name), cell.row, cell.column) + QStringLiteral(": ")
           + Windows1250::describe(cell.character);
}

QList<MarkedCell> marked(const WorkbookSheet &sheet, const SheetMapping &mapping, qsizetype limit,
                         qsizetype *total)
{
    QList<MarkedCell> found;
    qsizetype count = 0;
    walk(
        sheet, mapping, 30,
        [&](qsizetype r, qsizetype c) {
            const QString text = sheet.cell(r, c);
            QString characters;
            for (const QChar special : specialCharacters) {
                if (text.contains(special))
                    characters += special;
            }
            if (characters.isEmpty())
                return;
            if (found.size() < limit)
                found.append({r, c, characters});
            ++count;
        },
        [](int) {});
    if (total)
        *total = count;
    return found;
}

QList<FormulaCell> uncalculated(const WorkbookSheet &sheet, const SheetMapping &mapping, qsizetype limit,
                                qsizetype *total)
{
    const qsizetype first = mapping.firstRowHeadings ? 1 : 0;
    const bool rows = mapping.layout == SheetMapping::Layout::Rows;
    QList<FormulaCell> found;
    qsizetype count = 0;
    for (const FormulaCell &cell : sheet.formulaCells) {
        const bool read = cell.row >= first
                          && (rows ? cell.column == mapping.headerColumn
                                         || (cell.column >= mapping.firstLabel && cell.column <= mapping.lastLabel)
                                   : cell.column == mapping.column);
        if (!read)
            continue;
        if (found.size() < limit)
            found.append(cell);
        ++count;
    }
    if (total)
        *total = count;
    return found;
}

QString describe(const WorkbookSheet &sheet, const FormulaCell &cell)
{
    const QString address = CellAddress::address(WorkbookFile::shown(sheet.name), cell.row, cell.column);
    return cell.formula.isEmpty() ? address : address + QStringLiteral(": ") + cell.formula;
}

QString meaning(QChar special)
{
    switch (special.unicode()) {
    case u'@':
        return QCoreApplication::translate("SheetImport", "nowa linia");
    case u'#':
        return QCoreApplication::translate("SheetImport", "symbol (kwadraty)");
    case u'$':
        return QCoreApplication::translate("SheetImport", "symbol (koła)");
    case u'^':
        return QCoreApplication::translate("SheetImport", "symbol (trójkąty)");
    case u'&':
        return QCoreApplication::translate("SheetImport", "symbol (romby)");
    default:
        return QString(special);
    }
}

QString describe(const WorkbookSheet &sheet, const MarkedCell &cell)
{
    QStringList parts;
    for (const QChar special : cell.characters)
        parts.append(QCoreApplication::translate("SheetImport", "„%1” → %2").arg(special).arg(meaning(special)));
    return CellAddress::address(sheet.name, cell.row, cell.column) + QStringLiteral(": ")
           + parts.join(QStringLiteral(", "));
}

QString replaceUnencodable(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const bool pair = c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        const QStringView one = QStringView(text).sliced(i, pair ? 2 : 1);
        out += Windows1250::canEncode(one) && c != QChar(0) ? one.toString() : QStringLiteral("?");
        if (pair)
            ++i;
    }
    return out;
}

} // namespace SheetImport

namespace SheetExport {

QByteArray csv(const QStringList &fieldTexts, int labelsPerBarette)
{
    QByteArray out("\xEF\xBB\xBF");
    const int perRow = labelsPerBarette + 1;
    for (qsizetype first = 0; first < fieldTexts.size(); first += perRow) {
        for (int k = 0; k < perRow; ++k) {
            if (k > 0)
                out += ';';
            const QString text = fieldTexts.value(first + k);
            const bool quote = text.contains(QLatin1Char(';')) || text.contains(QLatin1Char('"'))
                               || text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'))
                               || text.startsWith(QLatin1Char(' ')) || text.endsWith(QLatin1Char(' '));
            QByteArray cell = text.toUtf8();
            if (quote) {
                cell.replace('"', "\"\"");
                out += '"' + cell + '"';
            } else {
                out += cell;
            }
        }
        out += "\r\n";
    }
    return out;
}

} // namespace SheetExport
