#include "preview/atomicfile.h"

#include "app/startup.h"

#include <QSaveFile>

bool AtomicFile::write(const QString &path, const QByteArray &bytes, QString *error)
{
    auto fail = [error](const QString &reason) {
        if (error)
            *error = reason;
        return false;
    };
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
    return true;
}
