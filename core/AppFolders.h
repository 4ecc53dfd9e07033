#pragma once

#include <QString>

// Where the program's own files and the user's files live, decided once at start and handed to
// everything that reads or writes them. The program's folder holds what ships with it (the site
// addresses and the help page), read only. The data folder holds what is the user's (the added
// links, the product profiles, the browser's storage and everything else the program writes);
// nothing is ever written outside it.
class AppFolders {
public:
    AppFolders(QString programFolder, QString dataFolder)
        : m_programFolder(std::move(programFolder)), m_dataFolder(std::move(dataFolder))
    {
    }

    // Both in one folder, as in a build or an unpacked archive.
    static AppFolders portable(const QString& folder) { return {folder, folder}; }

    const QString& programFolder() const { return m_programFolder; }
    const QString& dataFolder() const { return m_dataFolder; }

private:
    QString m_programFolder;
    QString m_dataFolder;
};
