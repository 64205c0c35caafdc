#pragma once

#include <QBrush>
#include <QFont>
#include <QRectF>
#include <QString>

class QPainter;
namespace FieldText {
class Layout;
}

// How one field looks, on screen and on paper: its frame, its fill and its
// text. The field item in the window and the page painter of every print
// both draw through paint(), so the two cannot drift apart.
//
// Fill: white when the text fits, orange when it does not; blue-green or
// purple when selected; light yellow under a drag.
namespace FieldPainter {

enum class Look { Normal, Selected, DragHover };

// Whether `text` in `font` fits the field whose frame is `frame`.
bool fits(const QString &text, const QFont &font, const QRectF &frame);

// Sizes a text may take when it is made to fit: the automatic size goes up
// to the default size, and nothing is made smaller than 4.
constexpr int largestAutomaticSize = 10;
constexpr int smallestFittedSize = 4;

// The largest whole pixel size from `from` down to smallestFittedSize at
// which `text` in `font` fits `frame` (by fits()); 0 when none does.
int largestFittingSize(const QString &text, QFont font, int from, const QRectF &frame);

// The font `text` is shown in within `frame` for a field's `font`: the font
// itself, but for an automatic size (SpecialGlyphFont::isAutomatic) the
// largest size up to largestAutomaticSize at which the text fits, or
// smallestFittedSize when none does. The field items and the page painter
// both show fields in it.
QFont shownFont(const QString &text, const QFont &font, const QRectF &frame);

// The fill of a field in this state.
const QBrush &fill(bool fits, Look look);

// The rectangle the text is painted in: the frame less one unit all round.
inline QRectF textRect(const QRectF &frame) { return frame.adjusted(1, 1, -1, -1); }

// Frame (a hairline at any zoom), fill and text. The painter's pen, brush
// and font are left as this sets them.
void paint(QPainter *painter, const QRectF &frame, const QString &text, const QFont &font, const QBrush &fill);
// The same with the text's layout at hand (FieldText::layout() for the text
// rectangle's size); none for an empty text.
void paint(QPainter *painter, const QRectF &frame, const FieldText::Layout *text, const QBrush &fill);

} // namespace FieldPainter
