#pragma once

#include "core/Result.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDate>
#include <QMap>
#include <QString>
#include <optional>

// Where the author stands: for each product the entries of the site list that are done (the list's
// check marks), each with the day it was marked.
//
// They live in the data folder, as UTF-8 text with CR LF line ends (any line end reads):
// "Progress/<product name>.txt": one line per mark, the day as yyyy-mm-dd, one space, and the
//   entry's text exactly as the list shows it (a built-in site's name, or the added link itself),
//   for example "2026-12-06 http://www.example.com/submit.html". Lines are sorted by entry.
//   Reading skips every line that is not of that form (a damaged line) and keeps the first mark of
//   an entry listed twice, so a missing, empty or damaged file reads as the marks it still holds.
//
// A product's marks file outlives the product: deleting a profile leaves it, so the marks are back
// when a product of that name is added again. Every write replaces its file only once the new
// content is safely on disk; a failed write leaves the old file as it was. The data folder itself
// is never created; "Progress" is, when a mark is first saved.
class ProgressStore final {
public:
    // Entry text -> the day it was marked done.
    using Marks = QMap<QString, QDate>;

    // The file, or the folder "Progress", could not be written; it is as it was before.
    struct Problem {
        // The file system's description of the failure.
        QString detail;
    };
    using SaveResult = Result<void, Problem>;

    explicit ProgressStore(QString dataFolder);

    static Marks parse(QByteArrayView content);
    static QByteArray serialize(const Marks& marks);

    // Makes `name` the product whose marks are read and changed, with its marks as stored. Without
    // a product (or with a name that cannot name a file) there are no marks at first, and changes
    // last for this run only.
    void setProduct(const std::optional<QString>& name);
    const std::optional<QString>& product() const { return m_product; }
    std::optional<QDate> markedOn(const QString& entry) const;

    // Marks `entry` done on `day`, or clears its mark when `day` is empty, and saves the product's
    // marks. The change stays in memory also when the save fails, and is saved with the next one.
    SaveResult setMark(const QString& entry, std::optional<QDate> day);

    // Carries the marks stored for the product `oldName` over to `newName`, after a rename of its
    // profile: they join the marks stored for `newName`, an entry marked under both keeping
    // `oldName`'s day, and `oldName`'s file goes once the joined marks are saved. When either name
    // is the current product's, the current product becomes `newName` with the joined marks.
    SaveResult renameProduct(const QString& oldName, const QString& newName);

private:
    // The marks file of `name`; empty when the name cannot name a file inside "Progress".
    QString marksFile(const QString& name) const;
    Marks read(const QString& name) const;
    SaveResult write(const QString& name, const Marks& marks) const;

    QString m_dataFolder;
    std::optional<QString> m_product;
    Marks m_marks;
};
