#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <functional>

// What the fill passes wrote into the fields of each entry of a browser's history. The engine puts
// back what fields held when Back or Forward shows an entry again; with this, the texts that a pass
// wrote there count as the passes' own, so that the next pass replaces them with the active
// product's and keeps what the user typed.
class HistoryFills {
public:
    // Notes the texts that a pass wrote while `entry` was shown (FillPlan::writtenTexts): (key,
    // text), by FillPlan::fieldKey(), never empty. A later text for a key replaces the earlier
    // one.
    void remember(const QString& entry, const QList<std::pair<QString, QString>>& wrote);

    // `snapshot` (format: autofill/FillPlan.h) in which each field holding exactly the text that a
    // pass last wrote into the field of the same key on the entry shown is given as the passes' own
    // ("held": true). Only a snapshot of a document reached by Back or Forward is changed; any
    // other comes back as it is. `entryShown` gives the entry, and is asked only for such a
    // snapshot: asking a browser's history costs more than looking at the snapshot.
    QByteArray recognise(const QByteArray& snapshot, const std::function<QString()>& entryShown) const;

private:
    QHash<QString, QHash<QString, QString>> m_written; // entry -> key -> text
};
