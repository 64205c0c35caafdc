#include "printing/printjob.h"

#include "files/atomicfile.h"
#include "printing/pagerenderer.h"

#include <QCoreApplication>
#include <QPageLayout>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryFile>

#include <cups/cups.h>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("PrintJob", text);
}

PrintJob::Outcome fail(QString *error, const QString &reason)
{
    if (error)
        *error = reason;
    return PrintJob::Outcome::Failed;
}

// Draws every page into `writer`, whose sheets are `pageSize` in portrait
// with the painter's origin on the sheet's corner.
// The system printer of exactly that name, if it is still there.
std::optional<QPrinterInfo> findPrinter(const QString &printer)
{
    if (printer.isEmpty())
        return std::nullopt;
    QPrinterInfo info = QPrinterInfo::printerInfo(printer);
    if (info.isNull() || info.printerName() != printer)
        return std::nullopt;
    return info;
}

// `output`, when given, is the stream the writer writes into: a write that
// failed there ends the run at the next page.
PrintJob::Outcome render(QPdfWriter &writer, const QPageSize &pageSize, int count,
                         const PrintJob::PageSource &page, const PrintJob::Progress &progress, QString *error,
                         const RenderOptions &options, const AtomicStream *output = nullptr)
{
    writer.setCreator(QStringLiteral("Lamello"));
    writer.setPageLayout(QPageLayout(pageSize, QPageLayout::Portrait, QMarginsF(), QPageLayout::Millimeter));
    QPageLayout layout = writer.pageLayout();
    layout.setMode(QPageLayout::FullPageMode);
    writer.setPageLayout(layout);

    PageRenderer renderer(&writer, options);
    if (!renderer.begin())
        return fail(error, tr("Nie można rozpocząć rysowania stron."));
    for (int i = 0; i < count; ++i) {
        if (!page(i, renderer) || (output && output->failed())) {
            renderer.end();
            if (output && output->failed())
                return fail(error, output->errorString());
            return fail(error, tr("Nie można narysować strony %1.").arg(i + 1));
        }
        if (progress && !progress(i + 1, count)) {
            renderer.end();
            return PrintJob::Outcome::Cancelled;
        }
    }
    if (!renderer.end())
        return fail(error, tr("Nie można zakończyć dokumentu."));
    return PrintJob::Outcome::Done;
}

// Draws the sheets into `output` as they are made: one page at a time, never
// the whole document in memory. `path` names the file in a message about a
// failed write (none for a descriptor).
PrintJob::Outcome streamPdf(AtomicStream &output, const QString &path, int count, const PrintJob::PageSource &page,
                            const PrintJob::Progress &progress, QString *error, const RenderOptions &options)
{
    PrintJob::Outcome outcome;
    {
        QPdfWriter writer(&output);
        outcome = render(writer, QPageSize(QPageSize::A4), count, page, progress, error, options, &output);
    }
    // Anything but a whole document leaves no file: the stream removes it.
    if (!output.failed() && (outcome != PrintJob::Outcome::Done || output.commit()))
        return outcome;
    return fail(error, path.isEmpty() ? output.errorString()
                                      : tr("Nie można zapisać pliku %1: %2").arg(path, output.errorString()));
}

} // namespace

PrintJob::Outcome PrintJob::writePdf(const QString &path, int count, const PageSource &page,
                                     const Progress &progress, QString *error, const RenderOptions &options)
{
    if (path.isEmpty())
        return fail(error, tr("Nie podano nazwy pliku."));
    // A target that is no regular file (a FIFO, a device, a folder), or a
    // folder that cannot take the file, is known before the pages are drawn:
    // the temporary file the pages go into is made at once.
    AtomicStream output(path);
    if (!output.open(QIODevice::WriteOnly))
        return fail(error, tr("Nie można zapisać pliku %1: %2").arg(path, output.errorString()));
    return streamPdf(output, path, count, page, progress, error, options);
}

PrintJob::Outcome PrintJob::writePdf(int descriptor, int count, const PageSource &page, const Progress &progress,
                                     QString *error, const RenderOptions &options)
{
    AtomicStream output(descriptor);
    if (!output.open(QIODevice::WriteOnly))
        return fail(error, output.errorString());
    return streamPdf(output, QString(), count, page, progress, error, options);
}

bool PrintJob::printerAvailable(const QString &printer)
{
    return findPrinter(printer).has_value();
}

std::optional<QRectF> PrintJob::printableArea(const QString &printer)
{
    const std::optional<QPrinterInfo> info = findPrinter(printer);
    if (!info)
        return std::nullopt;
    const QPrinter probe(*info, QPrinter::ScreenResolution);
    return probe.pageRect(QPrinter::Millimeter);
}

PrintJob::Outcome PrintJob::print(const QString &printer, const QString &title, int count, const PageSource &page,
                                  const Progress &progress, QString *error, int *jobId,
                                  const RenderOptions &options)
{
    const std::optional<QPrinterInfo> info = findPrinter(printer);
    if (!info)
        return fail(error, tr("Drukarka „%1” nie jest dostępna. Nic nie wydrukowano.").arg(printer));
    QPageSize pageSize = info->defaultPageSize();
    if (!pageSize.isValid())
        pageSize = QPageSize(QPageSize::A4);

    QTemporaryFile document;
    if (!document.open())
        return fail(error, tr("Nie można utworzyć pliku tymczasowego: %1").arg(document.errorString()));
    const TemporaryFiles::Registration registered(document.fileName());
    // Through a stream that keeps a failed write: a buffered file can lose
    // the rest of a short write (a full disk) and still report success, and
    // the printer would then get a cut document.
    AtomicStream output(document.handle());
    output.open(QIODevice::WriteOnly);
    Outcome outcome;
    {
        QPdfWriter writer(&output);
        outcome = render(writer, pageSize, count, page, progress, error, options, &output);
    }
    if (!output.failed() && outcome != Outcome::Done)
        return outcome;
    if (output.failed() || !output.commit())
        return fail(error, tr("Nie można zapisać pliku tymczasowego: %1").arg(output.errorString()));

    const QByteArray queue = printer.toLocal8Bit();
    const QByteArray file = QFile::encodeName(document.fileName());
    const QByteArray name = title.toUtf8();
    const QByteArray media = pageSize.key().toUtf8();
    cups_option_t *cupsOptions = nullptr;
    int optionCount = 0;
    optionCount = cupsAddOption("media", media.constData(), optionCount, &cupsOptions);
    optionCount = cupsAddOption("sides", "one-sided", optionCount, &cupsOptions);
    const int id = cupsPrintFile(queue.constData(), file.constData(), name.constData(), optionCount, cupsOptions);
    cupsFreeOptions(optionCount, cupsOptions);
    if (id <= 0) {
        return fail(error, tr("Drukarka „%1” nie przyjęła zadania: %2. Nic nie wydrukowano.")
                               .arg(printer, QString::fromUtf8(cupsLastErrorString())));
    }
    if (jobId)
        *jobId = id;
    return Outcome::Done;
}
