#pragma once

#include "sites/AddedLinksFile.h"

#include <QCoreApplication>
#include <QString>

// The words the user reads about the added links.
class LinkText final {
    Q_DECLARE_TR_FUNCTIONS(LinkText)

public:
    LinkText() = delete;

    // Why the links were not saved or not changed, to end a sentence: "“€” (U+20AC) cannot be
    // stored", or the file system's description of the failure.
    static QString reason(const AddedLinksFile::Problem& problem);

    // A character named so that the user can see it even when it is invisible or a lone half of a
    // pair: "“é” (U+00E9)", or "U+200B".
    static QString describeCharacter(const QString& character);
};
