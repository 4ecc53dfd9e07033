#pragma once

#include "core/Product.h"

#include <QByteArrayView>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <optional>

// How one fill pass ended.
struct FillReport {
    enum class Status {
        Applied,    // the plan reached the page it was made for
        NoDocument, // there was no document that could be read
        Superseded, // a newer pass or a navigation took over before the plan landed
        TimedOut,   // the page did not answer in time
    };
    // A field whose write the page refused (a file input, an element without a value).
    struct Refusal {
        int frame = 0;
        QString name;
        QString reason;
        friend bool operator==(const Refusal&, const Refusal&) = default;
    };

    Status status = Status::NoDocument;
    qsizetype written = 0; // fields given a value
    qsizetype lists = 0;   // lists given a selection
    QList<Refusal> refused;
};

// Turns a page snapshot into the writes of one pass, and reads the page's report on them.
//
// Snapshot (made by the page script, UTF-8 JSON):
//   {"token": T, "doc": D, "docs": [[element, ...], ...]}
// T names this snapshot, D the document it was taken of. "docs" holds the top-level document
// first, then every same-origin frame's document; each lists its elements in document order.
// An element with a name is ["TAG", "name"], or ["SELECT", "name", ["option text", ...]] for a
// list; an element that could not be read is null; a number n stands for n elements in a row
// without a name (no rule matches an empty name, so their tags are not sent).
//
// Plan (handed back to the page script):
//   {"token": T, "doc": D, "writes": [[i, "value"] or [i, [k, ...]], ...]}
// i counts the snapshot's elements over all documents in order; [i, "value"] writes a field's
// value, [i, [k, ...]] selects the options at those positions, in that order. Writes are in
// document order.
//
// Report (from the page script):
//   {"token": T, "status": "applied" | "stale", "written": n, "lists": n,
//    "refused": [[frame, "name", "reason"], ...]}
namespace FillPlan {

// The plan for `snapshot` with `product`, or nothing when the snapshot cannot be read.
std::optional<QJsonObject> make(QByteArrayView snapshot, const Product& product);

// The outcome that the page reported for the plan `token`; a report for another plan, or one
// that cannot be read, counts as superseded.
FillReport readReport(const QJsonObject& report, const QString& token);

} // namespace FillPlan
