#pragma once

#include <QPainter>
#include <QRectF>
#include <QTransform>

#include <functional>

class QPagedPaintDevice;

// Draws pages onto a paged device (a PDF writer, a printer's job) at
// their true size: SheetLayout::unitsPerMm scene units to the millimetre, with
// point (0, 0) on the top-left corner of the sheet, whatever the
// device's resolution and margins. Every page that leaves the program, in the
// window or in the batch printer, is drawn here.
class PageRenderer
{
public:
    explicit PageRenderer(QPagedPaintDevice *device);

    // Starts painting; false when the device refuses (no file, no printer).
    bool begin();
    // Paints a page in scene units, given the sheet of paper in scene units.
    using PaintPage = std::function<void(QPainter *painter, const QRectF &paper)>;

    // Draws a page on the next sheet: the first page on the sheet the device
    // starts with, every further one on a new sheet. False when the device
    // could not start a new sheet.
    bool drawPage(const PaintPage &paintPage);
    // Finishes the document; false when the device reports a failure.
    bool end();

    int pagesDrawn() const { return pages; }

    // Maps scene units to the device's painter coordinates for its current
    // page layout and resolution.
    static QTransform sceneToDevice(const QPagedPaintDevice &device);

private:
    QPagedPaintDevice *device;
    QPainter painter;
    int pages = 0;
};
