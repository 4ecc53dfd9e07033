#include "autofill/FillPlan.h"

#include "autofill/FieldRecognition.h"
#include "autofill/FillRules.h"
#include "autofill/ProductFactValues.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QSet>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace FillPlan {

namespace {

FillReport::Scope scopeOf(const QString& scope)
{
    if (scope == "frame"_L1)
        return FillReport::Scope::Frame;
    if (scope == "added"_L1)
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

// A field as its snapshot entry describes it, with what it holds.
struct Entry {
    FormField field;
    QJsonValue held;
};

// Reads the entry's members in one walk over them: a page sends thousands of fields, and each
// lookup by key searches the whole object.
Entry entryOf(const QJsonObject& object)
{
    Entry entry;
    FormField& field = entry.field;
    const std::pair<QStringView, QString*> texts[] = {
        {u"tag", &field.tag},     {u"name", &field.name},
        {u"id", &field.id},       {u"type", &field.type},
        {u"label", &field.label}, {u"hint", &field.hint},
        {u"after", &field.after}, {u"placeholder", &field.placeholder},
        {u"title", &field.title}, {u"autocomplete", &field.autocomplete},
    };
    for (auto it = object.constBegin(); it != object.constEnd(); ++it) {
        const QString key = it.key();
        if (key == "maxlength"_L1) {
            field.maxLength = it.value().toInt(-1);
        } else if (key == "options"_L1) {
            for (const QJsonValue& option : it.value().toArray())
                field.options.append(option.toString());
        } else if (key == "multiple"_L1) {
            field.multiple = it.value().toBool();
        } else if (key == "held"_L1) {
            entry.held = it.value();
        } else {
            for (const auto& [name, text] : texts) {
                if (key == name) {
                    *text = it.value().toString();
                    break;
                }
            }
        }
    }
    if (field.tag == "INPUT"_L1 && field.type.isEmpty())
        field.type = QStringLiteral("text");
    return entry;
}

// What the fields right after a text field tell of it: a list of units after a size ("Ko"
// selected), a counter of the characters left after a description.
void readNeighbours(const QJsonArray& entries, qsizetype k, Recognition& recognition)
{
    const bool size = recognition.fact == Fact::FileSize && recognition.unit == SizeUnit::Unnamed;
    const bool description = recognition.fact == Fact::Description && recognition.namedLength < 0;
    if (!size && !description)
        return;
    for (qsizetype next = k + 1; next < std::min(entries.size(), k + 4); ++next) {
        const QJsonObject object = entries.at(next).toObject();
        const QString tag = object.value(u"tag").toString();
        if (size && tag == "SELECT"_L1) {
            const QJsonArray options = object.value(u"options").toArray();
            const qsizetype chosen = object.value(u"selected").toArray().at(0).toInteger(0);
            recognition.unit = FieldRecognition::unitOf(options.at(chosen).toString());
            return;
        }
        const QString held = object.value(u"held").toObject().value(u"value").toString();
        const QString name = object.value(u"name").toString().toLower();
        if (description && tag == "INPUT"_L1 && (name.contains(u"left") || name.contains(u"remain"))) {
            bool number = false;
            const int left = held.toInt(&number);
            if (number && left >= 10)
                recognition.namedLength = left;
            return;
        }
    }
}

// A bare address field ("url", "link") that nothing more specific names.
bool isBareAddress(const FormField& field)
{
    const auto bare = [](const QString& text) {
        const QString word = text.trimmed().remove(u':').trimmed().toLower();
        return word == "url"_L1 || word == "link"_L1 || word == "lien"_L1 || word == "adresse"_L1;
    };
    const QString& shown = field.label.isEmpty() ? field.hint : field.label;
    return bare(field.name) && (shown.isEmpty() || bare(shown));
}

// What each form field of one document asks for (nothing for other entries). A form that asks
// for a file's size describes a file to download, and PAD-submission forms never ask for it (they
// read it from the PAD): there a bare address field, with no field asking for the download
// address, is the download address, not the PAD file's.
struct RecognisedEntry {
    Entry entry;
    Recognition recognition;
};

QList<std::optional<RecognisedEntry>> recogniseAll(const QJsonArray& entries)
{
    QList<std::optional<RecognisedEntry>> recognised(entries.size());
    bool asksFileSize = false;
    bool asksDownload = false;
    for (qsizetype k = 0; k < entries.size(); ++k) {
        if (!entries.at(k).isObject())
            continue;
        Entry entry = entryOf(entries.at(k).toObject());
        Recognition recognition = FieldRecognition::recognise(entry.field);
        if (entry.field.tag != "SELECT"_L1)
            readNeighbours(entries, k, recognition);
        asksFileSize = asksFileSize || recognition.fact == Fact::FileSize;
        asksDownload = asksDownload || recognition.fact == Fact::DownloadAddress;
        recognised[k] = RecognisedEntry{std::move(entry), recognition};
    }
    if (asksFileSize && !asksDownload) {
        for (std::optional<RecognisedEntry>& at : recognised) {
            if (at && at->recognition.fact == Fact::Unknown && isBareAddress(at->entry.field))
                at->recognition.fact = Fact::DownloadAddress;
        }
    }
    return recognised;
}

// Positions go back to the page as JSON numbers, which are exact up to 2^53; a snapshot that
// counts further did not come from the page script.
constexpr qint64 lastExactPosition = qint64(1) << 53;

} // namespace

std::optional<Plan> make(QByteArrayView snapshot, const std::optional<ProductFacts>& product)
{
    QJsonParseError error;
    // Parsed in place: the document copies what it keeps.
    const QJsonDocument document =
        QJsonDocument::fromJson(QByteArray::fromRawData(snapshot.data(), snapshot.size()), &error);
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
    std::optional<ProductFactValues> values;
    if (product)
        values.emplace(*product);
    qint64 position = 0;
    int frame = 0;
    for (const QJsonValue& doc : documents) {
        const QJsonArray entries = doc.toArray();
        const QList<std::optional<RecognisedEntry>> recognised = recogniseAll(entries);
        for (qsizetype k = 0; k < entries.size(); ++k) {
            const QJsonValue& element = entries.at(k);
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
            if (!recognised.at(k))
                continue; // unreadable
            const Entry& entry = recognised.at(k)->entry;
            const FormField& field = entry.field;
            const Recognition& recognition = recognised.at(k)->recognition;
            if (field.tag == "SELECT"_L1) {
                QList<qsizetype> positions;
                if (const auto byValue = values->selection(recognition.fact, field.options, field.multiple)) {
                    positions = *byValue;
                } else if (recognition.fact == Fact::Category || FillRules::isCategoryList(field.name)) {
                    positions = FillRules::categorySelection(field.options, product->profile.categoryKeyword);
                }
                if (positions.isEmpty())
                    continue;
                QJsonArray selection;
                for (const qsizetype k : positions)
                    selection.append(static_cast<qint64>(k));
                writes.append(QJsonArray{at, selection});
                continue;
            }
            if (!FillRules::isTextFieldTag(field.tag))
                continue;
            std::optional<QString> value;
            if (recognition.fact == Fact::Unknown)
                value = FillRules::textFieldValue(field.name, product->profile);
            else if (recognition.fact != Fact::NoFact)
                value = values->text(recognition, field);
            if (!value)
                continue;
            const QString type = field.tag == "INPUT"_L1 ? field.type : QString();
            const FillRules::TextWrite write = FillRules::textWriteFor(type);
            const std::optional<FillRules::HeldText> held = heldText(entry.held);
            if (write != FillRules::TextWrite::Skip && held && !FillRules::isVacant(*held)) {
                plan.skipped.append({at, {frame, field.name, FillReport::Reason::HeldByPage, {}}});
                continue;
            }
            switch (write) {
            case FillRules::TextWrite::Write:
                writes.append(QJsonArray{at, *value});
                plan.texts.append({at, fieldKey(field.name, field.id), *value});
                break;
            case FillRules::TextWrite::WriteIfKept:
                writes.append(QJsonArray{at, *value, true});
                plan.texts.append({at, fieldKey(field.name, field.id), *value});
                break;
            case FillRules::TextWrite::Skip:
                plan.skipped.append({at, {frame, field.name, FillReport::Reason::TakesNoText, {}}});
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
        report.value(u"status").toString() != "applied"_L1) {
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
        const QString reason = fields.at(3).toString();
        FillReport::Refusal refusal{fields.at(1).toInt(), fields.at(2).toString(),
                                    FillReport::Reason::Refused, reason};
        if (reason == "ValueNotKept"_L1)
            refusal = {refusal.frame, refusal.name, FillReport::Reason::NotKept, {}};
        refused.append({fields.at(0).toInteger(), refusal});
    }
    std::stable_sort(refused.begin(), refused.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [at, refusal] : refused)
        result.refused.append(refusal);
    return result;
}

QString fieldKey(const QString& name, const QString& id)
{
    return !name.isEmpty() ? name : id.isEmpty() ? QString() : u'#' + id;
}

QList<std::pair<QString, QString>> writtenTexts(const QJsonObject& report, const Plan& plan)
{
    QList<std::pair<QString, QString>> written;
    if (report.value(u"token") != plan.page.value(u"token") ||
        report.value(u"status").toString() != "applied"_L1)
        return written;
    QSet<qint64> refused;
    for (const QJsonValue& entry : report.value(u"refused").toArray())
        refused.insert(entry.toArray().at(0).toInteger(-1));
    QHash<qint64, QString> altered;
    for (const QJsonValue& entry : report.value(u"altered").toArray())
        altered.insert(entry.toArray().at(0).toInteger(-1), entry.toArray().at(1).toString());
    for (const Plan::Text& text : plan.texts) {
        if (!text.key.isEmpty() && !refused.contains(text.at))
            written.append({text.key, altered.value(text.at, text.text)});
    }
    return written;
}

} // namespace FillPlan
