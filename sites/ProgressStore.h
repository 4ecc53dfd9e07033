#pragma once

#include "core/Result.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDate>
#include <QMap>
#include <QString>
#include <QStringList>
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
// content is safely on disk; a failed write leaves the old file as it was, and the store keeps the
// marks it could not save for the rest of the run: choosing another product and back, or a rename,
// finds them, and the product's next change saves them all. The data folder itself is never
// created; "Progress" is, when a mark is first saved.
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

    // Makes `name` the product whose marks are read and changed, with its marks as stored, or as
    // held since a save of them failed. Without a product (or with a name that cannot name a file)
    // the marks last for this run only.
    void setProduct(const std::optional<QString>& name);
    const std::optional<QString>& product() const { return m_product; }
    std::optional<QDate> markedOn(const QString& entry) const;

    // Marks `entry` done on `day`, or clears its mark when `day` is empty, and saves the product's
    // marks. The change stays in memory also when the save fails, and is saved with the next one.
    SaveResult setMark(const QString& entry, std::optional<QDate> day);

    // The marks of `name`: the current product's as held, another's as stored or held unsaved.
    Marks marksOf(const QString& name) const;
    // Every product that has marks: a marks file in "Progress", or marks held unsaved.
    QStringList productsWithMarks() const;

    // Gives `newEntry` the mark of `oldEntry`, with its day, for every product that has one and none
    // for `newEntry`, and for the marks without a product: an added link that was changed keeps its
    // marks. `oldEntry` keeps its marks too. The first save that failed, if any.
    SaveResult copyMarks(const QString& oldEntry, const QString& newEntry);

    // Carries the marks stored for the product `oldName` over to `newName`, after a rename of its
    // profile: they join the marks stored for `newName`, an entry marked under both keeping
    // `oldName`'s day, and `oldName`'s file goes once the joined marks are saved. When either name
    // is the current product's, the current product becomes `newName` with the joined marks.
    SaveResult renameProduct(const QString& oldName, const QString& newName);

private:
    // The marks file of `name`; empty when the name cannot name a file inside "Progress".
    QString marksFile(const QString& name) const;
    Marks read(const QString& name) const;
    // Saves the marks of `name`, or holds them unsaved when that fails.
    SaveResult write(const QString& name, const Marks& marks);

    QString m_dataFolder;
    std::optional<QString> m_product;
    Marks m_marks;
    // The marks without a product, while a product is current.
    Marks m_marksWithoutProduct;
    // Product -> marks whose last save failed.
    QMap<QString, Marks> m_unsaved;
};
