#include "files/projectfile.h"

#include "system/plural.h"

#include <QCoreApplication>

#include <QDataStream>
#include <QHash>
#include <QIODevice>
#include <QtEndian>

#include <cmath>
#include <cstring>

namespace {

// Bytes of a record after the family name: point size 8, pixel size 4, style
// hint, strategy, character set, weight and bits 1 each, stretch 2, extended
// bits 1, letter and word spacing 4 each.
constexpr qsizetype fixedPartSize = 8 + 4 + 5 + 2 + 1 + 4 + 4;
static_assert(ProjectFile::longestRecord == 4 + 2 * ProjectFile::maxFamilyLength + fixedPartSize);
constexpr quint32 noFamily = 0xFFFFFFFF;
constexpr quint16 unstretched = 100;

quint32 readU32(const uchar *p)
{
    return qFromBigEndian<quint32>(p);
}

// Whether the record at `p` (complete, `familyBytes` of family) describes a
// font Qt 4 could have written: sizes that make sense, known style hints,
// weights of its 0..99 scale, a family of printable characters.
bool plausibleRecord(const uchar *p, quint32 familyBytes)
{
    for (quint32 i = 0; i < familyBytes; i += 2) {
        if (qFromBigEndian<quint16>(p + 4 + i) < 0x20)
            return false;
    }
    const uchar *fixed = p + 4 + familyBytes;
    double pointSize = 0;
    const quint64 pointBits = qFromBigEndian<quint64>(fixed);
    std::memcpy(&pointSize, &pointBits, sizeof pointSize);
    const qint32 pixelSize = qFromBigEndian<qint32>(fixed + 8);
    const quint8 styleHint = fixed[12];
    const quint8 weight = fixed[15];
    const quint16 stretch = qFromBigEndian<quint16>(fixed + 17);

    // Far above any size a field can use, far below sizes that slow drawing down.
    constexpr double largest = 1000;
    const bool pointsOk = pointSize == -1 || (std::isfinite(pointSize) && pointSize > 0 && pointSize <= largest);
    const bool pixelsOk = pixelSize == -1 || (pixelSize > 0 && pixelSize <= largest);
    const bool someSize = pointSize > 0 || pixelSize > 0;
    return pointsOk && pixelsOk && someSize && styleHint <= QFont::Fantasy && weight <= 99 && stretch <= 4000;
}

} // namespace

QString ProjectFile::ofFields(qint64 count)
{
    const auto tr = [](const char *text, const char *form) {
        return QCoreApplication::translate("ProjectFile", text, form);
    };
    return counted(count, tr("%1 pola", "one"), tr("%1 pól", "few"), tr("%1 pól", "many"));
}

QString ProjectFile::textsPath(const QString &projectPath)
{
    QString path = projectPath;
    path.replace(suffix, QStringLiteral(".dat"));
    return path;
}

QString ProjectFile::withSuffix(const QString &name)
{
    return name.endsWith(suffix) ? name : name + suffix;
}

QByteArray ProjectFile::fontRecord(const QFont &font)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_4_6);
    if (font.stretch() == QFont::AnyStretch) {
        QFont unstretchedFont = font;
        unstretchedFont.setStretch(unstretched);
        out << unstretchedFont;
    } else {
        out << font;
    }
    return bytes;
}

QByteArray ProjectFile::serializeFonts(const QList<QFont> &fonts)
{
    // A sheet holds a handful of different fonts over thousands of fields:
    // each is turned into bytes once.
    QHash<QFont, QByteArray> records;
    QByteArray bytes;
    for (const QFont &font : fonts) {
        auto it = records.constFind(font);
        if (it == records.constEnd())
            it = records.insert(font, fontRecord(font));
        bytes += *it;
    }
    return bytes;
}

ProjectFile::Fonts ProjectFile::parseFonts(QByteArrayView bytes)
{
    Fonts result;
    const auto *data = reinterpret_cast<const uchar *>(bytes.data());
    const qsizetype size = bytes.size();
    // Equal records (most fields share a few fonts) are read once and share one font.
    QHash<QByteArrayView, QFont> known;
    result.fonts.reserve(size / 46);   // the size of a record with family "TIMES_K"
    qsizetype pos = 0;
    auto stop = [&](Fonts::Status status) {
        result.status = result.fonts.isEmpty() && status == Fonts::Status::NotAProject
                            ? Fonts::Status::NotAProject
                            : Fonts::Status::Damaged;
        result.damageOffset = pos;
        return result;
    };
    while (pos < size) {
        const qsizetype left = size - pos;
        if (left < 4)
            return stop(Fonts::Status::Damaged);
        const quint32 length = readU32(data + pos);
        const quint32 familyBytes = length == noFamily ? 0 : length;
        // Lengths are checked before anything is allocated for them: a damaged
        // or foreign file may claim gigabytes here.
        if (length != noFamily && (length % 2 != 0 || length > 2 * maxFamilyLength))
            return stop(Fonts::Status::NotAProject);
        const qsizetype recordSize = 4 + qsizetype(familyBytes) + fixedPartSize;
        if (left < recordSize)
            return stop(Fonts::Status::Damaged);
        const QByteArrayView record(bytes.data() + pos, recordSize);
        auto it = known.constFind(record);
        if (it == known.constEnd()) {
            if (!plausibleRecord(data + pos, familyBytes))
                return stop(Fonts::Status::NotAProject);
            QDataStream in(QByteArray::fromRawData(record.data(), recordSize));
            in.setVersion(QDataStream::Qt_4_6);
            QFont font;
            in >> font;
            if (in.status() != QDataStream::Ok || !in.atEnd())
                return stop(Fonts::Status::NotAProject);
            // Qt 4 wrote 100 where Qt 6 means the same by 0: read them alike.
            if (font.stretch() == unstretched)
                font.setStretch(QFont::AnyStretch);
            it = known.insert(record, font);
        }
        result.fonts.append(*it);
        pos += recordSize;
    }
    return result;
}
