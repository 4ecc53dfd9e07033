#pragma once

#include <QDir>
#include <QObject>
#include <QSet>

class QWebEngineDownloadRequest;
class QWebEngineProfile;

// Saves every download of a profile's pages into one folder, under the name the site suggests, made
// free when a file of that name is there ("pad.xml" becomes "pad (1).xml"): never over a file.
// While it comes, a download is written to a hidden temporary name in that folder and renamed at
// the end, so that a download that fails or is cancelled leaves nothing under its name, and its
// temporary file is removed. Its progress and its end are told in words.
class DownloadSaver final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DownloadSaver)
public:
    // With an empty `folder`, every download is refused and the message says so.
    DownloadSaver(QWebEngineProfile& profile, const QString& folder, QObject* parent = nullptr);

    // The first name that nothing in `folder` has: `wanted` itself, else "name (1).ext", "name (2).ext", ...
    // (the extension being what follows the last dot).
    static QString freeName(const QDir& folder, const QString& wanted);

Q_SIGNALS:
    // A sentence for the status line: a download's progress, or how it ended, naming the file.
    void message(const QString& text);

private:
    void onDownloadRequested(QWebEngineDownloadRequest* download);
    void onStateChanged(QWebEngineDownloadRequest* download, const QString& wanted);
    void reportProgress(QWebEngineDownloadRequest* download, const QString& wanted);

    QString m_folder;
    QSet<QString> m_temporary; // names of the downloads under way
};
