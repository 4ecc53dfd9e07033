#pragma once

#include <QString>

// The site list as the site directory fills it: the main window's check-box list, or a plain
// list in tests.
class SiteList {
public:
    virtual ~SiteList() = default;
    // Appends an entry (unchecked) after the last one.
    virtual void addItem(const QString& text) = 0;
    // Removes every entry; no entry is selected afterwards and no site is shown for it.
    virtual void clear() = 0;
};
