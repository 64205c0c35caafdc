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

    // Pixel size 1 marks a field whose size is automatic (the font dialog's
    // "Autodopasowanie"): it shows at the largest size up to the default at
    // which its text fits its frame (see FieldPainter::shownFont). Projects
    // store it as it is, and programs that do not know it show size 10.
    static constexpr int automaticPixelSize = 1;
    static bool isAutomatic(const QFont &font) { return font.pixelSize() == automaticPixelSize; }

    // The font a field keeps for a font it was given: the special family.
    // An automatic size stays automatic.
    static QFont fieldFont(QFont font);
};

// Makes the resources compiled into the core library available; safe to call
// more than once.
void initLamelloResources();
