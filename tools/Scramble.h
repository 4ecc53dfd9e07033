#pragma once

#include <QByteArray>
#include <QByteArrayView>

// The inverse of SiteAddressCipher::decode, as the site-address file is made: each code plus the depth, less
// 255 when the sum exceeds 255. Codes 0 to 254 survive a round trip; 255 comes back as 0.
inline QByteArray scramble(QByteArrayView clear, int depth)
{
    QByteArray stored;
    stored.reserve(clear.size());
    for (const char ch : clear) {
        int v = static_cast<unsigned char>(ch) + depth;
        if (v > 255)
            v -= 255;
        stored.append(static_cast<char>(v));
    }
    return stored;
}
