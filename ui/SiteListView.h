#pragma once

#include "sites/AddedLinksFile.h"
#include "ui/DesktopOpener.h"

#include <QListView>

class QAction;
class QMenu;
class SiteListDisplayModel;
class SiteListModel;

// The site list on screen, with what the user does to it by mouse, keys and its context menu.
//
// A plain click on an entry, or a move onto it with the arrow keys, Page Up/Down, Home, End or by
// typing its first letters, chooses it (entryChosen: its page is to be shown). A click on an entry's
// check box only ticks or unticks it; Space ticks the current entry.
//
// Several entries can be selected, with Shift and Ctrl as in any list, without choosing them; a
// plain click or "Next" (selectEntry()) selects one again. The selection is what Delete removes; the
// other actions work on the current entry. Every entry offers "Open in Your Browser" and "Copy
// Address"; an added link also "Edit Link" (F2, edited in place), "Move Up" and "Move Down"
// (Ctrl+Up, Ctrl+Down), "Remove" (Delete), and "Use New Address" when its last check found it
// moved. The built-in sites offer only the first two: they cannot change. What a change could not do
// is told through message().
class SiteListView final : public QListView {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SiteListView)
public:
    SiteListView(SiteListModel& sites, DesktopOpener opener = DesktopOpener(), QWidget* parent = nullptr);

    // Makes `row` the one selected and current entry, and scrolls to it, without choosing it.
    void selectEntry(int row);
    // The rows selected, in list order.
    QList<int> selectedRows() const;

Q_SIGNALS:
    void entryChosen(int row);
    // A line for the status bar.
    void message(const QString& text);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    QAction* addAction(const char* name, const QString& text, const QKeySequence& keys,
                       void (SiteListView::*handler)());
    // Shows only the actions that the current entry and the selection allow.
    void updateActions();
    int currentRow() const;
    // Reports a change that could not be made; true when it was made.
    bool reportLinks(const Result<void, AddedLinksFile::Problem>& changed);

    void openInBrowser();
    void copyAddress();
    void editLink();
    void moveUp();
    void moveDown();
    void useNewAddress();
    void removeLinks();

    SiteListModel& m_sites;
    DesktopOpener m_opener;
    SiteListDisplayModel* m_display = nullptr;
    QMenu* m_menu = nullptr;
    QAction* m_open = nullptr;
    QAction* m_copy = nullptr;
    QAction* m_edit = nullptr;
    QAction* m_moveUp = nullptr;
    QAction* m_moveDown = nullptr;
    QAction* m_useNewAddress = nullptr;
    QAction* m_remove = nullptr;

    // The entry a mouse press was on: a click is a press and a release on one entry.
    QPersistentModelIndex m_pressed;
};
