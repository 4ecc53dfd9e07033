// Profile files: any bytes read as a profile, and every profile that can be written reads back
// as the same five values.
#include "products/ProductProfiles.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const Product product = ProductProfiles::parse(QByteArrayView(data, static_cast<qsizetype>(size)));
    if (const auto bytes = ProductProfiles::serialize(product)) {
        if (!(ProductProfiles::parse(*bytes) == product))
            std::abort();
        if (bytes->count("\r\n") != 5)
            std::abort();
    }
    static_cast<void>(ProductProfiles::checkName(product.programName));
    return 0;
}
