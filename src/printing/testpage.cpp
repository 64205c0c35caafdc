#include "printing/testpage.h"

#include "layout/sheetlayout.h"
#include "system/language.h"

#include <QCoreApplication>
#include <QFont>
#include <QLocale>
#include <QPainter>
#include <QPen>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("TestPage", text);
}

constexpr double unit = SheetLayout::unitsPerMm;

QPointF at(double xMm, double yMm)
{
    return {xMm * unit, yMm * unit};
}

// Tick lengths, mm: every millimetre, every fifth, every tenth (numbered).
double tickLength(int mm)
{
    return mm % 10 == 0 ? 5 : mm % 5 == 0 ? 3.5 : 2;
}

QString number(double value, int decimals)
{
    return Language::locale().toString(value, 'f', decimals);
}

} // namespace

void TestPage::paint(QPainter &painter, const QString &printer, const Calibration &printedWith)
{
    painter.save();
    painter.setPen(QPen(Qt::black, 0.1 * unit, Qt::SolidLine, Qt::FlatCap));
    painter.setBrush(Qt::NoBrush);
    QFont font;
    font.setPixelSize(int(3.5 * unit));
    painter.setFont(font);
    const QFontMetricsF metrics(font, painter.device());

    // The corner mark: its lines run on from the point 10 mm in from both edges.
    painter.drawLine(at(markMm, markMm), at(markMm + 15, markMm));
    painter.drawLine(at(markMm, markMm), at(markMm, markMm + 15));
    painter.drawText(at(markMm + 2, markMm + 5), tr("10 mm od krawędzi"));

    // The horizontal scale, ticks hanging from its base line, numbers below.
    painter.drawLine(at(horizontalX, horizontalY), at(horizontalX + horizontalLengthMm, horizontalY));
    for (int mm = 0; mm <= int(horizontalLengthMm); ++mm) {
        const double x = horizontalX + mm;
        painter.drawLine(at(x, horizontalY), at(x, horizontalY + tickLength(mm)));
        if (mm % 10 == 0) {
            const QString label = QString::number(mm);
            painter.drawText(at(x, horizontalY + 9) - QPointF(metrics.horizontalAdvance(label) / 2, 0), label);
        }
    }
    // The vertical scale, ticks to the right of its base line, numbers beside.
    painter.drawLine(at(verticalX, verticalY), at(verticalX, verticalY + verticalLengthMm));
    for (int mm = 0; mm <= int(verticalLengthMm); ++mm) {
        const double y = verticalY + mm;
        painter.drawLine(at(verticalX, y), at(verticalX + tickLength(mm), y));
        if (mm % 10 == 0)
            painter.drawText(at(verticalX + 6, y) + QPointF(0, metrics.capHeight() / 2), QString::number(mm));
    }

    const QString calibration =
        printedWith.isIdentity()
            ? tr("bez kalibracji")
            : tr("z kalibracją: przesunięcie %1 mm × %2 mm, skala %3 % × %4 %")
                  .arg(number(printedWith.shiftX, 2), number(printedWith.shiftY, 2), number(printedWith.scaleX, 3),
                       number(printedWith.scaleY, 3));
    const QString text =
        tr("Lamello – strona testowa drukarki %1, wydrukowana %2.\n\n"
           "1. Zmierz linijką poziomą podziałkę od kreski 0 do kreski 150 (wzorcowo 150 mm) "
           "i pionową od 0 do 250 (wzorcowo 250 mm).\n"
           "2. Zmierz odległość pionowej kreski znaku w lewym górnym rogu od lewej krawędzi kartki "
           "i poziomej kreski od górnej krawędzi (wzorcowo po 10 mm).\n"
           "3. Wpisz te cztery wymiary w oknie „Kalibracja drukarki…” i naciśnij „Oblicz”: "
           "program sam wyznaczy skalę i przesunięcie.\n"
           "4. Zapisz kalibrację i wydrukuj stronę testową jeszcze raz, aby sprawdzić wynik.")
            .arg(printer, calibration);
    painter.drawText(QRectF(at(horizontalX, 60), at(horizontalX + horizontalLengthMm, 160)), Qt::TextWordWrap, text);
    painter.restore();
}

Calibration TestPage::correction(const Measurement &measured, const Calibration &printedWith)
{
    // Along one axis the printer maps what it is sent, p × s + c, to
    // (p × s + c) × a + b on paper. The scale gives a, the mark then b; the
    // new calibration undoes both: s' = 1 / a, c' = −b / a.
    const auto axis = [](double measuredLength, double length, double measuredMark, double scalePercent,
                         double shift, double &newScalePercent, double &newShift) {
        const double s = scalePercent / 100;
        const double a = measuredLength / (length * s);
        const double b = measuredMark - a * (markMm * s + shift);
        newScalePercent = 100 / a;
        newShift = -b / a;
    };
    Calibration result;
    axis(measured.horizontal, horizontalLengthMm, measured.left, printedWith.scaleX, printedWith.shiftX,
         result.scaleX, result.shiftX);
    axis(measured.vertical, verticalLengthMm, measured.top, printedWith.scaleY, printedWith.shiftY, result.scaleY,
         result.shiftY);
    return result;
}

PrintJob::Outcome TestPage::print(const QString &printer, const Calibration &calibration, QString *error)
{
    RenderOptions options;
    options.calibration = calibration;
    const auto page = [&](int, PageRenderer &renderer) {
        return renderer.drawSheet([&](QPainter &painter) { paint(painter, printer, calibration); });
    };
    return PrintJob::print(printer, tr("Lamello: strona testowa"), 1, page, {}, error, nullptr, options);
}
