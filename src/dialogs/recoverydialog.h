#pragma once

#include <QDialog>
#include <QList>
#include <QString>

class QPushButton;
class QTreeWidget;

// The offer at start of the recovery copies that windows closed uncleanly
// left: one row a copy, newest first, each saying what it holds, so that
// two copies of the same file are told apart. "Przywróć" opens the copy
// chosen in the window, "Porzuć" removes the copies chosen from the list
// (they are deleted once the dialog closes), "Później" (or Escape) keeps
// the rest for the next start.
class RecoveryDialog : public QDialog
{
    Q_OBJECT

public:
    struct Copy
    {
        QString sheet;     // the file, project or workbook, or "bez nazwy"
        QString when;      // the time it was written, with seconds
        QString holds;     // the fields written over and the first one's text
    };
    enum class Choice { Later, Discard, Restore };

    explicit RecoveryDialog(const QList<Copy> &copies, QWidget *parent = nullptr);

    // What became of each copy, in the order given.
    const QList<Choice> &choices() const { return chosen; }
    // The copy `row` (in the order given) chosen as by its buttons: Restore
    // accepts the dialog, Discard takes the row from the list.
    void choose(qsizetype row, Choice choice);

private:
    void selectionChanged();
    void discardSelected();

    QList<Choice> chosen;
    QTreeWidget *twCopies = nullptr;
    QPushButton *pbRestore = nullptr;
    QPushButton *pbDiscard = nullptr;
};
