#include "sites/SiteAddressCipher.h"

namespace SiteAddressCipher {

QByteArray decode(const QByteArray& line, std::int32_t& depth)
{
    QByteArray result;
    result.reserve(line.size());
    for (const char ch : line) {
        const int c = static_cast<unsigned char>(ch);
        if (depth == 0)
            depth = defaultDepth;
        if (depth > 254)
            depth = 254;
        // Depths from 1 to 254 keep v within 0..254; a negative depth (never passed by the
        // program) is computed wide and kept to its low byte rather than overflowing.
        std::int64_t v = c - static_cast<std::int64_t>(depth);
        if (v < 0)
            v += 255;
        result.append(static_cast<char>(v & 0xFF));
    }
    return result;
}

} // namespace SiteAddressCipher
