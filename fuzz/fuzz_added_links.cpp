// The added-links file through the loader and the reload, then the lookup over what it loaded.
#include "core/AppFolder.h"
#include "fuzz/FuzzFolder.h"
#include "sites/SiteDirectory.h"

#include <QStringList>
#include <cstdint>
#include <cstdlib>

namespace {

class CountingList final : public SiteList {
public:
    void addItem(const QString& text) override { m_items.append(text); }
    void clear() override { m_items.clear(); }
    const QStringList& items() const { return m_items; }

private:
    QStringList m_items;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static FuzzFolder folder;
    folder.write(AppFolder::addedLinksFile(), data, size);
    CountingList list;
    SiteDirectory sites;
    sites.reloadSiteList(folder.path(), list);
    const qsizetype builtIn = SiteDirectory::builtInSiteNames().size();
    if (list.items().mid(builtIn) != sites.addedLinks())
        std::abort();
    // Every added link finds itself, or an earlier link that contains it.
    for (const QString& entry : list.items().mid(builtIn)) {
        const auto link = sites.findAddedLink(entry);
        if (!entry.isEmpty() && (!link || !link->contains(entry)))
            std::abort();
    }
    sites.findAddedLink(QString());
    return 0;
}
