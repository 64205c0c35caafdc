#include "items/mygraphicsitem.h"

#include "items/specialglyphfont.h"

#include <QFontMetrics>
#include <QGraphicsSceneMouseEvent>
#include <QPainter>

namespace {
const QColor fitsSelectedColor(0, 127, 155, 75);
const QColor overflowColor(255, 127, 0, 75);
const QColor overflowSelectedColor(255, 127, 255, 75);

bool isBold(const QFont &f) { return f.weight() > QFont::Normal; }
bool isItalic(const QFont &f) { return f.style() != QFont::StyleNormal; }
} // namespace

MyGraphicsItem::MyGraphicsItem(int id, Preview *owner)
    : id(id)
    , owner(owner)
{
    setAcceptDrops(true);
    textOption.setWrapMode(QTextOption::WordWrap);
    font.setFamily(SpecialGlyphFont::family());
    font.setPixelSize(10);
}

QRectF MyGraphicsItem::boundingRect() const
{
    return rect;
}

void MyGraphicsItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *)
{
    painter->setFont(font);
    painter->setBrush(currentBrush);
    painter->setPen(QPen(Qt::black, 0));   // hairline frame and text, at any zoom
    painter->drawRect(rect);
    painter->save();
    painter->setClipRect(textRect, Qt::IntersectClip);
    painter->drawText(textRect, text, textOption);
    painter->restore();
}

void MyGraphicsItem::setUsersFont(QFont newFont)
{
    font = newFont;
    font.setFamily(SpecialGlyphFont::family());
    if (font.pixelSize() == 1)
        font.setPixelSize(10);
    textOption.setAlignment(Qt::AlignCenter);
    setText(text);
}

void MyGraphicsItem::setRectF(QRectF newRect)
{
    prepareGeometryChange();
    rect = newRect;
    textRect = rect.adjusted(1, 1, -1, -1);
    update(rect);
}

void MyGraphicsItem::setText(QString TEXT)
{
    text = std::move(TEXT);
    checkFit();
    update(rect);
}

void MyGraphicsItem::setFontPixelSize(int pixelSize) { font.setPixelSize(pixelSize); }
void MyGraphicsItem::setFontBold(bool bold) { font.setWeight(bold ? QFont::Bold : QFont::Normal); }
void MyGraphicsItem::setFontItalic(bool italic) { font.setStyle(italic ? QFont::StyleItalic : QFont::StyleNormal); }
void MyGraphicsItem::setFontUnderline(bool underline) { font.setUnderline(underline); }

void MyGraphicsItem::refresh()
{
    update(rect);
}

void MyGraphicsItem::setSelected(bool isSelected)
{
    selected = isSelected;
    currentBrush = selected ? selectedBrush : normalBrush;
    update(rect);
}

void MyGraphicsItem::changeFontFamily(QString name)
{
    font.setFamily(name);
    setText(text);
}

void MyGraphicsItem::changeFontPixelSize(int pixelSize)
{
    font.setPixelSize(pixelSize);
    setText(text);
}

void MyGraphicsItem::changeFontBold()
{
    setFontBold(!isBold(font));
    setText(text);
}

void MyGraphicsItem::changeFontItalic()
{
    setFontItalic(!isItalic(font));
    setText(text);
}

void MyGraphicsItem::changeFontUnderline()
{
    font.setUnderline(!font.underline());
    setText(text);
}

// The text is measured in the frame truncated to whole units, with word wrap as
// the only flag; a box exactly as large as the frame fits. The whole frame
// counts, not the 1-unit smaller rectangle the text is painted in.
void MyGraphicsItem::checkFit()
{
    const QFontMetrics metrics(font);
    const QRect frame(int(rect.x()), int(rect.y()), int(rect.width()), int(rect.height()));
    const QRect box = metrics.boundingRect(frame, Qt::TextWordWrap, text);
    fits = !(frame.width() < box.width() || frame.height() < box.height());
    if (fits) {
        normalBrush = QBrush(Qt::white);
        selectedBrush = QBrush(fitsSelectedColor);
    } else {
        normalBrush = QBrush(overflowColor);
        selectedBrush = QBrush(overflowSelectedColor);
    }
    setSelected(selected);
}

void MyGraphicsItem::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    const Qt::KeyboardModifiers mods = event->modifiers();
    event->accept();
    emit clickedItem(id, font, mods.testFlag(Qt::ShiftModifier), mods.testFlag(Qt::ControlModifier));
}

void MyGraphicsItem::mouseReleaseEvent(QGraphicsSceneMouseEvent *event)
{
    event->accept();
}
