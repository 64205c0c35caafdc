#include "document/sheetdocument.h"

#include "document/fieldcommands.h"
#include "document/specialglyphfont.h"

SheetDocument::SheetDocument(QObject *parent)
    : QObject(parent)
{
    // A font command over a large sheet keeps a few bytes per run of fields.
    history.setUndoLimit(100);
    connect(&history, &QUndoStack::cleanChanged, this, [this](bool clean) { emit modifiedChanged(!clean); });
    reset({});
}

SheetDocument::~SheetDocument()
{
    // A stack that goes while not clean says so once more; nobody must hear
    // it from a document, and a window, half gone.
    blockSignals(true);
    history.disconnect(this);
}

void SheetDocument::reset(SheetTexts newTexts, const QList<QFont> &newFonts)
{
    const bool wasModified = isModified();
    history.clear();
    texts = std::move(newTexts);
    fontTable.clear();
    fieldFonts.clear();
    fontIndexes.clear();
    intern(SpecialGlyphFont::defaultFont());
    fonts = std::vector<quint32>();
    fonts.reserve(size_t(newFonts.size()));
    for (const QFont &f : newFonts)
        fonts.push_back(intern(f));
    history.setClean();
    emit contentReset();
    if (wasModified)
        emit modifiedChanged(false);
}

void SheetDocument::replaceTexts(SheetTexts newTexts)
{
    const bool wasModified = isModified();
    history.clear();
    texts = std::move(newTexts);
    history.setClean();
    emit contentReset();
    if (wasModified)
        emit modifiedChanged(false);
}

qsizetype SheetDocument::baretteCount(int labelsPerBarette) const
{
    const qsizetype perBarette = labelsPerBarette + 1;
    return perBarette > 0 ? (texts.size() + perBarette - 1) / perBarette : 0;
}

qsizetype SheetDocument::fieldCount(int labelsPerBarette) const
{
    return baretteCount(labelsPerBarette) * (labelsPerBarette + 1);
}

quint32 SheetDocument::intern(const QFont &font)
{
    const auto found = fontIndexes.constFind(font);
    if (found != fontIndexes.cend())
        return found.value();
    const auto index = quint32(fontTable.size());
    fontTable.append(font);
    fieldFonts.append(SpecialGlyphFont::fieldFont(font));
    fontIndexes.insert(font, index);
    return index;
}

void SheetDocument::grow(qsizetype id)
{
    if (size_t(id) >= fonts.size())
        fonts.resize(size_t(id) + 1, 0);
}

void SheetDocument::setContent(qsizetype id, const QString &text, const QFont &font)
{
    if (id < 0)
        return;
    if (id >= texts.size()) {
        if (text.isEmpty() && intern(font) == fontIndex(id)) {
            emit fieldsChanged(id, id);
            return;
        }
    }
    texts.set(id, text);
    setFontIndex(id, intern(font));
    emit fieldsChanged(id, id);
}

void SheetDocument::setFontIndex(qsizetype id, quint32 index)
{
    if (id < 0 || (size_t(id) >= fonts.size() && index == 0))
        return;
    grow(id);
    fonts[size_t(id)] = index;
}

void SheetDocument::editField(qsizetype id, const QString &typed, const QFont &font, const QString &what)
{
    // The text as a save would give it back: no field ever holds an "@".
    const QString text = DescriptionsFile::asRead(typed);
    if (id < 0 || (text == this->text(id) && font == this->font(id)))
        return;
    history.push(new FieldContentCommand(this, id, text, font, what));
}

qsizetype SheetDocument::replaceInFields(const std::vector<qsizetype> &ids, const QString &query,
                                         const QString &replacement, Qt::CaseSensitivity cs, bool wholeField,
                                         const QString &what)
{
    if (query.isEmpty())
        return 0;
    std::vector<TextsCommand::Change> changes;
    for (const qsizetype id : ids) {
        QString before = text(id);
        QString after = before;
        if (wholeField) {
            if (before.compare(query, cs) == 0)
                after = replacement;
        } else {
            after.replace(query, replacement, cs);
        }
        if (after != before)
            changes.push_back({id, std::move(before), std::move(after)});
    }
    const auto changed = qsizetype(changes.size());
    if (changed > 0)
        history.push(new TextsCommand(this, std::move(changes), what));
    return changed;
}

qsizetype SheetDocument::writeTexts(const std::vector<qsizetype> &ids, const QStringList &newTexts,
                                    const QString &what)
{
    std::vector<TextsCommand::Change> changes;
    const qsizetype count = qMin(qsizetype(ids.size()), newTexts.size());
    for (qsizetype i = 0; i < count; ++i) {
        const qsizetype id = ids[size_t(i)];
        if (id < 0)
            continue;
        QString before = text(id);
        if (before != newTexts.at(i))
            changes.push_back({id, std::move(before), newTexts.at(i)});
    }
    const auto changed = qsizetype(changes.size());
    if (changed > 0)
        history.push(new TextsCommand(this, std::move(changes), what));
    return changed;
}
