#include "core/Windows1252.h"

#include "core/FileRules.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace Windows1252 {

namespace {
constexpr const char* kName = "windows-1252";
}

QString decode(QByteArrayView bytes)
{
    QStringDecoder decoder(kName);
    Q_ASSERT(decoder.isValid());
    return decoder.decode(bytes);
}

std::optional<QByteArray> encode(QStringView text)
{
    // Stateless: a lone surrogate at the end is an error rather than kept back for a next call.
    QStringEncoder encoder(kName, QStringConverter::Flag::Stateless);
    Q_ASSERT(encoder.isValid());
    QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        return std::nullopt;
    return bytes;
}

bool canEncode(QStringView text)
{
    return encode(text).has_value();
}

QString firstUnencodable(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool pair = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        const QStringView character = text.sliced(i, pair ? 2 : 1);
        if (!canEncode(character))
            return character.toString();
        if (pair)
            ++i;
    }
    return {};
}

QStringList decodeLines(QByteArrayView content)
{
    QStringList lines;
    const QList<QByteArray> raw = FileRules::splitLines(content);
    lines.reserve(raw.size());
    for (const QByteArray& line : raw)
        lines.append(decode(line));
    return lines;
}

} // namespace Windows1252
