#pragma once

#include <QFont>
#include <QList>
#include <QObject>
#include <QRectF>
#include <QString>
#include <QTimer>

#include <vector>

class SheetDocument;
struct SheetLayout;

// The frames of a sheet's fields. Every header has the same frame size and
// so has every label, so a field's fit follows from its text, its font and
// whether it is a header (id a multiple of labels + 1).
struct FieldFrames
{
    QRectF header;
    QRectF label;
    int perBarette = 1;
    qsizetype fieldCount = 0;   // none while no barette fits on a page

    static FieldFrames of(const SheetLayout &sheet, const SheetDocument &document);
    const QRectF &frame(qsizetype id) const { return id % perBarette == 0 ? header : label; }
    // Whether a field's fit may differ between the two.
    bool sameFrames(const FieldFrames &other) const;
};

// Which fields of the sheet do not fit their frames, kept as the document
// and the layout change, for the status bar, the way to each such field and
// the question before printing.
//
// A sheet may hold 900,000 fields and measuring one costs microseconds, so a
// field is measured again only when it changed. A few changed fields are
// measured at once; a whole sheet (another file, a font command on every
// field, another layout) is measured in slices of at most sliceMs from the
// event loop, and whoever needs the answer before that (a count, the next
// field, a print) has the rest measured first.
class FitTracker : public QObject
{
    Q_OBJECT

public:
    static constexpr int sliceMs = 20;

    // Both must outlive the tracker.
    FitTracker(const SheetDocument &document, const SheetLayout &sheet, QObject *parent = nullptr);

    // After the layout may have changed: fields are measured again when their
    // frames or grouping did.
    void layoutChanged();

    // Fields that do not fit.
    qsizetype count();
    // Of them, those with ids first..last; measures only these when needed.
    qsizetype countIn(qsizetype first, qsizetype last);
    // Of them, those on pages `pages` (from 0), each page counted once.
    qsizetype countOnPages(QList<int> pages);
    // The field that does not fit next after `id` (forward) or before it,
    // going round the sheet's end; `id` itself when it is the only one, -1
    // when there is none. `id` may lie just outside the sheet (-1, count).
    qsizetype next(qsizetype id, bool forward);
    // Whether every field's fit is known.
    bool isComplete() const { return unknown == 0; }

    // "1 pole", "3 pola", "5 pól".
    static QString fieldsText(qsizetype count);
    // "5 pól nie mieści się w ramkach." (with the verb that goes with the number).
    static QString overflowSentence(qsizetype count);

signals:
    // The count of fields that do not fit once every field is measured;
    // -1 when a whole sheet is about to be measured again.
    void countChanged(qsizetype count);

private:
    enum State : quint8 { Unknown, Fits, Overflows };

    void changed(qsizetype first, qsizetype last);
    void resetAll();
    void forget(qsizetype first, qsizetype last);
    void measure(qsizetype id);
    void measureRange(qsizetype first, qsizetype last);
    void finish();
    void work();
    void report();

    const SheetDocument &document;
    const SheetLayout &sheet;
    FieldFrames frames;
    std::vector<State> states;
    qsizetype unknown = 0;
    qsizetype overflowing = 0;   // of the measured fields
    qsizetype cursor = 0;        // no field before it waits to be measured
    qsizetype told = -1;         // the count last reported
    QTimer worker;
};
