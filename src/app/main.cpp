#include "model/settings.h"
#include "model/startup.h"
#include "app/mainwindow.h"

#include <QApplication>

int main(int argc, char **argv)
{
    prepareProcess();
    QApplication app(argc, argv);
    installToolkitTranslations();
    Settings::useProgramNames();
    int exitCode = 0;
    {
        MainWindow window;
        window.show();
        window.openFromCommandLine(QCoreApplication::arguments());
        exitCode = app.exec();
    }
    return exitCode;
}
