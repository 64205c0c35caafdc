#include "document/fieldtext.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>
#include <QTextOption>

#include <cmath>

namespace FieldText {

namespace {

// What the glyphs of a font put on paper: the bounds of each one's outline,
// relative to its origin on the baseline, by glyph index. A bitmap font has
// no outlines: its glyph boxes stand in. Working an outline out costs far more
// than laying out a text, so the answers are kept; the table is never
// destroyed, as it holds fonts that must not outlive the font database at exit.
class GlyphInk
{
public:
    static GlyphInk &of(const QRawFont &font)
    {
        static auto *table = new QHash<QRawFont, GlyphInk>;
        if (table->size() > 256)   // a long session through many fonts and sizes
            table->clear();
        auto known = table->find(font);
        if (known == table->end())
            known = table->insert(font, GlyphInk(font));
        return *known;
    }

    explicit GlyphInk(const QRawFont &font = QRawFont())
        : font(font)
    {
    }

    const QRectF &operator[](quint32 glyph)
    {
        if (glyph >= quint32(bounds.size()))
            bounds.resize(glyph + 1, unknown());
        QRectF &ink = bounds[glyph];
        if (ink == unknown()) {
            const QPainterPath outline = font.pathForGlyph(glyph);
            ink = outline.boundingRect();
            if (outline.isEmpty()) {
                const QRectF box = font.boundingRect(glyph);
                ink = box.width() > 0 && box.height() > 0 ? box : QRectF();
            }
        }
        return ink;
    }

private:
    static QRectF unknown() { return QRectF(0, 0, -1, -1); }

    QRawFont font;
    QList<QRectF> bounds;
};

// The lines an underline, strike-out or overline adds to a run of glyphs, as
// the painter draws them: lines of the font's thickness, the underline a
// little below the font's underline position but within its descent. The
// painter starts them on a whole unit of the coordinates it paints in, which
// depend on where the field stands: up to one unit left of the run.
QRectF decorationInk(const QGlyphRun &run)
{
    const QRawFont font = run.rawFont();
    const QRectF logical = run.boundingRect();
    const qreal baseline = run.positions().constFirst().y();
    const qreal half = font.lineThickness() / 2;
    const qreal left = logical.left() - 1;
    const qreal right = logical.right();
    QRectF ink;
    auto add = [&](qreal y) { ink |= QRectF(QPointF(left, y - half), QPointF(right, y + half)); };
    if (run.underline()) {
        const qreal position = font.underlinePosition();
        qreal offset = std::ceil(position) + 0.5;
        if (position <= font.descent())
            offset = qMin(offset, font.descent() - 0.5);
        add(baseline + offset);
    }
    if (run.strikeOut())
        add(baseline - font.ascent() / 3);
    if (run.overline())
        add(baseline - font.ascent());
    return ink;
}

QRectF lineInk(const QTextLine &line)
{
    qreal left = qInf(), top = qInf(), right = -qInf(), bottom = -qInf();
    QRectF decorations;
    const QList<QGlyphRun> runs = line.glyphRuns();
    for (const QGlyphRun &run : runs) {
        GlyphInk &ink = GlyphInk::of(run.rawFont());
        const QList<quint32> glyphs = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        for (qsizetype i = 0; i < glyphs.size(); ++i) {
            const QRectF &glyph = ink[glyphs.at(i)];
            if (glyph.isNull())   // a space
                continue;
            const QPointF at = positions.at(i);
            left = qMin(left, at.x() + glyph.left());
            right = qMax(right, at.x() + glyph.right());
            top = qMin(top, at.y() + glyph.top());
            bottom = qMax(bottom, at.y() + glyph.bottom());
        }
        if (!positions.isEmpty() && (run.underline() || run.strikeOut() || run.overline()))
            decorations |= decorationInk(run);
    }
    return left <= right ? QRectF(QPointF(left, top), QPointF(right, bottom)) | decorations : decorations;
}

// The layout font of the font asked for before, kept: every copy made afresh
// would be a new font object that looks its font engine up again.
struct LaidFont
{
    QFont font;
    QFont laid;
    qreal leading = 0;
    bool known = false;
};

const LaidFont &laidFont(const QFont &font)
{
    static auto *last = new LaidFont;   // never destroyed, as it holds fonts
    if (!last->known || !(font == last->font)) {
        const QFont laid = layoutFont(font);
        *last = {font, laid, QFontMetricsF(laid).leading(), true};
    }
    return *last;
}

// Line breaks as the layout takes them; carriage returns (CR LF files) and
// tabs are spaces.
QString shownText(const QString &text)
{
    QString shown = text;
    for (qsizetype i = 0; i < shown.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\n')
            shown[i] = QChar::LineSeparator;
        else if (c == u'\r' || c == u'\t')
            shown[i] = u' ';
    }
    return shown;
}

// Sheets hold tens of thousands of fields and repeat their texts ("Praca",
// "Awaria", ...), and a rebuild lays every field out again with the same fonts
// and rectangles. Recent layouts are kept in a small table indexed by a hash
// of everything that decides them (text, font, size), two to a hash, so that
// two questions asked in turn do not keep pushing each other out; a new one
// takes the place of the one of the two used less recently. Never destroyed,
// as it holds fonts.
struct Slot
{
    QString text;
    QFont font;
    QSizeF size{-1, -1};
    std::shared_ptr<const Layout> layout;
    bool fits = true;   // the layout's, at hand: a sheet being built asks for nothing else
    quint64 used = 0;
};

constexpr int slotBits = 12;

const Slot &cached(const QString &text, const QFont &font, const QSizeF &size)
{
    static auto *table = new Slot[size_t(1) << slotBits];
    static quint64 tick = 0;
    // Nearly every field has the same font as the one before it: its hash is
    // worked out again only when the font changes.
    static auto *lastFont = new QFont;
    static size_t lastFontHash = qHash(*lastFont);
    if (!(font == *lastFont)) {
        *lastFont = font;
        lastFontHash = qHash(font);
    }
    const size_t hash = qHashMulti(lastFontHash, text, size.width(), size.height());
    Slot *pair = table + ((hash ^ (hash >> 29)) & ((size_t(1) << slotBits) - 2));
    for (Slot *slot : {pair, pair + 1}) {
        if (slot->size == size && slot->text == text && slot->font == font) {
            slot->used = ++tick;
            return *slot;
        }
    }
    Slot &slot = pair[0].used < pair[1].used ? pair[0] : pair[1];
    auto layout = std::make_shared<const Layout>(text, font, size);
    const bool fits = layout->fits();
    slot = {text, font, size, std::move(layout), fits, ++tick};
    return slot;
}

} // namespace

QFont layoutFont(const QFont &font)
{
    QFont laid = font;
    laid.setHintingPreference(QFont::PreferNoHinting);
    return laid;
}

Layout::Layout(const QString &text, const QFont &font, const QSizeF &size)
    : rectSize(size)
{
    if (text.isEmpty())
        return;
    const LaidFont &laid = laidFont(font);
    textLayout.setText(shownText(text));
    textLayout.setFont(laid.laid);
    // The shaped glyphs stay with the layout: without this QTextLayout drops
    // them at endLayout(), and every draw() shapes the text again.
    textLayout.setCacheEnabled(true);
    QTextOption option;   // aligned here, line by line
    option.setWrapMode(QTextOption::WordWrap);
    option.setUseDesignMetrics(true);
    textLayout.setTextOption(option);

    const qreal width = qMax<qreal>(0, size.width());
    const qreal leading = laid.leading;
    qreal height = -leading;
    QList<QRectF> inks;   // of each line, where it stands in the block
    textLayout.beginLayout();
    for (QTextLine line = textLayout.createLine(); line.isValid(); line = textLayout.createLine()) {
        line.setLineWidth(width);
        // Each line starts on a whole unit, its font's leading after the
        // descent of the line above.
        height = std::ceil(height + leading);
        line.setPosition(QPointF((width - line.horizontalAdvance()) / 2, height));
        height += line.ascent() + qMax<qreal>(0, line.descent());
        inks.append(lineInk(line));   // while the shaped glyphs are at hand
    }
    textLayout.endLayout();

    // The block of lines centred down the rectangle; a block taller than the
    // rectangle reaches out at the top and the bottom alike.
    const qreal top = (size.height() - height) / 2;
    for (int i = 0; i < textLayout.lineCount(); ++i) {
        QTextLine line = textLayout.lineAt(i);
        const QPointF before = line.position();
        line.setPosition(before + QPointF(0, top));
        inkRect |= inks.at(i).translated(line.position() - before);
    }
    fit = inkRect.isNull()
          || (inkRect.left() >= 0 && inkRect.top() >= 0 && inkRect.right() <= size.width()
              && inkRect.bottom() <= size.height());
}

void Layout::draw(QPainter *painter, const QPointF &topLeft) const
{
    if (fit) {
        // No clip: a clip of its own would cost every field a fresh graphics
        // state on paper, and would cut nothing.
        textLayout.draw(painter, topLeft);
        return;
    }
    painter->save();
    painter->setClipRect(QRectF(topLeft, rectSize), Qt::IntersectClip);
    textLayout.draw(painter, topLeft);
    painter->restore();
}

std::shared_ptr<const Layout> layout(const QString &text, const QFont &font, const QSizeF &size)
{
    return cached(text, font, size).layout;
}

bool fits(const QString &text, const QFont &font, const QSizeF &size)
{
    return cached(text, font, size).fits;
}

void draw(QPainter *painter, const QRectF &textRect, const QString &text, const QFont &font)
{
    if (text.isEmpty())
        return;
    cached(text, font, textRect.size()).layout->draw(painter, textRect.topLeft());
}

} // namespace FieldText
