#include "sites/SiteChecker.h"

#include "core/Version.h"
#include "sites/SiteDirectory.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QTimer>

namespace {

QString serverOf(const QUrl& url)
{
    return url.scheme() + u"://" + url.host() + u':' +
           QString::number(url.port(url.scheme() == u"https" ? 443 : 80));
}

bool isRedirect(int status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

} // namespace

struct SiteChecker::Probe {
    QString address;
    QUrl start; // the address as asked for first
    QUrl url;   // the address asked for now
    QString server;
    int redirects = 0;
    bool head = true;
    QPointer<QNetworkReply> reply;
    QTimer deadline;
};

SiteChecker::SiteChecker(QNetworkAccessManager& network, Limits limits, QObject* parent)
    : QObject(parent), m_network(network), m_limits(limits)
{
}

SiteChecker::~SiteChecker()
{
    for (const auto& probe : m_running)
        stop(*probe);
}

void SiteChecker::start(const QStringList& addresses)
{
    if (isRunning())
        cancel();
    ++m_run;
    if (addresses.isEmpty()) {
        QTimer::singleShot(0, this, [this, run = m_run] {
            if (run == m_run)
                Q_EMIT finished(false);
        });
        return;
    }
    m_waiting.assign(addresses.cbegin(), addresses.cend());
    m_total = static_cast<int>(addresses.size());
    m_done = 0;
    QTimer::singleShot(0, this, &SiteChecker::startWaiting);
}

void SiteChecker::cancel()
{
    if (!isRunning())
        return;
    for (const auto& probe : m_running)
        stop(*probe);
    m_running.clear();
    m_waiting.clear();
    m_perServer.clear();
    m_total = 0;
    m_done = 0;
    ++m_run;
    Q_EMIT finished(true);
}

void SiteChecker::startWaiting()
{
    for (auto it = m_waiting.begin();
         it != m_waiting.end() && m_running.size() < std::size_t(m_limits.atOnce);) {
        const QUrl url = SiteDirectory::webAddress(*it);
        const QString server = url.isValid() ? serverOf(url) : QString();
        if (url.isValid() && m_perServer.value(server) >= m_limits.perServer) {
            ++it;
            continue;
        }
        auto probe = std::make_unique<Probe>();
        probe->address = *it;
        probe->start = url;
        probe->url = url;
        probe->server = server;
        it = m_waiting.erase(it);
        Probe& started = *m_running.emplace_back(std::move(probe));
        if (!url.isValid()) {
            // Concluded from the event loop, like every other check.
            QTimer::singleShot(0, this, [this, &started, run = m_run] {
                if (run == m_run)
                    conclude(started, SiteCheck::Outcome::NotWeb);
            });
            continue;
        }
        ++m_perServer[server];
        started.deadline.setSingleShot(true);
        connect(&started.deadline, &QTimer::timeout, this,
                [this, &started] { conclude(started, SiteCheck::Outcome::TimedOut); });
        started.deadline.start(m_limits.timeLimit);
        ask(started);
    }
}

void SiteChecker::ask(Probe& probe)
{
    QNetworkRequest request(probe.url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setHeader(
        QNetworkRequest::UserAgentHeader,
        QStringLiteral("Mozilla/5.0 (compatible; Formtide/%1)").arg(QLatin1String(Version::number)));
    request.setTransferTimeout(static_cast<int>(m_limits.timeLimit.count()));
    QNetworkReply* reply = probe.head ? m_network.head(request) : m_network.get(request);
    probe.reply = reply;
    // The head of the answer says all; the body is never read.
    connect(reply, &QNetworkReply::metaDataChanged, this, [this, &probe, reply] {
        if (reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid())
            onAnswer(probe, reply);
    });
    connect(reply, &QNetworkReply::finished, this, [this, &probe, reply] { onAnswer(probe, reply); });
}

void SiteChecker::onAnswer(Probe& probe, QNetworkReply* reply)
{
    using Outcome = SiteCheck::Outcome;
    disconnect(reply, nullptr, this, nullptr);
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QNetworkReply::NetworkError error = reply->error();
    const QString errorText = reply->errorString();
    const QByteArray location = reply->rawHeader("Location");
    const QString reason = reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
    // Not from inside the reply's own signal: it goes on with its work after the signal returns.
    QMetaObject::invokeMethod(
        reply,
        [reply] {
            if (reply->isRunning())
                reply->abort();
            reply->deleteLater();
        },
        Qt::QueuedConnection);
    probe.reply = nullptr;

    if (status == 0) {
        switch (error) {
        case QNetworkReply::HostNotFoundError:
            return conclude(probe, Outcome::NoSuchHost);
        case QNetworkReply::ConnectionRefusedError:
            return conclude(probe, Outcome::Refused);
        case QNetworkReply::RemoteHostClosedError:
            if (probe.head) {
                probe.head = false;
                return ask(probe);
            }
            return conclude(probe, Outcome::Closed);
        case QNetworkReply::OperationCanceledError:
        case QNetworkReply::TimeoutError:
            return conclude(probe, Outcome::TimedOut);
        case QNetworkReply::ProtocolUnknownError:
            return conclude(probe, Outcome::NotWeb);
        default:
            return conclude(probe, Outcome::NetworkError, errorText);
        }
    }
    if (isRedirect(status) && !location.isEmpty()) {
        if (probe.redirects >= m_limits.redirects)
            return conclude(probe, Outcome::TooManyRedirects);
        ++probe.redirects;
        probe.url = probe.url.resolved(QUrl::fromEncoded(location));
        if (probe.url.scheme() != u"http" && probe.url.scheme() != u"https")
            return conclude(probe, Outcome::Moved, probe.url.toString());
        return ask(probe);
    }
    if (status >= 200 && status < 300) {
        if (probe.url == probe.start)
            return conclude(probe, Outcome::Reachable);
        return conclude(probe, Outcome::Moved, probe.url.toString());
    }
    // Some servers answer HEAD wrongly (405 Method Not Allowed, 501, or an error GET does not give).
    if (probe.head && status >= 400) {
        probe.head = false;
        return ask(probe);
    }
    conclude(probe, Outcome::HttpError,
             reason.isEmpty() ? QString::number(status) : QString::number(status) + u' ' + reason);
}

void SiteChecker::conclude(Probe& probe, SiteCheck::Outcome outcome, const QString& detail)
{
    stop(probe);
    const auto it =
        std::find_if(m_running.begin(), m_running.end(),
                     [&probe](const std::unique_ptr<Probe>& each) { return each.get() == &probe; });
    if (it == m_running.end())
        return;
    const std::unique_ptr<Probe> ended = std::move(*it);
    m_running.erase(it);
    if (!ended->server.isEmpty() && --m_perServer[ended->server] <= 0)
        m_perServer.remove(ended->server);
    ++m_done;
    const quint64 run = m_run;
    Q_EMIT checked(ended->address, {outcome, detail, QDate::currentDate()});
    // A receiver may have cancelled the check, or started another.
    if (run != m_run)
        return;
    startWaiting();
    if (m_running.empty() && m_waiting.empty()) {
        m_total = 0;
        m_done = 0;
        Q_EMIT finished(false);
    }
}

void SiteChecker::stop(Probe& probe)
{
    probe.deadline.stop();
    probe.deadline.disconnect(this);
    if (probe.reply) {
        disconnect(probe.reply, nullptr, this, nullptr);
        if (probe.reply->isRunning())
            probe.reply->abort();
        probe.reply->deleteLater();
        probe.reply = nullptr;
    }
}
