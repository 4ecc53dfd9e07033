#pragma once

#include "core/Product.h"

#include <QList>
#include <QString>
#include <QStringView>
#include <optional>

// The rules that decide what the fill pass writes into one field of a submission form. Fields are
// recognised only by keywords in their names; every test upper-cases the page's texts first, so
// case on the page does not matter. Nothing here has a count limit.
namespace FillRules {

// Tags (upper-case) that get the text-field rules: INPUT, TEXTAREA and PASSWORD.
bool isTextFieldTag(QStringView upperTag);

// How a field that the text-field rules give a value takes it, by its input type (any case;
// TEXTAREA and PASSWORD elements count as "text"):
//   Write         text, search, url, tel, email, password, hidden, and any unknown or missing type,
//                 which the browser treats as text;
//   WriteIfKept   number, range, color, date, month, week, time, datetime-local: only when the
//                 browser keeps exactly the value written; otherwise the field keeps its value and
//                 no event fires;
//   Skip          checkbox, radio, submit, reset, button, image, file: never written, because a
//                 value there changes what the form sends, or is refused.
enum class TextWrite { Write, WriteIfKept, Skip };
TextWrite textWriteFor(QStringView inputType);

// The value a text-like field named `name` ends with, or nothing when the name holds none of the
// keywords (the field then keeps its content). The rules run in order and each match writes at
// once, so the last matching one wins:
//   "REGNOW" -> regnowProductId, "REGNOWVENDERID" -> regnowVendorId,
//   "REGNOWPRODUCTID" -> regnowProductId, any of "URL" "PAD" "XML" "NOTES" "PNAME" "FILE" -> padUrl.
// The value is the same whatever the field's input type (textWriteFor() decides whether and how it
// is written); it is written even when it is empty.
std::optional<QString> textFieldValue(QStringView name, const Product& product);

// What a text-like field holds as a pass begins, as the page reports it.
struct HeldText {
    QString value;
    QString placeholder; // its placeholder attribute
    QString handlers;    // its onfocus, onclick and onblur attributes, one after the other
    bool ours = false;   // the value is exactly what a pass wrote there, and nobody changed it since
};

// Whether a field holding `held` holds nothing of the page's own, and so may take a value: it is
// empty or only white space; a bare address start ("http://", "https://www.", "www.", any case,
// blanks around it ignored); exactly its own placeholder; a hint that its own inline handlers clear
// (the value appears in them, as in value="Enter pad url" onfocus="if (value == 'Enter pad url')
// value = ''"); or a value that a pass wrote and nobody changed since. Anything else is the page's:
// a hidden upload limit or flag, an address or description that the site filled in.
bool isVacant(const HeldText& held);

// A list whose name holds "CAT" is a category list; any other list is left untouched.
bool isCategoryList(QStringView name);

// Positions of the options of a category list to set selected, in list order: every option whose
// text holds `keyword` (TextMatch::holdsCategoryKeyword, with its "MATH" and "CAD" exceptions),
// case aside. Selecting them one after the other leaves a single-choice list on the last of them
// and adds all of them to a multiple-choice list; nothing is ever deselected, so an empty result
// keeps the page's selection.
QList<qsizetype> categorySelection(const QStringList& texts, QStringView keyword);

} // namespace FillRules
