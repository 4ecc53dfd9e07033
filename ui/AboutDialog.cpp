#include "ui/AboutDialog.h"

#include "core/Version.h"
#include "ui/Twips.h"
#include "ui/VendorSite.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QUrl>

namespace {

// Where the box's inner area opens on the screen, and its size, in twips.
constexpr int kLeft = 2340;
constexpr int kTop = 1935;
constexpr int kWidth = 4470;
constexpr int kHeight = 2055;

QLabel* addLabel(QWidget* parent, const char* name, const QString& text, QRect geometry)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

void setTextColor(QWidget* widget, const QColor& color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    widget->setPalette(palette);
}

} // namespace

AboutDialog::AboutDialog(DesktopOpener opener, QWidget* parent)
    : FixedDialog(parent, "aboutDialog", tr("About Formtide"), kWidth, kHeight), m_opener(std::move(opener))
{
    m_ok = new QPushButton(tr("O K"), this);
    m_ok->setObjectName(QStringLiteral("okButton"));
    m_ok->setGeometry(Twips::rect(3060, 1560, 1260, 345));
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &AboutDialog::accept);

    QLabel* disclaimer =
        addLabel(this, "noticeLabel", tr("Freeware, provided as is."), Twips::rect(180, 1680, 2535, 195));
    setTextColor(disclaimer, Qt::black);

    QLabel* title =
        addLabel(this, "titleLabel", QStringLiteral("Formtide"), Twips::rect(300, 300, 3285, 360));
    QFont titleFont(QStringLiteral("Times New Roman"));
    titleFont.setPointSizeF(15.75);
    titleFont.setBold(true);
    title->setFont(titleFont);
    setTextColor(title, Qt::black);

    m_address =
        addLabel(this, "addressLabel", VendorSite::displayAddress(), Twips::rect(180, 1440, 2175, 195));
    QFont addressFont = font();
    addressFont.setUnderline(true);
    m_address->setFont(addressFont);
    setTextColor(m_address, m_address->palette().color(QPalette::Highlight));
    m_address->setCursor(Qt::PointingHandCursor);
    m_address->installEventFilter(this);

    QLabel* version = addLabel(this, "versionLabel", tr("Version %1").arg(QLatin1String(Version::number)),
                               Twips::rect(2760, 780, 1095, 255));
    QFont versionFont(QStringLiteral("Arial"));
    versionFont.setPointSizeF(9);
    version->setFont(versionFont);

    m_ok->setFocus();
}

void AboutDialog::setVisible(bool visible)
{
    // Every opening puts the box back at its place; Qt would otherwise centre it or keep
    // wherever the user dragged it last time.
    if (visible && !isVisible())
        setGeometry(QRect(Twips::toPixels(kLeft), Twips::toPixels(kTop), width(), height()));
    FixedDialog::setVisible(visible);
}

void AboutDialog::keyPressEvent(QKeyEvent* event)
{
    // "O K" is the cancel button too: Escape presses it.
    if (event->key() == Qt::Key_Escape) {
        m_ok->click();
        return;
    }
    FixedDialog::keyPressEvent(event);
}

void AboutDialog::openHomePage()
{
    m_opener.open(QUrl(VendorSite::homePage()));
}

bool AboutDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_address && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
        m_address->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint())) {
        openHomePage();
        return true;
    }
    return FixedDialog::eventFilter(watched, event);
}

void AboutDialog::paintEvent(QPaintEvent* event)
{
    FixedDialog::paintEvent(event);
    // The etched separator: a white line two pixels wide with a grey one on its upper pixel row.
    QPainter painter(this);
    const int y = Twips::toPixels(1320);
    painter.fillRect(QRect(QPoint(Twips::toPixels(60), y), QPoint(Twips::toPixels(4380), y + 1)), Qt::white);
    painter.fillRect(QRect(QPoint(Twips::toPixels(90), y), QPoint(Twips::toPixels(4380), y)),
                     QColor(128, 128, 128));
}
