#include "items/mygraphicsitem.h"

#include "app/prompts.h"
#include "items/fieldtransfer.h"
#include "items/specialglyphfont.h"
#include "model/fieldtext.h"
#include "preview/preview.h"
#include "preview/windows1250.h"
#include "textedit/labeleditdialog.h"

#include <QCoreApplication>
#include <QDrag>
#include <QGraphicsSceneDragDropEvent>
#include <QGraphicsSceneMouseEvent>
#include <QMimeData>
#include <QPainter>
#include <QPointer>
#include <QWidget>

namespace {
// Sheets hold tens of thousands of fields: they share these brushes instead
// of each allocating its own.
struct Brushes
{
    const QBrush white{Qt::white};
    const QBrush fitsSelected{QColor(0, 127, 155, 75)};
    const QBrush overflow{QColor(255, 127, 0, 75)};
    const QBrush overflowSelected{QColor(255, 127, 255, 75)};
    const QBrush dragHover{QColor(255, 255, 153)};
};

const Brushes &brushes()
{
    static const Brushes b;
    return b;
}

bool isBold(const QFont &f) { return f.weight() > QFont::Normal; }
bool isItalic(const QFont &f) { return f.style() != QFont::StyleNormal; }
} // namespace

MyGraphicsItem::MyGraphicsItem(int id, Preview *owner)
    : id(id)
    , owner(owner)
    , font(SpecialGlyphFont::defaultFont())
    , currentBrush(brushes().white)
    , normalBrush(brushes().white)
{
    setAcceptDrops(true);
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
    if (text.isEmpty())   // the top strips and empty fields: a frame alone
        return;
    // The layout the fit test judged, cut at textRect only when it does not
    // fit: a clip around every field cost a fresh graphics state per field on
    // paper, half the size of a printed page.
    FieldText::draw(painter, textRect, text, font);
}

void MyGraphicsItem::setUsersFont(QFont newFont)
{
    adoptFont(newFont);
    setText(text);
}

void MyGraphicsItem::setContent(QString newText, const QFont &newFont)
{
    adoptFont(newFont);
    setText(std::move(newText));
}

void MyGraphicsItem::restore(QString newText, const QFont &newFont)
{
    font = newFont;
    setText(std::move(newText));
}

void MyGraphicsItem::adoptFont(const QFont &newFont)
{
    font = newFont;
    // Setting a family the font already has would still detach it.
    const QString family = SpecialGlyphFont::family();
    if (font.family() != family)
        font.setFamily(family);
    if (font.pixelSize() == 1)
        font.setPixelSize(10);
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
    checkFit();   // repaints through setSelected
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

// The text fits when the layout painted in textRect puts all its ink inside
// textRect (see FieldText).
void MyGraphicsItem::checkFit()
{
    fits = FieldText::fits(text, font, textRect.size());
    const Brushes &b = brushes();
    normalBrush = fits ? b.white : b.overflow;
    selectedBrush = fits ? b.fitsSelected : b.overflowSelected;
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

void MyGraphicsItem::mouseDoubleClickEvent(QGraphicsSceneMouseEvent *event)
{
    event->accept();
    const QString oldText = text;
    const QFont oldFont = font;
    const QPointer<MyGraphicsItem> self(this);
    {
        LabelEditDialog dialog(id, text, font, this);
        Prompts::current().runDialog(dialog);
    }
    if (self && owner)
        owner->fieldEdited(this, oldText, oldFont, QCoreApplication::translate("MyGraphicsItem", "Edycja opisu"));
}

// ------------------------------------------------------------ drag and drop

QString MyGraphicsItem::transferText() const
{
    return FieldTransfer::write(text, font);
}

QByteArray MyGraphicsItem::fieldMark() const
{
    // This process and this field: a drag from another running copy of the
    // program never looks like one of ours.
    return QByteArray::number(QCoreApplication::applicationPid()) + ':' + QByteArray::number(quintptr(this), 16);
}

QMimeData *MyGraphicsItem::makeDragData() const
{
    auto *data = new QMimeData;
    data->setText(transferText());
    data->setData(fieldMarkFormat, fieldMark());
    return data;
}

void MyGraphicsItem::mouseMoveEvent(QGraphicsSceneMouseEvent *event)
{
    event->accept();
    // The top strip has nothing to give; a drag needs the view as its source.
    if (id < 0 || !event->widget())
        return;
    // The first move after the press starts the drag, however small.
    auto *drag = new QDrag(event->widget());
    drag->setMimeData(makeDragData());
    setSelected(true);
    // Returns when the drag ends; the source keeps its text and font whatever
    // became of the drop. The toolkit deletes the drag object.
    drag->exec(Qt::MoveAction);
}

bool MyGraphicsItem::acceptsDrag(QGraphicsSceneDragDropEvent *event) const
{
    const QMimeData *data = event->mimeData();
    // The top strip takes no drops, and a field dropped on itself has nothing to copy.
    return id >= 0 && data && data->hasText() && data->data(fieldMarkFormat) != fieldMark();
}

namespace {
void acceptAsCopy(QGraphicsSceneDragDropEvent *event)
{
    // A copy wherever the source allows it: a program that offers to move its
    // text would otherwise delete it after the drop. Our own fields offer
    // only a move and ignore its result.
    if (event->possibleActions().testFlag(Qt::CopyAction)) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->acceptProposedAction();
    }
}
} // namespace

void MyGraphicsItem::dragEnterEvent(QGraphicsSceneDragDropEvent *event)
{
    if (!acceptsDrag(event)) {
        event->ignore();
        return;
    }
    acceptAsCopy(event);
    if (!selected) {
        currentBrush = brushes().dragHover;
        update(rect);
    }
}

void MyGraphicsItem::dragLeaveEvent(QGraphicsSceneDragDropEvent *event)
{
    if (id < 0)
        return;
    event->accept();
    // Back to the field's own look: an overflowing field stays marked.
    setSelected(selected);
}

void MyGraphicsItem::dragMoveEvent(QGraphicsSceneDragDropEvent *)
{
    // Nothing: the acceptance of the enter holds over the whole field.
}

void MyGraphicsItem::dropEvent(QGraphicsSceneDragDropEvent *event)
{
    if (!acceptsDrag(event)) {
        event->ignore();
        if (id >= 0)
            setSelected(selected);   // the highlight goes
        return;
    }
    FieldTransfer transfer = FieldTransfer::read(event->mimeData()->text());
    if (!transfer.carriesFont) {
        // Text from another program: its line ends become the fields' own.
        transfer.text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        transfer.text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    }
    qsizetype bad = -1;
    QByteArray ignored;
    const bool encodable = Windows1250::encode(transfer.text, ignored, &bad);
    // Empty text from elsewhere has nothing to give; text the files could not
    // hold is refused, so that no later export or save fails on it.
    if ((!transfer.carriesFont && transfer.text.isEmpty()) || !encodable) {
        event->ignore();
        setSelected(selected);
        if (!encodable) {
            Prompts::current().message(
                QMessageBox::Warning, QString(),
                QCoreApplication::translate("MyGraphicsItem",
                                            "Upuszczony tekst zawiera znak %1, którego nie można zapisać "
                                            "w kodowaniu Windows-1250.\nPole nie zostało zmienione.")
                    .arg(Windows1250::describe(Windows1250::characterAt(transfer.text, bad))));
        }
        return;
    }
    acceptAsCopy(event);
    const QString oldText = text;
    const QFont oldFont = font;
    if (transfer.carriesFont)
        setContent(transfer.text, transfer.font(font));   // ends the highlight: the look is worked out again
    else
        setText(transfer.text);
    if (owner)
        owner->fieldEdited(this, oldText, oldFont, QCoreApplication::translate("MyGraphicsItem", "Upuszczenie"));
}
