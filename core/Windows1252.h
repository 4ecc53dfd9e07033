#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

// The data files hold single-byte text in Windows-1252. Decoding keeps every byte: the five codes
// that the code page leaves unassigned map to the C1 controls of the same value and come back
// unchanged when encoded.
namespace Windows1252 {

QString decode(QByteArrayView bytes);

// The text as Windows-1252, or nothing when a character has no code there.
std::optional<QByteArray> encode(QStringView text);

bool canEncode(QStringView text);

// The first character of `text` that Windows-1252 cannot hold, a surrogate pair taken whole (a lone
// half of a pair is a character of its own); empty when every character can be held.
QString firstUnencodable(QStringView text);

// FileRules::splitLines() with each line decoded.
QStringList decodeLines(QByteArrayView content);

} // namespace Windows1252
