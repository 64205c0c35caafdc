#include "sheet/fieldcommands.h"

#include "sheet/mygraphicsitem.h"
#include "sheet/preview.h"

// ---------------------------------------------------- one field's content

FieldContentCommand::FieldContentCommand(MyGraphicsItem *field, const QString &oldText, const QFont &oldFont,
                                         const QString &name)
    : QUndoCommand(name)
    , field(field)
    , beforeText(oldText)
    , afterText(field->currentText())
    , beforeFont(oldFont)
    , afterFont(field->currentFont())
{
}

void FieldContentCommand::undo()
{
    field->restore(beforeText, beforeFont);
}

void FieldContentCommand::redo()
{
    if (done) {
        done = false;
        return;
    }
    field->restore(afterText, afterFont);
}

// ----------------------------------------------------- tool bar commands

FontCommand::FontCommand(Preview *sheet, Kind kind, int pixelSize, const QString &family, const QString &name)
    : QUndoCommand(name)
    , sheet(sheet)
    , kind(kind)
    , pixelSize(pixelSize)
    , family(family)
    , selectionOnly(sheet->selectionCount() > 0)
{
    const QList<MyGraphicsItem *> &items = sheet->fields();
    const QList<QFont> &fonts = sheet->fonts;
    for (int id = 0; id < items.size(); ++id) {
        const MyGraphicsItem *item = items.at(id);
        if (selectionOnly && !item->isSelected())
            continue;
        const FontState field = stateOf(item->currentFont());
        const FontState memory = selectionOnly && id < fonts.size() ? stateOf(fonts.at(id)) : FontState();
        // The family is never remembered.
        changes = changes || wouldChange(field)
                  || (selectionOnly && kind != Kind::Family && id < fonts.size() && wouldChange(memory));
        if (!runs.empty()) {
            Run &last = runs.back();
            if (last.first + last.count == id && last.field == field && last.memory == memory) {
                ++last.count;
                continue;
            }
        }
        runs.push_back({id, 1, field, memory});
    }
    runs.shrink_to_fit();
}

FontCommand::FontState FontCommand::stateOf(const QFont &font)
{
    FontState state;
    state.pixelSize = font.pixelSize();
    state.pointSize = float(font.pointSizeF());
    state.weight = quint16(font.weight());
    state.style = quint8(font.style());
    state.underline = font.underline();
    const QString name = font.family();
    qsizetype index = families.indexOf(name);
    if (index < 0) {
        index = families.size();
        families.append(name);
    }
    state.family = quint16(index);
    return state;
}

void FontCommand::restore(QFont &font, const FontState &state) const
{
    if (state.pixelSize > 0)
        font.setPixelSize(state.pixelSize);
    else if (state.pointSize > 0)
        font.setPointSizeF(state.pointSize);
    font.setWeight(QFont::Weight(state.weight));
    font.setStyle(QFont::Style(state.style));
    font.setUnderline(state.underline);
    const QString &name = families.at(state.family);
    if (font.family() != name)
        font.setFamily(name);
}

bool FontCommand::wouldChange(const FontState &state) const
{
    switch (kind) {
    case Kind::Family:
        return families.at(state.family) != family;
    case Kind::PixelSize:
        return state.pixelSize != pixelSize;
    case Kind::Bold:
    case Kind::Italic:
    case Kind::Underline:
        return true;   // a toggle always changes something
    }
    return true;
}

void FontCommand::applyToField(MyGraphicsItem *item) const
{
    switch (kind) {
    case Kind::Family:
        item->changeFontFamily(family);
        break;
    case Kind::PixelSize:
        item->changeFontPixelSize(pixelSize);
        break;
    case Kind::Bold:
        item->changeFontBold();
        break;
    case Kind::Italic:
        item->changeFontItalic();
        break;
    case Kind::Underline:
        item->changeFontUnderline();
        break;
    }
}

// The remembered font follows its own state, not the field's.
void FontCommand::applyToMemory(QFont &font) const
{
    switch (kind) {
    case Kind::Family:
        break;   // the family is not remembered
    case Kind::PixelSize:
        font.setPixelSize(pixelSize);
        break;
    case Kind::Bold:
        font.setWeight(font.weight() > QFont::Normal ? QFont::Normal : QFont::Bold);
        break;
    case Kind::Italic:
        font.setStyle(font.style() == QFont::StyleNormal ? QFont::StyleItalic : QFont::StyleNormal);
        break;
    case Kind::Underline:
        font.setUnderline(!font.underline());
        break;
    }
}

void FontCommand::redo()
{
    const QList<MyGraphicsItem *> &items = sheet->fields();
    QList<QFont> &fonts = sheet->fonts;
    for (const Run &run : runs) {
        for (int id = run.first; id < run.first + run.count; ++id) {
            applyToField(items.at(id));
            if (selectionOnly && id < fonts.size())
                applyToMemory(fonts[id]);
        }
    }
}

void FontCommand::undo()
{
    const QList<MyGraphicsItem *> &items = sheet->fields();
    QList<QFont> &fonts = sheet->fonts;
    for (const Run &run : runs) {
        for (int id = run.first; id < run.first + run.count; ++id) {
            MyGraphicsItem *item = items.at(id);
            QFont font = item->currentFont();
            restore(font, run.field);
            item->restore(item->currentText(), font);
            if (selectionOnly && id < fonts.size())
                restore(fonts[id], run.memory);
        }
    }
}
