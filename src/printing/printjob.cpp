#include "printing/printjob.h"

#include "model/atomicfile.h"
#include "printing/pagerenderer.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QPageLayout>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSaveFile>
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

PrintJob::Outcome render(QPdfWriter &writer, const QPageSize &pageSize, int count,
                         const PrintJob::PageSource &page, const PrintJob::Progress &progress, QString *error,
                         const RenderOptions &options)
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
        if (!page(i, renderer)) {
            renderer.end();
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

} // namespace

PrintJob::Outcome PrintJob::writePdf(const QString &path, int count, const PageSource &page,
                                     const Progress &progress, QString *error, const RenderOptions &options)
{
    if (path.isEmpty())
        return fail(error, tr("Nie podano nazwy pliku."));
    // A target that is no regular file (a FIFO, a device, a folder), or a
    // folder that cannot take the file, is known before the pages are drawn:
    // the temporary file that would be renamed into place is tried at once.
    QString refused;
    if (!AtomicFile::replaceable(path, &refused))
        return fail(error, tr("Nie można zapisać pliku %1: %2").arg(path, refused));
    {
        QSaveFile probe(path);
        if (!probe.open(QIODevice::WriteOnly))
            return fail(error, tr("Nie można zapisać pliku %1: %2").arg(path, probe.errorString()));
        probe.cancelWriting();
    }

    QByteArray document;
    const Outcome outcome = pdfDocument(count, page, progress, document, error, options);
    if (outcome != Outcome::Done)
        return outcome;
    QString reason;
    if (!AtomicFile::write(path, document, &reason))
        return fail(error, tr("Nie można zapisać pliku %1: %2").arg(path, reason));
    return Outcome::Done;
}

PrintJob::Outcome PrintJob::pdfDocument(int count, const PageSource &page, const Progress &progress,
                                        QByteArray &document, QString *error, const RenderOptions &options)
{
    QBuffer buffer(&document);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    return render(writer, QPageSize(QPageSize::A4), count, page, progress, error, options);
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
    Outcome outcome;
    {
        QPdfWriter writer(&document);
        outcome = render(writer, pageSize, count, page, progress, error, options);
    }
    if (outcome != Outcome::Done)
        return outcome;
    if (!document.flush())
        return fail(error, tr("Nie można zapisać pliku tymczasowego: %1").arg(document.errorString()));

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
