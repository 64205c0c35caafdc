#include "document/fieldtransfer.h"

#include <QCoreApplication>
#include <QStringList>

namespace {
const QString separator = QStringLiteral(";;");
} // namespace

QString FieldTransfer::write(const QString &text, const QFont &font)
{
    auto flag = [](bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); };
    // One arg() call for all five: a "%2" inside the text stays as it is. A
    // format, the same in every language: never translated.
    return QStringLiteral("%1;;%2;;%3;;%4;;%5")
        .arg(text, QString::number(font.pixelSize()), flag(font.weight() > QFont::Normal),
             flag(font.style() != QFont::StyleNormal), flag(font.underline()));
}

FieldTransfer FieldTransfer::read(const QString &transfer)
{
    FieldTransfer result;
    result.text = transfer;
    const QStringList parts = transfer.split(separator, Qt::KeepEmptyParts, Qt::CaseSensitive);
    if (parts.size() < 5)
        return result;
    const qsizetype first = parts.size() - 4;
    int values[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        values[i] = parts.at(first + i).toInt(&ok, 10);
        if (!ok)
            return result;
    }
    // Everything before the last four parts, its own ";;" included.
    result.text = parts.mid(0, first).join(separator);
    result.carriesFont = true;
    result.pixelSize = values[0];
    result.bold = values[1] != 0;
    result.italic = values[2] != 0;
    result.underline = values[3] != 0;
    return result;
}

QFont FieldTransfer::font(const QFont &target) const
{
    QFont f;
    if (pixelSize > 0 && pixelSize <= maxPixelSize)
        f.setPixelSize(pixelSize);
    else if (target.pixelSize() > 0)
        f.setPixelSize(target.pixelSize());
    else if (target.pointSizeF() > 0)
        f.setPointSizeF(target.pointSizeF());
    f.setWeight(bold ? QFont::Bold : QFont::Normal);
    f.setStyle(italic ? QFont::StyleItalic : QFont::StyleNormal);
    f.setUnderline(underline);
    return f;
}
