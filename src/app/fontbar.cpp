#include "app/fontbar.h"

#include "app/smallbuttons.h"
#include "sheet/preview.h"

#include <QEvent>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QToolBar>

namespace {
QPushButton *styleButton(const QString &name, const QString &text, void (QFont::*style)(bool))
{
    QPushButton *button = smallButton(name, QSize(25, 25));
    button->setText(text);
    QFont font;
    (font.*style)(true);
    button->setFont(font);
    return button;
}
} // namespace

FontBar::FontBar(Preview *preview)
    : preview(preview)
{
    sbFontSize = std::make_unique<QSpinBox>();
    sbFontSize->setRange(6, 24);
    sbFontSize->setSingleStep(1);
    sbFontSize->setValue(10);
    leFontSize = new QLineEdit(QStringLiteral("10"));
    leFontSize->setObjectName(QStringLiteral("leFontSize"));
    leFontSize->setFixedWidth(30);
    leFontSize->setAlignment(Qt::AlignCenter);
    fontSizeValidator = std::make_unique<QIntValidator>(6, 24);
    leFontSize->setValidator(fontSizeValidator.get());

    pbFontSizeDown = iconButton(QStringLiteral("pbFontSizeDown"), ":/icons/arrow-down.png");
    pbFontSizeUp = iconButton(QStringLiteral("pbFontSizeUp"), ":/icons/arrow-up.png");
    pbBold = smallButton(QStringLiteral("pbBold"), QSize(25, 25));
    pbBold->setText(tr("B"));
    QFont boldFont;
    boldFont.setWeight(QFont::Bold);
    pbBold->setFont(boldFont);
    pbItalic = styleButton(QStringLiteral("pbItalic"), tr("I"), &QFont::setItalic);
    pbUnderline = styleButton(QStringLiteral("pbUnderline"), tr("U"), &QFont::setUnderline);
    // On or off as in the field last selected, which a screen reader reads
    // as the button's state.
    for (QPushButton *style : {pbBold, pbItalic, pbUnderline})
        style->setCheckable(true);

    connect(preview, &Preview::selectedId, this, &FontBar::selectAction);
    connect(preview, &Preview::sharedFontSize, this, &FontBar::showFontSize);
    connect(sbFontSize.get(), &QSpinBox::valueChanged, this, qOverload<int>(&FontBar::changeFontPixelSize));
    connect(leFontSize, &QLineEdit::textChanged, this, qOverload<QString>(&FontBar::changeFontPixelSize));
    connect(pbFontSizeUp, &QPushButton::clicked, this, &FontBar::changeSbFontSizeUp);
    connect(pbFontSizeDown, &QPushButton::clicked, this, &FontBar::changeSbFontSizeDown);
    connect(pbBold, &QPushButton::clicked, this, &FontBar::changeFontBold);
    connect(pbItalic, &QPushButton::clicked, this, &FontBar::changeFontItalic);
    connect(pbUnderline, &QPushButton::clicked, this, &FontBar::changeFontUnderline);
    leFontSize->installEventFilter(this);
}

FontBar::~FontBar()
{
    leFontSize->setValidator(nullptr);
}

void FontBar::addTo(QToolBar *fontToolBar)
{
    fontToolBar->addWidget(pbFontSizeDown);
    fontToolBar->addWidget(leFontSize);
    fontToolBar->addWidget(pbFontSizeUp);
    fontToolBar->addSeparator();
    fontToolBar->addWidget(pbBold);
    fontToolBar->addWidget(pbItalic);
    fontToolBar->addWidget(pbUnderline);
}

bool FontBar::eventFilter(QObject *watched, QEvent *event)
{
    // The size field: a size that was not applied (typed "0", or nothing)
    // gives way to the size in force on Enter or when the field is left.
    if (watched == leFontSize && !leFontSize->hasAcceptableInput()) {
        const auto *key = event->type() == QEvent::KeyPress ? static_cast<QKeyEvent *>(event) : nullptr;
        const bool entered = key && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter);
        if (event->type() == QEvent::FocusOut || entered)
            showFontSize(preview->sharedPixelSize());
    }
    return QObject::eventFilter(watched, event);
}

void FontBar::changeFontPixelSize(int pixelSize)
{
    if (fontSizeSignalsEnabled)
        preview->changeFontPixelSize(pixelSize);
}

void FontBar::changeFontPixelSize(QString pixelSize)
{
    const int size = pixelSize.toInt(nullptr, 10);
    if (fontSizeSignalsEnabled)
        preview->changeFontPixelSize(size);
}

void FontBar::changeSbFontSizeUp()
{
    if (sbFontSize->value() <= 24)
        sbFontSize->setValue(sbFontSize->value() + 1);
    const int t = leFontSize->text().toInt(nullptr, 10);
    if (t < 24)
        leFontSize->setText(QString::number(t + 1));
}

void FontBar::changeSbFontSizeDown()
{
    if (sbFontSize->value() > 6)
        sbFontSize->setValue(sbFontSize->value() - 1);
    const int t = leFontSize->text().toInt(nullptr, 10);
    if (t > 6)
        leFontSize->setText(QString::number(t - 1));
}

void FontBar::changeFontBold()
{
    preview->changeFontBold();
}

void FontBar::changeFontItalic()
{
    preview->changeFontItalic();
}

void FontBar::changeFontUnderline()
{
    preview->changeFontUnderline();
}

void FontBar::selectAction(int, QFont font)
{
    showFontSize(font.pixelSize());
    pbBold->setChecked(font.bold());
    pbItalic->setChecked(font.italic());
    pbUnderline->setChecked(font.underline());
}

void FontBar::showFontSize(int pixelSize)
{
    fontSizeSignalsEnabled = false;
    sbFontSize->setValue(pixelSize);
    // Left alone when it already shows the size: a screen reader would hear
    // the box change at every move of the selection.
    if (const QString shown = QString::number(pixelSize); leFontSize->text() != shown)
        leFontSize->setText(shown);
    fontSizeSignalsEnabled = true;
}
