#pragma once

#include "app/Twips.h"
#include "sites/SiteList.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QRectF>
#include <memory>

class Browser;
class FillPass;
class Form2;
class Form3;
class frmF2;
class QAction;
class QListWidget;
class QListWidgetItem;
class QProgressBar;
class QPushButton;

// The main window: the embedded browser on the left; down the right-hand side the check-box site
// list, the progress bar, "Next" and "Add Links".
//
// Geometry is kept in twips (1/1440 inch), as single-precision values, and each control's twips
// rectangle is the one the layout reads back. On screen: Twips::rect (1/15 of a logical pixel).
class Form1 : public QMainWindow {
    Q_OBJECT
public:
    // Builds the window around `browser` (which it takes) and runs the load handler.
    // `appFolder` is the folder of the data files.
    Form1(QString appFolder, std::unique_ptr<Browser> browser, QWidget* parent = nullptr);
    ~Form1() override;

    static constexpr float DesignInnerWidth = 12030;
    static constexpr float DesignInnerHeight = 8130;
    static constexpr float TwipsPerPixel = Twips::PerPixel;

    // Event handlers, named after control and event.
    void Form_Load();
    void Form_Resize();
    void Command1_Click();
    void Command2_Click();
    void List1_Click();
    void List1_ItemCheck(int Index);
    void WebBrowser1_ProgressChange(int Progress, int ProgressMax);
    void WebBrowser1_NewWindow2(bool* Cancel);
    void WebBrowser1_DocumentComplete();
    void mnuFileExit_Click();
    void mnuConDetail_Click();
    void mnuHelpOnline_Click();
    void mnuHelpWeb_Click();
    void mnuRunAbout_Click();

    // Selects entry `index` of List1 as code does: the click handling runs before this returns.
    void setList1ListIndex(int index);
    // Index of the selected entry, -1 when none.
    int List1ListIndex() const;

    // A control's geometry in twips, relative to the inner area.
    QRectF twipsGeometry(const QWidget* control) const;
    // Resizes the window so that its inner area is width x height twips.
    void setInnerSizeTwips(float width, float height);

    QListWidget* List1() const { return m_list; }
    QProgressBar* ProgressBar1() const { return m_progress; }
    QPushButton* Command1() const { return m_next; }
    QPushButton* Command2() const { return m_addLinks; }
    QWidget* WebBrowser1() const { return m_browserWidget; }
    Form2* productManager() const { return m_form2.get(); }
    Form3* addLinksDialog() const { return m_form3.get(); }
    frmF2* aboutBox() const { return m_about.get(); }
    FillPass* fillPass() const { return m_fillPass.get(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class ListAdapter;

    void buildMenus();
    void Move(QWidget* control, float left, float top, float width, float height);
    float Width(const QWidget* control) const { return twipsGeometry(control).width(); }
    float Height(const QWidget* control) const { return twipsGeometry(control).height(); }
    // The height a list box really takes when asked for `height` twips: whole rows only.
    float snappedListHeight(float height) const;
    void onListItemClicked(QListWidgetItem* item);

    QString m_appFolder;
    std::unique_ptr<Browser> m_browser;
    std::unique_ptr<FillPass> m_fillPass;
    std::unique_ptr<ListAdapter> m_siteList;
    QWidget* m_inner = nullptr;
    QPointer<QWidget> m_browserWidget;
    QListWidget* m_list = nullptr;
    QProgressBar* m_progress = nullptr;
    QPushButton* m_next = nullptr;
    QPushButton* m_addLinks = nullptr;
    QHash<const QWidget*, QRectF> m_twips;
    QSizeF m_innerTwips;

    // What a mouse press found, to tell a click on the selected entry from one that selects
    // another entry or only toggles a check mark.
    int m_rowSelectedAtPress = -1;
    Qt::CheckState m_checkAtPress = Qt::Unchecked;

    std::unique_ptr<Form2> m_form2;
    std::unique_ptr<Form3> m_form3;
    std::unique_ptr<frmF2> m_about;
};
