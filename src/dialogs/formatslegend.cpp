#include "dialogs/formatslegend.h"

#include "document/specialglyphfont.h"

#include <QEvent>
#include <QFont>
#include <QGridLayout>
#include <QLabel>

FormatsLegend::FormatsLegend(bool withNewLine, QWidget *parent)
    : QWidget(parent)
{
    QFont symbolFont;
    symbolFont.setFamily(SpecialGlyphFont::family());
    symbolFont.setPixelSize(11);
    QFont headingFont;
    headingFont.setPixelSize(12);
    headingFont.setWeight(QFont::Bold);
    QFont keyFont;
    keyFont.setPixelSize(11);

    // One grid rather than three independent columns, so that every key stays
    // level with its symbol whatever the two fonts' line heights.
    auto *grid = new QGridLayout(this);
    auto add = [grid](int row, int column, const QString &text, const QFont &font) {
        auto *label = new QLabel(text);
        label->setFont(font);
        // "&" is a plain character here, never a mnemonic marker.
        label->setTextFormat(Qt::PlainText);
        grid->addWidget(label, row, column, Qt::AlignCenter);
        return label;
    };

    headings.append(add(0, 0, tr("    Znak\nz klawiatury"), headingFont));
    headings.append(add(0, 2, tr("    Znak\nsformatowany"), headingFont));

    struct Row
    {
        const char *key;
        const char *result;
        const char *spoken;   // what a screen reader says for the symbol
    };
    static const Row rows[] = {
        {"@", QT_TR_NOOP("Nowa linia"), nullptr},
        {"#", "#", QT_TR_NOOP("plus i minus w kwadratach")},
        {"$", "$", QT_TR_NOOP("plus i minus w kołach")},
        {"^", "^", QT_TR_NOOP("plus i minus w trójkątach")},
        {"&", "&", QT_TR_NOOP("plus i minus w rombach")},
    };
    int line = 1;
    for (const Row &row : rows) {
        if (row.key[0] == '@' && !withNewLine)
            continue;
        keys.append(add(line, 0, tr(row.key), keyFont));
        add(line, 1, tr(" = "), keyFont);
        results.append(add(line, 2, tr(row.result), symbolFont));
        if (row.spoken) {
            spoken.append({results.constLast(), row.spoken});
            results.constLast()->setAccessibleName(tr(row.spoken));
        }
        if (row.key[0] == '@')
            newLine = results.constLast();
        ++line;
    }
    setFixedSize(sizeHint());
}

void FormatsLegend::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        headings.at(0)->setText(tr("    Znak\nz klawiatury"));
        headings.at(1)->setText(tr("    Znak\nsformatowany"));
        if (newLine)
            newLine->setText(tr("Nowa linia"));
        for (const auto &[label, name] : std::as_const(spoken))
            label->setAccessibleName(tr(name));
        setFixedSize(sizeHint());
    }
    QWidget::changeEvent(event);
}
