#include "autofill/FillPlan.h"

#include "autofill/FillRules.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>
#include <algorithm>

namespace FillPlan {

namespace {

// The option texts of a list as the snapshot sends them: each one after a line feed, which no
// option text holds (and upper-casing makes none).
QList<QStringView> optionTexts(QStringView joined)
{
    QList<QStringView> texts;
    if (joined.startsWith(u'\n')) {
        for (const QStringView text : joined.sliced(1).tokenize(u'\n'))
            texts.append(text);
    }
    return texts;
}

FillReport::Scope scopeOf(const QString& scope)
{
    if (scope == u"frame")
        return FillReport::Scope::Frame;
    if (scope == u"added")
        return FillReport::Scope::AddedFields;
    return FillReport::Scope::Page;
}

// What a field's snapshot entry says it holds; nothing when it holds nothing.
std::optional<FillRules::HeldText> heldText(const QJsonValue& held)
{
    if (held == QJsonValue(true))
        return FillRules::HeldText{{}, {}, {}, true};
    if (!held.isObject())
        return std::nullopt;
    const QJsonObject object = held.toObject();
    return FillRules::HeldText{object.value(u"value").toString(), object.value(u"placeholder").toString(),
                               object.value(u"handlers").toString(), false};
}

// A field's entry in the form of the older snapshots, which the rules below read:
// ["TAG", "name", "type" or "\noption\noption...", held].
QJsonArray olderEntry(const QJsonObject& field)
{
    const QString tag = field.value(u"tag").toString();
    QJsonArray entry{tag, field.value(u"name").toString()};
    if (tag == u"SELECT") {
        QString options;
        for (const QJsonValue& text : field.value(u"options").toArray())
            options += u'\n' + text.toString();
        entry.append(options);
    } else {
        entry.append(field.value(u"type").toString());
        entry.append(field.value(u"held"));
    }
    return entry;
}

// Positions go back to the page as JSON numbers, which are exact up to 2^53; a snapshot that
// counts further did not come from the page script.
constexpr qint64 lastExactPosition = qint64(1) << 53;

} // namespace

std::optional<Plan> make(QByteArrayView snapshot, const std::optional<ProductFacts>& product)
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

    Plan plan;
    plan.scope = scopeOf(root.value(u"scope").toString());
    QJsonArray writes;
    const QJsonArray documents = product ? docs.toArray() : QJsonArray();
    qint64 position = 0;
    int frame = 0;
    for (const QJsonValue& doc : documents) {
        for (const QJsonValue& element : doc.toArray()) {
            if (element.isDouble()) {
                const double count = element.toDouble();
                if (count > double(lastExactPosition - position))
                    return std::nullopt;
                if (count > 0)
                    position += qint64(count);
                continue;
            }
            if (position >= lastExactPosition)
                return std::nullopt;
            const qint64 at = position++;
            if (!element.isArray() && !element.isObject())
                continue; // unreadable
            const QJsonArray fields = element.isObject() ? olderEntry(element.toObject()) : element.toArray();
            const QString tag = fields.at(0).toString();
            const QString name = fields.at(1).toString();
            if (tag == u"SELECT") {
                if (!FillRules::isCategoryList(name))
                    continue;
                const QString options = fields.at(2).toString().toUpper();
                const QList<qsizetype> positions =
                    FillRules::categorySelection(optionTexts(options), product->profile.categoryKeyword);
                if (positions.isEmpty())
                    continue;
                QJsonArray selection;
                for (const qsizetype k : positions)
                    selection.append(static_cast<qint64>(k));
                writes.append(QJsonArray{at, selection});
                continue;
            }
            if (!FillRules::isTextFieldTag(tag))
                continue;
            const std::optional<QString> value = FillRules::textFieldValue(name, product->profile);
            if (!value)
                continue;
            const QString type = tag == u"INPUT" ? fields.at(2).toString() : QString();
            const FillRules::TextWrite write = FillRules::textWriteFor(type);
            const std::optional<FillRules::HeldText> held = heldText(fields.at(3));
            if (write != FillRules::TextWrite::Skip && held && !FillRules::isVacant(*held)) {
                plan.skipped.append({at, {frame, name, QStringLiteral("PageValue")}});
                continue;
            }
            switch (write) {
            case FillRules::TextWrite::Write:
                writes.append(QJsonArray{at, *value});
                break;
            case FillRules::TextWrite::WriteIfKept:
                writes.append(QJsonArray{at, *value, true});
                break;
            case FillRules::TextWrite::Skip:
                plan.skipped.append({at, {frame, name, QStringLiteral("NotTextField")}});
                break;
            }
        }
        ++frame;
    }
    plan.page = QJsonObject{{QStringLiteral("token"), token},
                            {QStringLiteral("doc"), root.value(u"doc")},
                            {QStringLiteral("writes"), writes}};
    return plan;
}

FillReport readReport(const QJsonObject& report, const Plan& plan)
{
    FillReport result;
    result.scope = plan.scope;
    if (report.value(u"token") != plan.page.value(u"token") ||
        report.value(u"status").toString() != u"applied") {
        result.status = FillReport::Status::Superseded;
        return result;
    }
    result.status = FillReport::Status::Applied;
    result.written = report.value(u"written").toInteger();
    result.lists = report.value(u"lists").toInteger();
    // Both lists are in document order; merged by snapshot position.
    QList<std::pair<qint64, FillReport::Refusal>> refused = plan.skipped;
    for (const QJsonValue& entry : report.value(u"refused").toArray()) {
        const QJsonArray fields = entry.toArray();
        refused.append({fields.at(0).toInteger(),
                        {fields.at(1).toInt(), fields.at(2).toString(), fields.at(3).toString()}});
    }
    std::stable_sort(refused.begin(), refused.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [at, refusal] : refused)
        result.refused.append(refusal);
    return result;
}

} // namespace FillPlan
