#include "core/SignInStore.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

// Far more than any user's sign-ins; a larger file is not read.
constexpr qint64 kMaxFileSize = 1 << 20;

QJsonArray readEntries(const QString& path)
{
    const auto content = FileRules::readWhole(path, kMaxFileSize);
    return content ? QJsonDocument::fromJson(*content).array() : QJsonArray();
}

bool isFor(const QJsonValue& entry, const QString& site, const QString& realm)
{
    return entry[u"site"].toString() == site && entry[u"realm"].toString() == realm;
}

} // namespace

std::optional<SignInStore::SignIn> SignInStore::find(const QString& site, const QString& realm) const
{
    for (const QJsonValue& entry : readEntries(m_path)) {
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
    if (!find(site, realm))
        return {};
    return replace(site, realm, std::nullopt);
}

Result<void, FileRules::FileProblem> SignInStore::replace(const QString& site, const QString& realm,
                                                          const std::optional<SignIn>& signIn)
{
    QJsonArray entries;
    for (const QJsonValue& entry : readEntries(m_path)) {
        if (!isFor(entry, site, realm))
            entries.append(entry);
    }
    if (signIn)
        entries.append(QJsonObject{{QStringLiteral("site"), site},
                                   {QStringLiteral("realm"), realm},
                                   {QStringLiteral("user"), signIn->user},
                                   {QStringLiteral("password"), signIn->password}});
    return FileRules::writeWhole(m_path, QJsonDocument(entries).toJson(),
                                 QFile::ReadOwner | QFile::WriteOwner);
}
