#pragma once

#include <QString>

// The vendor's web site: the home page, and the online help page on the same site (named like
// the help page that ships with the program).
namespace VendorSite {

inline QString homePage()
{
    return QStringLiteral("https://www.formtide.com/");
}
inline QString onlineHelp()
{
    return homePage() + QStringLiteral("formtidehelp.html");
}
// How the About box shows the address.
inline QString displayAddress()
{
    return QStringLiteral("www.formtide.com");
}

} // namespace VendorSite
