#pragma once

#include <QFile>
#include <QString>
#include <optional>

// The rules that the profiles and the marks share for the files they keep in the data folder.
namespace FileRules {

// Why `name` cannot be the name of a visible file directly inside a folder: it is empty, holds a
// path separator, or begins with "." (hidden, or "." and ".." themselves).
enum class NameProblem { Empty, Separator, LeadingDot };
std::optional<NameProblem> nameProblem(const QString& name);

// Whether the two paths lead to one file: on a file system that ignores letter case, "a.txt"
// and "A.txt" do.
bool sameFile(const QString& a, const QString& b);

// Replaces the file at `path` with `content` through a temporary file renamed over it, so that a
// write that fails leaves the old file as it was; the new file gets `permissions` when given.
// Answers nothing when the file was written, else why it was not.
std::optional<QString> writeWhole(const QString& path, const QByteArray& content,
                                  std::optional<QFile::Permissions> permissions = std::nullopt);

} // namespace FileRules
