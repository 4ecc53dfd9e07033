#include "sites/SiteAddressCipher.h"

namespace SiteAddressCipher {

namespace {

// Every byte moved by `shift`, wrapping by 255 (not 256) when it leaves 0..255.
QByteArray shifted(QByteArrayView bytes, int shift)
{
    QByteArray result;
    result.reserve(bytes.size());
    for (const char ch : bytes) {
        int v = static_cast<unsigned char>(ch) + shift;
        if (v < 0)
            v += 255;
        else if (v > 255)
            v -= 255;
        result.append(static_cast<char>(v));
    }
    return result;
}

} // namespace

QByteArray decode(QByteArrayView stored)
{
    return shifted(stored, -fileDepth);
}

QByteArray encode(QByteArrayView clear)
{
    return shifted(clear, fileDepth);
}

} // namespace SiteAddressCipher
