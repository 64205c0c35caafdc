#include "dialogs/printpagesdialog.h"

#include "layout/pagerange.h"
#include "system/pictures.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

PrintPagesDialog::PrintPagesDialog(int pageCount, QWidget *parent)
    : QDialog(parent)
    , pageCount(pageCount)
{
    setWindowTitle(tr("Drukuj strony"));
    setWindowIcon(Pictures::icon(QStringLiteral(":/icons/printer_r.png")));

    leRange = new QLineEdit(pageCount > 1 ? QStringLiteral("1-%1").arg(pageCount) : QStringLiteral("1"));
    leRange->setObjectName(QStringLiteral("leRange"));
    leRange->setToolTip(tr("Numery stron i zakresy oddzielone przecinkami, np. 1-3,5"));
    sbCopies = new QSpinBox;
    sbCopies->setObjectName(QStringLiteral("sbCopies"));
    sbCopies->setRange(1, maxCopies);
    lbProblem = new QLabel;
    lbProblem->setObjectName(QStringLiteral("lbProblem"));
    lbProblem->setWordWrap(true);
    buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("Drukuj"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("Anuluj"));

    auto *form = new QFormLayout;
    form->addRow(tr("Strony (z %1):").arg(pageCount), leRange);
    form->addRow(tr("Liczba kopii:"), sbCopies);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(new QLabel(tr("Kopie są składane: wszystkie wybrane strony po kolei, potem znowu od początku.")));
    layout->addWidget(lbProblem);
    layout->addWidget(buttons);

    connect(leRange, &QLineEdit::textChanged, this, &PrintPagesDialog::check);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    check();
}

QList<int> PrintPagesDialog::pages() const
{
    return PageRange::parse(leRange->text().remove(QLatin1Char(' ')), pageCount).value_or(QList<int>());
}

int PrintPagesDialog::copies() const
{
    return sbCopies->value();
}

void PrintPagesDialog::check()
{
    PageRange::Problem problem = PageRange::Problem::None;
    const bool valid = PageRange::parse(leRange->text().remove(QLatin1Char(' ')), pageCount, &problem).has_value();
    lbProblem->setText(valid ? QString()
                       : problem == PageRange::Problem::TooMany
                           ? tr("Za dużo pozycji na liście stron (najwyżej %1).").arg(PageRange::maxParts)
                           : tr("Podaj strony od 1 do %1, np. 1-3,5.").arg(pageCount));
    buttons->button(QDialogButtonBox::Ok)->setEnabled(valid);
}
