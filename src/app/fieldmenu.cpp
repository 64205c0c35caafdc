#include "app/fieldmenu.h"

#include "dialogs/fontdialog.h"
#include "document/fieldcommands.h"
#include "document/sheetdocument.h"
#include "document/specialglyphfont.h"
#include "prompts/prompts.h"
#include "sheet/preview.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

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
    connect(&dialog, &FontDialog::setThisFont, this, [this, doc, &ids](const QFont &chosen) {
        std::vector<FontIndexCommand::Run> runs;
        for (const qsizetype id : ids) {
            QFont font = doc->font(id);
            if (chosen.pixelSize() > 0)
                font.setPixelSize(chosen.pixelSize());
            else if (chosen.pointSizeF() > 0)
                font.setPointSizeF(chosen.pointSizeF());
            font.setUnderline(chosen.underline());
            font.setStyle(chosen.style());
            font.setWeight(chosen.weight());
            const quint32 before = doc->fontIndex(id);
            const quint32 after = doc->intern(SpecialGlyphFont::fieldFont(font));
            if (after != before)
                FontIndexCommand::add(runs, id, before, after);
        }
        if (!runs.empty())
            doc->undoStack()->push(new FontIndexCommand(doc, std::move(runs), tr("Zmiana czcionki")));
    });
    Prompts::current().runDialog(dialog);
}
