#pragma once

#include "printing/calibration.h"

#include <QPainter>
#include <QRectF>
#include <QTransform>

#include <functional>

class QPagedPaintDevice;

// How a page leaves the program.
struct RenderOptions
{
    // The printer's correction, applied last; the identity draws the true size.
    Calibration calibration;
    // Off, the marks (the fit tints and the gray frame of the printable area)
    // stay off the paper and only the fields' frames and texts are printed.
    // The page painter given to drawPage() reads it from options().
    bool marks = true;
};

// Draws pages onto a paged device (a PDF writer, a printer's job) at
// their true size: SheetLayout::unitsPerMm scene units to the millimetre, with
// point (0, 0) on the top-left corner of the sheet, whatever the
// device's resolution and margins; a printer's calibration, when given, then
// moves and scales the whole sheet. Every page that leaves the program, in the
// window or in the batch printer, is drawn here.
class PageRenderer
{
public:
    // The QGraphicsItem::data() key under which an item says it is a mark.
        explicit PageRenderer(QPagedPaintDevice *device, const RenderOptions &options = {});

    // Starts painting; false when the device refuses (no file, no printer).
    bool begin();
    // Paints a page in scene units, given the sheet of paper in scene units.
    using PaintPage = std::function<void(QPainter *painter, const QRectF &paper)>;

    // Draws a page on the next sheet: the first page on the sheet the device
    // starts with, every further one on a new sheet. False when the device
    // could not start a new sheet.
    bool drawPage(const PaintPage &paintPage);
    // Paints the next sheet with `paint`, in scene units from the sheet's
    // corner, calibrated as the pages are. False as drawPage().
    bool drawSheet(const std::function<void(QPainter &)> &paint);
    // Finishes the document; false when the device reports a failure.
    bool end();

    int pagesDrawn() const { return pages; }

    // Maps scene units to the device's painter coordinates for its current
    // page layout and resolution, after the `calibration`.
    static QTransform sceneToDevice(const QPagedPaintDevice &device, const Calibration &calibration = {});

    const RenderOptions &renderOptions() const { return options; }

private:
    QPagedPaintDevice *device;
    RenderOptions options;
    QPainter painter;
    int pages = 0;
};
