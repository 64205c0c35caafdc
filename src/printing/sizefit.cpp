#include "printing/sizefit.h"

#include "document/sheetdocument.h"
#include "document/specialglyphfont.h"
#include "printing/fieldpainter.h"
#include "printing/fittracker.h"

#include <QFontInfo>
#include <QHash>

namespace SizeFit {

Plan plan(SheetDocument &document, const SheetLayout &sheet, const std::vector<qsizetype> &ids)
{
    Plan result;
    const FieldFrames frames = FieldFrames::of(sheet, document);
    const bool all = ids.empty();
    const qsizetype count = all ? frames.fieldCount : qsizetype(ids.size());

    // Fonts are few: each smaller size of one is worked out once.
    QHash<quint64, quint32> resized;   // font index << 16 | size -> index

    for (qsizetype position = 0; position < count; ++position) {
        const qsizetype id = all ? position : ids[size_t(position)];
        if (id >= frames.fieldCount)
            continue;
        const quint32 index = document.fontIndex(id);
        // A copy: interning a smaller font below may move the document's table.
        const QFont font = document.fieldFontAt(index);
        const QString text = document.text(id);
        const QRectF &frame = frames.frame(id);
        if (SpecialGlyphFont::isAutomatic(font)) {
            if (!FieldPainter::fits(text, FieldPainter::shownFont(text, font, frame), frame))
                ++result.stillOverflowing;
            continue;
        }
        if (FieldPainter::fits(text, font, frame))
            continue;
        // A font sized in points starts from the pixels it comes to.
        const int present = font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize();
        int size = FieldPainter::largestFittingSize(text, font, present - 1, frame);
        if (size == 0) {
            ++result.stillOverflowing;
            if (present <= FieldPainter::smallestFittedSize)
                continue;
            size = FieldPainter::smallestFittedSize;
        }
        const quint64 key = quint64(index) << 16 | quint64(size);
        auto found = resized.constFind(key);
        if (found == resized.cend()) {
            QFont smaller = document.fontAt(index);
            smaller.setPixelSize(size);
            found = resized.insert(key, document.intern(smaller));
        }
        FontIndexCommand::add(result.runs, id, index, found.value());
        ++result.changed;
    }
    return result;
}

} // namespace SizeFit
