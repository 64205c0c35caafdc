#include "app/sheetundokeys.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QUndoStack>

namespace {

class UndoKeys final : public QObject
{
public:
    UndoKeys(QLineEdit *box, QUndoStack *history)
        : QObject(box)
        , box(box)
        , history(history)
    {
        connect(box, &QLineEdit::textEdited, this, [this] {
            if (this->history)
                typedAt = this->history->index();
        });
        box->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // A box takes Ctrl+Z for itself by accepting the override; left
        // unaccepted, the key reaches the window's Undo.
        if (watched != box || event->type() != QEvent::ShortcutOverride || !history)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool undo = key->matches(QKeySequence::Undo);
        const bool redo = key->matches(QKeySequence::Redo);
        if (!undo && !redo)
            return false;
        const bool boxHasIt = undo ? box->isUndoAvailable() : box->isRedoAvailable();
        if (boxHasIt && typedAt == history->index())
            return false;
        event->ignore();
        return true;
    }

private:
    QLineEdit *box;
    QPointer<QUndoStack> history;
    int typedAt = -1;   // the sheet's history index when the box was last typed in
};

} // namespace

namespace SheetUndoKeys {

void install(QLineEdit *box, QUndoStack *history)
{
    new UndoKeys(box, history);
}

} // namespace SheetUndoKeys
