#include "preview/preview.h"

#include "app/allocator.h"
#include "app/prompts.h"
#include "items/mygraphicsitem.h"
#include "items/specialglyphfont.h"
#include "preview/atomicfile.h"
#include "preview/descriptionscheck.h"
#include "preview/descriptionsfile.h"
#include "preview/fieldcommands.h"
#include "preview/pagebuilder.h"
#include "preview/pagerenderer.h"
#include "preview/printjob.h"
#include "preview/projectfile.h"
#include "preview/sheetlog.h"
#include "preview/windows1250.h"

#include <QApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QElapsedTimer>
#include <QGraphicsScene>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressDialog>
#include <QScrollBar>
#include <QWheelEvent>

#include <cerrno>
#include <cmath>
#include <memory>

namespace {
constexpr double zoomStepFactor = 1.15;
} // namespace

Preview::Preview(QWidget *parent)
    : QGraphicsView(parent)
{
    // A font command over a large sheet keeps a few bytes per field.
    history.setUndoLimit(100);
    setAvailableArea(QRectF(0, 0, 210, 297));
    show();
}

Preview::~Preview()
{
    discardPages();
}

// ---------------------------------------------------------------- reading

bool Preview::mayRead(const QString &path)
{
    // Look before reading: a wrong file picked in the dialog must neither
    // freeze the window nor take the machine's memory, and declining
    // keeps the sheet the user has.
    sheet.computeLayout();
    const DescriptionsCheck::Result check =
        DescriptionsCheck::check(path, sheet.labelsPerBarette, sheet.barettesPerPage, memoryLimit);
    switch (check.verdict) {
    case DescriptionsCheck::Verdict::Ok:
    case DescriptionsCheck::Verdict::Missing:      // the reader says so
    case DescriptionsCheck::Verdict::Unreadable:
        return true;
    case DescriptionsCheck::Verdict::Large:
        return Prompts::current().question(QMessageBox::Question, tr("Komunikat"),
                                           DescriptionsCheck::question(check),
                                           QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
               == QMessageBox::Yes;
    case DescriptionsCheck::Verdict::NotRegular:
    case DescriptionsCheck::Verdict::NotText:
    case DescriptionsCheck::Verdict::TooLarge:
        break;
    }
    qCDebug(lcSheet) << "> Preview::readFile >> file refused !";
    Prompts::current().message(QMessageBox::Warning, QString(), DescriptionsCheck::refusal(check, path));
    return false;
}

bool Preview::readFile()
{
    if (!filePath.isEmpty() && !mayRead(filePath)) {
        filePath = readPath;
        return false;
    }

    // Give the old texts' memory back before the new ones are made.
    texts = QList<QStringList>();
    readPath = filePath;
    DescriptionsFile::Encoding encoding = DescriptionsFile::Encoding::Windows1250;
    switch (DescriptionsFile::read(filePath, sheet.labelsPerBarette, texts, &encoding)) {
    case DescriptionsFile::ReadStatus::Ok:
        if (encoding == DescriptionsFile::Encoding::Utf8)
            emit statusMessage(tr("Plik %1 odczytano jako UTF-8; zapisywany będzie w kodowaniu Windows-1250.")
                                   .arg(filePath));
        countPages();
        return true;
    case DescriptionsFile::ReadStatus::NoPath:
        qCDebug(lcSheet) << "> Preview::readFile >> file does not specified !";
        return true;
    case DescriptionsFile::ReadStatus::Missing:
        qCDebug(lcSheet) << "> Preview::readFile >> file does not exist !";
        emit statusMessage(tr("Nie ma pliku %1.").arg(filePath));
        break;
    case DescriptionsFile::ReadStatus::NotRegular:
    case DescriptionsFile::ReadStatus::OpenFailed:
        qCDebug(lcSheet) << "> Preview::readFile >> error opening file !";
        emit statusMessage(tr("Nie można odczytać pliku %1.").arg(filePath));
        break;
    }
    // The old texts are gone: count the pages again so that the sheet and its
    // page indicator do not go on claiming the previous file's pages.
    countPages();
    return true;
}

bool Preview::mayReplace(const QString &path)
{
    const QString own[] = {readPath, ownProject,
                           ownProject.isEmpty() ? QString() : ProjectFile::textsPath(ownProject)};
    for (const QString &file : own) {
        if (file.isEmpty() || !AtomicFile::sameFile(path, file))
            continue;
        Prompts::current().message(QMessageBox::Warning, QString(),
                                   tr("Tego pliku nie można zastąpić: %1\nTo plik z opisami albo projekt tego "
                                      "arkusza. Plik nie został zapisany; proszę wybrać inną nazwę.")
                                       .arg(QDir::toNativeSeparators(path)));
        return false;
    }
    return true;
}

bool Preview::checkSheetHasFields()
{
    if (texts.isEmpty() || !items.isEmpty())
        return true;
    Prompts::current().message(QMessageBox::Warning, QString(),
                               tr("Przy tej geometrii i tym obszarze wydruku żadna baretka nie mieści się "
                                  "na stronie, więc arkusz nie ma pól do zapisania.\n"
                                  "Plik nie został zapisany."));
    return false;
}

bool Preview::fieldTextsFile(QByteArray &bytes)
{
    QStringList fieldTexts;
    fieldTexts.reserve(items.size());
    for (const MyGraphicsItem *item : std::as_const(items))
        fieldTexts.append(item->currentText());

    qsizetype badField = -1;
    char32_t badChar = 0;
    if (DescriptionsFile::serialize(fieldTexts, bytes, &badField, &badChar))
        return true;
    Prompts::current().message(QMessageBox::Critical, QString(),
                               tr("Tekst pola nr %1 zawiera znak %2, którego nie można zapisać "
                                  "w kodowaniu Windows-1250.\nPlik nie został zapisany.")
                                   .arg(badField + 1)
                                   .arg(Windows1250::describe(badChar)));
    return false;
}

void Preview::exportDescriptions()
{
    // Writing no fields would replace a file with nothing.
    if (!checkSheetHasFields())
        return;
    Prompts &prompts = Prompts::current();
    const QString name = prompts.saveFileName(this, tr("Eksportuj opisy"),
                                              Prompts::startFolder(QStringLiteral("files")),
                                              QStringLiteral("*.txt;;*.dat"));
    if (name.isEmpty() || name == QLatin1String(".dat") || name == QLatin1String(".txt"))
        return;
    if (!mayReplace(name))
        return;

    QByteArray bytes;
    if (!fieldTextsFile(bytes))
        return;
    QString error;
    if (!AtomicFile::write(name, bytes, &error)) {
        prompts.message(QMessageBox::Critical, QString(),
                        tr("Błąd przy próbie utworzenia pliku.") + QLatin1Char('\n') + error);
        return;
    }
    prompts.message(QMessageBox::Information, QString(), tr("Zapisano."));
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
    const int previous = sheet.labelsPerBarette;
    sheet.labelsPerBarette = count;
    // Regrouping can make many more barettes; declined, the sheet stays as it
    // is, grouped as before.
    if (!readFile()) {
        sheet.labelsPerBarette = previous;
        countPages();
        return false;
    }
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
    lastPage = sheet.lastPageFor(texts.size());
    if (sheet.barettesPerPage == 0)
        emit statusMessage(tr("Przy tej geometrii i tym obszarze wydruku żadna baretka nie mieści się "
                              "na stronie."));
    // Never point past the last page of a smaller sheet.
    if (currentPageIndex > lastPage)
        currentPageIndex = lastPage;
    emit updatePagesCount(lastPage);
}

void Preview::discardPages()
{
    // The edits name fields that are about to go.
    history.clear();
    setScene(nullptr);
    const bool large = created.size() > 20'000;
    // Newest first: freeing in the reverse order of allocation hands the
    // memory straight back for the next build, where freeing a large sheet in
    // creation order leaves the allocator sorting fragments for a long while.
    for (auto it = created.crbegin(); it != created.crend(); ++it)
        delete *it;
    created.clear();
    for (auto it = pages.crbegin(); it != pages.crend(); ++it)
        delete *it;
    // The lists' capacity goes too, and after a large sheet the freed memory
    // goes back to the system instead of staying with the process.
    created = std::vector<QGraphicsItem *>();
    pages = QList<QGraphicsScene *>();
    items = QList<MyGraphicsItem *>();
    if (large)
        releaseFreeMemory();
}

void Preview::generatePages()
{
    if (!generationEnabled)
        return;
    discardPages();
    nextId = 0;
    selectedCount = 0;
    if (sheet.barettesPerPage > 0) {
        const qsizetype fieldCount = texts.size() * (sheet.labelsPerBarette + 1);
        items.reserve(fieldCount);
        // Every field without a remembered font gets the default one, and
        // remembers it from now on.
        if (fonts.size() < fieldCount) {
            fonts.reserve(fieldCount);
            const QFont defaultFont = SpecialGlyphFont::defaultFont();
            while (fonts.size() < fieldCount)
                fonts.append(defaultFont);
        }
    }

    // Most rebuilds are over before anyone could read a progress window; one
    // appears only when a large sheet keeps the user waiting, and its label
    // follows the pages a few times a second.
    QElapsedTimer timer;
    timer.start();
    std::unique_ptr<QProgressDialog> progress;
    qint64 shownAt = -1;
    for (int p = 0; p <= lastPage; ++p) {
        const qint64 elapsed = timer.elapsed();
        const bool open = !progress && elapsed >= progressDelayMs && p < lastPage;
        if (open) {
            progress = std::make_unique<QProgressDialog>(tr("Proszę czekać"), QString(), 0, lastPage + 1);
            progress->setCancelButton(nullptr);
            progress->setMinimumDuration(0);
        }
        if (open || (progress && elapsed - shownAt >= 100)) {
            shownAt = elapsed;
            progress->setLabelText(tr("Generowanie podglądu\nstrona: %1").arg(p + 1));
            progress->setValue(p);
            if (open)
                progress->show();
            // Paint it; the user's input waits until the sheet is ready.
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        }
        pages.append(generatePage(p));
    }
    showCurrentPage();
    emit sharedFontSize(sharedPixelSize());
}

QGraphicsScene *Preview::generatePage(int p)
{
    const PageBuilder builder(sheet, texts, fonts);
    QGraphicsScene *scene = builder.build(p, this, this, [this](QGraphicsItem *item, MyGraphicsItem *field) {
        created.push_back(item);
        // The strips' clicks would be ignored (id -1), so they are not connected.
        if (!field)
            return;
        items.append(field);
        ++nextId;
        connect(field, &MyGraphicsItem::clickedItem, this, &Preview::clickedItem);
    });
    return scene;
}

void Preview::showCurrentPage()
{
    if (pages.isEmpty())
        return;
    currentPageIndex = qBound(0, currentPageIndex, int(pages.size()) - 1);
    setScene(pages.at(currentPageIndex));
}

// -------------------------------------------------------------- selection

void Preview::clearSelection(bool report)
{
    const bool hadSelection = selectedCount > 0;
    for (MyGraphicsItem *item : std::as_const(items))
        item->setSelected(false);
    selectedCount = 0;
    if (report && hadSelection)
        emit sharedFontSize(sharedPixelSize());
}

int Preview::sharedPixelSize() const
{
    const int defaultSize = SpecialGlyphFont::defaultFont().pixelSize();
    int shared = -1;
    for (const MyGraphicsItem *item : std::as_const(items)) {
        if (selectedCount > 0 && !item->isSelected())
            continue;
        const int size = item->currentFont().pixelSize();
        if (shared < 0)
            shared = size;
        else if (size != shared)
            return defaultSize;
    }
    return shared < 0 ? defaultSize : shared;
}

void Preview::toggle(MyGraphicsItem *item)
{
    const bool select = !item->isSelected();
    item->setSelected(select);
    selectedCount += select ? 1 : -1;
}

void Preview::clickedItem(int id, QFont font, bool shift, bool ctrl)
{
    if (id < 0 || id >= items.size())
        return;
    // A Shift+click needs an anchor on this sheet: without one (the first click,
    // or an anchor beyond a rebuilt, smaller sheet) it counts as a plain click.
    const bool anchorValid = anchorId >= 0 && anchorId < items.size();
    if (shift && anchorValid) {
        if (id > anchorId) {
            for (int i = anchorId + 1; i <= id; ++i)
                toggle(items.at(i));
        } else if (id < anchorId) {
            for (int i = anchorId; i >= id; --i)
                toggle(items.at(i));
        }
        anchorId = id;
    } else {
        anchorId = id;
        MyGraphicsItem *clicked = items.at(id);
        const bool wasSelected = clicked->isSelected();
        if (!ctrl || shift)
            clearSelection(false);
        if (wasSelected) {
            if (clicked->isSelected())
                toggle(clicked);
        } else {
            toggle(clicked);
        }
    }
    emit selectedId(id, font);
    // A Ctrl+click that unselected the last selected field.
    if (selectedCount == 0)
        emit sharedFontSize(sharedPixelSize());
}

// ---------------------------------------------------------- font commands

void Preview::runFontCommand(std::unique_ptr<FontCommand> command)
{
    // Fields that are selected take the command and remember their new font;
    // with none selected every field takes it and nothing is remembered. A
    // command that would change nothing (the size field sends its value
    // twice) leaves no step to undo.
    if (command->changesAnything())
        history.push(command.release());   // runs it
}

void Preview::changeFontFamily(QString name)
{
    runFontCommand(
        std::make_unique<FontCommand>(this, FontCommand::Kind::Family, 0, name, tr("Zmiana kroju pisma")));
}

void Preview::changeFontPixelSize(int pixelSize)
{
    // While a size is typed the field passes through texts such as "" and "1";
    // sizes below the smallest the tool bar offers are not applied.
    if (pixelSize < 6)
        return;
    runFontCommand(std::make_unique<FontCommand>(this, FontCommand::Kind::PixelSize, pixelSize, QString(),
                                                 tr("Zmiana rozmiaru czcionki")));
}

void Preview::changeFontBold()
{
    runFontCommand(std::make_unique<FontCommand>(this, FontCommand::Kind::Bold, 0, QString(), tr("Pogrubienie")));
}

void Preview::changeFontItalic()
{
    runFontCommand(std::make_unique<FontCommand>(this, FontCommand::Kind::Italic, 0, QString(), tr("Pochylenie")));
}

void Preview::changeFontUnderline()
{
    runFontCommand(
        std::make_unique<FontCommand>(this, FontCommand::Kind::Underline, 0, QString(), tr("Podkreślenie")));
}

void Preview::fieldEdited(MyGraphicsItem *field, const QString &oldText, const QFont &oldFont, const QString &what)
{
    if (field->currentText() == oldText && field->currentFont() == oldFont)
        return;
    history.push(new FieldContentCommand(field, oldText, oldFont, what));
}

// ------------------------------------------------------- zoom and paging

void Preview::swichPage(int pageNr)
{
    if (pageNr < 1 || pageNr > lastPage + 1)
        return;
    clearSelection();
    currentPageIndex = pageNr - 1;
    showCurrentPage();
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
    printPages(0, int(pages.size()) - 1);
}

namespace {
// "1 strona", "2 strony", "5 stron", "22 strony".
QString pagesText(int count)
{
    const int tens = count % 100;
    const int ones = count % 10;
    if (count == 1)
        return Preview::tr("%1 strona").arg(count);
    if (ones >= 2 && ones <= 4 && (tens < 12 || tens > 14))
        return Preview::tr("%1 strony").arg(count);
    return Preview::tr("%1 stron").arg(count);
}
} // namespace

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
    clearSelection();
    if (pages.isEmpty() || first < 0 || last >= pages.size() || first > last)
        return;
    Prompts &prompts = Prompts::current();
    const bool pdf = printerName == builtInPdfName;
    QString path;
    if (pdf) {
        path = prompts.saveFileName(nullptr, QString(), QString(), QStringLiteral("*.pdf"));
        // A cancelled dialog is a cancel: nothing is written, nothing is said.
        if (path.isEmpty() || !mayReplace(path))
            return;
    }

    // Short jobs are over before a window could be read; a long one shows its
    // progress after a moment and can be cancelled. The window is modal, so
    // the sheet cannot change under the job.
    const int count = last - first + 1;
    QElapsedTimer timer;
    timer.start();
    std::unique_ptr<QProgressDialog> progress;
    const auto onProgress = [&](int done, int total) {
        if (!progress && timer.elapsed() >= progressDelayMs && done < total) {
            progress = std::make_unique<QProgressDialog>(tr("Drukowanie"), tr("Anuluj"), 0, total);
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
    const auto drawPage = [&](int index, PageRenderer &renderer) {
        return renderer.drawPage(pages.at(first + index));
    };

    QString error;
    int jobId = 0;
    const PrintJob::Outcome outcome =
        pdf ? PrintJob::writePdf(path, count, drawPage, onProgress, &error)
            : PrintJob::print(printerName, jobTitle(filePath), count, drawPage, onProgress, &error, &jobId);
    progress.reset();

    switch (outcome) {
    case PrintJob::Outcome::Done:
        if (pdf)
            prompts.message(QMessageBox::NoIcon, tr("Komunikat"), tr("Wydruk zapisano poprawnie."));
        else
            emit statusMessage(tr("Do drukarki %1 wysłano %2 (zadanie %3).").arg(printerName, pagesText(count)).arg(jobId));
        break;
    case PrintJob::Outcome::Cancelled:
        emit statusMessage(pdf ? tr("Wydruk przerwano; pliku nie zapisano.")
                               : tr("Wydruk przerwano; do drukarki nic nie wysłano."));
        break;
    case PrintJob::Outcome::Failed:
        prompts.message(QMessageBox::NoIcon, tr("Komunikat"),
                        tr("Wystąpił błąd podczas wydruku.") + QLatin1Char('\n') + error);
        break;
    }
}

// ----------------------------------------------------------------- projects

void Preview::saveProject()
{
    if (!checkSheetHasFields())
        return;
    Prompts &prompts = Prompts::current();
    const QString answer = prompts.saveFileName(this, tr("Zapisz projekt"),
                                                Prompts::startFolder(QStringLiteral("files/projects")),
                                                QStringLiteral("*.lmpro"));
    if (answer.isEmpty() || answer == ProjectFile::suffix)
        return;
    const QString projectPath = ProjectFile::withSuffix(answer);
    const QString textsPath = ProjectFile::textsPath(projectPath);

    QByteArray textBytes;
    if (!fieldTextsFile(textBytes))
        return;
    // What the fields show, whatever changed their fonts: the tool bar, the
    // field's own font dialog, a drop.
    QList<QFont> fieldFonts;
    fieldFonts.reserve(items.size());
    for (const MyGraphicsItem *item : std::as_const(items))
        fieldFonts.append(item->currentFont());

    QString failed;
    QString error;
    if (!AtomicFile::writeAll({{textsPath, textBytes}, {projectPath, ProjectFile::serializeFonts(fieldFonts)}},
                              &failed, &error)) {
        prompts.message(QMessageBox::Critical, QString(),
                        tr("Błąd przy próbie utworzenia pliku.") + QLatin1Char('\n')
                            + QDir::toNativeSeparators(failed) + QStringLiteral(": ") + error);
        return;
    }
    ownProject = projectPath;
    prompts.message(QMessageBox::Information, QString(), tr("Zapisano."));
}

void Preview::openProject()
{
    const QString path = Prompts::current().openFileName(this, tr("Otwórz projekt"),
                                                          Prompts::startFolder(QStringLiteral("files/projects")),
                                                          QStringLiteral("*.lmpro"));
    openProject(path);
}

void Preview::openProject(QString path)
{
    if (path.isEmpty() || path == ProjectFile::suffix)
        return;
    Prompts &prompts = Prompts::current();
    const QString shownPath = QDir::toNativeSeparators(path);

    // Everything is read and checked before the sheet changes: a project that
    // cannot be opened leaves the sheet as it was.
    QFile projectFile(path);
    const DescriptionsCheck::Verdict opened = DescriptionsCheck::openRegular(path, projectFile);
    if (opened != DescriptionsCheck::Verdict::Ok) {
        // The file was never opened, so the reason is the one its look left.
        const QString reason = opened == DescriptionsCheck::Verdict::NotRegular ? tr("to nie jest zwykły plik")
                                                                                : qt_error_string(errno);
        prompts.message(QMessageBox::Warning, QString(),
                        tr("Błąd odczytu pliku czcionek") + QLatin1Char('\n') + shownPath + QStringLiteral(": ")
                            + reason);
        return;
    }
    // A look at the first record tells a foreign file (a PDF renamed, a text
    // file) before anything else is read.
    if (ProjectFile::parseFonts(projectFile.peek(ProjectFile::longestRecord)).status
        == ProjectFile::Fonts::Status::NotAProject) {
        prompts.message(QMessageBox::Warning, QString(),
                        tr("Plik %1 nie jest plikiem projektu.\nProjekt nie został otwarty.").arg(shownPath));
        return;
    }

    const QString projectTexts = ProjectFile::textsPath(path);
    QFile textsFile(projectTexts);
    if (!QFileInfo::exists(projectTexts)) {
        prompts.message(QMessageBox::Warning, QString(),
                        tr("Brak pliku z opisami projektu:\n%1\nProjekt nie został otwarty.")
                            .arg(QDir::toNativeSeparators(projectTexts)));
        return;
    }
    if (!mayRead(projectTexts))
        return;
    QByteArray textBytes;
    QString textsError;
    const DescriptionsCheck::Verdict textsOpened = DescriptionsCheck::openRegular(projectTexts, textsFile);
    if (textsOpened == DescriptionsCheck::Verdict::Ok) {
        textBytes = textsFile.readAll();
        if (textsFile.error() != QFileDevice::NoError)
            textsError = textsFile.errorString();
    } else {
        textsError = textsOpened == DescriptionsCheck::Verdict::NotRegular ? tr("to nie jest zwykły plik")
                                                                           : qt_error_string(errno);
    }
    if (!textsError.isEmpty()) {
        prompts.message(QMessageBox::Warning, QString(),
                        tr("Błąd odczytu pliku z opisami projektu:\n%1: %2\nProjekt nie został otwarty.")
                            .arg(QDir::toNativeSeparators(projectTexts), textsError));
        return;
    }

    // No more than the records of every field could take: the rest of a huge
    // damaged file is never loaded.
    const qsizetype fieldCount = DescriptionsFile::lineCount(textBytes);
    const QByteArray fontBytes = projectFile.read(ProjectFile::readLimit(fieldCount));
    if (projectFile.error() != QFileDevice::NoError) {
        prompts.message(QMessageBox::Warning, QString(),
                        tr("Błąd odczytu pliku czcionek") + QLatin1Char('\n') + shownPath + QStringLiteral(": ")
                            + projectFile.errorString());
        return;
    }
    ProjectFile::Fonts stored = ProjectFile::parseFonts(fontBytes);

    filePath = projectTexts;
    readPath = projectTexts;
    ownProject = path;
    emit updatePathToFile(filePath);
    DescriptionsFile::Encoding encoding = DescriptionsFile::Encoding::Windows1250;
    texts = DescriptionsFile::parse(textBytes, sheet.labelsPerBarette, &encoding);
    if (encoding == DescriptionsFile::Encoding::Utf8)
        emit statusMessage(tr("Plik %1 odczytano jako UTF-8; zapisywany będzie w kodowaniu Windows-1250.")
                               .arg(filePath));
    countPages();
    // Field i takes the i-th font; fields past the last usable one get the default.
    const qsizetype usable = stored.fonts.size();
    fonts = std::move(stored.fonts);
    generatePages();

    // Damage past the last field's record (where the read limit may cut a
    // record in two) takes no field's font: such a project is complete.
    if (usable < fieldCount) {
        prompts.message(QMessageBox::Warning, QString(),
                        tr("Plik projektu %1 jest uszkodzony: czcionki odczytano dla %2 z %3 pól.\n"
                           "Pozostałe pola mają czcionkę domyślną.")
                            .arg(shownPath)
                            .arg(qMin(usable, fieldCount))
                            .arg(fieldCount));
    }
}
