#pragma once

#include "core/Product.h"
#include "core/ProductFacts.h"
#include "core/Result.h"
#include "products/ProductProfiles.h"

#include <QByteArrayView>
#include <QString>
#include <optional>

class QIODevice;

// Reads a product's own PAD file (Portable Application Description, versions 3.x and 4.0 alike):
// every value it holds, for the fill (readValues()), and the values that the product information
// editor's boxes take when the user imports it (read()).
//
// A PAD file is an XML document whose root element is XML_DIZ_INFO. Read are these paths under
// the root, element names compared ignoring letter case:
//   Program_Info/Program_Name                          -> "Program Name"
//   Program_Info/Program_Category_Class                -> "Category" (see categoryPosition())
//   Web_Info/Application_URLs/Application_XML_File_URL -> "PAD URL"
//   Affiliates/Affiliates_Regnow_Vendor_ID             -> "Regnow Vender ID"
//   Affiliates/Affiliates_Regnow_Product_ID            -> "Regnow Product ID"
// Everything else in the file is ignored. A value is the element's text (markup inside it
// dropped, entities resolved) trimmed of surrounding white space and line breaks. When a path
// occurs more than once (PAD files describing several languages), its first occurrence counts,
// even when it is empty. A value that is missing or empty after trimming is left unset, so its
// box keeps what it holds (the PAD URL box its "http://").
//
// A file that declares ISO-8859-1 is read the way web browsers read it, as Windows-1252: the
// codes 0x80..0x9F give the euro sign, curly quotes and the like rather than control characters.
//
// The whole document is read before anything is returned, so a fault anywhere in the file refuses
// all of it; a refused file sets no value at all. Refused are (Problem::Kind):
//   - empty content (nothing, or only white space);
//   - binary content (a NUL byte in a file that is not UTF-16 or UTF-32);
//   - more than maxSize bytes;
//   - content that is not well-formed XML (a bare "&", say) or in an encoding Qt cannot decode;
//   - a root element other than XML_DIZ_INFO;
//   - a value that a product profile cannot store: one holding a line break or a character that
//     Windows-1252 cannot hold (ProductProfiles::encodeField). The Program_Category_Class is only
//     matched, never stored, and is not checked.
// No external entity or DTD is ever fetched.
namespace PadFile {

inline constexpr qint64 maxSize = 4 * 1024 * 1024;

// What an import changes in the editor. Every unset member leaves its box as it was.
struct Values {
    std::optional<QString> programName;
    std::optional<QString> padUrl;
    // The catalogue position to select (CategoryCatalogue::entry(), keyword()).
    std::optional<int> categoryPosition;
    std::optional<QString> regnowVendorId;
    std::optional<QString> regnowProductId;

    friend bool operator==(const Values&, const Values&) = default;
};

// Why a file was refused.
struct Problem {
    enum class Kind {
        TooLarge,
        Empty,
        Binary,
        // The device cannot be read.
        NotReadable,
        // The file cannot be opened; `detail` is the file system's description.
        NotOpened,
        // At `line`; `detail` is the XML reader's description.
        NotWellFormed,
        // `detail` is the root element's name.
        OtherRoot,
        // A value that a profile cannot store; `stored` names its field and what is wrong with it.
        NotStorable,
    };

    Kind kind;
    QString detail = {};
    qint64 line = 0;
    std::optional<ProductProfiles::Problem> stored = {};
};

using Result = ::Result<Values, Problem>;

// Reads PAD content.
Result read(QByteArrayView content);

// Every value of PAD content (see PadValues), refused for the same faults as read() but for values
// that a profile cannot store: these are only ever written into forms.
::Result<PadValues, Problem> readValues(QByteArrayView content);

// The values of read() from every value of PAD content (readValues()), refused when a profile
// cannot store one of them.
Result profileValues(const PadValues& values);

// Reads from an open device, from its current position: its size is checked before reading when
// it is known, and at most maxSize + 1 bytes are ever read. A sequential device must have all its
// data available (a buffer or a file, not a socket still receiving).
Result read(QIODevice& device);

// Reads the file at `path`. A file that cannot be opened is refused too.
Result readFile(const QString& path);

// The catalogue position for a Program_Category_Class "Main::Sub" (blanks around either part
// ignored): the sub-category entry named Sub under the top-level entry named Main, else the
// top-level entry Main, else nothing. Names are compared ignoring letter case and a
// sub-category's four leading blanks; a value without "::" is a Main alone. Only the entries
// between Main and the next top-level entry are Main's, so "Games & Entertainment::Kids" is the
// second "Kids" of the catalogue, not the one under "Education".
std::optional<int> categoryPosition(QStringView categoryClass);

// The profile that a freshly opened editor saves after importing `values`: "Program Name" empty,
// the category at position 0 and "PAD URL" "http://", each unless `values` sets it, the category
// stored as its keyword.
Product newProfile(const Values& values);

} // namespace PadFile
