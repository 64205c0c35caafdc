#include "workbooks/workbookfile.h"

#include "files/descriptionscheck.h"
#include "files/descriptionsfile.h"
#include "files/filelook.h"
#include "workbooks/readsupport.h"
#include "workbooks/sheetbuilder.h"

#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>

#include <unistd.h>

#include <optional>

namespace WorkbookFile {

namespace {

QString changedWhileRead(const QString &name)
{
    return refusal(name, QString(), tr("plik zmienił się w czasie wczytywania; wczytaj go ponownie, gdy program, "
                                       "który go zapisuje, skończy"));
}

} // namespace

bool isCompoundDocument(QByteArrayView bytes)
{
    return bytes.startsWith(QByteArrayView("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8));
}

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

bool read(const QString &path, Format format, Workbook &book, QString *error, char delimiter,
          const std::atomic<bool> *cancelled)
{
    FileLook look = FileLook::at(path);
    return read(look, format, book, error, delimiter, cancelled);
}

bool read(FileLook &look, Format format, Workbook &book, QString *error, char delimiter,
          const std::atomic<bool> *cancelled)
{
    book = Workbook();
    SheetBuilder::cancelled = cancelled;
    const auto done = qScopeGuard([] { SheetBuilder::cancelled = nullptr; });
    const QString &path = look.path;
    const QString name = QFileInfo(path).fileName();
    switch (look.verdict) {
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
    QFile &file = look.rewound();
    // The file is watched through a descriptor of its own (the ZIP reader
    // closes the one it is given), against what it was when looked at.
    const int watched = ::dup(file.handle());
    const auto closeWatched = qScopeGuard([watched] {
        if (watched >= 0)
            ::close(watched);
    });
    const bool watching = watched >= 0 && look.stamp;
    const FileLook::Stamp before = look.stamp.value_or(FileLook::Stamp());
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
        if (watching && bytes.size() != before.size) {
            setError(error, changedWhileRead(name));
            return false;
        }
        ok = readDelimited(bytes, name, delimiter, book, error);
        break;
    }
    }
    // A file written to while it was read may have given part of the old
    // and part of the new: neither is what the user has.
    if (ok && watching && FileLook::stampOf(watched) != before) {
        setError(error, changedWhileRead(name));
        ok = false;
    }
    if (!ok)
        book = Workbook();
    return ok;
}

} // namespace WorkbookFile
