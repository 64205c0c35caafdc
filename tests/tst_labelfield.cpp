// One field: its fit test at the exact boundary, its fills and its font toggles.

#include "items/mygraphicsitem.h"
#include "items/specialglyphfont.h"
#include "model/fieldtext.h"

#include <QFontMetrics>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

namespace {
const QColor white(255, 255, 255);
const QColor orange(255, 127, 0, 75);
const QColor blueGreen(0, 127, 155, 75);
const QColor purple(255, 127, 255, 75);

// The width a one-line text needs to be painted whole: centred, the side of
// its ink farther from the middle sets it.
qreal neededAcross(const QString &text, const QFont &font)
{
    const auto wide = FieldText::layout(text, font, QSizeF(1000, 100));
    return 2 * qMax(500 - wide->ink().left(), wide->ink().right() - 500);
}
} // namespace

class TestLabelField : public QObject
{
    Q_OBJECT

private slots:
    void startsInTheSpecialGlyphFontAtTen()
    {
        MyGraphicsItem item(0, nullptr);
        QCOMPARE(item.currentFont().family(), QStringLiteral("TIMES_K"));
        QCOMPARE(item.currentFont().pixelSize(), 10);
        QCOMPARE(item.fill().color(), white);
    }

    void symbolCharactersAreDrawnWide()
    {
        // "#" is a symbol pair of about 1.8 em in the embedded font, and the fit
        // test measures it at that width.
        const QFont font = SpecialGlyphFont::defaultFont();
        QFontMetricsF metrics(font);
        QVERIFY2(metrics.horizontalAdvance(QLatin1Char('#')) > 1.6 * metrics.horizontalAdvance(QLatin1Char('H')),
                 "the embedded font is not in use");
        QVERIFY(std::abs(metrics.horizontalAdvance(QLatin1Char('^')) - 10 * 4022.0 / 2048) < 0.1);
    }

    void fitTestAtTheExactBoundary()
    {
        // The word's ink, centred in the painted rectangle (the frame less one
        // unit all round), decides, at the frame's exact size: a rectangle as
        // wide as the ink needs fits, one a twentieth of a unit narrower does
        // not (the lines stand on 1/64 of a unit).
        const QString word = QStringLiteral("Sprężarka");
        MyGraphicsItem item(0, nullptr);
        const qreal need = neededAcross(word, item.currentFont());
        item.setRectF(QRectF(10.7, 5.2, need + 2 + 0.05, 40));
        item.setText(word);
        QVERIFY(item.textFits());
        QCOMPARE(item.fill().color(), white);

        // Narrower, and the single word cannot wrap: orange, purple when selected.
        item.setRectF(QRectF(10.7, 5.2, need + 2 - 0.05, 40));
        item.setText(word);
        QVERIFY(!item.textFits());
        QCOMPARE(item.fill().color(), orange);
        item.setSelected(true);
        QCOMPARE(item.fill().color(), purple);
        item.setSelected(false);
        QCOMPARE(item.fill().color(), orange);
    }

    void heightBoundaryIsTheInkNotTheLineBox()
    {
        // Down the field too the ink decides, not the lines' boxes: under a
        // last line without descenders its empty descent is not needed.
        MyGraphicsItem item(0, nullptr);
        const QString text = QStringLiteral("Pompa\nrezerwowa");
        const auto tall = FieldText::layout(text, item.currentFont(), QSizeF(200, 1000));
        const qreal need = 2 * qMax(500 - tall->ink().top(), tall->ink().bottom() - 500);
        const QTextLine last = tall->lines().lineAt(1);
        QVERIFY(tall->ink().bottom() < last.y() + last.ascent() + last.descent() - 1);
        item.setRectF(QRectF(0, 0, 202, need + 2 + 0.05));
        item.setText(text);
        QVERIFY(item.textFits());
        item.setRectF(QRectF(0, 0, 202, need + 2 - 0.05));
        item.setText(text);
        QVERIFY(!item.textFits());
    }

    void heightCountsLinesOfWrappedAndBrokenText()
    {
        MyGraphicsItem item(0, nullptr);
        const int twoLines = QFontMetrics(item.currentFont())
                                 .boundingRect(QRect(0, 0, 200, 1000), Qt::TextWordWrap, QStringLiteral("a\nb"))
                                 .height();
        item.setRectF(QRectF(0, 0, 200, twoLines));
        item.setText(QStringLiteral("Pompa\nrezerwowa"));
        QVERIFY(item.textFits());
        item.setText(QStringLiteral("Pompa\nrezerwowa\nB"));
        QVERIFY(!item.textFits());
        // A carriage return (CR LF files) is measured as a space, not a line break.
        item.setText(QStringLiteral("Pompa\r"));
        QVERIFY(item.textFits());
    }

    void fitAgreesWithAFreshMeasurement()
    {
        // Fields remember recent fit results; a result must never be taken for
        // another text, font or frame. Few texts and frames and many fonts, so
        // that the same text in the same frame comes back in other fonts.
        const QStringList texts{QStringLiteral("Praca"), QStringLiteral("Ręczny # automat"),
                                QStringLiteral("Temperatura zasilania wody"), QStringLiteral("Pompa\nrezerwowa"),
                                QStringLiteral("Zwłoka ^ $"), QStringLiteral("WWWWWWWW")};
        quint32 seed = 2024;
        auto pick = [&seed](int range) {
            seed = seed * 1664525u + 1013904223u;
            return int((seed >> 16) % quint32(range));
        };
        MyGraphicsItem item(0, nullptr);
        int fitting = 0;
        for (int i = 0; i < 3000; ++i) {
            QFont font = item.currentFont();
            font.setPixelSize(6 + pick(19));
            font.setWeight(pick(2) ? QFont::Bold : QFont::Normal);
            font.setStyle(pick(2) ? QFont::StyleItalic : QFont::StyleNormal);
            font.setUnderline(pick(2));
            const QRectF frame(pick(50) + 0.5, pick(50), 30 + 15 * pick(6), 15 + 10 * pick(4));
            const QString &text = texts.at(pick(int(texts.size())));
            item.setRectF(frame);
            item.setContent(text, font);

            const bool fits = FieldText::Layout(text, item.currentFont(), item.textFrame().size()).fits();
            QVERIFY2(item.textFits() == fits, qPrintable(QStringLiteral("%1 at %2 px in %3 x %4")
                                                             .arg(text)
                                                             .arg(font.pixelSize())
                                                             .arg(frame.width())
                                                             .arg(frame.height())));
            fitting += fits ? 1 : 0;
        }
        QVERIFY(fitting > 300 && fitting < 2700);   // both answers are asked for
    }

    void fillsFollowSelectionAndFit()
    {
        MyGraphicsItem item(3, nullptr);
        item.setRectF(QRectF(0, 0, 120, 30));
        item.setText(QStringLiteral("Stop"));
        item.setSelected(true);
        QCOMPARE(item.fill().color(), blueGreen);
        QVERIFY(item.isSelected());
        // A font change re-runs the fit test and keeps the selected look.
        item.changeFontPixelSize(60);
        QVERIFY(!item.textFits());
        QCOMPARE(item.fill().color(), purple);
        item.changeFontPixelSize(10);
        QCOMPARE(item.fill().color(), blueGreen);
    }

    void settingTheFrameAloneDoesNotRefit()
    {
        MyGraphicsItem item(0, nullptr);
        item.setRectF(QRectF(0, 0, 200, 30));
        item.setText(QStringLiteral("Temperatura"));
        QVERIFY(item.textFits());
        item.setRectF(QRectF(0, 0, 5, 30));
        QVERIFY(item.textFits());
        item.changeFontUnderline();
        QVERIFY(!item.textFits());
    }

    void topStripNeverTestedStaysWhite()
    {
        MyGraphicsItem strip(MyGraphicsItem::stripId, nullptr);
        strip.setRectF(QRectF(0, 0, 150, 21));
        QCOMPARE(strip.fill().color(), white);
        strip.setSelected(true);
        QCOMPARE(strip.fill().style(), Qt::NoBrush);
    }

    void usersFontKeepsTheSpecialFamilyAndMendsSizeOne()
    {
        MyGraphicsItem item(0, nullptr);
        item.setRectF(QRectF(0, 0, 100, 30));
        item.setText(QStringLiteral("#"));
        item.changeFontFamily(QStringLiteral("DejaVu Sans"));
        QCOMPARE(item.currentFont().family(), QStringLiteral("DejaVu Sans"));

        QFont f(QStringLiteral("Arial"));
        f.setPixelSize(1);
        f.setWeight(QFont::Bold);
        item.setUsersFont(f);
        QCOMPARE(item.currentFont().family(), QStringLiteral("TIMES_K"));
        QCOMPARE(item.currentFont().pixelSize(), 10);
        QCOMPARE(item.currentFont().weight(), int(QFont::Bold));
    }

    void styleToggles()
    {
        MyGraphicsItem item(0, nullptr);
        item.setRectF(QRectF(0, 0, 100, 30));
        QFont demi = item.currentFont();
        demi.setWeight(QFont::DemiBold);
        item.setUsersFont(demi);
        item.changeFontBold();   // anything above normal counts as bold
        QCOMPARE(item.currentFont().weight(), int(QFont::Normal));
        item.changeFontBold();
        QCOMPARE(item.currentFont().weight(), int(QFont::Bold));

        QFont oblique = item.currentFont();
        oblique.setStyle(QFont::StyleOblique);
        item.setUsersFont(oblique);
        item.changeFontItalic();
        QCOMPARE(item.currentFont().style(), QFont::StyleNormal);
        item.changeFontItalic();
        QCOMPARE(item.currentFont().style(), QFont::StyleItalic);
        item.changeFontUnderline();
        QVERIFY(item.currentFont().underline());
    }

    void paintsTheTextClippedToItsFrame()
    {
        QGraphicsScene scene(0, 0, 200, 60);
        auto *item = new MyGraphicsItem(0, nullptr);
        item->setRectF(QRectF(20, 10, 60, 30));
        item->setText(QStringLiteral("WWWWWWWWWWWWWWWWWWWWWWWW"));   // far too long, one word
        scene.addItem(item);
        QImage image(200, 60, QImage::Format_ARGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        scene.render(&painter, QRectF(0, 0, 200, 60), QRectF(0, 0, 200, 60));
        painter.end();
        // Nothing of the text spills to the right of the frame.
        for (int x = 85; x < 200; ++x)
            for (int y = 0; y < 60; ++y)
                QCOMPARE(image.pixelColor(x, y), QColor(Qt::white));
        // Inside the frame the overflowing field is tinted and the text drawn.
        bool dark = false;
        for (int x = 22; x < 78 && !dark; ++x)
            dark = image.pixelColor(x, 25).lightness() < 100;
        QVERIFY(dark);
    }

    void pressReportsIdFontAndModifiers()
    {
        QGraphicsScene scene(0, 0, 300, 200);
        auto *item = new MyGraphicsItem(7, nullptr);
        item->setRectF(QRectF(10, 10, 100, 40));
        scene.addItem(item);
        QGraphicsView view(&scene);
        view.resize(400, 300);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QSignalSpy spy(item, &MyGraphicsItem::clickedItem);
        const QPoint at = view.mapFromScene(QPointF(50, 30));
        QTest::mousePress(view.viewport(), Qt::RightButton, Qt::ShiftModifier | Qt::ControlModifier, at);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toInt(), 7);
        QCOMPARE(spy.at(0).at(1).value<QFont>().pixelSize(), 10);
        QCOMPARE(spy.at(0).at(2).toBool(), true);
        QCOMPARE(spy.at(0).at(3).toBool(), true);
        QTest::mouseRelease(view.viewport(), Qt::RightButton, {}, at);
        // The toolkit neither moves nor selects the field.
        QCOMPARE(item->pos(), QPointF(0, 0));
        QVERIFY(!item->QGraphicsItem::isSelected());
    }
};

QTEST_MAIN(TestLabelField)
#include "tst_labelfield.moc"
