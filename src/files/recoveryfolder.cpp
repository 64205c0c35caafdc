#include "files/recoveryfolder.h"

#include "files/atomicfile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSet>

#include <algorithm>
#include <new>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace RecoveryFolder {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("RecoveryFolder", text);
}

// QLockFile writes a few short lines, the owner's process id first.
constexpr qint64 maxLockSize = 4096;
// A lock younger than this may be one a window is writing right now.
constexpr qint64 lockWriteMs = 10'000;

bool writtenByQLockFile(const QString &path)
{
    QByteArray bytes;
    if (!readFile(path, maxLockSize, &bytes, nullptr))
        return false;
    const QByteArray pid = bytes.left(bytes.indexOf('\n'));
    bool number = false;
    return !pid.isEmpty() && pid.toLongLong(&number) > 0 && number;
}

// The first line of `text`, at most 60 characters of it.
QString firstLine(const QString &text)
{
    QString line = text.section(QLatin1Char('\n'), 0, 0);
    if (line.size() > 60)
        line = line.left(59) + QChar(0x2026);
    return line;
}

} // namespace

qint64 fileSize(const QString &path)
{
    struct stat info{};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return -1;
    return qint64(info.st_size);
}

bool readFile(const QString &path, qint64 limit, QByteArray *bytes, QString *reason, bool *lasting)
{
    const auto fail = [&](const QString &why, bool stays) {
        if (reason)
            *reason = why;
        if (lasting)
            *lasting = stays;
        return false;
    };
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return errno == ELOOP ? fail(tr("to dowiązanie, nie plik"), true) : fail(AtomicFile::systemError(errno), false);
    struct stat info{};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return fail(tr("to nie jest zwykły plik"), true);
    }
    if (info.st_size > limit) {
        ::close(fd);
        return fail(tr("plik ma %1 MB, więcej niż %2 MB, które może mieć kopia")
                        .arg((qint64(info.st_size) + (1 << 20) - 1) >> 20)
                        .arg(limit >> 20),
                    true);
    }
    bytes->resize(qsizetype(info.st_size));
    qsizetype done = 0;
    while (done < bytes->size()) {
        const ssize_t got = ::read(fd, bytes->data() + done, size_t(bytes->size() - done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            const int code = errno;
            ::close(fd);
            return fail(AtomicFile::systemError(code), false);
        }
        if (got == 0)
            break;
        done += got;
    }
    ::close(fd);
    bytes->truncate(done);
    return true;
}

Claim::~Claim()
{
    if (fd < 0)
        return;
    ::unlink(QFile::encodeName(path).constData());
    ::close(fd);
}

Claim claim(const QString &dir, const QString &id, QString *reason)
{
    const QString path = QDir(dir).absoluteFilePath(id + lockSuffix);
    const QByteArray native = QFile::encodeName(path);
    const auto odd = [&] {
        *reason = tr("jej blokada %1 nie jest zwykłym plikiem; po usunięciu blokady kopia zostanie zaproponowana")
                      .arg(QDir::toNativeSeparators(path));
        return Claim();
    };
    struct stat info{};
    if (::lstat(native.constData(), &info) == 0 && !S_ISREG(info.st_mode))
        return odd();
    // No lock (the window went before its lock was made) is made here;
    // nothing waits for a lock or for the disk.
    int fd = ::open(native.constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0600);
    const bool made = fd >= 0;
    if (!made && errno == EEXIST)
        fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        if (errno == ELOOP)
            return odd();
        *reason = AtomicFile::systemError(errno);
        return {};
    }
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return odd();
    }
    // A window's process holds its lock while it lives; one that QLockFile
    // has made but not locked yet is young and holds no process id yet.
    const qint64 age = QDateTime::currentMSecsSinceEpoch() - qint64(info.st_mtim.tv_sec) * 1000;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0
        || (!made && qAbs(age) < lockWriteMs && !writtenByQLockFile(path))) {
        ::close(fd);
        return {};
    }
    return Claim(fd, path);
}

void read(const QString &dir, Left &left)
{
    const QString path = QDir(dir).absoluteFilePath(left.id + RecoveryCopy::suffix);
    QByteArray bytes;
    bool lasting = false;
    try {
        if (!readFile(path, RecoveryCopy::maxFileSize, &bytes, &left.reason, &lasting)) {
            left.state = lasting ? Left::State::Damaged : Left::State::Kept;
            return;
        }
        left.fileSize = bytes.size();
        auto parsed = std::make_shared<RecoveryCopy::Read>(RecoveryCopy::parse(bytes));
        bytes = QByteArray();
        if (parsed->status != RecoveryCopy::Status::Ok) {
            left.state = parsed->status == RecoveryCopy::Status::Newer ? Left::State::Newer : Left::State::Damaged;
            left.reason = RecoveryCopy::reason(parsed->status);
            return;
        }
        const RecoveryCopy &copy = parsed->copy;
        left.savedAt = copy.savedAt;
        left.sheetName = !copy.projectPath.isEmpty() ? copy.projectPath : copy.sourcePath;
        left.pasted = copy.pasted;
        left.whole = copy.sourceHash.isEmpty();
        if (copy.sourceHash.isEmpty()) {
            for (const QString &text : copy.texts) {
                if (text.isEmpty())
                    continue;
                if (left.changed++ == 0)
                    left.firstChanged = firstLine(text);
            }
        } else {
            left.changed = copy.edits.size();
            const auto first = std::min_element(copy.edits.cbegin(), copy.edits.cend(),
                                                [](const auto &a, const auto &b) { return a.first < b.first; });
            if (first != copy.edits.cend())
                left.firstChanged = firstLine(first->second);
        }
        left.state = Left::State::Valid;
        left.copy = std::shared_ptr<const RecoveryCopy>(parsed, &parsed->copy);
    } catch (const std::bad_alloc &) {
        left.state = Left::State::Kept;
        left.copy.reset();
        left.reason = tr("za mało pamięci, by ją odczytać");
    }
}

QList<Left> scan(const QString &dir, const QString &ownId, qint64 keepBytes, const std::atomic<bool> &cancelled)
{
    QList<Left> found;
    const QDir folder(dir);
    const QStringList names = folder.entryList(QDir::Files | QDir::Dirs | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
    QSet<QString> copies;
    for (const QString &name : names) {
        if (name.endsWith(RecoveryCopy::suffix))
            copies.insert(name.chopped(RecoveryCopy::suffix.size()));
    }
    qint64 kept = 0;
    for (const QString &name : names) {
        if (cancelled)
            break;
        if (!name.endsWith(RecoveryCopy::suffix))
            continue;
        Left left;
        left.id = name.chopped(RecoveryCopy::suffix.size());
        if (left.id == ownId)
            continue;
        const QString base = folder.absoluteFilePath(left.id);
        // A newer version's copy said once already waits for that version.
        if (QFile::exists(base + newerSuffix))
            continue;
        // A window still running holds its lock; a dead one's is taken over.
        const Claim lock = claim(dir, left.id, &left.reason);
        if (!lock) {
            if (left.reason.isEmpty())
                continue;
            left.state = Left::State::Kept;
            found.append(left);
            continue;
        }
        read(dir, left);
        if (left.copy) {
            kept += left.fileSize;
            if (kept > keepBytes)
                left.copy.reset();
        }
        found.append(left);
    }
    // A window killed before its first copy left its descriptions file's
    // bytes, or its lock, which no copy names.
    QSet<QString> orphans;
    for (const QString &name : names) {
        for (const QString &suffix : {RecoveryCopy::sourceSuffix, lockSuffix, newerSuffix}) {
            if (name.endsWith(suffix) && !copies.contains(name.chopped(suffix.size())))
                orphans.insert(name.chopped(suffix.size()));
        }
    }
    for (const QString &id : std::as_const(orphans)) {
        if (cancelled || id == ownId)
            continue;
        const QString base = folder.absoluteFilePath(id);
        QFile::remove(base + newerSuffix);
        QString odd;
        if (const Claim lock = claim(dir, id, &odd))
            QFile::remove(base + RecoveryCopy::sourceSuffix);
    }
    std::stable_sort(found.begin(), found.end(), [](const Left &a, const Left &b) {
        const bool validA = a.state == Left::State::Valid;
        const bool validB = b.state == Left::State::Valid;
        if (validA != validB)
            return validA;
        return validA && a.savedAt > b.savedAt;
    });
    return found;
}

} // namespace RecoveryFolder
