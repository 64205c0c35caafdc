#pragma once

#include "files/recoveryfile.h"
#include "files/recoveryfolder.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

#include <limits>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class GbGeometry;
class Preview;
class QLockFile;
class WorkbookImport;
struct RecoveryCopy;
class QThread;

// Keeps a recovery copy (files/recoveryfile.h) of the window's unsaved sheet
// in the folder "recovery" of the user's data folder, so that a crash, a
// kill or a power cut loses nothing: written a moment after edits settle
// and at once when the whole sheet is replaced, removed when the sheet is
// saved or the window closes cleanly. Each window has a copy of its own,
// named by a random id, and holds a lock beside it (the owner's process id)
// for as long as it lives, so that no other window offers its copy.
//
// A window that goes without discard() (the process killed) leaves its copy
// for the next start, where offerLeftCopies() offers it.
class Recovery : public QObject
{
    Q_OBJECT

public:
    explicit Recovery(Preview *preview, QObject *parent = nullptr);
    ~Recovery() override;

    // The window's geometry panel and workbook import: the copy then keeps
    // the geometry in force and the workbook with its mapping, a restore
    // brings them back, and a new geometry is written at once.
    void attach(GbGeometry *geometry, WorkbookImport *sheets);

    // Where the copies are kept.
    static QString folder();
    // How long after the last edit the copy is written.
    static constexpr int settleMs = 1500;

    // Offers the copies whose windows are no longer running, in one dialog
    // (dialogs/recoverydialog.h) read beside the window: "Przywróć" opens
    // the copy chosen in this window (unsaved), "Porzuć" removes the copies
    // chosen, "Później" keeps them for the next start. A sheet of very many
    // barettes is asked about as when its file is opened; "Nie" there keeps
    // the copy for the next start. What cannot be offered is said in one
    // message: a damaged copy is kept aside under a name ending in
    // ".unreadable", one that cannot be read now (no permission, its lock
    // not a regular file) stays, a newer version's stays for it and is said
    // once. True when a sheet was restored.
    bool offerLeftCopies();

    // Makes the copy now (removes it when nothing is unsaved). The copy is
    // put together here and written and synced on a thread of its own, so
    // that a slow disk never holds the window up; a copy made while the
    // last one is still being written follows it.
    void writeNow();
    // Waits until every copy made so far is on disk (or has failed).
    void flush();
    // The sheet is safe (saved, discarded at quit, the window closed cleanly): no copy.
    void discard();
    // The copy of this window (there while the sheet has unsaved changes).
    QString copyPath() const;

signals:
    // Something the user should know (said once: the folder cannot be used).
    void statusMessage(const QString &message);

private:
    bool prepareFolder();
    void failed(const QString &reason);
    // Restores the copy `left`, its lock held: Restored; Kept when the user
    // declined the large sheet or cancelled its read; Unreadable, with
    // `reason`, when its texts cannot be had; Failed, with `reason`, when
    // they cannot be had now (no memory, no permission).
    enum class Restore { Restored, Kept, Unreadable, Failed };
    Restore restore(const RecoveryFolder::Left &left, QString *reason);
    // Asks about the sheet of `lines` texts (`fileBytes` of them kept as a
    // file's) under the copy's geometry, as opening its file would; false
    // when it is not to be built now.
    bool mayBuild(const RecoveryCopy &copy, qsizetype lines, qint64 fileBytes);
    // Renames the copy `id` and its descriptions file's bytes to names ending in ".unreadable".
    void setAside(const QString &id);
    // Says in one message which copies cannot be offered and why, and sets
    // the damaged ones aside.
    void sayUnoffered(const QList<RecoveryFolder::Left> &copies);
    // The copies read for the offer are kept for the restore while their
    // files add up to this; the others are read again when chosen.
    static constexpr qint64 keepParsedBytes = qint64(256) << 20;
    // Keeps the descriptions file's `bytes` beside the copy, off the
    // window's thread; the copy is written when they are.
    void keepSource(const QByteArray &bytes);

    Preview *preview;
    GbGeometry *geometryPanel = nullptr;
    WorkbookImport *sheets = nullptr;
    QTimer timer;
    QString id;
    QString dir;
    std::unique_ptr<QLockFile> lock;
    bool unusable = false;
    // The bytes of the sheet's descriptions file whose copy lies beside the
    // recovery copy, and their hash; shared with the document, not copied.
    QByteArray sourceBytes;
    QByteArray sourceHash;
    // Writing those bytes; null when idle.
    QThread *sourceWriter = nullptr;

    // Writes `copy` (its texts shared with the document, not copied) on
    // copyWriter, or keeps it for after the copy being written.
    void writeCopy(RecoveryCopy copy);
    // After copyWriter has finished: says a failure, starts what waits.
    void copyWritten();
    struct CopyWrite;
    QThread *copyWriter = nullptr;
    std::shared_ptr<CopyWrite> copyWrite;
    std::optional<RecoveryCopy> nextCopy;

    // The document's font indices of the fields as runs (index, fields),
    // kept from copy to copy: they are worked out again only when a changed
    // field's font differs from its run's, or the fields are others.
    void updateRuns(qsizetype fields);
    std::vector<std::pair<quint32, qint64>> runs;
    std::vector<qsizetype> runStarts;   // the first field of each run
    qsizetype runFields = -1;           // the fields the runs cover; -1: none yet
    qsizetype changedFirst = std::numeric_limits<qsizetype>::max();
    qsizetype changedLast = -1;
};
