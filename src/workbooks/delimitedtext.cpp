// Delimited text (.csv, .tsv, pasted cells) through libcsv.

#include "files/descriptionsfile.h"
#include "files/windows1250.h"
#include "workbooks/readsupport.h"
#include "workbooks/sheetbuilder.h"
#include "workbooks/workbookfile.h"
#include "workbooks/xmlpart.h"

#include <QFileInfo>
#include <QScopeGuard>
#include <QStringDecoder>

#include <csv.h>

#include <algorithm>
#include <optional>

namespace WorkbookFile {

namespace {

// ------------------------------------------------------------- delimited

struct CsvState
{
    Workbook *book = nullptr;
    SheetBuilder *sheet = nullptr;
    bool utf8 = false;
    bool fieldsInRow = false;
    bool lastEndedInCr = false;
    QString why;
    RecentTexts recent;
};

QString decodeField(const CsvState &s, QByteArrayView bytes)
{
    QString text = s.utf8 ? QString::fromUtf8(bytes) : Windows1250::decode(bytes);
    if (text.contains(QLatin1Char('\r')))
        text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return text;
}

void csvField(void *field, size_t length, void *data)
{
    auto &s = *static_cast<CsvState *>(data);
    if (!s.why.isEmpty())
        return;
    s.fieldsInRow = true;
    if (qint64(length) > maxCellLength * 4) {
        s.why = tooLongCell();
        return;
    }
    const QByteArrayView bytes(static_cast<const char *>(field), qsizetype(length));
    const QString text = s.recent.text(bytes.data(), bytes.size(), [&] { return decodeField(s, bytes); });
    if (text.size() > maxCellLength) {
        s.why = tooLongCell();
        return;
    }
    s.sheet->addCell(text, 1, &s.why);
}

void csvRow(int terminator, void *data)
{
    auto &s = *static_cast<CsvState *>(data);
    if (!s.why.isEmpty())
        return;
    // Every CR and LF is reported: the LF of a CR LF is no row of its own.
    const bool secondHalf = terminator == '\n' && s.lastEndedInCr && !s.fieldsInRow;
    s.lastEndedInCr = terminator == '\r';
    if (secondHalf)
        return;
    s.fieldsInRow = false;
    s.sheet->endRow(1, &s.why);
}

int noSpace(unsigned char)
{
    return 0;   // nothing is trimmed
}

// UTF-16 or UTF-32 by its byte order mark.
std::optional<QStringConverter::Encoding> wideEncoding(QByteArrayView bytes)
{
    if (bytes.startsWith(QByteArrayView("\xFF\xFE\0\0", 4)))
        return QStringConverter::Utf32LE;
    if (bytes.startsWith(QByteArrayView("\0\0\xFE\xFF", 4)))
        return QStringConverter::Utf32BE;
    if (bytes.startsWith("\xFF\xFE"))
        return QStringConverter::Utf16LE;
    if (bytes.startsWith("\xFE\xFF"))
        return QStringConverter::Utf16BE;
    return std::nullopt;
}

// What a file that is no text seems to be, by its first bytes; empty for
// text.
QString notText(QByteArrayView bytes)
{
    if (bytes.startsWith("PK\x03\x04") || bytes.startsWith("PK\x05\x06"))
        return tr("to archiwum ZIP, nie tekst (może arkusz .xlsx lub .ods o innym rozszerzeniu?)");
    if (isCompoundDocument(bytes))
        return tr("plik w starym formacie Excela (.xls): zapisz go jako .xlsx albo .ods");
    // Text has no NUL bytes; a program's data and UTF-16 without a byte
    // order mark are full of them.
    const QByteArrayView head = bytes.first(std::min<qsizetype>(bytes.size(), 1 << 16));
    if (head.count('\0') * 100 > head.size())
        return tr("plik zawiera dane binarne (bajty zerowe), nie tekst");
    return QString();
}

// The line (from 1) of the quote that opens the cell still open at the end
// of `bytes`, read as libcsv reads it: a quote opens a cell only as its first
// character, and inside one a quote ends it only before the delimiter or a
// line end (two quotes are one; anything else keeps the cell open).
qsizetype openQuoteLine(QByteArrayView bytes, char delimiter)
{
    const auto ends = [delimiter](char c) { return c == delimiter || c == '\n' || c == '\r'; };
    qsizetype line = 1;
    qsizetype openedOn = 0;
    bool quoted = false;
    bool cellStart = true;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (quoted) {
            if (c == '"' && (i + 1 == bytes.size() || ends(bytes[i + 1])))
                quoted = false;
            else if (c == '"')
                ++i;   // a doubled quote, or a stray one kept with what follows it
        } else if (c == '"' && cellStart) {
            quoted = true;
            openedOn = line;
        }
        if (i < bytes.size() && bytes[i] == '\n')
            ++line;
        cellStart = !quoted && ends(c);
    }
    return quoted ? openedOn : 0;
}

} // namespace

char detectDelimiter(QByteArrayView bytes)
{
    const char candidates[] = {';', '\t', ','};
    constexpr int linesLooked = 50;
    int counts[3][linesLooked] = {};
    int lines = 0;
    bool quoted = false;
    const qsizetype end = std::min<qsizetype>(bytes.size(), 1 << 16);
    for (qsizetype i = 0; i < end && lines < linesLooked; ++i) {
        const char c = bytes[i];
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && c == '\n') {
            ++lines;
        } else if (!quoted) {
            for (int k = 0; k < 3; ++k)
                counts[k][lines] += c == candidates[k] ? 1 : 0;
        }
    }
    // A last line without a line feed counts when it was reached.
    const int looked = std::min(lines + 1, linesLooked);
    // Each candidate scores the number of lines that hold it the same
    // number of times, the count most of them share: a title line or a
    // note without delimiters does not hide the table under it.
    int best = 0;
    int bestScore = 0;
    for (int k = 0; k < 3; ++k) {
        int score = 0;
        for (int l = 0; l < looked; ++l) {
            if (counts[k][l] == 0)
                continue;
            const int same = int(std::count(counts[k], counts[k] + looked, counts[k][l]));
            score = std::max(score, same);
        }
        if (score > bestScore) {
            best = k;
            bestScore = score;
        }
    }
    return candidates[best];
}

bool readDelimited(QByteArrayView bytes, const QString &name, char delimiter, Workbook &book, QString *error)
{
    book = Workbook();
    if (bytes.size() > maxTextBytes) {
        setError(error, refusal(name, QString(), tr("plik ma więcej niż %1 MB").arg(megabytes(maxTextBytes))));
        return false;
    }
    // "Unicode text" of the spreadsheet programs is UTF-16 with a byte
    // order mark; it is read as the same text in UTF-8.
    QByteArray recoded;
    if (const std::optional<QStringConverter::Encoding> wide = wideEncoding(bytes)) {
        QStringDecoder decoder(*wide);
        const QString text = decoder(bytes);
        if (decoder.hasError()) {
            setError(error, refusal(name, QString(), tr("uszkodzony tekst %1").arg(QLatin1String(
                                                           QStringConverter::nameForEncoding(*wide)))));
            return false;
        }
        recoded = "\xEF\xBB\xBF" + text.toUtf8();
        bytes = recoded;
    }
    // A byte order mark is what spreadsheet programs write to say UTF-8,
    // whatever the text holds; without one, as for a descriptions file.
    DescriptionsFile::Encoding encoding = DescriptionsFile::Encoding::Utf8;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    else
        encoding = DescriptionsFile::detectEncoding(bytes);
    if (const QString what = notText(bytes); !what.isEmpty()) {
        setError(error, refusal(name, QString(), what));
        return false;
    }
    if (delimiter == 0)
        delimiter = detectDelimiter(bytes);

    qsizetype budget = maxCells;
    SheetBuilder sheet(QFileInfo(name).completeBaseName(), &budget);
    CsvState state;
    state.book = &book;
    state.sheet = &sheet;
    state.utf8 = encoding == DescriptionsFile::Encoding::Utf8;

    csv_parser parser{};
    if (csv_init(&parser, CSV_REPALL_NL) != 0) {
        setError(error, refusal(name, QString(), tr("brak pamięci")));
        return false;
    }
    csv_set_delim(&parser, static_cast<unsigned char>(delimiter));
    csv_set_space_func(&parser, noSpace);
    // In pieces, so that a refusal stops the reading soon.
    constexpr qsizetype piece = 1 << 20;
    bool ok = true;
    for (qsizetype at = 0; at < bytes.size() && state.why.isEmpty(); at += piece) {
        const qsizetype n = std::min(piece, bytes.size() - at);
        if (csv_parse(&parser, bytes.data() + at, size_t(n), csvField, csvRow, &state) != size_t(n)) {
            ok = false;
            break;
        }
    }
    // The text ends inside quotes (libcsv's state FIELD_BEGUN, quoted): the
    // rest of the file would be one cell.
    constexpr int fieldBegun = 2;
    if (ok && state.why.isEmpty() && parser.quoted && parser.pstate == fieldBegun) {
        state.why = tr("cudzysłów otwarty w wierszu %1 nie jest zamknięty do końca pliku")
                        .arg(openQuoteLine(bytes, delimiter));
    }
    if (ok && state.why.isEmpty())
        csv_fini(&parser, csvField, csvRow, &state);
    csv_free(&parser);
    if (!ok) {
        setError(error, refusal(name, QString(), tr("brak pamięci")));
        return false;
    }
    if (!state.why.isEmpty()) {
        setError(error, refusal(name, QString(), state.why));
        return false;
    }
    book.sheets.append(sheet.take());
    book.delimiter = delimiter;
    book.utf8 = state.utf8;
    return true;
}

bool readPasted(const QString &text, Workbook &book, QString *error, const std::atomic<bool> *cancelled)
{
    SheetBuilder::cancelled = cancelled;
    const auto done = qScopeGuard([] { SheetBuilder::cancelled = nullptr; });
    QString plain = text;
    // Spreadsheet programs end the block with a line break of their own.
    if (plain.endsWith(QLatin1Char('\n')))
        plain.chop(plain.endsWith(QLatin1String("\r\n")) ? 2 : 1);
    // UTF-8 with a byte order mark is read as UTF-8, whatever it holds.
    const QByteArray bytes = "\xEF\xBB\xBF" + plain.toUtf8();
    if (!readDelimited(bytes, tr("schowek"), '\t', book, error))
        return false;
    book.sheets.first().name = tr("Schowek");
    return true;
}

} // namespace WorkbookFile
