#pragma once

#include <QByteArray>
#include <QString>

// File names as the system gives them: bytes. The program holds names as
// text (UTF-8 on this system), so a name whose bytes are not UTF-8 would come
// back as another name, and a file would be looked for, or written, under a
// name nobody gave. Such names are refused, shown with their bytes.
namespace LocalNames {

// Whether `name` comes back byte for byte through QFile::decodeName() and
// QFile::encodeName().
bool roundTrips(const QByteArray &name);

// `name` for a message: UTF-8 as it is, every other byte as \xHH.
QString escaped(const QByteArray &name);

} // namespace LocalNames
