#pragma once

#include <QLabel>

class SiteListModel;

// One line under the site list on how far the current product has got: "41 of 300 done for
// Zipper Pro", kept up to date as marks change, links come and go and products switch.
class SiteOverview final : public QLabel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SiteOverview)
public:
    SiteOverview(const SiteListModel& sites, QWidget* parent = nullptr);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void showCount();
    // The line, cut to fit, with the whole line as its tip.
    void showLine();

    const SiteListModel& m_sites;
    QString m_line;
};
