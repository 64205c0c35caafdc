#include "dialogs/fontdialog.h"

#include "document/specialglyphfont.h"
#include "system/pictures.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QPushButton>
#include <QVBoxLayout>

FontDialog::FontDialog(QFont font, QWidget *parent)
    : QDialog(parent)
    , givenFont(font)
{
    cbSize = new QComboBox;
    cbSize->setObjectName(QStringLiteral("cbSize"));
    for (int size = smallestListedSize; size <= largestListedSize; ++size)
        cbSize->addItem(QString::number(size), size);
    cbAutoSize = new QCheckBox(tr("Autodopasowanie"));
    cbAutoSize->setObjectName(QStringLiteral("cbAutoSize"));
    cbAutoSize->setToolTip(tr("Największy rozmiar do %1, przy którym tekst mieści się w polu")
                               .arg(SpecialGlyphFont::defaultFont().pixelSize()));
    cbUnderline = new QCheckBox(tr("Podkreślenie"));
    cbUnderline->setObjectName(QStringLiteral("cbUnderline"));
    cbBold = new QCheckBox(tr("Pogrubienie"));
    cbBold->setObjectName(QStringLiteral("cbBold"));
    cbItalic = new QCheckBox(tr("Pochylenie"));
    cbItalic->setObjectName(QStringLiteral("cbItalic"));
    pbSet = new QPushButton(tr("Ustaw"));
    pbSet->setObjectName(QStringLiteral("pbSet"));
    pbClose = new QPushButton(tr("Zamknij"));
    pbClose->setObjectName(QStringLiteral("pbClose"));
    gbDecoration = new QGroupBox(tr("Dekoracja"));
    gbSize = new QGroupBox(tr("Rozmiar"));

    const int pixelSize = font.pixelSize();
    if (SpecialGlyphFont::isAutomatic(font)) {
        // The list waits at the default size for the box to be cleared.
        cbAutoSize->setChecked(true);
        cbSize->setCurrentIndex(cbSize->findData(SpecialGlyphFont::defaultFont().pixelSize()));
        cbSize->setEnabled(false);
    } else if (pixelSize > 0) {
        int index = cbSize->findData(pixelSize);
        if (index < 0) {
            // A size from elsewhere (the tool bar goes up to 24): listed in
            // its place among the others, so that it survives "Ustaw".
            index = pixelSize < smallestListedSize ? 0 : cbSize->count();
            cbSize->insertItem(index, QString::number(pixelSize), pixelSize);
        }
        cbSize->setCurrentIndex(index);
    } else {
        cbSize->setCurrentIndex(-1);
    }
    cbBold->setChecked(font.weight() > QFont::Normal);
    cbItalic->setChecked(font.style() != QFont::StyleNormal);
    cbUnderline->setChecked(font.underline());

    connect(cbAutoSize, &QCheckBox::clicked, this, &FontDialog::cbAutoSizeTriggered);
    connect(pbSet, &QPushButton::clicked, this, &FontDialog::pbSetClicked);
    connect(pbClose, &QPushButton::clicked, this, &FontDialog::close);

    auto *sizeLayout = new QVBoxLayout(gbSize);
    sizeLayout->addWidget(cbSize);
    sizeLayout->addWidget(cbAutoSize);
    auto *decorationLayout = new QVBoxLayout(gbDecoration);
    decorationLayout->addWidget(cbBold);
    decorationLayout->addWidget(cbUnderline);
    decorationLayout->addWidget(cbItalic);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(pbSet);
    buttons->addWidget(pbClose);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(gbSize);
    layout->addWidget(gbDecoration);
    layout->addLayout(buttons);

    setWindowTitle(tr("Czcionka"));
    setWindowIcon(Pictures::icon(QStringLiteral(":/icons/printer_r.png")));
}

void FontDialog::cbAutoSizeTriggered()
{
    cbSize->setEnabled(!cbAutoSize->isChecked());
}

void FontDialog::pbSetClicked()
{
    QFont font;
    if (cbAutoSize->isChecked())
        font.setPixelSize(SpecialGlyphFont::automaticPixelSize);
    else if (cbSize->currentIndex() >= 0)
        font.setPixelSize(cbSize->currentData().toInt());
    else if (givenFont.pointSizeF() > 0)   // sized in points: kept as it came
        font.setPointSizeF(givenFont.pointSizeF());
    font.setUnderline(cbUnderline->isChecked());
    font.setStyle(cbItalic->isChecked() ? QFont::StyleItalic : QFont::StyleNormal);
    font.setWeight(cbBold->isChecked() ? QFont::Bold : QFont::Normal);
    emit setThisFont(font);
}
