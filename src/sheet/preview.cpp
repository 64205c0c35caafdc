#include "sheet/preview.h"

#include "document/fieldcommands.h"
#include "document/specialglyphfont.h"
#include "files/atomicfile.h"
#include "files/descriptionscheck.h"
#include "files/descriptionsfile.h"
#include "files/projectfile.h"
#include "files/settings.h"
#include "files/windows1250.h"
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
#include "system/plural.h"
#include "system/sheetlog.h"
#include "workbooks/workbook.h"

#include <QApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QElapsedTimer>
#include <QGraphicsScene>
#include <QKeyEvent>
#include <QMouseEvent>
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
    setAvailableArea(QRectF(0, 0, 210, 297));
    // The page shown follows the document: an edit, an undo, a font command.
    connect(&doc, &SheetDocument::fieldsChanged, this, &Preview::showFields);
    connect(&fitTracker, &FitTracker::countChanged, this, &Preview::overflowCountChanged);
    show();
}

Preview::~Preview()
{
    discardShownPage();
}

// ---------------------------------------------------------------- reading

bool Preview::mayBuildLarge(const DescriptionsCheck::Result &check, bool pasted)
{
    return Prompts::current().question(QMessageBox::Question, tr("Komunikat"), DescriptionsCheck::question(check, pasted),
                                       QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
           == QMessageBox::Yes;
}

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
        return mayBuildLarge(check);
    case DescriptionsCheck::Verdict::NotRegular:
    case DescriptionsCheck::Verdict::NotText:
    case DescriptionsCheck::Verdict::TooLarge:
        break;
    }
    qCDebug(lcSheet) << "> Preview::readFile >> file refused !";
    Prompts::current().message(QMessageBox::Warning, QString(), DescriptionsCheck::refusal(check, path));
    return false;
}

bool Preview::readFile(bool keepFonts)
{
    if (!filePath.isEmpty() && !mayRead(filePath)) {
        filePath = readPath;
        return false;
    }

    SheetTexts lines;
    DescriptionsFile::Encoding encoding = DescriptionsFile::Encoding::Windows1250;
    DescriptionsFile::ReadStatus status = DescriptionsFile::ReadStatus::NoPath;
    // Off the window's thread; a cancelled read leaves the sheet as it was.
    const QString path = filePath;
    if (!BackgroundRead::run(this, path, [&](const std::atomic<bool> &cancelled) {
            status = SheetTexts::read(path, lines, &encoding, &cancelled);
        })) {
        filePath = readPath;
        return false;
    }
    // An import that could not read its file keeps the sheet, and the file
    // shown stays the one the title names and the editor opens.
    const bool failed = status != DescriptionsFile::ReadStatus::Ok && status != DescriptionsFile::ReadStatus::NoPath;
    const QString attempted = filePath;
    if (failed && !keepFonts)
        filePath = readPath;
    else
        readPath = filePath;
    // Another file leaves the project; its own texts, saved in the editor,
    // are still the project's.
    if (!project.isEmpty() && !AtomicFile::sameFile(filePath, ProjectFile::textsPath(project)))
        project.clear();
    switch (status) {
    case DescriptionsFile::ReadStatus::Ok:
        if (encoding == DescriptionsFile::Encoding::Utf8)
            emit statusMessage(tr("Plik %1 odczytano jako UTF-8; zapisywany będzie w kodowaniu Windows-1250.")
                                   .arg(filePath));
        break;
    case DescriptionsFile::ReadStatus::NoPath:
        qCDebug(lcSheet) << "> Preview::readFile >> file does not specified !";
        break;
    case DescriptionsFile::ReadStatus::Missing:
        qCDebug(lcSheet) << "> Preview::readFile >> file does not exist !";
        emit statusMessage(tr("Nie ma pliku %1.").arg(attempted));
        break;
    case DescriptionsFile::ReadStatus::NotRegular:
    case DescriptionsFile::ReadStatus::OpenFailed:
        qCDebug(lcSheet) << "> Preview::readFile >> error opening file !";
        emit statusMessage(DescriptionsCheck::unreadable(attempted));
        break;
    }
    if (failed && !keepFonts)
        return false;
    // Also when the file is gone: the old texts must not go on claiming
    // the previous file's pages.
    if (keepFonts)
        doc.replaceTexts(std::move(lines));
    else
        doc.reset(std::move(lines));
    countPages();
    return true;
}

bool Preview::mayReplace(const QString &path)
{
    const QString own[] = {readPath, project,
                           project.isEmpty() ? QString() : ProjectFile::textsPath(project)};
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
    if (doc.lineCount() == 0 || sheet.barettesPerPage > 0)
        return true;
    Prompts::current().message(QMessageBox::Warning, QString(),
                               tr("Przy tej geometrii i tym obszarze wydruku żadna baretka nie mieści się "
                                  "na stronie, więc arkusz nie ma pól do zapisania.\n"
                                  "Plik nie został zapisany."));
    return false;
}

QStringList Preview::fieldTexts() const
{
    const qsizetype count = fieldCount();
    QStringList texts;
    texts.reserve(count);
    for (qsizetype id = 0; id < count; ++id)
        texts.append(doc.text(id));
    return texts;
}

void Preview::writeExport(const QString &name, const QByteArray &bytes)
{
    QString error;
    if (!AtomicFile::write(name, bytes, &error)) {
        Prompts::current().message(QMessageBox::Critical, QString(),
                                   tr("Błąd przy próbie utworzenia pliku.") + QLatin1Char('\n') + error);
        return;
    }
    Settings().setLastFolder(Settings::Folder::Export, name);
    Prompts::current().message(QMessageBox::Information, QString(), tr("Zapisano."));
}

bool Preview::fieldTextsFile(QByteArray &bytes)
{
    qsizetype badField = -1;
    char32_t badChar = 0;
    if (DescriptionsFile::serialize(fieldTexts(), bytes, &badField, &badChar))
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
    const QString filter = QStringLiteral("*.txt;;*.dat");
    const QString name = Prompts::withSuffix(
        prompts.saveFileName(this, tr("Eksportuj opisy"), Prompts::startFolder(Settings::Folder::Export, filePath),
                             filter),
        filter);
    if (name.isEmpty() || name == QLatin1String(".dat") || name == QLatin1String(".txt"))
        return;
    if (!mayReplace(name))
        return;

    QByteArray bytes;
    if (fieldTextsFile(bytes))
        writeExport(name, bytes);
}

void Preview::loadSheet(QStringList texts, const QString &source)
{
    // The workbook counts as the sheet's own file: no PDF or export may
    // take its place.
    filePath = source;
    readPath = source;
    project.clear();
    doc.reset(std::move(texts));
    countPages();
}

void Preview::rereadSheet(QStringList texts)
{
    // Unsaved when any text differs from the project's (empty fields at the
    // end are no difference: a saved sheet writes its last barette whole).
    const auto trimmed = [](QStringList list) {
        while (!list.isEmpty() && list.constLast().isEmpty())
            list.removeLast();
        return list;
    };
    const bool changed = trimmed(doc.allTexts().toList()) != trimmed(texts);
    doc.replaceTexts(std::move(texts));
    if (changed)
        doc.markUnsaved();
    countPages();
}

void Preview::exportCsv()
{
    if (!checkSheetHasFields())
        return;
    Prompts &prompts = Prompts::current();
    const QString filter = QStringLiteral("*.csv");
    const QString name = Prompts::withSuffix(
        prompts.saveFileName(this, tr("Eksportuj jako CSV"), Prompts::startFolder(Settings::Folder::Export, filePath),
                             filter),
        filter);
    if (name.isEmpty() || name == QLatin1String(".csv") || !mayReplace(name))
        return;
    writeExport(name, SheetExport::csv(fieldTexts(), sheet.labelsPerBarette));
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
    const auto take = [&shared](int size) {
        if (shared < 0)
            shared = size;
        return size == shared;
    };
    if (selectedCount > 0) {
        for (const MyGraphicsItem *item : std::as_const(items)) {
            if (item->isSelected() && !take(item->currentFont().pixelSize()))
                return defaultSize;
        }
    } else {
        // Every field of the sheet: fonts are few, so one look per font.
        const qsizetype count = fieldCount();
        quint32 last = std::numeric_limits<quint32>::max();
        for (qsizetype id = 0; id < count; ++id) {
            const quint32 index = doc.fontIndex(id);
            if (index == last)
                continue;
            last = index;
            if (!take(doc.fontAt(index).pixelSize()))
                return defaultSize;
        }
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
    MyGraphicsItem *clicked = field(id);
    if (!clicked)
        return;
    // A Shift+click needs an anchor on this page: without one (the first click,
    // or an anchor on another page or beyond a smaller sheet) it counts as a
    // plain click.
    const bool anchorValid = field(anchorId) != nullptr;
    rectangleCursor = -1;
    if (shift && anchorValid) {
        if (id > anchorId) {
            for (int i = anchorId + 1; i <= id; ++i)
                toggle(field(i));
        } else if (id < anchorId) {
            for (int i = anchorId; i >= id; --i)
                toggle(field(i));
        }
        anchorId = id;
    } else {
        anchorId = id;
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

// ------------------------------------------------------ fields that do not fit

qsizetype Preview::nextOverflowing(bool forward)
{
    const MyGraphicsItem *anchor = field(anchorId);
    qsizetype from = forward ? shownFirstId - 1 : shownFirstId + items.size();
    if (anchor && anchor->isSelected())
        from = anchorId;
    return fitTracker.next(from, forward);
}

int Preview::pageOf(qsizetype id) const
{
    const qsizetype perPage = qsizetype(sheet.barettesPerPage) * (sheet.labelsPerBarette + 1);
    return perPage > 0 ? int(id / perPage) : 0;
}

void Preview::selectField(qsizetype id)
{
    MyGraphicsItem *item = field(id);
    if (!item)
        return;
    clearSelection(false);
    toggle(item);
    anchorId = int(id);
    rectangleCursor = -1;
    ensureVisible(item);
    emit selectedId(int(id), item->currentFont());
}

bool Preview::editSelectedField()
{
    // Of several fields selected, the first is edited (the dialog holds one text).
    if (selectedCount < 1)
        return false;
    for (MyGraphicsItem *item : std::as_const(items)) {
        if (item->isSelected()) {
            item->openEditDialog();   // the double-click's dialog
            return true;
        }
    }
    return false;
}

// ------------------------------------------------------- selection keys

void Preview::keyPressEvent(QKeyEvent *event)
{
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    const bool extend = mods == Qt::ShiftModifier;
    if (items.isEmpty() || (mods != Qt::NoModifier && !extend)) {
        QGraphicsView::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Escape:
        if (!extend && selectedCount > 0) {
            clearSelection();
            return;
        }
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_F2:
        if (!extend && editSelectedField())
            return;
        break;
    case Qt::Key_Up:
        stepSelection(SheetLayout::Step::Up, extend);
        return;
    case Qt::Key_Down:
        stepSelection(SheetLayout::Step::Down, extend);
        return;
    case Qt::Key_Left:
        stepSelection(SheetLayout::Step::Left, extend);
        return;
    case Qt::Key_Right:
        stepSelection(SheetLayout::Step::Right, extend);
        return;
    case Qt::Key_Home:
    case Qt::Key_End: {
        const qsizetype to = (event->key() == Qt::Key_Home ? items.first() : items.last())->fieldId();
        if (extend)
            extendSelection(to, true);
        else
            selectField(to);
        return;
    }
    default:
        break;
    }
    QGraphicsView::keyPressEvent(event);
}

void Preview::stepSelection(SheetLayout::Step step, bool extend)
{
    // The keyboard is on the field last clicked or reached by a key, also
    // when Esc has cleared the selection; on a page it has not been on yet
    // an arrow selects the page's first field.
    if (!field(anchorId)) {
        selectField(items.first()->fieldId());
        return;
    }
    const qsizetype to = sheet.neighbour(anchorId, step, baretteCount());
    if (to < 0)
        return;
    if (extend) {
        // The selection lives on the page shown: it is not carried over.
        if (field(to))
            extendRectangle(to);
        return;
    }
    if (!field(to)) {
        swichPage(pageOf(to) + 1);
        if (!field(to))
            return;
    }
    selectField(to);
}

void Preview::extendRectangle(qsizetype id)
{
    // A new run of Shift+arrows starts where the keyboard is.
    if (rectangleCursor != anchorId || !field(rectangleAnchor))
        rectangleAnchor = anchorId;
    MyGraphicsItem *target = field(id);
    const QRectF span = field(rectangleAnchor)->frame().united(target->frame());
    clearSelection(false);
    for (MyGraphicsItem *item : std::as_const(items)) {
        if (span.contains(item->frame().center()))
            toggle(item);
    }
    anchorId = int(id);
    rectangleCursor = anchorId;
    ensureVisible(target);
    emit selectedId(int(id), target->currentFont());
}

void Preview::extendSelection(qsizetype id, bool range)
{
    MyGraphicsItem *target = field(id);
    MyGraphicsItem *from = field(anchorId);
    if (range) {
        // Every field from the keyboard's field to the page's end.
        const qsizetype first = from ? qMin<qsizetype>(anchorId, id) : id;
        const qsizetype last = from ? qMax<qsizetype>(anchorId, id) : id;
        for (qsizetype i = first; i <= last; ++i) {
            if (!field(i)->isSelected())
                toggle(field(i));
        }
    } else if (!target->isSelected()) {
        toggle(target);
    } else if (from && from != target && from->isSelected()) {
        // Back over a selected field: the field left behind goes, so that
        // Shift+Up undoes Shift+Down.
        toggle(from);
    }
    anchorId = int(id);
    ensureVisible(target);
    emit selectedId(int(id), target->currentFont());
}

void Preview::mousePressEvent(QMouseEvent *event)
{
    // Beside the fields: the empty page, a gap between barettes, a top strip,
    // the gray around the page.
    const auto *hit = dynamic_cast<const MyGraphicsItem *>(itemAt(event->position().toPoint()));
    const bool beside = (!hit || hit->fieldId() < 0) && event->button() == Qt::LeftButton
                        && !(event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier));
    if (beside)
        clearSelection();
    QGraphicsView::mousePressEvent(event);
    if (beside)
        event->accept();
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
        && !prompts.confirm(QMessageBox::Warning, tr("Drukowanie"),
                            FitTracker::overflowSentence(cut) + QLatin1Char(' ') + tr("Drukować mimo to?"),
                            tr("Drukuj"), tr("Anuluj")))
        return;
    const bool pdf = printerName == builtInPdfName;
    // Copies are collated: the chosen pages in order, then again.
    const int count = int(pageIndexes.size()) * copies;
    if (!pdf && count > largeJobPages
        && !prompts.confirm(QMessageBox::Question, tr("Drukowanie"),
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
            prompts.message(QMessageBox::NoIcon, tr("Komunikat"), tr("Wydruk zapisano poprawnie."));
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
        prompts.message(QMessageBox::NoIcon, tr("Komunikat"),
                        tr("Wystąpił błąd podczas wydruku.") + QLatin1Char('\n') + error);
        break;
    }
}

// ----------------------------------------------------------------- projects

bool Preview::saveProject()
{
    if (project.isEmpty())
        return saveProjectAs();
    return writeProject(project);
}

QString Preview::suggestedName(const QString &folder, const QString &suffix) const
{
    const QString shown = project.isEmpty() ? filePath : project;
    if (shown.isEmpty())
        return folder;
    return QDir(folder).filePath(QFileInfo(shown).completeBaseName() + suffix);
}

bool Preview::saveProjectAs()
{
    if (!checkSheetHasFields())
        return false;
    const QString answer = Prompts::current().saveFileName(
        this, tr("Zapisz projekt"),
        suggestedName(Prompts::startFolder(Settings::Folder::Projects, project.isEmpty() ? filePath : project),
                      ProjectFile::suffix),
        QStringLiteral("*.lmpro"));
    if (answer.isEmpty() || answer == ProjectFile::suffix)
        return false;
    return writeProject(ProjectFile::withSuffix(answer));
}

bool Preview::writeProject(const QString &projectPath)
{
    if (!checkSheetHasFields())
        return false;
    Prompts &prompts = Prompts::current();
    const QString textsPath = ProjectFile::textsPath(projectPath);

    QByteArray textBytes;
    if (!fieldTextsFile(textBytes))
        return false;
    const qsizetype count = fieldCount();
    QList<QFont> fieldFonts;
    fieldFonts.reserve(count);
    for (qsizetype id = 0; id < count; ++id)
        fieldFonts.append(doc.font(id));

    QString failed;
    QString error;
    const QStringList files = ProjectFile::files(projectPath);
    if (!AtomicFile::writeAll({{files.at(0), textBytes}, {files.at(1), ProjectFile::serializeFonts(fieldFonts)}},
                              &failed, &error)) {
        prompts.message(QMessageBox::Critical, QString(),
                        tr("Błąd przy próbie utworzenia pliku.") + QLatin1Char('\n')
                            + QDir::toNativeSeparators(failed) + QStringLiteral(": ") + error);
        return false;
    }
    // The sheet now comes from the project's own texts file.
    project = projectPath;
    filePath = textsPath;
    readPath = textsPath;
    doc.markSaved();
    emit updatePathToFile(filePath);
    emit projectWritten(projectPath);
    {
        Settings settings;
        settings.setLastFolder(Settings::Folder::Projects, projectPath);
        settings.addRecentFile(projectPath);
    }
    prompts.message(QMessageBox::Information, QString(), tr("Zapisano."));
    return true;
}

void Preview::openProject()
{
    const QString path = Prompts::current().openFileName(this, tr("Otwórz projekt"),
                                                          Prompts::startFolder(Settings::Folder::Projects, filePath),
                                                          QStringLiteral("*.lmpro"));
    openProject(path);
}

bool Preview::openProject(QString path)
{
    if (path.isEmpty() || path == ProjectFile::suffix)
        return false;
    Prompts &prompts = Prompts::current();
    const QString shownPath = QDir::toNativeSeparators(path);

    // A save of this project that was stopped between its files is finished
    // first, so that texts and fonts agree.
    const bool finished = AtomicFile::finishInterrupted(ProjectFile::files(path)) == AtomicFile::Finished::Completed;

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
        return false;
    }
    // A look at the first record tells a foreign file (a PDF renamed, a text
    // file) before anything else is read.
    if (ProjectFile::parseFonts(projectFile.peek(ProjectFile::longestRecord)).status
        == ProjectFile::Fonts::Status::NotAProject) {
        prompts.message(QMessageBox::Warning, QString(),
                        tr("Plik %1 nie jest plikiem projektu.\nProjekt nie został otwarty.").arg(shownPath));
        return false;
    }

    const QString projectTexts = ProjectFile::textsPath(path);
    QFile textsFile(projectTexts);
    if (DescriptionsCheck::isLinkLoop(projectTexts)) {
        prompts.message(QMessageBox::Warning, QString(),
                        tr("Plik z opisami projektu:\n%1\njest pętlą dowiązań symbolicznych.\nProjekt nie został otwarty.")
                            .arg(QDir::toNativeSeparators(projectTexts)));
        return false;
    }
    if (!QFileInfo::exists(projectTexts)) {
        prompts.message(QMessageBox::Warning, QString(),
                        tr("Brak pliku z opisami projektu:\n%1\nProjekt nie został otwarty.")
                            .arg(QDir::toNativeSeparators(projectTexts)));
        return false;
    }
    if (!mayRead(projectTexts))
        return false;
    // Both files are read off the window's thread; a cancelled read leaves
    // the sheet as it was.
    QByteArray textBytes;
    QString textsError;
    qsizetype fieldCount = 0;
    QByteArray fontBytes;
    bool fontsRead = false;
    ProjectFile::Fonts stored;
    SheetTexts texts;
    DescriptionsFile::Encoding encoding = DescriptionsFile::Encoding::Windows1250;
    const bool read = BackgroundRead::run(this, path, [&](const std::atomic<bool> &cancelled) {
        const DescriptionsCheck::Verdict textsOpened = DescriptionsCheck::openRegular(projectTexts, textsFile);
        if (textsOpened == DescriptionsCheck::Verdict::Ok) {
            if (!DescriptionsFile::readAll(textsFile, textBytes, &cancelled)
                || textsFile.error() != QFileDevice::NoError)
                textsError = textsFile.errorString();
        } else {
            textsError = textsOpened == DescriptionsCheck::Verdict::NotRegular ? tr("to nie jest zwykły plik")
                                                                               : qt_error_string(errno);
        }
        if (!textsError.isEmpty())
            return;
        // No more than the records of every field could take: the rest of a
        // huge damaged file is never loaded.
        fieldCount = DescriptionsFile::lineCount(textBytes);
        fontsRead = DescriptionsFile::readAll(projectFile, fontBytes, &cancelled, ProjectFile::readLimit(fieldCount))
                    && projectFile.error() == QFileDevice::NoError;
        if (fontsRead) {
            stored = ProjectFile::parseFonts(fontBytes);
            texts = SheetTexts::fromFile(std::move(textBytes), &encoding);
        }
    });
    if (!read)
        return false;
    if (!textsError.isEmpty()) {
        prompts.message(QMessageBox::Warning, QString(),
                        tr("Błąd odczytu pliku z opisami projektu:\n%1: %2\nProjekt nie został otwarty.")
                            .arg(QDir::toNativeSeparators(projectTexts), textsError));
        return false;
    }

    if (!fontsRead) {
        prompts.message(QMessageBox::Warning, QString(),
                        tr("Błąd odczytu pliku czcionek") + QLatin1Char('\n') + shownPath + QStringLiteral(": ")
                            + projectFile.errorString());
        return false;
    }

    filePath = projectTexts;
    readPath = projectTexts;
    project = path;
    {
        Settings settings;
        settings.setLastFolder(Settings::Folder::Projects, path);
        settings.addRecentFile(path);
    }
    // Field i takes the i-th font; fields past the last usable one get the default.
    const qsizetype usable = stored.fonts.size();
    doc.reset(std::move(texts), stored.fonts);
    emit updatePathToFile(filePath);
    emit projectRead(path);
    if (encoding == DescriptionsFile::Encoding::Utf8)
        emit statusMessage(tr("Plik %1 odczytano jako UTF-8; zapisywany będzie w kodowaniu Windows-1250.")
                               .arg(filePath));
    countPages();
    generatePages();
    if (finished)
        emit statusMessage(tr("Zapis projektu %1 został przerwany; dokończono go i otwarto zapisaną wersję.")
                               .arg(shownPath));

    // Damage past the last field's record (where the read limit may cut a
    // record in two) takes no field's font: such a project is complete.
    if (usable < fieldCount) {
        prompts.message(QMessageBox::Warning, QString(),
                        tr("Plik projektu %1 jest uszkodzony: czcionki odczytano dla %2 z %3.\n"
                           "Pozostałe pola mają czcionkę domyślną.")
                            .arg(shownPath)
                            .arg(qMin(usable, fieldCount))
                            .arg(ProjectFile::ofFields(fieldCount)));
    }
    return true;
}
