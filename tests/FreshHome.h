#pragma once

#include "autofill/BrowserEngine.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

// The data folder of the installed layout in the fresh home folder; not made.
inline QString freshDataFolder()
{
    return QDir::homePath() + QStringLiteral("/.local/share/formtide");
}

// Runs the tests of `Test` with a fresh home folder, set before Qt looks it up, so that anything the
// program writes there shows; `setUp` runs once the application exists. The browser engine is
// prepared as the program prepares it, to keep its profile in freshDataFolder()'s "Browser".
template <typename Test> int runWithFreshHome(int argc, char* argv[], const std::function<void()>& setUp)
{
    QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path()));
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"})
        qunsetenv(name);
    BrowserEngine engine(argc, argv, freshDataFolder() + QStringLiteral("/Browser"));
    QApplication app(engine.argc(), engine.argv());
    setUp();
    Test test;
    return QTest::qExec(&test, argc, argv);
}
