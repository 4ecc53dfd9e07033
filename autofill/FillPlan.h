#pragma once

#include "core/ProductFacts.h"

#include <QByteArrayView>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <optional>
#include <utility>

// How one fill pass ended.
struct FillReport {
    enum class Status {
        Applied,    // the plan reached the page it was made for
        NoDocument, // there was no document that could be read
        NoProduct,  // no product is chosen: the page was read and left as it was
        Superseded, // a newer pass or a navigation took over before the plan landed
        TimedOut,   // the page did not answer in time
    };
    // What the pass covered.
    enum class Scope {
        Page,        // the shown document and its same-origin frames' documents
        Frame,       // one same-origin frame's document that finished loading, with its own frames
        AddedFields, // fields that appeared after the earlier passes
    };
    // A field left alone: one whose input type takes no text ("NotTextField"), one that holds a value
    // of the page's own ("PageValue", see FillRules::isVacant), one whose type did not keep the value
    // ("ValueNotKept"), or one whose write the page refused (a DOM error name).
    struct Refusal {
        int frame = 0; // the field's document: its position among the snapshot's documents
        QString name;
        QString reason;
        friend bool operator==(const Refusal&, const Refusal&) = default;
    };

    Status status = Status::NoDocument;
    Scope scope = Scope::Page;
    qsizetype written = 0;  // fields given a value
    qsizetype lists = 0;    // lists given a selection
    QList<Refusal> refused; // in document order
};

// Turns a page snapshot into the writes of one pass, and reads the page's report on them.
//
// Snapshot (made by the page script, UTF-8 JSON):
//   {"token": T, "doc": D, "scope": "page" | "frame" | "added", "docs": [[element, ...], ...]}
// T names this snapshot, D the document it was taken of. "docs" holds the documents the pass
// covers, the outermost first, then the same-origin frames' documents inside it; each lists its
// elements in document order ("page", "frame"), or only the fields that appeared ("added").
// An element with a name is ["TAG", "name"], its tag upper-cased; an INPUT whose type is not
// "text" is ["INPUT", "name", "type"]. An INPUT or TEXTAREA that holds a value is
// ["INPUT", "name", "type", held] (its type given even when "text") or
// ["TEXTAREA", "name", "", held], held being true when the field holds exactly what a pass wrote
// there and nobody changed it since, and otherwise {"value": V, "placeholder": P, "handlers": H}:
// V what it holds as the snapshot is taken, P its placeholder attribute, H its onfocus, onclick
// and onblur attributes, each followed by a line feed; P and H are left out when empty. A list is
// ["SELECT", "name", "\noption text\noption text..."], every option of the list (those inside an
// OPTGROUP included) in list order, each text after a line feed: an option's text has its white
// space collapsed, so it never holds one. An element that could not be read is null; a number n
// stands for n elements in a row without a name (no rule matches an empty name, so their tags are
// not sent). A missing scope is "page".
//
// Plan (handed to the page script):
//   {"token": T, "doc": D, "writes": [[i, "value"] or [i, "value", true] or [i, [k, ...]], ...]}
// i counts the snapshot's elements over all documents in order; [i, "value"] writes a field's
// value and fires its input and change events; [i, "value", true] does the same only when the
// field, probed first, keeps exactly that value, and otherwise leaves it untouched; [i, [k, ...]]
// selects the options at those positions, in that order, and fires change. Writes are in document
// order. Every field written and every list selected in is marked until the user edits it.
//
// Report (from the page script):
//   {"token": T, "status": "applied" | "stale", "written": n, "lists": n,
//    "refused": [[i, frame, "name", "reason"], ...]}
namespace FillPlan {

struct Plan {
    QJsonObject page; // what goes to the page script
    FillReport::Scope scope = FillReport::Scope::Page;
    // Fields that the rules leave alone (no text type, a value of the page's own), by snapshot
    // position; the page never sees them.
    QList<std::pair<qint64, FillReport::Refusal>> skipped;
};

// The plan for `snapshot` with `product`, or nothing when the snapshot cannot be read. Without a
// product the plan writes nothing and skips nothing.
std::optional<Plan> make(QByteArrayView snapshot, const std::optional<ProductFacts>& product);

// The outcome that the page reported for `plan`; a report for another plan, or one that cannot be
// read, counts as superseded.
FillReport readReport(const QJsonObject& report, const Plan& plan);

} // namespace FillPlan
