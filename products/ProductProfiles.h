#pragma once

#include "core/Product.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <optional>

// Product profiles on disk: one file per product in the folder "Info" of the application folder,
// named after the product: <folder>/Info/<programName>.txt.
//
// File format: exactly five lines, in the order programName, categoryKeyword, padUrl,
// regnowVendorId, regnowProductId. Each line is a double quote, the field's text unaltered (inner
// quotes are not doubled, blanks around the text stay), a double quote and CR LF. Windows-1252,
// no byte-order mark, nothing before the first line or after the fifth line's CR LF.
//
// Reading takes each value as its line without its first and last character, whatever those are.
// A line that is missing or shorter than two characters gives an empty value; lines after the
// fifth are ignored. Lines may end in CR LF, CR or LF.
//
// "*.txt" matches ignoring letter case, and a product is read, replaced and deleted under the real
// name of its file: "Notes.TXT" is the product "Notes".
namespace ProductProfiles {

// The file content for `product`, or nothing when a field holds a line break or a character that
// Windows-1252 cannot hold.
std::optional<QByteArray> serialize(const Product& product);

Product parse(QByteArrayView content);

// Why `name` cannot name a profile file, as one line for the user; empty when it can. Refused:
// the empty name, path separators, "..", control characters and characters outside Windows-1252.
QString nameProblem(const QString& name);

// Writes the profile of `product` into <folder>/Info, creating Info when it is missing (the
// application folder itself is never created). The file is replaced only once the new content
// is safely on disk, so a failed save leaves any old file as it was. Returns empty on success,
// else one line saying why nothing was saved.
[[nodiscard]] QString save(const QString& appFolder, const Product& product);

// The profile of the product listed as `name`, or nothing when its file cannot be read.
std::optional<Product> read(const QString& appFolder, const QString& name);

// Deletes the profile file of the product listed as `name`. False when there was none to delete
// or it could not be deleted.
bool remove(const QString& appFolder, const QString& name);

// The products in <folder>/Info: every file whose name ends in ".txt" (any letter case), without
// that ending, each name once, sorted by ProductList::lessIgnoringCase. Empty when Info is missing.
QStringList list(const QString& appFolder);

// The existing file of the product listed as `name` (a name ending in ".txt" exactly is preferred
// over another letter case), or empty when there is none.
QString existingFile(const QString& appFolder, const QString& name);

// Deletes the file of `oldName` after its product was saved under `newName`, unless both are the
// same file: on a file system that ignores letter case, a rename that changes only letter case
// wrote the very file that `oldName` still finds.
bool removeRenamed(const QString& appFolder, const QString& oldName, const QString& newName);

} // namespace ProductProfiles
