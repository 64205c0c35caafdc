#pragma once

#include <QBrush>
#include <QFont>
#include <QGraphicsObject>
#include <QRectF>
#include <QString>

class Preview;
class QMimeData;
class QGraphicsSceneDragDropEvent;

// One field of a barette on a page: the blank top strip (id -1), the header or
// a label field. It paints its frame and text, tints itself when the text does
// not fit, shows its own selected state and reports mouse presses.
//
// Fill: white when the text fits, orange when it does not; blue-green or
// purple when selected; light yellow under a drag.
//
// A double-click opens the edit dialog for the field; a field dragged onto
// another copies its text and font there. Edits of both kinds are reported to
// the owning sheet, which keeps them for undo.
class MyGraphicsItem : public QGraphicsObject
{
    Q_OBJECT

public:
    static constexpr int stripId = -1;

    MyGraphicsItem(int id, Preview *owner);

    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

    int fieldId() const { return id; }
    const QString &currentText() const { return text; }
    const QFont &currentFont() const { return font; }
    const QRectF &frame() const { return rect; }
    const QRectF &textFrame() const { return textRect; }
    bool isSelected() const { return selected; }   // the field's own state, not the toolkit's
    bool textFits() const { return fits; }
    const QBrush &fill() const { return currentBrush; }

    // setUsersFont() and setText() in one, measuring the text once.
    void setContent(QString newText, const QFont &newFont);
    // Takes text and font exactly as given (no adjustment of the font) and
    // measures again: brings back an earlier state of the field.
    void restore(QString newText, const QFont &newFont);

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
    // Takes a whole font: centred again, the special-glyph family forced, and a
    // pixel size of 1 (the automatic size of the font dialog) becomes 10.
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
    void checkFit();
    QByteArray fieldMark() const;
    bool acceptsDrag(QGraphicsSceneDragDropEvent *event) const;

    int id;
    Preview *owner;
    bool selected = false;
    bool fits = true;
    QRectF rect;
    QRectF textRect;
    QString text;
    QFont font;
    QBrush currentBrush;
    QBrush normalBrush;
    QBrush selectedBrush;
};
