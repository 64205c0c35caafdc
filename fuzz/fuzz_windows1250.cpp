// The Windows-1250 codec: every byte string decodes to as many characters and
// encodes back to itself, agreeing with Qt's own converter; any UTF-16 text
// either encodes and decodes back unchanged, or is refused at its first
// character that has no byte.

#include "files/windows1250.h"

#include <QStringDecoder>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));

    const QString text = Windows1250::decode(bytes);
    QStringDecoder qtDecoder("windows-1250", QStringDecoder::Flag::Stateless);
    if (text.size() != bytes.size() || text != QString(qtDecoder.decode(bytes)))
        std::abort();
    QByteArray back;
    if (!Windows1250::encode(text, back) || back != bytes)
        std::abort();

    // The same bytes as UTF-16 text, surrogates and unpaired halves included.
    QString units(qsizetype(size / 2), Qt::Uninitialized);
    for (size_t i = 0; i + 1 < size; i += 2)
        units[qsizetype(i / 2)] = QChar(char16_t(data[i] | (data[i + 1] << 8)));
    QByteArray out("kept");
    qsizetype bad = -1;
    if (Windows1250::encode(units, out, &bad)) {
        if (out.size() != units.size() || Windows1250::decode(out) != units)
            std::abort();
    } else {
        if (bad < 0 || bad >= units.size() || out != "kept")
            std::abort();
        if (!Windows1250::canEncode(QStringView(units).left(bad)) || Windows1250::canEncode(units.mid(bad, 1)))
            std::abort();
    }
    return 0;
}
