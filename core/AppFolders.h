#pragma once

#include "core/FileRules.h"
#include "core/Result.h"

#include <QString>

// Where the program's own files and the user's files live, decided once at start and handed to
// everything that reads or writes them. The program's folder holds what ships with it (the site
// addresses and the help page), read only. The data folder holds what is the user's (the added
// links, the product profiles, the browser's storage and everything else the program writes);
// nothing is ever written outside it.
//
// The layout rule (locate()): when one of the program's own files lies beside the executable, the
// program is portable and both folders are the executable's. Otherwise it is installed in a prefix
// (the executable in <prefix>/bin): its own files are read from <prefix>/share/formtide and the
// user's live in <user data home>/formtide.
class AppFolders {
public:
    AppFolders(QString programFolder, QString dataFolder)
        : m_programFolder(std::move(programFolder)), m_dataFolder(std::move(dataFolder))
    {
    }

    // Both in one folder, as in a build or an unpacked archive.
    static AppFolders portable(const QString& folder) { return {folder, folder}; }

    // Applies the layout rule to the folder that holds the executable. `userDataHome` is the
    // folder below which installed programs keep their users' data (see userDataHome()). Looks at
    // the file system but changes nothing.
    static AppFolders locate(const QString& executableFolder, const QString& userDataHome);

    // $XDG_DATA_HOME when it is an absolute path, otherwise ~/.local/share (a relative
    // XDG_DATA_HOME is invalid and ignored, as the XDG base directory rules say).
    static QString userDataHome();

    const QString& programFolder() const { return m_programFolder; }
    const QString& dataFolder() const { return m_dataFolder; }

    // Creates the data folder when it is missing: its parents as the umask allows, the folder
    // itself readable by its owner only, since it keeps the user's site logins. An existing folder
    // is left as it is. Done when the folder exists afterwards.
    Result<void, FileRules::FileProblem> makeDataFolder() const;

private:
    QString m_programFolder;
    QString m_dataFolder;
};
