#include "autofill/FillPlan.h"

#include "autofill/FillRules.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QStringList>
#include <algorithm>

namespace FillPlan {

namespace {

QStringList toStringList(const QJsonArray& array)
{
    QStringList list;
    list.reserve(array.size());
    for (const QJsonValue& v : array)
        list.append(v.toString());
    return list;
}

// The write for one element, if the rules give one.
std::optional<QJsonValue> writeFor(const QJsonValue& element, const Product& product)
{
    if (!element.isArray())
        return std::nullopt; // unreadable
    const QJsonArray fields = element.toArray();
    const QString tag = fields.at(0).toString().toUpper();
    const QString name = fields.at(1).toString();
    if (tag == u"SELECT") {
        if (!FillRules::isCategoryList(name))
            return std::nullopt;
        const QList<qsizetype> positions =
            FillRules::categorySelection(toStringList(fields.at(2).toArray()), product.categoryKeyword);
        if (positions.isEmpty())
            return std::nullopt;
        QJsonArray selection;
        for (const qsizetype k : positions)
            selection.append(static_cast<qint64>(k));
        return selection;
    }
    if (!FillRules::isTextFieldTag(tag))
        return std::nullopt;
    if (std::optional<QString> value = FillRules::textFieldValue(name, product))
        return QJsonValue(*value);
    return std::nullopt;
}

} // namespace

std::optional<QJsonObject> make(QByteArrayView snapshot, const Product& product)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(snapshot.toByteArray(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject root = document.object();
    const QJsonValue token = root.value(u"token");
    const QJsonValue docs = root.value(u"docs");
    if (!token.isString() || !docs.isArray())
        return std::nullopt;

    QJsonArray writes;
    qint64 position = 0;
    for (const QJsonValue& doc : docs.toArray()) {
        for (const QJsonValue& element : doc.toArray()) {
            if (element.isDouble()) {
                position += std::max<qint64>(element.toInteger(), 0);
                continue;
            }
            if (std::optional<QJsonValue> write = writeFor(element, product))
                writes.append(QJsonArray{position, *write});
            ++position;
        }
    }
    return QJsonObject{{QStringLiteral("token"), token},
                       {QStringLiteral("doc"), root.value(u"doc")},
                       {QStringLiteral("writes"), writes}};
}

FillReport readReport(const QJsonObject& report, const QString& token)
{
    FillReport result;
    if (report.value(u"token").toString() != token || report.value(u"status").toString() != u"applied") {
        result.status = FillReport::Status::Superseded;
        return result;
    }
    result.status = FillReport::Status::Applied;
    result.written = report.value(u"written").toInteger();
    result.lists = report.value(u"lists").toInteger();
    for (const QJsonValue& entry : report.value(u"refused").toArray()) {
        const QJsonArray fields = entry.toArray();
        result.refused.append({fields.at(0).toInt(), fields.at(1).toString(), fields.at(2).toString()});
    }
    return result;
}

} // namespace FillPlan
