#pragma once

#include <QString>

// The vendor's web site: the home page, and the online help page on the same site.
namespace VendorSite {

inline QString homePage() { return QStringLiteral("https://www.formtide.com/"); }
inline QString onlineHelp() { return QStringLiteral("https://www.formtide.com/formtidehelp.html"); }

} // namespace VendorSite
