// The settings file as the program reads it back: any bytes under its name
// read without harm, and every value handed on is one the panels accept: a
// geometry the sheet can be laid out with, a calibration within its ranges,
// names and paths within their bounds, window bytes only when they match the
// check stored beside them.

#include "files/settings.h"
#include "printing/printsettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {
QTemporaryDir *home = nullptr;
}

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv);
    home = new QTemporaryDir;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home->path()));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = Settings::filePath();
    {
        QFile file(path);
        QDir().mkpath(QFileInfo(path).absolutePath());
        if (!file.open(QIODevice::WriteOnly))
            std::abort();
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    Settings settings;
    QString problem;
    if (const std::optional<GeometryPreset> g = settings.geometry(&problem); g && !g->sheetProblem().isEmpty())
        std::abort();
    if (settings.printer().size() > Settings::maxPrinterNameLength)
        std::abort();
    const QStringList recent = settings.recentFiles();
    if (recent.size() > Settings::maxRecentFiles)
        std::abort();
    for (const QString &file : recent) {
        if (file.isEmpty() || file.size() > Settings::maxPathLength)
            std::abort();
    }
    if (settings.lastFolder(Settings::Folder::Pdf).size() > Settings::maxPathLength)
        std::abort();
    const QByteArray geometry = settings.windowGeometry();
    const QByteArray state = settings.windowState();
    if (geometry.size() > Settings::maxWindowBytes || state.size() > Settings::maxWindowBytes)
        std::abort();
    if (!PrintSettings::calibration(QStringLiteral("Archiwum"), &problem).isValid())
        std::abort();
    // What the program writes back reads back: the window's bytes pass their check.
    settings.setWindow(QByteArray(size % 64, 'g'), QByteArray(size % 32, 's'));
    if (settings.windowGeometry().size() != qsizetype(size % 64))
        std::abort();
    return 0;
}
