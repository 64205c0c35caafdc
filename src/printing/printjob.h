#pragma once

#include "printing/pagerenderer.h"

#include <QRectF>
#include <QString>

#include <functional>
#include <optional>

// One print run: pages drawn by PageRenderer either into a PDF file or, as a
// PDF document, into the queue of a system printer (CUPS).
//
// Nothing is left half done: a PDF file is written page by page into a
// temporary file beside its path (AtomicStream), and appears at its path, in
// full, only when every page was drawn and written (an older file of that name stays until then, and stays
// for good when the run fails or is cancelled); a printer gets the job only
// after every page was drawn, and a queue that is gone or refuses the job is
// reported, never replaced by some other output.
class PrintJob
{
public:
    enum class Outcome { Done, Cancelled, Failed };

    // The printable area (mm) the built-in PDF output lays its pages out for.
    static constexpr QRectF builtInPdfArea{0, 0, 199.8, 288.856};

    // Draws page `index` (0 .. count - 1 of the job) through the renderer;
    // returns false when the device could not take it.
    using PageSource = std::function<bool(int index, PageRenderer &renderer)>;
    // Told after every page; returns false to cancel the run.
    using Progress = std::function<bool(int done, int total)>;

    // A4 portrait sheets, drawn at true size (with `options`' calibration).
    static Outcome writePdf(const QString &path, int count, const PageSource &page, const Progress &progress,
                            QString *error, const RenderOptions &options = {});
    // The same sheets written to the open `descriptor` (standard output) as
    // they are drawn; the descriptor stays open.
    static Outcome writePdf(int descriptor, int count, const PageSource &page, const Progress &progress,
                            QString *error, const RenderOptions &options = {});

    // Sheets of the printer's default paper, handed to CUPS as one job named
    // `title`. On success `jobId` holds the scheduler's job number.
    static Outcome print(const QString &printer, const QString &title, int count, const PageSource &page,
                         const Progress &progress, QString *error, int *jobId = nullptr,
                         const RenderOptions &options = {});

    // Whether the system has a printer of exactly that name now.
    static bool printerAvailable(const QString &printer);
    // The printable area in mm (left, top, width, height) of the printer's
    // default paper, as the printer reports it; none when there is no such printer.
    static std::optional<QRectF> printableArea(const QString &printer);
};
