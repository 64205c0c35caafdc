#include "app/aboutdialog.h"

#include "app/helpdialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QVBoxLayout>

namespace {
QLabel *paragraph(const QString &text, const QString &name = QString())
{
    auto *label = new QLabel(text);
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}
} // namespace

AboutDialog::AboutDialog(QWidget *parent)
    : QDialog(parent)
{
    const QIcon icon(QStringLiteral(":/icons/lamello.png"));
    auto *picture = new QLabel;
    picture->setPixmap(icon.pixmap(128));
    picture->setAlignment(Qt::AlignTop);

    auto *name = new QLabel(tr("Lamello"));
    QFont big = name->font();
    big.setPointSize(big.pointSize() * 3 / 2);
    big.setWeight(QFont::Bold);
    name->setFont(big);

    auto *text = new QVBoxLayout;
    text->addWidget(name);
    text->addWidget(paragraph(HelpDialog::buildLine(), QStringLiteral("lbVersion")));
    text->addWidget(paragraph(tr("Wsuwane opisy (baretki) do paneli czołowych urządzeń: przygotowanie, "
                                 "podgląd i wydruk w rzeczywistym rozmiarze.")));
    text->addWidget(paragraph(tr("Licencja: GNU General Public License w wersji 3 lub dowolnej późniejszej "
                                 "(GPL-3.0-or-later). Program jest rozpowszechniany bez żadnej gwarancji."),
                              QStringLiteral("lbLicence")));
    text->addWidget(paragraph(tr("Ikona programu i ikona projektu: narysowane dla Lamello, na licencji programu.\n"
                                 "Ikony poleceń: Tango Desktop Project (domena publiczna).\n"
                                 "Czcionka symboli TIMES_K: na podstawie Liberation Serif, "
                                 "SIL Open Font License 1.1."),
                              QStringLiteral("lbCredits")));
    text->addWidget(paragraph(tr("Zbudowano z Qt %1.").arg(QString::fromLatin1(QT_VERSION_STR))));
    text->addStretch();

    auto *top = new QHBoxLayout;
    top->addWidget(picture);
    top->addSpacing(12);
    top->addLayout(text, 1);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);

    setWindowTitle(tr("O programie Lamello"));
    setWindowIcon(icon);
    setMinimumWidth(560);
}
