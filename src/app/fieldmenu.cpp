#include "app/fieldmenu.h"

#include "dialogs/fontdialog.h"
#include "document/fieldcommands.h"
#include "document/sheetdocument.h"
#include "prompts/prompts.h"
#include "sheet/preview.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

#include <memory>
#include <vector>

FieldMenu::FieldMenu(QWidget *window, Preview *preview)
    : QObject(window)
    , preview(preview)
    , editAct(new QAction(window))
    , fontAct(new QAction(window))
    , fieldMenu(new QMenu(window))
{
    editAct->setObjectName(QStringLiteral("editFieldAct"));
    fontAct->setObjectName(QStringLiteral("fieldFontAct"));
    fieldMenu->setObjectName(QStringLiteral("fieldMenu"));
    retranslate();
    connect(editAct, &QAction::triggered, preview, &Preview::editSelectedField);
    connect(fontAct, &QAction::triggered, this, &FieldMenu::chooseFont);
    connect(preview, &Preview::fieldMenuRequested, fieldMenu, [this](QPoint at) { fieldMenu->popup(at); });
    // Offered while a field is selected.
    const auto offer = [this, preview] {
        editAct->setEnabled(preview->selectionCount() > 0);
        fontAct->setEnabled(preview->selectionCount() > 0);
    };
    connect(preview, &Preview::selectedId, this, offer);
    connect(preview, &Preview::sharedFontSize, this, offer);
    connect(preview, &Preview::pageShown, this, offer);
    offer();
}

void FieldMenu::retranslate()
{
    editAct->setText(tr("E&dytuj pole…"));
    editAct->setStatusTip(tr("Otwiera okno edycji zaznaczonego pola (Enter, F2)"));
    fontAct->setText(tr("&Ustaw czcionkę…"));
    fontAct->setStatusTip(tr("Ustawia rozmiar i styl czcionki wszystkich zaznaczonych pól"));
}

void FieldMenu::chooseFont()
{
    const std::vector<qsizetype> ids = preview->selectedIds();
    if (ids.empty())
        return;
    SheetDocument *doc = preview->document();
    FontDialog dialog(doc->font(ids.front()), preview->window());
    // The font each field takes is worked out as for the tool bar's commands.
    connect(&dialog, &FontDialog::setThisFont, this, [this, doc, &ids](const QFont &chosen) {
        auto command = std::make_unique<FontCommand>(doc, ids, preview->fieldCount(), FontCommand::Kind::Chosen, 0,
                                                     QString(), tr("Zmiana czcionki"), chosen);
        if (command->changesAnything())
            doc->undoStack()->push(command.release());
    });
    Prompts::current().runDialog(dialog);
}
