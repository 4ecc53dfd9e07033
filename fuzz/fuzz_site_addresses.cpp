// The site-address file through the loader and the cipher, then the lookups over what it loaded.
#include "app/AppFolder.h"
#include "app/Module1.h"
#include "fuzz/FuzzFolder.h"
#include "sites/SiteDirectory.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static FuzzFolder folder;
    folder.write(AppFolder::siteAddressFile(), data, size);
    SiteDirectory::LoadSiteAddresses(folder.path());
    if (Module1::SiteAddresses.size() != Module1::SiteAddressCount + 1)
        std::abort();
    for (const QString& name : SiteDirectory::BuiltInSiteNames()) {
        const auto found = SiteDirectory::FindSiteAddress(name);
        if (found && !found->startsWith(QStringLiteral("http://")))
            std::abort();
    }
    SiteDirectory::FindSiteAddress(QString());
    return 0;
}
