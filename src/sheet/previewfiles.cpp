#include "sheet/preview.h"

#include "files/atomicfile.h"
#include "files/descriptionscheck.h"
#include "files/descriptionsfile.h"
#include "files/filelook.h"
#include "files/projectfile.h"
#include "files/settings.h"
#include "files/sheettexts.h"
#include "files/windows1250.h"
#include "prompts/backgroundread.h"
#include "prompts/prompts.h"
#include "system/allocator.h"
#include "system/sheetlog.h"
#include "workbooks/workbook.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThreadPool>

#include <cerrno>

// The sheet's files: the descriptions file and imported texts read into the
// document, the exports, and the projects saved and opened.


// ---------------------------------------------------------------- reading

bool Preview::mayBuildLarge(const DescriptionsCheck::Result &check, bool pasted)
{
    return Prompts::current().question(QMessageBox::Question, QString(), DescriptionsCheck::question(check, pasted),
                                       QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
           == QMessageBox::Yes;
}

bool Preview::mayRead(FileLook &look)
{
    // Look before reading: a wrong file picked in the dialog must neither
    // freeze the window nor take the machine's memory, and declining
    // keeps the sheet the user has.
    sheet.computeLayout();
    // The look counts a large file's lines: beside the window too, and a
    // cancel there is a "No".
    DescriptionsCheck::Result check;
    const int labels = sheet.labelsPerBarette;
    const int perPage = sheet.barettesPerPage;
    if (!BackgroundRead::run(this, look.path, [&](const std::atomic<bool> &) {
            check = DescriptionsCheck::check(look, labels, perPage, memoryLimit);
        }))
        return false;
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
    Prompts::current().message(QMessageBox::Warning, QString(), DescriptionsCheck::refusal(check, look.path));
    return false;
}

bool Preview::readFile(bool keepFonts, FileLook *given)
{
    // One look at the file, which the check and the read both take.
    FileLook taken;
    if (!given)
        taken = FileLook::at(filePath);
    FileLook &look = given ? *given : taken;
    if (!filePath.isEmpty() && !mayRead(look)) {
        filePath = readPath;
        return false;
    }

    SheetTexts lines;
    DescriptionsFile::Encoding encoding = DescriptionsFile::Encoding::Windows1250;
    DescriptionsFile::ReadStatus status = DescriptionsFile::ReadStatus::NoPath;
    // Off the window's thread; a cancelled read leaves the sheet as it was.
    if (!BackgroundRead::run(this, look.path, [&](const std::atomic<bool> &cancelled) {
            status = SheetTexts::read(look, lines, &encoding, &cancelled);
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

namespace {

// A list of texts packed into a sheet's texts; a large list is freed beside
// the window, a string at a time, and the memory it held handed back (its
// strings lie under what was made after them, where the allocator would
// keep it).
SheetTexts packedFreeingBeside(QStringList list)
{
    SheetTexts packed(list);
    if (list.size() >= 100'000) {
        QThreadPool::globalInstance()->start([held = std::make_shared<QStringList>(std::move(list))]() mutable {
            held.reset();
            releaseFreeMemory();
        });
    }
    return packed;
}

} // namespace

void Preview::loadSheet(QStringList texts, const QString &source)
{
    // The workbook counts as the sheet's own file: no PDF or export may
    // take its place.
    filePath = source;
    readPath = source;
    project.clear();
    doc.reset(packedFreeingBeside(std::move(texts)));
    countPages();
}

void Preview::restoreSheet(SheetTexts texts, const QList<QFont> &fonts, const QString &source,
                           const QString &projectPath)
{
    filePath = source;
    readPath = source;
    project = projectPath;
    // The title names the sheet before it shows the unsaved mark.
    emit updatePathToFile(filePath);
    doc.reset(std::move(texts), fonts);
    doc.markUnsaved();
    if (!project.isEmpty())
        emit projectRead(project);
    countPages();
    generatePages();
}

void Preview::rereadSheet(QStringList texts)
{
    // Unsaved when any text differs from the project's (empty fields at the
    // end are no difference: a saved sheet writes its last barette whole).
    const bool changed = !doc.allTexts().sameTexts(texts);
    doc.replaceTexts(packedFreeingBeside(std::move(texts)));
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
    // The sheet's name offered, as the PDF's and the project's dialogs do;
    // not the CSV file the sheet was read from, which cannot be replaced.
    const QString folder = Prompts::startFolder(Settings::Folder::Export, filePath);
    QString start = suggestedName(folder, QStringLiteral(".csv"));
    if (!filePath.isEmpty() && QFileInfo(start) == QFileInfo(filePath))
        start = folder;
    const QString name = Prompts::withSuffix(prompts.saveFileName(this, tr("Eksportuj jako CSV"), start, filter), filter);
    if (name.isEmpty() || name == QLatin1String(".csv") || !mayReplace(name))
        return;
    writeExport(name, SheetExport::csv(fieldTexts(), sheet.labelsPerBarette));
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

bool Preview::openProject(QString path, FileLook *given)
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
    // The look the command took, unless the finished save put another file
    // in its place.
    FileLook taken;
    if (!given || finished)
        taken = FileLook::at(path);
    FileLook &look = given && !finished ? *given : taken;
    if (!look.opened()) {
        // The file was never opened, so the reason is the one its look left.
        const QString reason = look.verdict == DescriptionsCheck::Verdict::NotRegular ? tr("to nie jest zwykły plik")
                                                                                      : qt_error_string(look.error);
        prompts.message(QMessageBox::Warning, QString(),
                        tr("Błąd odczytu pliku czcionek") + QLatin1Char('\n') + shownPath + QStringLiteral(": ")
                            + reason);
        return false;
    }
    // A look at the first record tells a foreign file (a PDF renamed, a text
    // file) before anything else is read.
    QFile &projectFile = look.rewound();
    if (ProjectFile::parseFonts(projectFile.peek(ProjectFile::longestRecord)).status
        == ProjectFile::Fonts::Status::NotAProject) {
        prompts.message(QMessageBox::Warning, QString(),
                        tr("Plik %1 nie jest plikiem projektu.\nProjekt nie został otwarty.").arg(shownPath));
        return false;
    }

    const QString projectTexts = ProjectFile::textsPath(path);
    FileLook textsLook = FileLook::at(projectTexts);
    if (textsLook.error == ELOOP) {
        prompts.message(QMessageBox::Warning, QString(),
                        tr("Plik z opisami projektu:\n%1\njest pętlą dowiązań symbolicznych.\nProjekt nie został otwarty.")
                            .arg(QDir::toNativeSeparators(projectTexts)));
        return false;
    }
    if (textsLook.verdict == DescriptionsCheck::Verdict::Missing) {
        prompts.message(QMessageBox::Warning, QString(),
                        tr("Brak pliku z opisami projektu:\n%1\nProjekt nie został otwarty.")
                            .arg(QDir::toNativeSeparators(projectTexts)));
        return false;
    }
    if (!mayRead(textsLook))
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
        if (textsLook.opened()) {
            QFile &textsFile = textsLook.rewound();
            if (!DescriptionsFile::readAll(textsFile, textBytes, &cancelled)
                || textsFile.error() != QFileDevice::NoError)
                textsError = textsFile.errorString();
        } else {
            textsError = textsLook.verdict == DescriptionsCheck::Verdict::NotRegular ? tr("to nie jest zwykły plik")
                                                                                     : qt_error_string(textsLook.error);
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
