#include "model/startup.h"
#include "batch/batchprint.h"

#include <QApplication>
#include <QTextStream>

#include <cstdio>
#include <unistd.h>

namespace {
// Scripts read stderr: it carries the program's own lines, not the toolkit's
// notes about its environment. Only what ends the process gets through.
void quietMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "lamello-batch: %s\n", qPrintable(message));
}
} // namespace

int main(int argc, char **argv)
{
    prepareProcess();
    // Batch jobs run on servers and in scripts: no display is needed unless
    // the caller asks for a platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietMessages);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("lamello-batch"));
    QApplication::setApplicationVersion(QStringLiteral(LAMELLO_VERSION));
    QTextStream out(stdout);
    QTextStream err(stderr);
    return BatchPrint::run(QCoreApplication::arguments(), out, err, isatty(STDERR_FILENO) == 1);
}
