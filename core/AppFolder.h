#pragma once

#include <QString>

// The one table of the files the program reads and writes, by what they hold: the program's own
// (in AppFolders::programFolder(), read only) and the user's (in AppFolders::dataFolder(), the
// only place the program writes). A file's path is its folder followed directly by its name, which
// begins with the separator; nothing is added or removed between them.
namespace AppFolder {

// The program's own files.

// The download sites' submission addresses, scrambled (sites/SiteDirectory.h).
inline QString siteAddressFile()
{
    return QStringLiteral("/padok.txt");
}
// The help page shown at start.
inline QString helpPage()
{
    return QStringLiteral("/formtidehelp.html");
}

// The user's files, in the data folder.

// The links the user added (sites/AddedLinksFile.h).
inline QString addedLinksFile()
{
    return QStringLiteral("/addedlinks.txt");
}
// One profile per product (products/ProductProfiles.h).
inline QString infoFolder()
{
    return QStringLiteral("/Info");
}
// The PAD file a product keeps, beside its profile in infoFolder(): the product's name followed by
// this ending ("Info/Zipper.xml" beside "Info/Zipper.txt").
inline QString padCopySuffix()
{
    return QStringLiteral(".xml");
}
// Each product's marks, one file per product (sites/ProgressStore.h).
inline QString progressFolder()
{
    return QStringLiteral("/Progress");
}
// The product chosen last.
inline QString lastProductFile()
{
    return QStringLiteral("/lastproduct.txt");
}
// The program's own settings (core/SettingsFile.h).
inline QString settingsFile()
{
    return QStringLiteral("/settings.txt");
}
// What the last check of the sites found, one line per address (sites/SiteCheckResults.h).
inline QString siteChecksFile()
{
    return QStringLiteral("/sitechecks.txt");
}
// The embedded browser's storage, so that site logins travel with the folder.
inline QString browserFolder()
{
    return QStringLiteral("/Browser");
}
// The cookies an earlier version kept, inside browserFolder().
inline QString cookiesFile()
{
    return QStringLiteral("/cookies.txt");
}

// Held by the running copy of the program, so that no other copy writes the same data folder
// (app/SingleInstance.h); its content is QLockFile's.
inline QString instanceLockFile()
{
    return QStringLiteral("/formtide.lock");
}

// The sign-ins the user asked the browser to remember (core/SignInStore.h), owner-only.
inline QString signInsFile()
{
    return QStringLiteral("/signins.json");
}

inline QString path(const QString& folder, const QString& name)
{
    return folder + name;
}

} // namespace AppFolder
