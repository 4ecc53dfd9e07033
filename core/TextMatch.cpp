#include "core/TextMatch.h"

namespace TextMatch {

bool contains(QStringView text, QStringView word)
{
    return !text.isEmpty() && text.contains(word);
}

bool holdsCategoryKeyword(QStringView upperText, QStringView keyword)
{
    if (!contains(upperText, keyword))
        return false;
    if (keyword == u"MATH")
        return !contains(upperText, u"MATH &");
    if (keyword == u"CAD")
        return !contains(upperText, u"ARCAD");
    return true;
}

} // namespace TextMatch
