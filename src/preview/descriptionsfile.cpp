#include "preview/descriptionsfile.h"

#include "preview/windows1250.h"

#include <QFile>
#include <QFileInfo>

#include <cstring>

QList<QStringList> DescriptionsFile::parse(QByteArrayView bytes, int labelsPerBarette)
{
    QList<QStringList> groups;
    const int perGroup = labelsPerBarette + 1;
    if (perGroup <= 0)
        return groups;
    const char *data = bytes.data();
    const qsizetype size = bytes.size();
    qsizetype pos = 0;
    while (pos < size) {
        QStringList group;
        group.reserve(perGroup);
        for (int i = 0; i < perGroup; ++i) {
            if (pos >= size) {
                group.append(QString());
                continue;
            }
            const void *lf = std::memchr(data + pos, '\n', size_t(size - pos));
            const qsizetype end = lf ? static_cast<const char *>(lf) - data : size;
            qsizetype textEnd = end;
            if (const void *nul = std::memchr(data + pos, '\0', size_t(end - pos)))
                textEnd = static_cast<const char *>(nul) - data;
            group.append(Windows1250::decode(QByteArrayView(data + pos, textEnd - pos)));
            pos = lf ? end + 1 : size;
        }
        groups.append(std::move(group));
    }
    return groups;
}

DescriptionsFile::ReadStatus DescriptionsFile::read(const QString &path, int labelsPerBarette,
                                                    QList<QStringList> &groups)
{
    groups.clear();
    if (path.isEmpty())
        return ReadStatus::NoPath;
    if (!QFileInfo::exists(path))
        return ReadStatus::Missing;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return ReadStatus::OpenFailed;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return ReadStatus::OpenFailed;
    groups = parse(bytes, labelsPerBarette);
    return ReadStatus::Ok;
}

bool DescriptionsFile::serialize(const QStringList &fieldTexts, QByteArray &out,
                                 qsizetype *badField, QChar *badChar)
{
    QByteArray bytes;
    QByteArray line;
    for (qsizetype i = 0; i < fieldTexts.size(); ++i) {
        QString text = fieldTexts.at(i);
        text.replace(QLatin1Char('\n'), QLatin1Char('@'));
        qsizetype bad = -1;
        if (!Windows1250::encode(text, line, &bad)) {
            if (badField)
                *badField = i;
            if (badChar)
                *badChar = text.at(bad);
            return false;
        }
        bytes += line;
        bytes += '\n';
    }
    out = std::move(bytes);
    return true;
}
