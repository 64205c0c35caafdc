#include "document/sheetdocument.h"

#include "document/fieldcommands.h"
#include "document/seriespattern.h"
#include "document/specialglyphfont.h"

#include <QThreadPool>

#include <limits>
#include <memory>
#include <utility>

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
    // The window goes at once; a million strings are freed beside it.
    history.clear();
    freeBeside(std::move(texts));
}

void SheetDocument::reset(SheetTexts newTexts, const QList<QFont> &newFonts)
{
    const bool wasModified = isModified();
    history.clear();
    // The old sheet is freed beside the window.
    freeBeside(std::exchange(texts, std::move(newTexts)));
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
    freeBeside(std::exchange(texts, std::move(newTexts)));
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
    return commitReplace(prepareReplace(ids, query, replacement, cs, wholeField, std::numeric_limits<qint64>::max()),
                         what);
}

SheetDocument::Replacement SheetDocument::prepareReplace(const std::vector<qsizetype> &ids, const QString &query,
                                                         const QString &replacement, Qt::CaseSensitivity cs,
                                                         bool wholeField, qint64 room,
                                                         const std::atomic<bool> *cancelled) const
{
    Replacement r;
    if (query.isEmpty())
        return r;
    // What a changed field costs besides its characters: the change, two
    // strings' headers, and its place among the texts (an edit over a
    // file's text); a decoded file text is new too, a list's is shared.
    constexpr qint64 perChange = qint64(sizeof(TextsCommand::Change)) + 2 * 32 + 64;
    constexpr qint64 most = std::numeric_limits<qint64>::max() / 4;
    const bool compact = texts.isCompact();
    const qint64 grow = replacement.size() - query.size();
    // Made anew over many fields: a list's whole array, a file's edits.
    qint64 needed = qsizetype(ids.size()) > TextsCommand::madeAtOnce
                        ? (compact ? qint64(texts.editCount()) * 64 : qint64(texts.size()) * qint64(sizeof(QString)))
                        : 0;
    bool building = needed <= room;
    qsizetype looked = 0;
    for (const qsizetype id : ids) {
        if (cancelled && (++looked & 1023) == 0 && cancelled->load(std::memory_order_relaxed)) {
            r.verdict = Replacement::Verdict::Cancelled;
            r.changes = {};
            return r;
        }
        QString before = text(id);
        if (wholeField && before.compare(query, cs) != 0)
            continue;
        // A field's text is made while there is room for it (one field
        // holds at most what the query fits in it times the replacement);
        // past the room the rest is only counted.
        qint64 afterSize = 0;
        QString after;
        if (building) {
            after = wholeField ? replacement : QString(before).replace(query, replacement, cs);
            if (after == before)
                continue;
            afterSize = after.size();
        } else if (wholeField) {
            afterSize = replacement.size();
        } else {
            // Counted overlapping, so never fewer than are replaced.
            const qsizetype found = before.count(query, cs);
            if (found == 0)
                continue;
            afterSize = std::max<qint64>(before.size() + qint64(found) * grow, 0);
        }
        needed = std::min(needed + perChange + 2 * afterSize + (compact ? 2 * before.size() : 0), most);
        if (building && needed > room) {
            building = false;
            r.changes = {};
        }
        if (building)
            r.changes.push_back({id, std::move(before), std::move(after)});
    }
    r.bytesNeeded = needed;
    r.changes.shrink_to_fit();
    if (!building) {
        r.verdict = Replacement::Verdict::TooLarge;
        return r;
    }
    if (qsizetype(r.changes.size()) > TextsCommand::madeAtOnce) {
        r.result = textsWith(r.changes, true, cancelled);
        if (cancelled && cancelled->load()) {
            r.verdict = Replacement::Verdict::Cancelled;
            r.changes = {};
            freeBeside(std::move(*r.result));
            r.result.reset();
        }
    }
    return r;
}

qsizetype SheetDocument::commitReplace(Replacement &&prepared, const QString &what)
{
    const auto changed = qsizetype(prepared.changes.size());
    if (prepared.verdict != Replacement::Verdict::Ok || changed == 0)
        return 0;
    history.push(new TextsCommand(this, std::move(prepared.changes), what, std::move(prepared.result)));
    return changed;
}

qsizetype SheetDocument::writeTexts(const std::vector<qsizetype> &ids, const QStringList &newTexts,
                                    const QString &what)
{
    return writeMade(ids, [&newTexts] { return newTexts; }, what);
}

qsizetype SheetDocument::writeSeries(const std::vector<qsizetype> &ids, const SeriesPattern &series,
                                     const QString &what)
{
    return writeMade(ids, [&] { return series.values(qsizetype(ids.size())); }, what);
}

qsizetype SheetDocument::writeMade(const std::vector<qsizetype> &ids, const std::function<QStringList()> &make,
                                   const QString &what)
{
    std::vector<TextsCommand::Change> changes;
    std::optional<SheetTexts> made;
    // The texts, the changes and the texts they make, beside the window over
    // many fields.
    const auto work = [&](const std::atomic<bool> &cancelled) {
        const QStringList newTexts = make();
        const qsizetype count = qMin(qsizetype(ids.size()), newTexts.size());
        for (qsizetype i = 0; i < count; ++i) {
            if ((i & 4095) == 0 && cancelled.load(std::memory_order_relaxed))
                return;
            const qsizetype id = ids[size_t(i)];
            if (id < 0)
                continue;
            QString before = text(id);
            if (before != newTexts.at(i))
                changes.push_back({id, std::move(before), newTexts.at(i)});
        }
        changes.shrink_to_fit();
        if (qsizetype(changes.size()) > TextsCommand::madeAtOnce)
            made = textsWith(changes, true, &cancelled);
    };
    if (qsizetype(ids.size()) > TextsCommand::madeAtOnce) {
        if (!runLong(tr("%1…").arg(what), work)) {
            if (made)
                freeBeside(std::move(*made));
            TextsCommand::freeBeside(std::move(changes));
            return -1;
        }
    } else {
        const std::atomic<bool> never = false;
        work(never);
    }
    const auto changed = qsizetype(changes.size());
    if (changed > 0)
        history.push(new TextsCommand(this, std::move(changes), what, std::move(made)));
    return changed;
}

bool SheetDocument::runLong(const QString &label, const std::function<void(const std::atomic<bool> &)> &work)
{
    if (longWork)
        return longWork(label, work);
    const std::atomic<bool> never = false;
    work(never);
    return true;
}

SheetTexts SheetDocument::textsWith(const std::vector<TextsCommand::Change> &changes, bool after,
                                    const std::atomic<bool> *cancelled) const
{
    SheetTexts made = texts;
    qsizetype n = 0;
    if (!made.isCompact()) {
        // Packed texts take the changes straight into a new packing: as
        // many edits held apart would cost a string each on the way.
        std::vector<std::pair<qsizetype, QStringView>> written;
        written.reserve(changes.size());
        for (const TextsCommand::Change &change : changes)
            written.push_back({change.id, after ? change.after : change.before});
        made.repack(std::move(written), cancelled);
        return made;
    }
    for (const TextsCommand::Change &change : changes) {
        if (cancelled && (++n & 1023) == 0 && cancelled->load(std::memory_order_relaxed))
            break;
        made.set(change.id, after ? change.after : change.before);
    }
    return made;
}

void SheetDocument::adoptTexts(SheetTexts made, const std::vector<TextsCommand::Change> &changes)
{
    freeBeside(std::exchange(texts, std::move(made)));
    notifyChanges(changes);
}

void SheetDocument::notifyChanges(const std::vector<TextsCommand::Change> &changes)
{
    if (changes.empty())
        return;
    // The views hear of neighbouring fields at once, a run a time: a series
    // over thousands of fields is one run, measured for the tint beside the
    // window rather than field by field. A field between two changed ones
    // only shows again. Past a few dozen runs they hear of the whole span
    // once.
    constexpr qsizetype gap = 16;
    constexpr size_t mostRuns = 64;
    std::vector<std::pair<qsizetype, qsizetype>> runs;
    qsizetype lowest = changes.front().id;
    qsizetype highest = lowest;
    for (const TextsCommand::Change &change : changes) {
        lowest = qMin(lowest, change.id);
        highest = qMax(highest, change.id);
        if (runs.size() > mostRuns)
            continue;
        if (!runs.empty() && change.id > runs.back().second && change.id <= runs.back().second + gap)
            runs.back().second = change.id;
        else
            runs.emplace_back(change.id, change.id);
    }
    if (runs.size() > mostRuns) {
        emit fieldsChanged(lowest, highest);
        return;
    }
    for (const auto &[first, last] : runs)
        emit fieldsChanged(first, last);
}

void SheetDocument::stepBack(bool after)
{
    QMetaObject::invokeMethod(
        this, [this, after] { after ? history.undo() : history.redo(); }, Qt::QueuedConnection);
}

void SheetDocument::freeBeside(SheetTexts old)
{
    // A small sheet goes at once.
    if (old.size() < 100'000 && old.editCount() < 10'000)
        return;
    QThreadPool::globalInstance()->start([held = std::make_shared<SheetTexts>(std::move(old))]() mutable {
        held.reset();
    });
}
