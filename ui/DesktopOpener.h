#pragma once

#include <QProcessEnvironment>
#include <QUrl>

// Opens addresses in the user's own programs (the default web browser) so that they run in the
// environment the user started Formtide in, not in the one its browser engine was set up with
// (autofill/BrowserEngine.h): a browser started from here must not inherit the engine's settings.
//
// When this process runs in that environment, Qt opens the address (QDesktopServices, which also
// honours the URL handlers registered there). Otherwise "xdg-open", found on the environment's
// PATH, is started with that environment and the address; without one, Qt opens it after all.
class DesktopOpener final {
public:
    explicit DesktopOpener(QProcessEnvironment environment = QProcessEnvironment::systemEnvironment());

    // False when `url` is not valid or nothing could be started for it.
    bool open(const QUrl& url) const;

private:
    QProcessEnvironment m_environment;
};
