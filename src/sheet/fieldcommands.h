#pragma once

#include <QFont>
#include <QString>
#include <QStringList>
#include <QUndoCommand>

#include <vector>

class MyGraphicsItem;
class Preview;

// The sheet's undoable edits. They live on the sheet's undo stack, which a
// rebuild empties, so the fields they name always exist.

// One field's text and font before and after an edit that has already been
// made (the edit dialog, a drop).
class FieldContentCommand : public QUndoCommand
{
public:
    FieldContentCommand(MyGraphicsItem *field, const QString &oldText, const QFont &oldFont, const QString &name);

    void undo() override;
    void redo() override;

private:
    MyGraphicsItem *field;
    QString beforeText;
    QString afterText;
    QFont beforeFont;
    QFont afterFont;
    bool done = true;   // pushed after the edit was made
};

// A font command of the tool bar over the selected fields (which also changes
// their remembered fonts) or, with nothing selected, over every field.
//
// Such a command can reach 90,000 fields, so it keeps only what it needs to
// go back: the fields' earlier size, weight, style, underline and family,
// in runs of neighbouring fields that had the same. Redoing it runs the
// command again on those fields: from the same starting fonts it gives the
// same result.
class FontCommand : public QUndoCommand
{
public:
    enum class Kind { Family, PixelSize, Bold, Italic, Underline };

    // `pixelSize` for PixelSize, `family` for Family. Looks at the fields as
    // they are now: build it before anything changes them.
    FontCommand(Preview *sheet, Kind kind, int pixelSize, const QString &family, const QString &name);

    // False when running the command would leave every font as it is.
    bool changesAnything() const { return changes; }

    void undo() override;
    void redo() override;

    struct FontState
    {
        int pixelSize = -1;
        float pointSize = -1;
        quint16 weight = 0;
        quint8 style = 0;
        bool underline = false;
        quint16 family = 0;   // index into the command's family list
        bool operator==(const FontState &) const = default;
    };

private:
    struct Run
    {
        int first = 0;
        int count = 0;
        FontState field;
        FontState memory;   // the remembered font; only for a command on a selection
    };

    FontState stateOf(const QFont &font);
    void restore(QFont &font, const FontState &state) const;
    void applyToField(MyGraphicsItem *item) const;
    void applyToMemory(QFont &font) const;
    bool wouldChange(const FontState &state) const;

    Preview *sheet;
    Kind kind;
    int pixelSize;
    QString family;
    bool selectionOnly = false;
    bool changes = false;
    QStringList families;
    std::vector<Run> runs;
};
