#pragma once

#include <QByteArray>
#include <QProcessEnvironment>
#include <QStringList>
#include <vector>

// The settings Qt WebEngine needs to start anywhere, made in one place for every program that
// shows pages: formtide, formtide-fill, the benchmark and the tests. Make one first thing in
// main(), before the application object and before any thread, and give the application object
// argc() and argv(). It also registers the address scheme of autofill/LoadEventHold.h.
//
// The engine's switches travel as the application's own arguments, after "--webEngineArgs", so
// that nothing of them reaches the environment of the programs started for the user:
//   --disable-gpu   pages are rendered in software, which works on any machine, with or without
//                   graphics drivers (a container, a virtual display, a remote session);
//   --no-sandbox    as root only, where Chromium cannot set its sandbox up;
// then `extraSwitches`. A user's own QTWEBENGINE_CHROMIUM_FLAGS replace them all (Qt then reads no
// arguments); as root the sandbox is then turned off through QTWEBENGINE_DISABLE_SANDBOX, the one
// case where the environment is changed.
//
// With a `profileHome`, the disk profiles made later (autofill/BrowserProfile.h) keep everything in
// that folder: Qt WebEngine 6.4 writes a named profile's first file below the user's data folder
// (QStandardPaths::AppDataLocation) before the profile can be moved, so XDG_DATA_HOME is set to
// `profileHome` here, while no thread runs yet, and the user's own data folder is searched after it
// (XDG_DATA_DIRS). Programs started for the user get authorEnvironment() instead.
class BrowserEngine final {
public:
    BrowserEngine(int argc, char* argv[], const QString& profileHome = {},
                  const QStringList& extraSwitches = {});
    BrowserEngine(const BrowserEngine&) = delete;
    BrowserEngine& operator=(const BrowserEngine&) = delete;

    // The arguments for the application object: the program's, then the engine's. They stay valid
    // as long as this object.
    int& argc() { return m_argc; }
    char** argv() { return m_pointers.data(); }
    // The arguments the program was given, without the engine's, for its own option parsing.
    const QStringList& programArguments() const { return m_programArguments; }
    // The environment the program was started in, before any change made here.
    const QProcessEnvironment& authorEnvironment() const { return m_authorEnvironment; }

private:
    QProcessEnvironment m_authorEnvironment = QProcessEnvironment::systemEnvironment();
    QStringList m_programArguments;
    std::vector<QByteArray> m_arguments;
    std::vector<char*> m_pointers;
    int m_argc = 0;
};
