#pragma once

#include "core/AppFolders.h"
#include "products/PadDownload.h"
#include "products/ProductStore.h"
#include "sites/ProgressStore.h"
#include "ui/FillSummary.h"
#include "ui/Session.h"
#include "ui/Twips.h"

#include <QHash>
#include <QMainWindow>
#include <QNetworkAccessManager>
#include <QPointer>
#include <QRectF>
#include <memory>
#include <optional>

class Browser;
class FillPass;
class AboutDialog;
class AddLinksDialog;
class ProductManagerDialog;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QProgressBar;
class QPushButton;

// The main window. The user walks the download sites with "Next": each press selects the next
// entry of the site list and loads its submission page in the browser on the left, and every page
// that finishes loading is filled from the active product. A click on an entry loads it without
// moving the walk on. "Add Links" adds sites of the user's own.
//
// The products and the active one are the ProductStore's: "Software > Select..." changes them, and
// the fill pass, the title and the check marks follow the store. The product chosen last is active
// again at the next start when its profile is still there.
//
// The check marks are the active product's progress (ProgressStore): ticking or unticking an entry
// marks or clears it, and sending a form that a pass filled marks the entry whose page is shown; for
// that product, dated, saved at once; every entry with the same text shares the mark. Without a product, marks last
// for the run. A save that fails is told in the status bar and the list keeps its marks.
//
// Geometry is kept in twips (1/1440 inch), as single-precision values, and each control's twips
// rectangle is the one the layout reads back. On screen: Twips::rect (1/15 of a logical pixel).
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // Builds the window around `browser` (which it takes), shows the help page and loads the
    // site list. `folders` tells where the program's own files and the user's files are. The
    // controls carry object names for what they are: "browser", "siteList", "progressBar",
    // "nextButton", "addLinksButton", and the menus' actions.
    MainWindow(AppFolders folders, std::unique_ptr<Browser> browser, QWidget* parent = nullptr);
    ~MainWindow() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static constexpr float DesignInnerWidth = 12030;
    static constexpr float DesignInnerHeight = 8130;
    static constexpr float TwipsPerPixel = Twips::PerPixel;

    // "Next": moves the walk to the next entry and loads its site. On the last entry it does nothing.
    void goToNextSite();
    // "Add Links": lets the user append links, then rebuilds the site list however the dialog closed.
    void openAddLinks();
    // Loads the address the selected entry opens (see SiteDirectory::Entry); nothing for an entry
    // without one.
    void showSelectedSite();
    // The selected entry's row, -1 when none.
    int selectedSiteRow() const;
    void openProductManager();
    void openAbout();
    // A control's geometry in twips, relative to the inner area.
    QRectF twipsGeometry(const QWidget* control) const;

    void buildMenus();
    void loadSites();
    // Fills the site list with the directory's entries.
    void showSiteEntries();
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
    void onListItemClicked(QListWidgetItem* item);
    // Selects entry `row` and loads the address kept under `addressRole`, if any.
    void openEntry(int row, int addressRole);
    // Loads the address of entry `row` kept under `addressRole`, if any, and remembers the entry.
    void navigateToEntry(int row, int addressRole);
    // Follows the store's active product: the fill pass, the title and the marks. With none,
    // passes write nothing.
    void showActiveProduct();
    // Sets every entry's check mark and its tooltip from the active product's marks.
    void showMarks();
    // Marks `entry` done today, or clears its mark, for the active product.
    void markSite(const QString& entry, bool done);
    void onSiteItemChanged(QListWidgetItem* item);
    void onFilledFormSubmitted();
    // Carries the marks of a renamed product over to its new name.
    void onProductRenamed(const QString& oldName, const QString& newName);

    AppFolders m_folders;
    Session m_session;
    ProgressStore m_progressStore;
    ProductStore m_products;
    QNetworkAccessManager m_network;
    PadDownload m_padDownload;
    std::unique_ptr<Browser> m_browser;
    std::unique_ptr<FillPass> m_fillPass;
    FillSummary m_fillSummary;
    QWidget* m_inner = nullptr;
    QPointer<QWidget> m_browserWidget;
    QListWidget* m_siteList = nullptr;
    QProgressBar* m_progress = nullptr;
    QLabel* m_fillStatus = nullptr; // the status bar's line on the fill of the page shown
    QPushButton* m_next = nullptr;
    QPushButton* m_addLinks = nullptr;
    QHash<const QWidget*, QRectF> m_twips;
    // The text of the entry whose address the browser was last sent to: a form sent from its page
    // ticks it.
    std::optional<QString> m_shownEntry;

    // What a mouse press found, to tell a click on the selected entry from one that selects
    // another entry or only toggles a check mark.
    int m_rowSelectedAtPress = -1;
    Qt::CheckState m_checkAtPress = Qt::Unchecked;

    std::unique_ptr<ProductManagerDialog> m_productManager;
    std::unique_ptr<AddLinksDialog> m_addLinksDialog;
    std::unique_ptr<AboutDialog> m_about;
};
