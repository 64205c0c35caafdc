#pragma once

#include <QFont>
#include <QObject>
#include <QString>

class Preview;
class QAction;
class QMenu;
class QWidget;

// Moving and copying a field's text and font with the keyboard, as a drag
// does with the mouse: "Wytnij pole" (Ctrl+X) or "Kopiuj pole" (Ctrl+C) takes
// the field the keyboard is on, "Wklej pole" (Ctrl+V) writes what was taken
// into the selected field, as one step to undo; after a cut that same step
// empties the field taken (its font stays). A field edited since it was
// taken is not emptied. The commands are offered only when they can act:
// cut and copy on a selected field, paste with something taken and another
// field selected.
class FieldClipboard : public QObject
{
    Q_OBJECT

public:
    FieldClipboard(QWidget *window, Preview *preview);

    void addTo(QMenu *menu);
    void retranslate();

    void take(bool cut);
    void paste();

signals:
    // What was taken, for the status bar.
    void statusMessage(const QString &message);

private:
    // The selected field the keyboard is on; -1 when none is.
    qsizetype selectedField() const;
    void updateEnabled();

    Preview *preview;
    QAction *cutAct;
    QAction *copyAct;
    QAction *pasteAct;
    qsizetype source = -1;   // the field taken; -1 when none
    bool cutting = false;
    QString text;
    QFont font;
};
