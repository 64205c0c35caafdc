#pragma once

#include <QList>
#include <QWidget>

#include <utility>

class QLabel;

// Explains the four keyboard characters that the embedded font draws as
// plus/minus symbol pairs: each row shows the key on the left and, on the
// right, the same character in the symbol font. With `withNewLine` a first
// row explains "@", the line break of a descriptions file. The legend keeps
// the size it needs and never stretches.
class FormatsLegend : public QWidget
{
    Q_OBJECT

public:
    explicit FormatsLegend(bool withNewLine, QWidget *parent = nullptr);

    // The label of each row, top to bottom, in the right (symbol font) column.
    QList<QLabel *> resultLabels() const { return results; }
    // The key label of each row, top to bottom.
    QList<QLabel *> keyLabels() const { return keys; }

    // `text` as a screen reader should say it: each symbol character by its
    // name ("Zegar $": "Zegar plus i minus w kołach"), line breaks as spaces.
    static QString spokenText(const QString &text);

protected:
    void changeEvent(QEvent *event) override;

private:
    QList<QLabel *> headings;
    QLabel *newLine = nullptr;   // the result of "@", when shown
    QList<QLabel *> keys;
    QList<QLabel *> results;
    QList<std::pair<QLabel *, const char *>> spoken;   // symbols and their spoken names
};
