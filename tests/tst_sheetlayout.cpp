// Layout arithmetic: how many barettes fit and where every field lands.

#include "layout/pagerange.h"
#include "layout/sheetlayout.h"

#include <QTest>

#include <sys/resource.h>

namespace {
bool near(double a, double b)
{
    return std::abs(a - b) < 1e-3;
}

bool near(const QRectF &a, const QRectF &b)
{
    return near(a.x(), b.x()) && near(a.y(), b.y()) && near(a.width(), b.width()) && near(a.height(), b.height());
}
} // namespace

#define QCOMPARE_RECT(actual, expected)                                                                           \
    QVERIFY2(near(actual, expected), qPrintable(QStringLiteral("%1,%2 %3x%4")                                     \
                                                    .arg(actual.x())                                              \
                                                    .arg(actual.y())                                              \
                                                    .arg(actual.width())                                          \
                                                    .arg(actual.height())))

class TestSheetLayout : public QObject
{
    Q_OBJECT

private slots:
    void wholeA4Sheet()
    {
        SheetLayout s;
        s.setAvailableArea(QRectF(0, 0, 210, 297));
        QCOMPARE(s.marginX, 0.f);
        QCOMPARE(s.printableRect, QRect(0, 0, 630, 891));
        QCOMPARE_RECT(s.fAvailableArea, QRectF(0, 0, 630, 891));
        s.computeLayout();
        QCOMPARE(s.columns, 3);
        QCOMPARE(s.rows, 2);
        QCOMPARE(s.barettesPerPage, 6);

        const QPointF first = s.baretteOrigin(0, 0);
        QCOMPARE_RECT(s.stripRect(first), QRectF(15, 15, 150.75, 21));
        QCOMPARE_RECT(s.headerRect(first), QRectF(15, 36, 150.75, 25.5));
        QCOMPARE_RECT(s.labelRect(first, 1), QRectF(53.85, 61.5, 111.9, 33.6));
        QCOMPARE_RECT(s.labelRect(first, 8), QRectF(53.85, 61.5 + 7 * 33.6, 111.9, 33.6));
        QVERIFY(near(s.stripRect(s.baretteOrigin(0, 1)).x(), 174.75));
        QVERIFY(near(s.stripRect(s.baretteOrigin(1, 0)).y(), 339.3));
        // Labels are right-aligned with the header.
        QVERIFY(near(s.labelRect(first, 3).right(), s.headerRect(first).right()));
    }

    void builtInPdfArea()
    {
        SheetLayout s;
        s.setAvailableArea(QRectF(0, 0, 199.8, 288.856));
        QCOMPARE_RECT(s.fAvailableArea, QRectF(15.3, 12.216, 584.1, 854.352));
        QCOMPARE(s.printableRect, QRect(0, 0, 597, 864));
        s.computeLayout();
        QCOMPARE(s.columns, 3);
        QCOMPARE(s.rows, 2);
        QVERIFY(near(s.stripRect(s.baretteOrigin(0, 0)).topLeft().x(), 30.3));
        QVERIFY(near(s.stripRect(s.baretteOrigin(0, 0)).topLeft().y(), 27.216));
    }

    void printerWithUnequalMarginsKeepsItsRightAndBottomEdges()
    {
        SheetLayout s;
        s.setAvailableArea(QRectF(10, 5, 190, 280));   // left 10, right 10; top 5, bottom 12
        QCOMPARE(s.marginX, 30.f);
        QCOMPARE(s.marginY, 25.5f);
        QCOMPARE_RECT(s.fAvailableArea, QRectF(30, 25.5, 600 - 30, 855 - 25.5));
    }

    // Page lists are read in one pass: long lists within the limit are
    // read, longer ones are "too many", a number past any int is no page.
    void pageListsOfAnyLength()
    {
        PageRange::Problem problem = PageRange::Problem::None;
        QCOMPARE(PageRange::parseRanges(QStringList(10'923, QStringLiteral("2-3")).join(QLatin1Char(',')))->size(), 10'923);
        QVERIFY(!PageRange::parseRanges(QStringList(PageRange::maxParts + 1, QStringLiteral("1")).join(QLatin1Char(',')),
                                        &problem));
        QCOMPARE(problem, PageRange::Problem::TooMany);
        QVERIFY(!PageRange::parseRanges(u"1,2147483648", &problem) && problem == PageRange::Problem::Malformed);
        QCOMPARE(PageRange::parse(u"3,1-2,2", 3), (QList<int>{1, 2, 3}));
        // A range far past the sheet is refused before any page is listed:
        // two billion pages would take 8 GB.
        QVERIFY(!PageRange::parse(u"1,1-2000000000", 3, &problem) && problem == PageRange::Problem::PastEnd);
        rusage self{};
        QVERIFY(getrusage(RUSAGE_SELF, &self) == 0);
        QVERIFY2(self.ru_maxrss < 1024 * 1024, qPrintable(QString::number(self.ru_maxrss)));
    }

    void pageCount_data()
    {
        QTest::addColumn<int>("groups");
        QTest::addColumn<int>("lastPage");
        QTest::newRow("none: one page, frame only") << 0 << 0;
        QTest::newRow("one") << 1 << 0;
        QTest::newRow("exactly one page: no empty second page") << 6 << 0;
        QTest::newRow("seven") << 7 << 1;
        QTest::newRow("thirteen") << 13 << 2;
    }

    void pageCount()
    {
        QFETCH(int, groups);
        QFETCH(int, lastPage);
        SheetLayout s;
        s.setAvailableArea(QRectF(0, 0, 210, 297));
        s.computeLayout();
        QCOMPARE(s.lastPageFor(groups), lastPage);
    }

    void nothingFitsGivesOnePageAndNoNegativeCounts_data()
    {
        QTest::addColumn<QRectF>("area");
        QTest::addColumn<float>("headerWidth");
        QTest::addColumn<int>("labels");
        QTest::newRow("header wider than the page") << QRectF(0, 0, 210, 297) << 100.f * 3 << 8;
        QTest::newRow("barette taller than the page") << QRectF(0, 0, 210, 297) << 50.25f << 40;
        QTest::newRow("area smaller than the borders") << QRectF(0, 0, 8, 8) << 50.25f << 8;
    }

    void nothingFitsGivesOnePageAndNoNegativeCounts()
    {
        QFETCH(QRectF, area);
        QFETCH(float, headerWidth);
        QFETCH(int, labels);
        SheetLayout s;
        s.headerWidth = headerWidth;
        s.labelsPerBarette = labels;
        s.setAvailableArea(area);
        s.computeLayout();
        QVERIFY(s.columns >= 0);
        QVERIFY(s.rows >= 0);
        QCOMPARE(s.barettesPerPage, 0);
        QCOMPARE(s.lastPageFor(100), 0);
    }

    void geometryChangesThePitch()
    {
        SheetLayout s;
        s.setAvailableArea(QRectF(0, 0, 210, 297));
        s.labelsPerBarette = 5;
        s.headerWidth = s.labelWidth = 29.5f;
        s.headerHeight = 8.5f;
        s.labelHeight = 11.2f;
        s.computeLayout();
        QCOMPARE(s.columns, 6);   // 600 / 91.5
        QCOMPARE(s.rows, 4);      // 861 / (25.5 + 168 + 10)
    }
};

QTEST_GUILESS_MAIN(TestSheetLayout)
#include "tst_sheetlayout.moc"
