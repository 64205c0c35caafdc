#include "app/startup.h"
#include "app/mainwindow.h"

#include <QApplication>
#include <QStringList>

int main(int argc, char **argv)
{
    prepareProcess();
    QApplication app(argc, argv);
    int exitCode = 0;
    {
        MainWindow window;
        window.show();
        const QStringList args = QCoreApplication::arguments();
        if (args.size() > 1)
            window.openProjectFile(args.at(1));
        exitCode = app.exec();
    }
    return exitCode;
}
