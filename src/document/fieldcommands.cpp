#include "document/fieldcommands.h"

#include "document/sheetdocument.h"

#include <QThreadPool>

#include <memory>

// ---------------------------------------------------- one field's content

FieldContentCommand::FieldContentCommand(SheetDocument *document, qsizetype id, const QString &text,
                                         const QFont &font, const QString &name)
    : QUndoCommand(name)
    , document(document)
    , id(id)
    , beforeText(document->text(id))
    , afterText(text)
    , beforeFont(document->font(id))
    , afterFont(font)
{
}

void FieldContentCommand::undo()
{
    document->setContent(id, beforeText, beforeFont);
}

void FieldContentCommand::redo()
{
    document->setContent(id, afterText, afterFont);
}

// ----------------------------------------------------- tool bar commands

FontCommand::FontCommand(SheetDocument *document, std::vector<qsizetype> chosen, qsizetype fieldCount, Kind kind,
                         int pixelSize, const QString &family, const QString &name, const QFont &chosenFont)
    : QUndoCommand(name)
    , document(document)
    , ids(std::move(chosen))
    , fieldCount(fieldCount)
    , all(ids.empty())
    , kind(kind)
    , pixelSize(pixelSize)
    , family(family)
    , chosen(chosenFont)
{
    const qsizetype count = size();
    for (qsizetype position = 0; position < count; ++position) {
        const quint32 index = document->fontIndex(idAt(position));
        if (!runs.empty()) {
            Run &last = runs.back();
            // Neighbours: consecutive positions whose ids follow each other.
            if (last.font == index && last.first + last.count == position
                && idAt(position - 1) + 1 == idAt(position)) {
                ++last.count;
                continue;
            }
        }
        runs.push_back({position, 1, index});
        changes = changes || changed(index) != index;
    }
    runs.shrink_to_fit();
}

QFont FontCommand::applied(QFont font, Kind kind, int pixelSize, const QString &family, const QFont &chosen)
{
    switch (kind) {
    case Kind::Family:
        if (font.family() != family)
            font.setFamily(family);
        break;
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
    case Kind::Chosen:
        // A size in points, as the dialog keeps one that came so, or in pixels.
        if (chosen.pixelSize() > 0)
            font.setPixelSize(chosen.pixelSize());
        else if (chosen.pointSizeF() > 0)
            font.setPointSizeF(chosen.pointSizeF());
        font.setUnderline(chosen.underline());
        font.setStyle(chosen.style());
        font.setWeight(chosen.weight());
        break;
    }
    return font;
}

quint32 FontCommand::changed(quint32 index)
{
    const auto found = results.constFind(index);
    if (found != results.cend())
        return found.value();
    const quint32 result = document->intern(applied(document->fontAt(index), kind, pixelSize, family, chosen));
    results.insert(index, result);
    return result;
}

void FontCommand::redo()
{
    for (const Run &run : runs) {
        const quint32 to = changed(run.font);
        for (qsizetype position = run.first; position < run.first + run.count; ++position)
            document->setFontIndex(idAt(position), to);
    }
    if (!runs.empty())
        document->notifyChanged(idAt(runs.front().first), idAt(runs.back().first + runs.back().count - 1));
}

void FontCommand::undo()
{
    for (const Run &run : runs) {
        for (qsizetype position = run.first; position < run.first + run.count; ++position)
            document->setFontIndex(idAt(position), run.font);
    }
    if (!runs.empty())
        document->notifyChanged(idAt(runs.front().first), idAt(runs.back().first + runs.back().count - 1));
}

// ------------------------------------------------------- field by field

void FontIndexCommand::add(std::vector<Run> &runs, qsizetype id, quint32 before, quint32 after)
{
    if (!runs.empty()) {
        Run &last = runs.back();
        if (last.first + last.count == id && last.before == before && last.after == after) {
            ++last.count;
            return;
        }
    }
    runs.push_back({id, 1, before, after});
}

FontIndexCommand::FontIndexCommand(SheetDocument *document, std::vector<Run> changes, const QString &name)
    : QUndoCommand(name)
    , document(document)
    , runs(std::move(changes))
{
    runs.shrink_to_fit();
}

void FontIndexCommand::apply(bool after)
{
    for (const Run &run : runs) {
        const quint32 index = after ? run.after : run.before;
        for (qsizetype id = run.first; id < run.first + run.count; ++id)
            document->setFontIndex(id, index);
    }
    if (!runs.empty())
        document->notifyChanged(runs.front().first, runs.back().first + runs.back().count - 1);
}

void FontIndexCommand::redo()
{
    apply(true);
}

void FontIndexCommand::undo()
{
    apply(false);
}

// ------------------------------------------------------ replaced texts

TextsCommand::TextsCommand(SheetDocument *document, std::vector<Change> changes, const QString &name,
                           std::optional<SheetTexts> done)
    : QUndoCommand(name)
    , document(document)
    , changes(std::move(changes))
    , prepared(std::move(done))
{
    this->changes.shrink_to_fit();
}

TextsCommand::~TextsCommand()
{
    freeBeside(std::move(changes));
    if (prepared)
        SheetDocument::freeBeside(std::move(*prepared));
}

void TextsCommand::freeBeside(std::vector<Change> changes)
{
    if (qsizetype(changes.size()) <= madeAtOnce)
        return;
    QThreadPool::globalInstance()->start([held = std::make_shared<std::vector<Change>>(std::move(changes))]() mutable {
        held.reset();
    });
}

void TextsCommand::apply(bool after)
{
    if (skipNext) {
        skipNext = false;
        return;
    }
    if (prepared && after) {
        document->adoptTexts(std::move(*prepared), changes);
        prepared.reset();
        return;
    }
    prepared.reset();
    if (qsizetype(changes.size()) <= madeAtOnce) {
        for (const Change &change : changes)
            document->setTextOnly(change.id, after ? change.after : change.before);
        document->notifyChanges(changes);
        return;
    }
    SheetTexts made;
    const QString label = after ? SheetDocument::tr("Ponawianie: %1…").arg(text())
                                : SheetDocument::tr("Cofanie: %1…").arg(text());
    const bool done = document->runLong(label, [&](const std::atomic<bool> &cancelled) {
        made = document->textsWith(changes, after, &cancelled);
    });
    if (done) {
        document->adoptTexts(std::move(made), changes);
    } else {
        // Nothing changed: the stack goes back to where it was, this step
        // left as it is.
        skipNext = true;
        document->stepBack(after);
    }
}
