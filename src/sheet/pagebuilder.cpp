#include "sheet/pagebuilder.h"

#include "document/sheetdocument.h"
#include "layout/sheetlayout.h"
#include "sheet/mygraphicsitem.h"

#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QPen>

PageBuilder::PageBuilder(const SheetLayout &sheet, SheetDocument &document)
    : sheet(sheet)
    , document(document)
{
}

QGraphicsScene *PageBuilder::build(int p, QObject *parent, const FieldHook &made) const
{
    auto *scene = new QGraphicsScene(parent);
    // A page holds a few dozen fields; a linear search finds the clicked one
    // faster than an index costs to build.
    scene->setItemIndexMethod(QGraphicsScene::NoIndex);
    scene->setSceneRect(sheet.fAvailableArea);
    scene->addRect(sheet.fAvailableArea, QPen(Qt::gray, 0), Qt::NoBrush);

    sheet.forEachPlace(
        p, document.baretteCount(sheet.labelsPerBarette),
        [scene](const QRectF &rect) {
            auto *strip = new MyGraphicsItem(MyGraphicsItem::stripId, nullptr);
            strip->setRectF(rect);
            scene->addItem(strip);
        },
        [&](qsizetype id, const QRectF &rect) {
            auto *field = new MyGraphicsItem(int(id), &document);
            field->setRectF(rect);
            // Text and font go in together, so the text is measured once.
            field->showContent(document.text(id), document.font(id));
            scene->addItem(field);
            if (made)
                made(field);
        });
    return scene;
}
