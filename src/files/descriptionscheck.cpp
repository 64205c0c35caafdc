#include "files/descriptionscheck.h"

#include "files/filelook.h"

#include "system/plural.h"

#include "layout/sheetlayout.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QString tr(const char *text, const char *form = nullptr)
{
    return QCoreApplication::translate("DescriptionsCheck", text, form);
}

QString gigabytes(qint64 bytes)
{
    return QString::number(double(bytes) / (1024.0 * 1024.0 * 1024.0), 'f', 1);
}
} // namespace

bool DescriptionsCheck::isLinkLoop(const QString &path)
{
    struct stat st{};
    return ::stat(QFile::encodeName(path).constData(), &st) != 0 && errno == ELOOP;
}

DescriptionsCheck::Verdict DescriptionsCheck::openRegular(const QString &path, QFile &file)
{
    const QByteArray native = QFile::encodeName(path);
    // A look at the path first, so that no device is ever opened (opening
    // some has effects of its own)...
    struct stat st{};
    if (::stat(native.constData(), &st) != 0)
        return (errno == ENOENT || errno == ENOTDIR) ? Verdict::Missing : Verdict::Unreadable;
    if (!S_ISREG(st.st_mode))
        return Verdict::NotRegular;
    // ...and a second look at what was opened, without blocking, in case the
    // path was replaced meanwhile by a FIFO.
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return errno == ENOENT ? Verdict::Missing : Verdict::Unreadable;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return Verdict::NotRegular;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return Verdict::Unreadable;
    }
    return Verdict::Ok;
}

qint64 DescriptionsCheck::memoryFor(qint64 barettes, int labelsPerBarette, qint64 bytes, Holding holding)
{
    if (holding == Holding::Print)
        return barettes * (labelsPerBarette + 1) * bytesPerPrintedField + bytes * bytesPerFileByte;
    return barettes * (labelsPerBarette + 1) * bytesPerShownField + bytes * bytesPerFileByte;
}

qint64 DescriptionsCheck::memoryLimit()
{
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    qint64 limit = (pages > 0 && pageSize > 0) ? qint64(pages) * pageSize : qint64(8) << 30;
    rlimit as{};
    if (::getrlimit(RLIMIT_AS, &as) == 0 && as.rlim_cur != RLIM_INFINITY)
        limit = std::min<qint64>(limit, qint64(as.rlim_cur));
    return limit;
}

DescriptionsCheck::Result DescriptionsCheck::check(const QString &path, int labelsPerBarette,
                                                   int barettesPerPage, qint64 memoryLimit, Holding holding)
{
    FileLook look = FileLook::at(path);
    return check(look, labelsPerBarette, barettesPerPage, memoryLimit, holding);
}

DescriptionsCheck::Result DescriptionsCheck::check(FileLook &look, int labelsPerBarette, int barettesPerPage,
                                                   qint64 memoryLimit, Holding holding)
{
    Result r;
    r.memoryLimit = memoryLimit > 0 ? memoryLimit : DescriptionsCheck::memoryLimit();
    const int n = std::max(labelsPerBarette, 0);
    r.verdict = look.verdict;
    if (r.verdict != Verdict::Ok)
        return r;
    QFile &file = look.rewound();
    r.bytes = look.size;
    // The bytes alone, decoded, would not fit: no need to count the lines.
    r.memoryBytes = memoryFor(0, n, r.bytes, holding);
    if (r.memoryBytes > r.memoryLimit) {
        r.verdict = Verdict::TooLarge;
        return r;
    }

    // The first megabytes are looked at byte by byte (line feeds and NUL bytes
    // per line); the rest only has its line feeds counted.
    std::vector<char> buffer(1 << 20);
    qint64 pos = 0;
    qint64 lineFeeds = 0;
    qint64 probedLines = 0;
    qint64 probedNulLines = 0;
    bool lineHasNul = false;
    char lastByte = '\n';
    for (;;) {
        const qint64 got = file.read(buffer.data(), qint64(buffer.size()));
        if (got < 0) {
            r.verdict = Verdict::Unreadable;
            return r;
        }
        if (got == 0)
            break;
        const char *data = buffer.data();
        qint64 i = 0;
        for (; i < got && pos + i < lineFeedProbeBytes; ++i) {
            if (data[i] == '\n') {
                ++lineFeeds;
                ++probedLines;
                probedNulLines += lineHasNul ? 1 : 0;
                lineHasNul = false;
            } else if (data[i] == '\0') {
                lineHasNul = true;
            }
        }
        lineFeeds += std::count(data + i, data + got, '\n');
        lastByte = data[got - 1];
        pos += got;
        if (pos >= lineFeedProbeBytes && probedLines == 0) {
            r.verdict = Verdict::NotText;
            return r;
        }
        // Stop as soon as the lines so far are more than memory can hold.
        if (memoryFor(lineFeeds / (n + 1), n, r.bytes, holding) > r.memoryLimit)
            break;
    }
    // A last line without a line feed, when the whole file was looked at.
    if (pos <= lineFeedProbeBytes && lastByte != '\n') {
        ++probedLines;
        probedNulLines += lineHasNul ? 1 : 0;
    }
    if (probedNulLines * 2 > probedLines) {
        r.verdict = Verdict::NotText;
        return r;
    }

    return forLines(lineFeeds + (lastByte != '\n' ? 1 : 0), n, barettesPerPage, r.bytes, r.memoryLimit, holding);
}

DescriptionsCheck::Result DescriptionsCheck::forLines(qint64 lines, int labelsPerBarette, int barettesPerPage,
                                                      qint64 bytes, qint64 memoryLimit, Holding holding)
{
    Result r;
    const int n = std::max(labelsPerBarette, 0);
    r.memoryLimit = memoryLimit > 0 ? memoryLimit : DescriptionsCheck::memoryLimit();
    r.bytes = bytes;
    r.lines = lines;
    r.barettes = (r.lines + n) / (n + 1);
    r.pages = SheetLayout::pagesFor(r.barettes, barettesPerPage);
    r.memoryBytes = memoryFor(r.barettes, n, r.bytes, holding);
    // Field ids and page numbers are ints.
    const bool idsFit = r.barettes * (n + 1) < qint64(INT_MAX);
    if (r.memoryBytes > r.memoryLimit || !idsFit)
        r.verdict = Verdict::TooLarge;
    else if (r.barettes > largeSheetBarettes)
        r.verdict = Verdict::Large;
    else
        r.verdict = Verdict::Ok;
    return r;
}

QString DescriptionsCheck::baretteCount(qint64 count)
{
    return counted(count, tr("%1 baretkę", "one"), tr("%1 baretki", "few"), tr("%1 baretek", "many"));
}

QString DescriptionsCheck::pageCount(qint64 count)
{
    return counted(count, tr("%1 strona", "one"), tr("%1 strony", "few"), tr("%1 stron", "many"));
}

QString DescriptionsCheck::question(const Result &result, bool pasted)
{
    return (pasted ? tr("Schowek zawiera %1 (%2). Wczytać?") : tr("Plik zawiera %1 (%2). Wczytać?"))
        .arg(baretteCount(result.barettes), pageCount(result.pages));
}

QString DescriptionsCheck::unreadable(const QString &path)
{
    if (isLinkLoop(path))
        return tr("Nie można odczytać pliku %1: to pętla dowiązań symbolicznych.").arg(path);
    return tr("Nie można odczytać pliku %1.").arg(path);
}

QString DescriptionsCheck::refusal(const Result &result, const QString &path)
{
    const QString name = QFileInfo(path).fileName().isEmpty() ? path : QFileInfo(path).fileName();
    switch (result.verdict) {
    case Verdict::NotRegular:
        return tr("„%1” nie jest zwykłym plikiem (to folder, potok lub urządzenie).\n"
                  "Plik z opisami nie został wczytany.").arg(path);
    case Verdict::NotText:
        return tr("Plik „%1” nie jest plikiem tekstowym z opisami: zawiera bajty zerowe "
                  "albo nie dzieli się na wiersze.\nPlik nie został wczytany.").arg(name);
    case Verdict::TooLarge:
        if (path.isEmpty())
            return tr("Wklejone komórki są zbyt duże: arkusz z nich potrzebowałby około %1 GB pamięci, "
                      "a dostępne jest %2 GB.\nNic nie zostało wczytane.")
                .arg(gigabytes(result.memoryBytes), gigabytes(result.memoryLimit));
        return tr("Plik „%1” jest zbyt duży: arkusz z niego potrzebowałby około %2 GB pamięci, "
                  "a dostępne jest %3 GB.\nPlik nie został wczytany.")
            .arg(name, gigabytes(result.memoryBytes), gigabytes(result.memoryLimit));
    case Verdict::Missing:
        return tr("Nie ma pliku %1.").arg(path);
    case Verdict::Unreadable:
        return unreadable(path);
    case Verdict::Ok:
    case Verdict::Large:
        break;
    }
    return QString();
}
