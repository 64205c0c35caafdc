// The floor of printing into a PDF: what any program pays to read a
// descriptions file and draw its barettes onto A4 pages with QPdfWriter,
// the same frames and the same texts in the same font at the same size, and
// nothing else (no fit test, no tints, no frame of the printable area, no
// calibration, no checks of the input or the output).
//
//   pdf_floor IN.txt OUT.pdf
//
// lamello-batch is measured against it (bench/floor_bench.sh).

#include "document/specialglyphfont.h"
#include "files/windows1250.h"
#include "layout/sheetlayout.h"

#include <QFile>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

#include <cstdio>
#include <cstring>

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: pdf_floor IN.txt OUT.pdf\n");
        return 1;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    // The file: one text a line, "@" a line break.
    QFile in(QString::fromLocal8Bit(argv[1]));
    if (!in.open(QIODevice::ReadOnly))
        return 2;
    const QByteArray bytes = in.readAll();
    QList<QString> texts;
    for (qsizetype at = 0; at < bytes.size();) {
        const void *lf = std::memchr(bytes.constData() + at, '\n', size_t(bytes.size() - at));
        const qsizetype end = lf ? static_cast<const char *>(lf) - bytes.constData() : bytes.size();
        QString text = Windows1250::decode(QByteArrayView(bytes).sliced(at, end - at));
        text.replace(QLatin1Char('@'), QLatin1Char('\n'));
        texts.append(text);
        at = end + 1;
    }

    // The built-in PDF's page and layout, as lamello-batch -o uses them.
    SheetLayout sheet;
    sheet.setAvailableArea(QRectF(0, 0, 199.8, 288.856));
    sheet.computeLayout();
    const qsizetype barettes = (texts.size() + sheet.labelsPerBarette) / (sheet.labelsPerBarette + 1);
    const int pages = sheet.lastPageFor(barettes) + 1;

    QPdfWriter writer(QString::fromLocal8Bit(argv[2]));
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(),
                                     QPageLayout::Millimeter, QMarginsF()));
    QPageLayout layout = writer.pageLayout();
    layout.setMode(QPageLayout::FullPageMode);
    writer.setPageLayout(layout);
    QFont font = SpecialGlyphFont::defaultFont();
    font.setHintingPreference(QFont::PreferNoHinting);

    QPainter painter(&writer);
    const qreal scale = writer.logicalDpiX() / 25.4 / SheetLayout::unitsPerMm;
    const QBrush white(Qt::white);
    const QPen hairline(Qt::black, 0);
    for (int p = 0; p < pages; ++p) {
        if (p > 0)
            writer.newPage();
        painter.setWorldTransform(QTransform::fromScale(scale, scale));
        painter.setPen(hairline);
        painter.setBrush(white);
        painter.setFont(font);
        sheet.forEachPlace(
            p, barettes, [&](const QRectF &strip) { painter.drawRect(strip); },
            [&](qsizetype id, const QRectF &frame) {
                painter.drawRect(frame);
                if (id < texts.size() && !texts.at(id).isEmpty())
                    painter.drawText(frame.adjusted(1, 1, -1, -1), Qt::AlignCenter | Qt::TextWordWrap, texts.at(id));
            });
    }
    return painter.end() ? 0 : 3;
}
