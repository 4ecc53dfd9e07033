#pragma once

#include "core/Product.h"
#include "core/Result.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <optional>

// Product profiles on disk: one file per product in the folder "Info" of the data folder,
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

// Why a profile was not saved or not deleted.
struct Problem {
    enum class Kind {
        // The name cannot name a visible file inside Info: it is empty, holds "/" or "\", or begins
        // with "." (".", "..", and hidden files).
        EmptyName,
        NameWithSeparator,
        NameWithLeadingDot,
        NameWithControlCharacter,
        // `field` holds a line break, which would split it over two lines of the file.
        LineBreak,
        // `field` holds `detail`, a character that Windows-1252 cannot hold.
        UnencodableCharacter,
        InfoFolderNotMade,
        // The file `detail` (its name) could not be written; any old file is as it was.
        FileNotWritten,
        // The file `detail` (its name) is still there; `reason` is the file system's description.
        FileNotDeleted,
        // A rename: the file `detail` (its name) of the old name could not be removed, for `reason`;
        // nothing was saved.
        OldFileNotDeleted,
        // The file `detail` (its name) could not be changed, for `reason`, and what was changed before
        // it could not all be put back: the folder holds part of the change.
        PartlyChanged,
    };

    Kind kind;
    ProductField field = ProductField::ProgramName;
    QString detail = {};
    QString reason = {};
};

// The text of `field` as a line of a profile file holds it, without the quotes; a LineBreak or
// UnencodableCharacter problem when a line cannot hold it.
Result<QByteArray, Problem> encodeField(ProductField field, const QString& text);

// The file content for `product`, or the first field, in profile order, that a line of the file
// cannot hold.
Result<QByteArray, Problem> serialize(const Product& product);

Product parse(QByteArrayView content);

// Whether `name` can name a profile file: refused are the names that cannot name a visible file
// inside Info (see Problem::Kind) and names holding a control character. Other characters are
// left to serialize(), which checks the name as the profile's first field.
Result<void, Problem> checkName(const QString& name);

// What saving `product` writes, once its name and fields are checked and Info exists (it is created
// when missing; the data folder itself never is): the file (fileFor()) and its content.
struct FileContent {
    QString path;
    QByteArray content;
};
Result<FileContent, Problem> prepareSave(const QString& dataFolder, const Product& product);

// Writes the profile of `product` into <folder>/Info, creating Info when it is missing (the
// data folder itself is never created). The file is replaced only once the new content
// is safely on disk, so a failed save leaves any old file as it was.
Result<void, Problem> save(const QString& dataFolder, const Product& product);

// The profile of the product listed as `name`, or nothing when its file cannot be read.
std::optional<Product> read(const QString& dataFolder, const QString& name);

// Deletes the profile file of the product listed as `name`. Done also when there was no such
// file; a problem only when the file is still there.
Result<void, Problem> remove(const QString& dataFolder, const QString& name);

// The products in <folder>/Info: every file whose name ends in ".txt" (any letter case) without
// that ending, each name once, sorted by ProductList::lessIgnoringCase. Left out are the names that
// checkName() refuses for where their file lies ("", ".", "..", ".hidden"): the manager could
// not handle them as products. Empty when Info is missing.
QStringList list(const QString& dataFolder);

// The existing file of the product listed as `name` (a name ending in ".txt" exactly is preferred
// over another letter case), or empty when there is none.
QString existingFile(const QString& dataFolder, const QString& name);

// The file that a profile saved under `name` goes to: the existing file of the product (see
// existingFile()), else <folder>/Info/<name>.txt. Empty for a name that checkName() refuses for
// where its file would lie.
QString fileFor(const QString& dataFolder, const QString& name);

// The PAD file that the product listed as `name` keeps, beside its profile:
// <folder>/Info/<name>.xml (AppFolder::padCopySuffix()). Empty for a name that checkName() refuses
// for where its file would lie.
QString padCopyFile(const QString& dataFolder, const QString& name);

} // namespace ProductProfiles
