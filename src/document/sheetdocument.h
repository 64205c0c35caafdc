#pragma once

#include "document/fieldcommands.h"
#include "files/sheettexts.h"

#include <QFont>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QUndoStack>

#include <atomic>
#include <functional>
#include <optional>
#include <vector>

// The sheet's document: every field's text and font by field id, what there
// is to undo, and whether anything changed since the texts were last read or
// the sheet last saved. The pages in the window, the printer and the batch
// printer only show it; a new layout (another printer, another geometry,
// another label count) changes where fields stand, never what they hold.
//
// Field id i is line i of the descriptions file. A sheet of L lines with n
// labels per barette has ceil(L / (n + 1)) barettes; the fields of the last
// barette past line L are empty until something is written into them.
//
// Fonts are kept once each in a table and every field holds an index into it:
// a sheet of 900,000 fields has a handful of different fonts, and a font
// command over all of them changes indices, not fonts.
class SeriesPattern;

class SheetDocument : public QObject
{
    Q_OBJECT

public:
    explicit SheetDocument(QObject *parent = nullptr);
    ~SheetDocument() override;

    // A new document: these texts (one per field id) and fonts (field i takes
    // fonts[i]; fields past the end take the default font). Nothing to undo,
    // nothing modified.
    void reset(SheetTexts texts, const QList<QFont> &fonts = {});
    // The texts read again (the editor saved the file): every field keeps
    // its font. Nothing to undo, nothing modified.
    void replaceTexts(SheetTexts texts);

    // Lines that hold texts; field ids beyond them are empty fields.
    qsizetype lineCount() const { return texts.size(); }
    // Field ids of a sheet grouped in barettes of `labelsPerBarette` + 1:
    // every field of every barette, the empty ones of the last included.
    qsizetype fieldCount(int labelsPerBarette) const;
    qsizetype baretteCount(int labelsPerBarette) const;

    QString text(qsizetype id) const { return texts.at(id); }
    const SheetTexts &allTexts() const { return texts; }
    const QFont &font(qsizetype id) const { return fontTable.at(fontIndex(id)); }
    quint32 fontIndex(qsizetype id) const
    {
        return id >= 0 && size_t(id) < fonts.size() ? fonts[size_t(id)] : 0;
    }
    const QFont &fontAt(quint32 index) const { return fontTable.at(index); }
    // The font a field shows for the font at `index`
    // (SpecialGlyphFont::fieldFont()), worked out once per font.
    const QFont &fieldFontAt(quint32 index) const { return fieldFonts.at(index); }
    // The index of `font` in the table, added when new.
    quint32 intern(const QFont &font);

    // Changes a field without an undo step (undo commands and tests use these).
    void setContent(qsizetype id, const QString &text, const QFont &font);
    void setFontIndex(qsizetype id, quint32 index);
    // Changes a field's text, keeping its font, without telling the views:
    // notifyChanged() follows (commands over many fields).
    void setTextOnly(qsizetype id, const QString &text)
    {
        if (id >= 0)
            texts.set(id, text);
    }
    // Tells the views that fields first..last changed (after setFontIndex).
    void notifyChanged(qsizetype first, qsizetype last) { emit fieldsChanged(first, last); }

    // One field's text and font changed by the user, as one step to undo
    // named `what`; nothing happens when both stay as they are. An "@" in
    // `text` is a line break, as in the descriptions file.
    void editField(qsizetype id, const QString &text, const QFont &font, const QString &what);

    // `query` in the texts of fields `ids` replaced by `replacement` (every
    // time it occurs, or the whole text with `wholeField`), as one step to
    // undo named `what`; each field keeps its font. A line break is "\n" in
    // both. Returns how many fields changed.
    qsizetype replaceInFields(const std::vector<qsizetype> &ids, const QString &query, const QString &replacement,
                              Qt::CaseSensitivity cs, bool wholeField, const QString &what);

    // replaceInFields() worked out without changing anything, on any thread
    // while nothing changes the document: the changes, and the texts they
    // make. The memory the result takes is counted field by field as it is
    // made; past `room` bytes what was made is dropped, the rest only
    // counted, and the verdict is TooLarge, with `bytesNeeded` the whole
    // estimate. Stops early, Cancelled, once
    // `cancelled` is set.
    struct Replacement
    {
        enum class Verdict { Ok, TooLarge, Cancelled };
        Verdict verdict = Verdict::Ok;
        qint64 bytesNeeded = 0;
        std::vector<TextsCommand::Change> changes;
        std::optional<SheetTexts> result;   // made beside only over many fields
    };
    Replacement prepareReplace(const std::vector<qsizetype> &ids, const QString &query, const QString &replacement,
                               Qt::CaseSensitivity cs, bool wholeField, qint64 room,
                               const std::atomic<bool> *cancelled = nullptr) const;
    // A prepared replacement (verdict Ok) made one step to undo named `what`.
    // Returns how many fields changed.
    qsizetype commitReplace(Replacement &&prepared, const QString &what);

    // `texts` written into fields `ids`, the first into the first, as one
    // step to undo named `what`; each field keeps its font. Fields that
    // already hold their text are left out of the step. Returns how many
    // fields changed, -1 when the work was cancelled (nothing changed).
    qsizetype writeTexts(const std::vector<qsizetype> &ids, const QStringList &texts, const QString &what);
    // The same with the values of `series`, made beside the window with the
    // rest over many fields.
    qsizetype writeSeries(const std::vector<qsizetype> &ids, const SeriesPattern &series, const QString &what);

    // Work over many fields runs through the runner when one is set: `work`
    // beside the window, shown as `label`, which the user may cancel; the
    // runner returns false when the work was cancelled (or failed, and said
    // so). Without a runner the work runs at once.
    using Runner = std::function<bool(const QString &label,
                                      const std::function<void(const std::atomic<bool> &cancelled)> &work)>;
    void setRunner(Runner runner) { longWork = std::move(runner); }
    bool runLong(const QString &label, const std::function<void(const std::atomic<bool> &cancelled)> &work);

    // For TextsCommand: the texts with `changes` made (their `after` texts,
    // else their `before`), built on any thread; the texts `made` taken
    // in, the views told, the old ones freed on another thread; and a step
    // whose undo (or redo, `after`) was cancelled moved back on the stack.
    SheetTexts textsWith(const std::vector<TextsCommand::Change> &changes, bool after,
                         const std::atomic<bool> *cancelled = nullptr) const;
    void adoptTexts(SheetTexts made, const std::vector<TextsCommand::Change> &changes);
    void notifyChanges(const std::vector<TextsCommand::Change> &changes);
    void stepBack(bool after);
    // `old` freed on another thread: a million strings take a while.
    static void freeBeside(SheetTexts old);

    QUndoStack *undoStack() { return &history; }
    // Changed since the texts were read or the sheet saved.
    bool isModified() const { return !history.isClean(); }
    // The sheet has been written out as it is now.
    void markSaved() { history.setClean(); }
    // The sheet differs from what was written out, with nothing to undo.
    void markUnsaved() { history.resetClean(); }

signals:
    // Fields first..last (inclusive) hold another text or font.
    void fieldsChanged(qsizetype first, qsizetype last);
    // Everything was replaced (reset, replaceTexts).
    void contentReset();
    void modifiedChanged(bool modified);

private:
    void grow(qsizetype id);
    qsizetype writeMade(const std::vector<qsizetype> &ids, const std::function<QStringList()> &make,
                        const QString &what);

    SheetTexts texts;
    std::vector<quint32> fonts;   // index into fontTable per field; missing ones are 0
    QList<QFont> fontTable;       // entry 0 is the default font
    QList<QFont> fieldFonts;      // SpecialGlyphFont::fieldFont() of each entry
    QHash<QFont, quint32> fontIndexes;
    QUndoStack history;
    Runner longWork;
};
