#include "printing/pagerenderer.h"

#include "layout/sheetlayout.h"

#include <QPageLayout>
#include <QPagedPaintDevice>

namespace {
constexpr double mmPerInch = 25.4;
} // namespace

PageRenderer::PageRenderer(QPagedPaintDevice *device, const RenderOptions &options)
    : device(device)
    , options(options)
{
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

bool PageRenderer::drawPage(const PaintPage &paintPage)
{
    if (pages > 0 && !device->newPage())
        return false;
    ++pages;
    painter.save();
    painter.setWorldTransform(sceneToDevice(*device, options.calibration));
    // The whole sheet is the window onto the page, so that a field reaching
    // past the printable area is cut at the paper's edge and nowhere else.
    const QRectF sheet = device->pageLayout().fullRect(QPageLayout::Millimeter);
    const QRectF paper(0, 0, sheet.width() * SheetLayout::unitsPerMm, sheet.height() * SheetLayout::unitsPerMm);
    painter.setClipRect(paper);
    // Fields are painted one after another with no painter state saved
    // around each: every field sets its own pen, brush and font. Saving and
    // restoring per field writes a fresh graphics state per field into a
    // PDF: it cost a third of a page.
    paintPage(&painter, paper);
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
