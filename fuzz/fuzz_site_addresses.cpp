// The site-address file through the loader and the cipher, then the lookups over what it loaded.
#include "core/AppFolder.h"
#include "fuzz/FuzzFolder.h"
#include "sites/SiteDirectory.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static FuzzFolder folder;
    folder.write(AppFolder::siteAddressFile(), data, size);
    SiteDirectory sites;
    sites.loadSiteAddresses(folder.path());
    for (const QString& name : SiteDirectory::builtInSiteNames()) {
        const auto found = sites.findSiteAddress(name);
        if (found && !found->startsWith(QStringLiteral("http://")))
            std::abort();
    }
    sites.findSiteAddress(QString());
    return 0;
}
