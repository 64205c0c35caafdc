// One field: its fit test at the exact boundary and against what is painted,
// the same layout under every hinting setting, its fills and its font toggles.

#include "document/fieldtext.h"
#include "document/specialglyphfont.h"
#include "layout/sheetlayout.h"
#include "sheet/mygraphicsitem.h"

#include <QFile>
#include <QFontMetrics>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <functional>

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

// Line breaks, positions, ink and verdicts of near-boundary texts in a few
// sizes, in the painted rectangles of the default label and header.
QString layoutDigest()
{
    QStringList digest;
    for (const int size : {8, 10, 13}) {
        QFont font = SpecialGlyphFont::defaultFont();
        font.setPixelSize(size);
        for (const QSizeF &rect : {QSizeF(109.9, 31.6), QSizeF(148.75, 23.5)}) {
            for (const char *text : {"Praca", "Zwłoka czasowa wyłączenia sprężarki # $",
                                     "bez BATERIA minimalny wody maksymalny zasilacza Częstotliwość",
                                     "Ładowarka przeciążeniowe\nprzy Zbiornik Źródło Szafa"}) {
                const FieldText::Layout laid(QString::fromUtf8(text), font, rect);
                digest << QStringLiteral("%1/%2").arg(laid.fits()).arg(laid.ink().right());
                for (int i = 0; i < laid.lines().lineCount(); ++i) {
                    const QTextLine line = laid.lines().lineAt(i);
                    digest << QStringLiteral("%1@%2").arg(line.textStart()).arg(line.x());
                }
            }
        }
    }
    return digest.join(u' ');
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
        // last line without descenders its empty descent is not needed, the
        // descenders of one that has them are.
        MyGraphicsItem item(0, nullptr);
        for (const QString &text : {QStringLiteral("Pompa\nrezerwowa"), QStringLiteral("rezerwowa\nPompa")}) {
            const auto tall = FieldText::layout(text, item.currentFont(), QSizeF(200, 1000));
            const qreal need = 2 * qMax(500 - tall->ink().top(), tall->ink().bottom() - 500);
            const QTextLine last = tall->lines().lineAt(1);
            const qreal baseline = last.y() + last.ascent();
            if (text.endsWith(QLatin1String("Pompa")))
                QVERIFY(tall->ink().bottom() > baseline + 1);
            else
                QVERIFY(tall->ink().bottom() < baseline + last.descent() - 1);
            item.setRectF(QRectF(0, 0, 202, need + 2 + 0.05));
            item.setText(text);
            QVERIFY(item.textFits());
            item.setRectF(QRectF(0, 0, 202, need + 2 - 0.05));
            item.setText(text);
            QVERIFY(!item.textFits());
        }
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
        // A second line stands a whole line (ascent, descent, leading) below
        // the first: its descenders reach that far down, not over the first.
        const QFontMetricsF metrics(FieldText::layoutFont(item.currentFont()));
        const auto one = FieldText::layout(QStringLiteral("Pompa"), item.currentFont(), QSizeF(200, 1000));
        const auto two = FieldText::layout(QStringLiteral("Pompa\nPompa"), item.currentFont(), QSizeF(200, 1000));
        QVERIFY(two->ink().height() - one->ink().height() >= metrics.ascent() + metrics.descent() + metrics.leading());
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

    void usersFontKeepsTheSpecialFamilyAndSizeOneAutomatic()
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
        QCOMPARE(item.currentFont().pixelSize(), 1);   // kept automatic, shown at the default size
        QCOMPARE(item.shownFont().pixelSize(), 10);
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

    void verdictIsWhatIsPainted_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("header");
        // >= 0: the frame is as wide as this line of the text plus one unit, so
        // that the painted rectangle is one unit narrower than the line.
        QTest::addColumn<int>("widthOfLine");
        QTest::addColumn<bool>("underline");
        QTest::addColumn<bool>("fits");
        QTest::newRow("line wider than the painted rectangle, narrower than the frame")
            << QStringLiteral("Ładowarka przeciążeniowe") << false << 0 << false << true;
        QTest::newRow("the same line under another: a third line, cut")
            << QStringLiteral("Zbiornik Szafa\nŁadowarka przeciążeniowe") << false << 1 << false << false;
        QTest::newRow("three-line label, no ascenders or descenders")
            << QStringLiteral("ocean\nwozem\nramowe") << false << -1 << false << true;
        QTest::newRow("three-line label, descenders below")
            << QStringLiteral("Praca\nAwaria\nPompa") << false << -1 << false << false;
        QTest::newRow("three-line label, underlined")
            << QStringLiteral("ocean\nwozem\nramowe") << false << -1 << true << false;
        QTest::newRow("two-line header") << QStringLiteral("Pompa obiegowa\nrezerwowa") << true << -1 << false << true;
        QTest::newRow("three-line header")
            << QStringLiteral("Pompa\nobiegowa\nrezerwowa") << true << -1 << false << false;
        QTest::newRow("single word longer than the label")
            << QStringLiteral("PrzeciwzamrożeniowyPrzeciwzamrożeniowy") << false << -1 << false << false;
        QTest::newRow("line break and symbol characters")
            << QStringLiteral("Ręczny # automat\nPompa $ rezerwowa") << false << -1 << false << true;
        // Far more than a field can show: cut, and painted as its layout.
        QTest::newRow("a cell of 32,000 characters")
            << QStringLiteral("Pompa obiegowa rezerwowa # ").repeated(32'000 / 27) << false << -1 << false << false;
        // White space to the end of a line shows nothing, so its first part
        // would fit: the lines after it decide.
        QTest::newRow("a word, 40,000 spaces, three more lines")
            << QStringLiteral("Pompa") + QString(40'000, u' ') + QStringLiteral("obiegowa\nrezerwowa\nPompa") << false
            << -1 << false << false;
    }

    void verdictIsWhatIsPainted()
    {
        // The field's layout drawn unclipped at a high scale: a white field has
        // no ink outside its painted rectangle, an orange one has. Inside it,
        // the field paints exactly that layout (paintsTheTextClippedToItsFrame:
        // and nothing outside).
        QFETCH(QString, text);
        QFETCH(bool, header);
        QFETCH(int, widthOfLine);
        QFETCH(bool, underline);
        QFETCH(bool, fits);
        const SheetLayout sheet;   // the default geometry and font
        QRectF frame = header ? sheet.headerRect(QPointF(5, 5)) : sheet.labelRect(QPointF(5, 5), 1);
        QFont font = SpecialGlyphFont::defaultFont();
        font.setUnderline(underline);
        if (widthOfLine >= 0) {
            const QString line = text.split(u'\n').at(widthOfLine);
            frame.setWidth(QFontMetricsF(FieldText::layoutFont(font)).horizontalAdvance(line) + 1);
        }
        MyGraphicsItem item(0, nullptr);
        item.setRectF(frame);
        item.setContent(text, font);
        const QRectF painted = item.textFrame();
        const auto laid = FieldText::layout(text, item.currentFont(), painted.size());

        constexpr qreal scale = 10;
        const QRectF area = frame.adjusted(-60, -30, 60, 30);
        auto render = [&](const std::function<void(QPainter *)> &paint) {
            QImage image((area.size() * scale).toSize(), QImage::Format_RGB32);
            image.fill(Qt::white);
            QPainter painter(&image);
            painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
            painter.scale(scale, scale);
            painter.translate(-area.topLeft());
            painter.setPen(QPen(Qt::black, 0));
            paint(&painter);
            return image;
        };
        const QImage whole = render([&](QPainter *p) { laid->lines().draw(p, painted.topLeft()); });
        const QImage field = render([&](QPainter *p) { item.paint(p, nullptr, nullptr); });
        auto pixels = [&](const QRectF &r) {
            return QRectF((r.topLeft() - area.topLeft()) * scale, r.size() * scale).toAlignedRect();
        };
        const QRect inside = pixels(painted);
        int lost = 0;       // ink a pixel or more outside
        int different = 0;  // inside: the red channel, the same under any tint
        for (int y = 0; y < whole.height(); ++y) {
            for (int x = 0; x < whole.width(); ++x) {
                if (inside.adjusted(1, 1, -1, -1).contains(x, y))
                    different += qRed(whole.pixel(x, y)) != qRed(field.pixel(x, y));
                else if (!inside.adjusted(-1, -1, 1, 1).contains(x, y))
                    lost += qRed(whole.pixel(x, y)) < 192;
            }
        }
        QCOMPARE(item.textFits(), fits);
        QCOMPARE(lost > 0, !fits);
        QCOMPARE(different, 0);
    }

    void sameLayoutUnderFullAndNoHinting()
    {
        // Run again under fontconfig's full hinting and under none: the field
        // font measures differently, the layouts do not.
        if (qEnvironmentVariableIsSet("LAMELLO_LAYOUT_DIGEST")) {
            const QFontMetricsF plain(SpecialGlyphFont::defaultFont());
            std::printf("%g\n%s\n", plain.horizontalAdvance(QStringLiteral("Praca")),
                        qPrintable(layoutDigest()));
            return;
        }
        QTemporaryDir dir;
        auto run = [&](const QString &style) {
            QFile config(dir.filePath(style + QStringLiteral(".conf")));
            const QString system = qEnvironmentVariable("FONTCONFIG_FILE", QStringLiteral("/etc/fonts/fonts.conf"));
            if (!config.open(QIODevice::WriteOnly))
                qFatal("cannot write %s", qPrintable(config.fileName()));
            config.write(QStringLiteral("<fontconfig><include>%1</include><match target=\"font\">"
                                        "<edit name=\"hinting\"><bool>true</bool></edit>"
                                        "<edit name=\"hintstyle\"><const>%2</const></edit></match></fontconfig>")
                             .arg(system, style)
                             .toUtf8());
            config.close();
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("FONTCONFIG_FILE"), config.fileName());
            env.insert(QStringLiteral("LAMELLO_LAYOUT_DIGEST"), QStringLiteral("1"));
            QProcess proc;   // the test log to a file: stdout holds only the digest
            proc.setProcessEnvironment(env);
            const QString log = dir.filePath(style + QStringLiteral(".log"));
            proc.start(QCoreApplication::applicationFilePath(),
                       {QStringLiteral("sameLayoutUnderFullAndNoHinting"), QStringLiteral("-o"), log});
            proc.waitForFinished(60000);
            return QString::fromUtf8(proc.readAllStandardOutput()).split(u'\n');
        };
        const QStringList full = run(QStringLiteral("hintfull"));
        const QStringList none = run(QStringLiteral("hintnone"));
        QVERIFY2(full.value(0) != none.value(0), "the hinting settings did not reach the fonts");
        QCOMPARE(full.value(1), none.value(1));
        QCOMPARE(full.value(1), layoutDigest());
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
