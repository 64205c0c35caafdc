#include "sheet/pagebuilder.h"

#include "model/sheetdocument.h"
#include "model/sheetlayout.h"
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

    const int n = sheet.labelsPerBarette;
    const qsizetype barettes = document.baretteCount(n);
    qsizetype b = qsizetype(sheet.barettesPerPage) * p;
    for (int r = 0; r < sheet.rows; ++r) {
        for (int c = 0; c < sheet.columns; ++c, ++b) {
            if (b >= barettes)
                return scene;
            const QPointF origin = sheet.baretteOrigin(r, c);
            auto *strip = new MyGraphicsItem(MyGraphicsItem::stripId, nullptr);
            strip->setRectF(sheet.stripRect(origin));
            scene->addItem(strip);
            const qsizetype firstId = b * (n + 1);
            for (int j = 0; j <= n; ++j) {
                const qsizetype id = firstId + j;
                auto *field = new MyGraphicsItem(int(id), &document);
                field->setRectF(j == 0 ? sheet.headerRect(origin) : sheet.labelRect(origin, j));
                // Text and font go in together, so the text is measured once.
                field->showContent(document.text(id), document.font(id));
                scene->addItem(field);
                if (made)
                    made(field);
            }
        }
    }
    return scene;
}
