#pragma once

#include "sites/SiteDirectory.h"

// Where the walk stands for one run, from start to exit; nothing of it is saved. The main window
// owns it.
struct Session {
    // The sites of the list and their addresses, loaded at start.
    SiteDirectory sites;
    // The walk position: the list row that "Next" went to last.
    int currentSiteIndex = 0;
};
