#pragma once

#include "core/FileRules.h"
#include "core/Result.h"
#include "sites/SiteCheck.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

// What the last check of each address found, kept in the data folder (AppFolder::siteChecksFile()).
//
// File format: UTF-8, one address a line, lines ended by CR LF (any line end reads), sorted by
// address; four fields separated by tabs, the address last (so it may hold tabs itself):
//   <yyyy-mm-dd checked> TAB <outcome> TAB <detail> TAB <address>
// outcome being one of reachable, moved, no-such-host, refused, timed-out, closed, http-error,
// too-many-redirects, not-web, network-error; detail the new address of a moved one, the status of
// an http-error ("404 Not Found"), the description of a network-error, else empty. Tabs and line
// breaks in a detail are written as spaces. Reading skips every line not of that form.
class SiteCheckResults final {
public:
    // Address -> what its last check found.
    using Checks = QHash<QString, SiteCheck>;

    static Checks parse(QByteArrayView content);
    static QByteArray serialize(const Checks& checks);

    // Reads the file of `dataFolder`; a missing or unreadable one holds no results.
    void load(const QString& dataFolder);
    // Writes the results of the addresses in `keep` (those still in the list) to the file of
    // `dataFolder`. A failed write leaves the file as it was.
    Result<void, FileRules::FileProblem> save(const QString& dataFolder, const QStringList& keep) const;

    std::optional<SiteCheck> find(const QString& address) const;
    void set(const QString& address, const SiteCheck& check) { m_checks.insert(address, check); }
    const Checks& checks() const { return m_checks; }

private:
    Checks m_checks;
};
