#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

// A scratch folder for the files a test reads and writes.
class TestFiles
{
public:
    QString path(const QString &name) const { return dir.filePath(name); }

    // Writes `bytes` to `name` in the folder and returns its path.
    QString write(const QString &name, const QByteArray &bytes) const
    {
        const QString file = path(name);
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size())
            qFatal("cannot write test file %s", qPrintable(file));
        return file;
    }

private:
    QTemporaryDir dir;
};
