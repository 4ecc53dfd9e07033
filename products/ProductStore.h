#pragma once

#include "core/Product.h"
#include "core/ProductFacts.h"
#include "core/Result.h"
#include "products/PadCopy.h"
#include "products/PadFile.h"
#include "products/ProductProfiles.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <optional>

// The one owner of the products: their profiles and the PAD files they keep in the data folder's
// Info (ProductProfiles, beside each profile its PAD copy), and the active product, whose facts the
// fill writes. The windows read and change the products only through it, and follow its signals.
//
// A product's files change together or not at all: a save or a delete that fails part way puts
// back every file it had changed, and says why. A rename carries the PAD copy along; a delete
// removes it with the profile.
//
// The active product is chosen by name. Its facts are read from its files when it is chosen and
// again whenever a save changes them, so an edit reaches the next fill at once; a delete leaves
// no product active. The product chosen last is recorded in the data folder and is active again
// at the next start: "lastproduct.txt", one line, its name as listed, UTF-8 with CR LF (an empty
// file, or none, records none).
class ProductStore final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ProductStore)
public:
    using Problem = ProductProfiles::Problem;

    // What the product editor's "OK" saves.
    struct Change {
        Product profile;
        // The listed name of the product edited; empty when a product is added. A different
        // profile.programName renames it.
        QString editedName = {};
        // Whether the product keeps `pad` from now on; when false, it keeps the PAD file it kept (a
        // rename carries it along), and a product added keeps none.
        bool padChanged = false;
        // The PAD file the product keeps, when padChanged; none drops the one it kept.
        std::optional<PadCopy> pad = {};
    };

    explicit ProductStore(QString dataFolder, QObject* parent = nullptr);

    // The listed products (ProductProfiles::list).
    QStringList names() const;
    // The profile of the product listed as `name`, or nothing when its file cannot be read.
    std::optional<Product> profile(const QString& name) const;
    // The PAD file that the product listed as `name` keeps; none when it keeps none, a problem when
    // its copy cannot be read or is no longer a PAD file that a product keeps.
    Result<std::optional<PadCopy>, PadFile::Problem> pad(const QString& name) const;

    // Saves a product: its profile, the PAD file it keeps, and on a rename the removal of the old
    // name's files. A profile saved under the name of another product replaces that product, PAD
    // file included.
    Result<void, Problem> save(const Change& change);
    // Deletes the product listed as `name`: its profile and its PAD copy. Done also when its files
    // are gone already.
    Result<void, Problem> remove(const QString& name);

    // Makes the product listed as `name` the active one, read from its files, and records it as
    // chosen last. False when its profile cannot be read: then nothing changes.
    bool choose(const QString& name);
    // At start: makes the product recorded as chosen last active, when its profile is still there.
    void restoreChosen();
    // The active product's name as listed; empty when none is active.
    QString activeName() const { return m_active ? m_active->name : QString(); }
    std::optional<ProductFacts> activeFacts() const;

Q_SIGNALS:
    // The listed products may have changed.
    void listChanged();
    // The active product changed: another one, none, or its facts or its name.
    void activeProductChanged();
    // A save renamed the product listed as `oldName`; it is listed as `newName` now. Comes before
    // the activeProductChanged() of the same save.
    void productRenamed(const QString& oldName, const QString& newName);
    // The product listed as `name` was deleted; `wasActive` when it was the active product, which
    // none is now.
    void productDeleted(const QString& name, bool wasActive);
    // The product chosen last (`name`; empty when none is chosen any more) could not be recorded
    // for the next start, for `reason`.
    void choiceNotRecorded(const QString& name, const QString& reason);

private:
    struct Active {
        QString name;
        ProductFacts facts;
    };

    std::optional<ProductFacts> readFacts(const QString& name) const;
    void setActive(const QString& name);
    void recordChoice(const QString& name);

    QString m_dataFolder;
    std::optional<Active> m_active;
};
