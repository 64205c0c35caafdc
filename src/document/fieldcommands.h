#pragma once

#include "files/sheettexts.h"

#include <QFont>
#include <QHash>
#include <QString>
#include <QUndoCommand>

#include <optional>
#include <vector>

class SheetDocument;

// The sheet's undoable edits. They name fields by id and change the
// document, so they outlive every new layout of the pages.

// One field's text and font: the edit dialog, a drop.
class FieldContentCommand : public QUndoCommand
{
public:
    FieldContentCommand(SheetDocument *document, qsizetype id, const QString &text, const QFont &font,
                        const QString &name);

    void undo() override;
    void redo() override;

private:
    SheetDocument *document;
    qsizetype id;
    QString beforeText;
    QString afterText;
    QFont beforeFont;
    QFont afterFont;
};

// A font command of the tool bar over chosen fields (the selection) or over
// every field of the sheet.
//
// Such a command can reach 900,000 fields, so it keeps only what it needs to
// go back: the fields' earlier font indices, in runs of neighbouring fields
// that had the same. Redoing it runs the command again on those fields: from
// the same starting fonts it gives the same result.
class FontCommand : public QUndoCommand
{
public:
    // Chosen: the size and style of a font chosen in the font dialog
    // ("Ustaw czcionkę…"), each field keeping its typeface, as the tool bar's
    // commands do.
    enum class Kind { Family, PixelSize, Bold, Italic, Underline, Chosen };

    // `ids` ascending; empty means every field below `fieldCount`.
    // `pixelSize` for PixelSize, `family` for Family, `chosen` for Chosen.
    // Looks at the fields as they are now: build it before anything changes them.
    FontCommand(SheetDocument *document, std::vector<qsizetype> ids, qsizetype fieldCount, Kind kind,
                int pixelSize, const QString &family, const QString &name, const QFont &chosen = QFont());

    // False when running the command would leave every font as it is.
    bool changesAnything() const { return changes; }

    void undo() override;
    void redo() override;

    // The font `kind` makes of `font`.
    static QFont applied(QFont font, Kind kind, int pixelSize, const QString &family, const QFont &chosen = QFont());

private:
    struct Run
    {
        qsizetype first = 0;   // position in ids (or the field id when all)
        qsizetype count = 0;
        quint32 font = 0;
    };

    qsizetype idAt(qsizetype position) const { return all ? position : ids[size_t(position)]; }
    qsizetype size() const { return all ? fieldCount : qsizetype(ids.size()); }
    quint32 changed(quint32 index);

    SheetDocument *document;
    std::vector<qsizetype> ids;
    qsizetype fieldCount;
    bool all;
    Kind kind;
    int pixelSize;
    QString family;
    QFont chosen;
    bool changes = false;
    std::vector<Run> runs;
    QHash<quint32, quint32> results;   // font index before -> after
};

// Fonts chosen field by field, such as the size fit: each changed field's
// font index before and after, in runs of neighbouring fields with the same
// change (a sheet of repeating names and fonts has long runs).
class FontIndexCommand : public QUndoCommand
{
public:
    struct Run
    {
        qsizetype first = 0;   // field id
        qsizetype count = 0;
        quint32 before = 0;
        quint32 after = 0;
    };

    // Appends field `id`'s change to `runs`; ids come ascending.
    static void add(std::vector<Run> &runs, qsizetype id, quint32 before, quint32 after);

    // The fields of `runs` hold the `before` indices now.
    FontIndexCommand(SheetDocument *document, std::vector<Run> runs, const QString &name);

    void undo() override;
    void redo() override;

private:
    void apply(bool after);

    SheetDocument *document;
    std::vector<Run> runs;
};

// The texts of many fields replaced at once, each field keeping its font
// ("Zamień wszystko", a series). It holds the changed fields' texts only, so
// that its memory follows what changed, not the sheet.
//
// Over many fields the texts are made beside the window (through the
// document's runner, which may be cancelled): a step made with its result
// ready takes it as its first redo, and an undo or redo that is cancelled
// leaves the texts as they were and the step where it was.
class TextsCommand : public QUndoCommand
{
public:
    struct Change
    {
        qsizetype id = 0;
        QString before;
        QString after;
    };

    // `done`, when given, is the document's texts with the changes made.
    TextsCommand(SheetDocument *document, std::vector<Change> changes, const QString &name,
                 std::optional<SheetTexts> done = std::nullopt);
    // Many changes are freed beside the window.
    ~TextsCommand() override;
    static void freeBeside(std::vector<Change> changes);

    void undo() override { apply(false); }
    void redo() override { apply(true); }

    const std::vector<Change> &allChanges() const { return changes; }

    // Up to this many changes are made on the window's thread.
    static constexpr qsizetype madeAtOnce = 20'000;

private:
    void apply(bool after);

    SheetDocument *document;
    std::vector<Change> changes;
    std::optional<SheetTexts> prepared;
    bool skipNext = false;   // a cancelled undo or redo: the stack moves back without work
};
