#pragma once

#include "app/Product.h"

#include <QStringList>
#include <cstdint>

// The program's shared state. It lives in memory for the whole run and is never saved.
//
// The two tables are 1-based: slot k of a table is element k of its list, and element 0 is the
// unused slot 0 (always empty). A table's count says how many slots are used; the loaders keep
// list size == count + 1. The tables grow as far as their files go: there is no 1000-slot cap.
namespace Module1 {

// Walk position: 0-based index in List1 of the entry that "Next" selected last. Written only by "Next".
extern std::int32_t CurrentSiteIndex;

extern std::int32_t AddedLinkCount;
// Slot k holds line k of the added-links file, as read.
extern QStringList AddedLinks;

extern std::int32_t SiteAddressCount;
// Slot k holds "http://" followed by line k of the site-address file, descrambled.
extern QStringList SiteAddresses;

// Set only by the product manager's "OK"; read by the fill pass.
extern Product ActiveProduct;

// Why the product information editor was opened: 1 neither, 2 add, 3 edit.
extern std::int32_t ProductEditMode;

// Puts every value back to what it is when the program starts (before the load handler runs).
void ResetForTesting();

} // namespace Module1
