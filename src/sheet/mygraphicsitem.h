#pragma once

#include <QBrush>
#include <QFont>
#include <QGraphicsObject>
#include <QRectF>
#include <QString>

class SheetDocument;
class QMimeData;
class QGraphicsSceneDragDropEvent;

// One field of a barette on a page: the blank top strip (id -1), the header or
// a label field. It paints its frame and text, tints itself when the text does
// not fit, shows its own selected state and reports mouse presses.
//
// Fill: white when the text fits, orange when it does not; blue-green or
// purple when selected; light yellow under a drag.
//
// It shows a field of the sheet's document. A double-click opens the edit
// dialog for the field; a field dragged onto another copies its text and font
// there. Edits of both kinds go to the document, which keeps them for undo
// and tells the sheet to show them.
class MyGraphicsItem : public QGraphicsObject
{
    Q_OBJECT

public:
    static constexpr int stripId = -1;

    // `document` is null for the top strips.
    MyGraphicsItem(int id, SheetDocument *document);

    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

    int fieldId() const { return id; }
    const QString &currentText() const { return text; }
    // The field's font as the document keeps it (pixel size 1: automatic).
    const QFont &currentFont() const { return font; }
    // The font the text is shown and measured in: currentFont() with an
    // automatic size worked out for this text and frame.
    const QFont &shownFont() const { return shown; }
    const QRectF &frame() const { return rect; }
    const QRectF &textFrame() const { return textRect; }
    bool isSelected() const { return selected; }   // the field's own state, not the toolkit's
    bool textFits() const { return fits; }
    const QBrush &fill() const { return currentBrush; }

    // Shows the document's text and font for the field (no edit of the
    // document): what the sheet calls when it builds a page or the field
    // changed.
    void showContent(const QString &newText, const QFont &newFont);

    // The edits below change the field and, for a field of the sheet, its
    // document (without an undo step of their own).

    // setUsersFont() and setText() in one, measuring the text once.
    void setContent(QString newText, const QFont &newFont);
    // Takes text and font exactly as given (no adjustment of the font) and
    // measures again: brings back an earlier state of the field.
    void restore(QString newText, const QFont &newFont);

    // Opens "Edycja opisu" for the field, modally (a double-click, or Enter
    // and F2 on the selected field); OK writes the text into the document.
    void openEditDialog();

    // What a drag of this field carries as plain text (see FieldTransfer).
    QString transferText() const;
    // The data a drag of this field carries: the transfer text, and a mark
    // by which the field knows a drag of its own.
    QMimeData *makeDragData() const;
    // MIME type of that mark.
    static inline const QString fieldMarkFormat = QStringLiteral("application/x-lamello-field");

signals:
    void clickedItem(int id, QFont font, bool shift, bool ctrl);

public slots:
    // Takes a whole font: centred again, the special-glyph family forced; a
    // pixel size of 1 (the font dialog's automatic size) stays automatic.
    void setUsersFont(QFont newFont);
    void setRectF(QRectF rect);
    void setText(QString TEXT);
    void setFontPixelSize(int pixelSize);
    void setFontBold(bool bold);
    void setFontItalic(bool italic);
    void setFontUnderline(bool underline);
    void refresh();
    void setSelected(bool selected);
    void changeFontFamily(QString name);
    void changeFontPixelSize(int pixelSize);
    void changeFontBold();
    void changeFontItalic();
    void changeFontUnderline();

protected:
    void dragEnterEvent(QGraphicsSceneDragDropEvent *event) override;
    void dragLeaveEvent(QGraphicsSceneDragDropEvent *event) override;
    void dragMoveEvent(QGraphicsSceneDragDropEvent *event) override;
    void dropEvent(QGraphicsSceneDragDropEvent *event) override;
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseDoubleClickEvent(QGraphicsSceneMouseEvent *event) override;

private:
    void adoptFont(const QFont &newFont);
    // Writes the field's text and font into the document.
    void publish();
    void checkFit();
    QByteArray fieldMark() const;
    bool acceptsDrag(QGraphicsSceneDragDropEvent *event) const;

    int id;
    SheetDocument *document;
    bool selected = false;
    bool fits = true;
    QRectF rect;
    QRectF textRect;
    QString text;
    QFont font;
    QFont shown;
    QBrush currentBrush;
};
