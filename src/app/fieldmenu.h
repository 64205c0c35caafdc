#pragma once

#include <QObject>

class Preview;
class QAction;
class QMenu;
class QWidget;

// The sheet's field menu: a right click on a field (which keeps a selection
// it belongs to), the Menu key or Shift+F10 show the window's commands on
// fields, the same actions as in the "Edycja" menu. "Edytuj pole…" opens the
// edit dialog of the selected field, as Enter and F2 do; "Ustaw czcionkę…"
// the font dialog for every selected field: each "Ustaw" gives them all the
// size and style chosen, each keeping its typeface, as one step to undo.
class FieldMenu : public QObject
{
    Q_OBJECT

public:
    FieldMenu(QWidget *window, Preview *preview);

    QAction *editAction() const { return editAct; }
    QAction *fontAction() const { return fontAct; }
    // Filled by the window with its actions.
    QMenu *menu() const { return fieldMenu; }
    void retranslate();

    void chooseFont();

private:
    Preview *preview;
    QAction *editAct;
    QAction *fontAct;
    QMenu *fieldMenu;
};
