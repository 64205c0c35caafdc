#include "printing/pagepainter.h"

#include "model/sheetdocument.h"
#include "model/sheetlayout.h"
#include "printing/fieldpainter.h"

#include <QPainter>

PagePainter::PagePainter(const SheetLayout &sheet, const SheetDocument &document)
    : sheet(sheet)
    , document(document)
{
}

int PagePainter::pageCount() const
{
    return sheet.lastPageFor(document.baretteCount(sheet.labelsPerBarette)) + 1;
}

void PagePainter::paint(QPainter *painter, int p, const QRectF &paper, bool marks) const
{
    if (marks) {
        painter->setPen(QPen(Qt::gray, 0));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(sheet.fAvailableArea);
    }
    const QBrush &white = FieldPainter::fill(true, FieldPainter::Look::Normal);
    const int n = sheet.labelsPerBarette;
    const qsizetype barettes = document.baretteCount(n);
    qsizetype b = qsizetype(sheet.barettesPerPage) * p;
    for (int r = 0; r < sheet.rows; ++r) {
        for (int c = 0; c < sheet.columns; ++c, ++b) {
            if (b >= barettes)
                return;
            const QPointF origin = sheet.baretteOrigin(r, c);
            const QRectF strip = sheet.stripRect(origin);
            if (strip.intersects(paper))
                FieldPainter::paint(painter, strip, QString(), QFont(), white);
            const qsizetype firstId = b * (n + 1);
            for (int j = 0; j <= n; ++j) {
                const QRectF frame = j == 0 ? sheet.headerRect(origin) : sheet.labelRect(origin, j);
                if (!frame.intersects(paper))
                    continue;
                const qsizetype id = firstId + j;
                const QString text = document.text(id);
                // An automatic size depends on the text and the frame.
                const QFont font =
                    FieldPainter::shownFont(text, document.fieldFontAt(document.fontIndex(id)), frame);
                const bool fits = !marks || FieldPainter::fits(text, font, frame);
                FieldPainter::paint(painter, frame, text, font, FieldPainter::fill(fits, FieldPainter::Look::Normal));
            }
        }
    }
}
