#include "autofill/FillRules.h"

namespace FillRules {

bool contains(QStringView text, QStringView word)
{
    return !text.isEmpty() && text.contains(word);
}

bool isTextFieldTag(QStringView upperTag)
{
    return upperTag == u"INPUT" || upperTag == u"TEXTAREA" || upperTag == u"PASSWORD";
}

std::optional<QString> textFieldValue(QStringView name, const Product& product)
{
    const QString upper = name.toString().toUpper();
    std::optional<QString> value;
    if (contains(upper, u"REGNOW"))
        value = product.regnowProductId;
    if (contains(upper, u"REGNOWVENDERID"))
        value = product.regnowVendorId;
    if (contains(upper, u"REGNOWPRODUCTID"))
        value = product.regnowProductId;
    for (const char16_t* keyword : {u"URL", u"PAD", u"XML", u"NOTES", u"PNAME", u"FILE"}) {
        if (contains(upper, keyword)) {
            value = product.padUrl;
            break;
        }
    }
    return value;
}

bool isCategoryList(QStringView name)
{
    return contains(name.toString().toUpper(), u"CAT");
}

QList<qsizetype> categorySelection(const QStringList& optionTexts, QStringView keyword)
{
    const QString word = keyword.toString().toUpper();
    QList<qsizetype> positions;
    for (qsizetype k = 0; k < optionTexts.size(); ++k) {
        const QString text = optionTexts.at(k).toUpper();
        if (!contains(text, word))
            continue;
        if (word == u"MATH" && contains(text, u"MATH &"))
            continue;
        if (word == u"CAD" && contains(text, u"ARCAD"))
            continue;
        positions.append(k);
    }
    return positions;
}

} // namespace FillRules
