#include "core/TextMatch.h"

namespace TextMatch {

bool contains(QStringView text, QStringView word)
{
    return !text.isEmpty() && text.contains(word);
}

QString upper(QStringView text)
{
    QString result;
    upperInto(text, result);
    return result;
}

void upperInto(QStringView text, QString& out)
{
    out.resize(text.size());
    char16_t* to = reinterpret_cast<char16_t*>(out.data());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= 0x80) {
            out = text.toString().toUpper();
            return;
        }
        *to++ = u >= u'a' && u <= u'z' ? char16_t(u - (u'a' - u'A')) : u;
    }
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
