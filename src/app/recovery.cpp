#include "app/recovery.h"

#include "app/workbookimport.h"
#include "files/atomicfile.h"
#include "files/descriptionscheck.h"
#include "files/recoveryfile.h"
#include "files/recoveryfolder.h"
#include "dialogs/recoverydialog.h"
#include "prompts/backgroundread.h"
#include "system/plural.h"
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
        // cells), written as soon as the command that made it has ended (a
        // restore makes its copy its own first), as a new sheet is.
        if (modified && document->undoStack()->count() == 0)
            QTimer::singleShot(0, this, [this, document] {
                if (document->isModified())
                    writeNow();
            });
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
    // The window that would show a message is being torn down by now.
    blockSignals(true);
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
    auto own = std::make_unique<QLockFile>(QDir(dir).absoluteFilePath(id + RecoveryFolder::lockSuffix));
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
        copy.sheetTexts = texts;   // made strings as the copy is written
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

Recovery::Restore Recovery::restore(const RecoveryFolder::Left &left, QString *reason)
{
    std::shared_ptr<const RecoveryCopy> copy = left.copy;
    SheetTexts texts;
    QList<QFont> fonts;
    bool complete = false;
    bool lasting = true;
    const QString base = QDir(dir).absoluteFilePath(left.id);
    // Beside the window, as a file is read: the copy when it was not kept
    // from the offer, the bytes its edits apply to.
    const bool read = BackgroundRead::run(preview, base + RecoveryCopy::suffix, [&](const std::atomic<bool> &cancelled) {
        try {
            if (!copy) {
                RecoveryFolder::Left again;
                again.id = left.id;
                RecoveryFolder::read(dir, again);
                copy = again.copy;
                if (!copy) {
                    *reason = again.reason;
                    lasting = again.state == RecoveryFolder::Left::State::Damaged;
                    return;
                }
            }
            if (copy->sourceHash.isEmpty()) {
                texts = SheetTexts(copy->texts);
            } else {
                // The bytes kept beside the copy, else the source file when
                // it still holds them: one of another size does not, and is
                // not read.
                QByteArray source;
                bool found = RecoveryFolder::readFile(base + RecoveryCopy::sourceSuffix, RecoveryCopy::maxFileSize,
                                                      &source, nullptr)
                             && RecoveryCopy::hash(source) == copy->sourceHash;
                if (!found && !cancelled && copy->sourceSize >= 0
                    && RecoveryFolder::fileSize(copy->sourcePath) == copy->sourceSize) {
                    found = RecoveryFolder::readFile(copy->sourcePath, RecoveryCopy::maxFileSize, &source, nullptr)
                            && RecoveryCopy::hash(source) == copy->sourceHash;
                }
                if (!found) {
                    *reason = tr("nie ma już tekstów, do których odnoszą się zmiany");
                    return;
                }
                texts = SheetTexts::fromFile(std::move(source));
                // Fields are written up to the empty ones of the last barette.
                const qsizetype reach = texts.size() + 16;
                for (const auto &[fieldId, text] : copy->edits) {
                    if (fieldId < reach)
                        texts.set(fieldId, text);
                }
                if (texts.size() != copy->lineCount) {
                    *reason = RecoveryCopy::reason(RecoveryCopy::Status::Damaged);
                    return;
                }
            }
            fonts = copy->fieldFonts();
            complete = true;
        } catch (const std::bad_alloc &) {
            texts = SheetTexts();
            fonts.clear();
            *reason = tr("za mało pamięci, by ją odczytać");
            lasting = false;
        }
    });
    if (!read)
        return Restore::Kept;
    if (!complete)
        return lasting ? Restore::Unreadable : Restore::Failed;
    if (!mayBuild(*copy, texts.size(), texts.isCompact() ? texts.fileBytes().size() : 0))
        return Restore::Kept;
    // The geometry first, on the window's empty sheet, as if chosen in the
    // panel: one it cannot take is said and the one in force stays; one
    // this printer's page holds no barette of leaves the texts as they are.
    if (geometryPanel && copy->geometry.labelsPerBarette != 0)
        geometryPanel->apply(copy->geometry, true);
    preview->restoreSheet(std::move(texts), fonts, copy->sourcePath, copy->projectPath);
    // What F5 reads again and what the title says (older copies leave what
    // the project's settings say).
    if (sheets && copy->version >= 2)
        sheets->restoreSource({copy->workbookPath, copy->workbookMapping, copy->pasted});
    // The old copy becomes this window's: there is a copy at every moment.
    if (prepareFolder()) {
        const QString to = QDir(dir).absoluteFilePath(id);
        for (const QString &suffix : {RecoveryCopy::suffix, RecoveryCopy::sourceSuffix}) {
            QFile::remove(to + suffix);
            QFile::rename(base + suffix, to + suffix);
        }
        if (!copy->sourceHash.isEmpty()) {
            sourceBytes = preview->document()->allTexts().fileBytes();
            sourceHash = copy->sourceHash;
        }
    }
    return Restore::Restored;
}

void Recovery::setAside(const QString &copyId)
{
    const QString base = QDir(dir).absoluteFilePath(copyId);
    for (const QString &suffix : {RecoveryCopy::suffix, RecoveryCopy::sourceSuffix}) {
        if (QFileInfo::exists(base + suffix))
            QFile::rename(base + suffix, base + suffix + RecoveryFolder::asideSuffix);
    }
}

void Recovery::sayUnoffered(const QList<RecoveryFolder::Left> &copies)
{
    using State = RecoveryFolder::Left::State;
    constexpr qsizetype shown = 10;
    QStringList lines;
    qsizetype unoffered = 0;
    for (const RecoveryFolder::Left &left : copies) {
        if (left.state == State::Valid)
            continue;
        const QString base = QDir(dir).absoluteFilePath(left.id);
        QString line = QFileInfo(base + RecoveryCopy::suffix).fileName() + QStringLiteral(": ") + left.reason;
        switch (left.state) {
        case State::Valid:
            break;
        case State::Damaged:
            setAside(left.id);
            line += tr(" (odłożona jako %1)").arg(QFileInfo(base + RecoveryCopy::suffix).fileName()
                                                + RecoveryFolder::asideSuffix);
            break;
        case State::Kept:
            line += tr(" (zostaje na miejscu)");
            break;
        case State::Newer: {
            // Left for that version, and said once.
            QFile marker(base + RecoveryFolder::newerSuffix);
            if (marker.open(QIODevice::WriteOnly))
                marker.close();
            line += tr(" (zostaje dla tamtej wersji)");
            break;
        }
        }
        if (++unoffered <= shown)
            lines.append(line);
    }
    if (unoffered == 0)
        return;
    if (unoffered > shown)
        lines.append(counted(unoffered - shown, tr("… i %1 inna", "one"), tr("… i %1 inne", "few"),
                             tr("… i %1 innych", "many")));
    Prompts::current().message(
        QMessageBox::Warning, QString(),
        tr("Nie można zaproponować %1 w folderze %2:\n%3")
            .arg(counted(unoffered, tr("%1 kopii zapasowej", "one"), tr("%1 kopii zapasowych", "few"),
                         tr("%1 kopii zapasowych", "many")),
                 QDir::toNativeSeparators(dir), lines.join(QLatin1Char('\n'))));
}

bool Recovery::offerLeftCopies()
{
    const QFileInfo info(dir);
    if (info.isSymLink() || !info.isDir())
        return false;
    // Beside the window: a folder of many or large copies takes a while.
    QList<RecoveryFolder::Left> left;
    if (!BackgroundRead::run(preview, dir, [&](const std::atomic<bool> &cancelled) {
            left = RecoveryFolder::scan(dir, id, keepParsedBytes, cancelled);
        }, tr("Wczytywanie kopii zapasowych…")))
        return false;
    // What cannot be offered, in one message.
    sayUnoffered(left);
    QList<RecoveryFolder::Left> valid;
    QList<RecoveryDialog::Copy> rows;
    const QLocale locale;
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    timeFormat.remove(QLatin1Char('t'));
    timeFormat = timeFormat.trimmed();
    for (const RecoveryFolder::Left &copy : std::as_const(left)) {
        if (copy.state != RecoveryFolder::Left::State::Valid)
            continue;
        valid.append(copy);
        RecoveryDialog::Copy row;
        row.sheet = QFileInfo(copy.sheetName).fileName();
        if (row.sheet.isEmpty())
            row.sheet = copy.pasted ? tr("komórki ze schowka") : tr("bez nazwy");
        const QDateTime when = QDateTime::fromMSecsSinceEpoch(copy.savedAt).toLocalTime();
        row.when = locale.toString(when.date(), QLocale::ShortFormat) + QLatin1Char(' ')
                   + locale.toString(when.time(), timeFormat);
        const QString count = copy.whole ? counted(copy.changed, tr("%1 pole z tekstem", "one"),
                                                   tr("%1 pola z tekstem", "few"), tr("%1 pól z tekstem", "many"))
                                         : counted(copy.changed, tr("%1 zmienione pole", "one"),
                                                   tr("%1 zmienione pola", "few"), tr("%1 zmienionych pól", "many"));
        row.holds = copy.firstChanged.isEmpty() ? count : tr("%1, pierwsze: „%2”").arg(count, copy.firstChanged);
        rows.append(row);
    }
    if (valid.isEmpty())
        return false;
    RecoveryDialog dialog(rows, preview->window());
    Prompts::current().runDialog(dialog);
    const QList<RecoveryDialog::Choice> &choices = dialog.choices();
    qsizetype chosen = -1;
    for (qsizetype row = 0; row < valid.size(); ++row) {
        if (choices.at(row) == RecoveryDialog::Choice::Restore)
            chosen = row;
        if (choices.at(row) != RecoveryDialog::Choice::Discard)
            continue;
        // Unless another window started meanwhile took it.
        QString odd;
        if (const RecoveryFolder::Claim lock = RecoveryFolder::claim(dir, valid.at(row).id, &odd)) {
            const QString base = QDir(dir).absoluteFilePath(valid.at(row).id);
            QFile::remove(base + RecoveryCopy::suffix);
            QFile::remove(base + RecoveryCopy::sourceSuffix);
        }
    }
    if (chosen < 0)
        return false;
    // Only the copy chosen is kept in memory for the restore.
    const RecoveryFolder::Left copy = valid.at(chosen);
    valid.clear();
    left.clear();
    QString odd;
    const RecoveryFolder::Claim lock = RecoveryFolder::claim(dir, copy.id, &odd);
    const QString path = QDir(dir).absoluteFilePath(copy.id + RecoveryCopy::suffix);
    if (!lock || !QFileInfo::exists(path)) {
        Prompts::current().message(QMessageBox::Information, QString(),
                                   tr("Kopię zapasową %1 przejęło w międzyczasie inne okno Lamello.")
                                       .arg(QDir::toNativeSeparators(path)));
        return false;
    }
    QString reason;
    const Restore restored = restore(copy, &reason);
    if (restored == Restore::Unreadable || restored == Restore::Failed) {
        if (restored == Restore::Unreadable)
            setAside(copy.id);
        Prompts::current().message(
            QMessageBox::Warning, QString(),
            restored == Restore::Unreadable
                ? tr("Kopii zapasowej %1 nie można odczytać: %2.\nOdłożono ją jako %3.")
                      .arg(QDir::toNativeSeparators(path), reason,
                           QDir::toNativeSeparators(path + RecoveryFolder::asideSuffix))
                : tr("Kopii zapasowej %1 nie można teraz odczytać: %2.\nZostaje na następne uruchomienie.")
                      .arg(QDir::toNativeSeparators(path), reason));
    }
    if (restored != Restore::Restored)
        return false;
    writeNow();
    return true;
}
