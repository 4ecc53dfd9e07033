#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>
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
    // One entry of the site list.
    struct Entry {
        QString text;
        // What a click on the entry loads; empty when nothing was found for it.
        QString address;
        // What "Next" onto the entry loads: the first added link that contains its text when there
        // is one, so a built-in name that one of the user's links holds walks on to that link;
        // else the same as a click.
        QString walkAddress;
    };

    // The ten built-in names, in list order. Each occurs, ignoring case, in its site's address.
    static const QStringList& builtInSiteNames();

    // Replaces the addresses with "http://" + each line of the site-address file, descrambled.
    // The entries find their addresses when they are built: load the addresses first.
    void loadSiteAddresses(const QString& programFolder);
    // Rebuilds the entries, the ten built-in names and then every line of the added-links file,
    // and the added links from that file alone. The site addresses stay as they are. Each entry's
    // addresses are found here, once: a click on a built-in name opens its site (findSiteAddress);
    // "Next" onto any entry, and a click on an added link, open the first added link that contains
    // its text (findAddedLink: for a link itself, or an earlier link of which it is a part), or else
    // the site whose address contains it.
    void loadAddedLinks(const QString& dataFolder);
    // Rebuilds the entries as loadAddedLinks() does, from `links` instead of the file, after they
    // were written to it as `content`.
    void setAddedLinks(const QStringList& links, const QByteArray& content);
    // The added-links file's content as last read or written.
    const QByteArray& addedLinksContent() const { return m_addedLinksContent; }

    // The web page an entry's address stands for: an address with "://" as written, another as a
    // browser completes what the user typed ("www.example.com" is "http://www.example.com").
    // Invalid for anything but an http or https address with a host.
    static QUrl webAddress(const QString& address);

    // The first site address, in file order, whose upper-cased text contains the upper-cased entry
    // text; the address is returned as stored. An empty entry text matches the first non-empty address.
    std::optional<QString> findSiteAddress(const QString& entryText) const;
    // The first added link, in file order, that contains the entry text exactly (case counts).
    // An empty entry text matches the first non-empty link.
    std::optional<QString> findAddedLink(const QString& entryText) const;

    // The list's entries, in list order, as loadAddedLinks() built them.
    const QList<Entry>& entries() const { return m_entries; }
    const QStringList& addedLinks() const { return m_addedLinks; }

private:
    QStringList m_siteAddresses;
    QStringList m_upperSiteAddresses; // the lookup's side of each
    QStringList m_addedLinks;
    QByteArray m_addedLinksContent;
    QList<Entry> m_entries;
};
