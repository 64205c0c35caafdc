#pragma once

// The ZIP container of .ods and .xlsx files, read through QuaZip with every
// entry bounded.
#include "workbooks/readsupport.h"
#include "workbooks/workbookfile.h"

#include <QIODevice>
#include <QSet>
#include <QString>
#include <QStringList>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipfileinfo.h>

#include <algorithm>
#include <functional>
#include <optional>

namespace WorkbookFile {

// ------------------------------------------------------------------- ZIP

// The compression methods a ZIP entry may name, for the refusal.
inline QString methodName(int method)
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
inline bool isCompoundFile(QIODevice &device)
{
    return isCompoundDocument(device.peek(8));
}

} // namespace WorkbookFile
