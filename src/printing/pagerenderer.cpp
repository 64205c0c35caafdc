#include "printing/pagerenderer.h"

#include "model/sheetlayout.h"

#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QStyleOptionGraphicsItem>
#include <QPageLayout>
#include <QPagedPaintDevice>

namespace {
constexpr double mmPerInch = 25.4;

// The painter of the page being drawn without marks, if any.
const QPainter *unmarkedPainter = nullptr;
} // namespace

PageRenderer::PageRenderer(QPagedPaintDevice *device, const RenderOptions &options)
    : device(device)
    , options(options)
{
}

bool PageRenderer::leavesOutMarks(const QPainter *painter)
{
    return painter && painter == unmarkedPainter;
}

QTransform PageRenderer::sceneToDevice(const QPagedPaintDevice &device, const Calibration &calibration)
{
    const int dpiX = device.logicalDpiX();
    const int dpiY = device.logicalDpiY();
    const QPageLayout layout = device.pageLayout();
    // Outside full-page mode the painter's origin is the corner of the
    // printable area, which the device places on whole device pixels.
    QPointF origin;
    if (layout.mode() != QPageLayout::FullPageMode)
        origin = layout.paintRectPixels(dpiX).topLeft();
    QTransform t;
    t.translate(-origin.x(), -origin.y());
    t.scale(dpiX / mmPerInch / SheetLayout::unitsPerMm, dpiY / mmPerInch / SheetLayout::unitsPerMm);
    return calibration.isIdentity() ? t : calibration.sceneTransform() * t;
}

bool PageRenderer::begin()
{
    if (!painter.begin(device))
        return false;
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    return true;
}

bool PageRenderer::drawPage(QGraphicsScene *scene)
{
    if (pages > 0 && !device->newPage())
        return false;
    ++pages;
    painter.save();
    const QTransform toDevice = sceneToDevice(*device, options.calibration);
    painter.setWorldTransform(toDevice);
    // The whole sheet is the window onto the scene, so that a field reaching
    // past the printable area is cut at the paper's edge and nowhere else.
    const QRectF sheet = device->pageLayout().fullRect(QPageLayout::Millimeter);
    const QRectF paper(0, 0, sheet.width() * SheetLayout::unitsPerMm, sheet.height() * SheetLayout::unitsPerMm);
    painter.setClipRect(paper);

    // The items are painted bottom to top as a view does with
    // QGraphicsView::DontSavePainterState: each item sets its own pen, brush
    // and font and undoes any other change itself. Saving and restoring the
    // painter around every field (as QGraphicsScene::render does) writes a
    // fresh graphics state per field into a PDF: it cost a third of a page.
    QStyleOptionGraphicsItem option;
    unmarkedPainter = options.marks ? nullptr : &painter;
    const QList<QGraphicsItem *> items = scene->items(Qt::AscendingOrder);
    for (QGraphicsItem *item : items) {
        if (!item->isVisible() || !item->sceneBoundingRect().intersects(paper))
            continue;
        if (!options.marks && item->data(markKey).toBool())
            continue;
        const QTransform itemToScene = item->sceneTransform();
        if (!itemToScene.isIdentity())
            painter.setWorldTransform(itemToScene * toDevice);
        option.exposedRect = item->boundingRect();
        item->paint(&painter, &option, nullptr);
        if (!itemToScene.isIdentity())
            painter.setWorldTransform(toDevice);
    }
    unmarkedPainter = nullptr;
    painter.restore();
    return true;
}

bool PageRenderer::drawSheet(const std::function<void(QPainter &)> &paint)
{
    if (pages > 0 && !device->newPage())
        return false;
    ++pages;
    painter.save();
    painter.setWorldTransform(sceneToDevice(*device, options.calibration));
    paint(painter);
    painter.restore();
    return true;
}

bool PageRenderer::end()
{
    return painter.end();
}
