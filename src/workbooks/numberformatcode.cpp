#include "workbooks/numberformatcode.h"

#include "workbooks/numberformat.h"

#include <algorithm>
#include <utility>

namespace NumberFormatCode {

namespace {

bool isDateKind(Kind k)
{
    return k >= Kind::Year && k <= Kind::AmPm;
}

void addLiteral(Section &s, QStringView text)
{
    if (!s.tokens.isEmpty() && s.tokens.last().kind == Kind::Literal)
        s.tokens.last().text += text;
    else
        s.tokens.append(Token(Kind::Literal, text.toString()));
}

bool bracket(Section &s, QStringView body)
{
    if (body.startsWith(u'$')) {
        body = body.sliced(1);
        const qsizetype dash = body.indexOf(u'-');
        const QStringView currency = dash < 0 ? body : body.first(dash);
        const QStringView locale = dash < 0 ? QStringView() : body.sliced(dash + 1);
        if (!currency.isEmpty())
            addLiteral(s, currency);
        if (locale.compare(u"F800", Qt::CaseInsensitive) == 0)
            s.system = System::LongDate;
        else if (locale.compare(u"F400", Qt::CaseInsensitive) == 0)
            s.system = System::Time;
        else if (!locale.isEmpty()) {
            bool ok = false;
            const uint id = locale.toUInt(&ok, 16);
            if (ok)   // the calendar and digits in the high bytes ([$-1010409]) passed over
                s.locale = int(id & 0xFFFF);
        }
        return true;
    }
    const auto all = [&](char16_t letter) {
        return !body.isEmpty()
               && std::all_of(body.begin(), body.end(), [&](QChar c) { return c.toLower().unicode() == letter; });
    };
    if (all(u'h')) {
        s.tokens.append(Token(Kind::ElapsedHours, {}, int(body.size())));
        return true;
    }
    if (all(u'm')) {
        s.tokens.append(Token(Kind::ElapsedMinutes, {}, int(body.size())));
        return true;
    }
    if (all(u's')) {
        s.tokens.append(Token(Kind::ElapsedSeconds, {}, int(body.size())));
        return true;
    }
    if (!body.isEmpty() && (body[0] == u'<' || body[0] == u'>' || body[0] == u'=')) {
        using Op = Condition::Op;
        static const std::pair<const char16_t *, Op> ops[] = {{u"<=", Op::Le}, {u">=", Op::Ge}, {u"<>", Op::Ne},
                                                              {u"<", Op::Lt},  {u">", Op::Gt},  {u"=", Op::Eq}};
        for (const auto &[text, op] : ops) {
            const QStringView t(text);
            if (body.startsWith(t)) {
                bool ok = false;
                const double bound = body.sliced(t.size()).trimmed().toDouble(&ok);
                if (ok)
                    s.condition = {op, bound};
                break;
            }
        }
        return true;
    }
    return true;   // colours and the like
}

// The tokens of one section's code; false for a code that cannot be read.
bool tokenize(QStringView code, Section &s)
{
    for (qsizetype i = 0; i < code.size();) {
        const QChar c = code[i];
        switch (c.unicode()) {
        case u'"': {
            const qsizetype end = code.indexOf(u'"', i + 1);
            if (end < 0)
                return false;
            addLiteral(s, code.sliced(i + 1, end - i - 1));
            i = end + 1;
            continue;
        }
        case u'\\':
            if (i + 1 < code.size())
                addLiteral(s, code.sliced(i + 1, 1));
            i += 2;
            continue;
        case u'_':
            addLiteral(s, u" ");
            i += 2;
            continue;
        case u'*':
            i += 2;
            continue;
        case u'[': {
            const qsizetype end = code.indexOf(u']', i + 1);
            if (end < 0 || !bracket(s, code.sliced(i + 1, end - i - 1)))
                return false;
            i = end + 1;
            continue;
        }
        case u'0':
        case u'#':
        case u'?':
            s.tokens.append(Token(Kind::Digit, {}, 1, c.unicode()));
            ++i;
            continue;
        case u'.':
            s.tokens.append(Token(Kind::Point));
            ++i;
            continue;
        case u',':
            s.tokens.append(Token(Kind::Comma));
            ++i;
            continue;
        case u'%':
            s.tokens.append(Token(Kind::Percent));
            ++i;
            continue;
        case u'@':
            s.tokens.append(Token(Kind::Text));
            s.text = true;
            ++i;
            continue;
        case u'/':
            s.tokens.append(Token(Kind::Slash));
            ++i;
            continue;
        case u'E':
        case u'e':
            if (i + 1 < code.size() && (code[i + 1] == u'+' || code[i + 1] == u'-')) {
                s.tokens.append(Token(Kind::Exponent, QString(c), 1, code[i + 1].unicode()));
                i += 2;
                continue;
            }
            break;
        default:
            break;
        }
        const char16_t lower = c.toLower().unicode();
        if (lower == u'y' || lower == u'm' || lower == u'd' || lower == u'h' || lower == u's') {
            qsizetype run = 1;
            while (i + run < code.size() && code[i + run].toLower().unicode() == lower)
                ++run;
            const Kind kind = lower == u'y'   ? Kind::Year
                              : lower == u'm' ? Kind::Month
                              : lower == u'd' ? Kind::Day
                              : lower == u'h' ? Kind::Hour
                                              : Kind::Second;
            s.tokens.append({kind, {}, int(run)});
            i += run;
            continue;
        }
        if (lower == u'a') {
            if (code.sliced(i).startsWith(u"am/pm", Qt::CaseInsensitive)) {
                s.tokens.append(Token(Kind::AmPm, code.sliced(i, 5).toString()));
                i += 5;
                continue;
            }
            if (code.sliced(i).startsWith(u"a/p", Qt::CaseInsensitive)) {
                s.tokens.append(Token(Kind::AmPm, code.sliced(i, 3).toString()));
                i += 3;
                continue;
            }
        }
        if (lower == u'g' && code.sliced(i).startsWith(u"general", Qt::CaseInsensitive)) {
            s.tokens.append(Token(Kind::General));
            s.general = true;
            i += 7;
            continue;
        }
        addLiteral(s, code.sliced(i, 1));
        ++i;
    }
    return true;
}

QString literalOf(const Token &t)
{
    switch (t.kind) {
    case Kind::Digit:
        return QString(QChar(t.ch));
    case Kind::Point:
        return QStringLiteral(".");
    case Kind::Comma:
        return QStringLiteral(",");
    case Kind::Percent:
        return QStringLiteral("%");
    case Kind::Slash:
        return QStringLiteral("/");
    case Kind::Exponent:
        return t.text + QChar(t.ch);
    default:
        return t.text;
    }
}

void finishDate(Section &s)
{
    QList<Token> &t = s.tokens;
    // "m" and "mm" are minutes after hours or before seconds.
    for (qsizetype i = 0; i < t.size(); ++i) {
        if (t[i].kind != Kind::Month || t[i].count > 2)
            continue;
        qsizetype before = i - 1;
        while (before >= 0 && !isDateKind(t[before].kind))
            --before;
        qsizetype after = i + 1;
        while (after < t.size() && !isDateKind(t[after].kind))
            ++after;
        if ((before >= 0 && (t[before].kind == Kind::Hour || t[before].kind == Kind::ElapsedHours))
            || (after < t.size() && (t[after].kind == Kind::Second || t[after].kind == Kind::ElapsedSeconds)))
            t[i].kind = Kind::Minute;
    }
    QList<Token> out;
    for (qsizetype i = 0; i < t.size(); ++i) {
        const Token &k = t[i];
        if (k.kind == Kind::Point && !out.isEmpty()
            && (out.last().kind == Kind::Second || out.last().kind == Kind::ElapsedSeconds) && i + 1 < t.size()
            && t[i + 1].kind == Kind::Digit && t[i + 1].ch == u'0') {
            int digits = 0;
            while (i + 1 < t.size() && t[i + 1].kind == Kind::Digit && t[i + 1].ch == u'0') {
                ++digits;
                ++i;
            }
            digits = std::min(digits, 3);
            s.secondDigits = std::max(s.secondDigits, digits);
            out.append(Token(Kind::SecondFraction, {}, digits));
        } else if (k.kind == Kind::Slash) {
            out.append(Token(Kind::DateSeparator));
        } else if (isDateKind(k.kind) || k.kind == Kind::Text || k.kind == Kind::Literal) {
            if (k.kind == Kind::Day && k.count <= 2)
                s.genitive = true;
            out.append(k);
        } else if (k.kind != Kind::General) {
            Token literal{Kind::Literal, literalOf(k)};
            if (!out.isEmpty() && out.last().kind == Kind::Literal)
                out.last().text += literal.text;
            else
                out.append(literal);
        }
    }
    t = std::move(out);
}

void finishFraction(Section &s, qsizetype slash)
{
    QList<Token> &t = s.tokens;
    s.fraction = true;
    qsizetype first = slash;
    while (first > 0 && t[first - 1].kind == Kind::Digit)
        --first;
    for (qsizetype i = first; i < slash; ++i)
        t[i].kind = Kind::Numerator;
    s.numeratorCount = int(slash - first);
    for (qsizetype i = 0; i < first; ++i) {
        if (t[i].kind == Kind::Digit) {
            t[i].kind = Kind::Int;
            s.whole = true;
            ++s.intCount;
        } else if (t[i].kind != Kind::Literal && t[i].kind != Kind::Text) {
            t[i] = {Kind::Literal, literalOf(t[i])};
        }
    }
    t[slash] = {Kind::Literal, QStringLiteral("/")};
    qsizetype i = slash + 1;
    QString fixed;
    bool literalDigits = false;
    qsizetype denominator = -1;
    for (; i < t.size(); ++i) {
        if (t[i].kind == Kind::Digit) {
            fixed += QChar(t[i].ch == u'0' ? u'0' : u'?');
        } else if (t[i].kind == Kind::Literal && !t[i].text.isEmpty()
                   && std::all_of(t[i].text.begin(), t[i].text.end(), [](QChar c) { return c.isDigit(); })) {
            fixed += t[i].text;
            literalDigits = true;
        } else {
            break;
        }
        if (denominator < 0) {
            denominator = i;
            t[i] = {Kind::Denominator, {}, 0, t[i].kind == Kind::Digit ? t[i].ch : u'0'};
        } else {
            t[i] = {Kind::Hidden, {}, 0, t[i].ch};
        }
    }
    if (denominator >= 0) {
        if (literalDigits && !fixed.contains(u'?')) {
            t[denominator].count = fixed.toInt();
            s.fixedDenominator = t[denominator].count;
        } else {
            s.denominatorDigits = std::min<int>(int(fixed.size()), 4);
        }
    }
    for (; i < t.size(); ++i) {
        if (t[i].kind != Kind::Literal && t[i].kind != Kind::Text && t[i].kind != Kind::Percent)
            t[i] = {Kind::Literal, literalOf(t[i])};
    }
    if (s.fixedDenominator <= 0 && s.denominatorDigits <= 0)
        s.denominatorDigits = 1;
}

void finishNumber(Section &s)
{
    QList<Token> &t = s.tokens;
    for (qsizetype i = 1; i < t.size(); ++i) {
        if (t[i].kind == Kind::Slash && t[i - 1].kind == Kind::Digit)
            return finishFraction(s, i);
    }
    qsizetype exponent = -1;
    for (qsizetype i = 0; i < t.size() && exponent < 0; ++i) {
        if (t[i].kind == Kind::Exponent)
            exponent = i;
    }
    const qsizetype mantissaEnd = exponent < 0 ? t.size() : exponent;
    qsizetype point = -1;
    for (qsizetype i = 0; i < mantissaEnd && point < 0; ++i) {
        if (t[i].kind == Kind::Point)
            point = i;
    }
    const qsizetype intEnd = point < 0 ? mantissaEnd : point;
    bool digitBefore = false;
    for (qsizetype i = 0; i < t.size(); ++i) {
        Token &k = t[i];
        switch (k.kind) {
        case Kind::Digit:
            if (i < intEnd) {
                k.kind = Kind::Int;
                ++s.intCount;
            } else if (i < mantissaEnd) {
                k.kind = Kind::Frac;
                ++s.fracCount;
            } else {
                k.kind = Kind::ExpDigit;
                ++s.expCount;
            }
            digitBefore = true;
            break;
        case Kind::Comma: {
            qsizetype next = i;
            while (next < t.size() && t[next].kind == Kind::Comma)
                ++next;
            const bool digitAfter = next < intEnd && t[next].kind == Kind::Digit;
            if (digitBefore && digitAfter && i < intEnd) {
                s.grouping = true;
                for (; i < next; ++i)
                    t[i].kind = Kind::Hidden;
            } else if (i > 0 && (t[i - 1].kind == Kind::Int || t[i - 1].kind == Kind::Frac)) {
                for (; i < next; ++i) {
                    t[i].kind = Kind::Hidden;
                    ++s.scale;
                }
            } else {
                for (; i < next; ++i)
                    t[i] = {Kind::Literal, QStringLiteral(",")};
            }
            --i;
            break;
        }
        case Kind::Point:
            if (i != point)
                k = {Kind::Literal, QStringLiteral(".")};
            break;
        case Kind::Percent:
            ++s.percent;
            break;
        case Kind::Exponent:
            if (i == exponent)
                s.scientific = true;
            else
                k = {Kind::Literal, literalOf(k)};
            break;
        case Kind::Slash:
            k = {Kind::Literal, QStringLiteral("/")};
            break;
        default:
            break;
        }
    }
    // "##0.0E+0", "000.0E+00": the exponent steps by the integer placeholders.
    s.engineering = s.scientific && s.intCount > 1;
    // Between the first and the last Int placeholder nothing that shows (a
    // grouping comma is Hidden).
    const auto isInt = [](const Token &t) { return t.kind == Kind::Int; };
    const auto first = std::find_if(s.tokens.cbegin(), s.tokens.cend(), isInt);
    const auto last = std::find_if(s.tokens.crbegin(), s.tokens.crend(), isInt).base();
    s.intRun = first < last && std::all_of(first, last, [](const Token &t) { return t.kind == Kind::Int || t.kind == Kind::Hidden; });
}

} // namespace

Section parseSection(QStringView code, bool *ok)
{
    Section s;
    *ok = tokenize(code, s);
    s.date = std::any_of(s.tokens.cbegin(), s.tokens.cend(), [](const Token &t) { return isDateKind(t.kind); })
             || s.system != System::None;
    if (s.date)
        finishDate(s);
    else
        finishNumber(s);
    return s;
}

QList<QStringView> splitSections(QStringView code)
{
    QList<QStringView> sections;
    qsizetype start = 0;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code[i];
        if (c == u'"') {
            const qsizetype end = code.indexOf(u'"', i + 1);
            i = end < 0 ? code.size() : end;
        } else if (c == u'\\' || c == u'_' || c == u'*') {
            ++i;
        } else if (c == u'[') {
            const qsizetype end = code.indexOf(u']', i + 1);
            i = end < 0 ? code.size() : end;
        } else if (c == u';') {
            sections.append(code.sliced(start, i - start));
            start = i + 1;
        }
    }
    sections.append(code.sliced(std::min(start, code.size())));
    return sections;
}

} // namespace NumberFormatCode

// The codes of the built-in formats, read by NumberFormat like any other.
QString NumberFormat::builtInCode(int id, Language::Choice language)
{
    const bool english = language == Language::Choice::English;
    switch (id) {
    case 1: return QStringLiteral("0");
    case 2: return QStringLiteral("0.00");
    case 3: return QStringLiteral("#,##0");
    case 4: return QStringLiteral("#,##0.00");
    case 5: return english ? QStringLiteral("\"$\"#,##0_);(\"$\"#,##0)") : QStringLiteral("#,##0\\ \"zł\";\\-#,##0\\ \"zł\"");
    case 6: return english ? QStringLiteral("\"$\"#,##0_);[Red](\"$\"#,##0)")
                           : QStringLiteral("#,##0\\ \"zł\";[Red]\\-#,##0\\ \"zł\"");
    case 7: return english ? QStringLiteral("\"$\"#,##0.00_);(\"$\"#,##0.00)")
                           : QStringLiteral("#,##0.00\\ \"zł\";\\-#,##0.00\\ \"zł\"");
    case 8: return english ? QStringLiteral("\"$\"#,##0.00_);[Red](\"$\"#,##0.00)")
                           : QStringLiteral("#,##0.00\\ \"zł\";[Red]\\-#,##0.00\\ \"zł\"");
    case 9: return QStringLiteral("0%");
    case 10: return QStringLiteral("0.00%");
    case 11: return QStringLiteral("0.00E+00");
    case 12: return QStringLiteral("# ?/?");
    case 13: return QStringLiteral("# ?\?/??");
    case 14: return english ? QStringLiteral("m/d/yyyy") : QStringLiteral("dd\\.mm\\.yyyy");
    case 15: return QStringLiteral("d-mmm-yy");
    case 16: return QStringLiteral("d-mmm");
    case 17: return QStringLiteral("mmm-yy");
    case 18: return QStringLiteral("h:mm AM/PM");
    case 19: return QStringLiteral("h:mm:ss AM/PM");
    case 20: return QStringLiteral("h:mm");
    case 21: return QStringLiteral("h:mm:ss");
    case 22: return english ? QStringLiteral("m/d/yyyy h:mm") : QStringLiteral("dd\\.mm\\.yyyy hh:mm");
    // East-Asian dates and times outside East Asia, as LibreOffice shows them.
    case 27: case 28: case 29: case 30: case 31: case 36: return builtInCode(14, language);
    case 32: case 33: case 34: case 35: return builtInCode(21, language);
    case 37: return english ? QStringLiteral("#,##0 ;(#,##0)") : QStringLiteral("#,##0\\ _z_ł;\\-#,##0\\ _z_ł");
    case 38: return english ? QStringLiteral("#,##0 ;[Red](#,##0)")
                            : QStringLiteral("#,##0\\ _z_ł;[Red]\\-#,##0\\ _z_ł");
    case 39: return english ? QStringLiteral("#,##0.00;(#,##0.00)")
                            : QStringLiteral("#,##0.00\\ _z_ł;\\-#,##0.00\\ _z_ł");
    case 40: return english ? QStringLiteral("#,##0.00;[Red](#,##0.00)")
                            : QStringLiteral("#,##0.00\\ _z_ł;[Red]\\-#,##0.00\\ _z_ł");
    case 41: return english ? QStringLiteral("_(* #,##0_);_(* \\(#,##0\\);_(* \"-\"_);_(@_)")
                            : QStringLiteral("_-* #,##0\\ _z_ł_-;\\-* #,##0\\ _z_ł_-;_-* \"-\"\\ _z_ł_-;_-@_-");
    case 42: return english ? QStringLiteral("_(\"$\"* #,##0_);_(\"$\"* \\(#,##0\\);_(\"$\"* \"-\"_);_(@_)")
                            : QStringLiteral("_-* #,##0\\ \"zł\"_-;\\-* #,##0\\ \"zł\"_-;_-* \"-\"\\ \"zł\"_-;_-@_-");
    case 43: return english ? QStringLiteral("_(* #,##0.00_);_(* \\(#,##0.00\\);_(* \"-\"?\?_);_(@_)")
                            : QStringLiteral("_-* #,##0.00\\ _z_ł_-;\\-* #,##0.00\\ _z_ł_-;_-* \"-\"?\?\\ _z_ł_-;_-@_-");
    case 44: return english ? QStringLiteral("_(\"$\"* #,##0.00_);_(\"$\"* \\(#,##0.00\\);_(\"$\"* \"-\"?\?_);_(@_)")
                            : QStringLiteral("_-* #,##0.00\\ \"zł\"_-;\\-* #,##0.00\\ \"zł\"_-;_-* \"-\"?\?\\ \"zł\"_-;_-@_-");
    case 45: return QStringLiteral("mm:ss");
    case 46: return QStringLiteral("[h]:mm:ss");
    case 47: return QStringLiteral("mm:ss.0");
    case 48: return QStringLiteral("##0.0E+0");
    case 49: return QStringLiteral("@");
    default: return QString();
    }
}
