#pragma once

#include <QString>
#include <QStringView>

// The text tests that the site lookups, the fill rules and the category catalogue share, and the
// upper-casing that the fill rules do before them.
namespace TextMatch {

// Whether `text` holds `word` as a substring, compared exactly (callers upper-case both sides when
// case is not to count). An empty word is held by every non-empty text and by no empty one, so an
// empty search text finds nothing among empty addresses, links, names or option texts.
bool contains(QStringView text, QStringView word);

// `text` upper-cased as QString::toUpper() does, and quicker for plain ASCII, which option texts and
// field names nearly always are.
QString upper(QStringView text);
// The same into `out`, whose room is used again: for upper-casing many texts one after the other.
void upperInto(QStringView text, QString& out);

// Whether the upper-cased option or catalogue text `upperText` is one that the category keyword
// `keyword` selects: it contains the keyword, except that "MATH" passes over texts holding
// "MATH &" and "CAD" over texts holding "ARCAD". The catalogue's "Math & Scientific Tools" and
// "Arcade" come before the entries those two keywords stand for, and sites name theirs alike.
bool holdsCategoryKeyword(QStringView upperText, QStringView keyword);

} // namespace TextMatch
