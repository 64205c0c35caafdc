#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

// The program's own pictures (":/icons/…") at every size they are stored in:
// NAME.png and, for screens of scale factor 2, NAME@2x.png beside it. Qt
// looks for the @2x file only when the program starts on such a screen, so a
// window moved to one later, or started on a screen of scale 1 beside one,
// would draw its icons enlarged from the small ones.
namespace Pictures {
// An icon holding both sizes.
QIcon icon(const QString &resource);
// The picture at its stored size, drawn with `devicePixelRatio` device
// pixels to its pixel (the @2x file from 1.5 on).
QPixmap pixmap(const QString &resource, qreal devicePixelRatio);
} // namespace Pictures
