#include "ui/MainWindow.h"

#include "autofill/Browser.h"
#include "autofill/FillPass.h"
#include "core/AppFolder.h"
#include "sites/SiteListModel.h"
#include "ui/AboutDialog.h"
#include "ui/AddLinksDialog.h"
#include "ui/BrowserPane.h"
#include "ui/BrowserSession.h"
#include "ui/DownloadSaver.h"
#include "ui/FillStatusLabel.h"
#include "ui/PopupNotice.h"
#include "ui/ProductManagerDialog.h"
#include "ui/ProgressExporter.h"
#include "ui/SiteCheckBar.h"
#include "ui/SiteListView.h"
#include "ui/SiteOverview.h"
#include "ui/Twips.h"
#include "ui/VendorSite.h"

#include <QEvent>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <algorithm>
#include <cmath>

namespace {

// The line under the site list that tells how far the product has got, in twips.
constexpr float kOverviewHeight = 255;

// The settings file's name for "Skip done sites".
const QString kSkipDoneSetting = QStringLiteral("skip-done-sites");

} // namespace

MainWindow::MainWindow(AppFolders folders, std::unique_ptr<Browser> browser, const QString& downloadFolder,
                       QProcessEnvironment authorEnvironment, QWidget* parent)
    : QMainWindow(parent), m_opener(std::move(authorEnvironment)), m_folders(std::move(folders)),
      m_progressStore(m_folders.dataFolder()),
      m_settings(AppFolder::path(m_folders.dataFolder(), AppFolder::settingsFile())),
      m_products(m_folders.dataFolder()), m_padDownload(m_network), m_browser(std::move(browser))
{
    setWindowTitle(tr("Formtide"));
    setObjectName(QStringLiteral("mainWindow"));

    m_inner = new QWidget(this);
    // The window's own surface (margins and gaps between the controls) shows a cross-hair.
    m_inner->setCursor(Qt::CrossCursor);
    setCentralWidget(m_inner);

    m_session = std::make_unique<BrowserSession>(m_folders.dataFolder(), m_opener, this);
    auto* pane = new BrowserPane(*m_browser, *m_session, m_inner);
    m_pane = pane;
    m_browserWidget = pane;

    m_siteModel = new SiteListModel(m_progressStore, m_folders, this);
    m_walk = new SiteWalk(*m_siteModel, this);
    m_siteList = new SiteListView(*m_siteModel, m_opener, m_inner);
    m_siteList->setObjectName(QStringLiteral("siteList"));
    m_siteList->setFont(QFont(QStringLiteral("Verdana"), 9));
    m_overview = new SiteOverview(*m_siteModel, m_inner);
    m_overview->setObjectName(QStringLiteral("siteOverview"));

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
                             static_cast<QWidget*>(m_overview), static_cast<QWidget*>(m_progress),
                             static_cast<QWidget*>(m_next), static_cast<QWidget*>(m_addLinks)})
        control->setCursor(Qt::ArrowCursor);

    setTabOrder(m_browserWidget, m_siteList);
    setTabOrder(m_siteList, m_next);
    setTabOrder(m_next, m_progress);
    setTabOrder(m_progress, m_addLinks);

    // Design geometry; the resize rule places everything anew when the window is shown.
    place(m_browserWidget, 60, 60, 7995, 7935);
    place(m_siteList, 8640, 60, 3315, 6300 - kOverviewHeight);
    place(m_overview, 8640, 6315 - kOverviewHeight, 3315, kOverviewHeight);
    place(m_next, 9180, 7560, 1335, 375);
    place(m_progress, 8640, 6540, 3315, 255);
    place(m_addLinks, 10560, 7560, 1335, 375);

    // While the sites are checked: a progress bar and "Cancel" at the status bar's right end.
    m_checkBar = new SiteCheckBar(*m_siteModel, SiteCheckLimits{}, this);
    m_checkBar->setObjectName(QStringLiteral("siteCheckBar"));
    connect(m_checkBar, &SiteCheckBar::message, this,
            [this](const QString& text) { statusBar()->showMessage(text); });
    buildMenus();

    m_fillPass = std::make_unique<FillPass>(*m_browser);

    connect(m_next, &QPushButton::clicked, this, &MainWindow::goToNextSite);
    connect(m_addLinks, &QPushButton::clicked, this, &MainWindow::openAddLinks);
    connect(m_siteList, &SiteListView::entryChosen, this, [this](int row) { navigateToEntry(row, false); });
    connect(m_siteList, &SiteListView::message, this,
            [this](const QString& text) { statusBar()->showMessage(text); });
    connect(m_siteModel, &SiteListModel::markSaved, this, &MainWindow::onMarkSaved);
    m_inner->installEventFilter(this);

    connect(m_browser.get(), &Browser::loadProgress, this, &MainWindow::onLoadProgress);
    connect(m_browser.get(), &Browser::pageLoaded, this, &MainWindow::onPageLoaded);
    connect(m_browser.get(), &Browser::filledFormSubmitted, this,
            [this] { onFilledFormSubmitted(m_pane->site()); });
    connect(m_session.get(), &BrowserSession::filledFormSubmitted, this, &MainWindow::onFilledFormSubmitted);

    // The status bar says what the fill did to the page shown; a failed save is told over it for a
    // while, without stopping the user.
    statusBar()->setObjectName(QStringLiteral("statusBar"));
    statusBar()->addWidget(new FillStatusLabel(*m_fillPass, *m_session, statusBar()), 1);
    statusBar()->addWidget(pane->popupNotice());
    connect(pane, &BrowserPane::message, this,
            [this](const QString& text) { statusBar()->showMessage(text); });
    // One saver for the profile, which the pages' own windows share.
    if (auto* view = qobject_cast<QWebEngineView*>(m_browser->widget())) {
        auto* downloads = new DownloadSaver(*view->page()->profile(), downloadFolder, this);
        connect(downloads, &DownloadSaver::message, this,
                [this](const QString& text) { statusBar()->showMessage(text); });
    }
    statusBar()->addPermanentWidget(m_checkBar);
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
    m_session.reset();
}

void MainWindow::buildMenus()
{
    QMenu* file = menuBar()->addMenu(tr("File"));
    file->setObjectName(QStringLiteral("fileMenu"));
    QAction* exportProgress = file->addAction(tr("Export Progress..."));
    exportProgress->setObjectName(QStringLiteral("exportProgressAction"));
    auto* exporter = new ProgressExporter(*m_siteModel, m_progressStore, m_folders.dataFolder(), this);
    connect(exporter, &ProgressExporter::message, this,
            [this](const QString& text) { statusBar()->showMessage(text); });
    connect(exportProgress, &QAction::triggered, exporter, &ProgressExporter::chooseFile);
    file->addSeparator();
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
    software->addSeparator();
    m_skipDone = software->addAction(tr("Skip done sites"));
    m_skipDone->setObjectName(QStringLiteral("skipDoneAction"));
    m_skipDone->setCheckable(true);
    m_skipDone->setChecked(m_settings.isOn(kSkipDoneSetting, false));
    connect(m_skipDone, &QAction::toggled, this, &MainWindow::setSkipDoneSites);
    QAction* checkSites = software->addAction(tr("Check Sites"));
    checkSites->setObjectName(QStringLiteral("checkSitesAction"));
    connect(checkSites, &QAction::triggered, m_checkBar, &SiteCheckBar::start);
    connect(m_checkBar, &SiteCheckBar::runningChanged, checkSites, &QAction::setDisabled);

    QMenu* help = menuBar()->addMenu(tr("Help"));
    help->setObjectName(QStringLiteral("helpMenu"));
    QAction* online = help->addAction(tr("Online Help"));
    online->setObjectName(QStringLiteral("onlineHelpAction"));
    connect(online, &QAction::triggered, this, [this] { m_opener.open(QUrl(VendorSite::onlineHelp())); });
    QAction* web = help->addAction(tr("Home Page"));
    web->setObjectName(QStringLiteral("homePageAction"));
    connect(web, &QAction::triggered, this, [this] { m_opener.open(QUrl(VendorSite::homePage())); });
    QAction* about = help->addAction(tr("About"));
    about->setObjectName(QStringLiteral("aboutAction"));
    connect(about, &QAction::triggered, this, &MainWindow::openAbout);
}

void MainWindow::loadSites()
{
    // The help page stays while the first entry is selected: the walk starts from there.
    m_browser->navigate(AppFolder::path(m_folders.programFolder(), AppFolder::helpPage()));
    m_siteModel->load();
    m_siteList->selectEntry(0);
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
    // The overview's line is taken from the list's height; what lies below keeps its place.
    place(m_siteList, browserWidth + 50, 10, twipsWidth(m_siteList), H - 800 - kOverviewHeight);
    const float listHeight = twipsHeight(m_siteList) + kOverviewHeight;
    place(m_overview, browserWidth + 50, listHeight + 55 - kOverviewHeight, twipsWidth(m_siteList),
          kOverviewHeight);
    place(m_progress, browserWidth + 50, listHeight + 100, twipsWidth(m_siteList), twipsHeight(m_progress));
    place(m_next, browserWidth + 200, listHeight + 450, twipsWidth(m_next), twipsHeight(m_next));
    place(m_addLinks, browserWidth + 400 + twipsWidth(m_next), listHeight + 450, twipsWidth(m_addLinks),
          twipsHeight(m_addLinks));
}

void MainWindow::goToNextSite()
{
    const Result<int, SiteWalk::End> next = m_walk->next(m_skipDone->isChecked());
    if (next) {
        statusBar()->clearMessage();
        m_siteList->selectEntry(*next);
        navigateToEntry(*next, true);
        return;
    }
    const std::optional<QString>& product = m_siteModel->product();
    const int left = m_siteModel->rowCount() - m_siteModel->doneCount();
    switch (next.problem()) {
    case SiteWalk::End::AllDone:
        statusBar()->showMessage(product ? tr("Every site in the list is done for %1.").arg(*product)
                                         : tr("Every site in the list is ticked."));
        break;
    case SiteWalk::End::LastEntry:
        statusBar()->showMessage(tr("The end of the list. Not done yet: %n.", nullptr, left));
        break;
    }
}

void MainWindow::openAddLinks()
{
    if (!m_addLinksDialog) {
        m_addLinksDialog = std::make_unique<AddLinksDialog>(m_folders.dataFolder(), this);
        // The list is rebuilt from the file however the dialog closed; the walk stays inside it.
        connect(m_addLinksDialog.get(), &QDialog::finished, m_siteModel, &SiteListModel::reloadAddedLinks);
    }
    QStringList entries;
    for (int row = 0; row < m_siteModel->rowCount(); ++row)
        entries.append(m_siteModel->entry(row).text);
    m_addLinksDialog->setKnownLinks(entries);
    m_addLinksDialog->adjustSize();
    m_addLinksDialog->move(frameGeometry().center() - m_addLinksDialog->rect().center());
    m_addLinksDialog->open();
}

void MainWindow::setSkipDoneSites(bool on)
{
    if (const auto saved = m_settings.setOn(kSkipDoneSetting, on); !saved)
        statusBar()->showMessage(tr("\"Skip done sites\" could not be remembered for the next start (%1).")
                                     .arg(saved.problem().detail));
}

void MainWindow::navigateToEntry(int row, bool walking)
{
    const SiteDirectory::Entry& entry = m_siteModel->entry(row);
    const QString& address = walking ? entry.walkAddress : entry.address;
    if (address.isEmpty())
        return;
    m_pane->setSite(entry.text);
    m_browser->navigate(address);
}

void MainWindow::onLoadProgress(int progress, int progressMax)
{
    // Each property on its own: a value the bar cannot take leaves that property as it was.
    if (progressMax > m_progress->minimum())
        m_progress->setMaximum(progressMax);
    if (progress >= m_progress->minimum() && progress <= m_progress->maximum())
        m_progress->setValue(progress);
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
    if (const ProgressStore::SaveResult saved = m_siteModel->renameProduct(oldName, newName); !saved.ok())
        statusBar()->showMessage(
            tr("The marks of %1 could not be carried over to %2 (%3); they stay under %1.")
                .arg(oldName, newName, saved.problem().detail));
}

void MainWindow::showActiveProduct()
{
    const QString name = m_products.activeName();
    m_fillPass->setProduct(m_products.activeFacts());
    m_session->setProduct(name, m_products.activeFacts());
    setWindowTitle(name.isEmpty() ? tr("Formtide") : tr("Formtide - %1").arg(name));
    // A rename has carried the marks over already, unsaved ones included.
    const std::optional<QString> product = name.isEmpty() ? std::nullopt : std::optional(name);
    if (m_siteModel->product() != product)
        m_siteModel->setProduct(product);
}

void MainWindow::onMarkSaved(const ProgressStore::SaveResult& saved)
{
    if (saved.ok())
        statusBar()->clearMessage();
    else
        statusBar()->showMessage(
            tr("The marks for %1 could not be saved (%2). The list keeps them, and the "
               "next change saves them all.")
                .arg(m_progressStore.product().value_or(QString()), saved.problem().detail));
}

void MainWindow::onFilledFormSubmitted(const QString& site)
{
    if (site.isEmpty())
        return; // a page the site list did not open
    // The entry whose page the form came from, also when "Add Links" has left none selected since;
    // every entry of that text shares the mark.
    for (int row = 0; row < m_siteModel->rowCount(); ++row) {
        if (m_siteModel->entry(row).text == site) {
            m_siteModel->setData(m_siteModel->index(row), Qt::Checked, Qt::CheckStateRole);
            return;
        }
    }
}

void MainWindow::openAbout()
{
    if (!m_about)
        m_about = std::make_unique<AboutDialog>(m_opener);
    m_about->exec();
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
    int row = m_siteModel->rowCount() > 0 ? m_siteList->sizeHintForRow(0) : 0;
    if (row <= 0)
        row = m_siteList->fontMetrics().height() + 2;
    const int available = static_cast<int>(std::floor(height / TwipsPerPixel)) - frame;
    const int rows = available > 0 ? available / row : 0;
    return static_cast<float>(rows * row + frame) * TwipsPerPixel;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_inner && event->type() == QEvent::Resize)
        layOutControls();
    return QMainWindow::eventFilter(watched, event);
}
