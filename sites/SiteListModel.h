#pragma once

#include "core/AppFolders.h"
#include "core/FileRules.h"
#include "core/Result.h"
#include "sites/AddedLinksFile.h"
#include "sites/ProgressStore.h"
#include "sites/SiteCheckResults.h"
#include "sites/SiteDirectory.h"

#include <QAbstractListModel>
#include <QList>
#include <optional>

// The site list as the author works through it: one row per entry of the site directory (the ten
// built-in sites, then the added links in file order), each with the current product's mark as its
// check state, and what the last check of its address found.
//
// A tick is setData(Qt::Checked or Qt::Unchecked, Qt::CheckStateRole): the entry is marked done
// today, or its mark is cleared, for the current product (ProgressStore), saved at once; markSaved()
// tells whether the save worked. Every row with the same text shares one mark.
//
// The added links can be edited (Qt::EditRole), removed and moved; the built-in rows cannot. Each
// such change rewrites the added-links file first (AddedLinksFile::rewrite) and changes the rows
// only once the file is written, so the list and the file never differ, and a failed change leaves
// both as they were. A removed link keeps its marks on disk, under its text; a changed one keeps them
// and takes them along to its new text (ProgressStore::copyMarks).
class SiteListModel final : public QAbstractListModel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SiteListModel)
public:
    using LinksResult = Result<void, AddedLinksFile::Problem>;

    // `marks` stays the caller's and must outlive the model. Reads nothing until load().
    SiteListModel(ProgressStore& marks, AppFolders folders, QObject* parent = nullptr);

    // Reads the site addresses, the added links and the results of the last check.
    void load();
    // Reads the added-links file anew, after it was appended to: the model is reset.
    void reloadAddedLinks();

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    const SiteDirectory::Entry& entry(int row) const;
    bool isAddedLink(int row) const;
    // What the entry stands for: the address a click opens, or else the one "Next" opens; empty
    // when it has none.
    QString address(int row) const;
    std::optional<QDate> markedOn(int row) const;
    // What the last check of the entry's address found; nothing when it was never checked.
    std::optional<SiteCheck> lastCheck(int row) const;

    // Makes `name` the product whose marks the rows show (see ProgressStore::setProduct).
    void setProduct(const std::optional<QString>& name);
    const std::optional<QString>& product() const { return m_marks.product(); }
    // Carries the marks of a renamed product over (ProgressStore::renameProduct) and shows them.
    ProgressStore::SaveResult renameProduct(const QString& oldName, const QString& newName);
    // How many rows are ticked.
    int doneCount() const;

    // Removes the added links among `rows`; other rows are left.
    LinksResult removeAddedLinks(const QList<int>& rows);
    // Makes the added link of `row` read `link`.
    LinksResult replaceAddedLink(int row, const QString& link);
    // Moves the added link of `row` one row up (`offset` -1) or down (+1), among the added links.
    LinksResult moveAddedLink(int row, int offset);
    bool canMove(int row, int offset) const;

    // Every address of the list, each once, in list order.
    QStringList addresses() const;
    // Records what the check of `address` found, for every row of that address.
    void setCheck(const QString& address, const SiteCheck& check);
    // Writes the check results of the addresses still in the list.
    Result<void, FileRules::FileProblem> saveChecks() const;

Q_SIGNALS:
    // After every tick or untick: whether its save worked.
    void markSaved(const ProgressStore::SaveResult& saved);
    // An edit through setData() could not be saved; the row is as it was.
    void linkEditFailed(const AddedLinksFile::Problem& problem);
    // The number of ticked rows, of rows, or the product may have changed.
    void doneCountChanged();

private:
    int firstAddedLinkRow() const;
    // Writes `links` as the added links; on success `change` changes the rows to match.
    LinksResult rewriteLinks(const QStringList& links, const std::function<void(const QByteArray&)>& change);
    // Every row may show something else: its addresses follow the added links.
    void refreshAllRows();

    ProgressStore& m_marks;
    AppFolders m_folders;
    SiteDirectory m_sites;
    SiteCheckResults m_checks;
};
