#pragma once

#include "core/AppFolders.h"
#include "core/SettingsFile.h"
#include "products/PadDownload.h"
#include "products/ProductStore.h"
#include "sites/ProgressStore.h"
#include "sites/SiteWalk.h"
#include "ui/DesktopOpener.h"
#include "ui/Twips.h"

#include <QHash>
#include <QMainWindow>
#include <QNetworkAccessManager>
#include <QPointer>
#include <QRectF>
#include <memory>
#include <optional>

class Browser;
class BrowserPane;
class BrowserSession;
class FillPass;
class AboutDialog;
class AddLinksDialog;
class ProductManagerDialog;
class QAction;
class QProgressBar;
class QPushButton;
class SiteCheckBar;
class SiteListModel;
class SiteListView;
class SiteOverview;

// The main window. The user walks the download sites with "Next": each press selects the next
// entry of the site list and loads its submission page in the browser on the left, and every page
// that finishes loading is filled from the active product. A click on an entry loads it without
// moving the walk on. "Add Links" adds sites of the user's own; the list's context menu and keys
// manage them (SiteListView). With "Software > Skip done sites" on, "Next" passes over the entries
// ticked for the active product; at the end of the list the status bar says so. A line under the
// list tells how many entries are done for the active product. "Software > Check Sites" tries every
// entry's address in the background (SiteCheckBar) while the window stays in use.
//
// The products and the active one are the ProductStore's: "Software > Select..." changes them, and
// the fill pass, the title and the check marks follow the store. The product chosen last is active
// again at the next start when its profile is still there.
//
// The check marks are the active product's progress (ProgressStore): ticking or unticking an entry
// marks or clears it, and sending a form that a pass filled marks the entry whose page is shown (also
// from a window that page opened); for
// that product, dated, saved at once; every entry with the same text shares the mark. Without a
// product, marks last for the run. A save that fails is told in the status bar and the list keeps
// its marks, also over a switch of product.
//
// Geometry is kept in twips (1/1440 inch), as single-precision values, and each control's twips
// rectangle is the one the layout reads back. On screen: Twips::rect (1/15 of a logical pixel).
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // Builds the window around `browser` (which it takes), shows the help page and loads the
    // site list. `folders` tells where the program's own files and the user's files are. The
    // controls carry object names for what they are: "browserPane" (BrowserPane, around the
    // page "browser"), "siteList", "siteOverview",
    // "progressBar", "nextButton", "addLinksButton", "siteCheckBar" (in the status bar), and the
    // menus' actions. Downloads are saved into `downloadFolder` (DownloadSaver); with none given,
    // they are refused. Programs opened for the user (the default browser) run in
    // `authorEnvironment`.
    MainWindow(AppFolders folders, std::unique_ptr<Browser> browser, const QString& downloadFolder = {},
               QProcessEnvironment authorEnvironment = QProcessEnvironment::systemEnvironment(),
               QWidget* parent = nullptr);
    ~MainWindow() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static constexpr float DesignInnerWidth = 12030;
    static constexpr float DesignInnerHeight = 8130;
    static constexpr float TwipsPerPixel = Twips::PerPixel;

    // "Next": moves the walk to the next entry (not ticked, with "Skip done sites") and loads its
    // site. At the end of the list it stays and the status bar says so.
    void goToNextSite();
    // "Add Links": lets the user append links, then rebuilds the site list however the dialog closed.
    void openAddLinks();
    // "Skip done sites", remembered in the settings file.
    void setSkipDoneSites(bool on);
    void openProductManager();
    void openAbout();
    // A control's geometry in twips, relative to the inner area.
    QRectF twipsGeometry(const QWidget* control) const;

    void buildMenus();
    void loadSites();
    // The resize rule: the browser takes what the list column leaves; too small a window keeps
    // the last layout.
    void layOutControls();
    void onLoadProgress(int progress, int progressMax);
    void onPageLoaded();
    void place(QWidget* control, float left, float top, float width, float height);
    float twipsWidth(const QWidget* control) const { return twipsGeometry(control).width(); }
    float twipsHeight(const QWidget* control) const { return twipsGeometry(control).height(); }
    // The height a list box really takes when asked for `height` twips: whole rows only.
    float snappedListHeight(float height) const;
    // Loads what a click on entry `row` opens, or with `walking` what "Next" onto it opens (see
    // SiteDirectory::Entry), if anything, and remembers the entry.
    void navigateToEntry(int row, bool walking);
    // Follows the store's active product: the fill pass, the title and the marks. With none,
    // passes write nothing.
    void showActiveProduct();
    // Tells in the status bar when a mark could not be saved.
    void onMarkSaved(const ProgressStore::SaveResult& saved);
    void onFilledFormSubmitted(const QString& site);
    // Carries the marks of a renamed product over to its new name.
    void onProductRenamed(const QString& oldName, const QString& newName);

    DesktopOpener m_opener;
    AppFolders m_folders;
    ProgressStore m_progressStore;
    SettingsFile m_settings;
    ProductStore m_products;
    QNetworkAccessManager m_network;
    PadDownload m_padDownload;
    std::unique_ptr<Browser> m_browser;
    std::unique_ptr<FillPass> m_fillPass;
    // The pages' own windows; they go before the browser does.
    std::unique_ptr<BrowserSession> m_session;
    QWidget* m_inner = nullptr;
    QPointer<QWidget> m_browserWidget; // the browser pane: the page with its bars
    SiteListModel* m_siteModel = nullptr;
    SiteWalk* m_walk = nullptr;
    SiteListView* m_siteList = nullptr;
    SiteOverview* m_overview = nullptr;
    QAction* m_skipDone = nullptr;
    SiteCheckBar* m_checkBar = nullptr;
    QProgressBar* m_progress = nullptr;
    QPushButton* m_next = nullptr;
    QPushButton* m_addLinks = nullptr;
    QHash<const QWidget*, QRectF> m_twips;
    // Knows the entry whose address the browser was last sent to: a form sent from its page, or
    // from a window its page opened, ticks it.
    BrowserPane* m_pane = nullptr;

    std::unique_ptr<ProductManagerDialog> m_productManager;
    std::unique_ptr<AddLinksDialog> m_addLinksDialog;
    std::unique_ptr<AboutDialog> m_about;
};
