#include "sheet/mygraphicsitem.h"

#include "dialogs/labeleditdialog.h"
#include "document/fieldtransfer.h"
#include "document/sheetdocument.h"
#include "document/specialglyphfont.h"
#include "files/windows1250.h"
#include "printing/fieldpainter.h"
#include "prompts/prompts.h"
#include "sheet/preview.h"

#include <QCoreApplication>
#include <QDrag>
#include <QGraphicsSceneDragDropEvent>
#include <QGraphicsSceneMouseEvent>
#include <QGraphicsScene>
#include <QMimeData>
#include <QPainter>
#include <QPointer>
#include <QWidget>

namespace {
bool isBold(const QFont &f) { return f.weight() > QFont::Normal; }
bool isItalic(const QFont &f) { return f.style() != QFont::StyleNormal; }
} // namespace

MyGraphicsItem::MyGraphicsItem(int id, SheetDocument *document)
    : id(id)
    , document(document)
    , font(SpecialGlyphFont::defaultFont())
    , shown(font)
    , currentBrush(FieldPainter::fill(true, FieldPainter::Look::Normal))
{
    setAcceptDrops(true);
}

QRectF MyGraphicsItem::boundingRect() const
{
    return rect;
}

void MyGraphicsItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *widget)
{
    FieldPainter::paint(painter, rect, text, shown, currentBrush);
    if (id < 0 || !widget)
        return;
    // Cues beside the tints, for those who cannot tell the colours apart: a
    // field that does not fit has a dark corner, a selected one a double
    // frame, and the field the keyboard is on a dashed frame while the sheet
    // has the focus. Only on screen: printouts are painted elsewhere.
    painter->save();
    const double px = 1.0 / qMax(1e-6, painter->worldTransform().m11());   // one screen pixel
    if (!fits) {
        const double side = qMin(rect.width(), rect.height()) / 3;
        const QPointF corner = rect.topRight();
        const QPointF triangle[] = {corner, corner - QPointF(side, 0), corner + QPointF(0, side)};
        painter->setPen(Qt::NoPen);
        painter->setBrush(QColor(0x80, 0x20, 0x00));
        painter->drawPolygon(triangle, 3);
    }
    if (selected) {
        painter->setBrush(Qt::NoBrush);
        painter->setPen(QPen(QColor(0x00, 0x30, 0x80), 2 * px));
        painter->drawRect(rect.adjusted(2 * px, 2 * px, -2 * px, -2 * px));
    }
    const auto *view = qobject_cast<const Preview *>(widget->parentWidget());
    if (view && view->hasFocus() && view->currentFieldId() == id) {
        painter->setBrush(Qt::NoBrush);
        painter->setPen(QPen(Qt::black, 1.5 * px, Qt::DashLine));
        painter->drawRect(rect.adjusted(5 * px, 5 * px, -5 * px, -5 * px));
    }
    painter->restore();
}

void MyGraphicsItem::showContent(const QString &newText, const QFont &newFont)
{
    adoptFont(newFont);
    text = newText;
    checkFit();
}

void MyGraphicsItem::publish()
{
    if (document && id >= 0)
        document->setContent(id, text, font);
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
    font = SpecialGlyphFont::fieldFont(newFont);
}

void MyGraphicsItem::setRectF(QRectF newRect)
{
    prepareGeometryChange();
    rect = newRect;
    textRect = FieldPainter::textRect(rect);
    update(rect);
}

void MyGraphicsItem::setText(QString TEXT)
{
    text = std::move(TEXT);
    checkFit();   // repaints through setSelected
    publish();
}

// These four change the font only; the next setText() measures and publishes.
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
    // A top strip has no selected look: it is never measured nor chosen.
    currentBrush = id < 0 && selected
                       ? QBrush()
                       : FieldPainter::fill(fits, selected ? FieldPainter::Look::Selected : FieldPainter::Look::Normal);
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

void MyGraphicsItem::checkFit()
{
    shown = FieldPainter::shownFont(text, font, rect);
    fits = FieldPainter::fits(text, shown, rect);
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
    const QPointer<MyGraphicsItem> self(this);
    openEditDialog();
    // The press that opened the dialog made this field the scene's mouse
    // grabber, and its release went to the dialog: the next drag anywhere on
    // the page would still start here.
    if (self && self->scene() && self->scene()->mouseGrabberItem() == self)
        ungrabMouse();
}

void MyGraphicsItem::openEditDialog()
{
    const QPointer<MyGraphicsItem> self(this);
    // OK writes the text into the document, as one step to undo; a top
    // strip, which has none, takes the text itself until the page goes.
    SheetDocument *target = id >= 0 ? document : nullptr;
    LabelEditDialog dialog(id, text, font, target);
    if (Prompts::current().runDialog(dialog) == QDialog::Accepted && self && !target)
        setText(dialog.plainText());
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
        currentBrush = FieldPainter::fill(fits, FieldPainter::Look::DragHover);
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
    setSelected(selected);   // the highlight goes
    if (!document)
        return;
    const QFont newFont = transfer.carriesFont ? SpecialGlyphFont::fieldFont(transfer.font(font)) : document->font(id);
    document->editField(id, transfer.text, newFont, QCoreApplication::translate("MyGraphicsItem", "Upuszczenie"));
}
