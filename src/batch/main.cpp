#include "batch/batchprint.h"
#include "system/allocator.h"
#include "system/language.h"
#include "system/localnames.h"
#include "system/startup.h"

#include "files/atomicfile.h"

#include <QApplication>
#include <QTextStream>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <thread>

#include <fcntl.h>
#include <unistd.h>

namespace {
// Scripts read stderr: it carries the program's own lines, not the toolkit's
// notes about its environment. Only what ends the process gets through.
void quietMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "lamello-batch: %s\n", qPrintable(message));
}

// Ctrl+C, `timeout` (SIGTERM) and a closed terminal stop the program as
// they would, with the status 128 + the signal, but leave no temporary PDF
// beside the target. The signals are blocked in every thread and taken by
// one thread of its own, so nothing runs in a signal handler: that thread
// removes the temporary files and ends the process. A signal ignored when
// the program started (`nohup`) stays ignored.
void watchStopSignals()
{
    sigset_t stops;
    sigemptyset(&stops);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction before{};
        if (::sigaction(signal, nullptr, &before) == 0 && before.sa_handler != SIG_IGN)
            sigaddset(&stops, signal);
    }
    // Before any other thread starts: they all inherit the mask.
    if (::pthread_sigmask(SIG_BLOCK, &stops, nullptr) != 0)
        return;
    std::thread([stops] {
        int signal = 0;
        while (::sigwait(&stops, &signal) != 0) {
        }
        TemporaryFiles::removeAllAndExit(128 + signal);
    }).detach();
}
} // namespace

int main(int argc, char **argv)
{
    watchStopSignals();
    prepareProcess();
    keepFreedMemory();
    // A closed standard output is said, not filled by the next file the
    // toolkit opens: /dev/null holds its place.
    const bool standardOutputClosed = ::fcntl(STDOUT_FILENO, F_GETFD) == -1 && errno == EBADF;
    if (standardOutputClosed) {
        const int null = ::open("/dev/null", O_WRONLY);
        if (null < 0 || (null != STDOUT_FILENO && ::dup2(null, STDOUT_FILENO) != STDOUT_FILENO))
            return BatchPrint::OutputFailed;
        if (null != STDOUT_FILENO)
            ::close(null);
    }
    // A name whose bytes are not UTF-8 would be read or written as another
    // name; it is said once the language is known.
    const char *undecodable = nullptr;
    for (int i = 1; i < argc && !undecodable; ++i) {
        if (!LocalNames::roundTrips(argv[i]))
            undecodable = argv[i];
    }
    // Batch jobs run on servers and in scripts: no display is needed unless
    // the caller asks for a platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietMessages);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("lamello-batch"));
    QApplication::setApplicationVersion(QStringLiteral(LAMELLO_VERSION));
    Language::install(BatchPrint::language(QCoreApplication::arguments()));
    if (undecodable) {
        std::fputs(QCoreApplication::translate("BatchPrint", "lamello-batch: %1: ta nazwa nie jest zapisana w UTF-8, "
                                                             "a takich nazw plików ani arkuszy program nie obsługuje; "
                                                             "zmień ją.\n")
                       .arg(LocalNames::escaped(undecodable))
                       .toUtf8()
                       .constData(),
                   stderr);
        return BatchPrint::Usage;
    }
    QTextStream out(stdout);
    QTextStream err(stderr);
    const BatchPrint::StandardOutput standardOutput = standardOutputClosed ? BatchPrint::StandardOutput::Closed
                                                      : isatty(STDOUT_FILENO) == 1 ? BatchPrint::StandardOutput::Terminal
                                                                                    : BatchPrint::StandardOutput::Usable;
    return BatchPrint::run(QCoreApplication::arguments(), out, err, isatty(STDERR_FILENO) == 1, standardOutput);
}
