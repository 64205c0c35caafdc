#pragma once

#include <QFont>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QTextLayout>

#include <memory>

class QPainter;

// The text of a field, laid out once for the rectangle it is painted in. The
// fit test and the painting both take this one layout, so that a field is
// tinted exactly when its painting would lose ink; the layout keeps its
// shaped glyphs, so a text is shaped once however often it is judged and drawn.
//
// Layout: "\n" starts a new line; a carriage return and a tab are spaces.
// Lines wrap at word boundaries to the width of the rectangle (a word wider
// than the rectangle stays whole on its line), each line is centred across
// the rectangle and the block of lines down it. Each line starts on a whole
// unit, at least the font's leading below the descent of the line above.
//
// A text far longer than the rectangle can show is laid out up to a cut past
// what it could show (at a white space), when that part alone cannot fit: the
// field then shows the middle of that part's block, and its layout costs what
// the rectangle holds, not what the text does.
//
// Fit: the text fits when everything it puts on paper lies inside the
// rectangle: every glyph's outline, and the underline, strike-out or overline
// of a font that has them. The empty parts of a line (the descent under a line
// without descenders, the room above letters without ascenders) put nothing
// on paper and do not count. An empty text fits.
//
// Every machine lays out the same: the text is set in a copy of the field's
// font without hinting and in the font's design metrics, whatever the
// desktop's font settings (layoutFont()). The field's own font, which is
// stored in project files, is never changed.
//
// Lengths are in the units of the font's pixel size (scene units for fields).
// Widget-free: QtCore and QtGui only. For the thread that owns the fonts (the
// GUI thread) only: the caches are not shared between threads.
namespace FieldText {

class Layout
{
public:
    // Lays `text` out in `font` for a rectangle of `size`; no cache (see layout()).
    Layout(const QString &text, const QFont &font, const QSizeF &size);
    Layout(const Layout &) = delete;
    Layout &operator=(const Layout &) = delete;

    // True when everything painted lies inside the rectangle.
    bool fits() const { return fit; }
    // The bounds of everything painted, relative to the rectangle's top-left
    // corner; empty when the text paints nothing.
    const QRectF &ink() const { return inkRect; }
    const QSizeF &size() const { return rectSize; }
    // Whether only a part of a long text was laid out (see above): the lines
    // and the ink are that part's.
    bool isPart() const { return part; }
    // The lines, positioned relative to the rectangle's top-left corner.
    // Drawn with QTextLayout::draw() they are the text unclipped.
    const QTextLayout &lines() const { return textLayout; }

    // Paints the text in the painter's pen, the rectangle's top-left corner at
    // `topLeft`. A text that does not fit is cut at the rectangle; one that
    // fits is painted without a clip (nothing would be cut).
    void draw(QPainter *painter, const QPointF &topLeft) const;

private:
    // Lays `text` out; returns true when no placement of its lines could fit
    // the rectangle, however the text went on.
    bool lay(const QString &text, const QFont &font, const QSizeF &size);

    QTextLayout textLayout;
    QSizeF rectSize;
    QRectF inkRect;
    qreal margin = 0;   // how far outside the rectangle a line drawn may lie
    bool fit = true;
    bool part = false;
};

// The layout of `text` in `font` for a rectangle of `size`, taken from a
// table of recent layouts when the same question was asked before (sheets
// repeat their texts). Never null.
std::shared_ptr<const Layout> layout(const QString &text, const QFont &font, const QSizeF &size);

// Whether `text` in `font` fits a painted rectangle of `size` (cached).
bool fits(const QString &text, const QFont &font, const QSizeF &size);

// Paints `text` in `font` in `textRect`: the cached layout, drawn as
// Layout::draw() does.
void draw(QPainter *painter, const QRectF &textRect, const QString &text, const QFont &font);

// The font texts are laid out and painted in: `font` without hinting.
QFont layoutFont(const QFont &font);

} // namespace FieldText
