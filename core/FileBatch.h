#pragma once

#include "core/FileRules.h"
#include "core/Result.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

// Changes several files as one: before a file is first written or removed, the batch keeps what it
// was (its content and modification time, or that there was none), so that when a later step fails,
// undo() can put every file touched back as it was. Each step is one FileRules::writeWhole or one
// removal; a step that fails has changed nothing itself.
class FileBatch final {
public:
    FileBatch() = default;
    FileBatch(const FileBatch&) = delete;
    FileBatch& operator=(const FileBatch&) = delete;

    // Replaces the file at `path` with `content`; a valid `modified` becomes its modification time.
    // A file that is there but cannot be read is not written (NotRead): it could not be put back.
    Result<void, FileRules::FileProblem> write(const QString& path, const QByteArray& content,
                                               const QDateTime& modified = {});
    // Removes the file at `path`. Done also when there is none; NotWritten when it is still there.
    Result<void, FileRules::FileProblem> remove(const QString& path);

    // Puts back every file the batch touched, the last touched first: the content and modification
    // time it had, or no file where there was none. A file that cannot be put back is the problem
    // (the first of them); the others are put back all the same.
    Result<void, FileRules::FileProblem> undo();

private:
    struct Former {
        QString path;
        std::optional<QByteArray> content; // none: there was no file
        QDateTime modified;
    };

    // Keeps what the file at `path` is now, unless the batch touched it already.
    Result<void, FileRules::FileProblem> keepFormer(const QString& path);

    QList<Former> m_former;
};
