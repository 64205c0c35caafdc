#include "app/workbookimport.h"

#include "dialogs/sheetimportdialog.h"
#include "files/descriptionscheck.h"
#include "files/filelook.h"
#include "files/settings.h"
#include "geometry/gbgeometry.h"
#include "layout/sheetlayout.h"
#include "prompts/backgroundread.h"
#include "prompts/prompts.h"
#include "sheet/preview.h"
#include "system/plural.h"
#include "workbooks/workbookcheck.h"
#include "workbooks/workbookfile.h"

#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMainWindow>
#include <QStatusBar>

#include <utility>

WorkbookImport::WorkbookImport(QMainWindow *window, Preview *preview, GbGeometry *geometry, QString &pathToFile,
                               bool &pastedSheet, Hooks hooks)
    : QObject(window)
    , window(window)
    , preview(preview)
    , gbGeometry(geometry)
    , pathToFile(pathToFile)
    , pastedSheet(pastedSheet)
    , hooks(std::move(hooks))
{
}

QStatusBar *WorkbookImport::statusBar() const
{
    return window->statusBar();
}

void WorkbookImport::forgetSheet()
{
    lastSheet.clear();
}

WorkbookImport::Source WorkbookImport::sheetSource() const
{
    Source source;
    if (!lastSheet.isEmpty()) {
        source.workbook = lastSheet;
        source.mapping = lastMapping.toString();
    }
    source.pasted = pastedSheet;
    return source;
}

void WorkbookImport::restoreSource(const Source &source)
{
    lastSheet.clear();
    if (const std::optional<SheetMapping> mapping = SheetMapping::fromString(source.mapping);
        mapping && !source.workbook.isEmpty()) {
        lastSheet = source.workbook;
        lastMapping = *mapping;
    }
    pastedSheet = source.pasted && pathToFile.isEmpty();
    updateWindowTitle();
}

QString WorkbookImport::labelColumnsText(qint64 count)
{
    return counted(count, tr("%1 kolumnę", "one"), tr("%1 kolumny", "few"), tr("%1 kolumn", "many"));
}

void WorkbookImport::importSheetCommand()
{
    const QString file = Prompts::current().openFileName(
        window, tr("Importuj arkusz"), Prompts::startFolder(Settings::Folder::Descriptions, pathToFile),
        tr("Arkusze (*.ods *.xlsx *.csv *.tsv *.txt);;Wszystkie pliki (*)"));
    if (file.isEmpty() || !mayReplaceSheet())
        return;
    importSheet(file, true);
}

bool WorkbookImport::importSheet(const QString &path, bool ask, const std::optional<SheetMapping> &known)
{
    FileLook look = FileLook::at(path);
    return importSheet(look, ask, known);
}

bool WorkbookImport::importSheet(FileLook &look, bool ask, const std::optional<SheetMapping> &known)
{
    statusBar()->clearMessage();
    const QString path = look.path;
    // A text file chosen here is delimited text; an old Excel file is no text.
    const std::optional<WorkbookFile::Format> named = WorkbookFile::formatOf(path);
    if ((!named || *named == WorkbookFile::Format::Delimited) && WorkbookCheck::isOldExcel(look)) {
        Prompts::current().message(QMessageBox::Warning, QString(), WorkbookCheck::oldExcelRefusal(path));
        return false;
    }
    const WorkbookFile::Format format = named.value_or(WorkbookFile::Format::Delimited);
    const std::optional<SheetMapping> stored = known ? known : SheetMapping::fromString(Settings().sheetMapping(path));
    SheetMapping mapping = stored.value_or(SheetMapping());
    Workbook book;
    QString error;
    bool read = false;
    // Off the window's thread; a cancelled read leaves the sheet as it was.
    if (!BackgroundRead::run(window, path, [&](const std::atomic<bool> &cancelled) {
            read = WorkbookFile::read(look, format, book, &error, mapping.delimiter, &cancelled);
        }))
        return false;
    if (!read) {
        Prompts::current().message(QMessageBox::Warning, QString(), error);
        return false;
    }
    if (!stored && !book.sheets.isEmpty())
        mapping = SheetImport::guessMapping(book.sheets.first());
    std::function<std::optional<Workbook>(char)> reread;
    if (format == WorkbookFile::Format::Delimited) {
        // Read again beside the window too: a large file takes as long.
        reread = [this, path](char delimiter) -> std::optional<Workbook> {
            Workbook again;
            QString why;
            bool read = false;
            if (!BackgroundRead::run(window, path, [&](const std::atomic<bool> &cancelled) {
                    read = WorkbookFile::read(path, WorkbookFile::Format::Delimited, again, &why, delimiter, &cancelled);
                })
                || !read)
                return std::nullopt;
            return again;
        };
    }
    // The dialog again when a question after it is cancelled: the mapping
    // just set is kept for another try.
    for (bool dialog = ask || !stored;;) {
        if (dialog && !chooseMapping(book, mapping, QFileInfo(path).fileName(), reread))
            return false;
        const SheetOutcome outcome = applySheet(book, mapping, path);
        if (outcome == SheetOutcome::Imported)
            break;
        if (outcome == SheetOutcome::Refused || !dialog)
            return false;
    }
    lastMapping = mapping;
    Settings settings;
    settings.setSheetMapping(path, mapping.toString());
    settings.setLastFolder(Settings::Folder::Descriptions, path);
    settings.addRecentFile(path);
    return true;
}

bool WorkbookImport::chooseMapping(Workbook &book, SheetMapping &mapping, const QString &title,
                               const std::function<std::optional<Workbook>(char)> &reread)
{
    SheetImportDialog dialog(book, title, mapping, preview->layout().labelsPerBarette, reread, window);
    if (Prompts::current().runDialog(dialog) != QDialog::Accepted)
        return false;
    mapping = dialog.mapping();
    book = dialog.workbook();
    return true;
}

WorkbookImport::SheetOutcome WorkbookImport::applySheet(const Workbook &book, const SheetMapping &mapping,
                                                const QString &source)
{
    Prompts &prompts = Prompts::current();
    const qsizetype index = mapping.sheet.isEmpty() ? 0 : book.indexOf(mapping.sheet);
    if (index < 0 || index >= book.sheets.size()) {
        prompts.message(QMessageBox::Warning, QString(),
                        tr("W pliku %1 nie ma już arkusza „%2”.\nArkusz nie został wczytany.")
                            .arg(QFileInfo(source).fileName(), mapping.sheet));
        return SheetOutcome::Refused;
    }
    const WorkbookSheet &sheet = book.sheets.at(index);

    // Nothing is imported while a cell holds what the sheet cannot print.
    qsizetype total = 0;
    const QList<SheetImport::BadCell> bad = SheetImport::unencodable(sheet, mapping, 20, &total);
    if (total > 0) {
        QStringList lines;
        for (const SheetImport::BadCell &cell : bad)
            lines.append(SheetImport::describe(sheet, cell));
        if (total > bad.size())
            lines.append(counted(total - bad.size(), tr("… i %1 inna", "one"), tr("… i %1 inne", "few"), tr("… i %1 innych", "many")));
        if (!prompts.confirm(QMessageBox::Warning, QString(),
                             tr("Te komórki zawierają znaki, których nie ma w kodowaniu Windows-1250:\n%1\n\n"
                                "Zamienić je na „?” i wczytać arkusz?")
                                 .arg(lines.join(QLatin1Char('\n'))),
                             tr("Zamień na „?”"), tr("Anuluj")))
            return SheetOutcome::Reconsider;
    }

    // A formula saved without its result would be an empty field: said,
    // and imported so only when the user says.
    qsizetype formulas = 0;
    const QList<FormulaCell> uncalculated = SheetImport::uncalculated(sheet, mapping, 20, &formulas);
    if (formulas > 0) {
        QStringList lines;
        for (const FormulaCell &cell : uncalculated)
            lines.append(SheetImport::describe(sheet, cell));
        if (formulas > uncalculated.size())
            lines.append(counted(formulas - uncalculated.size(), tr("… i %1 inna", "one"), tr("… i %1 inne", "few"),
                                 tr("… i %1 innych", "many")));
        if (!prompts.confirm(QMessageBox::Warning, QString(),
                             tr("Te komórki zawierają formuły zapisane bez wyników (Lamello nie oblicza formuł):\n%1\n\n"
                                "Otwórz skoroszyt w programie arkuszowym i zapisz go, a wyniki zostaną zapisane w "
                                "pliku. Wczytać arkusz z tymi komórkami pustymi?")
                                 .arg(lines.join(QLatin1Char('\n'))),
                             tr("Wczytaj puste"), tr("Anuluj")))
            return SheetOutcome::Reconsider;
    }

    int labels = preview->layout().labelsPerBarette;
    if (mapping.layout == SheetMapping::Layout::Rows) {
        const std::optional<int> chosen = labelsForColumns(mapping.labelColumns());
        if (!chosen)
            return SheetOutcome::Reconsider;
        labels = *chosen;
    }

    QStringList texts = SheetImport::texts(sheet, mapping, labels);
    if (total > 0) {
        for (QString &text : texts)
            text = SheetImport::replaceUnencodable(text);
    }

    // The same limits as a descriptions file.
    const DescriptionsCheck::Result check =
        DescriptionsCheck::forLines(texts.size(), labels, preview->layout().barettesPerPage, 0, preview->memoryLimit);
    if (check.verdict == DescriptionsCheck::Verdict::TooLarge) {
        prompts.message(QMessageBox::Warning, QString(), DescriptionsCheck::refusal(check, source));
        return SheetOutcome::Refused;
    }
    if (check.verdict == DescriptionsCheck::Verdict::Large && !Preview::mayBuildLarge(check, source.isEmpty()))
        return SheetOutcome::Refused;

    // What F5 reads again, before the sheet is replaced: the recovery copy
    // written then names it.
    lastSheet = source;
    lastMapping = mapping;
    if (rereadingProject) {
        // Into the project's sheet: its fonts stay by position.
        preview->rereadSheet(std::move(texts));
    } else {
        preview->loadSheet(std::move(texts), source);
        pathToFile = source;
        pastedSheet = source.isEmpty();
        // Pasted cells are in no file: the sheet is unsaved from the start.
        if (pastedSheet)
            preview->document()->markUnsaved();
    }
    preview->generatePages();
    updateWindowTitle();
    if (total > 0)
        statusBar()->showMessage(tr("Zamieniono na „?” znaki w %1.")
                                     .arg(counted(total, tr("%1 komórce", "one"), tr("%1 komórkach", "few"), tr("%1 komórkach", "many"))));
    return SheetOutcome::Imported;
}

std::optional<int> WorkbookImport::labelsForColumns(int columns)
{
    // A row a barette: the label columns set the labels per barette.
    Prompts &prompts = Prompts::current();
    int labels = preview->layout().labelsPerBarette;
    if (columns == labels)
        return labels;
    if (columns >= 5 && columns <= 15) {
        const QMessageBox::StandardButton answer = prompts.question(
            QMessageBox::Question, QString(),
            tr("Arkusz ma %1 etykiet, a baretka %2 etykiet. Zmienić liczbę etykiet na baretce na %3?")
                .arg(labelColumnsText(columns))
                .arg(labels)
                .arg(columns),
            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
        if (answer == QMessageBox::Cancel)
            return std::nullopt;
        if (answer == QMessageBox::Yes) {
            GeometryPreset geometry;
            const SheetLayout &now = preview->layout();
            geometry.presetName = GbGeometry::freeEntry;
            geometry.labelsPerBarette = columns;
            geometry.labelRect = QRectF(0, 0, now.labelWidth, now.labelHeight);
            geometry.headerRect = QRectF(0, 0, now.headerWidth, now.headerHeight);
            if (!gbGeometry->apply(geometry))
                return std::nullopt;
            return columns;
        }
    }
    if (columns > labels) {
        prompts.message(QMessageBox::Warning, QString(),
                        tr("Arkusz ma %1 etykiet, a baretka tylko %2 etykiet: część tekstów nie "
                           "zmieściłaby się.\nArkusz nie został wczytany.")
                            .arg(labelColumnsText(columns))
                            .arg(labels));
        return std::nullopt;
    }
    // Fewer columns than labels: the rest of every barette stays empty, when the user says so.
    if (!prompts.confirm(QMessageBox::Question, QString(),
                         tr("Arkusz ma %1 etykiet, a baretka %2 etykiet: w każdej baretce %3 pozostanie "
                            "pustych. Wczytać arkusz?")
                             .arg(labelColumnsText(columns))
                             .arg(labels)
                             .arg(labels - columns),
                         tr("Wczytaj"), tr("Anuluj")))
        return std::nullopt;
    return labels;
}

void WorkbookImport::pasteSheet()
{
    const QString text = QGuiApplication::clipboard()->text();
    if (text.isEmpty()) {
        statusBar()->showMessage(tr("Schowek nie zawiera komórek arkusza."), 5000);
        return;
    }
    Workbook book;
    QString error;
    bool read = false;
    // Off the window's thread, as a file: a large block takes as long.
    if (!BackgroundRead::run(window, QString(), [&](const std::atomic<bool> &cancelled) {
            read = WorkbookFile::readPasted(text, book, &error, &cancelled);
        }))
        return;
    if (!read) {
        Prompts::current().message(QMessageBox::Warning, QString(), error);
        return;
    }
    if (!mayReplaceSheet())
        return;
    SheetMapping mapping = SheetImport::guessMapping(book.sheets.first());
    do {
        if (!chooseMapping(book, mapping, tr("schowek"), {}))
            return;
    } while (applySheet(book, mapping, QString()) == SheetOutcome::Reconsider);
}

void WorkbookImport::reloadSheet()
{
    if (!lastSheet.isEmpty() && !preview->projectPath().isEmpty()) {
        if (mayReplaceSheet())
            rereadProjectSheet();
        return;
    }
    if (!lastSheet.isEmpty() && lastSheet == pathToFile) {
        // The sheet's own mapping: also one restored from a recovery copy.
        if (mayReplaceSheet())
            importSheet(lastSheet, false, lastMapping);
        return;
    }
    if (pathToFile.isEmpty() || !preview->projectPath().isEmpty()) {
        statusBar()->showMessage(tr("Nie ma arkusza ani pliku z opisami do wczytania ponownie."), 5000);
        return;
    }
    if (mayReplaceSheet())
        importDescriptions(pathToFile);
}

// ------------------------------------------------------- a project's workbook

void WorkbookImport::rereadProjectSheet()
{
    statusBar()->clearMessage();
    const QString path = lastSheet;
    // As importSheet() reads it: a text file taken there is delimited text.
    const WorkbookFile::Format format = WorkbookFile::formatOf(path).value_or(WorkbookFile::Format::Delimited);
    Workbook book;
    QString error;
    if (!WorkbookFile::read(path, format, book, &error, lastMapping.delimiter)) {
        Prompts::current().message(QMessageBox::Warning, QString(), error);
        return;
    }
    rereadingProject = true;
    const SheetOutcome outcome = applySheet(book, lastMapping, path);
    rereadingProject = false;
    if (outcome == SheetOutcome::Imported)
        statusBar()->showMessage(tr("Teksty projektu wczytano ponownie z arkusza %1; czcionki pól pozostały.")
                                     .arg(QFileInfo(path).fileName()),
                                 10000);
}

void WorkbookImport::projectSaved(const QString &project)
{
    // The project remembers the workbook its texts came from, so that F5
    // reads it again into the project; a sheet of another kind forgets it.
    Settings settings;
    if (!lastSheet.isEmpty())
        settings.setProjectSource(project, lastSheet, lastMapping.toString());
    else
        settings.removeProjectSource(project);
}

void WorkbookImport::projectOpened(const QString &project)
{
    lastSheet.clear();
    const std::optional<Settings::ProjectSource> source = Settings().projectSource(project);
    if (!source)
        return;
    const std::optional<SheetMapping> mapping = SheetMapping::fromString(source->mapping);
    if (!mapping)
        return;
    lastSheet = source->workbook;
    lastMapping = *mapping;
}
