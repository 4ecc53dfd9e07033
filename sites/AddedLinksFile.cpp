#include "sites/AddedLinksFile.h"

#include "core/AppFolder.h"
#include "core/FileRules.h"
#include "core/Windows1252.h"

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
    auto existing = FileRules::readWhole(path);
    if (!existing && existing.problem().kind != FileRules::FileProblem::Kind::Missing)
        return writeFailed(existing.problem().detail);
    const QByteArray content = existing.valueOr({}) + *added;
    if (const auto written = FileRules::writeWhole(path, content); !written)
        return writeFailed(written.problem().detail);
    return {};
}

} // namespace AddedLinksFile
