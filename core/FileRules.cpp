#include "core/FileRules.h"

#include <QSaveFile>
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

std::optional<QString> writeWhole(const QString& path, const QByteArray& content,
                                  std::optional<QFile::Permissions> permissions)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && (!permissions || file.setPermissions(*permissions)) &&
        file.write(content) == content.size() && file.commit())
        return std::nullopt;
    return file.errorString();
}

} // namespace FileRules
