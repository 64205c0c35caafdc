// Cells through their number formats: code, value and language in, the text
// a spreadsheet shows out. The expected texts are what LibreOffice Calc 7.4
// shows for the same XLSX cell under a Polish or English locale, except
// where Excel is followed on purpose, as Gnumeric follows it (the 1900 leap
// year, A/P, short date 14, the sign in conditional sections, the time
// rounded to the second before the day is taken; the rows say so).

#include "workbooks/numberformat.h"

#include <QTest>

namespace {
constexpr char16_t nbsp = 0x00A0;
}

class TestNumberFormat : public QObject
{
    Q_OBJECT

private slots:
    void valuesAsTheSpreadsheetShowsThem_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("value");   // a number, or 'text for a text cell
        QTest::addColumn<bool>("english");
        QTest::addColumn<bool>("date1904");
        QTest::addColumn<QString>("shown");

        const auto row = [](const char *name, const QString &code, const QString &value, const QString &shown,
                            bool english = false, bool date1904 = false) {
            QTest::newRow(name) << code << value << english << date1904 << shown;
        };
        const QString g = QString(QChar(nbsp));
        // What a cabinet workbook shows.
        row("date", "dd.mm.yyyy", "45366", "15.03.2024");
        row("time", "hh:mm", "0.5", "12:00");
        row("percent", "0%", "0.75", "75%");
        row("two decimals", "0.00", "1.1", "1,10");
        row("leading zeros", "000", "7", "007");
        row("thousands", "#,##0", "1000000", "1" + g + "000" + g + "000");
        row("currency, quoted", "#,##0.00\\ \"zł\"", "12.5", "12,50 zł");
        row("currency, locale tag", "#,##0.00\\ [$zł-415]", "12.5", "12,50 zł");
        row("negative section", "0.00;(0.00)", "-2.5", "(2,50)");
        row("quoted prefix", "\"X\"0.0", "1.1", "X1,1");
        // Rounding on the value's 15 digits, half away from zero; no "-" on a zero.
        row("half rounds up", "0.00", "0.005", "0,01");
        row("1.005 as its 15 digits", "0.00", "1.005", "1,01");
        row("negative rounding to zero", "0.00", "-0.001", "0,00");
        row("negative zero", "0.0", "-0", "0,0");
        row("negative zero, General", "General", "-0", "0");
        row("negative, one section", "#,##0.00", "-1234.5678", "-1" + g + "234,57");
        row("carry into a new digit", "0.0", "9.96", "10,0");
        row("large", "0.00", "12345678.9", "12345678,90");
        row("past 15 digits", "0.0", "1e20", "100000000000000000000,0");
        // Times and dates.
        row("elapsed hours", "[h]:mm", "1.5", "36:00");
        row("elapsed minutes", "[mm]:ss", "0.1", "144:00");
        row("elapsed seconds", "[ss]", "0.01", "864");
        row("seconds rounded", "yyyy-mm-dd hh:mm:ss", "45366.999999", "2024-03-16 00:00:00");
        // 23:59:59.999 is 00:00 of the next day, also where no seconds are
        // shown (LibreOffice: 23:59, 15.03.2024); minutes are cut after that.
        row("rounded to the second, then minutes cut", "hh:mm", "0.99999999", "00:00");
        row("minutes cut", "hh:mm", "0.123456789", "02:57");
        row("rounded to the second before the day", "dd.mm.yyyy", "45366.99999999", "16.03.2024");
        row("elapsed, rounded to the second", "[h]:mm", "2.9999999", "72:00");
        row("fraction of a second", "hh:mm:ss.00", "0.123456789", "02:57:46,67");
        row("m after h, before s", "h:m:s", "0.5007", "12:1:0");
        row("12-hour clock", "h:mm AM/PM", "0.75", "6:00 PM");
        row("am/pm in capitals", "hh:mm:ss am/pm", "0.9", "09:36:00 PM");
        row("A/P as Excel", "h:mm A/P", "0.25", "6:00 A");
        row("month name", "mmmm", "45366", "marzec");
        row("month name beside the day", "d mmmm yyyy", "45366", "15 marca 2024");
        row("month abbreviated", "mmm", "45366", "III");
        row("month letter", "mmmmm", "45366", "m");
        row("weekday", "dddd, d mmmm", "45366", "piątek, 15 marca");
        row("weekday abbreviated", "ddd", "45366", "pt.");
        row("date separator", "m/d/yy", "45366", "3.15.24");
        row("long date", "[$-F800]dddd, mmmm dd, yyyy", "45366", "piątek 15 marca 2024");
        // Excel's 1900, a leap year (LibreOffice shows 27.02, 28.02 and 01.03).
        row("1900: 59", "dd.mm.yyyy", "59", "28.02.1900");
        row("1900: 60", "dd.mm.yyyy", "60", "29.02.1900");
        row("1900: 61", "dd.mm.yyyy", "61", "01.03.1900");
        row("1900: weekday of 1", "dddd", "1", "niedziela");
        row("1904", "dd.mm.yyyy", "43904", "15.03.2024", false, true);
        row("1904: 0", "dd.mm.yyyy", "0", "01.01.1904", false, true);
        // Numbers.
        row("scientific", "0.0E+00", "12345", "1,2E+04");
        row("scientific, small", "0.0E+00", "0.00012", "1,2E-04");
        row("scientific, E-", "0.00E-00", "0.001", "1,00E-03");
        row("scientific, zero", "0.00E+00", "0", "0,00E+00");
        row("engineering", "##0.0E+0", "12345", "12,3E+3");
        row("engineering with zeros", "000.0E+00", "12345", "012,3E+03");
        row("thousands scaled", "#,##0,", "1234567", "1" + g + "235");
        row("millions scaled", "0.0,,", "1234567", "1,2");
        row("zero padding grouped", "00,000", "5", "00" + g + "005");
        row("empty zero section", "0;;", "0", "");
        row("empty zero section, four", "0;-0;;@", "0", "");
        row("significant digits only", "#.##", "0.5", ",5");
        row("nothing for zero", "#", "0", "");
        row("point without decimals", "0.", "5", "5");
        row("point without significant decimals", "#.##", "5", "5");
        row("decimals without a whole number", ".00", "1.5", "1,50");
        row("fraction", "# ?/?", "1.25", "1 1/4");
        row("fraction, two digits", "# ?\?/??", "3.14159", "3 14/99");
        row("improper fraction", "?/?", "1.5", "3/2");
        row("fraction, whole", "# ?/? \"kg\"", "2", "2     kg");
        row("fraction, fixed", "# ?/8", "0.3", " 2/8");
        row("condition holds", "[>100]\"big \"0;\"small \"0", "150", "big 150");
        // The sign is left out only by a section whose condition takes
        // negative numbers alone (LibreOffice leaves it out in any section
        // after the first).
        row("condition fails, its minus kept", "[>100]\"big \"0;\"small \"0", "-5", "-small 5");
        row("condition holds, its minus kept", "[<100]0;\"duży\"", "-5", "-5");
        row("condition <>, its minus kept", "[<>5]0;\"pięć\"", "-5", "-5");
        row("second section, its minus kept", "[>=1000]#,##0,\"K\";0", "-2000", "-2000");
        row("third section, its minus kept", "[>100][Red]0;[<=-100][Blue]0;0.00", "-5", "-5,00");
        row("negative condition, no minus", "[>100][Red]0;[<=-100][Blue]0;0.00", "-150", "150");
        row("no condition holds: General", "[>0.5]0.0;[<-0.5]-0.0", "0", "0");
        row("colour", "[Red]0.00", "3", "3,00");
        row("space as wide as", "_(0_)", "5", " 5 ");
        row("fill", "* 0", "5", "5");
        row("General in a section", "General;(General)", "-3.5", "(3,5)");
        row("General with text", "\"a\"General", "1.5", "a1,5");
        row("text format, number", "@", "1.5", "1,5");
        row("locale tag passed over", "[$-415]#,##0.00", "12.5", "12,50");
        row("euro", "#,##0.00 [$€-407]", "1234.5", "1" + g + "234,50 €");
        row("unclosed quote: General", "0.0\"x", "1.5", "1,5");
        // Text cells.
        row("text section", "0.00;(0.00);\"zero\";\"Nr \"@", "'abc", "Nr abc");
        row("text-only code", "\"Nr \"@", "'abc", "Nr abc");
        row("two sections, the last the text's: number", "0.00;@", "-5", "-5,00");
        row("two sections, the last the text's: text", "0.00;\"T:\"@", "'x", "T:x");
        row("three sections, the last the text's", "0;-0;@", "0", "0");
        row("no text section", "0.00", "'abc", "abc");
        // Built-in formats by id.
        row("id 3", NumberFormat::builtInCode(3, Language::Choice::Polish), "-1234.5678", "-1" + g + "235");
        row("id 5, Polish", NumberFormat::builtInCode(5, Language::Choice::Polish), "-1234.5678", "-1" + g + "235 zł");
        row("id 12", NumberFormat::builtInCode(12, Language::Choice::Polish), "-1234.5678", "-1234 4/7");
        row("id 14, Polish as Excel", NumberFormat::builtInCode(14, Language::Choice::Polish), "45366.75", "15.03.2024");
        row("id 15", NumberFormat::builtInCode(15, Language::Choice::Polish), "-1234.5678", "12-VIII-96");
        row("id 42, Polish", NumberFormat::builtInCode(42, Language::Choice::Polish), "-1234.5678", "-1" + g + "235 zł ");
        row("id 46", NumberFormat::builtInCode(46, Language::Choice::Polish), "-1234.5678", "-29629:37:38");
        row("id 47", NumberFormat::builtInCode(47, Language::Choice::Polish), "0.0123", "17:42,7");
        row("id 26, undefined: General", NumberFormat::builtInCode(26, Language::Choice::Polish), "45366", "45366");
        row("id 30, East-Asian date as the short date", NumberFormat::builtInCode(30, Language::Choice::Polish), "45366.75",
            "15.03.2024");
        row("id 35, East-Asian time", NumberFormat::builtInCode(35, Language::Choice::Polish), "45366.75", "18:00:00");
        row("id 38, Polish", NumberFormat::builtInCode(38, Language::Choice::Polish), "-1234.5678", "-1" + g + "235   ");
        // English.
        row("en thousands", "#,##0.00", "1234567.891", "1,234,567.89", true);
        row("en month", "d mmmm yyyy", "45366", "15 March 2024", true);
        row("en weekday", "ddd", "45366", "Fri", true);
        row("en date separator", "m/d/yy", "45366", "3/15/24", true);
        row("en id 5", NumberFormat::builtInCode(5, Language::Choice::English), "-1234.5678", "($1,235)", true);
        row("en id 14", NumberFormat::builtInCode(14, Language::Choice::English), "45366.75", "3/15/2024", true);
        row("en id 41", NumberFormat::builtInCode(41, Language::Choice::English), "-1234.5678", " (1,235)", true);
        row("en General", "General", "1234.5", "1234.5", true);
        row("en long date", "[$-F800]dddd, mmmm dd, yyyy", "45366", "Friday, March 15, 2024", true);
        // A locale tag names the months and days of its section; the
        // separators stay the interface's.
        row("en, Polish tag", "[$-415]d mmmm yyyy", "45366", "15 marca 2024", true);
        row("English tag", "[$-409]mmm d, yyyy", "45366", "Mar 15, 2024");
        row("German tag, calendar bits", "[$-1010407]dddd, d mmmm yy", "45366.5", "Freitag, 15 März 24");
        row("tag in the negative section", "[$-409]mmmm;[$-407]mmmm", "-1", "Januar");
    }
    void valuesAsTheSpreadsheetShowsThem()
    {
        QFETCH(QString, code);
        QFETCH(QString, value);
        QFETCH(bool, english);
        QFETCH(bool, date1904);
        QFETCH(QString, shown);
        const NumberFormat format(code);
        if (value.startsWith(u'\'')) {
            QCOMPARE(format.text(value.mid(1)), shown);
            return;
        }
        bool ok = false;
        const double number = value.toDouble(&ok);
        QVERIFY(ok);
        const NumberFormat::Context context{english ? Language::Choice::English : Language::Choice::Polish, date1904};
        QCOMPARE(format.number(number, context), shown);
    }
};

QTEST_GUILESS_MAIN(TestNumberFormat)
#include "tst_numberformat.moc"
