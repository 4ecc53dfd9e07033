#include "ui/DownloadSaver.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>

DownloadSaver::DownloadSaver(QWebEngineProfile& profile, const QString& folder, QObject* parent)
    : QObject(parent), m_folder(folder)
{
    connect(&profile, &QWebEngineProfile::downloadRequested, this, &DownloadSaver::onDownloadRequested);
}

QString DownloadSaver::freeName(const QDir& folder, const QString& wanted)
{
    const qsizetype dot = wanted.lastIndexOf(u'.');
    const QString base = dot > 0 ? wanted.left(dot) : wanted;
    const QString extension = dot > 0 ? wanted.mid(dot) : QString();
    QString name = wanted;
    for (int n = 1; QFileInfo::exists(folder.filePath(name)); ++n)
        name = QStringLiteral("%1 (%2)%3").arg(base).arg(n).arg(extension);
    return name;
}

void DownloadSaver::onDownloadRequested(QWebEngineDownloadRequest* download)
{
    // Only the last part of what the site suggests, never a hidden name.
    QString wanted = QFileInfo(download->suggestedFileName()).fileName();
    while (wanted.startsWith(u'.'))
        wanted.remove(0, 1);
    if (wanted.isEmpty())
        wanted = QStringLiteral("download");
    const QDir folder(m_folder);
    if (m_folder.isEmpty() || !folder.mkpath(QStringLiteral("."))) {
        download->cancel();
        Q_EMIT message(tr("%1 was not downloaded: there is no folder for downloads.").arg(wanted));
        return;
    }
    QString temporary = u'.' + wanted + QStringLiteral(".part");
    for (int n = 1; m_temporary.contains(temporary) || QFileInfo::exists(folder.filePath(temporary)); ++n)
        temporary = QStringLiteral(".%1.%2.part").arg(wanted).arg(n);
    m_temporary.insert(temporary);
    download->setDownloadDirectory(m_folder);
    download->setDownloadFileName(temporary);
    connect(download, &QWebEngineDownloadRequest::receivedBytesChanged, this,
            [this, download, wanted] { reportProgress(download, wanted); });
    connect(download, &QWebEngineDownloadRequest::stateChanged, this,
            [this, download, wanted] { onStateChanged(download, wanted); });
    download->accept();
    reportProgress(download, wanted);
}

void DownloadSaver::reportProgress(QWebEngineDownloadRequest* download, const QString& wanted)
{
    const QLocale locale;
    const qint64 total = download->totalBytes();
    Q_EMIT message(
        total > 0
            ? tr("Downloading %1: %2 of %3")
                  .arg(wanted, locale.formattedDataSize(download->receivedBytes()),
                       locale.formattedDataSize(total))
            : tr("Downloading %1: %2").arg(wanted, locale.formattedDataSize(download->receivedBytes())));
}

void DownloadSaver::onStateChanged(QWebEngineDownloadRequest* download, const QString& wanted)
{
    const QWebEngineDownloadRequest::DownloadState state = download->state();
    if (state != QWebEngineDownloadRequest::DownloadCompleted &&
        state != QWebEngineDownloadRequest::DownloadCancelled &&
        state != QWebEngineDownloadRequest::DownloadInterrupted)
        return;
    const QString temporary = download->downloadFileName();
    m_temporary.remove(temporary);
    const QDir folder(m_folder);
    if (state != QWebEngineDownloadRequest::DownloadCompleted) {
        QFile::remove(folder.filePath(temporary));
        Q_EMIT message(
            state == QWebEngineDownloadRequest::DownloadCancelled
                ? tr("The download of %1 was cancelled.").arg(wanted)
                : tr("The download of %1 failed: %2").arg(wanted, download->interruptReasonString()));
        return;
    }
    // The name is chosen again: a file may have come under it meanwhile. A rename never replaces one.
    const QString name = freeName(folder, wanted);
    QFile file(folder.filePath(temporary));
    if (file.rename(folder.filePath(name)))
        Q_EMIT message(tr("Downloaded %1 into %2.").arg(name, QDir::toNativeSeparators(m_folder)));
    else
        Q_EMIT message(
            tr("%1 was downloaded, but could not be named %2 (%3); it is %4.")
                .arg(wanted, name, file.errorString(), QDir::toNativeSeparators(folder.filePath(temporary))));
}
