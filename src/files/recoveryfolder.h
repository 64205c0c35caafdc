#pragma once

#include "files/recoveryfile.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <atomic>
#include <memory>
#include <utility>

// The recovery folder (files/recoveryfile.h) as a start finds it: the
// copies of windows that are gone, which app/recovery offers, what cannot
// be read, and what a window killed before its first copy left behind.
//
// Each window holds a lock beside its copy (ID.lock, a QLockFile), and with
// it the system's lock on that file (flock), which goes with its process. A
// lock is looked at before it is opened: one that is no regular file (a
// FIFO would block its open for ever, a directory is never stale) keeps its
// copy from being offered, and says why; a regular one no process holds
// belongs to no window, whatever it holds (empty, garbage, too large), and
// is taken over: held the same way while its copy is read, restored or
// removed, and removed after.
namespace RecoveryFolder {

// The lock of a copy taken over from its gone window: removed, and let go,
// when this goes.
class Claim
{
public:
    Claim() = default;
    Claim(int fd, const QString &path) : fd(fd), path(path) {}
    Claim(Claim &&other) noexcept : fd(std::exchange(other.fd, -1)), path(std::move(other.path)) {}
    Claim &operator=(Claim &&other) noexcept
    {
        std::swap(fd, other.fd);
        std::swap(path, other.path);
        return *this;
    }
    Claim(const Claim &) = delete;
    Claim &operator=(const Claim &) = delete;
    ~Claim();
    explicit operator bool() const { return fd >= 0; }

private:
    int fd = -1;
    QString path;
};

inline const QString lockSuffix = QStringLiteral(".lock");
inline const QString asideSuffix = QStringLiteral(".unreadable");
// Beside a copy a newer version of Lamello wrote, once that was said.
inline const QString newerSuffix = QStringLiteral(".newer");

// A copy left by a window that is gone.
struct Left
{
    enum class State {
        Valid,     // to be offered
        Damaged,   // no version reads it: to be set aside (asideSuffix)
        Kept,      // not to be read now (no permission, its lock odd, no memory): left, said
        Newer,     // a newer version's: left for it, said once
    };
    QString id;
    State state = State::Valid;
    QString reason;                            // why not Valid
    qint64 fileSize = 0;
    // Valid: the copy read, or null when it is to be read again when chosen
    // (the copies kept would take too much memory).
    std::shared_ptr<const RecoveryCopy> copy;
    qint64 savedAt = 0;
    // The project, descriptions file or workbook it was of; empty for
    // pasted cells and the editor's texts.
    QString sheetName;
    bool pasted = false;
    // The copy holds whole texts (not edits of a file's).
    bool whole = false;
    // What it holds: the fields written over (or, for whole texts, those
    // with a text) and the first one's text, its first line.
    qsizetype changed = 0;
    QString firstChanged;
};

// The copies in `dir` whose window is gone, but `ownId`'s, the valid ones
// newest first, then the others. Copies read are kept while their files add
// up to no more than `keepBytes`. Removes what windows gone before their
// first copy left (a kept descriptions file, a lock). Stops early once
// `cancelled` is set.
QList<Left> scan(const QString &dir, const QString &ownId, qint64 keepBytes, const std::atomic<bool> &cancelled);

// Takes over the lock of copy `id` in `dir` when its window is gone; null
// when a window holds it, or when it is odd, then with `reason` set.
Claim claim(const QString &dir, const QString &id, QString *reason);

// The bytes of the regular file at `path`, up to `limit` of them, opened so
// that nothing can block (no FIFO, no link followed). On failure `reason`
// says why and `lasting` whether that will stay so (no regular file, over
// the limit) rather than pass (no permission, an error of the disk).
bool readFile(const QString &path, qint64 limit, QByteArray *bytes, QString *reason, bool *lasting = nullptr);

// The size of the regular file at `path` (links followed); -1 when none.
qint64 fileSize(const QString &path);

// Reads and parses the copy `id` in `dir` into `left` (its state, reason,
// copy and what it holds).
void read(const QString &dir, Left &left);

} // namespace RecoveryFolder
