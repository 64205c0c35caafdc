// Renders the main window with a descriptions file or a project (".lmpro")
// loaded into a PNG: the README's picture, and a quick way to look at the
// sheet without a display.
//
//   lamello_snapshot FILE OUT.png [WIDTHxHEIGHT]
//
// In the desktop's language, as the program starts: LANG=en_US.UTF-8 for English.

#include "model/language.h"
#include "model/startup.h"
#include "app/mainwindow.h"
#include "sheet/preview.h"

#include <QApplication>
#include <QPixmap>
#include <QTextStream>

int main(int argc, char **argv)
{
    prepareProcess();
    // A picture needs no display: offscreen unless a platform is named.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Language::install(Language::ofDesktop());
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 3) {
        QTextStream(stderr) << "usage: lamello_snapshot FILE OUT.png [WIDTHxHEIGHT]\n";
        return 2;
    }
    QSize size(1400, 900);
    if (args.size() > 3) {
        const QStringList wh = args.at(3).split(QLatin1Char('x'));
        if (wh.size() == 2)
            size = QSize(wh.at(0).toInt(), wh.at(1).toInt());
    }
    MainWindow window;
    window.setWindowState(Qt::WindowNoState);
    window.resize(size);
    window.show();
    if (args.at(1).endsWith(QStringLiteral(".lmpro")))
        window.openProjectFile(args.at(1));
    else
        QMetaObject::invokeMethod(&window, "openThisFile", Q_ARG(QString, args.at(1)));
    QCoreApplication::processEvents();
    window.sheetPreview()->zoomResize();
    QCoreApplication::processEvents();
    if (!window.grab().save(args.at(2))) {
        QTextStream(stderr) << "cannot write " << args.at(2) << '\n';
        return 1;
    }
    return 0;
}
