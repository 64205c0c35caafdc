#include "printing/fieldpainter.h"

#include "model/specialglyphfont.h"

#include <QFontMetrics>
#include <QHash>
#include <QPainter>
#include <QTextOption>

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

// Panels repeat their texts ("Praca", "Awaria", ...), and every page built or
// printed measures its fields again with the same fonts and frames. Measuring
// is by far the largest cost of showing or printing a sheet, so recent
// results are kept in a small table indexed by a hash of everything that
// decides them (text, font, frame size); a different question landing in the
// same slot takes it over. The table is never destroyed, as it holds fonts
// that must not outlive the font database at exit.
struct FitSlot
{
    QString text;
    QFont font;
    int width = -1;
    int height = -1;
    bool fits = true;
};

constexpr int fitSlotBits = 12;

FitSlot &fitSlot(const QString &text, const QFont &font, int width, int height)
{
    static auto *table = new FitSlot[size_t(1) << fitSlotBits];
    // Nearly every field has the same font as the one before it: its hash is
    // worked out again only when the font changes.
    static auto *lastFont = new QFont;
    static size_t lastFontHash = qHash(*lastFont);
    if (!(font == *lastFont)) {
        *lastFont = font;
        lastFontHash = qHash(font);
    }
    const size_t hash = qHashMulti(lastFontHash, text, width, height);
    return table[(hash ^ (hash >> 29)) & ((size_t(1) << fitSlotBits) - 1)];
}

const QTextOption &textOption()
{
    static const QTextOption option = [] {
        QTextOption o(Qt::AlignCenter);
        o.setWrapMode(QTextOption::WordWrap);
        return o;
    }();
    return option;
}
} // namespace

namespace FieldPainter {

// The text is measured in the frame truncated to whole units, with word wrap as
// the only flag; a box exactly as large as the frame fits.
bool fits(const QString &text, const QFont &font, const QRectF &rect)
{
    const QRect frame(int(rect.x()), int(rect.y()), int(rect.width()), int(rect.height()));
    // Where the frame stands does not change the size of the box.
    FitSlot &slot = fitSlot(text, font, frame.width(), frame.height());
    if (slot.width == frame.width() && slot.height == frame.height() && slot.text == text && slot.font == font)
        return slot.fits;
    const QRect box = QFontMetrics(font).boundingRect(frame, Qt::TextWordWrap, text);
    const bool fit = !(frame.width() < box.width() || frame.height() < box.height());
    slot = {text, font, frame.width(), frame.height(), fit};
    return fit;
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
    painter->setBrush(fill);
    painter->setPen(QPen(Qt::black, 0));   // hairline frame and text, at any zoom
    painter->drawRect(frame);
    if (text.isEmpty())   // the top strips and empty fields: a frame alone
        return;
    painter->setFont(font);
    // drawText keeps the text inside the text rectangle itself, clipping only
    // a text that does not fit: a clip of our own around every field cost a
    // fresh graphics state per field on paper, half the size of a printed page.
    painter->drawText(textRect(frame), text, textOption());
}

} // namespace FieldPainter
