#include "files/windows1250.h"

#include <QCoreApplication>

#include <QStringDecoder>

#include <array>

namespace {

// Byte-to-character table, taken once from Qt's own Windows-1250 converter.
// A single-byte code page decodes byte by byte, so a table gives exactly what
// the converter gives, without a converter call per line of a large file.
struct Tables
{
    std::array<char16_t, 256> toUnicode{};
    std::array<qint16, 65536> toByte{};   // -1: not in the code page

    Tables()
    {
        toByte.fill(-1);
        QStringDecoder decoder("windows-1250", QStringDecoder::Flag::Stateless);
        if (!decoder.isValid())
            qFatal("Windows-1250 is not available in this Qt build; text files cannot be read safely");
        for (int b = 0; b < 256; ++b) {
            const char byte = char(b);
            const QString decoded = decoder.decode(QByteArrayView(&byte, 1));
            if (decoded.size() != 1)
                qFatal("Windows-1250 byte 0x%02x does not decode to one character", b);
            toUnicode[b] = decoded.at(0).unicode();
            toByte[toUnicode[b]] = qint16(b);
        }
    }
};

const Tables &tables()
{
    static const Tables t;
    return t;
}

} // namespace

QString Windows1250::decode(QByteArrayView bytes)
{
    const Tables &t = tables();
    QString result(bytes.size(), Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(result.data());
    const auto *in = reinterpret_cast<const uchar *>(bytes.data());
    for (qsizetype i = 0; i < bytes.size(); ++i)
        out[i] = t.toUnicode[in[i]];
    return result;
}

bool Windows1250::encode(QStringView text, QByteArray &out, qsizetype *firstBad)
{
    const Tables &t = tables();
    QByteArray bytes(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qint16 b = t.toByte[text[i].unicode()];
        if (b < 0) {
            if (firstBad)
                *firstBad = i;
            return false;
        }
        bytes[i] = char(b);
    }
    out = std::move(bytes);
    return true;
}

char32_t Windows1250::characterAt(QStringView text, qsizetype index)
{
    if (index < 0 || index >= text.size())
        return 0;
    const QChar c = text[index];
    if (c.isHighSurrogate() && index + 1 < text.size() && text[index + 1].isLowSurrogate())
        return QChar::surrogateToUcs4(c, text[index + 1]);
    return c.unicode();
}

QString Windows1250::describe(char32_t c)
{
    // A lone surrogate half and a NUL cannot be shown: the code alone names them.
    const QString shown = QChar::isSurrogate(c) || c == 0 ? QString() : QString::fromUcs4(&c, 1);
    // Quoted as the language quotes: „✓” in Polish, “✓” in English.
    return QCoreApplication::translate("Windows1250", "„%1” (U+%2)")
        .arg(shown, QStringLiteral("%1").arg(uint(c), 4, 16, QLatin1Char('0')).toUpper());
}
