#include "files/atomicfile.h"

#include "system/startup.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>
#include <QDir>
#include <QRandomGenerator>

#include <cerrno>
#include <algorithm>
#include <cstring>
#include <mutex>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("AtomicFile", text);
}

QString systemError(int code)
{
    return AtomicFile::systemError(code);
}

// Makes the renames and removals done in folder `dir` survive a power cut.
// A folder that may be written but not read cannot be opened to be synced,
// and a file system that cannot sync folders (EINVAL) has nothing more to
// give: neither is an error of the write.
bool syncFolder(const QString &dir, QString *error)
{
    const int fd = ::open(QFile::encodeName(dir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == EACCES)
            return true;
        if (error)
            *error = systemError(errno);
        return false;
    }
    const int synced = ::fsync(fd);
    const int code = errno;
    ::close(fd);
    if (synced != 0 && code != EINVAL) {
        if (error)
            *error = systemError(code);
        return false;
    }
    return true;
}

} // namespace

QString AtomicFile::systemError(int code)
{
    switch (code) {
    case ENOENT:
        return tr("nie ma takiego pliku ani folderu");
    case EACCES:
    case EPERM:
        return tr("brak uprawnień");
    case ENOSPC:
        return tr("brak miejsca na dysku");
    case EDQUOT:
        return tr("wyczerpany przydział miejsca na dysku");
    case EFBIG:
        return tr("plik przekroczyłby największy dozwolony rozmiar");
    case EROFS:
        return tr("system plików jest tylko do odczytu");
    case EISDIR:
        return tr("to jest folder");
    case ENOTDIR:
        return tr("część ścieżki nie jest folderem");
    case ELOOP:
        return tr("pętla dowiązań symbolicznych");
    case ENAMETOOLONG:
        return tr("za długa nazwa pliku");
    case EIO:
        return tr("błąd wejścia-wyjścia urządzenia");
    case EMFILE:
    case ENFILE:
        return tr("za dużo otwartych plików");
    default:
        return QString::fromLocal8Bit(std::strerror(code));
    }
}

QString AtomicFile::linkTarget(const QString &path, QString *error)
{
    QFileInfo file(path);
    for (int depth = 0; file.isSymLink(); ++depth) {
        if (depth == maxLinkDepth) {
            if (error)
                *error = tr("to pętla dowiązań symbolicznych.");
            return QString();
        }
        file.setFile(file.symLinkTarget());
    }
    return file.absoluteFilePath();
}

bool AtomicFile::replaceable(const QString &path, QString *reason)
{
    struct stat st{};
    // Nothing there (or no look possible, which the write itself then
    // reports), or a regular file.
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || S_ISREG(st.st_mode))
        return true;
    if (reason)
        *reason = S_ISDIR(st.st_mode) ? tr("to jest folder.")
                                      : tr("to nie jest zwykły plik, lecz potok, urządzenie lub gniazdo; "
                                           "nie zostanie zastąpiony.");
    return false;
}

bool AtomicFile::sameFile(const QString &a, const QString &b)
{
    struct stat sa{};
    struct stat sb{};
    return ::stat(QFile::encodeName(a).constData(), &sa) == 0 && ::stat(QFile::encodeName(b).constData(), &sb) == 0
           && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

bool AtomicFile::write(const QString &path, const QByteArray &bytes, QString *error)
{
    auto fail = [error](const QString &reason) {
        if (error)
            *error = reason;
        return false;
    };
    QString refused;
    if (!replaceable(path, &refused))
        return fail(refused);
    // A file-size limit must make the write fail, not end the process.
    ignoreFileSizeSignal();
    QSaveFile file(path);
    // Unbuffered: a buffered QSaveFile drops the rest of a short write (a full
    // disk, a file size limit) and then commits the truncated file as a success.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(file.errorString());
    const char *data = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const qint64 written = file.write(data, left);
        if (written <= 0) {
            const QString reason = file.errorString();
            file.cancelWriting();   // the temporary file goes, the old file stays
            return fail(reason);
        }
        data += written;
        left -= written;
    }
    if (!file.commit())
        return fail(file.errorString());
    // The new file went where QSaveFile puts it: in place of the file that a
    // symbolic link at `path` names.
    const QString placed = linkTarget(path, nullptr);
    QString reason;
    if (!syncFolder(QFileInfo(placed.isEmpty() ? path : placed).absolutePath(), &reason))
        return fail(reason);
    return true;
}

namespace {

// The new bytes of one file, written and synced to a temporary file beside it,
// waiting to be renamed into place.
struct Staged
{
    QString path;
    QString tempPath;
    QString backupPath;   // a second name of the old file while others are put in place
    bool hadOld = false;
    bool placed = false;
};

// The names a save with `token` gives the new bytes of `path` and the second
// name of its old file: ".name.save-TOKEN" and ".name.save-TOKEN.old" beside it.
QString tempName(const QString &path, const QString &token)
{
    const QFileInfo target(path);
    return target.absolutePath() + QStringLiteral("/.") + target.fileName() + QStringLiteral(".save-") + token;
}

QString backupName(const QString &tempPath)
{
    return tempPath + QStringLiteral(".old");
}

QString newToken()
{
    static constexpr char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QString token;
    for (int i = 0; i < 8; ++i)
        token += QLatin1Char(letters[QRandomGenerator::global()->bounded(int(sizeof letters - 1))]);
    return token;
}

bool exists(const QString &path)
{
    struct stat st{};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0;
}

bool stage(const AtomicFile::Content &file, const QString &token, Staged &staged, QString *error)
{
    if (!AtomicFile::replaceable(file.path, error))
        return false;
    const QString tempPath = tempName(file.path, token);
    // Private to its owner until it is complete; never over anything there.
    const int fd = ::open(QFile::encodeName(tempPath).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        *error = systemError(errno);
        return false;
    }
    staged.path = file.path;
    staged.tempPath = tempPath;
    // A temporary file is private to its owner; the file it becomes gets the
    // permissions of the file it replaces, or those of any new file.
    mode_t mode = 0;
    struct stat old{};
    if (::stat(QFile::encodeName(file.path).constData(), &old) == 0) {
        mode = old.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    const char *data = file.bytes.constData();
    qsizetype left = file.bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            // A short write without an error is a full disk or a size limit.
            *error = systemError(written < 0 ? errno : ENOSPC);
            ::close(fd);
            return false;
        }
        data += written;
        left -= written;
    }
    if (::fchmod(fd, mode) != 0 || ::fsync(fd) != 0) {
        *error = systemError(errno);
        ::close(fd);
        return false;
    }
    if (::close(fd) != 0) {
        *error = systemError(errno);
        return false;
    }
    return true;
}

void discard(const std::vector<Staged> &staged)
{
    // Undo in reverse: the old files come back under their names, new files go.
    for (auto it = staged.crbegin(); it != staged.crend(); ++it) {
        const QByteArray path = QFile::encodeName(it->path);
        if (it->placed) {
            if (!it->backupPath.isEmpty())
                ::rename(QFile::encodeName(it->backupPath).constData(), path.constData());
            else if (!it->hadOld)
                ::unlink(path.constData());
        } else if (!it->tempPath.isEmpty()) {
            ::unlink(QFile::encodeName(it->tempPath).constData());
        }
    }
}

} // namespace

bool AtomicFile::writeAll(const QList<Content> &files, QString *failedPath, QString *error)
{
    QString reason;
    auto fail = [&](const QString &path, std::vector<Staged> &staged) {
        discard(staged);
        if (failedPath)
            *failedPath = path;
        if (error)
            *error = reason;
        return false;
    };

    // A file-size limit must make the write fail, not end the process.
    ignoreFileSizeSignal();
    // A link is written through: its target is the file replaced.
    QList<Content> targets;
    for (const Content &file : files) {
        const QString target = linkTarget(file.path, &reason);
        if (target.isEmpty()) {
            std::vector<Staged> none;
            return fail(file.path, none);
        }
        targets.append({target, file.bytes});
    }
    // First every file's new bytes, each in a temporary file beside it under
    // one name for the whole save (see finishInterrupted()): a full disk or a
    // folder that cannot be written stops here, before anything changed.
    std::vector<Staged> staged;
    staged.reserve(size_t(targets.size()));
    for (int attempt = 0;; ++attempt) {
        const QString token = newToken();
        bool taken = false;
        for (const Content &file : std::as_const(targets))
            taken = taken || exists(tempName(file.path, token));
        if (taken && attempt < 16)
            continue;
        for (const Content &file : std::as_const(targets)) {
            staged.emplace_back();
            if (!stage(file, token, staged.back(), &reason))
                return fail(file.path, staged);
        }
        break;
    }

    // Then into place, one rename each. Until the last one is in place, every
    // replaced file keeps a second name, so that a failing rename can bring
    // the old files back.
    for (size_t i = 0; i < staged.size(); ++i) {
        Staged &s = staged[i];
        const QByteArray path = QFile::encodeName(s.path);
        const bool last = i + 1 == staged.size();
        struct stat old{};
        s.hadOld = ::lstat(path.constData(), &old) == 0;
        if (s.hadOld && !last) {
            s.backupPath = backupName(s.tempPath);
            const QByteArray backup = QFile::encodeName(s.backupPath);
            // A hard link keeps the old file in place meanwhile; where the file
            // system has none, the old file steps aside for a moment.
            if (::link(path.constData(), backup.constData()) != 0
                && ::rename(path.constData(), backup.constData()) != 0) {
                reason = systemError(errno);
                s.backupPath.clear();
                return fail(s.path, staged);
            }
        }
        if (::rename(QFile::encodeName(s.tempPath).constData(), path.constData()) != 0) {
            reason = systemError(errno);
            if (s.hadOld && !s.backupPath.isEmpty()) {
                // Still the old file under its name (linked), or back from aside.
                if (::access(path.constData(), F_OK) != 0)
                    ::rename(QFile::encodeName(s.backupPath).constData(), path.constData());
                else
                    ::unlink(QFile::encodeName(s.backupPath).constData());
                s.backupPath.clear();
                s.hadOld = false;
            }
            return fail(s.path, staged);
        }
        s.placed = true;
    }
    QSet<QString> folders;
    for (const Staged &s : staged) {
        if (!s.backupPath.isEmpty())
            ::unlink(QFile::encodeName(s.backupPath).constData());
        folders.insert(QFileInfo(s.path).absolutePath());
    }
    // Every file is in place; the folders make it last.
    for (const QString &folder : std::as_const(folders)) {
        if (!syncFolder(folder, &reason)) {
            if (failedPath)
                *failedPath = folder;
            if (error)
                *error = reason;
            return false;
        }
    }
    return true;
}

AtomicFile::Finished AtomicFile::finishInterrupted(const QStringList &paths)
{
    Finished result = Finished::Nothing;
    QStringList targets;
    for (const QString &path : paths) {
        const QString target = linkTarget(path, nullptr);
        if (target.isEmpty())
            return result;
        targets.append(target);
    }
    if (targets.isEmpty())
        return result;
    // Every save that left a file beside any of them, by its name.
    QSet<QString> tokens;
    for (const QString &target : std::as_const(targets)) {
        const QFileInfo file(target);
        const QString prefix = QStringLiteral(".") + file.fileName() + QStringLiteral(".save-");
        const QStringList leftovers = QDir(file.absolutePath())
                                          .entryList({prefix + QLatin1Char('*')}, QDir::Files | QDir::Hidden | QDir::System);
        for (const QString &name : leftovers) {
            const QString token = name.mid(prefix.size()).section(QLatin1Char('.'), 0, 0);
            if (token.size() == 8)
                tokens.insert(token);
        }
    }
    for (const QString &token : std::as_const(tokens)) {
        // The files are put in place in order: those whose new bytes are gone
        // from their temporary name came first.
        qsizetype placed = 0;
        while (placed < targets.size() && !exists(tempName(targets.at(placed), token)))
            ++placed;
        const bool forward = placed > 0 && placed < targets.size();
        for (qsizetype i = 0; i < targets.size(); ++i) {
            const QByteArray path = QFile::encodeName(targets.at(i));
            const QString temp = tempName(targets.at(i), token);
            const QString backupPath = backupName(temp);
            const QByteArray backup = QFile::encodeName(backupPath);
            if (i >= placed && exists(temp)) {
                // Staging ends before the first rename: once one file is in
                // place, every other new file is complete.
                if (forward)
                    ::rename(QFile::encodeName(temp).constData(), path.constData());
                else
                    ::unlink(QFile::encodeName(temp).constData());
            }
            if (exists(backupPath)) {
                // An old file that had stepped aside comes back when the save
                // is undone; otherwise its second name goes.
                if (!forward && placed == 0 && !exists(targets.at(i)))
                    ::rename(backup.constData(), path.constData());
                else
                    ::unlink(backup.constData());
            }
            syncFolder(QFileInfo(targets.at(i)).absolutePath(), nullptr);
        }
        result = std::max(result, forward ? Finished::Completed : Finished::Cleaned);
    }
    return result;
}

namespace {
// Bytes are handed to the system in blocks of this size.
constexpr qsizetype streamBlock = 256 * 1024;

// The temporary files being written, by their encoded names. Whoever makes,
// renames or removes one holds the lock, so that removeAllAndExit() sees
// every file either still there under its temporary name or gone.
struct Leftovers
{
    std::mutex lock;
    std::vector<QByteArray> names;

    static Leftovers &all()
    {
        static auto *leftovers = new Leftovers;   // never destroyed: asked for up to the exit
        return *leftovers;
    }
    void drop(const QByteArray &name)
    {
        const auto found = std::find(names.begin(), names.end(), name);
        if (found != names.end())
            names.erase(found);
    }
};
} // namespace

namespace TemporaryFiles {

Registration::Registration(const QString &path)
    : name(QFile::encodeName(path))
{
    Leftovers &leftovers = Leftovers::all();
    const std::lock_guard guard(leftovers.lock);
    leftovers.names.push_back(name);
}

Registration::~Registration()
{
    Leftovers &leftovers = Leftovers::all();
    const std::lock_guard guard(leftovers.lock);
    leftovers.drop(name);
}

void removeAllAndExit(int status)
{
    Leftovers &leftovers = Leftovers::all();
    leftovers.lock.lock();   // held to the end: nothing is made or renamed any more
    for (const QByteArray &name : leftovers.names)
        ::unlink(name.constData());
    ::_exit(status);
}

} // namespace TemporaryFiles

AtomicStream::AtomicStream(const QString &path)
    : target(path)
{
}

AtomicStream::AtomicStream(int descriptor)
    : fd(descriptor)
{
}

AtomicStream::~AtomicStream()
{
    discard();
}

bool AtomicStream::fail(int error)
{
    if (code == 0) {
        code = error;
        setErrorString(systemError(error));
    }
    return false;
}

bool AtomicStream::open(OpenMode mode)
{
    if (isOpen() || !(mode & WriteOnly) || (mode & ReadOnly))
        return false;
    // A file-size limit must make the write fail, not end the process.
    ignoreFileSizeSignal();
    if (!target.isEmpty()) {
        QString reason;
        const QString path = target;
        target = AtomicFile::linkTarget(path, &reason);
        if (target.isEmpty() || !AtomicFile::replaceable(target, &reason)) {
            setErrorString(reason);
            return false;
        }
        // Private to its owner until it is complete; never over anything there.
        Leftovers &leftovers = Leftovers::all();
        const std::lock_guard guard(leftovers.lock);
        for (int attempt = 0; fd < 0 && attempt < 16; ++attempt) {
            tempPath = tempName(target, newToken());
            fd = ::open(QFile::encodeName(tempPath).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
            if (fd < 0 && errno != EEXIST)
                break;
        }
        if (fd >= 0)
            leftovers.names.push_back(QFile::encodeName(tempPath));
        if (fd < 0) {
            setErrorString(systemError(errno));
            tempPath.clear();
            return false;
        }
        ownsDescriptor = true;
    }
    held.reserve(streamBlock);
    return QIODevice::open(WriteOnly | Unbuffered);
}

qint64 AtomicStream::writeData(const char *data, qint64 size)
{
    if (failed())
        return -1;
    if (held.size() + size > streamBlock && !flushHeld())
        return -1;
    if (size >= streamBlock)
        return put(data, size) ? size : -1;
    held.append(data, size);
    return size;
}

bool AtomicStream::put(const char *data, qsizetype size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size_t(size));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)   // a short write without an error is a full disk or a size limit
            return fail(written < 0 ? errno : ENOSPC);
        data += written;
        size -= written;
    }
    return true;
}

bool AtomicStream::flushHeld()
{
    if (!put(held.constData(), held.size()))
        return false;
    held.resize(0);
    return true;
}

bool AtomicStream::commit()
{
    if (!isOpen() || failed() || !flushHeld() || !placeFile()) {
        discard();
        return false;
    }
    close();
    return true;
}

bool AtomicStream::placeFile()
{
    if (!ownsDescriptor)
        return true;
    // The file it becomes gets the permissions of the file it replaces, or
    // those of any new file.
    mode_t mode = 0;
    struct stat old{};
    if (::stat(QFile::encodeName(target).constData(), &old) == 0) {
        mode = old.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (::fchmod(fd, mode) != 0 || ::fsync(fd) != 0)
        return fail(errno);
    const int closed = ::close(fd);
    fd = -1;
    if (closed != 0)
        return fail(errno);
    // Only a regular file is replaced, also one that took the name meanwhile.
    QString reason;
    if (!AtomicFile::replaceable(target, &reason)) {
        fail(EEXIST);
        setErrorString(reason);
        return false;
    }
    {
        Leftovers &leftovers = Leftovers::all();
        const std::lock_guard guard(leftovers.lock);
        const QByteArray temporary = QFile::encodeName(tempPath);
        if (::rename(temporary.constData(), QFile::encodeName(target).constData()) != 0)
            return fail(errno);
        leftovers.drop(temporary);
    }
    tempPath.clear();
    if (!syncFolder(QFileInfo(target).absolutePath(), &reason)) {
        fail(EIO);
        setErrorString(reason);
        return false;
    }
    return true;
}

void AtomicStream::discard()
{
    if (ownsDescriptor && fd >= 0)
        ::close(fd);
    fd = -1;
    if (!tempPath.isEmpty()) {
        Leftovers &leftovers = Leftovers::all();
        const std::lock_guard guard(leftovers.lock);
        const QByteArray temporary = QFile::encodeName(tempPath);
        ::unlink(temporary.constData());
        leftovers.drop(temporary);
    }
    tempPath.clear();
    if (isOpen())
        close();
}
