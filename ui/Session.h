#pragma once

#include "core/Product.h"
#include "sites/SiteDirectory.h"

// What the program knows for one run, from start to exit; nothing of it is saved. The main window
// owns it and hands each part to whoever reads or writes it.
struct Session {
    // The sites of the list and their addresses, loaded at start.
    SiteDirectory sites;
    // The product whose data the fill pass writes; set only by the product manager's "OK".
    Product activeProduct;
    // The walk position: the list row that "Next" went to last.
    int currentSiteIndex = 0;
};
