#include "system/localnames.h"

#include <QFile>

bool LocalNames::roundTrips(const QByteArray &name)
{
    return QFile::encodeName(QFile::decodeName(name)) == name;
}

QString LocalNames::escaped(const QByteArray &name)
{
    QString shown;
    qsizetype i = 0;
    while (i < name.size()) {
        const auto lead = uchar(name.at(i));
        const qsizetype length = lead < 0x80 ? 1 : lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                                                 : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
        const QByteArray sequence = length > 0 ? name.mid(i, length) : QByteArray();
        if (length > 0 && sequence.size() == length && roundTrips(sequence)) {
            shown += QString::fromUtf8(sequence);
            i += length;
        } else {
            shown += QStringLiteral("\\x") + QString::number(lead, 16).toUpper().rightJustified(2, QLatin1Char('0'));
            ++i;
        }
    }
    return shown;
}
