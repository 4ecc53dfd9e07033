#pragma once

#include "core/Result.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <optional>

// The rules that every file the program keeps in the data folder follows: how it is named, read,
// written and given a folder.
namespace FileRules {

// Why a file or folder could not be read, written or made.
struct FileProblem {
    enum class Kind {
        Missing,   // reading: the file is not there (many callers read that as empty)
        NotRead,   // reading failed
        TooLarge,  // reading: the file is longer than the caller takes
        NotMade,   // a folder could not be made
        NotWritten // writing failed; the old file is as it was
    };
    Kind kind;
    // The file system's description of the failure; empty for TooLarge.
    QString detail = {};
};

// Why `name` cannot be the name of a visible file directly inside a folder: it is empty, holds a
// path separator, or begins with "." (hidden, or "." and ".." themselves).
enum class NameProblem { Empty, Separator, LeadingDot };
std::optional<NameProblem> nameProblem(const QString& name);

// Whether the two paths lead to one file: on a file system that ignores letter case, "a.txt"
// and "A.txt" do.
bool sameFile(const QString& a, const QString& b);

// The whole content of the file at `path`, at most `maxSize` bytes when given (a longer file is a
// problem, and is not read past maxSize + 1 bytes).
Result<QByteArray, FileProblem> readWhole(const QString& path, std::optional<qint64> maxSize = std::nullopt);

// Makes the folder `path` when it is missing; its parent must exist already. A folder made here
// gets `permissions` when given; an existing one is left as it is.
Result<void, FileProblem> ensureFolder(const QString& path,
                                       std::optional<QFile::Permissions> permissions = std::nullopt);

// Splits file content into lines, whatever its encoding (every one the data files use keeps CR and
// LF as those bytes). A line ends at CR LF, or at a lone CR or LF; the ending is not part of the
// line. A last line without an ending still counts; content that ends with a line ending has no
// empty line after it, and empty content has no lines.
QList<QByteArray> splitLines(QByteArrayView content);

// Replaces the file at `path` with `content` through a temporary file renamed over it, so that a
// write that fails leaves the old file as it was; the new file gets `permissions` when given.
Result<void, FileProblem> writeWhole(const QString& path, const QByteArray& content,
                                     std::optional<QFile::Permissions> permissions = std::nullopt);

} // namespace FileRules
