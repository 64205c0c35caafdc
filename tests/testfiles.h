#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QString>
#include <QTemporaryDir>

#include "files/settings.h"

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

// Points the program's settings and data folder (QStandardPaths' test mode,
// an organisation of the tests' own) away from the user's, and empties them.
inline void freshSettings()
{
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication::setOrganizationName(QStringLiteral("lamello-tests"));
    QFile::remove(Settings::filePath());
    QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).removeRecursively();
}

// `count` barettes of `labels` + 1 lines: header "H<b>", labels "L<b>.<j>".
// With `polishFirst` the first header is "Żółć ąę" (Windows-1250).
inline QByteArray barettes(int count, int labels = 8, bool polishFirst = false)
{
    QByteArray bytes;
    for (int b = 0; b < count; ++b) {
        bytes += polishFirst && b == 0 ? QByteArray("\xAF\xF3\xB3\xE6 \xB9\xEA") : "H" + QByteArray::number(b);
        bytes += '\n';
        for (int j = 1; j <= labels; ++j)
            bytes += "L" + QByteArray::number(b) + '.' + QByteArray::number(j) + '\n';
    }
    return bytes;
}

// Gives the test program settings of its own, empty at the start and far
// from the user's: test-mode paths and an organisation named after the test.
// Call before anything reads the settings.
inline void useTestSettings()
{
    QStandardPaths::setTestModeEnabled(true);
    const QString organisation = QStringLiteral("Lamello-") + QCoreApplication::applicationName();
    QCoreApplication::setOrganizationName(organisation);
    QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QLatin1Char('/') + organisation)
        .removeRecursively();
}
