#pragma once

#include "sites/SiteChecker.h"

#include <QWidget>

class QNetworkAccessManager;
class QProgressBar;
class QPushButton;
class SiteListModel;

// "Software > Check Sites" as it runs: tries every address of the site list in the background
// (SiteChecker) and shows, while it runs, a progress bar and "Cancel"; hidden otherwise. Each
// result goes to the list as it comes (a site that did not answer turns grey); at the end the
// results are saved in the data folder and message() sums them up. Checking changes no mark, link
// or the walk.
class SiteCheckBar final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SiteCheckBar)
public:
    SiteCheckBar(SiteListModel& sites, SiteCheckLimits limits, QWidget* parent = nullptr);

    // Checks every address of the list; nothing when a check is running.
    void start();
    bool isRunning() const;

Q_SIGNALS:
    void runningChanged(bool running);
    // A line for the status bar.
    void message(const QString& text);

private:
    void onChecked(const QString& address, const SiteCheck& check);
    void onFinished(bool cancelled);

    SiteListModel& m_sites;
    QNetworkAccessManager* m_network = nullptr;
    SiteChecker* m_checker = nullptr;
    QProgressBar* m_progress = nullptr;
    QPushButton* m_cancel = nullptr;
    int m_answered = 0;
    int m_moved = 0;
    int m_failed = 0;
};
