#include "ui/CertificateBar.h"

#include "ui/BrowserSession.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

CertificateBar::CertificateBar(BrowserSession& session, QWidget* parent)
    : QFrame(parent), m_session(session), m_text(new QLabel(this)),
      m_goOn(new QPushButton(tr("Go on for this host (this run)"), this)),
      m_staySafe(new QPushButton(tr("Stay safe"), this))
{
    setObjectName(QStringLiteral("certificateBar"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::ToolTipBase);
    m_text->setObjectName(QStringLiteral("certificateText"));
    m_text->setTextFormat(Qt::PlainText);
    m_text->setWordWrap(true);
    m_goOn->setObjectName(QStringLiteral("goOnButton"));
    m_staySafe->setObjectName(QStringLiteral("staySafeButton"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 3, 6, 3);
    layout->addWidget(m_text, 1);
    layout->addWidget(m_goOn);
    layout->addWidget(m_staySafe);
    connect(m_goOn, &QPushButton::clicked, this, [this] { decide(true); });
    connect(m_staySafe, &QPushButton::clicked, this, [this] { decide(false); });
    hide();
}

void CertificateBar::handle(const QWebEngineCertificateError& error)
{
    QWebEngineCertificateError waiting = error;
    if (error.isOverridable() && m_session.isCertificateAccepted(error.url().host())) {
        waiting.acceptCertificate();
        return;
    }
    // An error that cannot be overridden is refused as the signal returns; it is only told.
    if (error.isOverridable())
        waiting.defer();
    m_waiting.append(waiting);
    showFirst();
}

void CertificateBar::dropWaiting()
{
    for (QWebEngineCertificateError& error : m_waiting) {
        if (error.isOverridable())
            error.rejectCertificate();
    }
    m_waiting.clear();
    hide();
}

void CertificateBar::showFirst()
{
    if (m_waiting.isEmpty()) {
        hide();
        return;
    }
    const QWebEngineCertificateError& first = m_waiting.first();
    const QString host = first.url().host();
    m_text->setText(first.isOverridable()
                        ? tr("The certificate of %1 cannot be trusted: %2").arg(host, first.description())
                        : tr("The certificate of %1 cannot be trusted, and this page cannot be opened: %2")
                              .arg(host, first.description()));
    m_goOn->setVisible(first.isOverridable());
    m_staySafe->setText(first.isOverridable() ? tr("Stay safe") : tr("Close"));
    show();
}

void CertificateBar::decide(bool goOn)
{
    if (m_waiting.isEmpty())
        return;
    const QString host = m_waiting.first().url().host();
    if (goOn)
        m_session.acceptCertificates(host);
    for (auto it = m_waiting.begin(); it != m_waiting.end();) {
        if (it->url().host() != host) {
            ++it;
            continue;
        }
        if (it->isOverridable()) {
            if (goOn)
                it->acceptCertificate();
            else
                it->rejectCertificate();
        }
        it = m_waiting.erase(it);
    }
    showFirst();
}
