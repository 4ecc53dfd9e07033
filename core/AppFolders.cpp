#include "core/AppFolders.h"

#include "core/AppFolder.h"
#include "core/FileRules.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// The name of the program's folders below an installed prefix's share/ and below the user's data home.
const QString kFolderName = QStringLiteral("formtide");

} // namespace

AppFolders AppFolders::locate(const QString& executableFolder, const QString& userDataHome)
{
    for (const QString& ownFile : {AppFolder::siteAddressFile(), AppFolder::helpPage()}) {
        if (QFileInfo::exists(AppFolder::path(executableFolder, ownFile)))
            return portable(executableFolder);
    }
    return {QDir::cleanPath(executableFolder + QStringLiteral("/../share/") + kFolderName),
            QDir::cleanPath(userDataHome + u'/' + kFolderName)};
}

QString AppFolders::userDataHome()
{
    const QString home = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (QDir::isAbsolutePath(home))
        return home;
    return QDir::homePath() + QStringLiteral("/.local/share");
}

Result<void, FileRules::FileProblem> AppFolders::makeDataFolder() const
{
    if (QFileInfo(m_dataFolder).isDir())
        return {};
    if (const QString parent = QFileInfo(m_dataFolder).absolutePath(); !QDir().mkpath(parent))
        return FileRules::FileProblem{FileRules::FileProblem::Kind::NotMade, parent};
    const auto ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
    return FileRules::ensureFolder(m_dataFolder, ownerOnly);
}
