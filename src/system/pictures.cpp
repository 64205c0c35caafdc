#include "system/pictures.h"

#include <QFile>

namespace {

QString doubleSize(const QString &resource)
{
    const qsizetype dot = resource.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : resource.first(dot) + QStringLiteral("@2x") + resource.sliced(dot);
}

} // namespace

QIcon Pictures::icon(const QString &resource)
{
    QIcon icon;
    icon.addFile(resource);
    if (const QString large = doubleSize(resource); !large.isEmpty() && QFile::exists(large))
        icon.addFile(large);
    return icon;
}

QPixmap Pictures::pixmap(const QString &resource, qreal devicePixelRatio)
{
    QPixmap small(resource);
    if (devicePixelRatio < 1.5)
        return small;
    QPixmap large(doubleSize(resource));
    if (large.isNull())
        return small;
    large.setDevicePixelRatio(2.0);
    return large;
}
