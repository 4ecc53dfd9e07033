#include "ui/Form1.h"

#include "app/AppFolder.h"
#include "app/Module1.h"
#include "app/Twips.h"
#include "autofill/Browser.h"
#include "autofill/FillPass.h"
#include "products/Form2.h"
#include "sites/SiteDirectory.h"
#include "ui/Form3.h"
#include "ui/VendorSite.h"
#include "ui/frmF2.h"

#include <QDesktopServices>
#include <QEvent>
#include <QLayout>
#include <QListWidget>
#include <QMenuBar>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QUrl>
#include <cmath>

// The site list of the directory, on List1: every entry carries a check box.
class Form1::ListAdapter final : public SiteList {
public:
    explicit ListAdapter(QListWidget& list) : m_list(list) {}

    void AddItem(const QString& text) override
    {
        auto* item = new QListWidgetItem(text);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
        m_list.addItem(item);
    }

    void Clear() override
    {
        const QSignalBlocker blocker(&m_list);
        m_list.clear();
    }

private:
    QListWidget& m_list;
};

Form1::Form1(QString appFolder, std::unique_ptr<Browser> browser, QWidget* parent)
    : QMainWindow(parent), m_appFolder(std::move(appFolder)), m_browser(std::move(browser))
{
    setWindowTitle(QStringLiteral("Formtide"));
    setObjectName(QStringLiteral("Form1"));

    m_inner = new QWidget(this);
    // The window's own surface (margins and gaps between the controls) shows a cross-hair.
    m_inner->setCursor(Qt::CrossCursor);
    setCentralWidget(m_inner);

    m_browserWidget = m_browser->widget();
    m_browserWidget->setParent(m_inner);
    m_browserWidget->setObjectName(QStringLiteral("WebBrowser1"));

    m_list = new QListWidget(m_inner);
    m_list->setObjectName(QStringLiteral("List1"));
    m_list->setFont(QFont(QStringLiteral("Verdana"), 9));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setUniformItemSizes(true);
    m_list->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);

    m_progress = new QProgressBar(m_inner);
    m_progress->setObjectName(QStringLiteral("ProgressBar1"));
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_progress->setTextVisible(false);

    m_next = new QPushButton(QStringLiteral("Next"), m_inner);
    m_next->setObjectName(QStringLiteral("Command1"));
    m_addLinks = new QPushButton(QStringLiteral("Add Links"), m_inner);
    m_addLinks->setObjectName(QStringLiteral("Command2"));

    for (QWidget* control : {static_cast<QWidget*>(m_browserWidget), static_cast<QWidget*>(m_list),
                             static_cast<QWidget*>(m_progress), static_cast<QWidget*>(m_next),
                             static_cast<QWidget*>(m_addLinks)})
        control->setCursor(Qt::ArrowCursor);

    setTabOrder(m_browserWidget, m_list);
    setTabOrder(m_list, m_next);
    setTabOrder(m_next, m_progress);
    setTabOrder(m_progress, m_addLinks);

    // Design geometry; the resize rule places everything anew when the window is shown.
    Move(m_browserWidget, 60, 60, 7995, 7935);
    Move(m_list, 8640, 60, 3315, 6300);
    Move(m_next, 9180, 7560, 1335, 375);
    Move(m_progress, 8640, 6540, 3315, 255);
    Move(m_addLinks, 10560, 7560, 1335, 375);

    buildMenus();

    m_siteList = std::make_unique<ListAdapter>(*m_list);
    m_fillPass = std::make_unique<FillPass>(*m_browser);

    connect(m_next, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(m_addLinks, &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(m_list, &QListWidget::itemSelectionChanged, this, [this] {
        if (List1ListIndex() >= 0)
            List1_Click();
    });
    connect(m_list, &QListWidget::itemClicked, this, &Form1::onListItemClicked);
    connect(m_list, &QListWidget::itemChanged, this,
            [this](QListWidgetItem* item) { List1_ItemCheck(m_list->row(item)); });
    m_list->viewport()->installEventFilter(this);
    m_inner->installEventFilter(this);

    connect(m_browser.get(), &Browser::ProgressChange, this, &Form1::WebBrowser1_ProgressChange);
    connect(m_browser.get(), &Browser::NewWindow2, this, &Form1::WebBrowser1_NewWindow2,
            Qt::DirectConnection);
    connect(m_browser.get(), &Browser::DocumentComplete, this, &Form1::WebBrowser1_DocumentComplete);

    setInnerSizeTwips(DesignInnerWidth, DesignInnerHeight);
    Form_Load();
}

Form1::~Form1()
{
    // The fill pass and the browser outlive the widgets they talk to only until here.
    m_fillPass.reset();
}

void Form1::buildMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    QAction* exitAction = file->addAction(QStringLiteral("Exit"));
    exitAction->setObjectName(QStringLiteral("mnuFileExit"));
    connect(exitAction, &QAction::triggered, this, &Form1::mnuFileExit_Click);

    QMenu* software = menuBar()->addMenu(QStringLiteral("Software"));
    software->setObjectName(QStringLiteral("mnuConfig"));
    QAction* select = software->addAction(QStringLiteral("Select..."));
    select->setObjectName(QStringLiteral("mnuConDetail"));
    connect(select, &QAction::triggered, this, &Form1::mnuConDetail_Click);

    QMenu* help = menuBar()->addMenu(QStringLiteral("Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    QAction* online = help->addAction(QStringLiteral("Online Help"));
    online->setObjectName(QStringLiteral("mnuHelpOnline"));
    connect(online, &QAction::triggered, this, &Form1::mnuHelpOnline_Click);
    QAction* web = help->addAction(QStringLiteral("Home Page"));
    web->setObjectName(QStringLiteral("mnuHelpWeb"));
    connect(web, &QAction::triggered, this, &Form1::mnuHelpWeb_Click);
    QAction* about = help->addAction(QStringLiteral("About"));
    about->setObjectName(QStringLiteral("mnuRunAbout"));
    connect(about, &QAction::triggered, this, &Form1::mnuRunAbout_Click);
}

void Form1::Form_Load()
{
    m_browser->Navigate(AppFolder::path(m_appFolder, AppFolder::helpPage()));
    Module1::ProductEditMode = 1;
    SiteDirectory::AddBuiltInSites(*m_siteList);
    setList1ListIndex(0);
    SiteDirectory::LoadSiteAddresses(m_appFolder);
    SiteDirectory::LoadAddedLinks(m_appFolder, *m_siteList);
}

void Form1::Form_Resize()
{
    const QSize inner = m_inner->size();
    float W = static_cast<float>(inner.width()) * TwipsPerPixel;
    float H = static_cast<float>(inner.height()) * TwipsPerPixel;
    // Keep the exact size asked for when the pixels on screen are that size.
    if (Twips::toPixels(m_innerTwips.width()) == inner.width())
        W = static_cast<float>(m_innerTwips.width());
    if (Twips::toPixels(m_innerTwips.height()) == inner.height())
        H = static_cast<float>(m_innerTwips.height());

    if (H < 5000)
        return;
    if (W < 5000)
        return;
    Move(m_browserWidget, 10, 10, W - Width(m_list) - 100, H - 100);
    const float Bw = Width(m_browserWidget);
    Move(m_list, Bw + 50, 10, Width(m_list), H - 800);
    const float Lh = Height(m_list);
    Move(m_progress, Bw + 50, Lh + 100, Width(m_list), Height(m_progress));
    Move(m_next, Bw + 200, Lh + 450, Width(m_next), Height(m_next));
    Move(m_addLinks, Bw + 400 + Width(m_next), Lh + 450, Width(m_addLinks), Height(m_addLinks));
}

void Form1::Command1_Click()
{
    // "Next" on the last entry stays there: there is no entry after it to walk to.
    if (Module1::CurrentSiteIndex >= m_list->count() - 1)
        return;
    ++Module1::CurrentSiteIndex;
    setList1ListIndex(Module1::CurrentSiteIndex);
    const int index = List1ListIndex();
    const QString text = index >= 0 ? m_list->item(index)->text() : QString();
    const QString link = SiteDirectory::FindAddedLink(text).value_or(QString());
    m_browser->Stop();
    m_browser->Navigate(link);
}

void Form1::Command2_Click()
{
    if (!m_form3)
        m_form3 = std::make_unique<Form3>(m_appFolder);
    m_form3->adjustSize();
    m_form3->move(frameGeometry().center() - m_form3->rect().center());
    m_form3->exec();
    SiteDirectory::ReloadSiteList(m_appFolder, *m_siteList);
}

void Form1::List1_Click()
{
    const int index = List1ListIndex();
    const QString text = index >= 0 ? m_list->item(index)->text() : QString();
    const QString address = SiteDirectory::FindSiteAddress(text).value_or(QString());
    m_browser->Stop();
    m_browser->Navigate(address);
}

void Form1::List1_ItemCheck(int Index)
{
    // Check marks are the user's own notes on the list; they mean nothing to the program.
    Q_UNUSED(Index);
}

void Form1::WebBrowser1_ProgressChange(int Progress, int ProgressMax)
{
    // Each property on its own: a value the bar cannot take leaves that property as it was.
    if (ProgressMax > m_progress->minimum())
        m_progress->setMaximum(ProgressMax);
    if (Progress >= m_progress->minimum() && Progress <= m_progress->maximum())
        m_progress->setValue(Progress);
    m_progress->repaint();
}

void Form1::WebBrowser1_NewWindow2(bool* Cancel)
{
    *Cancel = true;
}

void Form1::WebBrowser1_DocumentComplete()
{
    m_fillPass->run();
}

void Form1::mnuFileExit_Click()
{
    close();
}

void Form1::mnuConDetail_Click()
{
    if (!m_form2)
        m_form2 = std::make_unique<Form2>(m_appFolder);
    m_form2->exec();
}

void Form1::mnuHelpOnline_Click()
{
    QDesktopServices::openUrl(QUrl(VendorSite::onlineHelp()));
}

void Form1::mnuHelpWeb_Click()
{
    QDesktopServices::openUrl(QUrl(VendorSite::homePage()));
}

void Form1::mnuRunAbout_Click()
{
    if (!m_about)
        m_about = std::make_unique<frmF2>();
    m_about->exec();
}

void Form1::setList1ListIndex(int index)
{
    if (index < 0 || index >= m_list->count())
        return;
    if (List1ListIndex() == index) {
        List1_Click();
        return;
    }
    // Selecting emits itemSelectionChanged at once, which runs the click handling.
    m_list->setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
}

int Form1::List1ListIndex() const
{
    const QList<QListWidgetItem*> selected = m_list->selectedItems();
    return selected.isEmpty() ? -1 : m_list->row(selected.first());
}

QRectF Form1::twipsGeometry(const QWidget* control) const
{
    return m_twips.value(control);
}

void Form1::setInnerSizeTwips(float width, float height)
{
    m_innerTwips = QSizeF(width, height);
    const int menuHeight = menuBar()->sizeHint().height();
    resize(Twips::toPixels(width), Twips::toPixels(height) + menuHeight);
    if (layout())
        layout()->activate();
}

void Form1::Move(QWidget* control, float left, float top, float width, float height)
{
    if (control == m_list)
        height = snappedListHeight(height);
    m_twips.insert(control, QRectF(left, top, width, height));
    control->setGeometry(Twips::rect(left, top, width, height));
}

float Form1::snappedListHeight(float height) const
{
    const int frame = 2 * m_list->frameWidth();
    int row = m_list->count() > 0 ? m_list->sizeHintForRow(0) : 0;
    if (row <= 0)
        row = m_list->fontMetrics().height() + 2;
    const int available = static_cast<int>(std::floor(height / TwipsPerPixel)) - frame;
    const int rows = available > 0 ? available / row : 0;
    return static_cast<float>(rows * row + frame) * TwipsPerPixel;
}

bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_inner && event->type() == QEvent::Resize) {
        Form_Resize();
    } else if (watched == m_list->viewport() && event->type() == QEvent::MouseButtonPress) {
        const auto* press = static_cast<QMouseEvent*>(event);
        m_rowSelectedAtPress = List1ListIndex();
        const QListWidgetItem* item = m_list->itemAt(press->position().toPoint());
        m_checkAtPress = item ? item->checkState() : Qt::Unchecked;
    }
    return QMainWindow::eventFilter(watched, event);
}

void Form1::onListItemClicked(QListWidgetItem* item)
{
    // A click that selected another entry has run the click handling through the selection
    // change already; one that only toggled a check mark is not a click on the entry.
    if (m_list->row(item) == m_rowSelectedAtPress && item->checkState() == m_checkAtPress)
        List1_Click();
}
