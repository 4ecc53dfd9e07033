#pragma once

#include <QWebEngineUrlSchemeHandler>

class QWebEngineProfile;

// Lets the page model hold a document's load event while the load pass's plan is on its way: an
// image the page model loads from an address of this scheme, never put in the document, delays
// the load event of the document that made it until the image is dropped (its source removed, or
// the document gone) or answered. The answer, a transparent pixel, comes after kCap at the latest,
// so that no page waits longer than that for a plan that does not come.
class LoadEventHold final : public QWebEngineUrlSchemeHandler {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LoadEventHold)
public:
    static constexpr int kCapMs = 1000;

    // The scheme's name; "formtide-hold:<any word>" is an address of it.
    static QByteArray scheme();
    // Makes the scheme known to the engine: once per process, before the application object is
    // made. Pages of any origin may load it, their content security policy notwithstanding (a
    // blocked load would tell the page about the program).
    static void registerScheme();
    // Installs a hold on `profile` unless it has one already; the profile owns it.
    static void installOn(QWebEngineProfile& profile);

    void requestStarted(QWebEngineUrlRequestJob* job) override;

private:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;
};
