// Project files: font records of any bytes parse without harm and without
// allocating what a damaged length claims; the fonts read are written again
// as records that read back as the same records.

#include "files/projectfile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const ProjectFile::Fonts read = ProjectFile::parseFonts(bytes);
    if (read.status == ProjectFile::Fonts::Status::Complete && read.damageOffset != -1)
        std::abort();
    if (read.status != ProjectFile::Fonts::Status::Complete
        && (read.damageOffset < 0 || read.damageOffset > bytes.size()))
        std::abort();

    const QByteArray written = ProjectFile::serializeFonts(read.fonts);
    const ProjectFile::Fonts again = ProjectFile::parseFonts(written);
    if (read.fonts.isEmpty() ? !written.isEmpty() : again.status != ProjectFile::Fonts::Status::Complete)
        std::abort();
    if (again.fonts.size() != read.fonts.size() || ProjectFile::serializeFonts(again.fonts) != written)
        std::abort();
    return 0;
}
