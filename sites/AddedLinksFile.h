#pragma once

#include "core/Result.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

// The added-links file (folder + "/addedlinks.txt"): appending the user's typed links, rewriting it
// after the user changed the list, and reading a text file of addresses to add.
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
        // A link holds a line break, which would split it over two lines of the file.
        LineBreak,
        // The file is not as it was read: another program changed it since. Nothing was written.
        ChangedOnDisk,
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

// Replaces the file with `links`, each as one line ended by CR LF, and answers the file's new
// content. The file must still hold `lastRead`, its content as last read or written (a missing file
// is empty); otherwise nothing is written. A failure leaves the file as it was.
Result<QByteArray, Problem> rewrite(const QString& dataFolder, const QStringList& links,
                                    const QByteArray& lastRead);

// The addresses of a text file to add to the list: one a line (UTF-8, or Windows-1252 when the
// file is not valid UTF-8; any line end), each without the blanks around it. Blank lines are
// skipped, and so is an address that `known` holds or an earlier line gave.
struct Import {
    QStringList links;
    int blankLines = 0;
    int known = 0; // lines skipped because the address was there already
};
Import importable(QByteArrayView content, const QStringList& known);

} // namespace AddedLinksFile
