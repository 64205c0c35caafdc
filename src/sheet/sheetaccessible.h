#pragma once

#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QHash>

class Preview;

// The sheet as a screen reader sees it: a list of every field of the sheet,
// in field id order, the pages not built included (their texts come from the
// document). A field is named by its text, its description tells where it
// stands ("baretka 3, etykieta 5, strona 2") and whether its text does not
// fit; it is selected when selected on the page shown, and focused when it
// is the field the keyboard is on while the sheet has the focus. Every move of
// the selection (a click, a key) is announced as a focus and selection
// event on the field, and the field it left as no longer selected. The
// symbol characters are read by their names, as the legend reads them.
class SheetAccessible : public QAccessibleWidget
{
    Q_DECLARE_TR_FUNCTIONS(SheetAccessible)

public:
    explicit SheetAccessible(Preview *view);
    ~SheetAccessible() override;

    // Registers the interfaces with QAccessible (once) and announces
    // `view`'s selection moves.
    static void attach(Preview *view);
    // Sees every announcement before QAccessible does (which drops them while
    // no screen reader listens): for tests.
    static inline void (*observer)(QAccessibleEvent *event) = nullptr;
    // Where field `id` stands, with "nie mieści się" when its text does not fit.
    static QString fieldDescription(Preview *view, qsizetype id);

    QAccessible::Role role() const override { return QAccessible::List; }
    QString text(QAccessible::Text t) const override;
    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    QAccessibleInterface *focusChild() const override;

private:
    Preview *sheetView() const;

    // The field interfaces handed out, by field id; QAccessible owns them
    // and this deletes them with the sheet's.
    mutable QHash<qsizetype, QAccessible::Id> fields;
};
