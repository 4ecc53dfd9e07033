#include "sites/AddedLinksFile.h"

#include "core/AppFolder.h"
#include "core/FileRules.h"
#include "core/Windows1252.h"

#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>

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

Result<QByteArray, Problem> rewrite(const QString& dataFolder, const QStringList& links,
                                    const QByteArray& lastRead)
{
    QByteArray content;
    for (const QString& link : links) {
        if (link.contains(u'\r') || link.contains(u'\n'))
            return Problem{Problem::Kind::LineBreak, link};
        const std::optional<QByteArray> line = Windows1252::encode(link);
        if (!line)
            return Problem{Problem::Kind::UnencodableCharacter, Windows1252::firstUnencodable(link)};
        content += *line + "\r\n";
    }
    const QString path = AppFolder::path(dataFolder, AppFolder::addedLinksFile());
    const auto existing = FileRules::readWhole(path);
    if (!existing && existing.problem().kind != FileRules::FileProblem::Kind::Missing)
        return writeFailed(existing.problem().detail);
    if (existing.valueOr({}) != lastRead)
        return Problem{Problem::Kind::ChangedOnDisk};
    if (const auto written = FileRules::writeWhole(path, content); !written)
        return writeFailed(written.problem().detail);
    return content;
}

Import importable(QByteArrayView content, const QStringList& known)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(content);
    if (utf8.hasError())
        text = Windows1252::decode(content);
    Import result;
    QSet<QString> seen(known.cbegin(), known.cend());
    for (const QString& line : text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")))) {
        const QString link = line.trimmed();
        if (link.isEmpty())
            ++result.blankLines;
        else if (seen.contains(link))
            ++result.known;
        else {
            seen.insert(link);
            result.links.append(link);
        }
    }
    // The line break that ends the last line starts no line.
    if (text.isEmpty() || text.endsWith(u'\n') || text.endsWith(u'\r'))
        --result.blankLines;
    return result;
}

} // namespace AddedLinksFile
