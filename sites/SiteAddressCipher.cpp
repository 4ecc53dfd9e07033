#include "sites/SiteAddressCipher.h"

namespace SiteAddressCipher {

QByteArray decode(QByteArrayView stored)
{
    QByteArray clear;
    clear.reserve(stored.size());
    for (const char ch : stored) {
        int v = static_cast<unsigned char>(ch) - fileDepth;
        if (v < 0)
            v += 255;
        clear.append(static_cast<char>(v));
    }
    return clear;
}

QByteArray encode(QByteArrayView clear)
{
    QByteArray stored;
    stored.reserve(clear.size());
    for (const char ch : clear) {
        int v = static_cast<unsigned char>(ch) + fileDepth;
        if (v > 255)
            v -= 255;
        stored.append(static_cast<char>(v));
    }
    return stored;
}

} // namespace SiteAddressCipher
