#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Writes whole files so that a failure never leaves a half-written file behind.
class AtomicFile
{
public:
    // Writes `bytes` to `path`: afterwards either the whole new file is there,
    // or an older file at that path is untouched. On failure `error` holds the
    // system's reason.
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
};
