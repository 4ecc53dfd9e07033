#pragma once

#include <QString>

// Appending the user's typed links to the added-links file (folder + "/addedlinks.txt").
//
// The file is Windows-1252 text, one link per line, each line ended by CR LF. The typed text goes
// after the file's last byte exactly as typed, its line breaks written as CR LF, followed by one
// CR LF: each typed line becomes one line of the file, an empty text adds one empty line, and a
// last line that lacked its line break is joined by the first typed line. Nothing is validated,
// trimmed or dropped. A missing file is created.
namespace AddedLinksFile {

struct AppendResult {
    enum class Status {
        Appended,
        // The text holds a character that Windows-1252 cannot store; nothing was written.
        UnencodableCharacter,
        // The file could not be read or written; it is as it was before.
        WriteFailed,
    };

    Status status = Status::Appended;
    // UnencodableCharacter: the first such character (a whole code point).
    // WriteFailed: the file system's description of the failure.
    QString detail;

    bool ok() const { return status == Status::Appended; }
};

// The typed text with every line break (CR LF, lone CR, lone LF, U+2028, U+2029) as CR LF.
QString withCrLfLineBreaks(const QString& typedText);

// Appends `typedText` and one CR LF to the added-links file of `appFolder`. The old content and
// the new text are written to a new file that replaces the old one only when every byte is
// written, so a failure leaves the file untouched.
AppendResult append(const QString& appFolder, const QString& typedText);

} // namespace AddedLinksFile
