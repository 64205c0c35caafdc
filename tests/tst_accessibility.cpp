// The window as a screen reader sees it, walked through QAccessible in the
// process (no accessibility bus): every control shown has a name, a spin box
// is read with its own label, and the sheet's fields can be read, texts and
// places, and announce where the selection went. And the keyboard alone: every
// command of an icon button has a menu entry with a shortcut of its own, and
// Tab leaves the tables and text boxes. And every icon has its picture for
// screens of scale factor 2.

#include "app/mainwindow.h"
#include "fakeprompts.h"
#include "windowactions.h"
#include "testfiles.h"
#include "document/sheetdocument.h"
#include "sheet/mygraphicsitem.h"
#include "sheet/preview.h"
#include "sheet/sheetaccessible.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QShortcut>
#include <QTableWidget>
#include <QTest>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>
#include <QWidgetAction>

#include <algorithm>
#include <memory>

namespace {

bool interactive(QAccessible::Role role)
{
    switch (role) {
    case QAccessible::PushButton:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::ComboBox:
    case QAccessible::SpinBox:
    case QAccessible::EditableText:
    case QAccessible::Slider:
    case QAccessible::ButtonMenu:
    case QAccessible::ButtonDropDown:
    case QAccessible::List:
    case QAccessible::ListItem:
    case QAccessible::Table:
        return true;
    default:
        return false;
    }
}

// The text of the label tied to `iface` (a group box around it is no label).
QString labelOf(const QAccessibleInterface *iface)
{
    const auto related = iface->relations(QAccessible::Label);
    for (const auto &[label, relation] : related) {
        if (label->role() == QAccessible::StaticText)
            return label->text(QAccessible::Name);
    }
    return {};
}

// What a screen reader would miss: a control shown without a name, a combo box
// tied to no label, a spin box whose name is not its own label's text.
void walk(QAccessibleInterface *iface, const QString &path, QStringList &faults)
{
    if (!iface || !iface->isValid() || iface->state().invisible || iface->state().offscreen)
        return;
    const QString name = iface->text(QAccessible::Name);
    const QString where = path + QLatin1Char('/') + (iface->object() ? iface->object()->objectName() : name);
    const QAccessible::Role role = iface->role();
    if (role == QAccessible::ComboBox) {
        // Read on Linux by its value and its label.
        if (labelOf(iface).isEmpty())
            faults << where + QStringLiteral(": combo box without a label");
    } else if ((interactive(role) || role == QAccessible::Graphic) && name.trimmed().isEmpty()) {
        faults << where + QStringLiteral(": no name");
    } else if (interactive(role) && role != QAccessible::ListItem && !name.contains(QRegularExpression(QStringLiteral("\\w")))) {
        // "✕", "»", "+": a picture, not a name.
        faults << where + QStringLiteral(": named only \"%1\"").arg(name);
    }
    if (role == QAccessible::SpinBox && name != labelOf(iface))
        faults << where + QStringLiteral(": read as \"%1\", its label is \"%2\"").arg(name, labelOf(iface));
    for (int i = 0; i < iface->childCount(); ++i)
        walk(iface->child(i), where, faults);
}

struct Announced
{
    QAccessible::Event type;
    int child;
    QString name;
};
QList<Announced> announced;

void record(QAccessibleEvent *event)
{
    const QAccessibleInterface *target = event->accessibleInterface();
    announced.append({event->type(), event->child(), target ? target->text(QAccessible::Name) : QString()});
}

} // namespace

class TestAccessibility : public QObject
{
    Q_OBJECT

    TestFiles files;
    FakePrompts prompts;
    std::unique_ptr<MainWindow> window;
    Preview *preview = nullptr;

    void clickField(qsizetype id)
    {
        const MyGraphicsItem *field = preview->field(id);
        QVERIFY(field);
        QTest::mouseClick(preview->viewport(), Qt::LeftButton, {}, preview->mapFromScene(field->frame().center()));
    }

private slots:
    void initTestCase()
    {
        useTestSettings();
        // QAccessible drops events while no screen reader listens (no bus
        // here): the sheet's own announcements are watched.
        SheetAccessible::observer = record;
    }

    void init()
    {
        freshSettings();
        window = std::make_unique<MainWindow>();
        // Wide enough for every tool bar to show all its controls.
        window->setWindowState(Qt::WindowNoState);
        window->resize(2400, 1400);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        preview = window->sheetPreview();
        // 40 barettes (more than a page), the third label of the second too
        // long for its frame, the fourth a symbol and a line break.
        QByteArray bytes = barettes(40);
        bytes.replace("L1.3\n", QByteArray("L1.3 ").repeated(40) + '\n');
        bytes.replace("L1.4\n", "Tryb#@auto\n");
        prompts.fileAnswers = {files.write(QStringLiteral("panel.txt"), bytes)};
        action(*window, QStringLiteral("&Importuj plik z opisami"))->trigger();
        QVERIFY(preview->pageCount() > 1);
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        preview->setFocus();
        QTRY_VERIFY(preview->hasFocus());
        announced.clear();
    }

    void cleanup()
    {
        window.reset();
        prompts.dialogs = {};
    }

    void everyControlIsNamedAndEverySpinBoxReadWithItsLabel()
    {
        // The find bar too, with its replacement row and a query to clear.
        action(*window, QStringLiteral("Za&mień…"))->trigger();
        window->findChild<QLineEdit *>(QStringLiteral("leFindQuery"))->setText(QStringLiteral("L1"));
        QVERIFY(window->findChild<QWidget *>(QStringLiteral("leReplacement"))->isVisible());
        QStringList faults;
        walk(QAccessible::queryAccessibleInterface(window.get()), QString(), faults);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
        // The geometry panel's fields were all read as its title.
        const auto *width = QAccessible::queryAccessibleInterface(window->findChild<QWidget *>(QStringLiteral("dsbLabelWidth")));
        QCOMPARE(width->text(QAccessible::Name), QStringLiteral("Szer. etykiety"));
    }

    void theSheetsFieldsReadTheirTextsPlacesAndFit()
    {
        clickField(10);
        QAccessibleInterface *sheet = QAccessible::queryAccessibleInterface(preview);
        QCOMPARE(sheet->childCount(), int(preview->fieldCount()));
        const QAccessibleInterface *selected = sheet->child(10);
        QCOMPARE(selected->text(QAccessible::Name), QStringLiteral("L1.1"));
        QCOMPARE(selected->text(QAccessible::Description), QStringLiteral("baretka 2, etykieta 1, strona 1"));
        QVERIFY(selected->state().selected);
        QVERIFY(selected->state().focused);
        QCOMPARE(sheet->focusChild(), selected);
        QCOMPARE(sheet->indexOfChild(selected), 10);
        QVERIFY(!sheet->child(11)->state().selected);
        QCOMPARE(sheet->child(0)->text(QAccessible::Description), QStringLiteral("baretka 1, nagłówek, strona 1"));
        QVERIFY(sheet->child(12)->text(QAccessible::Description).endsWith(QStringLiteral(", nie mieści się")));
        QCOMPARE(sheet->child(13)->text(QAccessible::Name), QStringLiteral("Tryb plus i minus w kwadratach auto"));
        // The last field, on a page never built, read from the document.
        const int last = sheet->childCount() - 1;
        QCOMPARE(sheet->child(last)->text(QAccessible::Name), QStringLiteral("L39.8"));
        QVERIFY(sheet->child(last)->state().offscreen);
        QCOMPARE(sheet->child(last)->text(QAccessible::Description),
                 QStringLiteral("baretka %1, etykieta 8, strona %2")
                     .arg(39 % (preview->fields().size() / 9) + 1)
                     .arg(preview->pageCount()));
    }

    // B, I and U are read as toggles that are on when the field selected is
    // in that style.
    void styleButtonsTellTheSelectedFieldsStyle()
    {
        auto *bold = window->findChild<QPushButton *>(QStringLiteral("pbBold"));
        const QAccessibleInterface *button = QAccessible::queryAccessibleInterface(bold);
        clickField(10);
        QVERIFY(button->state().checkable);
        QVERIFY(!button->state().checked);
        QTest::mouseClick(bold, Qt::LeftButton);
        QVERIFY(preview->document()->font(10).bold());
        clickField(11);
        QVERIFY(!button->state().checked);
        clickField(10);
        QVERIFY(button->state().checked);
        QCOMPARE(button->text(QAccessible::Name), QStringLiteral("Pogrubienie"));
    }

    // The field edit dialog: every control named, the symbols read by their
    // names, and Tab leaves the text instead of writing a tab into it.
    void theEditDialogIsNamedAndTabLeavesItsText()
    {
        QStringList faults;
        QString legend;
        QString text;
        prompts.dialogs = [&](QDialog &dialog) {
            dialog.show();
            walk(QAccessible::queryAccessibleInterface(&dialog), QString(), faults);
            const auto *symbols = dialog.findChild<QWidget *>(QStringLiteral("legend"));
            for (const QLabel *label : symbols->findChildren<QLabel *>())
                legend += label->accessibleName() + QLatin1Char(';');
            auto *edit = dialog.findChild<QTextEdit *>(QStringLiteral("teText"));
            QTest::keyClick(edit, Qt::Key_Tab);
            text = edit->toPlainText();
            return int(QDialog::Rejected);
        };
        clickField(10);
        QVERIFY(preview->editSelectedField());
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
        QVERIFY2(legend.contains(QStringLiteral("plus i minus w kwadratach")), qPrintable(legend));
        QCOMPARE(text, QStringLiteral("L1.1"));
    }

    // A text moves to another field by the keyboard (Ctrl+X, Ctrl+V) with its
    // font, as one step to undo; a copy (Ctrl+C) leaves the field taken as it is.
    void aFieldMovesAndCopiesByTheKeyboard()
    {
        const SheetDocument *doc = preview->document();
        clickField(10);
        QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("pbBold")), Qt::LeftButton);
        preview->setFocus();
        QTest::keyClick(preview, Qt::Key_X, Qt::ControlModifier);
        clickField(20);
        QTest::keyClick(preview, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(doc->text(20), QStringLiteral("L1.1"));
        QVERIFY(doc->font(20).bold());
        QCOMPARE(doc->text(10), QString());
        preview->undoStack()->undo();
        QCOMPARE(doc->text(20), QStringLiteral("L2.2"));
        QCOMPARE(doc->text(10), QStringLiteral("L1.1"));

        QTest::keyClick(preview, Qt::Key_C, Qt::ControlModifier);   // field 20
        clickField(21);
        QTest::keyClick(preview, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(doc->text(21), QStringLiteral("L2.2"));
        QCOMPARE(doc->text(20), QStringLiteral("L2.2"));
    }

    // A window too narrow for its tool bars: each bar's "»" button is named
    // after its bar, Tab reaches it, and Space shows the controls it hides.
    void aNarrowWindowsMoreButtonsAreNamedAndReachable()
    {
        window->resize(700, 600);
        QTRY_VERIFY(!window->findChild<QWidget *>(QStringLiteral("pbZoomIn"))->isVisible());
        QStringList faults;
        walk(QAccessible::queryAccessibleInterface(window.get()), QString(), faults);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
        QToolButton *more = nullptr;
        for (int i = 0; i < 100 && !more; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            more = qobject_cast<QToolButton *>(QApplication::focusWidget());
            if (more && more->objectName() != QLatin1String("qt_toolbar_ext_button"))
                more = nullptr;
        }
        QVERIFY(more);
        QVERIFY(QAccessible::queryAccessibleInterface(more)->text(QAccessible::Name).startsWith(QStringLiteral("Więcej: ")));
        auto *bar = qobject_cast<QToolBar *>(more->parentWidget());
        QVERIFY(bar);
        const auto hiddenControls = [bar] {
            const QList<QAction *> actions = bar->actions();
            return std::count_if(actions.cbegin(), actions.cend(), [bar](QAction *a) {
                return !a->isSeparator() && !bar->widgetForAction(a)->isVisible();
            });
        };
        QVERIFY(hiddenControls() > 0);
        QTest::keyClick(more, Qt::Key_Space);
        QTRY_COMPARE(hiddenControls(), 0);
    }

    // The icon buttons of the tool bars (the "Akcje" bar, "Dopasuj rozmiar")
    // are left out of the Tab order: each has a menu entry with a shortcut.
    // No two commands share a shortcut.
    void everyToolBarCommandIsInAMenuWithAShortcutOfItsOwn()
    {
        QList<const QAction *> inMenus;
        const auto collect = [&](const QList<QAction *> &entries, auto &self) -> void {
            for (const QAction *a : entries) {
                inMenus.append(a);
                if (a->menu())
                    self(a->menu()->actions(), self);
            }
        };
        collect(window->menuBar()->actions(), collect);
        int commands = 0;
        const QList<QToolBar *> bars = window->findChildren<QToolBar *>();
        for (const QToolBar *bar : bars) {
            const QList<QAction *> actions = bar->actions();
            for (const QAction *a : actions) {
                if (a->isSeparator() || qobject_cast<const QWidgetAction *>(a))
                    continue;
                ++commands;
                QVERIFY2(inMenus.contains(a), qPrintable(a->text()));
                QVERIFY2(!a->shortcut().isEmpty(), qPrintable(a->text()));
            }
        }
        QCOMPARE(commands, 9);

        QMultiHash<QKeySequence, QString> owners;
        const QList<QAction *> actions = window->findChildren<QAction *>();
        for (const QAction *a : actions) {
            const QList<QKeySequence> keys = a->shortcuts();
            for (const QKeySequence &key : keys)
                owners.insert(key, a->text());
        }
        const QList<QShortcut *> shortcuts = window->findChildren<QShortcut *>();
        for (const QShortcut *s : shortcuts) {
            const QList<QKeySequence> keys = s->keys();
            for (const QKeySequence &key : keys)
                owners.insert(key, s->objectName());
        }
        QVERIFY(owners.size() > 20);
        const QList<QKeySequence> keys = owners.uniqueKeys();
        for (const QKeySequence &key : keys)
            QVERIFY2(owners.count(key) == 1, qPrintable(key.toString() + QLatin1String(": ") + owners.values(key).join(QLatin1String(", "))));
    }

    // Every icon of the tool bars, menus and buttons is stored at twice its
    // size for a screen of scale factor 2, also when the program started on
    // a screen of scale 1: not enlarged from the small picture.
    void everyIconHasItsDoubleSizePicture()
    {
        QList<std::pair<QString, QIcon>> icons;
        const QList<QAction *> actions = window->findChildren<QAction *>();
        for (const QAction *a : actions) {
            if (!a->icon().isNull() && !a->objectName().startsWith(QLatin1String("_q_")))   // Qt's own
                icons.append({a->text(), a->icon()});
        }
        const QList<QAbstractButton *> buttons = window->findChildren<QAbstractButton *>();
        for (const QAbstractButton *b : buttons) {
            // Ours: a tool button of an action shows the action's icon.
            if (!b->icon().isNull() && b->objectName().startsWith(QLatin1String("pb")))
                icons.append({b->objectName(), b->icon()});
        }
        QVERIFY(icons.size() >= 15);
        for (const auto &[name, icon] : std::as_const(icons))
            QVERIFY2(icon.pixmap(QSize(32, 32), 2.0).width() == 64, qPrintable(name));
    }

    // The spreadsheet import dialog: every control named, and Tab leaves its
    // preview table for the next control instead of moving to the next cell.
    void theImportDialogIsNamedAndTabLeavesItsTable()
    {
        QStringList faults;
        bool shown = false;
        QString focusAfterTab;
        int columnAfterTab = -1;
        prompts.dialogs = [&](QDialog &dialog) {
            dialog.show();
            dialog.activateWindow();
            shown = QTest::qWaitForWindowActive(&dialog);
            walk(QAccessible::queryAccessibleInterface(&dialog), QString(), faults);
            auto *grid = dialog.findChild<QTableWidget *>(QStringLiteral("grid"));
            grid->setFocus();
            grid->setCurrentCell(0, 0);
            QTest::keyClick(grid, Qt::Key_Tab);
            focusAfterTab = QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
            columnAfterTab = grid->currentColumn();
            return int(QDialog::Rejected);
        };
        prompts.fileAnswers = {files.write(QStringLiteral("lista.csv"), "Pompa;Praca;Awaria\nWentylator;Stop;Reset\n")};
        action(*window, QStringLiteral("Importuj &arkusz…"))->trigger();
        QVERIFY(shown);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
        QVERIFY2(focusAfterTab != QLatin1String("grid"), qPrintable(focusAfterTab));
        QCOMPARE(columnAfterTab, 0);
    }

    void selectionMovesAreAnnounced_data()
    {
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<int>("expected");   // -1: the last field of the page
        QTest::newRow("click") << QList<int>{} << 10;
        QTest::newRow("arrow down") << QList<int>{Qt::Key_Down} << 11;
        QTest::newRow("end") << QList<int>{Qt::Key_End} << -1;
        QTest::newRow("home") << QList<int>{Qt::Key_Home} << 0;
    }

    void selectionMovesAreAnnounced()
    {
        QFETCH(QList<int>, keys);
        QFETCH(int, expected);
        clickField(10);
        for (const int key : std::as_const(keys))
            QTest::keyClick(preview, Qt::Key(key));
        if (expected < 0)
            expected = int(preview->fields().constLast()->fieldId());
        const QString text = preview->document()->text(expected);
        bool focus = false;
        bool selection = false;
        // The field clicked first is told to be left when the selection moved on.
        bool left = false;
        for (const Announced &a : std::as_const(announced)) {
            left |= a.type == QAccessible::SelectionRemove && a.child == 10;
            if (a.child != expected)
                continue;
            QCOMPARE(a.name, text);
            focus |= a.type == QAccessible::Focus;
            selection |= a.type == QAccessible::Selection;
        }
        QVERIFY(focus);
        QVERIFY(selection);
        QCOMPARE(left, expected != 10);
        QCOMPARE(announced.constLast().child, expected);
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
