// The site-address file and the added-links file (the same bytes as both) through their loaders,
// then the lookups over what they loaded; the links rewritten read back the same. The same bytes as
// the check results file read back the same once written, and as a file of links to add.
#include "core/AppFolder.h"
#include "sites/AddedLinksFile.h"
#include "sites/SiteCheckResults.h"
#include "sites/SiteDirectory.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const QTemporaryDir folder;
    for (const QString& name : {AppFolder::siteAddressFile(), AppFolder::addedLinksFile()}) {
        QFile file(folder.path() + name);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    SiteDirectory sites;
    sites.loadSiteAddresses(folder.path());
    for (const QString& name : SiteDirectory::builtInSiteNames()) {
        const auto found = sites.findSiteAddress(name);
        if (found && !found->startsWith(QStringLiteral("http://")))
            std::abort();
    }
    sites.loadAddedLinks(folder.path());
    QStringList added;
    for (const SiteDirectory::Entry& entry : sites.entries().mid(SiteDirectory::builtInSiteNames().size()))
        added.append(entry.text);
    if (added != sites.addedLinks())
        std::abort();
    // Every added link finds itself, or an earlier link that contains it.
    for (const QString& entry : added) {
        const auto link = sites.findAddedLink(entry);
        if (!entry.isEmpty() && (!link || !link->contains(entry)))
            std::abort();
    }
    sites.findSiteAddress(QString());
    sites.findAddedLink(QString());

    const auto rewritten = AddedLinksFile::rewrite(folder.path(), added, sites.addedLinksContent());
    sites.loadAddedLinks(folder.path());
    if (!rewritten || sites.addedLinks() != added)
        std::abort();
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const SiteCheckResults::Checks checks = SiteCheckResults::parse(bytes);
    if (SiteCheckResults::parse(SiteCheckResults::serialize(checks)) != checks)
        std::abort();
    const AddedLinksFile::Import imported = AddedLinksFile::importable(bytes, added.mid(0, 2));
    for (qsizetype i = 0; i < imported.links.size(); ++i) {
        const QString& link = imported.links[i];
        if (link.trimmed() != link || link.isEmpty() || added.mid(0, 2).contains(link) ||
            imported.links.indexOf(link) != i)
            std::abort();
    }
    return 0;
}
