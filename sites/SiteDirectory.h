#pragma once

#include "sites/SiteList.h"

#include <QString>
#include <QStringList>
#include <optional>

// The site directory: the ten built-in site names, the scrambled site-address file and the
// user's added-links file. The loaders fill the shared tables of Module1.
//
// Site-address file (folder + "/padok.txt"): one address per line, without its "http://",
// scrambled byte by byte with Cls5::FixedDepth (see Cls5). Read only.
// Added-links file (folder + "/addedlinks.txt"): one link per line, used as it reads.
// Both are Windows-1252 text; lines end with CR LF (a lone CR or LF is taken as a line end too)
// and the last line may lack its ending. A missing or unreadable file counts as empty.
namespace SiteDirectory {

// The ten built-in names, in list order. Each occurs, ignoring case, in its site's address.
const QStringList& BuiltInSiteNames();

// Appends the ten built-in names to `list`.
void AddBuiltInSites(SiteList& list);

// Reads every line of the site-address file into Module1::SiteAddresses (slot k = "http://" +
// line k descrambled) and sets SiteAddressCount to the number of lines. Replaces earlier content.
void LoadSiteAddresses(const QString& appFolder);

// Appends every line of the added-links file to `list` and to Module1::AddedLinks after
// slot AddedLinkCount, counting each one.
void LoadAddedLinks(const QString& appFolder, SiteList& list);

// Rebuilds the list from the built-in names and the added-links file, and AddedLinks from that
// file alone. SiteAddresses and CurrentSiteIndex are not touched.
void ReloadSiteList(const QString& appFolder, SiteList& list);

// The first site address, in file order, whose upper-cased text contains the upper-cased entry
// text; the address is returned as stored. An empty entry text matches the first non-empty address.
std::optional<QString> FindSiteAddress(const QString& entryText);

// The first added link, in file order, that contains the entry text exactly (case counts).
// An empty entry text matches the first non-empty link.
std::optional<QString> FindAddedLink(const QString& entryText);

} // namespace SiteDirectory
