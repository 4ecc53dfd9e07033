#include "app/Module1.h"

namespace Module1 {

std::int32_t CurrentSiteIndex = 0;
std::int32_t AddedLinkCount = 0;
QStringList AddedLinks{QString()};
std::int32_t SiteAddressCount = 0;
QStringList SiteAddresses{QString()};
Product ActiveProduct;
std::int32_t ProductEditMode = 0;

void ResetForTesting()
{
    CurrentSiteIndex = 0;
    AddedLinkCount = 0;
    AddedLinks = QStringList{QString()};
    SiteAddressCount = 0;
    SiteAddresses = QStringList{QString()};
    ActiveProduct = Product{};
    ProductEditMode = 0;
}

} // namespace Module1
