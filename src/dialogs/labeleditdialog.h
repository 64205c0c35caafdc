#pragma once

#include <QDialog>
#include <QFont>
#include <QPointer>
#include <QString>

class FontDialog;
class FormatsLegend;
class SheetDocument;
class QPushButton;
class QRadioButton;
class QTextEdit;

// Edits the text of one field: a box in the symbol font with the legend of
// the symbol characters under it. Enter starts a new line, and so does "@",
// typed or pasted, as in the descriptions file the sheet is saved to; OK (or Ctrl+Enter)
// writes the text into field `id` of the sheet's document, as one step to undo.
//
// The text goes in and comes out as plain text: a label such as "<b>Pompa</b>"
// stays those characters. A character that Windows-1250 cannot hold (pasted
// from elsewhere) is refused with a message naming it, so that no later
// export or project save can fail on it.
//
// The font button opens the font dialog for this field (its font, and the
// automatic size). The two mode buttons are made but never shown: the dialog
// always works with formatted text and the legend in view.
class LabelEditDialog : public QDialog
{
    Q_OBJECT

public:
    // Without a document the dialog only edits its own copy.
    LabelEditDialog(int id, QString text, QFont font, SheetDocument *document);
    ~LabelEditDialog() override;

    QTextEdit *textBox() const { return teText; }
    FormatsLegend *legend() const { return formatsLegend; }
    QPushButton *fontButton() const { return pbFont; }
    // The font dialog opened last by the font button, if any.
    FontDialog *openedFontDialog() const;
    // The dialog's font: the field's, or the one the font dialog sent last.
    QFont chosenFont() const { return font; }

    // The box's text with every line break as "\n".
    QString plainText() const;

signals:
    void changeLabel(QString text);

public slots:
    void pbAcceptClicked();
    void rbPlainTextSelected();
    void rbFormatedTextSelected();
    void pbFontClicked();
    void fontChanged(QFont font);
    // Leaves the field as it was when the dialog opened, its font included.
    void reject() override;

private:
    // Turns every "@" in the box into a line break where it stands.
    void breakAtSigns();

    QRadioButton *rbPlainText = nullptr;
    QRadioButton *rbFormatedText = nullptr;
    QTextEdit *teText = nullptr;
    QPushButton *pbAccept = nullptr;
    QPushButton *pbCancel = nullptr;
    QPushButton *pbFont = nullptr;
    FormatsLegend *formatsLegend = nullptr;
    QPointer<SheetDocument> document;
    int fieldId = -1;
    QString originalText;
    QFont originalDocumentFont;
    QPointer<FontDialog> fontDialog;
    QFont font;
    QFont originalFont;
    bool fontApplied = false;
    bool breaking = false;
};
