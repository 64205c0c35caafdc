#include "printing/fittracker.h"

#include "document/sheetdocument.h"
#include "layout/sheetlayout.h"
#include "printing/fieldpainter.h"
#include "system/plural.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>

namespace {
// A change of up to this many fields is measured at once.
constexpr qsizetype measuredAtOnce = 512;
} // namespace

FieldFrames FieldFrames::of(const SheetLayout &sheet, const SheetDocument &document)
{
    FieldFrames f;
    const QPointF origin = sheet.baretteOrigin(0, 0);
    f.header = sheet.headerRect(origin);
    f.label = sheet.labelRect(origin, 1);
    f.perBarette = sheet.labelsPerBarette + 1;
    f.fieldCount = sheet.barettesPerPage > 0 ? document.fieldCount(sheet.labelsPerBarette) : 0;
    return f;
}

bool FieldFrames::sameFrames(const FieldFrames &other) const
{
    return perBarette == other.perBarette && header.size() == other.header.size()
           && label.size() == other.label.size();
}

FitTracker::FitTracker(const SheetDocument &document, const SheetLayout &sheet, QObject *parent)
    : QObject(parent)
    , document(document)
    , sheet(sheet)
{
    worker.setSingleShot(true);
    worker.setInterval(0);
    connect(&worker, &QTimer::timeout, this, &FitTracker::work);
    connect(&document, &SheetDocument::fieldsChanged, this, &FitTracker::changed);
    connect(&document, &SheetDocument::contentReset, this, &FitTracker::resetAll);
}

QString FitTracker::fieldsText(qsizetype count)
{
    return counted(count, tr("%1 pole", "one"), tr("%1 pola", "few"), tr("%1 pól", "many"));
}

QString FitTracker::overflowSentence(qsizetype count)
{
    // The verb agrees with the number: a sentence for each of the three forms,
    // which Polish writes alike for one and many, English for few and many.
    QString sentence;
    switch (pluralForm(count)) {
    case PluralForm::One:
        sentence = tr("%1 nie mieści się w ramkach.", "one");
        break;
    case PluralForm::Few:
        sentence = tr("%1 nie mieszczą się w ramkach.", "few");
        break;
    case PluralForm::Many:
        sentence = tr("%1 nie mieści się w ramkach.", "many");
        break;
    }
    return sentence.arg(fieldsText(count));
}

void FitTracker::layoutChanged()
{
    const FieldFrames now = FieldFrames::of(sheet, document);
    if (!now.sameFrames(frames)) {
        frames = now;
        resetAll();
        return;
    }
    frames = now;
    // The same frames, maybe more or fewer of them (a page now holds none).
    changed(qMin(qsizetype(states.size()), frames.fieldCount), qMax(qsizetype(states.size()), frames.fieldCount) - 1);
}

void FitTracker::resetAll()
{
    frames = FieldFrames::of(sheet, document);
    states.assign(size_t(frames.fieldCount), Unknown);
    unknown = frames.fieldCount;
    overflowing = 0;
    cursor = 0;
    if (told != -1) {
        told = -1;
        emit countChanged(-1);
    }
    report();
}

void FitTracker::changed(qsizetype first, qsizetype last)
{
    // Text written past the last line adds a barette.
    frames.fieldCount = sheet.barettesPerPage > 0 ? document.fieldCount(sheet.labelsPerBarette) : 0;
    const auto count = qsizetype(states.size());
    if (frames.fieldCount < count) {
        forget(frames.fieldCount, count - 1);
        unknown -= count - frames.fieldCount;
        states.resize(size_t(frames.fieldCount));
    } else if (frames.fieldCount > count) {
        states.resize(size_t(frames.fieldCount), Unknown);
        unknown += frames.fieldCount - count;
        cursor = qMin(cursor, count);
    }
    first = qMax<qsizetype>(first, 0);
    last = qMin(last, frames.fieldCount - 1);
    if (first <= last) {
        forget(first, last);
        cursor = qMin(cursor, first);
        if (last - first < measuredAtOnce) {
            measureRange(first, last);
        } else if (told != -1) {
            told = -1;
            emit countChanged(-1);
        }
    }
    report();
}

void FitTracker::forget(qsizetype first, qsizetype last)
{
    for (qsizetype id = first; id <= last; ++id) {
        State &state = states[size_t(id)];
        if (state == Overflows)
            --overflowing;
        if (state != Unknown)
            ++unknown;
        state = Unknown;
    }
}

void FitTracker::measure(qsizetype id)
{
    // As the page painter and the field items see it.
    const QString text = document.text(id);
    const QRectF &frame = frames.frame(id);
    const bool fits = FieldPainter::fits(
        text, FieldPainter::shownFont(text, document.fieldFontAt(document.fontIndex(id)), frame), frame);
    states[size_t(id)] = fits ? Fits : Overflows;
    --unknown;
    if (!fits)
        ++overflowing;
}

void FitTracker::measureRange(qsizetype first, qsizetype last)
{
    first = qMax<qsizetype>(first, 0);
    last = qMin(last, qsizetype(states.size()) - 1);
    for (qsizetype id = first; id <= last && unknown > 0; ++id) {
        if (states[size_t(id)] == Unknown)
            measure(id);
    }
}

void FitTracker::finish()
{
    if (unknown == 0)
        return;
    measureRange(cursor, qsizetype(states.size()) - 1);
    cursor = qsizetype(states.size());
    report();
}

void FitTracker::work()
{
    QElapsedTimer timer;
    timer.start();
    const auto count = qsizetype(states.size());
    while (unknown > 0 && cursor < count) {
        if (states[size_t(cursor)] == Unknown)
            measure(cursor);
        ++cursor;
        if ((cursor & 255) == 0 && timer.elapsed() >= sliceMs)
            break;
    }
    report();
}

void FitTracker::report()
{
    if (unknown > 0) {
        if (!worker.isActive())
            worker.start();
        return;
    }
    if (overflowing != told) {
        told = overflowing;
        emit countChanged(told);
    }
}

qsizetype FitTracker::count()
{
    finish();
    return overflowing;
}

qsizetype FitTracker::countIn(qsizetype first, qsizetype last)
{
    first = qMax<qsizetype>(first, 0);
    last = qMin(last, qsizetype(states.size()) - 1);
    measureRange(first, last);
    report();
    return last < first ? 0 : std::count(states.begin() + first, states.begin() + last + 1, Overflows);
}

qsizetype FitTracker::countOnPages(QList<int> pages)
{
    std::sort(pages.begin(), pages.end());
    pages.erase(std::unique(pages.begin(), pages.end()), pages.end());
    const qsizetype perPage = qsizetype(sheet.barettesPerPage) * (sheet.labelsPerBarette + 1);
    qsizetype result = 0;
    for (int p : std::as_const(pages))
        result += countIn(p * perPage, (p + 1) * perPage - 1);
    return result;
}

qsizetype FitTracker::next(qsizetype id, bool forward)
{
    finish();
    const auto count = qsizetype(states.size());
    if (overflowing == 0)
        return -1;
    // Round the end: after `id` to the last field, then the first on.
    for (qsizetype step = 1; step <= count + 1; ++step) {
        qsizetype at = forward ? id + step : id - step;
        at = ((at % (count + 1)) + count + 1) % (count + 1);   // count itself stands for "outside"
        if (at < count && states[size_t(at)] == Overflows)
            return at;
    }
    return -1;
}
