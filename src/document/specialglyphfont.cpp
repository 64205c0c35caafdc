#include "document/specialglyphfont.h"

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
    // One shared value: copies cost a reference count, not an allocation. It
    // is never destroyed, so it cannot outlive the font database at exit.
    static const QFont *font = [] {
        auto *f = new QFont;
        f->setFamily(family());
        f->setPixelSize(10);
        return f;
    }();
    return *font;
}

QFont SpecialGlyphFont::fieldFont(QFont font)
{
    // Setting a family the font already has would still detach it.
    const QString name = family();
    if (font.family() != name)
        font.setFamily(name);
    return font;
}
