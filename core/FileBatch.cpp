#include "core/FileBatch.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace {

using FileRules::FileProblem;

// Gives the file at `path` `modified` as its modification time; a file whose time cannot be set
// keeps the time of its writing.
void setModified(const QString& path, const QDateTime& modified)
{
    QFile file(path);
    if (modified.isValid() && file.open(QIODevice::ReadOnly))
        file.setFileTime(modified, QFileDevice::FileModificationTime);
}

Result<void, FileProblem> removeFile(const QString& path)
{
    QFile file(path);
    if (file.remove() || !QFileInfo::exists(path))
        return {};
    return FileProblem{FileProblem::Kind::NotWritten, file.errorString()};
}

} // namespace

Result<void, FileProblem> FileBatch::keepFormer(const QString& path)
{
    if (std::any_of(m_former.cbegin(), m_former.cend(), [&](const Former& f) { return f.path == path; }))
        return {};
    const QFileInfo info(path);
    if (!info.exists()) {
        m_former.append({path, std::nullopt, {}});
        return {};
    }
    const auto content = FileRules::readWhole(path);
    if (!content)
        return content.problem();
    m_former.append({path, *content, info.lastModified()});
    return {};
}

Result<void, FileProblem> FileBatch::write(const QString& path, const QByteArray& content,
                                           const QDateTime& modified)
{
    const qsizetype touched = m_former.size();
    if (auto kept = keepFormer(path); !kept)
        return kept;
    if (auto written = FileRules::writeWhole(path, content); !written) {
        // A write that failed left the file as it was.
        m_former.resize(touched);
        return written;
    }
    setModified(path, modified);
    return {};
}

Result<void, FileProblem> FileBatch::remove(const QString& path)
{
    if (!QFileInfo::exists(path))
        return {};
    const qsizetype touched = m_former.size();
    if (auto kept = keepFormer(path); !kept)
        return kept;
    Result<void, FileProblem> removed = removeFile(path);
    if (!removed)
        m_former.resize(touched);
    return removed;
}

Result<void, FileProblem> FileBatch::undo()
{
    std::optional<FileProblem> first;
    for (auto former = m_former.crbegin(); former != m_former.crend(); ++former) {
        Result<void, FileProblem> put = former->content
                                            ? FileRules::writeWhole(former->path, *former->content)
                                            : removeFile(former->path);
        if (put && former->content)
            setModified(former->path, former->modified);
        if (!put && !first)
            first = put.problem();
    }
    m_former.clear();
    if (first)
        return *first;
    return {};
}
