#pragma once

// What the workbook readers share to speak to the user: their messages
// context, and a refusal naming the file, the part and why.

#include <QCoreApplication>
#include <QString>

namespace WorkbookFile {

inline QString tr(const char *text)
{
    return QCoreApplication::translate("WorkbookFile", text);
}

// Every refusal reads the same: the file, the part, why.
inline QString refusal(const QString &name, const QString &part, const QString &why)
{
    if (part.isEmpty())
        return tr("Arkusz „%1” nie został wczytany: %2.").arg(name, why);
    return tr("Arkusz „%1” nie został wczytany: %2: %3.").arg(name, part, why);
}

inline void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

inline QString megabytes(qint64 bytes)
{
    return QString::number(bytes >> 20);
}

} // namespace WorkbookFile
