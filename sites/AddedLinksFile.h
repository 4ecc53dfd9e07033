#pragma once

#include "core/Result.h"

#include <QString>

// Appending the user's typed links to the added-links file (folder + "/addedlinks.txt").
//
// The file is Windows-1252 text, one link per line, each line ended by CR LF. The typed text goes
// after the file's last byte exactly as typed, its line breaks written as CR LF, followed by one
// CR LF: each typed line becomes one line of the file, an empty text adds one empty line, and a
// last line that lacked its line break is joined by the first typed line. Nothing is validated,
// trimmed or dropped. A missing file is created.
namespace AddedLinksFile {

// Why the links were not appended; the file is as it was before.
struct Problem {
    enum class Kind {
        // The text holds `detail` (a whole code point), which Windows-1252 cannot store.
        UnencodableCharacter,
        // The file could not be read or written; `detail` is the file system's description.
        WriteFailed,
    };

    Kind kind;
    QString detail = {};
};

// The typed text with every line break (CR LF, lone CR, lone LF, U+2028, U+2029) as CR LF.
QString withCrLfLineBreaks(const QString& typedText);

// Appends `typedText` and one CR LF to the added-links file of `dataFolder`. The old content and
// the new text are written to a new file that replaces the old one only when every byte is
// written, so a failure leaves the file untouched.
Result<void, Problem> append(const QString& dataFolder, const QString& typedText);

} // namespace AddedLinksFile
