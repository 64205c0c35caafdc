#include "dialogs/formatslegend.h"

#include "document/specialglyphfont.h"

#include <QEvent>
#include <QFont>
#include <QGridLayout>
#include <QLabel>

#include <algorithm>
#include <iterator>

namespace {

struct Row
{
    const char *key;
    const char *result;
    const char *spoken;   // what a screen reader says for the symbol
};
const Row rows[] = {
    {"@", QT_TRANSLATE_NOOP("FormatsLegend", "Nowa linia"), nullptr},
    {"#", "#", QT_TRANSLATE_NOOP("FormatsLegend", "plus i minus w kwadratach")},
    {"$", "$", QT_TRANSLATE_NOOP("FormatsLegend", "plus i minus w kołach")},
    {"^", "^", QT_TRANSLATE_NOOP("FormatsLegend", "plus i minus w trójkątach")},
    {"&", "&", QT_TRANSLATE_NOOP("FormatsLegend", "plus i minus w rombach")},
};

} // namespace

QString FormatsLegend::spokenText(const QString &text)
{
    QString said;
    said.reserve(text.size());
    for (const QChar c : text) {
        const auto symbol = std::find_if(std::cbegin(rows), std::cend(rows), [c](const Row &row) {
            return row.spoken && c == QLatin1Char(row.key[0]);
        });
        if (symbol == std::cend(rows))
            said += c;
        else
            said += QLatin1Char(' ') + tr(symbol->spoken) + QLatin1Char(' ');
    }
    return said.simplified();
}

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
