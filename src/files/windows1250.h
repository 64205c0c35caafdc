#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// The one place where the program turns bytes of its text files into text and
// back. Every text file Lamello reads or writes (descriptions, projects' texts,
// user geometry) is Windows-1250.
//
// Decoding never fails: each of the 256 bytes stands for exactly one UTF-16
// unit, the five bytes the code page leaves undefined (0x81, 0x83, 0x88, 0x90,
// 0x98) included; they come back as the C1 control characters of the same value
// and are written back unchanged.
class Windows1250
{
public:
    static QString decode(QByteArrayView bytes);

    // Encodes `text`. Returns false, and leaves `out` as it was, when a character
    // has no byte in the code page; `firstBad` (if given) is then set to its index.
    static bool encode(QStringView text, QByteArray &out, qsizetype *firstBad = nullptr);

    static bool canEncode(QStringView text) { QByteArray ignored; return encode(text, ignored); }

    // The whole character at `index` (where encode() stopped): a character
    // beyond the first 65,536 is two UTF-16 units, and a message must name
    // it, not its first half.
    static char32_t characterAt(QStringView text, qsizetype index);
    // "„c” (U+XXXX)": the character and its code, for messages.
    static QString describe(char32_t c);
};
