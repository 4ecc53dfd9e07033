#pragma once

#include <QString>

// Names of the program's files (the site addresses, the help page: AppFolders::programFolder()) and
// of the user's (the added links, the profiles, the marks, the browser's cookies:
// AppFolders::dataFolder()).
// A file's path is its folder followed directly by its name, which begins with the separator;
// nothing is added or removed between them.
namespace AppFolder {

inline QString siteAddressFile()
{
    return QStringLiteral("/padok.txt");
}
inline QString addedLinksFile()
{
    return QStringLiteral("/addedlinks.txt");
}
inline QString helpPage()
{
    return QStringLiteral("/formtidehelp.html");
}
inline QString infoFolder()
{
    return QStringLiteral("/Info");
}
// Each product's marks, one file per product (sites/ProgressStore.h).
inline QString progressFolder()
{
    return QStringLiteral("/Progress");
}
inline QString lastProductFile()
{
    return QStringLiteral("/lastproduct.txt");
}
// The embedded browser's cookies, so that site logins travel with the folder.
inline QString browserFolder()
{
    return QStringLiteral("/Browser");
}

inline QString path(const QString& folder, const QString& name)
{
    return folder + name;
}

} // namespace AppFolder
