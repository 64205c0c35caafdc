#include "app/recovery.h"

#include "app/workbookimport.h"
#include "files/atomicfile.h"
#include "files/descriptionscheck.h"
#include "files/recoveryfile.h"
#include "geometry/gbgeometry.h"
#include "prompts/prompts.h"
#include "sheet/preview.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <QLockFile>
#include <QStandardPaths>
#include <QThread>
#include <QUuid>

#include <algorithm>
#include <limits>

namespace {

const QString lockSuffix = QStringLiteral(".lock");
const QString asideSuffix = QStringLiteral(".unreadable");

// The bytes of the regular file at `path`, up to RecoveryCopy::maxFileSize;
// nothing is opened that is no regular file (a FIFO would never answer).
bool readBounded(const QString &path, QByteArray *bytes)
{
    const QFileInfo info(path);
    if (info.isSymLink() || !info.isFile() || info.size() > RecoveryCopy::maxFileSize)
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    *bytes = file.read(RecoveryCopy::maxFileSize + 1);
    return bytes->size() <= RecoveryCopy::maxFileSize && file.error() == QFileDevice::NoError;
}

} // namespace

Recovery::Recovery(Preview *preview, QObject *parent)
    : QObject(parent), preview(preview),
      id(QUuid::createUuid().toString(QUuid::WithoutBraces)), dir(folder())
{
    timer.setSingleShot(true);
    timer.setInterval(settleMs);
    connect(&timer, &QTimer::timeout, this, &Recovery::writeNow);
    SheetDocument *document = preview->document();
    connect(document, &SheetDocument::fieldsChanged, this, [this](qsizetype first, qsizetype last) {
        changedFirst = qMin(changedFirst, first);
        changedLast = qMax(changedLast, last);
        timer.start();
    });
    // A new sheet (an import, a project, a restore) is written at once.
    connect(document, &SheetDocument::contentReset, this, [this] {
        runFields = -1;
        writeNow();
    });
    connect(document, &SheetDocument::modifiedChanged, this, [this, document](bool modified) {
        // Unsaved with nothing to undo: a whole sheet in no file (pasted
        // cells), written at once as a new sheet is.
        if (modified && document->undoStack()->count() == 0)
            writeNow();
        else if (modified)
            timer.start();
        else
            discard();
    });
}

void Recovery::attach(GbGeometry *geometry, WorkbookImport *workbookImport)
{
    geometryPanel = geometry;
    sheets = workbookImport;
    // A new geometry moves every field: written at once, as a new sheet is.
    connect(geometryPanel, &GbGeometry::geometryApplied, this, [this] {
        if (preview->document()->isModified())
            writeNow();
    });
}

// The copy stays: only discard() removes it.
Recovery::~Recovery()
{
    flush();
    if (sourceWriter)
        sourceWriter->wait();
}

struct Recovery::CopyWrite
{
    bool ok = false;
    QString error;
};

void Recovery::writeCopy(RecoveryCopy copy)
{
    if (copyWriter) {
        nextCopy = std::move(copy);   // an older one waiting is out of date
        return;
    }
    auto result = std::make_shared<CopyWrite>();
    copyWrite = result;
    copyWriter = QThread::create([result, path = copyPath(), copy = std::move(copy)] {
        result->ok = AtomicFile::write(path, RecoveryCopy::serialize(copy), &result->error);
    });
    copyWriter->setParent(this);
    connect(copyWriter, &QThread::finished, this, &Recovery::copyWritten);
    copyWriter->start();
}

void Recovery::copyWritten()
{
    // flush() may have seen to it already.
    if (!copyWriter || !copyWriter->isFinished())
        return;
    copyWriter->deleteLater();
    copyWriter = nullptr;
    const std::shared_ptr<CopyWrite> result = std::exchange(copyWrite, nullptr);
    if (!result->ok) {
        nextCopy.reset();
        failed(result->error);
        return;
    }
    if (nextCopy)
        writeCopy(*std::exchange(nextCopy, std::nullopt));
}

void Recovery::flush()
{
    while (copyWriter) {
        copyWriter->wait();
        copyWritten();
    }
}

void Recovery::keepSource(const QByteArray &bytes)
{
    if (sourceWriter)
        return;   // writeNow() comes again when it is done
    struct Result
    {
        QByteArray bytes;
        QByteArray hash;
        bool ok = false;
        QString error;
    };
    auto result = std::make_shared<Result>();
    result->bytes = bytes;
    const QString path = QDir(dir).absoluteFilePath(id + RecoveryCopy::sourceSuffix);
    sourceWriter = QThread::create([result, path] {
        result->hash = RecoveryCopy::hash(result->bytes);
        result->ok = AtomicFile::write(path, result->bytes, &result->error);
    });
    sourceWriter->setParent(this);
    connect(sourceWriter, &QThread::finished, this, [this, result] {
        sourceWriter->deleteLater();
        sourceWriter = nullptr;
        if (!result->ok) {
            failed(result->error);
            return;
        }
        sourceBytes = result->bytes;
        sourceHash = result->hash;
        writeNow();
    });
    sourceWriter->start();
}

QString Recovery::folder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .absoluteFilePath(QStringLiteral("recovery"));
}

QString Recovery::copyPath() const
{
    return QDir(dir).absoluteFilePath(id + RecoveryCopy::suffix);
}

void Recovery::failed(const QString &reason)
{
    // Said once: the window goes on without copies.
    unusable = true;
    timer.stop();
    emit statusMessage(tr("Nie można przechowywać kopii zapasowych niezapisanych zmian w %1: %2")
                           .arg(QDir::toNativeSeparators(dir), reason));
}

bool Recovery::prepareFolder()
{
    if (unusable)
        return false;
    if (lock)
        return true;
    // Nothing is written through a link: the folder must be our own.
    const QFileInfo info(dir);
    if (info.isSymLink()) {
        failed(tr("to dowiązanie"));
        return false;
    }
    if (info.exists() && !info.isDir()) {
        failed(tr("to nie jest folder"));
        return false;
    }
    if (!QDir().mkpath(dir)) {
        failed(tr("nie można utworzyć folderu"));
        return false;
    }
    auto own = std::make_unique<QLockFile>(QDir(dir).absoluteFilePath(id + lockSuffix));
    if (!own->tryLock(0)) {
        failed(own->error() == QLockFile::PermissionError ? AtomicFile::systemError(EACCES)
                                                           : tr("nie można założyć blokady"));
        return false;
    }
    lock = std::move(own);
    return true;
}

void Recovery::writeNow()
{
    timer.stop();
    const SheetDocument *document = preview->document();
    if (!document->isModified()) {
        discard();
        return;
    }
    if (!prepareFolder())
        return;
    const SheetTexts &texts = document->allTexts();

    // Paths as the next start, in another working folder, finds them.
    const auto absolute = [](const QString &path) { return path.isEmpty() ? path : QFileInfo(path).absoluteFilePath(); };
    RecoveryCopy copy;
    copy.savedAt = QDateTime::currentMSecsSinceEpoch();
    copy.sourcePath = absolute(preview->filePath);
    copy.projectPath = absolute(preview->projectPath());
    copy.lineCount = texts.size();
    if (geometryPanel)
        copy.geometry = geometryPanel->geometryInForce();
    if (sheets) {
        const WorkbookImport::Source from = sheets->sheetSource();
        copy.workbookPath = absolute(from.workbook);
        copy.workbookMapping = from.mapping;
        copy.pasted = from.pasted;
    }
    const QFileInfo source(copy.sourcePath);
    if (source.isFile()) {
        copy.sourceSize = source.size();
        copy.sourceTime = source.lastModified().toMSecsSinceEpoch();
    }
    copy.kind = !copy.projectPath.isEmpty() ? RecoveryCopy::Kind::Project
                : texts.isCompact()         ? RecoveryCopy::Kind::Descriptions
                : copy.sourcePath.isEmpty() ? RecoveryCopy::Kind::Texts
                                            : RecoveryCopy::Kind::Workbook;
    if (texts.isCompact()) {
        // The file's bytes are kept beside the copy once per sheet read;
        // every later copy holds only the edits.
        const QByteArray &bytes = texts.fileBytes();
        if (sourceHash.isEmpty() || sourceBytes.constData() != bytes.constData()
            || sourceBytes.size() != bytes.size()) {
            // Hashing and writing a hundred megabytes would pause the window.
            keepSource(bytes);
            return;
        }
        copy.sourceHash = sourceHash;
        const QHash<qsizetype, QString> &edits = texts.editedTexts();
        copy.edits.reserve(edits.size());
        for (auto it = edits.cbegin(); it != edits.cend(); ++it)
            copy.edits.append({it.key(), it.value()});
    } else {
        copy.texts = texts.toList();
    }

    // The fonts as runs of table indices, the table holding those used.
    updateRuns(qMax(document->lineCount(), preview->fieldCount()));
    QHash<quint32, quint32> table;
    copy.fontRuns.reserve(qsizetype(runs.size()));
    for (const auto &[index, count] : runs) {
        auto it = table.constFind(index);
        if (it == table.constEnd()) {
            it = table.insert(index, quint32(copy.fontTable.size()));
            copy.fontTable.append(document->fontAt(index));
        }
        copy.fontRuns.append({*it, count});
    }

    writeCopy(std::move(copy));
}

void Recovery::updateRuns(qsizetype fields)
{
    const SheetDocument *document = preview->document();
    const qsizetype first = qMax<qsizetype>(changedFirst, 0);
    const qsizetype last = qMin(changedLast, fields - 1);
    changedFirst = std::numeric_limits<qsizetype>::max();
    changedLast = -1;
    // Edits of texts leave the fonts as they were: the runs still hold
    // when every changed field has the font its run says.
    bool valid = runFields == fields;
    if (valid && first <= last) {
        auto run = std::upper_bound(runStarts.cbegin(), runStarts.cend(), first) - 1;
        for (qsizetype id = first; valid && id <= last; ++id) {
            while (run + 1 != runStarts.cend() && *(run + 1) <= id)
                ++run;
            valid = document->fontIndex(id) == runs[size_t(run - runStarts.cbegin())].first;
        }
    }
    if (valid)
        return;
    runs.clear();
    runStarts.clear();
    for (qsizetype id = 0; id < fields; ++id) {
        const quint32 index = document->fontIndex(id);
        if (!runs.empty() && runs.back().first == index) {
            ++runs.back().second;
            continue;
        }
        runs.push_back({index, 1});
        runStarts.push_back(id);
    }
    runFields = fields;
}

void Recovery::discard()
{
    timer.stop();
    // A copy still being written must not come back after the removal.
    nextCopy.reset();
    flush();
    if (!lock)
        return;
    const QString base = QDir(dir).absoluteFilePath(id);
    QFile::remove(base + RecoveryCopy::suffix);
    QFile::remove(base + RecoveryCopy::sourceSuffix);
    sourceBytes.clear();
    sourceHash.clear();
}

void Recovery::keepAside(const QString &copyId, const QString &reason)
{
    const QString base = QDir(dir).absoluteFilePath(copyId);
    QFile::rename(base + RecoveryCopy::suffix, base + RecoveryCopy::suffix + asideSuffix);
    if (QFileInfo::exists(base + RecoveryCopy::sourceSuffix))
        QFile::rename(base + RecoveryCopy::sourceSuffix, base + RecoveryCopy::sourceSuffix + asideSuffix);
    Prompts::current().message(QMessageBox::Warning, QString(),
                               tr("Kopii zapasowej %1 nie można odczytać: %2.\nOdłożono ją jako %3.")
                                   .arg(QDir::toNativeSeparators(base + RecoveryCopy::suffix), reason,
                                        QDir::toNativeSeparators(base + RecoveryCopy::suffix + asideSuffix)));
}

bool Recovery::mayBuild(const RecoveryCopy &copy, qsizetype lines, qint64 fileBytes)
{
    // The sheet as the copy's geometry lays it out on this printer's pages.
    SheetLayout layout = preview->layout();
    const GeometryPreset &geometry = copy.geometry;
    if (geometry.labelsPerBarette != 0 && geometry.sheetProblem().isEmpty()) {
        geometry.applyTo(layout);
    }
    layout.computeLayout();
    const DescriptionsCheck::Result check = DescriptionsCheck::forLines(
        lines, layout.labelsPerBarette, layout.barettesPerPage, fileBytes, preview->memoryLimit);
    if (check.verdict == DescriptionsCheck::Verdict::TooLarge) {
        Prompts::current().message(QMessageBox::Warning, QString(),
                                   DescriptionsCheck::refusal(check, copy.sourcePath));
        return false;
    }
    return check.verdict != DescriptionsCheck::Verdict::Large
           || Preview::mayBuildLarge(check, copy.pasted || (copy.version < 2 && copy.sourcePath.isEmpty()));
}

Recovery::Restore Recovery::restore(const QString &copyId, const QByteArray &bytes, QString *reason)
{
    RecoveryCopy::Read read = RecoveryCopy::parse(bytes);
    if (read.status != RecoveryCopy::Status::Ok) {
        *reason = RecoveryCopy::reason(read.status);
        return Restore::Unreadable;
    }
    const RecoveryCopy &copy = read.copy;
    SheetTexts texts;
    if (copy.sourceHash.isEmpty()) {
        texts = SheetTexts(copy.texts);
    } else {
        // The bytes kept beside the copy, else the source file when it still holds them.
        QByteArray source;
        const QString kept = QDir(dir).absoluteFilePath(copyId + RecoveryCopy::sourceSuffix);
        if (!(readBounded(kept, &source) && RecoveryCopy::hash(source) == copy.sourceHash)
            && !(readBounded(copy.sourcePath, &source) && RecoveryCopy::hash(source) == copy.sourceHash)) {
            *reason = tr("nie ma już tekstów, do których odnoszą się zmiany");
            return Restore::Unreadable;
        }
        texts = SheetTexts::fromFile(std::move(source));
        // Fields are written up to the empty ones of the last barette.
        const qsizetype reach = texts.size() + 16;
        for (const auto &[fieldId, text] : copy.edits) {
            if (fieldId < reach)
                texts.set(fieldId, text);
        }
        if (texts.size() != copy.lineCount) {
            *reason = RecoveryCopy::reason(RecoveryCopy::Status::Damaged);
            return Restore::Unreadable;
        }
    }
    if (!mayBuild(copy, texts.size(), texts.isCompact() ? texts.fileBytes().size() : 0))
        return Restore::Kept;
    // The geometry first, on the window's empty sheet, as if chosen in the
    // panel: one it cannot take is said and the one in force stays; one
    // this printer's page holds no barette of leaves the texts as they are.
    if (geometryPanel && copy.geometry.labelsPerBarette != 0)
        geometryPanel->apply(copy.geometry, true);
    preview->restoreSheet(std::move(texts), copy.fieldFonts(), copy.sourcePath, copy.projectPath);
    // What F5 reads again and what the title says (older copies leave what
    // the project's settings say).
    if (sheets && copy.version >= 2)
        sheets->restoreSource({copy.workbookPath, copy.workbookMapping, copy.pasted});
    // The old copy becomes this window's: there is a copy at every moment.
    if (prepareFolder()) {
        const QString from = QDir(dir).absoluteFilePath(copyId);
        const QString to = QDir(dir).absoluteFilePath(id);
        for (const QString &suffix : {RecoveryCopy::suffix, RecoveryCopy::sourceSuffix}) {
            QFile::remove(to + suffix);
            QFile::rename(from + suffix, to + suffix);
        }
        if (!copy.sourceHash.isEmpty()) {
            sourceBytes = preview->document()->allTexts().fileBytes();
            sourceHash = copy.sourceHash;
        }
    }
    return Restore::Restored;
}

bool Recovery::offerLeftCopies()
{
    const QFileInfo info(dir);
    if (info.isSymLink() || !info.isDir())
        return false;
    const QStringList names =
        QDir(dir).entryList({QLatin1Char('*') + RecoveryCopy::suffix}, QDir::Files | QDir::NoSymLinks, QDir::Time);
    for (const QString &name : names) {
        const QString copyId = name.chopped(RecoveryCopy::suffix.size());
        if (copyId == id)
            continue;
        // A window still running holds its lock; a dead one's lock is taken over.
        QLockFile owner(QDir(dir).absoluteFilePath(copyId + lockSuffix));
        owner.setStaleLockTime(0);
        if (!owner.tryLock(0))
            continue;
        const QString path = QDir(dir).absoluteFilePath(name);
        QByteArray bytes;
        if (!readBounded(path, &bytes)) {
            keepAside(copyId, AtomicFile::systemError(EIO));
            continue;
        }
        RecoveryCopy::Read read = RecoveryCopy::parse(bytes);
        if (read.status != RecoveryCopy::Status::Ok) {
            keepAside(copyId, RecoveryCopy::reason(read.status));
            continue;
        }
        const RecoveryCopy &copy = read.copy;
        QString sheet = QFileInfo(copy.projectPath.isEmpty() ? copy.sourcePath : copy.projectPath).fileName();
        if (sheet.isEmpty())
            sheet = tr("bez nazwy");
        const QString when = QLocale().toString(QDateTime::fromMSecsSinceEpoch(copy.savedAt).toLocalTime(),
                                                QLocale::ShortFormat);
        const QMessageBox::StandardButton answer = Prompts::current().ask(
            QMessageBox::Question, tr("Kopia zapasowa"),
            tr("Lamello nie zostało zamknięte poprawnie. Niezapisane zmiany arkusza %1 zachowały się w kopii "
               "zapasowej z %2.\nPrzywrócić arkusz? Historii cofania nie da się przywrócić.")
                .arg(sheet, when),
            {{QMessageBox::Yes, tr("Przywróć")}, {QMessageBox::Discard, tr("Porzuć")},
             {QMessageBox::Cancel, tr("Później")}},
            QMessageBox::Yes);
        const QString base = QDir(dir).absoluteFilePath(copyId);
        if (answer == QMessageBox::Discard) {
            QFile::remove(base + RecoveryCopy::suffix);
            QFile::remove(base + RecoveryCopy::sourceSuffix);
            continue;
        }
        if (answer != QMessageBox::Yes)
            continue;
        QString reason;
        const Restore restored = restore(copyId, bytes, &reason);
        if (restored == Restore::Unreadable)
            keepAside(copyId, reason);
        if (restored != Restore::Restored)
            continue;
        writeNow();
        return true;
    }
    return false;
}
