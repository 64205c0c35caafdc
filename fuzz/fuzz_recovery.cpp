// Recovery copies: any bytes parse without harm and without allocating what
// a damaged count or length claims; a copy read is written again as bytes
// that read back as the same copy.

#include "files/recoveryfile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const RecoveryCopy::Read read = RecoveryCopy::parse(bytes);
    if (read.status != RecoveryCopy::Status::Ok)
        return 0;
    const QByteArray written = RecoveryCopy::serialize(read.copy);
    const RecoveryCopy::Read again = RecoveryCopy::parse(written);
    if (again.status != RecoveryCopy::Status::Ok || RecoveryCopy::serialize(again.copy) != written)
        std::abort();
    return 0;
}
