// The site-address file and the added-links file (the same bytes as both) through their loaders,
// then the lookups over what they loaded.
#include "core/AppFolder.h"
#include "sites/SiteDirectory.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

struct PlainList final : SiteList {
    void addItem(const QString& text) override { items.append(text); }
    void clear() override { items.clear(); }
    QStringList items;
};

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
    PlainList list;
    sites.reloadSiteList(folder.path(), list);
    const QStringList added = list.items.mid(SiteDirectory::builtInSiteNames().size());
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
    return 0;
}
