#include "core/FileRules.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <cstring>
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

Result<QByteArray, FileProblem> readWhole(const QString& path, std::optional<qint64> maxSize)
{
    using Kind = FileProblem::Kind;
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return FileProblem{QFileInfo::exists(path) ? Kind::NotRead : Kind::Missing, file.errorString()};
    QByteArray content = maxSize ? file.read(*maxSize + 1) : file.readAll();
    if (file.error() != QFileDevice::NoError)
        return FileProblem{Kind::NotRead, file.errorString()};
    if (maxSize && content.size() > *maxSize)
        return FileProblem{Kind::TooLarge};
    return content;
}

Result<void, FileProblem> ensureFolder(const QString& path, std::optional<QFile::Permissions> permissions)
{
    if (QFileInfo(path).isDir())
        return {};
    const bool made = permissions ? QDir().mkdir(path, *permissions) : QDir().mkdir(path);
    // Another run may have made it meanwhile.
    if (made || QFileInfo(path).isDir())
        return {};
    std::error_code error;
    std::filesystem::create_directory(QFile::encodeName(path).toStdString(), error);
    if (!error && QFileInfo(path).isDir())
        return {};
    return FileProblem{FileProblem::Kind::NotMade,
                       QString::fromLocal8Bit(error ? error.message() : std::strerror(EEXIST))};
}

QList<QByteArray> splitLines(QByteArrayView content)
{
    QList<QByteArray> lines;
    qsizetype start = 0;
    const qsizetype size = content.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char c = content[i];
        if (c != '\r' && c != '\n')
            continue;
        lines.append(content.sliced(start, i - start).toByteArray());
        if (c == '\r' && i + 1 < size && content[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < size)
        lines.append(content.sliced(start).toByteArray());
    return lines;
}

Result<void, FileProblem> writeWhole(const QString& path, const QByteArray& content,
                                     std::optional<QFile::Permissions> permissions)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && (!permissions || file.setPermissions(*permissions)) &&
        file.write(content) == content.size() && file.commit())
        return {};
    return FileProblem{FileProblem::Kind::NotWritten, file.errorString()};
}

} // namespace FileRules
