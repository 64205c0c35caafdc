#include "printing/fieldpainter.h"

#include "document/fieldtext.h"
#include "document/specialglyphfont.h"

#include <QPainter>

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

} // namespace

namespace FieldPainter {

// The text is judged in the rectangle it is painted in, by the one layout
// that is painted (FieldText): white exactly when nothing it paints is cut.
bool fits(const QString &text, const QFont &font, const QRectF &frame)
{
    return FieldText::fits(text, font, textRect(frame).size());
}

int largestFittingSize(const QString &text, QFont font, int from, const QRectF &frame)
{
    // From the largest down, so that the size found is the largest that
    // fits even where a smaller size wraps a line worse than a larger one.
    for (int size = from; size >= smallestFittedSize; --size) {
        font.setPixelSize(size);
        if (fits(text, font, frame))
            return size;
    }
    return 0;
}

QFont shownFont(const QString &text, const QFont &font, const QRectF &frame)
{
    if (!SpecialGlyphFont::isAutomatic(font))
        return font;
    QFont shown = font;
    const int size = largestFittingSize(text, font, largestAutomaticSize, frame);
    shown.setPixelSize(size > 0 ? size : smallestFittedSize);
    return shown;
}

const QBrush &fill(bool fits, Look look)
{
    const Brushes &b = brushes();
    switch (look) {
    case Look::Normal:
        return fits ? b.white : b.overflow;
    case Look::Selected:
        return fits ? b.fitsSelected : b.overflowSelected;
    case Look::DragHover:
        return b.dragHover;
    }
    return b.white;
}

void paint(QPainter *painter, const QRectF &frame, const QString &text, const QFont &font, const QBrush &fill)
{
    paint(painter, frame, text.isEmpty() ? nullptr : FieldText::layout(text, font, textRect(frame).size()).get(),
          fill);
}

void paint(QPainter *painter, const QRectF &frame, const FieldText::Layout *text, const QBrush &fill)
{
    painter->setBrush(fill);
    painter->setPen(QPen(Qt::black, 0));   // hairline frame and text, at any zoom
    painter->drawRect(frame);
    if (!text)   // the top strips and empty fields: a frame alone
        return;
    // The layout the fit test judged, cut at the text rectangle only when it
    // does not fit: a clip around every field cost a fresh graphics state per
    // field on paper, half the size of a printed page.
    text->draw(painter, textRect(frame).topLeft());
}

} // namespace FieldPainter
