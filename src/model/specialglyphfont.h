#pragma once

#include <QFont>
#include <QString>

// The embedded font "TIMES_K": an ordinary serif face whose "#", "$", "^" and
// "&" are drawn as plus/minus symbol pairs. Texts always hold the plain
// characters; only the font makes them symbols.
class SpecialGlyphFont
{
public:
    static inline const QString familyName = QStringLiteral("TIMES_K");
    static inline const QString fallbackFamily = QStringLiteral("Times New Roman");
    static inline const QString resourcePath = QStringLiteral(":/fonts/TIMES_K.ttf");

    // Registers the embedded font with the application's font database (once
    // per process) and returns the family fields should use: "TIMES_K", or the
    // fallback when the font could not be registered.
    static QString family();

    // The font every new field starts with: the special family at pixel size 10.
    static QFont defaultFont();

    // The font a field shows for a font it was given: the special family,
    // and a pixel size of 1 (the font dialog's automatic size) as 10.
    static QFont fieldFont(QFont font);
};

// Makes the resources compiled into the core library available; safe to call
// more than once.
void initLamelloResources();
