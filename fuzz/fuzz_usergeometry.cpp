// The user geometry file: any bytes parse without harm; every preset read
// whose name can be stored is written as one line that reads back as the same
// preset; removing a name leaves every other preset as it was; overwriting a
// name puts one line in place of each of its lines; and a name the file does
// not hold changes no byte.

#include "files/usergeometryfile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QList<GeometryPreset> presets = UserGeometryFile::parse(bytes);

    auto lengths = [](const GeometryPreset &p) {
        return QStringList{UserGeometryFile::formatNumber(p.headerRect.width()),
                           UserGeometryFile::formatNumber(p.headerRect.height()),
                           UserGeometryFile::formatNumber(p.labelRect.width()),
                           UserGeometryFile::formatNumber(p.labelRect.height())};
    };
    for (const GeometryPreset &preset : presets) {
        QByteArray line;
        if (!UserGeometryFile::formatLine(preset, line))
            continue;
        const QList<GeometryPreset> back = UserGeometryFile::parse(line);
        if (back.size() != 1 || back.at(0).presetName != preset.presetName
            || back.at(0).labelsPerBarette != preset.labelsPerBarette || lengths(back.at(0)) != lengths(preset))
            std::abort();
    }

    if (UserGeometryFile::rewrite(bytes, QStringLiteral(";;"), nullptr) != bytes)
        std::abort();   // no line can be named ";;"

    if (!presets.isEmpty()) {
        const QString name = presets.at(0).presetName;
        QByteArray line;
        if (UserGeometryFile::formatLine(presets.at(0), line)
            && UserGeometryFile::parse(UserGeometryFile::rewrite(bytes, name, &line)).size() != presets.size())
            std::abort();
        int matched = 0;
        const QByteArray rest = UserGeometryFile::rewrite(bytes, name, nullptr, &matched);
        QList<GeometryPreset> others;
        for (const GeometryPreset &p : presets) {
            if (p.presetName != name)
                others.append(p);
        }
        if (matched != presets.size() - others.size())
            std::abort();
        const QList<GeometryPreset> left = UserGeometryFile::parse(rest);
        if (left.size() != others.size())
            std::abort();
        for (qsizetype i = 0; i < left.size(); ++i) {
            if (left.at(i).presetName != others.at(i).presetName || lengths(left.at(i)) != lengths(others.at(i)))
                std::abort();
        }
    }
    return 0;
}
