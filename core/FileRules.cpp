#include "core/FileRules.h"

#include <QFile>
#include <filesystem>
#include <system_error>

namespace FileRules {

std::optional<NameProblem> nameProblem(const QString& name)
{
    if (name.isEmpty())
        return NameProblem::Empty;
    if (name.contains(u'/') || name.contains(u'\\'))
        return NameProblem::Separator;
    if (name.startsWith(u'.'))
        return NameProblem::LeadingDot;
    return std::nullopt;
}

bool sameFile(const QString& a, const QString& b)
{
    std::error_code error;
    return std::filesystem::equivalent(QFile::encodeName(a).toStdString(), QFile::encodeName(b).toStdString(),
                                       error);
}

} // namespace FileRules
