#include "autofill/BrowserEngine.h"

#include "autofill/LoadEventHold.h"
#include "core/AppFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <algorithm>
#include <unistd.h>

namespace {

const QByteArray kEngineArguments = QByteArrayLiteral("--webEngineArgs");

} // namespace

BrowserEngine::BrowserEngine(int argc, char* argv[], const QString& profileHome,
                             const QStringList& extraSwitches)
{
    if (!profileHome.isEmpty()) {
        const QString userDataHome = AppFolders::userDataHome();
        const QString dataDirs =
            qEnvironmentVariable("XDG_DATA_DIRS", QStringLiteral("/usr/local/share:/usr/share"));
        qputenv("XDG_DATA_HOME", QFile::encodeName(QDir(profileHome).absolutePath()));
        qputenv("XDG_DATA_DIRS", QFile::encodeName(userDataHome + u':' + dataDirs));
    }
    for (int i = 0; i < argc; ++i) {
        m_programArguments.append(QString::fromLocal8Bit(argv[i]));
        m_arguments.emplace_back(argv[i]);
    }
    const bool root = ::geteuid() == 0;
    if (!qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS")) {
        if (root && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
            qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    } else {
        // Switches the user wrote after the program's own "--webEngineArgs" come last and win.
        auto userSwitches = std::find(m_arguments.begin(), m_arguments.end(), kEngineArguments);
        std::vector<QByteArray> ours{kEngineArguments, QByteArrayLiteral("--disable-gpu")};
        if (root)
            ours.emplace_back("--no-sandbox");
        for (const QString& extra : extraSwitches)
            ours.push_back(extra.toLocal8Bit());
        if (userSwitches != m_arguments.end())
            userSwitches = m_arguments.erase(userSwitches);
        m_arguments.insert(userSwitches, ours.begin(), ours.end());
    }
    for (QByteArray& argument : m_arguments)
        m_pointers.push_back(argument.data());
    m_argc = int(m_arguments.size());
    m_pointers.push_back(nullptr);

    // Chromium's start-up report stays out of the terminal; QT_LOGGING_RULES still wins.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    LoadEventHold::registerScheme();
}
