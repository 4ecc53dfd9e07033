#include "products/PadDownload.h"

#include "core/Version.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>

namespace {

using Kind = PadDownload::Problem::Kind;

constexpr int kMaxRedirects = 10;

bool isSuccess(int status)
{
    return status >= 200 && status < 300;
}

// Whether content that is no PAD file is a web page, by how it opens: servers declare PAD files as
// HTML often enough that the declared type tells nothing.
bool looksLikeHtml(const QByteArray& content)
{
    const QByteArray opening = content.left(512).trimmed().toLower();
    return opening.startsWith("<!doctype html") || opening.startsWith("<html") || opening.contains("<head");
}

PadDownload::Problem networkProblem(const QNetworkReply& reply)
{
    const QString host = reply.url().host();
    switch (reply.error()) {
    case QNetworkReply::HostNotFoundError:
        return {Kind::HostNotFound, host};
    case QNetworkReply::ConnectionRefusedError:
        return {Kind::Refused, host};
    // The transfer timeout ends a reply as cancelled: only this class cancels otherwise, and it
    // never waits for the reply of a download it ended.
    case QNetworkReply::TimeoutError:
    case QNetworkReply::OperationCanceledError:
        return {Kind::TimedOut};
    case QNetworkReply::InsecureRedirectError:
        return {Kind::UnsafeRedirect};
    case QNetworkReply::TooManyRedirectsError:
        return {Kind::TooManyRedirects};
    default:
        return {Kind::Network, reply.errorString()};
    }
}

} // namespace

PadDownload::PadDownload(QNetworkAccessManager& network, std::chrono::milliseconds timeLimit, QObject* parent)
    : QObject(parent), m_network(network), m_timeLimit(timeLimit)
{
}

PadDownload::~PadDownload()
{
    cancel();
}

Result<void, PadDownload::Problem> PadDownload::start(const QString& address)
{
    cancel();
    const QUrl url(address.trimmed(), QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty()) {
        if (!scheme.isEmpty() && scheme != u"http" && scheme != u"https")
            return Problem{Kind::NotWeb, scheme};
        return Problem{Kind::NoAddress};
    }
    if (scheme != u"http" && scheme != u"https")
        return Problem{Kind::NotWeb, scheme};

    QNetworkRequest request(url);
    request.setTransferTimeout(static_cast<int>(m_timeLimit.count()));
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(kMaxRedirects);
    request.setHeader(QNetworkRequest::UserAgentHeader,
                      QByteArray(QByteArray("Formtide/") + Version::number));
    m_content.clear();
    m_reply = m_network.get(request);
    connect(m_reply, &QNetworkReply::metaDataChanged, this, &PadDownload::onMetaData);
    connect(m_reply, &QNetworkReply::readyRead, this, &PadDownload::onReadyRead);
    connect(m_reply, &QNetworkReply::downloadProgress, this, &PadDownload::progressed);
    connect(m_reply, &QNetworkReply::finished, this, &PadDownload::onFinished);
    return {};
}

void PadDownload::cancel()
{
    if (!m_reply)
        return;
    QNetworkReply* reply = m_reply;
    m_reply = nullptr;
    reply->disconnect(this);
    reply->abort();
    reply->deleteLater();
    m_content.clear();
}

void PadDownload::fail(Problem problem)
{
    cancel();
    Q_EMIT failed(problem);
}

std::optional<PadDownload::Problem> PadDownload::statusProblem() const
{
    const QVariant status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!status.isValid() || isSuccess(status.toInt()))
        return std::nullopt;
    // A redirect still standing at the end is one that was not to be followed.
    const QByteArray target = m_reply->rawHeader("Location");
    if (status.toInt() >= 300 && status.toInt() < 400 && !target.isEmpty())
        return Problem{Kind::UnsafeRedirect, m_reply->url().resolved(QUrl::fromEncoded(target)).toString()};
    return Problem{
        Kind::HttpStatus,
        QString::fromLatin1(m_reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toByteArray()),
        status.toInt()};
}

void PadDownload::onMetaData()
{
    // A redirect's own head comes too, and a failure's body is not read: only a success's size
    // counts.
    if (!isSuccess(m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt()))
        return;
    const QVariant length = m_reply->header(QNetworkRequest::ContentLengthHeader);
    if (length.isValid() && length.toLongLong() > PadFile::maxSize)
        fail(Problem{Kind::TooLarge});
}

void PadDownload::onReadyRead()
{
    if (!isSuccess(m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt())) {
        m_reply->skip(m_reply->bytesAvailable());
        return;
    }
    m_content += m_reply->read(PadFile::maxSize + 1 - m_content.size());
    if (m_content.size() > PadFile::maxSize)
        fail(Problem{Kind::TooLarge});
}

void PadDownload::onFinished()
{
    const QNetworkReply::NetworkError error = m_reply->error();
    const bool redirectRefused =
        error == QNetworkReply::InsecureRedirectError || error == QNetworkReply::TooManyRedirectsError;
    if (std::optional<Problem> problem = statusProblem(); problem && !redirectRefused)
        return fail(*std::move(problem));
    if (error != QNetworkReply::NoError)
        return fail(networkProblem(*m_reply));
    onReadyRead();
    if (!m_reply)
        return;
    Result<PadCopy, PadFile::Problem> copy = PadCopy::take(m_content, QDateTime::currentDateTime());
    if (!copy) {
        const bool html = looksLikeHtml(m_content);
        return fail(html ? Problem{Kind::HtmlPage} : Problem{Kind::NotPad, {}, 0, copy.problem()});
    }
    cancel();
    Q_EMIT succeeded(*copy);
}
