#pragma once

#include <QObject>
#include <QString>

class QStatusBar;
class QUndoStack;

// Status-bar lines that describe the sheet as it is now ("Wypełniono serią;
// wypełnione pola: 12.", "Pole wycięte: Ctrl+V przeniesie…"): shown like any
// passing message, and taken away as soon as the sheet's history moves off
// the step they describe (an undo, a redo, the paste, another edit), so that
// the bar never describes a state the sheet has left.
class SheetMessages : public QObject
{
    Q_OBJECT

public:
    SheetMessages(QStatusBar *bar, QUndoStack *history, QObject *parent);

    void show(const QString &message);
    // The line shown now, put there by a command that just changed the
    // sheet, describes it: it goes as show()'s lines do.
    void adoptShown();

private:
    QStatusBar *bar;
    QUndoStack *history;
    QString shown;   // the line shown last, while it describes the sheet
    int step = -1;   // the history's index it describes
};
