#pragma once

#include <QCoreApplication>
#include <QObject>
#include <QString>
#include <QStringList>

class Preview;
class QAction;
class QComboBox;
class QMainWindow;
class QMenu;
class QStatusBar;

// The window's print commands and its printer list: the current page, all
// pages, chosen pages, the printer's calibration, and the list of the
// system's queues read anew each time it opens. It speaks in the window's
// words (the translation context MainWindow).
class PrintCommands : public QObject
{
    Q_DECLARE_TR_FUNCTIONS(MainWindow)

public:
    // The choice of printer is written to the settings once `settingsRestored`.
    PrintCommands(QMainWindow *window, Preview *preview, const bool &settingsRestored);

    // The printer list; the window places it in its tool bar.
    QComboBox *printerBox() const { return cbPrinter; }
    // The printer the list's entry `index` stands for.
    QString printerAt(int index) const;
    void fillPrinterList();
    // Reads the system's queues again into the printer list, keeping the
    // choice; a chosen queue that is gone is said and unchosen.
    void refreshPrinterList();
    void changePrinter(QString name);
    bool checkIsPrinterSelected();
    void printOne();
    void printAll();
    void printChosenPages();
    void calibratePrinter();
    // The print options and the calibration, at the end of `printMenu`.
    void createPrintOptions(QMenu *printMenu);
    // Every text again, in the new language.
    void retranslate();
    // Chooses the `printer` the settings name, if the list has it; what is
    // wrong with it, or with its calibration, goes to `notes`.
    void restorePrinter(const QString &printer, QStringList &notes);

private:
    QStatusBar *statusBar() const;

    QMainWindow *window;
    Preview *preview;
    const bool &settingsRestored;
    QComboBox *cbPrinter = nullptr;
    QAction *printPagesAct = nullptr;
    QAction *printMarksAct = nullptr;
    QAction *calibrationAct = nullptr;
};
