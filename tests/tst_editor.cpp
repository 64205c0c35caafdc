// The descriptions editor and the legend of symbol characters beside it.

#include "textedit/formatslegend.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QTest>

namespace {
QStringList texts(const QList<QLabel *> &labels)
{
    QStringList result;
    for (const QLabel *label : labels)
        result.append(label->text());
    return result;
}
} // namespace

class TestEditor : public QObject
{
    Q_OBJECT

private slots:
    void legendRows_data()
    {
        QTest::addColumn<bool>("withNewLine");
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QStringList>("results");
        const QStringList symbols = {"#", "$", "^", "&"};
        QTest::newRow("edit dialog") << false << symbols << symbols;
        QTest::newRow("editor") << true << (QStringList{"@"} + symbols)
                                << (QStringList{QStringLiteral("Nowa linia")} + symbols);
    }

    void legendRows()
    {
        QFETCH(bool, withNewLine);
        QFETCH(QStringList, keys);
        QFETCH(QStringList, results);
        FormatsLegend legend(withNewLine);
        QCOMPARE(texts(legend.keyLabels()), keys);
        QCOMPARE(texts(legend.resultLabels()), results);
        QCOMPARE(legend.minimumSize(), legend.maximumSize());

        // Each symbol is drawn as one glyph about two letters wide: the pair,
        // not the plain character of the key column.
        for (int row = withNewLine ? 1 : 0; row < keys.size(); ++row) {
            const QLabel *key = legend.keyLabels().at(row);
            const QLabel *symbol = legend.resultLabels().at(row);
            QCOMPARE(QFontInfo(symbol->font()).family(), QStringLiteral("TIMES_K"));
            QVERIFY(QFontInfo(key->font()).family() != QStringLiteral("TIMES_K"));
            const QFontMetricsF metrics(symbol->font());
            QVERIFY2(metrics.horizontalAdvance(symbol->text()) > 1.5 * metrics.horizontalAdvance(QStringLiteral("M")),
                     qPrintable(symbol->text()));
        }
    }
};

QTEST_MAIN(TestEditor)
#include "tst_editor.moc"
