#include "ui/PopupNotice.h"

PopupNotice::PopupNotice(QWidget* parent) : QLabel(parent)
{
    setObjectName(QStringLiteral("popupNotice"));
    setTextFormat(Qt::RichText);
    setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    hide();
    connect(this, &QLabel::linkActivated, this, [this] {
        const QUrl url = std::exchange(m_blocked, {});
        hide();
        if (url.isValid())
            Q_EMIT openRequested(url);
    });
}

void PopupNotice::block(const QUrl& url)
{
    m_blocked = url;
    setText(tr("A pop-up was blocked: %1. <a href=\"open\">Open the pop-up</a>")
                .arg(url.toDisplayString().toHtmlEscaped()));
    setToolTip(url.toDisplayString());
    show();
}
