#pragma once

// Reads PDFs back with the poppler tools: page count and size, the words on
// each page with their boxes, the fonts, and a 300 dpi raster for measuring.

#include <QImage>
#include <QList>
#include <QProcess>
#include <QRectF>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace PdfCheck {

constexpr double dpi = 300;
inline double pxToMm(double px) { return px / dpi * 25.4; }
inline double mmToPx(double mm) { return mm / 25.4 * dpi; }

// Standard output of a tool; empty (and a warning) when it fails.
inline QString run(const QString &program, const QStringList &args)
{
    QProcess proc;
    proc.start(program, args);
    if (!proc.waitForFinished(60000) || proc.exitStatus() != QProcess::NormalExit || proc.exitCode() != 0) {
        qWarning("%s failed: %s", qPrintable(program), proc.readAllStandardError().constData());
        return {};
    }
    return QString::fromUtf8(proc.readAllStandardOutput());
}

inline int pageCount(const QString &pdf)
{
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("^Pages:\\s+(\\d+)"), QRegularExpression::MultilineOption)
            .match(run(QStringLiteral("pdfinfo"), {pdf}));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// "595.276 x 841.89" for A4.
inline QString pageSize(const QString &pdf)
{
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("^Page size:\\s+([\\d.]+ x [\\d.]+)"), QRegularExpression::MultilineOption)
            .match(run(QStringLiteral("pdfinfo"), {pdf}));
    return m.captured(1);
}

struct Word
{
    int page;   // from 1
    QString text;
    QRectF box;   // points from the top-left corner of the page
};

// Every word with its page and box, in reading order.
inline QList<Word> words(const QString &pdf)
{
    const QString html = run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    QList<Word> result;
    int page = 0;
    static const QRegularExpression wordRe(QStringLiteral(
        "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    const QStringList lines = html.split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        if (line.contains(QLatin1String("<page ")))
            ++page;
        const QRegularExpressionMatch m = wordRe.match(line);
        if (m.hasMatch()) {
            const double x0 = m.captured(1).toDouble(), y0 = m.captured(2).toDouble();
            result.append({page, m.captured(5), QRectF(x0, y0, m.captured(3).toDouble() - x0,
                                                       m.captured(4).toDouble() - y0)});
        }
    }
    return result;
}

// pdffonts' table rows after the header.
inline QStringList fonts(const QString &pdf)
{
    QStringList rows = run(QStringLiteral("pdffonts"), {pdf}).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return rows.mid(2);
}

// Page `page` at 300 dpi in gray, without anti-aliasing, so that a hairline
// is one run of dark pixels.
inline QImage raster(const QString &pdf, int page)
{
    QTemporaryDir dir;
    const QString prefix = dir.filePath(QStringLiteral("page"));
    run(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-gray"),
                                     QStringLiteral("-aa"), QStringLiteral("no"), QStringLiteral("-aaVector"),
                                     QStringLiteral("no"), QStringLiteral("-f"), QString::number(page),
                                     QStringLiteral("-l"), QString::number(page), QStringLiteral("-singlefile"),
                                     pdf, prefix});
    return QImage(prefix + QStringLiteral(".pgm"));
}

// Centres (pixels) of the black runs along row `y` or column `x` between
// `from` and `to`; the gray frame of the printable area does not count.
inline QList<double> blackRuns(const QImage &img, bool alongRow, int line, int from, int to)
{
    QList<double> centres;
    int start = -1;
    for (int i = from; i <= to; ++i) {
        const int v = qGray(alongRow ? img.pixel(i, line) : img.pixel(line, i));
        const bool black = v < 64;
        if (black && start < 0)
            start = i;
        if (!black && start >= 0) {
            centres.append((start + i - 1) / 2.0 + 0.5);
            start = -1;
        }
    }
    return centres;
}

// Centres (mm from the page's corner) of the black runs on page `page` along
// the row `line` mm from the top (`alongRow`) or the column `line` mm from the
// left, between `from` and `to` mm: a one-pixel strip rasterised at
// `resolution` dpi, for measuring to a hundredth of a millimetre.
inline QList<double> blackRunsMm(const QString &pdf, int page, bool alongRow, double line, double from, double to,
                                 double resolution = 1200)
{
    const auto px = [resolution](double mm) { return qRound(mm / 25.4 * resolution); };
    const int start = px(from);
    const int length = px(to) - start + 1;
    const QStringList along = {QString::number(start), QString::number(px(line))};
    QTemporaryDir dir;
    const QString prefix = dir.filePath(QStringLiteral("strip"));
    run(QStringLiteral("pdftoppm"),
        {QStringLiteral("-r"), QString::number(resolution), QStringLiteral("-gray"), QStringLiteral("-aa"),
         QStringLiteral("no"), QStringLiteral("-aaVector"), QStringLiteral("no"), QStringLiteral("-f"),
         QString::number(page), QStringLiteral("-l"), QString::number(page), QStringLiteral("-x"),
         along.at(alongRow ? 0 : 1), QStringLiteral("-y"), along.at(alongRow ? 1 : 0), QStringLiteral("-W"),
         QString::number(alongRow ? length : 1), QStringLiteral("-H"), QString::number(alongRow ? 1 : length),
         QStringLiteral("-singlefile"), pdf, prefix});
    const QImage strip(prefix + QStringLiteral(".pgm"));
    QList<double> centres = blackRuns(strip, alongRow, 0, 0, length - 1);
    for (double &c : centres)
        c = (start + c) / resolution * 25.4;
    return centres;
}

} // namespace PdfCheck
