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
    // Why a field was left alone.
    enum class Reason {
        TakesNoText, // its input type takes no text (a check box, a button, an upload)
        HeldByPage,  // it holds a value of the page's own (see FillRules::isVacant)
        NotKept,     // its type did not keep the value written (a number field given a word)
        Refused,     // the page refused the write; the detail names the DOM error
    };
    struct Refusal {
        int frame = 0; // the field's document: its position among the snapshot's documents
        QString name;
        Reason reason = Reason::Refused;
        QString detail;
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
// form fields and frames in document order ("page", "frame"), or only the fields that appeared
// ("added").
// A missing scope is "page"; "nav" ("back_forward") is not read here.
//
// Each document's entries, in document order:
// - a number n > 0: n elements in a row that are not form fields (counted, never sent);
// - null: an element that could not be read;
// - an object for every INPUT, TEXTAREA and SELECT, keys left out when empty:
//     {"tag": "INPUT" | "TEXTAREA" | "SELECT", "name", "id",
//      "type": an INPUT's type, lower case ("text" when missing),
//      "label": its label's text (label[for], an enclosing LABEL, aria-labelledby, aria-label),
//      "hint": only without a label, the text just before the field (in a table cell the text
//              before it in its own cell, else the previous cell's; else the nearest preceding text),
//      "after": an INPUT's text just after it among its siblings, before any other field, as in
//               "<input name=size> (KB)": only to tell a unit,
//      "placeholder", "title", "autocomplete": the attributes as written,
//      "maxlength": a number >= 0,
//      "held": true when the field holds exactly what a pass wrote there and nobody changed it
//              since, else {"value": V, "placeholder": P, "handlers": H}: V what it holds, P its
//              placeholder attribute, H its onfocus, onclick and onblur attributes, each followed
//              by a line feed (P and H left out when empty); left out when the field is empty,
//      "options": [option text, ...] with white space collapsed, in list order (SELECT only),
//      "selected": [k, ...], "multiple": true}
//   Texts are collapsed and at most 200 characters.
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
//    "refused": [[i, frame, "name", "reason"], ...], "altered": [[i, "text"], ...]}
// reason being "ValueNotKept" or the name of the DOM error that a write raised; "altered" names
// the fields that hold another text than the one written (an input drops line breaks), with the
// text they hold. Every other text write that was not refused left its field holding that text.
namespace FillPlan {

struct Plan {
    QJsonObject page; // what goes to the page script
    FillReport::Scope scope = FillReport::Scope::Page;
    // Fields that the rules give a value but leave alone (no text type, a value of the page's
    // own), by snapshot position; the page never sees them.
    QList<std::pair<qint64, FillReport::Refusal>> skipped;
    // The texts the plan writes, in document order, each with its field's snapshot position and
    // key (fieldKey()).
    struct Text {
        qint64 at = 0;
        QString key;
        QString text;
    };
    QList<Text> texts;
};

// The plan for `snapshot` with `product`, or nothing when the snapshot cannot be read. Without a
// product the plan writes nothing and skips nothing. Each field gets the fact FieldRecognition
// finds in it, in the form ProductFactValues gives for it; a field recognised as no fact, or as a
// fact the product lacks, is left alone; a field nothing specific is recognised in gets the
// keyword rules (FillRules::textFieldValue). Lists of operating systems, languages, licences,
// release status and release date parts select by the product's value; other lists recognised
// as categories or named so (FillRules::isCategoryList) select by the category keyword.
std::optional<Plan> make(QByteArrayView snapshot, const std::optional<ProductFacts>& product);

// The outcome that the page reported for `plan`; a report for another plan, or one that cannot be
// read, counts as superseded.
FillReport readReport(const QJsonObject& report, const Plan& plan);

// The key by which the passes know a field again in a page that Back or Forward restores: its
// name, else "#" and its id, else nothing.
QString fieldKey(const QString& name, const QString& id);

// What `plan` left in the fields that have a key, as `report` tells it: (key, text) in document
// order; nothing when the plan was not applied.
QList<std::pair<QString, QString>> writtenTexts(const QJsonObject& report, const Plan& plan);

} // namespace FillPlan
