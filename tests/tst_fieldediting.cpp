// Editing one field: the edit and font dialogs, double-click, drag and drop,
// and undo of every field edit.

#include "fakeprompts.h"
#include "document/fieldcommands.h"
#include "document/sheetdocument.h"
#include "testfiles.h"
#include "dialogs/fontdialog.h"
#include "dialogs/formatslegend.h"
#include "dialogs/labeleditdialog.h"
#include "dialogs/seriesdialog.h"
#include "document/seriespattern.h"
#include "sheet/mygraphicsitem.h"
#include "sheet/preview.h"

#include <QCheckBox>
#include <QSpinBox>
#include <QPlainTextEdit>
#include <QLineEdit>
#include <QLabel>
#include <QDialogButtonBox>
#include <QComboBox>
#include <QGraphicsScene>
#include <QGraphicsSceneDragDropEvent>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QTextEdit>

#include <functional>

namespace {
constexpr int n = 8;
const QColor white(255, 255, 255);
const QColor orange(255, 127, 0, 75);
const QColor yellow(255, 255, 153);
const QColor blueGreen(0, 127, 155, 75);

QFont pixelFont(int size, bool bold = false, bool italic = false, bool underline = false)
{
    QFont f;
    f.setPixelSize(size);
    f.setWeight(bold ? QFont::Bold : QFont::Normal);
    f.setStyle(italic ? QFont::StyleItalic : QFont::StyleNormal);
    f.setUnderline(underline);
    return f;
}

// Size, bold, italic, underline and family: what the commands change.
QString describe(const QFont &f)
{
    return QStringLiteral("%1px/%2pt %3%4%5 %6")
        .arg(f.pixelSize())
        .arg(f.pointSizeF())
        .arg(f.weight() > QFont::Normal ? "B" : "-", f.style() != QFont::StyleNormal ? "I" : "-",
             f.underline() ? "U" : "-", f.family());
}

template<typename T>
T *in(QDialog &dialog, const char *name)
{
    T *widget = dialog.findChild<T *>(QLatin1String(name));
    if (!widget)
        qFatal("no %s", name);
    return widget;
}
} // namespace

// Added to a key of doubleClickOpensTheFieldsDialog: a second field is selected too.
constexpr int severalSelected = 1 << 30;

class TestFieldEditing : public QObject
{
    Q_OBJECT

    TestFiles files;
    FakePrompts prompts;

    void showSheet(Preview &p, int count = 1)
    {
        p.generationEnabled = true;
        p.resize(700, 950);
        p.show();
        QVERIFY(QTest::qWaitForWindowExposed(&p));
        p.zoomResize();
        p.filePath = files.write(QStringLiteral("sheet.txt"), barettes(count));
        QVERIFY(p.readFile());
        p.generatePages();
        QCOMPARE(p.fields().size(), count * (n + 1));
    }

    static QPoint at(Preview &p, int id) { return p.mapFromScene(p.fields().at(id)->frame().center()); }

    // Every field's text and font, and the font memory: what undo must bring back.
    static QStringList snapshot(const Preview &p)
    {
        QStringList s;
        for (const MyGraphicsItem *f : p.fields())
            s.append(f->currentText() + QLatin1Char('|') + describe(f->currentFont()));
        for (qsizetype id = 0; id < p.fieldCount(); ++id)
            s.append(QStringLiteral("document ") + p.document()->text(id) + QLatin1Char('|')
                     + describe(p.document()->font(id)));
        return s;
    }

    // Sends a drag over `field` and, unless `leave`, a drop; the events go to
    // the scene, which hands them to the field under the position.
    static void dragOnto(MyGraphicsItem *field, QMimeData *data, bool drop = true,
                         const std::function<void()> &whileOver = {})
    {
        QGraphicsScene *scene = field->scene();
        auto send = [&](QEvent::Type type) {
            QGraphicsSceneDragDropEvent event(type);
            event.setScenePos(field->frame().center());
            event.setMimeData(data);
            event.setPossibleActions(Qt::MoveAction);
            event.setProposedAction(Qt::MoveAction);
            QCoreApplication::sendEvent(scene, &event);
        };
        send(QEvent::GraphicsSceneDragEnter);
        send(QEvent::GraphicsSceneDragMove);
        if (whileOver)
            whileOver();
        send(drop ? QEvent::GraphicsSceneDrop : QEvent::GraphicsSceneDragLeave);
    }

private slots:
    void initTestCase() { freshSettings(); }

    void init()
    {
        prompts.messages.clear();
        prompts.modalDialogs.clear();
        prompts.dialogs = nullptr;
    }

    // ------------------------------------------------------------ font dialog

    void fontDialogShowsTheFontAndKeepsSizesItDoesNotList_data()
    {
        QTest::addColumn<QFont>("given");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("sent");
        QTest::newRow("10, bold") << pixelFont(10, true) << "10 -B--" << "10px/-1pt B-- ";
        QTest::newRow("15, all") << pixelFont(15, true, true, true) << "15 -BIU" << "15px/-1pt BIU ";
        QTest::newRow("24 from the tool bar") << pixelFont(24, false, true) << "24 --I-" << "24px/-1pt -I- ";
        QTest::newRow("4") << pixelFont(4) << "4 ----" << "4px/-1pt --- ";
        QFont points;
        points.setPointSize(12);
        QTest::newRow("sized in points") << points << " ----" << "-1px/12pt --- ";
        QTest::newRow("automatic") << pixelFont(1, true) << "10 AB--" << "1px/-1pt B-- ";
    }

    void fontDialogShowsTheFontAndKeepsSizesItDoesNotList()
    {
        QFETCH(QFont, given);
        QFETCH(QString, shown);
        QFETCH(QString, sent);
        FontDialog dialog(given);
        auto checked = [&](const char *name, char mark) {
            return in<QCheckBox>(dialog, name)->isChecked() ? QLatin1Char(mark) : QLatin1Char('-');
        };
        QCOMPARE(in<QComboBox>(dialog, "cbSize")->currentText() + QLatin1Char(' ') + checked("cbAutoSize", 'A')
                     + checked("cbBold", 'B') + checked("cbItalic", 'I') + checked("cbUnderline", 'U'),
                 shown);
        QVERIFY(in<QCheckBox>(dialog, "cbAutoSize")->isVisibleTo(&dialog));
        QCOMPARE(in<QComboBox>(dialog, "cbSize")->isEnabled(), !in<QCheckBox>(dialog, "cbAutoSize")->isChecked());
        QSignalSpy spy(&dialog, &FontDialog::setThisFont);
        in<QPushButton>(dialog, "pbSet")->click();
        QCOMPARE(spy.size(), 1);
        QFont got = spy.at(0).at(0).value<QFont>();
        got.setFamily(QString());
        QCOMPARE(describe(got), sent);
    }

    // ------------------------------------------------------------ series

    // A pattern and a number of fields: the values joined by "|", or where
    // (from 1) the message points when the pattern is refused.
    void seriesPatterns_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<int>("fields");
        QTest::addColumn<QString>("values");
        QTest::addColumn<int>("errorAt");
        QTest::newRow("open counter") << "X1:{1}" << 3 << "X1:1|X1:2|X1:3" << 0;
        QTest::newRow("open counter past its width") << "{8}" << 3 << "8|9|10" << 0;
        QTest::newRow("range carries left") << "Q{0}.{0-7}" << 10
                                           << "Q0.0|Q0.1|Q0.2|Q0.3|Q0.4|Q0.5|Q0.6|Q0.7|Q1.0|Q1.1" << 0;
        QTest::newRow("carry through two ranges") << "{1-2}{1-2}{1-2}" << 5 << "111|112|121|122|211" << 0;
        QTest::newRow("a range wraps with nothing to its left") << "{1-3}" << 5 << "1|2|3|1|2" << 0;
        QTest::newRow("an open counter on the right never carries") << "{1-2}/{5}" << 3 << "1/5|1/6|1/7" << 0;
        QTest::newRow("leading zeros set the width") << "K{01-12}" << 13 << "K01|K02|K03|K04|K05|K06|K07|K08|K09|K10|K11|K12|K01" << 0;
        QTest::newRow("width from the end bound") << "{1-010}" << 2 << "001|002" << 0;
        QTest::newRow("letters past Z") << "{Y}" << 4 << "Y|Z|AA|AB" << 0;
        QTest::newRow("letters past ZZ") << "{ZY}" << 3 << "ZY|ZZ|AAA" << 0;
        QTest::newRow("lower case") << "{a}" << 3 << "a|b|c" << 0;
        QTest::newRow("letter range carries") << "{1}{A-C}" << 5 << "1A|1B|1C|2A|2B" << 0;
        QTest::newRow("braces and @") << "{{x}}@{1}" << 2 << "{x}\n1|{x}\n2" << 0;
        QTest::newRow("no counter") << "Rezerwa" << 2 << "Rezerwa|Rezerwa" << 0;
        QTest::newRow("unclosed") << "Q{0}.{0-7" << 1 << "" << 6;
        QTest::newRow("unopened") << "Q0}" << 1 << "" << 3;
        QTest::newRow("empty braces") << "X{}" << 1 << "" << 2;
        QTest::newRow("reversed range") << "{9-3}" << 1 << "" << 4;
        QTest::newRow("a range ending one before it starts") << "{5-4}" << 1 << "" << 4;
        QTest::newRow("reversed letters") << "A{H-B}" << 1 << "" << 5;
        QTest::newRow("unknown") << "P{x1}" << 1 << "" << 2;
        QTest::newRow("mixed bounds") << "{A-9}" << 1 << "" << 1;
        QTest::newRow("a minus sign") << "{-2}" << 1 << "" << 1;
        QTest::newRow("too many digits") << "Z{1234567890}" << 1 << "" << 3;
        QTest::newRow("too many counters") << "{1}{1}{1}{1}{1}{1}{1}{1}-{1}" << 1 << "" << 26;
        QTest::newRow("not in Windows-1250") << "Q{1}\u2713" << 1 << "" << 5;
        QTest::newRow("too long") << QString(SeriesPattern::maxLength + 1, u'x') << 1 << ""
                                  << int(SeriesPattern::maxLength) + 1;
    }

    void seriesPatterns()
    {
        QFETCH(QString, pattern);
        QFETCH(int, fields);
        QFETCH(QString, values);
        QFETCH(int, errorAt);
        const SeriesPattern series(pattern);
        QCOMPARE(series.isValid() ? 0 : int(series.error().position) + 1, errorAt);
        QCOMPARE(series.values(fields).join(u'|'), values);
    }

    // The dialog names a character the file cannot hold and keeps OK off;
    // one field selected, it shows the run's first values and their count.
    void seriesDialogShowsValuesAndRefusals()
    {
        SeriesDialog dialog(1, 500, 20, true, QStringLiteral("Q{1}\u2713"));
        QPushButton *ok = dialog.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok);
        QCOMPARE(in<QLabel>(dialog, "lbSeriesProblem")->text(),
                 QStringLiteral("Znak 5: znaku „\u2713” (U+2713) nie można zapisać w pliku z opisami (Windows-1250)."));
        QCOMPARE(in<QLineEdit>(dialog, "leSeriesPattern")->selectedText(), QStringLiteral("\u2713"));
        QVERIFY(!ok->isEnabled());
        in<QLineEdit>(dialog, "leSeriesPattern")->setText(QStringLiteral("K{08-10}"));
        in<QSpinBox>(dialog, "sbSeriesCount")->setValue(4);
        QCOMPARE(in<QPlainTextEdit>(dialog, "teSeriesValues")->toPlainText(),
                 QStringLiteral("1. K08\n2. K09\n3. K10\n4. K08"));
        QVERIFY(ok->isEnabled() && dialog.skipHeaders());
        QCOMPARE(dialog.count(), 4);
    }

    // ------------------------------------------------------------ edit dialog

    void textsSurviveTheDialogAsTyped_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("kept");
        QTest::newRow("markup") << "<b>Pompa</b>" << "<b>Pompa</b>";
        QTest::newRow("markup first line") << "<html><body><p>Zawór</p>\n2 &amp; 3"
                                           << "<html><body><p>Zawór</p>\n2 &amp; 3";
        QTest::newRow("two lines") << "Pompa\nP1" << "Pompa\nP1";
        QTest::newRow("symbols") << "A#B" << "A#B";
        QTest::newRow("no-break space, tab, %2") << "1\u00A0kW\t%2" << "1\u00A0kW\t%2";
        QTest::newRow("CR left by a CR LF file") << "Silnik\r" << "Silnik";
        QTest::newRow("empty") << "" << "";
    }

    void textsSurviveTheDialogAsTyped()
    {
        QFETCH(QString, text);
        QFETCH(QString, kept);
        SheetDocument document;
        document.reset({text});
        LabelEditDialog dialog(0, text, document.font(0), &document);
        QCOMPARE(dialog.plainText(), kept);
        QSignalSpy changed(&dialog, &LabelEditDialog::changeLabel);
        in<QPushButton>(dialog, "pbAccept")->click();
        QCOMPARE(document.text(0), kept);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }

    void enterBreaksTheLineAndTheLayoutIsThePartsOwn()
    {
        SheetDocument document;
        LabelEditDialog dialog(0, QString(), document.font(0), &document);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Edycja opisu"));
        QVERIFY(dialog.legend()->isVisible());
        QVERIFY(dialog.fontButton()->isVisible());   // the way to the automatic size
        QVERIFY(!in<QWidget>(dialog, "rbPlainText")->isVisible());
        QCOMPARE(dialog.textBox()->font().family(), QStringLiteral("TIMES_K"));

        QTest::keyClicks(dialog.textBox(), QStringLiteral("Pompa"));
        QTest::keyClick(dialog.textBox(), Qt::Key_Return);
        // "@" breaks the line where it is typed, as a saved sheet reads it.
        QTest::keyClicks(dialog.textBox(), QStringLiteral("P1@L # 2"));
        QCOMPARE(dialog.plainText(), QStringLiteral("Pompa\nP1\nL # 2"));
        QVERIFY(dialog.isVisible());   // Enter did not press OK
        QTest::keyClick(dialog.textBox(), Qt::Key_Return, Qt::ControlModifier);   // Ctrl+Enter did
        QVERIFY(!dialog.isVisible());
        QCOMPARE(document.text(0), QStringLiteral("Pompa\nP1\nL # 2"));
        QVERIFY(document.isModified());
    }

    void charactersTheFilesCannotHoldAreRefusedByName()
    {
        SheetDocument document;
        document.reset({QStringLiteral("Pompa")});
        LabelEditDialog dialog(0, document.text(0), document.font(0), &document);
        dialog.textBox()->setPlainText(QStringLiteral("Pompa \U0001F600 ok"));
        in<QPushButton>(dialog, "pbAccept")->click();
        QCOMPARE(prompts.messages.size(), 1);
        QVERIFY2(prompts.messages.at(0).text.contains(QStringLiteral("„\U0001F600” (U+1F600)")),
                 qPrintable(prompts.messages.at(0).text));
        QCOMPARE(document.text(0), QStringLiteral("Pompa"));
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(dialog.textBox()->textCursor().selectedText(), QStringLiteral("\U0001F600"));

        // Polish letters and the other characters of the code page pass.
        dialog.textBox()->setPlainText(QStringLiteral("Zażółć „gęślą” – 5 °C"));
        in<QPushButton>(dialog, "pbAccept")->click();
        QCOMPARE(document.text(0), QStringLiteral("Zażółć „gęślą” – 5 °C"));
        QCOMPARE(prompts.messages.size(), 1);
    }

    // ------------------------------------------------------ double-click

    void doubleClickOpensTheFieldsDialog_data()
    {
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("text");   // typed into the dialog
        QTest::addColumn<int>("key");        // on the selected field instead of a double-click
        QTest::newRow("OK") << true << "Nowy\nopis" << 0;
        QTest::newRow("Anuluj") << false << "Nowy\nopis" << 0;
        QTest::newRow("OK, the font alone") << true << "L0.3" << 0;
        QTest::newRow("Enter") << true << "Nowy\nopis" << int(Qt::Key_Return);
        QTest::newRow("F2") << true << "Nowy\nopis" << int(Qt::Key_F2);
        // Field 3 and, Ctrl+clicked after it, field 5: Enter edits the first.
        QTest::newRow("Enter on two fields") << true << "Nowy\nopis" << int(Qt::Key_Return) + severalSelected;
    }

    void doubleClickOpensTheFieldsDialog()
    {
        QFETCH(bool, ok);
        QFETCH(QString, text);
        QFETCH(int, key);
        const bool several = key & severalSelected;
        key &= ~severalSelected;
        Preview p;
        showSheet(p);
        MyGraphicsItem *field = p.fields().at(3);
        if (key) {
            QTest::keyClick(&p, Qt::Key(key));   // nothing selected: no dialog
            QVERIFY(prompts.modalDialogs.isEmpty());
        }
        const QStringList before = snapshot(p);

        QString shownText;
        prompts.dialogs = [&](QDialog &d) {
            auto &dialog = dynamic_cast<LabelEditDialog &>(d);
            shownText = dialog.plainText();
            dialog.textBox()->setPlainText(text);
            dialog.pbFontClicked();
            FontDialog *fonts = dialog.openedFontDialog();
            in<QComboBox>(*fonts, "cbSize")->setCurrentText(QStringLiteral("14"));
            in<QCheckBox>(*fonts, "cbBold")->setChecked(true);
            in<QPushButton>(*fonts, "pbSet")->click();
            in<QCheckBox>(*fonts, "cbUnderline")->setChecked(true);
            in<QPushButton>(*fonts, "pbSet")->click();   // the second choice wins
            if (!dialog.fontButton()->text().endsWith(QLatin1Char('*')))
                qFatal("no change marker");
            in<QPushButton>(dialog, ok ? "pbAccept" : "pbCancel")->click();
            return dialog.result();
        };
        if (key) {
            QTest::mouseClick(p.viewport(), Qt::LeftButton, {}, at(p, 3));
            if (several)
                QTest::mouseClick(p.viewport(), Qt::LeftButton, Qt::ControlModifier, at(p, 5));
            QTest::keyClick(&p, Qt::Key(key));
        } else {
            QTest::mouseDClick(p.viewport(), Qt::LeftButton, {}, at(p, 3));
        }
        QCOMPARE(shownText, QStringLiteral("L0.3"));
        if (!ok) {
            QCOMPARE(snapshot(p), before);
            QCOMPARE(p.undoStack()->count(), 0);
            return;
        }
        QCOMPARE(field->currentText(), text);
        QCOMPARE(describe(field->currentFont()), QStringLiteral("14px/-1pt B-U TIMES_K"));
        QCOMPARE(p.document()->font(3).weight(), int(QFont::Bold));   // the dialog's font is the field's now
        const QStringList after = snapshot(p);
        QCOMPARE(p.undoStack()->count(), 1);
        p.undoStack()->undo();
        QCOMPARE(snapshot(p), before);
        p.undoStack()->redo();
        QCOMPARE(snapshot(p), after);

        // A modal dialog takes the release of the click that opened it: the
        // field must not stay the mouse grabber, or the next drag anywhere
        // on the page would carry this field.
        prompts.dialogs = [](QDialog &) { return int(QDialog::Rejected); };
        QTest::mousePress(p.viewport(), Qt::LeftButton, {}, at(p, 3));
        QTest::mouseRelease(p.viewport(), Qt::LeftButton, {}, at(p, 3));
        QMouseEvent doubleClick(QEvent::MouseButtonDblClick, at(p, 3), p.viewport()->mapToGlobal(at(p, 3)),
                                Qt::LeftButton, Qt::LeftButton, {});
        QApplication::sendEvent(p.viewport(), &doubleClick);
        QCOMPARE(p.scene()->mouseGrabberItem(), nullptr);
    }

    void theTopStripCanBeEditedToo()
    {
        Preview p;
        showSheet(p);
        MyGraphicsItem *strip = nullptr;
        for (QGraphicsItem *item : p.scene()->items()) {
            if (auto *f = dynamic_cast<MyGraphicsItem *>(item); f && f->fieldId() == MyGraphicsItem::stripId)
                strip = f;
        }
        QVERIFY(strip);
        prompts.dialogs = [](QDialog &d) {
            auto &dialog = dynamic_cast<LabelEditDialog &>(d);
            dialog.textBox()->setPlainText(QStringLiteral("Szafa sterownicza numer jeden, rozdzielnica główna i zasilanie awaryjne"));
            dialog.pbAcceptClicked();
            return dialog.result();
        };
        QTest::mouseDClick(p.viewport(), Qt::LeftButton, {}, p.mapFromScene(strip->frame().center()));
        QCOMPARE(strip->currentText(), QStringLiteral("Szafa sterownicza numer jeden, rozdzielnica główna i zasilanie awaryjne"));
        QCOMPARE(strip->fill().color(), orange);   // measured for the first time
        QCOMPARE(p.undoStack()->count(), 0);   // not the document's: nothing to undo
    }

    // ---------------------------------------------------- drag and drop

    void aDragStartsAtTheFirstMoveAndCarriesTheField()
    {
        Preview p;
        showSheet(p);
        MyGraphicsItem *source = p.fields().at(2);
        source->setContent(QStringLiteral("Pompa;;1\n%2"), pixelFont(12, true, false, true));
        const std::unique_ptr<QMimeData> data(source->makeDragData());
        QCOMPARE(data->text(), QStringLiteral("Pompa;;1\n%2;;12;;1;;0;;1"));

        // A real press and a one-pixel move: the drag runs (and, offscreen,
        // ends at once) and the source shows itself selected.
        QTest::mousePress(p.viewport(), Qt::LeftButton, {}, at(p, 2));
        QTest::mouseMove(p.viewport(), at(p, 2) + QPoint(1, 0));
        QTest::mouseRelease(p.viewport(), Qt::LeftButton, {}, at(p, 2) + QPoint(1, 0));
        QCOMPARE(source->fill().color(), blueGreen);
        QCOMPARE(source->currentText(), QStringLiteral("Pompa;;1\n%2"));
    }

    void drops_data()
    {
        QTest::addColumn<QString>("dropped");
        QTest::addColumn<bool>("fromField");     // the source field's own data instead
        QTest::addColumn<QString>("text");      // what the target holds afterwards
        QTest::addColumn<QString>("font");
        QTest::addColumn<int>("messages");

        const QString kept = QStringLiteral("10px/-1pt --- TIMES_K");
        QTest::newRow("own format") << "" << true << "Pompa;;1\n%2" << "12px/-1pt B-U TIMES_K" << 0;
        QTest::newRow("written by hand") << "Zawór;;14;;0;;1;;0" << false << "Zawór" << "14px/-1pt -I- TIMES_K" << 0;
        QTest::newRow("empty text, own format") << ";;11;;1;;0;;0" << false << "" << "11px/-1pt B-- TIMES_K" << 0;
        QTest::newRow("no usable size") << "a;;b;;0;;1;;0;;0" << false << "a;;b" << "10px/-1pt B-- TIMES_K" << 0;
        QTest::newRow("a size above the largest") << "a;;1000;;0;;0;;1" << false << "a" << "10px/-1pt --U TIMES_K" << 0;
        QTest::newRow("foreign text") << "Wentylator\r\nW2" << false << "Wentylator\nW2" << kept << 0;
        QTest::newRow("too few parts") << "x;;12;;1" << false << "x;;12;;1" << kept << 0;
        QTest::newRow("not numbers") << "a;;b;;c;;d;;e" << false << "a;;b;;c;;d;;e" << kept << 0;
        QTest::newRow("empty foreign text") << "" << false << "L0.5" << kept << 0;
        QTest::newRow("emoji") << "Pompa \U0001F600" << false << "L0.5" << kept << 1;
    }

    void drops()
    {
        QFETCH(QString, dropped);
        QFETCH(bool, fromField);
        QFETCH(QString, text);
        QFETCH(QString, font);
        QFETCH(int, messages);
        Preview p;
        showSheet(p);
        MyGraphicsItem *source = p.fields().at(2);
        source->setContent(QStringLiteral("Pompa;;1\n%2"), pixelFont(12, true, false, true));
        MyGraphicsItem *target = p.fields().at(5);
        const QStringList sourceBefore = {source->currentText(), describe(source->currentFont())};
        const QStringList before = snapshot(p);

        std::unique_ptr<QMimeData> data(source->makeDragData());
        if (!fromField) {
            data = std::make_unique<QMimeData>();
            data->setText(dropped);
        }
        QColor during;
        dragOnto(target, data.get(), true, [&] { during = target->fill().color(); });
        QCOMPARE(during, yellow);
        QCOMPARE(target->currentText(), text);
        QCOMPARE(describe(target->currentFont()), font);
        QCOMPARE(target->fill().color(), white);   // the highlight is gone
        QCOMPARE((QStringList{source->currentText(), describe(source->currentFont())}), sourceBefore);
        QCOMPARE(prompts.messages.size(), messages);

        const bool changed = snapshot(p) != before;
        QCOMPARE(p.undoStack()->count(), changed ? 1 : 0);
        if (changed) {
            const QStringList after = snapshot(p);
            p.undoStack()->undo();
            QCOMPARE(snapshot(p), before);
            p.undoStack()->redo();
            QCOMPARE(snapshot(p), after);
        }
    }

    void aDropOnItsOwnFieldChangesNothing()
    {
        Preview p;
        showSheet(p);
        MyGraphicsItem *field = p.fields().at(4);
        field->changeFontFamily(QStringLiteral("DejaVu Sans"));
        const QStringList before = snapshot(p);
        const std::unique_ptr<QMimeData> data(field->makeDragData());
        dragOnto(field, data.get());
        QCOMPARE(snapshot(p), before);
        QCOMPARE(field->fill().color(), white);
        QCOMPARE(p.undoStack()->count(), 0);
    }

    void theHighlightGoesWhenTheDragLeaves()
    {
        Preview p;
        showSheet(p);
        MyGraphicsItem *overflowing = p.fields().at(6);
        overflowing->setText(QStringLiteral("Bardzo długi opis, który nie mieści się w polu etykiety"));
        QCOMPARE(overflowing->fill().color(), orange);
        QMimeData data;
        data.setText(QStringLiteral("x"));
        QColor during;
        dragOnto(overflowing, &data, false, [&] { during = overflowing->fill().color(); });
        QCOMPARE(during, yellow);
        QCOMPARE(overflowing->fill().color(), orange);   // its own look, the overflow mark kept

        // A selected field keeps its selected look under a drag.
        p.clickedItem(1, QFont(), false, false);
        dragOnto(p.fields().at(1), &data, false, [&] { during = p.fields().at(1)->fill().color(); });
        QCOMPARE(during, blueGreen);
    }

    // ------------------------------------------------------------- undo

    void fontCommandsUndoAndRedo_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QList<int>>("chosen");   // the fields selected; none: every field
        const char *names[] = {"bold", "italic", "underline", "size 18", "family", "fit size"};
        for (int c = 0; c < 6; ++c) {
            QTest::addRow("%s, selected fields", names[c]) << c << QList<int>{1, 2, 3, 10, 11, 12, 13, 14, 15, 16};
            QTest::addRow("%s, every field", names[c]) << c << QList<int>{};
        }
        // Fields 7 and 8 already have the size and the family: one step all the same.
        QTest::newRow("size 18, the last fields have it") << 3 << QList<int>{1, 2, 7, 8};
        QTest::newRow("family, the last fields have it") << 4 << QList<int>{1, 2, 7, 8};
        // "Ustaw czcionkę…": the fields in DejaVu Sans keep it, as with the tool bar.
        QTest::newRow("font dialog, selected fields") << 6 << QList<int>{1, 2, 3, 7, 8, 13};
    }

    void fontCommandsUndoAndRedo()
    {
        QFETCH(int, command);
        QFETCH(QList<int>, chosen);
        Preview p;
        showSheet(p, 2);
        // Fonts of every kind: a remembered font sized in points (as old
        // projects hold), a bold field whose memory is not, a demi-bold one.
        SheetDocument *document = p.document();
        const auto set = [document](int id, const std::function<void(QFont &)> &change, QString text = {}) {
            QFont font = document->font(id);
            change(font);
            document->setContent(id, text.isEmpty() ? document->text(id) : text, font);
        };
        set(1, [](QFont &f) { f.setPointSizeF(9.5); });
        set(2, [](QFont &f) { f.setWeight(QFont::Bold); });
        // Neighbours that look alike on the page but hold different fonts.
        set(13, [](QFont &f) { f.setItalic(true); });
        set(3, [](QFont &f) { f.setWeight(QFont::DemiBold); });
        set(7, [](QFont &f) { f.setPixelSize(18); f.setFamily(QStringLiteral("DejaVu Sans")); });
        set(8, [](QFont &f) { f.setPixelSize(18); f.setFamily(QStringLiteral("DejaVu Sans")); });
        // Too large for their texts: the size fit shrinks them, bold and
        // italic of one size each to its own style, neighbours each to the
        // size of its own text (15 and 16 from different sizes to one).
        const QString water = QStringLiteral("Temperatura zasilania wody");
        const QString boiler = QStringLiteral("Temperatura zasilania wody w obiegu pierwotnym kotła");
        set(10, [](QFont &f) { f.setPixelSize(18); f.setWeight(QFont::Bold); }, water);
        set(11, [](QFont &f) { f.setPixelSize(18); f.setItalic(true); }, water);
        set(12, [](QFont &f) { f.setPixelSize(18); }, water);
        set(14, [](QFont &f) { f.setPixelSize(18); }, water);
        set(15, [](QFont &f) { f.setPixelSize(18); }, boiler);
        set(16, [](QFont &f) { f.setPixelSize(16); }, boiler);
        for (int id : chosen)
            p.clickedItem(id, QFont(), false, true);
        const QStringList before = snapshot(p);
        QList<QFont> fonts;
        for (qsizetype id = 0; id < p.fieldCount(); ++id)
            fonts.append(document->font(id));

        const std::function<void()> commands[] = {
            [&] { p.changeFontBold(); },
            [&] { p.changeFontItalic(); },
            [&] { p.changeFontUnderline(); },
            [&] { p.changeFontPixelSize(18); },
            [&] { p.changeFontFamily(QStringLiteral("DejaVu Sans")); },
            [&] { p.fitSize(); },
            [&] {
                QFont chosen;
                chosen.setPixelSize(16);
                chosen.setItalic(true);
                chosen.setUnderline(true);
                p.undoStack()->push(new FontCommand(document, p.selectedIds(), p.fieldCount(),
                                                    FontCommand::Kind::Chosen, 0, QString(), QString(), chosen));
            },
        };
        commands[command]();
        const QStringList after = snapshot(p);
        QVERIFY(after != before);
        QCOMPARE(p.undoStack()->count(), 1);
        if (command == 5)   // each field at the size of its own text
            QCOMPARE(p.overflowCount(), 0);
        for (int id : chosen) {   // the dialog's size and style, bold taken off
            const QFont font = document->font(id);
            QVERIFY(command != 6 || (font.pixelSize() == 16 && font.italic() && !font.bold()));
        }
        // Each font keeps all but what the command changes.
        const std::function<void(QFont &, const QFont &)> own[] = {
            [](QFont &f, const QFont &now) { f.setWeight(now.weight()); },
            [](QFont &f, const QFont &now) { f.setStyle(now.style()); },
            [](QFont &f, const QFont &now) { f.setUnderline(now.underline()); },
            [](QFont &f, const QFont &now) { f.setPixelSize(now.pixelSize()); },
            [](QFont &f, const QFont &now) { f.setFamily(now.family()); },
            [](QFont &f, const QFont &now) { f.setPixelSize(now.pixelSize()); },
            [](QFont &f, const QFont &now) {
                f.setPixelSize(now.pixelSize());
                f.setStyle(now.style());
                f.setUnderline(now.underline());
                f.setWeight(now.weight());
            },
        };
        for (qsizetype id = 0; id < p.fieldCount(); ++id) {
            own[command](fonts[id], document->font(id));
            QCOMPARE(describe(document->font(id)), describe(fonts.at(id)));
        }
        p.undoStack()->undo();
        QCOMPARE(snapshot(p), before);
        p.undoStack()->redo();
        QCOMPARE(snapshot(p), after);
        p.undoStack()->undo();
        QCOMPARE(snapshot(p), before);
    }

    void editsUndoInOrderAndSurviveEveryRebuild()
    {
        Preview p;
        showSheet(p);
        const QStringList start = snapshot(p);
        p.changeFontPixelSize(18);
        p.changeFontPixelSize(18);   // the size field sends its value twice: one step
        QCOMPARE(p.undoStack()->count(), 1);
        const std::unique_ptr<QMimeData> data(p.fields().at(0)->makeDragData());
        dragOnto(p.fields().at(7), data.get());
        p.changeFontBold();
        QCOMPARE(p.undoStack()->count(), 3);
        while (p.undoStack()->canUndo())
            p.undoStack()->undo();
        QCOMPARE(snapshot(p), start);
        while (p.undoStack()->canRedo())
            p.undoStack()->redo();
        QCOMPARE(p.fields().at(7)->currentText(), QStringLiteral("H0"));
        QCOMPARE(p.fields().at(7)->currentFont().weight(), int(QFont::Bold));

        // Another printer, other sizes, another label count: the places
        // change, the edits and their undo stay.
        const std::function<void()> rebuilds[] = {
            [&p] { p.setPrinter(Preview::builtInPdfName); },
            [&p] { QVERIFY(p.updateDimensions(QRectF(0, 0, 30, 10), QRectF(0, 0, 40, 8))); },
            [&p] { QVERIFY(p.setLabelsPerBarette(5)); p.updatePreview(); },
        };
        for (const auto &rebuild : rebuilds) {
            rebuild();
            QCOMPARE(p.undoStack()->count(), 3);
            QCOMPARE(p.field(7)->currentText(), QStringLiteral("H0"));
            QCOMPARE(p.field(7)->currentFont().weight(), int(QFont::Bold));
        }
        p.undoStack()->undo();
        p.undoStack()->undo();
        QCOMPARE(p.field(7)->currentText(), QStringLiteral("L0.7"));
        QVERIFY(p.document()->isModified());
        p.undoStack()->undo();
        QVERIFY(!p.document()->isModified());
    }
};

QTEST_MAIN(TestFieldEditing)
#include "tst_fieldediting.moc"
