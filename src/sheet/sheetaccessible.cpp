#include "sheet/sheetaccessible.h"

#include "dialogs/formatslegend.h"
#include "sheet/mygraphicsitem.h"
#include "sheet/preview.h"

#include <QAccessible>
#include <QPointer>
#include <QWindow>

#include <limits>

namespace {

// One field of the sheet, by its id; it stays valid while the sheet has
// that many fields.
class FieldAccessible : public QAccessibleInterface
{
public:
    FieldAccessible(Preview *view, qsizetype id) : view(view), id(id) {}

    bool isValid() const override { return view && id < view->fieldCount(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return view ? view->window()->windowHandle() : nullptr; }
    QAccessibleInterface *parent() const override { return QAccessible::queryAccessibleInterface(view.data()); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    void setText(QAccessible::Text, const QString &) override {}
    QAccessible::Role role() const override { return QAccessible::ListItem; }

    QString text(QAccessible::Text t) const override
    {
        if (!isValid())
            return {};
        switch (t) {
        case QAccessible::Name: {
            // The symbols by their names, as the legend reads them.
            const QString text = FormatsLegend::spokenText(
                id < view->document()->lineCount() ? view->document()->text(id) : QString());
            if (!text.isEmpty())
                return text;
            const bool header = id % (view->layout().labelsPerBarette + 1) == 0;
            return header ? SheetAccessible::tr("pusty nagłówek") : SheetAccessible::tr("pusta etykieta");
        }
        case QAccessible::Description:
            return SheetAccessible::fieldDescription(view, id);
        default:
            return {};
        }
    }

    QRect rect() const override
    {
        const MyGraphicsItem *item = view ? view->field(id) : nullptr;
        if (!item)
            return {};
        const QRect inView = view->mapFromScene(item->mapToScene(item->frame())).boundingRect();
        return QRect(view->viewport()->mapToGlobal(inView.topLeft()), inView.size());
    }

    QAccessible::State state() const override
    {
        QAccessible::State s;
        s.selectable = true;
        s.focusable = true;
        if (!isValid()) {
            s.invalid = true;
            return s;
        }
        const MyGraphicsItem *item = view->field(id);
        if (!item) {
            s.offscreen = true;   // on a page not shown
            return s;
        }
        s.selected = item->isSelected();
        s.focused = view->hasFocus() && view->currentFieldId() == id;
        return s;
    }

    QPointer<Preview> view;
    const qsizetype id;
};

QAccessibleInterface *sheetFactory(const QString &, QObject *object)
{
    if (auto *view = qobject_cast<Preview *>(object))
        return new SheetAccessible(view);
    return nullptr;
}

} // namespace

SheetAccessible::SheetAccessible(Preview *view)
    : QAccessibleWidget(view, QAccessible::List)
{
}

SheetAccessible::~SheetAccessible()
{
    for (const QAccessible::Id handed : std::as_const(fields))
        QAccessible::deleteAccessibleInterface(handed);
}

void SheetAccessible::attach(Preview *view)
{
    static const bool installed = [] {
        QAccessible::installFactory(sheetFactory);
        return true;
    }();
    Q_UNUSED(installed);
    QObject::connect(view, &Preview::selectedId, view, [view, previous = qsizetype(-1)](int id) mutable {
        if (id < 0)
            return;
        const auto announce = [](QAccessibleEvent *event) {
            if (observer)
                observer(event);
            QAccessible::updateAccessibility(event);
        };
        // The field the selection left says it is no longer selected, so that
        // a reader that keeps the fields' states does not hold two selected.
        if (previous >= 0 && previous != id && previous < view->fieldCount()) {
            const MyGraphicsItem *left = view->field(previous);
            if (!left || !left->isSelected()) {
                QAccessibleEvent removed(view, QAccessible::SelectionRemove);
                removed.setChild(int(previous));
                announce(&removed);
            }
        }
        previous = id;
        if (view->hasFocus()) {
            QAccessibleEvent focus(view, QAccessible::Focus);
            focus.setChild(id);
            announce(&focus);
        }
        QAccessibleEvent selection(view, QAccessible::Selection);
        selection.setChild(id);
        announce(&selection);
    });
}

QString SheetAccessible::fieldDescription(Preview *view, qsizetype id)
{
    const SheetLayout &sheet = view->layout();
    const qsizetype perBarette = sheet.labelsPerBarette + 1;
    const qsizetype barette = id / perBarette;
    const qsizetype onPage = sheet.barettesPerPage > 0 ? barette % sheet.barettesPerPage : barette;
    const qsizetype label = id % perBarette;
    const int page = view->pageOf(id) + 1;
    QString where = label == 0 ? tr("baretka %1, nagłówek, strona %2").arg(onPage + 1).arg(page)
                               : tr("baretka %1, etykieta %2, strona %3").arg(onPage + 1).arg(label).arg(page);
    if (!view->fieldFits(id))
        where += tr(", nie mieści się");
    return where;
}

Preview *SheetAccessible::sheetView() const
{
    return static_cast<Preview *>(widget());
}

QString SheetAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Description) {
        const Preview *view = sheetView();
        return tr("Strona %1 z %2; strzałki wybierają pole, Enter je edytuje")
            .arg(view->currentPage() + 1)
            .arg(qMax<qsizetype>(view->pageCount(), 1));
    }
    if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
        return tr("Arkusz etykiet");
    return QAccessibleWidget::text(t);
}

int SheetAccessible::childCount() const
{
    return int(qMin<qsizetype>(sheetView()->fieldCount(), std::numeric_limits<int>::max()));
}

QAccessibleInterface *SheetAccessible::child(int index) const
{
    if (index < 0 || index >= childCount())
        return nullptr;
    if (const auto known = fields.constFind(index); known != fields.cend())
        return QAccessible::accessibleInterface(*known);
    auto *field = new FieldAccessible(sheetView(), index);
    fields.insert(index, QAccessible::registerAccessibleInterface(field));
    return field;
}

int SheetAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    const auto *field = dynamic_cast<const FieldAccessible *>(child);
    return field && field->view == sheetView() && field->isValid() ? int(field->id) : -1;
}

QAccessibleInterface *SheetAccessible::childAt(int x, int y) const
{
    const Preview *view = sheetView();
    const QPoint at = view->viewport()->mapFromGlobal(QPoint(x, y));
    const auto *item = dynamic_cast<const MyGraphicsItem *>(view->itemAt(at));
    return item && item->fieldId() >= 0 ? child(item->fieldId()) : nullptr;
}

QAccessibleInterface *SheetAccessible::focusChild() const
{
    const Preview *view = sheetView();
    const qsizetype current = view->currentFieldId();
    if (!view->hasFocus() || !view->field(current))
        return nullptr;
    return child(int(current));
}
