#pragma once

#include "system/pictures.h"

#include <QIcon>
#include <QPushButton>
#include <QSize>
#include <QString>

// The small buttons of the window's tool bars.
inline QPushButton *smallButton(const QString &name, const QSize &maximum)
{
    auto *button = new QPushButton;
    button->setObjectName(name);
    button->setMaximumSize(maximum);
    return button;
}

inline QPushButton *iconButton(const QString &name, const char *icon, const QSize &iconSize = {})
{
    QPushButton *button = smallButton(name, QSize(25, 25));
    button->setIcon(Pictures::icon(QString::fromLatin1(icon)));
    if (iconSize.isValid())
        button->setIconSize(iconSize);
    return button;
}
