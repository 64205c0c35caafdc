#pragma once

#include <QByteArray>
#include <QString>

// Writes whole files so that a failure never leaves a half-written file behind.
class AtomicFile
{
public:
    // Writes `bytes` to `path`: afterwards either the whole new file is there,
    // or an older file at that path is untouched. On failure `error` holds the
    // system's reason.
    static bool write(const QString &path, const QByteArray &bytes, QString *error);
};
