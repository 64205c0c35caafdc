#include "sheet/preview.h"

#include "document/specialglyphfont.h"
#include "sheet/mygraphicsitem.h"

#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <limits>

// The selection on the page shown: clicks, the keys that move and extend
// it, the next field that does not fit, and the edit of the selected field.


// -------------------------------------------------------------- selection

void Preview::clearSelection(bool report)
{
    const bool hadSelection = selectedCount > 0;
    for (MyGraphicsItem *item : std::as_const(items))
        item->setSelected(false);
    selectedCount = 0;
    if (report && hadSelection)
        emit sharedFontSize(sharedPixelSize());
}

int Preview::sharedPixelSize() const
{
    const int defaultSize = SpecialGlyphFont::defaultFont().pixelSize();
    int shared = -1;
    const auto take = [&shared](int size) {
        if (shared < 0)
            shared = size;
        return size == shared;
    };
    if (selectedCount > 0) {
        for (const MyGraphicsItem *item : std::as_const(items)) {
            if (item->isSelected() && !take(item->currentFont().pixelSize()))
                return defaultSize;
        }
    } else {
        // Every field of the sheet: fonts are few, so one look per font.
        const qsizetype count = fieldCount();
        quint32 last = std::numeric_limits<quint32>::max();
        for (qsizetype id = 0; id < count; ++id) {
            const quint32 index = doc.fontIndex(id);
            if (index == last)
                continue;
            last = index;
            if (!take(doc.fontAt(index).pixelSize()))
                return defaultSize;
        }
    }
    return shared < 0 ? defaultSize : shared;
}

void Preview::toggle(MyGraphicsItem *item)
{
    const bool select = !item->isSelected();
    item->setSelected(select);
    selectedCount += select ? 1 : -1;
}

void Preview::clickedItem(int id, QFont font, bool shift, bool ctrl)
{
    MyGraphicsItem *clicked = field(id);
    if (!clicked)
        return;
    // A Shift+click needs an anchor on this page: without one (the first click,
    // or an anchor on another page or beyond a smaller sheet) it counts as a
    // plain click.
    const bool anchorValid = field(anchorId) != nullptr;
    rectangleCursor = -1;
    if (shift && anchorValid) {
        if (id > anchorId) {
            for (int i = anchorId + 1; i <= id; ++i)
                toggle(field(i));
        } else if (id < anchorId) {
            for (int i = anchorId; i >= id; --i)
                toggle(field(i));
        }
        anchorId = id;
    } else {
        anchorId = id;
        const bool wasSelected = clicked->isSelected();
        if (!ctrl || shift)
            clearSelection(false);
        if (wasSelected) {
            if (clicked->isSelected())
                toggle(clicked);
        } else {
            toggle(clicked);
        }
    }
    emit selectedId(id, font);
    // A Ctrl+click that unselected the last selected field.
    if (selectedCount == 0)
        emit sharedFontSize(sharedPixelSize());
}

// ------------------------------------------------------ fields that do not fit

qsizetype Preview::nextOverflowing(bool forward)
{
    const MyGraphicsItem *anchor = field(anchorId);
    qsizetype from = forward ? shownFirstId - 1 : shownFirstId + items.size();
    if (anchor && anchor->isSelected())
        from = anchorId;
    return fitTracker.next(from, forward);
}

int Preview::pageOf(qsizetype id) const
{
    const qsizetype perPage = qsizetype(sheet.barettesPerPage) * (sheet.labelsPerBarette + 1);
    return perPage > 0 ? int(id / perPage) : 0;
}

void Preview::selectField(qsizetype id)
{
    MyGraphicsItem *item = field(id);
    if (!item)
        return;
    clearSelection(false);
    toggle(item);
    anchorId = int(id);
    rectangleCursor = -1;
    ensureVisible(item);
    emit selectedId(int(id), item->currentFont());
}

bool Preview::editSelectedField()
{
    // Of several fields selected, the first is edited (the dialog holds one text).
    if (selectedCount < 1)
        return false;
    for (MyGraphicsItem *item : std::as_const(items)) {
        if (item->isSelected()) {
            item->openEditDialog();   // the double-click's dialog
            return true;
        }
    }
    return false;
}

// ------------------------------------------------------- selection keys

void Preview::keyPressEvent(QKeyEvent *event)
{
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    const bool extend = mods == Qt::ShiftModifier;
    if (items.isEmpty() || (mods != Qt::NoModifier && !extend)) {
        QGraphicsView::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Escape:
        if (!extend && selectedCount > 0) {
            clearSelection();
            return;
        }
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_F2:
        if (!extend && editSelectedField())
            return;
        break;
    case Qt::Key_F10:
        // Shift+F10, as the Menu key (contextMenuEvent).
        if (extend) {
            requestFieldMenu(nullptr, QPoint());
            return;
        }
        break;
    case Qt::Key_Up:
        stepSelection(SheetLayout::Step::Up, extend);
        return;
    case Qt::Key_Down:
        stepSelection(SheetLayout::Step::Down, extend);
        return;
    case Qt::Key_Left:
        stepSelection(SheetLayout::Step::Left, extend);
        return;
    case Qt::Key_Right:
        stepSelection(SheetLayout::Step::Right, extend);
        return;
    case Qt::Key_Home:
    case Qt::Key_End: {
        const qsizetype to = (event->key() == Qt::Key_Home ? items.first() : items.last())->fieldId();
        if (extend)
            extendSelection(to);
        else
            selectField(to);
        return;
    }
    default:
        break;
    }
    QGraphicsView::keyPressEvent(event);
}

void Preview::stepSelection(SheetLayout::Step step, bool extend)
{
    // The keyboard is on the field last clicked or reached by a key, also
    // when Esc has cleared the selection; on a page it has not been on yet
    // an arrow selects the page's first field.
    if (!field(anchorId)) {
        selectField(items.first()->fieldId());
        return;
    }
    const qsizetype to = sheet.neighbour(anchorId, step, baretteCount());
    if (to < 0)
        return;
    if (extend) {
        // The selection lives on the page shown: it is not carried over.
        if (field(to))
            extendRectangle(to);
        return;
    }
    if (!field(to)) {
        swichPage(pageOf(to) + 1);
        if (!field(to))
            return;
    }
    selectField(to);
}

void Preview::extendRectangle(qsizetype id)
{
    // A new run of Shift+arrows starts where the keyboard is.
    if (rectangleCursor != anchorId || !field(rectangleAnchor))
        rectangleAnchor = anchorId;
    MyGraphicsItem *target = field(id);
    const QRectF span = field(rectangleAnchor)->frame().united(target->frame());
    clearSelection(false);
    for (MyGraphicsItem *item : std::as_const(items)) {
        if (span.contains(item->frame().center()))
            toggle(item);
    }
    anchorId = int(id);
    rectangleCursor = anchorId;
    ensureVisible(target);
    emit selectedId(int(id), target->currentFont());
}

void Preview::extendSelection(qsizetype id)
{
    MyGraphicsItem *target = field(id);
    // Every field from the keyboard's field to the page's end. (Shift+Up
    // after Shift+Down shrinks the rectangle of extendRectangle().)
    const bool from = field(anchorId) != nullptr;
    const qsizetype first = from ? qMin<qsizetype>(anchorId, id) : id;
    const qsizetype last = from ? qMax<qsizetype>(anchorId, id) : id;
    for (qsizetype i = first; i <= last; ++i) {
        if (!field(i)->isSelected())
            toggle(field(i));
    }
    anchorId = int(id);
    ensureVisible(target);
    emit selectedId(int(id), target->currentFont());
}

void Preview::mousePressEvent(QMouseEvent *event)
{
    // A right press on a field only leads to its menu (contextMenuEvent): it
    // neither selects nor starts a drag.
    if (event->button() == Qt::RightButton) {
        const auto *onField = dynamic_cast<const MyGraphicsItem *>(itemAt(event->position().toPoint()));
        if (onField && onField->fieldId() >= 0) {
            event->accept();
            return;
        }
    }
    // Beside the fields: the empty page, a gap between barettes, a top strip,
    // the gray around the page.
    const auto *hit = dynamic_cast<const MyGraphicsItem *>(itemAt(event->position().toPoint()));
    const bool beside = (!hit || hit->fieldId() < 0) && event->button() == Qt::LeftButton
                        && !(event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier));
    if (beside)
        clearSelection();
    QGraphicsView::mousePressEvent(event);
    if (beside)
        event->accept();
}

void Preview::contextMenuEvent(QContextMenuEvent *event)
{
    if (event->reason() != QContextMenuEvent::Mouse) {
        // The Menu key: the menu of the keyboard's field.
        event->accept();
        requestFieldMenu(nullptr, QPoint());
        return;
    }
    auto *item = dynamic_cast<MyGraphicsItem *>(itemAt(event->pos()));
    if (!item || item->fieldId() < 0) {
        event->ignore();
        return;
    }
    event->accept();
    requestFieldMenu(item, event->globalPos());
}

void Preview::requestFieldMenu(MyGraphicsItem *item, QPoint globalPos)
{
    if (!item) {
        // From the keyboard: the field it is on, else the first selected or
        // the page's first, with the menu over it.
        if (items.isEmpty())
            return;
        item = field(anchorId);
        if (!item) {
            const auto selected = std::find_if(items.cbegin(), items.cend(),
                                               [](const MyGraphicsItem *f) { return f->isSelected(); });
            item = selected != items.cend() ? *selected : items.first();
        }
        ensureVisible(item);
        globalPos = viewport()->mapToGlobal(mapFromScene(item->frame().center()));
    }
    // As a file manager does: a field of the selection keeps it, another
    // field is selected alone.
    const qsizetype id = item->fieldId();
    if (!item->isSelected()) {
        selectField(id);
    } else {
        anchorId = int(id);
        rectangleCursor = -1;
        emit selectedId(int(id), item->currentFont());
    }
    emit fieldMenuRequested(globalPos);
}

void Preview::focusInEvent(QFocusEvent *event)
{
    QGraphicsView::focusInEvent(event);
    viewport()->update();
}

void Preview::focusOutEvent(QFocusEvent *event)
{
    QGraphicsView::focusOutEvent(event);
    viewport()->update();
}

void Preview::drawForeground(QPainter *painter, const QRectF &rect)
{
    QGraphicsView::drawForeground(painter, rect);
    if (!hasFocus())
        return;
    painter->save();
    painter->resetTransform();
    painter->setBrush(Qt::NoBrush);
    painter->setPen(QPen(palette().color(QPalette::Highlight), 3));
    painter->drawRect(QRectF(viewport()->rect()).adjusted(1.5, 1.5, -1.5, -1.5));
    painter->restore();
}
