// lamello-batch's --label/--header sizes and --shift/--scale pairs: any text
// reads without harm; a size read has both sides above 0 and at most 100
// mm, a pair two finite numbers.

#include "batch/batchprint.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    if (const std::optional<QSizeF> s = BatchPrint::parseSize(text)) {
        if (!(s->width() > 0 && s->width() <= 100 && s->height() > 0 && s->height() <= 100))
            std::abort();
    }
    if (const std::optional<QPointF> p = BatchPrint::parsePair(text)) {
        if (!std::isfinite(p->x()) || !std::isfinite(p->y()))
            std::abort();
    }
    return 0;
}
