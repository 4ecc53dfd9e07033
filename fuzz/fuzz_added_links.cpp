// The added-links file through the loader and the reload, then the lookup over what it loaded.
#include "app/AppFolder.h"
#include "app/Module1.h"
#include "fuzz/FuzzFolder.h"
#include "sites/SiteDirectory.h"

#include <QStringList>

#include <cstdint>
#include <cstdlib>

namespace {

class CountingList final : public SiteList {
public:
    void AddItem(const QString& text) override { m_items.append(text); }
    void Clear() override { m_items.clear(); }
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
    SiteDirectory::ReloadSiteList(folder.path(), list);
    const qsizetype builtIn = SiteDirectory::BuiltInSiteNames().size();
    if (list.items().size() != builtIn + Module1::AddedLinkCount)
        std::abort();
    if (list.items().mid(builtIn) != Module1::AddedLinks.mid(1, Module1::AddedLinkCount))
        std::abort();
    // Every added link finds itself, or an earlier link that contains it.
    for (const QString& entry : list.items().mid(builtIn)) {
        const auto link = SiteDirectory::FindAddedLink(entry);
        if (!entry.isEmpty() && (!link || !link->contains(entry)))
            std::abort();
    }
    SiteDirectory::FindAddedLink(QString());
    return 0;
}
