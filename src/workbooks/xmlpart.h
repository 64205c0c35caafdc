#pragma once

// The XML parts of a workbook as expat reads them: the reader every part's
// reader derives from, with one set of bounds and messages, and the helpers
// for names, attributes, numbers and texts given as UTF-8.
#include "workbooks/readsupport.h"
#include "workbooks/sheetbuilder.h"
#include "workbooks/workbookfile.h"

#include <QIODevice>
#include <QString>

#include <expat.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <type_traits>

namespace WorkbookFile {

// ----------------------------------------------------------------- expat
//
// Every XML part (an ODS's content.xml, an XLSX's workbook, relationships,
// sheets and shared strings) goes through expat, a push parser, with one set
// of bounds and messages: the part is fed to it in blocks,
// never whole, and each reader below keeps its own place between the calls
// expat makes for every element and piece of text. Names come as
// "namespace|local" ("local" alone outside any namespace) and are compared
// as bytes; a cell's text is gathered as UTF-8 and made a string once.
//
// A DTD is refused: a spreadsheet program writes none, and a DTD is how
// entities get into a document. No handler for external entities is set,
// so none is ever loaded, and expat's own bound on how far entities may
// amplify the input stays on. Elements nest at most maxDepth deep.

static_assert(std::is_same_v<XML_Char, char>, "expat is expected to give UTF-8");

constexpr char nsSeparator = '|';
constexpr int feedBytes = 64 << 10;
constexpr int maxFeedBytes = 64 << 20;

// The local part of an expat name. The separator is no name character, but
// a namespace URI may hold one: the last one counts. A part read without
// namespace processing gives names as written ("x:c"): the part after the
// prefix.
inline const char *localName(const char *name)
{
    const char *separator = std::strrchr(name, nsSeparator);
    if (!separator)
        separator = std::strchr(name, ':');
    return separator ? separator + 1 : name;
}

inline bool equal(const char *a, const char *b)
{
    return std::strcmp(a, b) == 0;
}

// The value of the attribute `name` ("namespace|local", or "local" for an
// attribute without a prefix), null when the element has none.
inline const char *attribute(const char **attributes, const char *name)
{
    for (; *attributes; attributes += 2) {
        if (equal(attributes[0], name))
            return attributes[1];
    }
    return nullptr;
}

// A whole number from text, as QString::toLongLong reads it; plain digits,
// which is what the programs write, without making a string of them.
inline qlonglong wholeNumber(const char *value, bool *ok)
{
    qlonglong n = 0;
    int i = 0;
    for (; i < 18 && value[i] >= '0' && value[i] <= '9'; ++i)
        n = n * 10 + (value[i] - '0');
    if (i > 0 && value[i] == '\0') {
        *ok = true;
        return n;
    }
    return QString::fromUtf8(value).toLongLong(ok);
}

// repeatCount of an attribute's value; absent or empty is once.
inline qsizetype repeatCount(const char *value, bool *ok)
{
    *ok = true;
    if (!value || !*value)
        return 1;
    qulonglong n = 0;
    int i = 0;
    for (; i < 18 && value[i] >= '0' && value[i] <= '9'; ++i)
        n = n * 10 + qulonglong(value[i] - '0');
    if (value[i] == '\0') {
        *ok = n > 0;
        return qsizetype(std::min<qulonglong>(n, qulonglong(maxRows) * 2));
    }
    return repeatCount(QString::fromUtf8(value), ok);
}

// A text gathered from XML as UTF-8, with its length counted as a string's
// (UTF-16 code units: every byte but a continuation byte, and one more for
// a character beyond the BMP). It keeps its room from cell to cell.
struct Utf8Text
{
    std::string bytes;
    qsizetype units = 0;

    void clear()
    {
        bytes.clear();
        units = 0;
    }
    void append(const char *s, int length)
    {
        bytes.append(s, size_t(length));
        for (int i = 0; i < length; ++i) {
            const uchar b = uchar(s[i]);
            units += ((b & 0xC0) != 0x80) + (b >= 0xF0);
        }
    }
    void append(char c, qsizetype count = 1)
    {
        bytes.append(size_t(count), c);
        units += count;
    }
    bool tooLong() const { return units > maxCellLength; }
    bool contains(const char *s) const { return bytes.find(s) != std::string::npos; }
    QString toString() const { return QString::fromUtf8(bytes.data(), qsizetype(bytes.size())); }
};

// expat's reasons for damaged XML, in the words of the program; the rare
// ones in expat's own.
inline QString xmlError(XML_Error code)
{
    switch (code) {
    case XML_ERROR_NO_MEMORY:
        return tr("brak pamięci");
    case XML_ERROR_SYNTAX:
        return tr("błąd składni");
    case XML_ERROR_NO_ELEMENTS:
        return tr("brak elementu: część jest pusta albo ucięta");
    case XML_ERROR_INVALID_TOKEN:
        return tr("niedozwolony znak");
    case XML_ERROR_UNCLOSED_TOKEN:
        return tr("niedomknięty znacznik");
    case XML_ERROR_PARTIAL_CHAR:
        return tr("ucięty znak");
    case XML_ERROR_TAG_MISMATCH:
        return tr("znacznik zamykający nie pasuje do otwierającego");
    case XML_ERROR_DUPLICATE_ATTRIBUTE:
        return tr("powtórzony atrybut");
    case XML_ERROR_JUNK_AFTER_DOC_ELEMENT:
        return tr("dane po końcu dokumentu");
    case XML_ERROR_UNDEFINED_ENTITY:
        return tr("nieznana encja");
    case XML_ERROR_UNKNOWN_ENCODING:
        return tr("nieznane kodowanie znaków");
    case XML_ERROR_INCORRECT_ENCODING:
        return tr("kodowanie niezgodne z deklaracją");
    case XML_ERROR_UNCLOSED_CDATA_SECTION:
        return tr("niedomknięta sekcja CDATA");
    case XML_ERROR_UNBOUND_PREFIX:
        return tr("nieznany prefiks przestrzeni nazw");
    case XML_ERROR_MISPLACED_XML_PI:
        return tr("deklaracja XML nie na początku");
    case XML_ERROR_AMPLIFICATION_LIMIT_BREACH:
        return tr("encje rozwijają się w zbyt długi tekst");
    case XML_ERROR_INVALID_ARGUMENT:
    default:
        return QString::fromLatin1(XML_ErrorString(code));
    }
}

inline QString tooLongCell()
{
    return tr("komórka dłuższa niż %1 znaków").arg(maxCellLength);
}

// What the readers of the large parts share: the parser, fed from the
// device, and the message for a failure at the current place. A reader
// stops the parser with stop(why); skip() in start() passes over the rest
// of the element just started.
class ExpatReader
{
    Q_DECLARE_TR_FUNCTIONS(WorkbookFile)

public:
    // Names::AsWritten: no namespace processing, names as written, which is
    // quicker for a part whose names are matched by their local part alone.
    enum class Names { Namespaced, AsWritten };
    ExpatReader(const QString &fileName, const QString &partName, Names names = Names::Namespaced)
        : parser(names == Names::Namespaced ? XML_ParserCreateNS(nullptr, nsSeparator) : XML_ParserCreate(nullptr))
        , file(fileName)
        , part(partName)
    {
        Q_CHECK_PTR(parser);
        XML_SetUserData(parser, this);
        XML_SetElementHandler(parser, onStart, onEnd);
        XML_SetCharacterDataHandler(parser, onText);
        XML_SetStartDoctypeDeclHandler(parser, onDoctype);
        XML_SetXmlDeclHandler(parser, onXmlDeclaration);
        XML_SetParamEntityParsing(parser, XML_PARAM_ENTITY_PARSING_NEVER);
    }
    virtual ~ExpatReader() { XML_ParserFree(parser); }
    ExpatReader(const ExpatReader &) = delete;
    ExpatReader &operator=(const ExpatReader &) = delete;

    // Reads the whole part; false with the refusal in `error`.
    bool read(QIODevice &device, QString *error)
    {
        // expat scans a token that a block leaves unfinished again from its
        // start with the next block: a block that gave no element and no
        // text makes the next one twice as large, so that a huge tag or
        // attribute value is scanned a few times, not once a block.
        int block = feedBytes;
        for (;;) {
            void *buffer = XML_GetBuffer(parser, block);
            const qint64 got = buffer ? device.read(static_cast<char *>(buffer), block) : 0;
            const bool last = got <= 0;
            const quint64 before = events;
            if (!buffer || XML_ParseBuffer(parser, last ? 0 : int(got), last) != XML_STATUS_OK) {
                setError(error, stopped ? stopMessage : damaged());
                return false;
            }
            if (last)
                return true;
            // A read cancelled beside the window stops here, with no reason to show.
            if (SheetBuilder::cancelled && SheetBuilder::cancelled->load(std::memory_order_relaxed)) {
                setError(error, QString());
                return false;
            }
            block = events != before ? feedBytes : std::min(block * 2, maxFeedBytes);
        }
    }

    // The cell being read ("content.xml, komórka Arkusz1!C14"), else the
    // line of the part ("xl/workbook.xml, wiersz XML 3").
    QString where() const
    {
        const QString address = cellAddress();
        if (!address.isEmpty())
            return tr("%1, komórka %2").arg(shown(part), address);
        return tr("%1, wiersz XML %2").arg(shown(part)).arg(qulonglong(XML_GetCurrentLineNumber(parser)));
    }
    QString fail(const QString &why) const { return refusal(file, where(), why); }

protected:
    virtual void start(const char *name, const char **attributes) = 0;
    virtual void end(const char *name) = 0;
    virtual void text(const char *s, int length) = 0;
    // The address of the cell being read, if any.
    virtual QString cellAddress() const { return QString(); }

    void stop(const QString &why)
    {
        if (stopped)
            return;
        stopped = true;
        stopMessage = fail(why);
        XML_StopParser(parser, XML_FALSE);
    }
    void skip() { skipping = 1; }

private:
    QString damaged() const { return fail(tr("uszkodzony XML (%1)").arg(xmlError(XML_GetErrorCode(parser)))); }

    static void XMLCALL onStart(void *data, const XML_Char *name, const XML_Char **attributes)
    {
        auto *self = static_cast<ExpatReader *>(data);
        ++self->events;
        if (self->stopped)
            return;
        // Spreadsheet programs nest a few dozen elements at most; expat
        // would keep a stack of any depth.
        if (++self->depth > maxDepth)
            return self->stop(tr("elementy zagnieżdżone głębiej niż %1 poziomów").arg(maxDepth));
        if (self->skipping > 0)
            ++self->skipping;
        else
            self->start(name, attributes);
    }
    static void XMLCALL onEnd(void *data, const XML_Char *name)
    {
        auto *self = static_cast<ExpatReader *>(data);
        ++self->events;
        if (self->stopped)
            return;
        --self->depth;
        if (self->skipping > 0)
            --self->skipping;   // the skipped element's own end included
        else
            self->end(name);
    }
    static void XMLCALL onText(void *data, const XML_Char *s, int length)
    {
        auto *self = static_cast<ExpatReader *>(data);
        ++self->events;
        if (!self->stopped && self->skipping == 0)
            self->text(s, length);
    }
    static void XMLCALL onDoctype(void *data, const XML_Char *, const XML_Char *, const XML_Char *, int)
    {
        static_cast<ExpatReader *>(data)->stop(tr("uszkodzony XML (deklaracja DOCTYPE, której arkusze nie mają)"));
    }

    // Version 1.0, as every spreadsheet program writes it; expat would take
    // any version at all.
    static void XMLCALL onXmlDeclaration(void *data, const XML_Char *version, const XML_Char *, int)
    {
        if (version && !equal(version, "1.0")) {
            static_cast<ExpatReader *>(data)->stop(
                tr("uszkodzony XML (nieobsługiwana wersja XML „%1”)").arg(QString::fromUtf8(version).left(20)));
        }
    }

    XML_Parser parser;
    QString file;
    QString part;
    int skipping = 0;   // elements open inside a skipped one, itself included
    int depth = 0;      // elements open
    quint64 events = 0; // elements and texts reported
    bool stopped = false;
    QString stopMessage;
};

} // namespace WorkbookFile
