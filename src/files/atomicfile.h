#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QList>
#include <QString>
#include <QStringList>

// Writes whole files so that a failure never leaves a half-written file behind.
//
// A new file is written beside its target, synced, and renamed into place;
// then the folder is synced too, so that once a write has returned true a
// power cut can bring back neither the old file nor none at all (a folder
// that fails to sync fails the write, though the new file is then in place
// already). Only a regular file (or a name not taken yet) is ever replaced:
// a folder, FIFO, device or socket under the target's name is refused and
// left alone.
class AtomicFile
{
public:
    // The system's reason for `code` (an errno value), in the language the
    // program speaks for the reasons a user meets (no such file, no room,
    // no permission, a file size limit, ...), else in the C library's words.
    static QString systemError(int code);

    // Writes `bytes` to `path` (to the file a symbolic link there names):
    // afterwards either the whole new file is there, or an older file at that
    // path is untouched. On failure `error` holds the reason.
    static bool write(const QString &path, const QByteArray &bytes, QString *error);

    struct Content
    {
        QString path;
        QByteArray bytes;
    };

    // Writes several files that belong together: afterwards either every file
    // holds its new bytes, or every file is as it was before (an older file
    // byte for byte, a file that did not exist still absent). On failure
    // `failedPath` names the file that could not be written and `error` holds
    // the system's reason.
    //
    // Links are written through, as write() does. The new bytes are staged
    // as ".NAME.save-TOKEN" beside each file (one TOKEN for the whole
    // write), and an old file keeps the second name ".NAME.save-TOKEN.old"
    // until all are in place.
    static bool writeAll(const QList<Content> &files, QString *failedPath, QString *error);

    enum class Finished {
        Nothing,     // no write of these files was left unfinished
        Cleaned,     // what an unfinished write left beside them was removed; the files are as before it
        Completed,   // a write stopped between its renames was finished: the files hold its new bytes
    };
    // Finishes what a writeAll() of `paths` (in the same order) that was
    // stopped midway (the process killed, the machine off) left behind: when
    // some files were already in place, the others, complete since staging
    // ends before the first rename, are put in place too; otherwise the
    // staged files go. Either way the files agree with each other again, and
    // no temporary file or second name stays.
    static Finished finishInterrupted(const QStringList &paths);

    // The file `path` names once symbolic links are followed (an absolute
    // path); empty, with the reason in `error`, for a loop of links.
    static QString linkTarget(const QString &path, QString *error);
    static constexpr int maxLinkDepth = 40;

    // Whether a write may put a file at `path`: nothing is there yet, or a
    // regular file (links followed). Otherwise `reason` says what is there.
    static bool replaceable(const QString &path, QString *reason);

    // Whether `a` and `b` name one existing file, however spelt: "./x",
    // symbolic and hard links all compare by device and inode. False when
    // either does not exist.
    static bool sameFile(const QString &a, const QString &b);
};

// The temporary files a process is writing (those of AtomicStream, and any
// other registered), so that a program stopped by a signal can remove them
// before it ends (lamello-batch).
namespace TemporaryFiles {

// Keeps `path` on the list while it lives.
class Registration
{
public:
    explicit Registration(const QString &path);
    ~Registration();
    Registration(const Registration &) = delete;
    Registration &operator=(const Registration &) = delete;

private:
    QByteArray name;
};

// Removes every temporary file on the list and ends the process at once
// with `status`, waiting first for a file being made or put in place
// (a complete file renamed into place stays). From any thread, but not from
// a signal handler: it takes a lock and frees nothing.
[[noreturn]] void removeAllAndExit(int status);

} // namespace TemporaryFiles

// A file written while it is made, for output too large to be held in memory
// first (a PDF of many pages), under the rules of AtomicFile::write(): the
// bytes go to a temporary file beside the target (".NAME.save-TOKEN", a link
// written through), which takes the target's place, synced, only at commit()
// and only over a regular file or nothing. Until then, and for good when a
// write fails or the stream goes without commit(), an older file at the path
// is untouched and the temporary file is removed. The temporary file is on
// TemporaryFiles' list until it is renamed or removed.
//
// On a descriptor (standard output) the bytes go straight to it, not closed.
// Either way a failed write is kept: every later write and commit() fail, and
// errorString() gives the system's reason.
class AtomicStream : public QIODevice
{
public:
    explicit AtomicStream(const QString &path);
    explicit AtomicStream(int descriptor);
    ~AtomicStream() override;

    // Write only; false with errorString() when the file cannot be made.
    bool open(OpenMode mode) override;
    bool isSequential() const override { return true; }
    bool failed() const { return code != 0; }
    // Writes what is held, then puts the file in place; false on any failure
    // (the temporary file then goes).
    bool commit();

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override;

private:
    bool put(const char *data, qsizetype size);
    bool flushHeld();
    bool placeFile();
    bool fail(int error);
    void discard();

    QString target;      // the file replaced, links followed; empty on a descriptor
    QString tempPath;
    int fd = -1;
    bool ownsDescriptor = false;
    QByteArray held;
    int code = 0;        // errno of the first failure
};
