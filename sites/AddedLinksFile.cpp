#include "sites/AddedLinksFile.h"

#include "core/AppFolder.h"
#include "core/FileRules.h"
#include "core/Windows1252.h"

#include <QFile>

namespace AddedLinksFile {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

Problem writeFailed(const QString& reason)
{
    return {Problem::Kind::WriteFailed, reason};
}

} // namespace

QString withCrLfLineBreaks(const QString& typedText)
{
    QString result;
    result.reserve(typedText.size() + typedText.size() / 16);
    for (qsizetype i = 0; i < typedText.size(); ++i) {
        const QChar c = typedText.at(i);
        if (c == u'\r') {
            if (i + 1 < typedText.size() && typedText.at(i + 1) == u'\n')
                ++i;
            result += kCrLf;
        } else if (c == u'\n' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator) {
            result += kCrLf;
        } else {
            result += c;
        }
    }
    return result;
}

Result<void, Problem> append(const QString& dataFolder, const QString& typedText)
{
    const QString text = withCrLfLineBreaks(typedText) + kCrLf;
    const std::optional<QByteArray> added = Windows1252::encode(text);
    if (!added)
        return Problem{Problem::Kind::UnencodableCharacter, Windows1252::firstUnencodable(text)};

    const QString path = AppFolder::path(dataFolder, AppFolder::addedLinksFile());
    QByteArray content;
    QFile existing(path);
    if (existing.exists()) {
        if (!existing.open(QIODevice::ReadOnly))
            return writeFailed(existing.errorString());
        content = existing.readAll();
        if (existing.error() != QFileDevice::NoError)
            return writeFailed(existing.errorString());
    }
    content += *added;

    if (const std::optional<QString> failed = FileRules::writeWhole(path, content))
        return writeFailed(*failed);
    return {};
}

} // namespace AddedLinksFile
