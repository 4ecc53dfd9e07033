#include "core/SignInStore.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

namespace {

// Far more than any user's sign-ins; a larger file is not read.
constexpr qint64 kMaxFileSize = 1 << 20;

using Problem = FileRules::FileProblem;

// The file's sign-ins: none when there is no file yet. A file that cannot be read, or holds no
// list, is a problem, so that a change never writes the others over.
Result<QJsonArray, Problem> readEntries(const QString& path)
{
    const auto content = FileRules::readWhole(path, kMaxFileSize);
    if (!content)
        return content.problem().kind == Problem::Kind::Missing ? Result<QJsonArray, Problem>(QJsonArray())
                                                                : content.problem();
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(*content, &error);
    if (!document.isArray())
        return Problem{Problem::Kind::NotRead, error.error != QJsonParseError::NoError
                                                   ? error.errorString()
                                                   : QStringLiteral("it holds no list of sign-ins")};
    return document.array();
}

bool isFor(const QJsonValue& entry, const QString& site, const QString& realm)
{
    return entry[u"site"].toString() == site && entry[u"realm"].toString() == realm;
}

} // namespace

std::optional<SignInStore::SignIn> SignInStore::find(const QString& site, const QString& realm) const
{
    for (const QJsonValue& entry : readEntries(m_path).valueOr({})) {
        if (isFor(entry, site, realm))
            return SignIn{entry[u"user"].toString(), entry[u"password"].toString()};
    }
    return std::nullopt;
}

Result<void, FileRules::FileProblem> SignInStore::remember(const QString& site, const QString& realm,
                                                           const SignIn& signIn)
{
    return replace(site, realm, signIn);
}

Result<void, FileRules::FileProblem> SignInStore::forget(const QString& site, const QString& realm)
{
    return replace(site, realm, std::nullopt);
}

Result<void, FileRules::FileProblem> SignInStore::replace(const QString& site, const QString& realm,
                                                          const std::optional<SignIn>& signIn)
{
    const auto kept = readEntries(m_path);
    if (!kept)
        return kept.problem();
    QJsonArray entries;
    for (const QJsonValue& entry : *kept) {
        if (!isFor(entry, site, realm))
            entries.append(entry);
    }
    // Forgetting what was never remembered writes nothing.
    if (!signIn && entries.size() == kept->size())
        return {};
    if (signIn)
        entries.append(QJsonObject{{QStringLiteral("site"), site},
                                   {QStringLiteral("realm"), realm},
                                   {QStringLiteral("user"), signIn->user},
                                   {QStringLiteral("password"), signIn->password}});
    return FileRules::writeWhole(m_path, QJsonDocument(entries).toJson(),
                                 QFile::ReadOwner | QFile::WriteOwner);
}
