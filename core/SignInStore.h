#pragma once

#include "core/FileRules.h"
#include "core/Result.h"

#include <QList>
#include <QString>
#include <optional>

// The sign-ins that the user asked to remember, for sites that ask for HTTP authentication. The
// file is readable by its owner only, as it holds passwords in the clear.
//
// File format: a JSON array of objects {"site": origin, "realm": realm, "user": name,
// "password": password}, one per site and realm, the origin written as "scheme://host:port".
class SignInStore final {
public:
    struct SignIn {
        QString user;
        QString password;
    };

    // Reads and writes `path`; nothing is read until asked.
    explicit SignInStore(QString path) : m_path(std::move(path)) {}

    // The sign-in remembered for `site` and `realm`; none when there is none or the file cannot be
    // read.
    std::optional<SignIn> find(const QString& site, const QString& realm) const;
    // Remembers `signIn` for `site` and `realm` in place of what was remembered there. A file that
    // cannot be read, or is not a list of sign-ins, is left as it is: the change is a problem.
    Result<void, FileRules::FileProblem> remember(const QString& site, const QString& realm,
                                                  const SignIn& signIn);
    // Forgets what was remembered for `site` and `realm`; done when nothing was.
    Result<void, FileRules::FileProblem> forget(const QString& site, const QString& realm);

private:
    Result<void, FileRules::FileProblem> replace(const QString& site, const QString& realm,
                                                 const std::optional<SignIn>& signIn);

    QString m_path;
};
