#include "autofill/HistoryFills.h"

#include "autofill/FillPlan.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

void HistoryFills::remember(const QString& entry, const QList<std::pair<QString, QString>>& wrote)
{
    if (wrote.isEmpty())
        return;
    QHash<QString, QString>& texts = m_written[entry];
    for (const auto& [key, text] : wrote)
        texts.insert(key, text);
}

QByteArray HistoryFills::recognise(const QByteArray& snapshot,
                                   const std::function<QString()>& entryShown) const
{
    // A quotation mark inside a JSON string is escaped, so this text can only be the member.
    if (!snapshot.contains(R"("nav":"back_forward")"))
        return snapshot;
    const auto written = m_written.constFind(entryShown());
    if (written == m_written.cend())
        return snapshot;
    QJsonObject root = QJsonDocument::fromJson(snapshot).object();
    QJsonArray docs = root.value(u"docs").toArray();
    bool changed = false;
    for (auto doc = docs.begin(); doc != docs.end(); ++doc) {
        QJsonArray entries = doc->toArray();
        for (auto field = entries.begin(); field != entries.end(); ++field) {
            if (!field->isObject())
                continue;
            QJsonObject object = field->toObject();
            const QJsonValue held = object.value(u"held");
            if (!held.isObject())
                continue;
            const QString key =
                FillPlan::fieldKey(object.value(u"name").toString(), object.value(u"id").toString());
            const auto text = written->constFind(key);
            if (key.isEmpty() || text == written->cend() ||
                *text != held.toObject().value(u"value").toString())
                continue;
            object.insert(QStringLiteral("held"), true);
            *field = object;
            changed = true;
        }
        *doc = entries;
    }
    if (!changed)
        return snapshot;
    root.insert(QStringLiteral("docs"), docs);
    return QJsonDocument(root).toJson(QJsonDocument::Compact);
}
