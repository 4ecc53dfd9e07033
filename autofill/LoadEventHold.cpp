#include "autofill/LoadEventHold.h"

#include <QBuffer>
#include <QTimer>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>

namespace {

// A 1x1 transparent GIF.
const QByteArray kPixel =
    QByteArray::fromBase64(QByteArrayLiteral("R0lGODlhAQABAIAAAAAAAP///yH5BAEAAAAALAAAAAABAAEAAAIBRAA7"));

} // namespace

QByteArray LoadEventHold::scheme()
{
    return QByteArrayLiteral("formtide-hold");
}

void LoadEventHold::registerScheme()
{
    if (QWebEngineUrlScheme::schemeByName(scheme()).name() == scheme())
        return;
    QWebEngineUrlScheme hold(scheme());
    hold.setSyntax(QWebEngineUrlScheme::Syntax::Path);
    // Secure, so that https pages load it as they load their own images, not as mixed content.
    hold.setFlags(QWebEngineUrlScheme::SecureScheme | QWebEngineUrlScheme::ContentSecurityPolicyIgnored);
    QWebEngineUrlScheme::registerScheme(hold);
}

void LoadEventHold::installOn(QWebEngineProfile& profile)
{
    if (profile.urlSchemeHandler(scheme()) == nullptr)
        profile.installUrlSchemeHandler(scheme(), new LoadEventHold(&profile));
}

void LoadEventHold::requestStarted(QWebEngineUrlRequestJob* job)
{
    // The job goes when the engine drops the request; the answer goes with it.
    QTimer::singleShot(kCapMs, job, [job] {
        auto* pixel = new QBuffer(job);
        pixel->setData(kPixel);
        job->reply(QByteArrayLiteral("image/gif"), pixel);
    });
}
