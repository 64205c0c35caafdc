#include "app/fieldclipboard.h"

#include "document/sheetdocument.h"
#include "sheet/mygraphicsitem.h"
#include "sheet/preview.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

FieldClipboard::FieldClipboard(QWidget *window, Preview *preview)
    : QObject(window)
    , preview(preview)
    , cutAct(new QAction(window))
    , copyAct(new QAction(window))
    , pasteAct(new QAction(window))
{
    cutAct->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));
    copyAct->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    pasteAct->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
    retranslate();
    connect(cutAct, &QAction::triggered, this, [this] { take(true); });
    connect(copyAct, &QAction::triggered, this, [this] { take(false); });
    connect(pasteAct, &QAction::triggered, this, &FieldClipboard::paste);
    // Another sheet: the field taken is gone.
    connect(preview->document(), &SheetDocument::contentReset, this, [this] {
        source = -1;
        updateEnabled();
    });
    // Offered while they can act, as the selection says.
    connect(preview, &Preview::selectedId, this, &FieldClipboard::updateEnabled);
    connect(preview, &Preview::sharedFontSize, this, &FieldClipboard::updateEnabled);
    connect(preview, &Preview::pageShown, this, &FieldClipboard::updateEnabled);
    updateEnabled();
}

void FieldClipboard::updateEnabled()
{
    const qsizetype selected = selectedField();
    cutAct->setEnabled(selected >= 0);
    copyAct->setEnabled(selected >= 0);
    pasteAct->setEnabled(source >= 0 && selected >= 0 && selected != source);
}

void FieldClipboard::addTo(QMenu *menu)
{
    menu->addActions({cutAct, copyAct, pasteAct});
}

void FieldClipboard::retranslate()
{
    cutAct->setText(tr("&Wytnij pole"));
    copyAct->setText(tr("Kop&iuj pole"));
    pasteAct->setText(tr("W&klej pole"));
}

qsizetype FieldClipboard::selectedField() const
{
    const qsizetype id = preview->currentFieldId();
    const MyGraphicsItem *item = preview->field(id);
    return item && item->isSelected() ? id : -1;
}

void FieldClipboard::take(bool cut)
{
    const qsizetype id = selectedField();
    if (id < 0)
        return;
    source = id;
    cutting = cut;
    text = preview->document()->text(id);
    font = preview->document()->font(id);
    updateEnabled();
    emit statusMessage(cut ? tr("Pole wycięte: Ctrl+V przeniesie je do zaznaczonego pola.")
                           : tr("Pole skopiowane: Ctrl+V wstawi je do zaznaczonego pola."));
}

void FieldClipboard::paste()
{
    const qsizetype target = selectedField();
    if (source < 0 || target < 0 || target == source)
        return;
    SheetDocument *doc = preview->document();
    const bool emptySource = cutting && source < preview->fieldCount() && doc->text(source) == text;
    QUndoStack *history = doc->undoStack();
    history->beginMacro(cutting ? tr("Przeniesienie pola") : tr("Wklejenie pola"));
    doc->editField(target, text, font, QString());
    if (emptySource)
        doc->editField(source, QString(), doc->font(source), QString());
    history->endMacro();
    // A cut field is moved once; a copy may be pasted again.
    if (cutting)
        source = -1;
    updateEnabled();
}
