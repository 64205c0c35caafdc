#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

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
    static bool writeAll(const QList<Content> &files, QString *failedPath, QString *error);

    // Whether a write may put a file at `path`: nothing is there yet, or a
    // regular file (links followed). Otherwise `reason` says what is there.
    static bool replaceable(const QString &path, QString *reason);

    // Whether `a` and `b` name one existing file, however spelt: "./x",
    // symbolic and hard links all compare by device and inode. False when
    // either does not exist.
    static bool sameFile(const QString &a, const QString &b);
};
