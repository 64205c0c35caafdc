#include "dialogs/recoverydialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

// The row's index in the order given.
constexpr int rowRole = Qt::UserRole;

} // namespace

RecoveryDialog::RecoveryDialog(const QList<Copy> &copies, QWidget *parent)
    : QDialog(parent)
    , chosen(copies.size(), Choice::Later)
{
    setWindowTitle(QStringLiteral("Lamello"));
    auto *text = new QLabel(
        copies.size() == 1
            ? tr("Lamello nie zostało zamknięte poprawnie. Niezapisane zmiany arkusza zachowały się w kopii "
                 "zapasowej. Przywrócić arkusz? Historii cofania nie da się przywrócić.")
            : tr("Lamello nie zostało zamknięte poprawnie. Niezapisane zmiany zachowały się w kopiach zapasowych, "
                 "najnowsza u góry. Wybierz arkusz do przywrócenia; pozostałe kopie można porzucić albo zostawić "
                 "na później. Historii cofania nie da się przywrócić."));
    text->setWordWrap(true);

    twCopies = new QTreeWidget;
    twCopies->setObjectName(QStringLiteral("twCopies"));
    twCopies->setRootIsDecorated(false);
    twCopies->setUniformRowHeights(true);
    twCopies->setSelectionMode(QAbstractItemView::ExtendedSelection);
    twCopies->setHeaderLabels({tr("Arkusz"), tr("Zapisana"), tr("Zawartość")});
    QList<QTreeWidgetItem *> items;
    for (qsizetype row = 0; row < copies.size(); ++row) {
        const Copy &copy = copies.at(row);
        auto *item = new QTreeWidgetItem({copy.sheet, copy.when, copy.holds});
        item->setData(0, rowRole, row);
        item->setToolTip(2, copy.holds);
        items.append(item);
    }
    twCopies->addTopLevelItems(items);
    for (int column = 0; column < 2; ++column) {
        twCopies->resizeColumnToContents(column);
        twCopies->setColumnWidth(column, twCopies->columnWidth(column) + 3 * fontMetrics().averageCharWidth());
    }
    twCopies->setMinimumWidth(640);
    twCopies->setCurrentItem(twCopies->topLevelItem(0));

    auto *buttons = new QDialogButtonBox;
    pbRestore = buttons->addButton(tr("Przywróć"), QDialogButtonBox::AcceptRole);
    pbRestore->setObjectName(QStringLiteral("pbRestore"));
    pbDiscard = buttons->addButton(tr("Porzuć"), QDialogButtonBox::DestructiveRole);
    pbDiscard->setObjectName(QStringLiteral("pbDiscard"));
    QPushButton *later = buttons->addButton(tr("Później"), QDialogButtonBox::RejectRole);
    later->setObjectName(QStringLiteral("pbLater"));
    pbRestore->setDefault(true);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(twCopies);
    layout->addWidget(buttons);

    connect(twCopies, &QTreeWidget::itemSelectionChanged, this, &RecoveryDialog::selectionChanged);
    connect(twCopies, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem *item) {
        choose(item->data(0, rowRole).toLongLong(), Choice::Restore);
    });
    connect(pbRestore, &QPushButton::clicked, this, [this] {
        if (QTreeWidgetItem *item = twCopies->currentItem())
            choose(item->data(0, rowRole).toLongLong(), Choice::Restore);
    });
    connect(pbDiscard, &QPushButton::clicked, this, &RecoveryDialog::discardSelected);
    connect(later, &QPushButton::clicked, this, &QDialog::reject);
    selectionChanged();
}

void RecoveryDialog::selectionChanged()
{
    const qsizetype selected = twCopies->selectedItems().size();
    pbRestore->setEnabled(selected == 1);
    pbDiscard->setEnabled(selected > 0);
}

void RecoveryDialog::discardSelected()
{
    const QList<QTreeWidgetItem *> items = twCopies->selectedItems();
    for (QTreeWidgetItem *item : items)
        choose(item->data(0, rowRole).toLongLong(), Choice::Discard);
}

void RecoveryDialog::choose(qsizetype row, Choice choice)
{
    if (row < 0 || row >= chosen.size())
        return;
    chosen[row] = choice;
    if (choice == Choice::Restore) {
        accept();
        return;
    }
    for (int i = 0; i < twCopies->topLevelItemCount(); ++i) {
        if (twCopies->topLevelItem(i)->data(0, rowRole).toLongLong() == row) {
            delete twCopies->takeTopLevelItem(i);
            break;
        }
    }
    // Nothing left to choose.
    if (twCopies->topLevelItemCount() == 0)
        reject();
}
