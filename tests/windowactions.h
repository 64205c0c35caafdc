#pragma once

#include <QAction>
#include <QList>
#include <QString>
#include <QWidget>

// The action of `w` (a window, a dialog) whose text, access key included,
// is `text`; null when it has none.
inline QAction *action(QWidget &w, const QString &text)
{
    const QList<QAction *> all = w.findChildren<QAction *>();
    for (QAction *a : all) {
        if (a->text() == text)
            return a;
    }
    return nullptr;
}
