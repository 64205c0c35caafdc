#include "document/fieldtext.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>
#include <QTextOption>

#include <cmath>
#include <utility>

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
    qreal height = 0;   // of a line
    bool known = false;
};

const LaidFont &laidFont(const QFont &font)
{
    static auto *last = new LaidFont;   // never destroyed, as it holds fonts
    if (!last->known || !(font == last->font)) {
        const QFont laid = layoutFont(font);
        const QFontMetricsF metrics(laid);
        *last = {font, laid, metrics.leading(), metrics.height(), true};
    }
    return *last;
}

// How many characters of a text are laid out at first (see Layout): four
// times what the rectangle could show were every character as narrow as the
// narrowest of real fonts (a sixth of a line's height) and every line as low
// as four fifths of one, and never fewer than 1,024.
qsizetype laidOutLength(const QFont &font, const QSizeF &size)
{
    const qreal height = qMax<qreal>(laidFont(font).height, 1);
    const qreal across = qMax<qreal>(0, size.width()) / (height / 6) + 2;
    const qreal down = qMax<qreal>(0, size.height()) / (height * 4 / 5) + 2;
    return qsizetype(qBound<qreal>(1024, 4 * across * down, 1 << 24));
}

// Where a text longer than `length` is cut for its first layout: before the
// last white space in its second half, so that no word is cut and the lines
// before it are the lines of the whole text; else (one long word) after
// `length` characters, never inside a surrogate pair.
qsizetype cutAt(const QString &text, qsizetype length)
{
    for (qsizetype i = length; i > length / 2; --i) {
        const char16_t c = text.at(i).unicode();
        if (c == u' ' || c == u'\n' || c == u'\r' || c == u'\t')
            return i;
    }
    return text.at(length - 1).isHighSurrogate() ? length - 1 : length;
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
    QString text;   // of a layout of part of a text (Layout::isPart()), that part
    QFont font;
    QSizeF size{-1, -1};
    std::shared_ptr<const Layout> layout;
    bool fits = true;   // the layout's, at hand: a sheet being built asks for nothing else
    bool part = false;
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
    // The slot of this question when it was asked before, else the one it
    // takes.
    auto find = [&](QStringView key, bool part) -> std::pair<Slot *, bool> {
        const size_t hash = qHashMulti(lastFontHash, key, size.width(), size.height(), part);
        Slot *pair = table + ((hash ^ (hash >> 29)) & ((size_t(1) << slotBits) - 2));
        for (Slot *slot : {pair, pair + 1}) {
            if (slot->layout && slot->size == size && slot->part == part && slot->text == key
                && slot->font == font) {
                slot->used = ++tick;
                return {slot, true};
            }
        }
        return {pair[0].used < pair[1].used ? pair : pair + 1, false};
    };
    auto keep = [&](Slot *slot, QString key, std::shared_ptr<const Layout> layout) -> const Slot & {
        const bool fits = layout->fits();
        const bool part = layout->isPart();
        *slot = {std::move(key), font, size, std::move(layout), fits, part, ++tick};
        return *slot;
    };
    // A long text's layout may be that of its part, which every text with
    // that part shares: the table then keeps the part, not the whole text.
    std::shared_ptr<const Layout> layout;
    const qsizetype length = laidOutLength(font, size);
    if (text.size() > length) {
        const QStringView part = QStringView(text).left(cutAt(text, length));
        const auto [slot, known] = find(part, true);
        if (known)
            return *slot;
        layout = std::make_shared<const Layout>(text, font, size);
        if (layout->isPart())
            return keep(slot, part.toString(), std::move(layout));
    }
    const auto [slot, known] = find(text, false);
    if (known)
        return *slot;
    if (!layout)
        layout = std::make_shared<const Layout>(text, font, size);
    return keep(slot, text, std::move(layout));
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
    // No field shows more than a few hundred characters, and a text may
    // hold 32,767 (a cell) or more (a line of a file). A long text is laid
    // out up to a cut first: when that part alone cannot fit however it is
    // placed, neither can the whole text, and the field shows that part (the
    // middle of its block, as of any text). Only a text whose part could
    // still fit, nearly all white space, is laid out whole. So a field costs
    // what its size can show, not what its text holds.
    const qsizetype length = laidOutLength(font, size);
    if (text.size() > length) {
        if (lay(text.left(cutAt(text, length)), font, size)) {
            part = true;
            return;
        }
        textLayout.clearLayout();
        inkRect = QRectF();
    }
    lay(text, font, size);
}

bool Layout::lay(const QString &text, const QFont &font, const QSizeF &size)
{
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

    // Whether no placement of the block could fit it, also were the text
    // to go on after its end: the lines but the last are those of any longer
    // text, and the last holds part of the glyphs of its line there, on the
    // same baseline.
    QRectF earlier, all;
    for (qsizetype i = 0; i < inks.size(); ++i) {
        if (i + 1 < inks.size())
            earlier |= inks.at(i);
        all |= inks.at(i);
    }
    const bool cannotFit = earlier.width() > size.width() || all.height() > size.height()
                           || (!inks.isEmpty() && inks.constLast().width() > size.width());

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
    margin = 2 * laid.height;
    return cannotFit;
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
    const QRectF shown(topLeft, rectSize);
    painter->setClipRect(shown, Qt::IntersectClip);
    // Lines that lie well outside the rectangle are not drawn at all: a
    // long text would fill a page with glyphs nobody sees.
    textLayout.draw(painter, topLeft, {}, shown.adjusted(0, -margin, 0, margin));
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
