#include "app/sheetmessages.h"

#include <QStatusBar>
#include <QUndoStack>

SheetMessages::SheetMessages(QStatusBar *statusBar, QUndoStack *sheetHistory, QObject *parent)
    : QObject(parent)
    , bar(statusBar)
    , history(sheetHistory)
{
    connect(history, &QUndoStack::indexChanged, this, [this](int index) {
        if (shown.isEmpty() || index == step)
            return;
        // Another message may have taken its place meanwhile: that one stays.
        if (bar->currentMessage() == shown)
            bar->clearMessage();
        shown.clear();
    });
}

void SheetMessages::show(const QString &message)
{
    bar->showMessage(message, 10000);
    shown = message;
    step = history->index();
}

void SheetMessages::adoptShown()
{
    shown = bar->currentMessage();
    step = history->index();
}
