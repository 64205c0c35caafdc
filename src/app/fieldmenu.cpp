#include "app/fieldmenu.h"

#include "sheet/preview.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

FieldMenu::FieldMenu(QWidget *window, Preview *preview)
    : QObject(window)
    , editAct(new QAction(window))
    , fieldMenu(new QMenu(window))
{
    editAct->setObjectName(QStringLiteral("editFieldAct"));
    fieldMenu->setObjectName(QStringLiteral("fieldMenu"));
    retranslate();
    connect(editAct, &QAction::triggered, preview, &Preview::editSelectedField);
    connect(preview, &Preview::fieldMenuRequested, fieldMenu, [this](QPoint at) { fieldMenu->popup(at); });
    // Offered while a field is selected.
    const auto offer = [this, preview] { editAct->setEnabled(preview->selectionCount() > 0); };
    connect(preview, &Preview::selectedId, this, offer);
    connect(preview, &Preview::sharedFontSize, this, offer);
    connect(preview, &Preview::pageShown, this, offer);
    offer();
}

void FieldMenu::retranslate()
{
    editAct->setText(tr("E&dytuj pole…"));
    editAct->setStatusTip(tr("Otwiera okno edycji zaznaczonego pola (Enter, F2)"));
}
