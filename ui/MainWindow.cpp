#include "ui/MainWindow.h"

#include "autofill/Browser.h"
#include "autofill/FillPass.h"
#include "core/AppFolder.h"
#include "ui/AboutDialog.h"
#include "ui/AddLinksDialog.h"
#include "ui/KeptSelectionList.h"
#include "ui/ProductManagerDialog.h"
#include "ui/Twips.h"
#include "ui/VendorSite.h"

#include <QDesktopServices>
#include <QEvent>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QMenuBar>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QUrl>
#include <algorithm>
#include <cmath>

namespace {

// Where a site-list entry keeps the address a click opens, and the one "Next" opens.
constexpr int kAddressRole = Qt::UserRole;
constexpr int kWalkAddressRole = Qt::UserRole + 1;

// "6 Dec 2026", in English like the rest of the window.
QString shownDay(QDate day)
{
    return QLocale::c().toString(day, QStringLiteral("d MMM yyyy"));
}

} // namespace

MainWindow::MainWindow(AppFolders folders, std::unique_ptr<Browser> browser, QWidget* parent)
    : QMainWindow(parent), m_folders(std::move(folders)), m_progressStore(m_folders.dataFolder()),
      m_products(m_folders.dataFolder()), m_padDownload(m_network), m_browser(std::move(browser))
{
    setWindowTitle(tr("Formtide"));
    setObjectName(QStringLiteral("mainWindow"));

    m_inner = new QWidget(this);
    // The window's own surface (margins and gaps between the controls) shows a cross-hair.
    m_inner->setCursor(Qt::CrossCursor);
    setCentralWidget(m_inner);

    m_browserWidget = m_browser->widget();
    m_browserWidget->setParent(m_inner);
    m_browserWidget->setObjectName(QStringLiteral("browser"));

    m_siteList = new KeptSelectionList(m_inner);
    m_siteList->setObjectName(QStringLiteral("siteList"));
    m_siteList->setFont(QFont(QStringLiteral("Verdana"), 9));
    m_siteList->setUniformItemSizes(true);
    m_siteList->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);

    m_progress = new QProgressBar(m_inner);
    m_progress->setObjectName(QStringLiteral("progressBar"));
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_progress->setTextVisible(false);

    m_next = new QPushButton(tr("Next"), m_inner);
    m_next->setObjectName(QStringLiteral("nextButton"));
    m_addLinks = new QPushButton(tr("Add Links"), m_inner);
    m_addLinks->setObjectName(QStringLiteral("addLinksButton"));

    for (QWidget* control : {static_cast<QWidget*>(m_browserWidget), static_cast<QWidget*>(m_siteList),
                             static_cast<QWidget*>(m_progress), static_cast<QWidget*>(m_next),
                             static_cast<QWidget*>(m_addLinks)})
        control->setCursor(Qt::ArrowCursor);

    setTabOrder(m_browserWidget, m_siteList);
    setTabOrder(m_siteList, m_next);
    setTabOrder(m_next, m_progress);
    setTabOrder(m_progress, m_addLinks);

    // Design geometry; the resize rule places everything anew when the window is shown.
    place(m_browserWidget, 60, 60, 7995, 7935);
    place(m_siteList, 8640, 60, 3315, 6300);
    place(m_next, 9180, 7560, 1335, 375);
    place(m_progress, 8640, 6540, 3315, 255);
    place(m_addLinks, 10560, 7560, 1335, 375);

    buildMenus();

    m_fillPass = std::make_unique<FillPass>(*m_browser);

    connect(m_next, &QPushButton::clicked, this, &MainWindow::goToNextSite);
    connect(m_addLinks, &QPushButton::clicked, this, &MainWindow::openAddLinks);
    // The user's own changes of the selection; the program selects with the list's signals blocked.
    connect(m_siteList, &QListWidget::itemSelectionChanged, this, &MainWindow::showSelectedSite);
    connect(m_siteList, &QListWidget::itemClicked, this, &MainWindow::onListItemClicked);
    connect(m_siteList, &QListWidget::itemChanged, this, &MainWindow::onSiteItemChanged);
    m_siteList->viewport()->installEventFilter(this);
    m_inner->installEventFilter(this);

    connect(m_browser.get(), &Browser::loadProgress, this, &MainWindow::onLoadProgress);
    connect(m_browser.get(), &Browser::pageLoaded, this, &MainWindow::onPageLoaded);
    connect(m_browser.get(), &Browser::filledFormSubmitted, this, &MainWindow::onFilledFormSubmitted);

    // The status bar says what the fill did to the page shown; a failed save is told over it for a
    // while, without stopping the user.
    statusBar()->setObjectName(QStringLiteral("statusBar"));
    m_fillStatus = new QLabel(statusBar());
    m_fillStatus->setObjectName(QStringLiteral("fillStatus"));
    m_fillStatus->setTextFormat(Qt::PlainText);
    statusBar()->addWidget(m_fillStatus, 1);
    connect(m_fillPass.get(), &FillPass::finished, this, [this](const FillReport& report) {
        if (m_fillSummary.add(report))
            m_fillStatus->setText(m_fillSummary.text(m_products.activeName()));
    });
    resize(Twips::toPixels(DesignInnerWidth), Twips::toPixels(DesignInnerHeight) +
                                                  menuBar()->sizeHint().height() +
                                                  statusBar()->sizeHint().height());
    loadSites();

    connect(&m_products, &ProductStore::activeProductChanged, this, &MainWindow::showActiveProduct);
    connect(&m_products, &ProductStore::productRenamed, this, &MainWindow::onProductRenamed);
    connect(&m_products, &ProductStore::productDeleted, this, [this](const QString& name, bool wasActive) {
        if (wasActive)
            statusBar()->showMessage(
                tr("%1 is deleted, so no product is chosen: choose one with Software > Select...").arg(name));
    });
    connect(&m_products, &ProductStore::choiceNotRecorded, this,
            [this](const QString& name, const QString& reason) {
                statusBar()->showMessage(
                    name.isEmpty()
                        ? tr("The product chosen last could not be forgotten (%1).").arg(reason)
                        : tr("%1 could not be remembered for the next start (%2).").arg(name, reason));
            });
    m_products.restoreChosen();
}

MainWindow::~MainWindow()
{
    // The fill pass and the browser outlive the widgets they talk to only until here.
    m_fillPass.reset();
}

void MainWindow::buildMenus()
{
    QMenu* file = menuBar()->addMenu(tr("File"));
    file->setObjectName(QStringLiteral("fileMenu"));
    QAction* exitAction = file->addAction(tr("Exit"));
    exitAction->setObjectName(QStringLiteral("exitAction"));
    connect(exitAction, &QAction::triggered, this, &MainWindow::close);

    QMenu* software = menuBar()->addMenu(tr("Software"));
    software->setObjectName(QStringLiteral("softwareMenu"));
    QAction* select = software->addAction(tr("Select..."));
    select->setObjectName(QStringLiteral("selectProductAction"));
    connect(select, &QAction::triggered, this, &MainWindow::openProductManager);
    // For a page that reset its form, or after another product was chosen. Ctrl+Shift+F reaches
    // the window also while the page has the focus: the page keeps only its editing keys.
    QAction* fillAgain = software->addAction(tr("Fill Again"));
    fillAgain->setObjectName(QStringLiteral("fillAgainAction"));
    fillAgain->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F));
    connect(fillAgain, &QAction::triggered, this, [this] { m_fillPass->run(); });

    QMenu* help = menuBar()->addMenu(tr("Help"));
    help->setObjectName(QStringLiteral("helpMenu"));
    QAction* online = help->addAction(tr("Online Help"));
    online->setObjectName(QStringLiteral("onlineHelpAction"));
    connect(online, &QAction::triggered, this,
            [] { QDesktopServices::openUrl(QUrl(VendorSite::onlineHelp())); });
    QAction* web = help->addAction(tr("Home Page"));
    web->setObjectName(QStringLiteral("homePageAction"));
    connect(web, &QAction::triggered, this, [] { QDesktopServices::openUrl(QUrl(VendorSite::homePage())); });
    QAction* about = help->addAction(tr("About"));
    about->setObjectName(QStringLiteral("aboutAction"));
    connect(about, &QAction::triggered, this, &MainWindow::openAbout);
}

void MainWindow::loadSites()
{
    // The help page stays while the first entry is selected: the walk starts from there.
    m_browser->navigate(AppFolder::path(m_folders.programFolder(), AppFolder::helpPage()));
    m_session.sites.loadSiteAddresses(m_folders.programFolder());
    m_session.sites.loadAddedLinks(m_folders.dataFolder());
    showSiteEntries();
    const QSignalBlocker blocker(m_siteList);
    m_siteList->setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
}

void MainWindow::showSiteEntries()
{
    // Rebuilt whole: no entry is selected afterwards, and no site is shown for that.
    const QSignalBlocker blocker(m_siteList);
    m_siteList->clear();
    for (const SiteDirectory::Entry& entry : m_session.sites.entries()) {
        auto* item = new QListWidgetItem(entry.text);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
        item->setData(kAddressRole, entry.address);
        item->setData(kWalkAddressRole, entry.walkAddress);
        m_siteList->addItem(item);
    }
    showMarks();
}

void MainWindow::layOutControls()
{
    const QSize inner = m_inner->size();
    const float W = static_cast<float>(inner.width()) * TwipsPerPixel;
    const float H = static_cast<float>(inner.height()) * TwipsPerPixel;
    if (H < 5000)
        return;
    if (W < 5000)
        return;
    place(m_browserWidget, 10, 10, W - twipsWidth(m_siteList) - 100, H - 100);
    const float browserWidth = twipsWidth(m_browserWidget);
    place(m_siteList, browserWidth + 50, 10, twipsWidth(m_siteList), H - 800);
    const float listHeight = twipsHeight(m_siteList);
    place(m_progress, browserWidth + 50, listHeight + 100, twipsWidth(m_siteList), twipsHeight(m_progress));
    place(m_next, browserWidth + 200, listHeight + 450, twipsWidth(m_next), twipsHeight(m_next));
    place(m_addLinks, browserWidth + 400 + twipsWidth(m_next), listHeight + 450, twipsWidth(m_addLinks),
          twipsHeight(m_addLinks));
}

void MainWindow::goToNextSite()
{
    // "Next" on the last entry stays there: there is no entry after it to walk to.
    if (m_session.currentSiteIndex >= m_siteList->count() - 1)
        return;
    ++m_session.currentSiteIndex;
    openEntry(m_session.currentSiteIndex, kWalkAddressRole);
}

void MainWindow::openAddLinks()
{
    if (!m_addLinksDialog)
        m_addLinksDialog = std::make_unique<AddLinksDialog>(m_folders.dataFolder());
    m_addLinksDialog->adjustSize();
    m_addLinksDialog->move(frameGeometry().center() - m_addLinksDialog->rect().center());
    m_addLinksDialog->exec();
    m_session.sites.loadAddedLinks(m_folders.dataFolder());
    showSiteEntries();
    // The file may have been shortened meanwhile: the walk goes on from inside the list.
    m_session.currentSiteIndex = std::min(m_session.currentSiteIndex, m_siteList->count() - 1);
}

void MainWindow::showSelectedSite()
{
    if (const int row = selectedSiteRow(); row >= 0)
        navigateToEntry(row, kAddressRole);
}

void MainWindow::openEntry(int row, int addressRole)
{
    if (row < 0 || row >= m_siteList->count())
        return;
    {
        const QSignalBlocker blocker(m_siteList);
        m_siteList->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
    }
    navigateToEntry(row, addressRole);
}

void MainWindow::navigateToEntry(int row, int addressRole)
{
    const QString address = m_siteList->item(row)->data(addressRole).toString();
    if (address.isEmpty())
        return;
    m_shownEntry = m_siteList->item(row)->text();
    m_browser->navigate(address);
}

void MainWindow::onLoadProgress(int progress, int progressMax)
{
    // Each property on its own: a value the bar cannot take leaves that property as it was.
    if (progressMax > m_progress->minimum())
        m_progress->setMaximum(progressMax);
    if (progress >= m_progress->minimum() && progress <= m_progress->maximum())
        m_progress->setValue(progress);
    m_progress->repaint();
}

void MainWindow::onPageLoaded()
{
    m_fillPass->run();
}

void MainWindow::openProductManager()
{
    if (!m_productManager)
        m_productManager = std::make_unique<ProductManagerDialog>(m_products, m_padDownload);
    m_productManager->exec();
}

void MainWindow::onProductRenamed(const QString& oldName, const QString& newName)
{
    if (const ProgressStore::SaveResult saved = m_progressStore.renameProduct(oldName, newName); !saved.ok())
        statusBar()->showMessage(
            tr("The marks of %1 could not be carried over to %2 (%3); they stay under %1.")
                .arg(oldName, newName, saved.problem().detail));
    showMarks();
}

void MainWindow::showActiveProduct()
{
    const QString name = m_products.activeName();
    m_fillPass->setProduct(m_products.activeFacts());
    setWindowTitle(name.isEmpty() ? tr("Formtide") : tr("Formtide - %1").arg(name));
    // A rename has carried the marks over already, unsaved ones included.
    const std::optional<QString> product = name.isEmpty() ? std::nullopt : std::optional(name);
    if (m_progressStore.product() != product)
        m_progressStore.setProduct(product);
    showMarks();
}

void MainWindow::showMarks()
{
    const QSignalBlocker blocker(m_siteList);
    for (int row = 0; row < m_siteList->count(); ++row) {
        QListWidgetItem* item = m_siteList->item(row);
        const std::optional<QDate> day = m_progressStore.markedOn(item->text());
        item->setCheckState(day ? Qt::Checked : Qt::Unchecked);
        if (!day)
            item->setToolTip(QString());
        else if (!m_products.activeName().isEmpty())
            item->setToolTip(tr("Done for %1 on %2").arg(m_products.activeName(), shownDay(*day)));
        else
            item->setToolTip(tr("Done on %1, for this run only: no product is chosen").arg(shownDay(*day)));
    }
}

void MainWindow::markSite(const QString& entry, bool done)
{
    const ProgressStore::SaveResult saved =
        m_progressStore.setMark(entry, done ? std::optional(QDate::currentDate()) : std::nullopt);
    showMarks();
    if (saved.ok())
        statusBar()->clearMessage();
    else
        statusBar()->showMessage(
            tr("The marks for %1 could not be saved (%2). The list keeps them, and the "
               "next change saves them all.")
                .arg(m_progressStore.product().value_or(QString()), saved.problem().detail));
}

void MainWindow::onSiteItemChanged(QListWidgetItem* item)
{
    const bool ticked = item->checkState() == Qt::Checked;
    if (ticked != m_progressStore.markedOn(item->text()).has_value())
        markSite(item->text(), ticked);
}

void MainWindow::onFilledFormSubmitted()
{
    // The entry whose page the form came from, also when "Add Links" has left none selected since.
    if (m_shownEntry)
        markSite(*m_shownEntry, true);
}

void MainWindow::openAbout()
{
    if (!m_about)
        m_about = std::make_unique<AboutDialog>();
    m_about->exec();
}

int MainWindow::selectedSiteRow() const
{
    const QList<QListWidgetItem*> selected = m_siteList->selectedItems();
    return selected.isEmpty() ? -1 : m_siteList->row(selected.first());
}

QRectF MainWindow::twipsGeometry(const QWidget* control) const
{
    return m_twips.value(control);
}

void MainWindow::place(QWidget* control, float left, float top, float width, float height)
{
    if (control == m_siteList)
        height = snappedListHeight(height);
    m_twips.insert(control, QRectF(left, top, width, height));
    control->setGeometry(Twips::rect(left, top, width, height));
}

float MainWindow::snappedListHeight(float height) const
{
    const int frame = 2 * m_siteList->frameWidth();
    int row = m_siteList->count() > 0 ? m_siteList->sizeHintForRow(0) : 0;
    if (row <= 0)
        row = m_siteList->fontMetrics().height() + 2;
    const int available = static_cast<int>(std::floor(height / TwipsPerPixel)) - frame;
    const int rows = available > 0 ? available / row : 0;
    return static_cast<float>(rows * row + frame) * TwipsPerPixel;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_inner && event->type() == QEvent::Resize) {
        layOutControls();
    } else if (watched == m_siteList->viewport() && event->type() == QEvent::MouseButtonPress) {
        const auto* press = static_cast<QMouseEvent*>(event);
        m_rowSelectedAtPress = selectedSiteRow();
        const QListWidgetItem* item = m_siteList->itemAt(press->position().toPoint());
        m_checkAtPress = item ? item->checkState() : Qt::Unchecked;
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::onListItemClicked(QListWidgetItem* item)
{
    // A click that selected another entry has shown its site through the selection change
    // already; one that only toggled a check mark is not a click on the entry.
    if (m_siteList->row(item) == m_rowSelectedAtPress && item->checkState() == m_checkAtPress)
        showSelectedSite();
}
