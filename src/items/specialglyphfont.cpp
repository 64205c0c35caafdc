#include "items/specialglyphfont.h"

#include <QFontDatabase>
#include <QStringList>

void initLamelloResources()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(resources);
        return true;
    }();
    Q_UNUSED(done);
}

QString SpecialGlyphFont::family()
{
    // Asking the database for its family list is costly and fields are made
    // by the tens of thousands, so the answer is worked out once per process.
    static const QString answer = [] {
        initLamelloResources();
        if (!QFontDatabase::families().contains(familyName))
            QFontDatabase::addApplicationFont(resourcePath);
        return QFontDatabase::families().contains(familyName) ? familyName : fallbackFamily;
    }();
    return answer;
}

QFont SpecialGlyphFont::defaultFont()
{
    QFont font;
    font.setFamily(family());
    font.setPixelSize(10);
    return font;
}
