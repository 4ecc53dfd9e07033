#include "ui/SiteListView.h"

#include "sites/SiteDirectory.h"
#include "sites/SiteListModel.h"
#include "ui/LinkText.h"
#include "ui/SiteListDisplayModel.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>

SiteListView::SiteListView(SiteListModel& sites, DesktopOpener opener, QWidget* parent)
    : QListView(parent), m_sites(sites), m_opener(std::move(opener))
{
    m_display = new SiteListDisplayModel(sites, this);
    setModel(m_display);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::EditKeyPressed);
    setUniformItemSizes(true);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);

    m_menu = new QMenu(this);
    m_open = addAction("openInBrowserAction", tr("Open in Your Browser"), {}, &SiteListView::openInBrowser);
    m_copy =
        addAction("copyAddressAction", tr("Copy Address"), QKeySequence::Copy, &SiteListView::copyAddress);
    m_menu->addSeparator();
    m_edit = addAction("editLinkAction", tr("Edit Link"), QKeySequence(Qt::Key_F2), &SiteListView::editLink);
    m_moveUp =
        addAction("moveUpAction", tr("Move Up"), QKeySequence(Qt::CTRL | Qt::Key_Up), &SiteListView::moveUp);
    m_moveDown = addAction("moveDownAction", tr("Move Down"), QKeySequence(Qt::CTRL | Qt::Key_Down),
                           &SiteListView::moveDown);
    m_useNewAddress =
        addAction("useNewAddressAction", tr("Use New Address"), {}, &SiteListView::useNewAddress);
    m_remove = addAction("removeLinksAction", tr("Remove"), QKeySequence::Delete, &SiteListView::removeLinks);

    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, &SiteListView::updateActions);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &SiteListView::updateActions);
    connect(m_display, &QAbstractItemModel::dataChanged, this, &SiteListView::updateActions);
    connect(m_display, &QAbstractItemModel::modelReset, this, &SiteListView::updateActions);
    connect(&sites, &SiteListModel::linkEditFailed, this,
            [this](const AddedLinksFile::Problem& problem) { reportLinks(problem); });
    updateActions();
}

QAction* SiteListView::addAction(const char* name, const QString& text, const QKeySequence& keys,
                                 void (SiteListView::*handler)())
{
    auto* action = new QAction(text, this);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(keys);
    // The keys work while the list has the focus, and not while an entry is edited in place.
    action->setShortcutContext(Qt::WidgetShortcut);
    connect(action, &QAction::triggered, this, handler);
    QWidget::addAction(action);
    m_menu->addAction(action);
    return action;
}

void SiteListView::selectEntry(int row)
{
    const QModelIndex index = model()->index(row, 0);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    scrollTo(index);
}

QList<int> SiteListView::selectedRows() const
{
    QList<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedRows())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

int SiteListView::currentRow() const
{
    return currentIndex().isValid() ? currentIndex().row() : -1;
}

void SiteListView::updateActions()
{
    const int row = currentRow();
    const bool any = row >= 0;
    const bool added = any && m_sites.isAddedLink(row);
    const bool hasAddress = any && !m_sites.address(row).isEmpty();
    m_open->setEnabled(hasAddress);
    m_copy->setEnabled(hasAddress);
    m_edit->setVisible(added);
    m_moveUp->setVisible(added);
    m_moveDown->setVisible(added);
    m_moveUp->setEnabled(added && m_sites.canMove(row, -1));
    m_moveDown->setEnabled(added && m_sites.canMove(row, 1));
    const std::optional<SiteCheck> check = added ? m_sites.lastCheck(row) : std::nullopt;
    const bool moved = check && check->outcome == SiteCheck::Outcome::Moved;
    m_useNewAddress->setVisible(moved);
    if (moved)
        m_useNewAddress->setText(tr("Use New Address: %1").arg(check->detail));
    int removable = 0;
    for (const int selected : selectedRows()) {
        if (m_sites.isAddedLink(selected))
            ++removable;
    }
    m_remove->setVisible(removable > 0);
}

void SiteListView::mousePressEvent(QMouseEvent* event)
{
    m_pressed = indexAt(event->position().toPoint());
    QListView::mousePressEvent(event);
}

void SiteListView::mouseReleaseEvent(QMouseEvent* event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    const QVariant checkBefore = index.data(Qt::CheckStateRole);
    const bool plain = event->button() == Qt::LeftButton && event->modifiers() == Qt::NoModifier;
    const bool sameEntry = index.isValid() && index == m_pressed;
    m_pressed = QPersistentModelIndex();
    QListView::mouseReleaseEvent(event);
    // A click on the check box only ticks the entry, and does not select it either.
    const bool ticked = index.data(Qt::CheckStateRole) != checkBefore;
    if (plain && sameEntry && !ticked)
        Q_EMIT entryChosen(index.row());
}

void SiteListView::keyPressEvent(QKeyEvent* event)
{
    const QModelIndex before = currentIndex();
    QListView::keyPressEvent(event);
    // Shift and Ctrl with a move key extend the selection or move the focus only.
    const bool plain = !(event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier));
    if (plain && currentIndex().isValid() && currentIndex() != before && state() != EditingState)
        Q_EMIT entryChosen(currentIndex().row());
}

void SiteListView::contextMenuEvent(QContextMenuEvent* event)
{
    updateActions();
    m_menu->popup(event->globalPos());
}

bool SiteListView::reportLinks(const Result<void, AddedLinksFile::Problem>& changed)
{
    if (!changed)
        Q_EMIT message(tr("The links were not changed: %1.").arg(LinkText::reason(changed.problem())));
    return changed.ok();
}

void SiteListView::openInBrowser()
{
    if (const int row = currentRow(); row >= 0) {
        const QUrl url = SiteDirectory::webAddress(m_sites.address(row));
        if (!url.isValid() || !m_opener.open(url))
            Q_EMIT message(tr("%1 could not be opened in your browser.").arg(m_sites.address(row)));
    }
}

void SiteListView::copyAddress()
{
    if (const int row = currentRow(); row >= 0 && !m_sites.address(row).isEmpty())
        QGuiApplication::clipboard()->setText(m_sites.address(row));
}

void SiteListView::editLink()
{
    if (currentIndex().isValid() && m_sites.isAddedLink(currentRow()))
        edit(currentIndex());
}

void SiteListView::moveUp()
{
    reportLinks(m_sites.moveAddedLink(currentRow(), -1));
    scrollTo(currentIndex());
}

void SiteListView::moveDown()
{
    reportLinks(m_sites.moveAddedLink(currentRow(), 1));
    scrollTo(currentIndex());
}

void SiteListView::useNewAddress()
{
    const int row = currentRow();
    const std::optional<SiteCheck> check = row >= 0 ? m_sites.lastCheck(row) : std::nullopt;
    if (!check || check->outcome != SiteCheck::Outcome::Moved || !m_sites.isAddedLink(row))
        return;
    const SiteCheck answered{SiteCheck::Outcome::Reachable, {}, check->checkedOn};
    if (reportLinks(m_sites.replaceAddedLink(row, check->detail)))
        m_sites.setCheck(check->detail, answered);
}

void SiteListView::removeLinks()
{
    const QList<int> rows = selectedRows();
    const auto removable =
        std::find_if(rows.cbegin(), rows.cend(), [this](int row) { return m_sites.isAddedLink(row); });
    if (removable == rows.cend())
        return;
    const int first = *removable;
    if (reportLinks(m_sites.removeAddedLinks(rows)))
        selectEntry(std::min(first, m_sites.rowCount() - 1));
}
