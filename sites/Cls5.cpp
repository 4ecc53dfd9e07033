#include "sites/Cls5.h"

QByteArray Cls5::Sub3(const QByteArray& Data, std::int32_t& Depth) const
{
    QByteArray result;
    result.reserve(Data.size());
    for (const char ch : Data) {
        const int c = static_cast<unsigned char>(ch);
        if (Depth == 0)
            Depth = DefaultDepth;
        if (Depth > 254)
            Depth = 254;
        // Depths from 1 to 254 keep v within 0..254; a negative depth (never passed by the
        // program) is computed wide and kept to its low byte rather than overflowing.
        std::int64_t v = c - static_cast<std::int64_t>(Depth);
        if (v < 0)
            v += 255;
        result.append(static_cast<char>(v & 0xFF));
    }
    return result;
}
