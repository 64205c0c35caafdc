#include "app/accessiblenames.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QLineEdit>
#include <QToolBar>
#include <QToolButton>
#include <QWidget>

namespace {

struct Name
{
    const char *objectName;
    const char *name;
};

constexpr Name names[] = {
    {"pbFontSizeDown", QT_TRANSLATE_NOOP("AccessibleNames", "Zmniejsz czcionkę")},
    {"leFontSize", QT_TRANSLATE_NOOP("AccessibleNames", "Rozmiar czcionki")},
    {"pbFontSizeUp", QT_TRANSLATE_NOOP("AccessibleNames", "Powiększ czcionkę")},
    {"pbBold", QT_TRANSLATE_NOOP("AccessibleNames", "Pogrubienie")},
    {"pbItalic", QT_TRANSLATE_NOOP("AccessibleNames", "Pochylenie")},
    {"pbUnderline", QT_TRANSLATE_NOOP("AccessibleNames", "Podkreślenie")},
    {"pbPreviousPage", QT_TRANSLATE_NOOP("AccessibleNames", "Poprzednia strona")},
    {"pbNextPage", QT_TRANSLATE_NOOP("AccessibleNames", "Następna strona")},
    {"lePage", QT_TRANSLATE_NOOP("AccessibleNames", "Numer strony")},
    {"pbZoomOut", QT_TRANSLATE_NOOP("AccessibleNames", "Pomniejsz")},
    {"pbZoomReset", QT_TRANSLATE_NOOP("AccessibleNames", "Dopasuj stronę do okna")},
    {"pbZoomIn", QT_TRANSLATE_NOOP("AccessibleNames", "Powiększ")},
    {"pbOverflow", QT_TRANSLATE_NOOP("AccessibleNames", "Następne pole, które się nie mieści")},
    {"lbGeometryPicture", QT_TRANSLATE_NOOP("AccessibleNames", "Schemat wymiarów baretki")},
    {"pbFitSize", QT_TRANSLATE_NOOP("AccessibleNames", "Dopasuj rozmiar")},
    {"pbFindPrevious", QT_TRANSLATE_NOOP("AccessibleNames", "Poprzednie pasujące pole")},
    {"pbFindNext", QT_TRANSLATE_NOOP("AccessibleNames", "Następne pasujące pole")},
    {"pbFindClose", QT_TRANSLATE_NOOP("AccessibleNames", "Zamknij wyszukiwanie")},
};

QString translated(const char *text)
{
    return QCoreApplication::translate("AccessibleNames", text);
}

} // namespace

void AccessibleNames::apply(QWidget *window)
{
    for (const Name &entry : names) {
        if (auto *widget = window->findChild<QWidget *>(QLatin1String(entry.objectName)))
            widget->setAccessibleName(translated(entry.name));
    }
    // The clear button of a text box, a picture of a cross.
    const QList<QLineEdit *> edits = window->findChildren<QLineEdit *>();
    for (QLineEdit *edit : edits) {
        if (!edit->isClearButtonEnabled())
            continue;
        const QList<QToolButton *> clear = edit->findChildren<QToolButton *>(Qt::FindDirectChildrenOnly);
        for (QToolButton *button : clear)
            button->setAccessibleName(translated(QT_TRANSLATE_NOOP("AccessibleNames", "Wyczyść")));
    }
    // The "»" button of a tool bar too narrow for its controls: Tab reaches
    // it (Qt leaves it to the mouse), as the controls it hides are out of the
    // Tab order until it shows them.
    const QList<QToolBar *> bars = window->findChildren<QToolBar *>();
    for (QToolBar *bar : bars) {
        if (auto *more = bar->findChild<QToolButton *>(QStringLiteral("qt_toolbar_ext_button"))) {
            more->setAccessibleName(translated(QT_TRANSLATE_NOOP("AccessibleNames", "Więcej: %1"))
                                        .arg(bar->windowTitle()));
            more->setFocusPolicy(Qt::TabFocus);
        }
    }
}
