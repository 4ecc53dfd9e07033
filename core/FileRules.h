#pragma once

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

} // namespace FileRules
