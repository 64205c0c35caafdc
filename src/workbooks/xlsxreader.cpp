// Office Open XML workbooks: the workbook part's sheets, where their
// relationships lead, the styles, and each sheet read through them.

#include "system/language.h"
#include "workbooks/readsupport.h"
#include "workbooks/workbookfile.h"
#include "workbooks/xmlpart.h"
#include "workbooks/zipentries.h"

#include <QHash>
#include <QSet>

#include <optional>
#include <string_view>

namespace WorkbookFile {

namespace {

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

namespace {

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

bool readXlsx(QIODevice &device, const QString &name, Workbook &book, QString *error)
{
    book = Workbook();
    if (readXlsxInto(device, name, book, error))
        return true;
    book = Workbook();
    return false;
}

} // namespace WorkbookFile
