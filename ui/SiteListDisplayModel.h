#pragma once

#include "sites/SiteCheck.h"

#include <QIdentityProxyModel>

class SiteListModel;

// The site list as the user sees it: the rows of a SiteListModel with their tooltips (when the
// entry was done, and for which product; what its last check found, and when) and their look: a
// site that did not answer is drawn grey, one that moved in italics.
class SiteListDisplayModel final : public QIdentityProxyModel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SiteListDisplayModel)
public:
    explicit SiteListDisplayModel(SiteListModel& sites, QObject* parent = nullptr);

    QVariant data(const QModelIndex& index, int role) const override;

    SiteListModel& sites() const { return m_sites; }

    // What a check found, as a phrase that ends a sentence: "no such host", "moved to ...".
    static QString describe(const SiteCheck& check);
    // "6 Dec 2026", in English like the rest of the window.
    static QString shownDay(QDate day);

private:
    QString toolTip(int row) const;

    SiteListModel& m_sites;
};
