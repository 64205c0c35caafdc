// Renders the main window with a descriptions file or a project (".lmpro")
// loaded into a PNG: the README's picture, and a quick way to look at the
// sheet without a display.
//
//   lamello_snapshot [--yes] [--times] FILE OUT.png [WIDTHxHEIGHT]
//
// A file of more than 20,000 barettes makes the window ask before reading it,
// and nobody answers a question offscreen: --yes answers "Tak" (read the whole
// file), so that the picture and the cost of a large sheet, whole process
// with /usr/bin/time, can be had; without it the question is answered "Nie".
// --times says on stderr the CPU time until the first page was shown and
// what closing the window with the sheet in it took.
//
// In the desktop's language, as the program starts: LANG=en_US.UTF-8 for English.

#include "app/mainwindow.h"
#include "sheet/preview.h"
#include "system/language.h"
#include "system/startup.h"

#include "prompts/prompts.h"

#include <QApplication>
#include <QPixmap>
#include <QTextStream>

#include <ctime>
#include <memory>

namespace {

// The platform's dialogs, but for questions, which are answered at once.
class Answering : public Prompts
{
public:
    Answering(Prompts &platform, QMessageBox::StandardButton answer)
        : platform(platform)
        , answer(answer)
    {
    }

    QString openFileName(QWidget *parent, const QString &caption, const QString &dir, const QString &filter) override
    {
        return platform.openFileName(parent, caption, dir, filter);
    }
    QString saveFileName(QWidget *parent, const QString &caption, const QString &dir, const QString &filter) override
    {
        return platform.saveFileName(parent, caption, dir, filter);
    }
    void message(QMessageBox::Icon, const QString &title, const QString &text) override
    {
        QTextStream(stderr) << title << ": " << text << '\n';
    }
    QMessageBox::StandardButton question(QMessageBox::Icon, const QString &, const QString &text,
                                         QMessageBox::StandardButtons buttons, QMessageBox::StandardButton) override
    {
        QTextStream(stderr) << text << (answer == QMessageBox::Yes ? " Tak\n" : " Nie\n");
        return buttons.testFlag(answer) ? answer : QMessageBox::Cancel;
    }

private:
    Prompts &platform;
    QMessageBox::StandardButton answer;
};

double cpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

} // namespace

int main(int argc, char **argv)
{
    prepareProcess();
    // A picture needs no display: offscreen unless a platform is named.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Language::install(Language::ofDesktop());
    QStringList args = QCoreApplication::arguments();
    const bool yes = args.removeAll(QStringLiteral("--yes")) > 0;
    const bool times = args.removeAll(QStringLiteral("--times")) > 0;
    if (args.size() < 3) {
        QTextStream(stderr) << "usage: lamello_snapshot [--yes] [--times] FILE OUT.png [WIDTHxHEIGHT]\n";
        return 2;
    }
    Answering prompts(Prompts::current(), yes ? QMessageBox::Yes : QMessageBox::No);
    Prompts::install(&prompts);
    QSize size(1400, 900);
    if (args.size() > 3) {
        const QStringList wh = args.at(3).split(QLatin1Char('x'));
        if (wh.size() == 2)
            size = QSize(wh.at(0).toInt(), wh.at(1).toInt());
    }
    auto window = std::make_unique<MainWindow>();
    window->setWindowState(Qt::WindowNoState);
    window->resize(size);
    window->show();
    if (args.at(1).endsWith(QStringLiteral(".lmpro")))
        window->openProjectFile(args.at(1));
    else
        QMetaObject::invokeMethod(window.get(), "openThisFile", Q_ARG(QString, args.at(1)));
    QCoreApplication::processEvents();
    window->sheetPreview()->zoomResize();
    QCoreApplication::processEvents();
    const double shown = cpuSeconds();
    if (!window->grab().save(args.at(2))) {
        QTextStream(stderr) << "cannot write " << args.at(2) << '\n';
        return 1;
    }
    // What closing the window with the sheet in it costs.
    const double closing = cpuSeconds();
    window.reset();
    if (times)
        QTextStream(stderr) << QStringLiteral("first page shown: %1 s CPU; window closed: %2 s CPU\n")
                                   .arg(shown, 0, 'f', 3)
                                   .arg(cpuSeconds() - closing, 0, 'f', 3);
    return 0;
}
