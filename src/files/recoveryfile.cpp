#include "files/recoveryfile.h"

#include "files/projectfile.h"
#include "layout/sheetlayout.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QtEndian>

#include <bit>

namespace {

constexpr char magic[] = "LMREC\r\n\x1a";   // 8 bytes: text tools and line-ending conversions show as damage
constexpr qsizetype magicSize = 8;
constexpr quint32 formatVersion = 2;
// Version 1 ended with the font runs.
constexpr quint32 firstVersion = 1;

class Writer
{
public:
    QByteArray bytes;

    template <typename T> void number(T value)
    {
        char buffer[sizeof(T)];
        qToBigEndian(value, buffer);
        bytes.append(buffer, sizeof(T));
    }
    void text(const QString &value)
    {
        const QByteArray utf8 = value.toUtf8();
        number(quint32(utf8.size()));
        bytes += utf8;
    }
    void raw(const QByteArray &value)
    {
        number(quint32(value.size()));
        bytes += value;
    }
};

class Reader
{
public:
    explicit Reader(QByteArrayView bytes) : data(bytes) {}
    bool ok = true;

    qsizetype left() const { return data.size() - pos; }

    template <typename T> T number()
    {
        if (!ok || left() < qsizetype(sizeof(T))) {
            ok = false;
            return T{};
        }
        const T value = qFromBigEndian<T>(data.data() + pos);
        pos += sizeof(T);
        return value;
    }
    QByteArrayView raw(qsizetype limit)
    {
        const quint32 length = number<quint32>();
        if (!ok || length > quint64(limit) || length > quint64(left())) {
            ok = false;
            return {};
        }
        const QByteArrayView view = data.sliced(pos, length);
        pos += length;
        return view;
    }
    QString text(qsizetype limit = RecoveryCopy::maxTextBytes) { return QString::fromUtf8(raw(limit)); }
    // A count of records of at least `recordSize` bytes each, when the bytes left can hold them.
    qint64 count(qsizetype recordSize)
    {
        const qint64 value = number<qint64>();
        if (!ok || value < 0 || value > left() / recordSize)
            ok = false;
        return ok ? value : 0;
    }

private:
    QByteArrayView data;
    qsizetype pos = 0;
};

// The fields version 2 added: only a geometry the sheet takes, only a mapping
// of the size the settings keep.
bool readVersion2(Reader &in, RecoveryCopy &copy)
{
    const qint32 labels = in.number<qint32>();
    if (labels != 0) {
        if (!SheetLayout::validLabelCount(labels))
            return false;
        GeometryPreset &geometry = copy.geometry;
        geometry.labelsPerBarette = labels;
        geometry.presetName = in.text(RecoveryCopy::maxMappingBytes);
        double mm[4] = {};
        for (double &length : mm) {
            length = std::bit_cast<double>(in.number<quint64>());
            if (!SheetLayout::validLength(length))
                return false;
        }
        geometry.labelRect = QRectF(0, 0, mm[0], mm[1]);
        geometry.headerRect = QRectF(0, 0, mm[2], mm[3]);
    }
    copy.workbookPath = in.text();
    copy.workbookMapping = in.text(RecoveryCopy::maxMappingBytes);
    const quint8 pasted = in.number<quint8>();
    copy.pasted = pasted == 1;
    return in.ok && pasted <= 1;
}

} // namespace

QByteArray RecoveryCopy::hash(QByteArrayView bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

QList<QFont> RecoveryCopy::fieldFonts() const
{
    QList<QFont> fonts;
    for (const auto &[index, count] : fontRuns) {
        for (qint64 i = 0; i < count; ++i)
            fonts.append(fontTable.at(index));
    }
    return fonts;
}

QByteArray RecoveryCopy::serialize(const RecoveryCopy &copy)
{
    Writer out;
    out.bytes.append(magic, magicSize);
    out.number(formatVersion);
    out.number(copy.savedAt);
    out.number(quint8(copy.kind));
    out.text(copy.sourcePath);
    out.number(copy.sourceSize);
    out.number(copy.sourceTime);
    out.raw(copy.sourceHash);
    out.text(copy.projectPath);
    out.number(copy.lineCount);
    if (copy.texts.isEmpty() && !copy.sheetTexts.isEmpty()) {
        out.number(qint64(copy.sheetTexts.size()));
        for (qsizetype id = 0; id < copy.sheetTexts.size(); ++id)
            out.text(copy.sheetTexts.at(id));
    } else {
        out.number(qint64(copy.texts.size()));
        for (const QString &text : copy.texts)
            out.text(text);
    }
    out.number(qint64(copy.edits.size()));
    for (const auto &[id, text] : copy.edits) {
        out.number(id);
        out.text(text);
    }
    out.raw(ProjectFile::serializeFonts(copy.fontTable));
    out.number(qint64(copy.fontTable.size()));
    out.number(qint64(copy.fontRuns.size()));
    for (const auto &[index, count] : copy.fontRuns) {
        out.number(index);
        out.number(count);
    }
    const GeometryPreset &geometry = copy.geometry;
    out.number(qint32(geometry.labelsPerBarette));
    if (geometry.labelsPerBarette != 0) {
        out.text(geometry.presetName);
        for (const double mm : {geometry.labelRect.width(), geometry.labelRect.height(), geometry.headerRect.width(),
                                geometry.headerRect.height()})
            out.number(std::bit_cast<quint64>(mm));
    }
    out.text(copy.workbookPath);
    out.text(copy.workbookMapping);
    out.number(quint8(copy.pasted ? 1 : 0));
    return out.bytes;
}

RecoveryCopy::Read RecoveryCopy::parse(QByteArrayView bytes)
{
    Read result;
    if (bytes.size() < magicSize + 4 || bytes.first(magicSize) != QByteArrayView(magic, magicSize))
        return result;
    if (bytes.size() > maxFileSize) {
        result.status = Status::Damaged;
        return result;
    }
    Reader in(bytes.sliced(magicSize));
    const quint32 fileVersion = in.number<quint32>();
    if (fileVersion > formatVersion) {
        result.status = Status::Newer;
        return result;
    }
    result.status = Status::Damaged;
    if (fileVersion < firstVersion)
        return result;
    RecoveryCopy &copy = result.copy;
    copy.version = fileVersion;
    copy.savedAt = in.number<qint64>();
    const quint8 kind = in.number<quint8>();
    if (kind > quint8(Kind::Project))
        return result;
    copy.kind = Kind(kind);
    copy.sourcePath = in.text();
    copy.sourceSize = in.number<qint64>();
    copy.sourceTime = in.number<qint64>();
    copy.sourceHash = in.raw(64).toByteArray();
    copy.projectPath = in.text();
    copy.lineCount = in.number<qint64>();
    if (!in.ok || copy.lineCount < 0 || copy.lineCount > maxFields)
        return result;
    const qint64 textCount = in.count(4);
    for (qint64 i = 0; in.ok && i < textCount; ++i)
        copy.texts.append(in.text());
    // Whole texts are all the lines there are.
    if (copy.sourceHash.isEmpty() && textCount != copy.lineCount)
        return result;
    // A field is written over once at most.
    const qint64 editCount = in.count(12);
    if (editCount > copy.lineCount)
        return result;
    for (qint64 i = 0; in.ok && i < editCount; ++i) {
        const qint64 id = in.number<qint64>();
        if (id < 0 || id >= copy.lineCount)
            return result;
        copy.edits.append({id, in.text()});
    }
    // The table holds the fonts the runs use, each a font of its own: it is
    // read after the runs, whose number bounds it (a font costs many times
    // its record).
    const QByteArrayView fontBytes = in.raw(in.left());
    const qint64 tableSize = in.number<qint64>();
    if (!in.ok || tableSize < 0 || tableSize > maxFonts)
        return result;
    const qint64 runCount = in.count(12);
    // Fonts reach the empty fields of the last barette at most.
    if (runCount > copy.lineCount + 16 || tableSize > runCount)
        return result;
    qint64 fields = 0;
    for (qint64 i = 0; in.ok && i < runCount; ++i) {
        const quint32 index = in.number<quint32>();
        const qint64 count = in.number<qint64>();
        if (index >= quint64(tableSize) || count <= 0 || count > copy.lineCount + 16 - fields)
            return result;
        fields += count;
        copy.fontRuns.append({index, count});
    }
    if (!in.ok)
        return result;
    ProjectFile::Fonts fonts = ProjectFile::parseFonts(fontBytes);
    if (fonts.status != ProjectFile::Fonts::Status::Complete || fonts.fonts.size() != tableSize)
        return result;
    copy.fontTable = std::move(fonts.fonts);
    if (fileVersion >= 2 && !readVersion2(in, copy))
        return result;
    if (!in.ok || in.left() != 0)
        return result;
    result.status = Status::Ok;
    return result;
}

QString RecoveryCopy::reason(Status status)
{
    switch (status) {
    case Status::Ok:
        break;
    case Status::NotACopy:
        return QCoreApplication::translate("RecoveryCopy", "to nie jest kopia zapasowa Lamello");
    case Status::Damaged:
        return QCoreApplication::translate("RecoveryCopy", "plik jest uszkodzony");
    case Status::Newer:
        return QCoreApplication::translate("RecoveryCopy", "kopię zapisała nowsza wersja programu");
    }
    return QString();
}
