#pragma once

#include "sites/SiteList.h"

#include <QString>
#include <QStringList>
#include <optional>

// The download sites the main window walks: ten built-in site names, the addresses of the
// site-address file, and the user's own links from the added-links file.
//
// Site-address file (folder + "/padok.txt"): one address per line, without its "http://",
// scrambled byte by byte with SiteAddressCipher::fileDepth. Read only.
// Added-links file (folder + "/addedlinks.txt"): one link per line, used as it reads.
// Both are Windows-1252 text; lines end with CR LF (a lone CR or LF is taken as a line end too)
// and the last line may lack its ending. A missing or unreadable file counts as empty.
class SiteDirectory {
public:
    // The ten built-in names, in list order. Each occurs, ignoring case, in its site's address.
    static const QStringList& builtInSiteNames();
    // Appends the ten built-in names to `list`.
    static void addBuiltInSites(SiteList& list);

    // Replaces the addresses with "http://" + each line of the site-address file, descrambled.
    void loadSiteAddresses(const QString& appFolder);
    // Appends every line of the added-links file to `list` and to the added links.
    void loadAddedLinks(const QString& appFolder, SiteList& list);
    // Rebuilds the list from the built-in names and the added-links file, and the added links
    // from that file alone. The site addresses stay as they are.
    void reloadSiteList(const QString& appFolder, SiteList& list);

    // The first site address, in file order, whose upper-cased text contains the upper-cased entry
    // text; the address is returned as stored. An empty entry text matches the first non-empty address.
    std::optional<QString> findSiteAddress(const QString& entryText) const;
    // The first added link, in file order, that contains the entry text exactly (case counts).
    // An empty entry text matches the first non-empty link.
    std::optional<QString> findAddedLink(const QString& entryText) const;

    const QStringList& siteAddresses() const { return m_siteAddresses; }
    const QStringList& addedLinks() const { return m_addedLinks; }

private:
    QStringList m_siteAddresses;
    QStringList m_addedLinks;
};
