#include "ui/LinkText.h"

QString LinkText::reason(const AddedLinksFile::Problem& problem)
{
    using Kind = AddedLinksFile::Problem::Kind;
    switch (problem.kind) {
    case Kind::UnencodableCharacter:
        return tr("%1 cannot be stored").arg(describeCharacter(problem.detail));
    case Kind::WriteFailed:
        return problem.detail;
    case Kind::LineBreak:
        return tr("a link cannot hold a line break");
    case Kind::ChangedOnDisk:
        return tr("addedlinks.txt was changed by another program, and the list now shows it as it is");
    }
    return {};
}

QString LinkText::describeCharacter(const QString& character)
{
    const char32_t code = character.size() == 2 ? QChar::surrogateToUcs4(character.at(0), character.at(1))
                                                : character.at(0).unicode();
    const QString codeText =
        QStringLiteral("U+%1").arg(static_cast<uint>(code), 4, 16, QLatin1Char('0')).toUpper();
    const bool printable =
        character.size() == 2 || (character.at(0).isPrint() && !character.at(0).isSurrogate());
    return printable ? QStringLiteral("\u201C") + character + QStringLiteral("\u201D (") + codeText + u')'
                     : codeText;
}
