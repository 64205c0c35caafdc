#include "sheet/preview.h"

#include "document/fieldcommands.h"
#include "files/settings.h"
#include "printing/fieldpainter.h"
#include "printing/pagepainter.h"
#include "printing/pagerenderer.h"
#include "printing/printjob.h"
#include "printing/printsettings.h"
#include "printing/sizefit.h"
#include "prompts/backgroundread.h"
#include "prompts/prompts.h"
#include "sheet/mygraphicsitem.h"
#include "sheet/pagebuilder.h"
#include "sheet/sheetaccessible.h"
#include "system/plural.h"
#include "system/sheetlog.h"

#include <QApplication>
#include <QDebug>
#include <QFileInfo>
#include <QElapsedTimer>
#include <QGraphicsScene>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressDialog>
#include <QScrollBar>
#include <QWheelEvent>

#include <cmath>
#include <memory>

namespace {
constexpr double zoomStepFactor = 1.15;
} // namespace

Preview::Preview(QWidget *parent)
    : QGraphicsView(parent)
{
    setAvailableArea(QRectF(0, 0, 210, 297));
    // The page shown follows the document: an edit, an undo, a font command.
    connect(&doc, &SheetDocument::fieldsChanged, this, &Preview::showFields);
    connect(&fitTracker, &FitTracker::countChanged, this, &Preview::overflowCountChanged);
    // Work over many fields (a replace, its undo and redo) runs beside the
    // window. Memory that runs out on the way is said, and the sheet, which
    // changes only once the work is done, stays as it was.
    doc.setRunner([this](const QString &label, const std::function<void(const std::atomic<bool> &)> &work) {
        try {
            return BackgroundRead::run(this, QString(), work, label);
        } catch (const std::bad_alloc &) {
            Prompts::current().message(QMessageBox::Warning, QStringLiteral("Lamello"),
                                       tr("Za mało pamięci na: %1\nArkusz pozostał bez zmian; zapisz pracę, "
                                          "zanim spróbujesz ponownie.")
                                           .arg(label));
            return false;
        }
    });
    SheetAccessible::attach(this);
    show();
}

Preview::~Preview()
{
    discardShownPage();
}

// ----------------------------------------------------------------- layout

bool Preview::setAvailableArea(QRectF dimensions)
{
    const QRectF area = SheetLayout::acceptedArea(dimensions);
    if (area.isEmpty()) {
        qWarning() << "Preview::setAvailableArea: refused" << dimensions;
        emit statusMessage(tr("Obszar wydruku drukarki jest nieprawidłowy; pozostaje poprzedni."));
        return false;
    }
    sheet.setAvailableArea(area);
    return true;
}

bool Preview::updateDimensions(QRectF LABEL, QRectF HEADER)
{
    const double lengths[] = {LABEL.width(), LABEL.height(), HEADER.width(), HEADER.height()};
    for (double mm : lengths) {
        if (!SheetLayout::validLength(mm)) {
            qWarning() << "Preview::updateDimensions: refused" << LABEL << HEADER;
            emit statusMessage(tr("Wymiary pól muszą być większe od 0 i nie większe niż %1 mm.")
                                   .arg(SheetLayout::maxLengthMm));
            return false;
        }
    }
    sheet.labelWidth = float(LABEL.width());
    sheet.labelHeight = float(LABEL.height());
    sheet.headerWidth = float(HEADER.width());
    sheet.headerHeight = float(HEADER.height());
    updatePreview();
    return true;
}

void Preview::setGlobalFont(QFont)
{
}

bool Preview::setLabelsPerBarette(int count)
{
    if (!SheetLayout::validLabelCount(count)) {
        qWarning() << "Preview::setLabelsPerBarette: refused" << count;
        emit statusMessage(tr("Liczba pól baretki musi wynosić od %1 do %2.")
                               .arg(SheetLayout::minLabelsPerBarette)
                               .arg(SheetLayout::maxLabelsPerBarette));
        return false;
    }
    // The same lines regrouped: field ids stay the lines, texts and fonts stay.
    sheet.labelsPerBarette = count;
    countPages();
    return true;
}

void Preview::updatePreview()
{
    countPages();
    generatePages();
}

void Preview::countPages()
{
    sheet.computeLayout();
    fitTracker.layoutChanged();
    lastPage = sheet.lastPageFor(doc.baretteCount(sheet.labelsPerBarette));
    if (sheet.barettesPerPage == 0)
        emit statusMessage(tr("Przy tej geometrii i tym obszarze wydruku żadna baretka nie mieści się "
                              "na stronie."));
    // Never point past the last page of a smaller sheet.
    if (currentPageIndex > lastPage)
        currentPageIndex = lastPage;
    emit updatePagesCount(lastPage);
}

qsizetype Preview::fieldCount() const
{
    return sheet.barettesPerPage > 0 ? doc.fieldCount(sheet.labelsPerBarette) : 0;
}

MyGraphicsItem *Preview::field(qsizetype id) const
{
    const qsizetype index = id - shownFirstId;
    return index >= 0 && index < items.size() ? items.at(index) : nullptr;
}

void Preview::discardShownPage()
{
    setScene(nullptr);
    items.clear();
    selectedCount = 0;
    delete shown;   // its items with it
    shown = nullptr;
}

void Preview::generatePages()
{
    if (!generationEnabled)
        return;
    generated = true;
    buildShownPage();
    emit sharedFontSize(sharedPixelSize());
}

void Preview::buildShownPage()
{
    discardShownPage();
    currentPageIndex = qBound(0, currentPageIndex, lastPage);
    const PageBuilder builder(sheet, doc);
    shownFirstId = qsizetype(currentPageIndex) * sheet.barettesPerPage * (sheet.labelsPerBarette + 1);
    shown = builder.build(currentPageIndex, this, [this](MyGraphicsItem *field) {
        items.append(field);
        connect(field, &MyGraphicsItem::clickedItem, this, &Preview::clickedItem);
    });
    setScene(shown);
}

void Preview::showFields(qsizetype first, qsizetype last)
{
    // Only the page on screen has items; the others are built from the
    // document when they are shown or printed.
    const qsizetype from = qMax(first, shownFirstId);
    const qsizetype to = qMin(last, shownFirstId + items.size() - 1);
    for (qsizetype id = from; id <= to; ++id)
        items.at(id - shownFirstId)->showContent(doc.text(id), doc.font(id));
}

// ---------------------------------------------------------- font commands

std::vector<qsizetype> Preview::selectedIds() const
{
    std::vector<qsizetype> chosen;
    if (selectedCount > 0) {
        for (const MyGraphicsItem *item : std::as_const(items)) {
            if (item->isSelected())
                chosen.push_back(item->fieldId());
        }
    }
    return chosen;
}

void Preview::runFontCommand(int kind, int pixelSize, const QString &family, const QString &name)
{
    // The selected fields take the command; with none selected every field
    // of the sheet takes it, on every page. A command that would change
    // nothing (the size field sends its value twice) leaves no step to undo.
    std::vector<qsizetype> chosen = selectedIds();
    const qsizetype count = fieldCount();
    if (chosen.empty() && count == 0)
        return;
    auto command = std::make_unique<FontCommand>(&doc, std::move(chosen), count, FontCommand::Kind(kind), pixelSize,
                                                 family, name);
    if (command->changesAnything())
        doc.undoStack()->push(command.release());   // runs it
}

void Preview::changeFontFamily(QString name)
{
    runFontCommand(int(FontCommand::Kind::Family), 0, name, tr("Zmiana kroju pisma"));
}

void Preview::changeFontPixelSize(int pixelSize)
{
    // While a size is typed the field passes through texts such as "" and "1";
    // sizes below the smallest the tool bar offers are not applied.
    if (pixelSize < 6)
        return;
    runFontCommand(int(FontCommand::Kind::PixelSize), pixelSize, QString(), tr("Zmiana rozmiaru czcionki"));
}

void Preview::changeFontBold()
{
    runFontCommand(int(FontCommand::Kind::Bold), 0, QString(), tr("Pogrubienie"));
}

void Preview::changeFontItalic()
{
    runFontCommand(int(FontCommand::Kind::Italic), 0, QString(), tr("Pochylenie"));
}

void Preview::changeFontUnderline()
{
    runFontCommand(int(FontCommand::Kind::Underline), 0, QString(), tr("Podkreślenie"));
}

void Preview::fitSize()
{
    // The rule of the other font commands: the selection, or every field.
    const std::vector<qsizetype> chosen = selectedIds();
    if (chosen.empty() && fieldCount() == 0)
        return;
    SizeFit::Plan plan = SizeFit::plan(doc, sheet, chosen);
    if (!plan.runs.empty())
        doc.undoStack()->push(new FontIndexCommand(&doc, std::move(plan.runs), tr("Dopasowanie rozmiaru")));
    // In the unit of the size box: a plain number.
    if (plan.stillOverflowing == 0)
        emit statusMessage(tr("Dopasowano rozmiar: zmieniono %1. Wszystkie pola mieszczą się.")
                               .arg(FitTracker::fieldsText(plan.changed)));
    else
        emit statusMessage(tr("Dopasowano rozmiar: zmieniono %1; przy rozmiarze %2 nadal nie mieści się: %3.")
                               .arg(FitTracker::fieldsText(plan.changed))
                               .arg(FieldPainter::smallestFittedSize)
                               .arg(FitTracker::fieldsText(plan.stillOverflowing)));
}

// ------------------------------------------------------- zoom and paging

void Preview::swichPage(int pageNr)
{
    if (pageNr < 1 || pageNr > lastPage + 1)
        return;
    clearSelection();
    currentPageIndex = pageNr - 1;
    if (generated)
        buildShownPage();
    emit pageShown(currentPageIndex);
}

int Preview::zoomPercent() const
{
    if (zoomLevel == 1)
        return 100;
    return int(std::pow(zoomStepFactor, zoomLevel - 1) * 100);
}

void Preview::reportZoom()
{
    const int percent = zoomPercent();
    qCDebug(lcSheet) << percent;
    emit zoomChanged(percent);
}

void Preview::zoomIn()
{
    // Bounded, like zooming out: at the last step the button and the wheel
    // only report the zoom again.
    if (zoomLevel < maxZoomLevel) {
        ++zoomLevel;
        scale(zoomStepFactor, zoomStepFactor);
    }
    reportZoom();
}

void Preview::zoomOut()
{
    if (zoomLevel > 1) {
        --zoomLevel;
        scale(1 / zoomStepFactor, 1 / zoomStepFactor);
    }
    reportZoom();
}

void Preview::zoomResize()
{
    fitInView(sheet.printableRect, Qt::KeepAspectRatio);
    zoomLevel = 1;
    reportZoom();
}

void Preview::zoomReset()
{
    zoomResize();
}

void Preview::wheelEvent(QWheelEvent *event)
{
    setTransformationAnchor(QGraphicsView::AnchorUnderMouse);
    // The view learns where the mouse is only from moves with a button held, so
    // its own anchor can lag behind: keep the point under the wheel in place here.
    const QPoint at = event->position().toPoint();
    const QPointF sceneAt = mapToScene(at);
    if (event->angleDelta().y() > 0)
        zoomIn();
    else
        zoomOut();
    const QPoint drift = mapFromScene(sceneAt) - at;
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() + drift.x());
    verticalScrollBar()->setValue(verticalScrollBar()->value() + drift.y());
    event->accept();
}

// --------------------------------------------------------------- printing

void Preview::setPrinter(QString p)
{
    printerName = p;
    if (p == builtInPdfName) {
        setAvailableArea(builtInPdfArea);
    } else {
        // The placeholder entry of the printer list, or a queue removed since
        // the list was made: there is no area to ask for, so the current one stays.
        if (const std::optional<QRectF> area = PrintJob::printableArea(p))
            setAvailableArea(*area);
    }
    updatePreview();
    // The page's rectangle follows the printer: fit it again, as a resize does.
    zoomResize();
}

void Preview::printCurrent()
{
    printPages(currentPageIndex, currentPageIndex);
}

void Preview::printAll()
{
    printPages(0, int(pageCount()) - 1);
}

QString Preview::pagesText(int count)
{
    return counted(count, tr("%1 stronę", "one"), tr("%1 strony", "few"), tr("%1 stron", "many"));
}

namespace {
// The job's name in the printer's queue: the descriptions file printed.
QString jobTitle(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    return name.isEmpty() ? QStringLiteral("Lamello") : QStringLiteral("Lamello: ") + name;
}
} // namespace

void Preview::printPages(int first, int last)
{
    QList<int> chosen;
    for (int p = first; p <= last; ++p)
        chosen.append(p);
    printPages(chosen, 1);
}

void Preview::printPages(const QList<int> &pageIndexes, int copies)
{
    clearSelection();
    if (pageIndexes.isEmpty() || copies < 1)
        return;
    for (int p : pageIndexes) {
        if (p < 0 || p >= pageCount())
            return;
    }
    Prompts &prompts = Prompts::current();
    // Texts cut on paper: each page printed counts once, whatever the copies.
    const qsizetype cut = fitTracker.countOnPages(pageIndexes);
    if (cut > 0
        && !prompts.confirm(QMessageBox::Warning, QString(),
                            FitTracker::overflowSentence(cut) + QLatin1Char(' ') + tr("Drukować mimo to?"),
                            tr("Drukuj"), tr("Anuluj")))
        return;
    const bool pdf = printerName == builtInPdfName;
    // Copies are collated: the chosen pages in order, then again.
    const int count = int(pageIndexes.size()) * copies;
    if (!pdf && count > largeJobPages
        && !prompts.confirm(QMessageBox::Question, QString(),
                            tr("Wydrukować %1 na drukarce %2?").arg(pagesText(count), printerName), tr("Drukuj"),
                            tr("Anuluj")))
        return;
    QString path;
    if (pdf) {
        const QString filter = QStringLiteral("*.pdf");
        QString start = suggestedName(Prompts::startFolder(Settings::Folder::Pdf, filePath), QStringLiteral(".pdf"));
        for (;;) {
            path = Prompts::withSuffix(prompts.saveFileName(nullptr, QString(), start, filter), filter);
            // A cancelled dialog is a cancel: nothing is written, nothing is said.
            if (path.isEmpty())
                return;
            // A name that would replace the sheet's own file is refused, and
            // the dialog asks again.
            if (mayReplace(path))
                break;
            start = QFileInfo(path).absolutePath();
        }
    }

    // Short jobs are over before a window could be read; a long one shows its
    // progress after a moment and can be cancelled. The window is modal, so
    // the sheet cannot change under the job.
    QElapsedTimer timer;
    timer.start();
    std::unique_ptr<QProgressDialog> progress;
    const auto onProgress = [&](int done, int total) {
        if (!progress && timer.elapsed() >= progressDelayMs && done < total) {
            progress = std::make_unique<QProgressDialog>(tr("Drukowanie"), tr("Anuluj"), 0, total);
            progress->setWindowTitle(Prompts::programName);
            progress->setWindowModality(Qt::ApplicationModal);
            progress->setMinimumDuration(0);
            progress->show();
        }
        if (progress) {
            progress->setLabelText(tr("Drukowanie\nstrona: %1 z %2").arg(qMin(done + 1, total)).arg(total));
            progress->setValue(done);
            QCoreApplication::processEvents();
            if (progress->wasCanceled())
                return false;
        }
        return true;
    };
    const PagePainter painter(sheet, doc);
    const auto drawPage = [&](int index, PageRenderer &renderer) {
        return renderer.drawPage([&](QPainter *p, const QRectF &paper) {
            painter.paint(p, pageIndexes.at(index % pageIndexes.size()), paper, printMarks);
        });
    };
    // The built-in PDF is true to size; a printer gets its calibration.
    RenderOptions options;
    options.marks = printMarks;
    QString calibrationProblem;
    if (!pdf)
        options.calibration = PrintSettings::calibration(printerName, &calibrationProblem);

    QString error;
    int jobId = 0;
    const PrintJob::Outcome outcome =
        pdf ? PrintJob::writePdf(path, count, drawPage, onProgress, &error, options)
            : PrintJob::print(printerName, jobTitle(filePath), count, drawPage, onProgress, &error, &jobId, options);
    progress.reset();

    switch (outcome) {
    case PrintJob::Outcome::Done:
        if (pdf) {
            Settings().setLastFolder(Settings::Folder::Pdf, path);
            prompts.message(QMessageBox::NoIcon, QString(), tr("Wydruk zapisano poprawnie."));
        } else {
            emit statusMessage(tr("Do drukarki %1 wysłano %2 (zadanie %3).").arg(printerName, pagesText(count)).arg(jobId)
                               + (calibrationProblem.isEmpty() ? QString() : QLatin1Char(' ') + calibrationProblem));
        }
        break;
    case PrintJob::Outcome::Cancelled:
        emit statusMessage(pdf ? tr("Wydruk przerwano; pliku nie zapisano.")
                               : tr("Wydruk przerwano; do drukarki nic nie wysłano."));
        break;
    case PrintJob::Outcome::Failed:
        prompts.message(QMessageBox::NoIcon, QString(),
                        tr("Wystąpił błąd podczas wydruku.") + QLatin1Char('\n') + error);
        break;
    }
}
