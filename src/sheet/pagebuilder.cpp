#include "sheet/pagebuilder.h"

#include "sheet/mygraphicsitem.h"
#include "model/specialglyphfont.h"
#include "printing/pagerenderer.h"

#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QPen>

PageBuilder::PageBuilder(const SheetLayout &sheet, const QList<QStringList> &texts, const QList<QFont> &fonts)
    : sheet(sheet)
    , texts(texts)
    , fonts(fonts)
{
}

QGraphicsScene *PageBuilder::build(int p, QObject *parent, Preview *owner, const ItemHook &made) const
{
    auto *scene = new QGraphicsScene(parent);
    // A page holds a few dozen fields; a linear search finds the clicked one
    // faster than an index costs to build on large sheets.
    scene->setItemIndexMethod(QGraphicsScene::NoIndex);
    scene->setSceneRect(sheet.fAvailableArea);
    QGraphicsRectItem *frame = scene->addRect(sheet.fAvailableArea, QPen(Qt::gray, 0), Qt::NoBrush);
    frame->setData(PageRenderer::markKey, true);   // left off a printout without marks
    if (made)
        made(frame, nullptr);

    qsizetype b = qsizetype(sheet.barettesPerPage) * p;
    for (int r = 0; r < sheet.rows; ++r) {
        for (int c = 0; c < sheet.columns; ++c) {
            if (b < texts.size())
                addBarette(scene, sheet.baretteOrigin(r, c), b, owner, made);
            ++b;
        }
    }
    return scene;
}

void PageBuilder::addBarette(QGraphicsScene *scene, QPointF origin, qsizetype barette, Preview *owner,
                             const ItemHook &made) const
{
    auto *strip = new MyGraphicsItem(MyGraphicsItem::stripId, owner);
    strip->setRectF(sheet.stripRect(origin));
    scene->addItem(strip);
    if (made)
        made(strip, nullptr);

    const int n = sheet.labelsPerBarette;
    const QStringList &group = texts.at(barette);
    const qsizetype firstId = barette * (n + 1);
    for (int j = 0; j <= n; ++j) {
        const qsizetype id = firstId + j;
        auto *field = new MyGraphicsItem(int(id), owner);
        field->setRectF(j == 0 ? sheet.headerRect(origin) : sheet.labelRect(origin, j));
        // Text and remembered font go in together, so the text is measured
        // once, in its final font; a field with no font remembered keeps the
        // default one it was made with.
        if (id < fonts.size())
            field->setContent(group.value(j), fonts.at(id));
        else
            field->setText(group.value(j));
        scene->addItem(field);
        if (made)
            made(field, field);
    }
}
