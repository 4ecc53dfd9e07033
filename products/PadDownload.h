#pragma once

#include "core/Result.h"
#include "products/PadCopy.h"
#include "products/PadFile.h"

#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QString>
#include <chrono>
#include <optional>

class QNetworkAccessManager;

// Downloads a product's PAD file from its address, without blocking: one download at a time, over
// the network access manager it is handed.
//
// Only http and https addresses are fetched. Redirects are followed, at most ten, and never to a
// less safe scheme (https to http, or away from the web). A download that receives nothing for the
// time limit ends as timed out. At most PadFile::maxSize bytes are read: a longer body, announced
// or not, ends the download as too large. The file that arrives must be one that the product
// editor's import takes (PadCopy::take); its time taken is when it arrived.
class PadDownload final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PadDownload)
public:
    static constexpr std::chrono::milliseconds kTimeLimit{30000};

    // Why no PAD file came.
    struct Problem {
        enum class Kind {
            NoAddress,        // the address names no host
            NotWeb,           // `detail` is its scheme, which is neither http nor https
            HostNotFound,     // `detail` is the host
            Refused,          // `detail` is the host
            TimedOut,         // nothing came for the time limit
            UnsafeRedirect,   // to http from https, or to another scheme: `detail` is where, if known
            TooManyRedirects, //
            HttpStatus,       // `status` and the server's `detail`, for one that is no success
            TooLarge,         // more than PadFile::maxSize bytes
            HtmlPage,         // a web page came, not a PAD file
            NotPad,           // what came is no PAD file a product can keep: `pad` says why
            Network,          // any other failure: `detail` is the network's description
        };
        Kind kind;
        QString detail = {};
        int status = 0;
        std::optional<PadFile::Problem> pad = {};
    };

    explicit PadDownload(QNetworkAccessManager& network, std::chrono::milliseconds timeLimit = kTimeLimit,
                         QObject* parent = nullptr);
    ~PadDownload() override;

    // Starts downloading the PAD file at `address`, ending one still under way first (as cancel()
    // does). Returns at once; an address that cannot be fetched is a problem here, and nothing
    // starts. Every download started ends with exactly one of succeeded() and failed(), unless it
    // is cancelled.
    Result<void, Problem> start(const QString& address);
    // Ends the download under way, if any; it reports nothing more.
    void cancel();
    bool isRunning() const { return m_reply != nullptr; }

Q_SIGNALS:
    // Bytes received so far, and the size announced (-1 when none was).
    void progressed(qint64 received, qint64 total);
    void succeeded(const PadCopy& copy);
    void failed(const PadDownload::Problem& problem);

private:
    void onMetaData();
    void onReadyRead();
    void onFinished();
    // Ends the download under way and reports `problem`.
    void fail(Problem problem);
    // The HTTP status of the reply, when it is one of failure.
    std::optional<Problem> statusProblem() const;

    QNetworkAccessManager& m_network;
    std::chrono::milliseconds m_timeLimit;
    QPointer<QNetworkReply> m_reply;
    QByteArray m_content;
};

Q_DECLARE_METATYPE(PadDownload::Problem)
