#include "printing/pagepainter.h"

#include "document/fieldtext.h"
#include "document/sheetdocument.h"
#include "layout/sheetlayout.h"
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
    sheet.forEachPlace(
        p, document.baretteCount(sheet.labelsPerBarette),
        [&](const QRectF &strip) {
            if (strip.intersects(paper))
                FieldPainter::paint(painter, strip, QString(), QFont(), white);
        },
        [&](qsizetype id, const QRectF &frame) {
            const QString text = document.text(id);
            std::shared_ptr<const FieldText::Layout> laid;
            if (!text.isEmpty()) {
                // An automatic size depends on the text and the frame. The
                // one layout of the text is judged here and drawn below.
                const QFont font =
                    FieldPainter::shownFont(text, document.fieldFontAt(document.fontIndex(id)), frame);
                laid = FieldText::layout(text, font, FieldPainter::textRect(frame).size());
                if (!laid->fits())
                    ++overflowing;
            }
            if (!frame.intersects(paper))
                return;
            const bool fits = !marks || !laid || laid->fits();
            FieldPainter::paint(painter, frame, laid.get(), FieldPainter::fill(fits, FieldPainter::Look::Normal));
        });
}
