#include "app/printcommands.h"

#include "dialogs/calibrationdialog.h"
#include "dialogs/printpagesdialog.h"
#include "files/settings.h"
#include "printing/printsettings.h"
#include "prompts/prompts.h"
#include "sheet/preview.h"

#include <QComboBox>
#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QPrinterInfo>
#include <QSignalBlocker>
#include <QStatusBar>

#include <functional>
#include <utility>

namespace {
// The printer list, read anew each time it opens: queues come and go while
// the program runs.
class PrinterBox : public QComboBox
{
public:
    explicit PrinterBox(std::function<void()> beforePopup)
        : beforePopup(std::move(beforePopup))
    {
    }

    void showPopup() override
    {
        beforePopup();
        QComboBox::showPopup();
    }

private:
    std::function<void()> beforePopup;
};
} // namespace

QString PrintCommands::printerAt(int index) const
{
    // The built-in PDF is known by its data; a system queue by its name.
    const QVariant name = cbPrinter->itemData(index);
    return name.isValid() ? name.toString() : cbPrinter->itemText(index);
}

namespace {
// The system's queues the list offers: two case-sensitive tests, so that
// "Pdf" in a name does not hide it.
QStringList offeredPrinters()
{
    QStringList names;
    const QStringList all = QPrinterInfo::availablePrinterNames();
    for (const QString &name : all) {
        if (!name.contains(QLatin1String("pdf")) && !name.contains(QLatin1String("PDF")))
            names.append(name);
    }
    return names;
}
} // namespace

void PrintCommands::refreshPrinterList()
{
    // The system's queues as they are now, between the placeholder and the
    // built-in PDF: a queue added since the start is there, one removed goes.
    const QStringList now = offeredPrinters();
    const QString current = cbPrinter->currentText();
    const bool systemQueue = cbPrinter->currentIndex() > 0 && printerAt(cbPrinter->currentIndex()) != Preview::builtInPdfName;
    {
        const QSignalBlocker quiet(cbPrinter);
        while (cbPrinter->count() > 2)
            cbPrinter->removeItem(1);
        cbPrinter->insertItems(1, now);
        const int index = cbPrinter->findText(current, Qt::MatchExactly | Qt::MatchCaseSensitive);
        cbPrinter->setCurrentIndex(index >= 0 ? index : 0);
    }
    if (systemQueue && !now.contains(current)) {
        changePrinter(printerAt(cbPrinter->currentIndex()));
        statusBar()->showMessage(tr("Drukarki „%1” nie ma już w systemie.").arg(current));
    }
}

void PrintCommands::fillPrinterList()
{
    cbPrinter->addItem(tr("Wybierz drukarkę"));
    cbPrinter->addItems(offeredPrinters());
    // Shown in the window's language, known by its Polish name (the settings keep it).
    cbPrinter->addItem(tr("PDF WBUDOWANA"), Preview::builtInPdfName);

    connect(cbPrinter, &QComboBox::currentIndexChanged, this,
            [this](int index) { changePrinter(printerAt(index)); });

    // The system's default queue, unless the list leaves it out.
    if (const QString fallback = QPrinterInfo::defaultPrinterName(); !fallback.isEmpty()) {
        const int index = cbPrinter->findText(fallback, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (index > 0)
            cbPrinter->setCurrentIndex(index);
    }
}

bool PrintCommands::checkIsPrinterSelected()
{
    if (cbPrinter->currentIndex() != 0)
        return true;
    Prompts::current().message(QMessageBox::Warning, QString(),
                               tr("Przed rozpoczęciem pracy należy wybrać drukarkę.\n"
                                  "Następnie można zmodyfikować zawartość pól lamello i wydrukować.\n"
                                  "Szczegóły znajdziesz w \"Pomocy\" (F1)."));
    return false;
}

void PrintCommands::printOne()
{
    if (checkIsPrinterSelected())
        preview->printCurrent();
}

void PrintCommands::printAll()
{
    if (checkIsPrinterSelected())
        preview->printAll();
}

void PrintCommands::printChosenPages()
{
    if (!checkIsPrinterSelected() || preview->pageCount() == 0)
        return;
    PrintPagesDialog dialog(int(preview->pageCount()), window);
    if (Prompts::current().runDialog(dialog) != QDialog::Accepted)
        return;
    QList<int> indexes = dialog.pages();
    if (indexes.isEmpty())
        return;
    for (int &page : indexes)
        --page;
    preview->printPages(indexes, dialog.copies());
}

void PrintCommands::calibratePrinter()
{
    const QString printer = preview->printer();
    if (cbPrinter->currentIndex() == 0 || printer == Preview::builtInPdfName) {
        Prompts::current().message(QMessageBox::Information, QString(),
                                   tr("Kalibracja dotyczy drukarki systemowej.\n"
                                      "Wybierz ją najpierw na liście „Drukarka”."));
        return;
    }
    CalibrationDialog dialog(printer, PrintSettings::calibration(printer), window);
    if (Prompts::current().runDialog(dialog) == QDialog::Accepted) {
        PrintSettings::setCalibration(printer, dialog.calibration());
        statusBar()->showMessage(tr("Zapisano kalibrację drukarki %1.").arg(printer), 10000);
    }
}

void PrintCommands::changePrinter(QString name)
{
    preview->setPrinter(name);
    if (settingsRestored)
        Settings().setPrinter(cbPrinter->currentIndex() > 0 ? name : QString());
}

PrintCommands::PrintCommands(QMainWindow *window, Preview *preview, const bool &settingsRestored)
    : QObject(window)
    , window(window)
    , preview(preview)
    , settingsRestored(settingsRestored)
{
    cbPrinter = new PrinterBox([this] { refreshPrinterList(); });
    cbPrinter->setObjectName(QStringLiteral("cbPrinter"));
    // Wide enough for its entries in every language, also after a switch.
    cbPrinter->setSizeAdjustPolicy(QComboBox::AdjustToContents);
}

QStatusBar *PrintCommands::statusBar() const
{
    return window->statusBar();
}

void PrintCommands::createPrintOptions(QMenu *printMenu)
{
    printPagesAct = new QAction(tr("Drukuj &strony…"), window);
    printPagesAct->setShortcut(QKeySequence(tr("CTRL+ALT+P")));
    connect(printPagesAct, &QAction::triggered, this, &PrintCommands::printChosenPages);

    // Kept in the settings: a workshop that cuts on the fields' frames wants
    // clean sheets every time.
    printMarksAct = new QAction(tr("Drukuj &oznaczenia"), window);
    printMarksAct->setCheckable(true);
    printMarksAct->setChecked(PrintSettings::marks());
    printMarksAct->setStatusTip(tr("Drukuje zabarwienie pól, w których tekst się nie mieści, i ramkę obszaru wydruku"));
    preview->printMarks = printMarksAct->isChecked();
    connect(printMarksAct, &QAction::toggled, this, [this](bool on) {
        preview->printMarks = on;
        PrintSettings::setMarks(on);
    });

    calibrationAct = new QAction(tr("&Kalibracja drukarki…"), window);
    connect(calibrationAct, &QAction::triggered, this, &PrintCommands::calibratePrinter);

    printMenu->addAction(printPagesAct);
    printMenu->addSeparator();
    printMenu->addActions({printMarksAct, calibrationAct});
}

void PrintCommands::retranslate()
{
    printPagesAct->setText(tr("Drukuj &strony…"));
    printMarksAct->setText(tr("Drukuj &oznaczenia"));
    printMarksAct->setStatusTip(tr("Drukuje zabarwienie pól, w których tekst się nie mieści, i ramkę obszaru wydruku"));
    calibrationAct->setText(tr("&Kalibracja drukarki…"));
    cbPrinter->setItemText(0, tr("Wybierz drukarkę"));
    cbPrinter->setItemText(cbPrinter->findData(Preview::builtInPdfName), tr("PDF WBUDOWANA"));
}

void PrintCommands::restorePrinter(const QString &printer, QStringList &notes)
{
    if (printer.isEmpty())
        return;
    const int named = cbPrinter->findData(printer);
    const int index = named >= 0 ? named : cbPrinter->findText(printer, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index > 0) {
        cbPrinter->setCurrentIndex(index);
        QString problem;
        PrintSettings::calibration(printer, &problem);
        if (!problem.isEmpty())
            notes.append(problem);
    } else {
        notes.append(tr("Drukarki „%1” nie ma już w systemie.").arg(printer));
    }
}
