#include "autofill/FillRules.h"

#include "core/TextMatch.h"

namespace FillRules {

using TextMatch::contains;

bool isTextFieldTag(QStringView upperTag)
{
    return upperTag == u"INPUT" || upperTag == u"TEXTAREA" || upperTag == u"PASSWORD";
}

TextWrite textWriteFor(QStringView inputType)
{
    if (inputType.isEmpty())
        return TextWrite::Write;
    // Texts of different lengths never compare equal, case aside.
    const auto is = [inputType](QStringView type) {
        return inputType.size() == type.size() && inputType.compare(type, Qt::CaseInsensitive) == 0;
    };
    for (const QStringView skipped :
         {u"checkbox", u"radio", u"submit", u"reset", u"button", u"image", u"file"}) {
        if (is(skipped))
            return TextWrite::Skip;
    }
    for (const QStringView checked :
         {u"number", u"range", u"color", u"date", u"month", u"week", u"time", u"datetime-local"}) {
        if (is(checked))
            return TextWrite::WriteIfKept;
    }
    return TextWrite::Write;
}

std::optional<QString> textFieldValue(QStringView name, const Product& product)
{
    const QString upper = TextMatch::upper(name);
    std::optional<QString> value;
    if (contains(upper, u"REGNOW"))
        value = product.regnowProductId;
    if (contains(upper, u"REGNOWVENDERID"))
        value = product.regnowVendorId;
    if (contains(upper, u"REGNOWPRODUCTID"))
        value = product.regnowProductId;
    for (const QStringView keyword : {u"URL", u"PAD", u"XML", u"NOTES", u"PNAME", u"FILE"}) {
        if (contains(upper, keyword)) {
            value = product.padUrl;
            break;
        }
    }
    return value;
}

bool isVacant(const HeldText& held)
{
    if (held.ours)
        return true;
    QStringView rest = QStringView(held.value).trimmed();
    for (const QStringView scheme : {u"http://", u"https://"}) {
        if (rest.startsWith(scheme, Qt::CaseInsensitive)) {
            rest = rest.sliced(scheme.size());
            break;
        }
    }
    if (rest.compare(u"www.", Qt::CaseInsensitive) == 0)
        rest = {};
    if (rest.isEmpty())
        return true;
    return held.value == held.placeholder || held.handlers.contains(held.value);
}

bool isCategoryList(QStringView name)
{
    return contains(TextMatch::upper(name), u"CAT");
}

QList<qsizetype> categorySelection(const QStringList& texts, QStringView keyword)
{
    const QString word = TextMatch::upper(keyword);
    QList<qsizetype> positions;
    QString upper;
    for (qsizetype k = 0; k < texts.size(); ++k) {
        TextMatch::upperInto(texts.at(k), upper);
        if (TextMatch::holdsCategoryKeyword(upper, word))
            positions.append(k);
    }
    return positions;
}

} // namespace FillRules
