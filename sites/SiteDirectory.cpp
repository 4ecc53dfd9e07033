#include "sites/SiteDirectory.h"

#include "core/AppFolder.h"
#include "core/FileRules.h"
#include "core/TextMatch.h"
#include "core/Windows1252.h"
#include "sites/SiteAddressCipher.h"

const QStringList& SiteDirectory::builtInSiteNames()
{
    static const QStringList names{
        QStringLiteral("1000apps"),  QStringLiteral("1000files"),
        QStringLiteral("2archive"),  QStringLiteral("3d2f.com"),
        QStringLiteral("4pcsoft"),   QStringLiteral("4-Software-Downloads"),
        QStringLiteral("5Awards"),   QStringLiteral("5-star-shareware.com"),
        QStringLiteral("5starsoft"), QStringLiteral("8844Download"),
    };
    return names;
}

void SiteDirectory::loadSiteAddresses(const QString& programFolder)
{
    const QList<QByteArray> lines = FileRules::splitLines(
        FileRules::readWhole(AppFolder::path(programFolder, AppFolder::siteAddressFile())).valueOr({}));
    m_siteAddresses.clear();
    m_siteAddresses.reserve(lines.size());
    m_upperSiteAddresses.clear();
    for (const QByteArray& line : lines) {
        m_siteAddresses.append(QStringLiteral("http://") +
                               Windows1252::decode(SiteAddressCipher::decode(line)));
        m_upperSiteAddresses.append(m_siteAddresses.last().toUpper());
    }
}

void SiteDirectory::loadAddedLinks(const QString& dataFolder)
{
    m_addedLinksContent =
        FileRules::readWhole(AppFolder::path(dataFolder, AppFolder::addedLinksFile())).valueOr({});
    setAddedLinks(Windows1252::decodeLines(m_addedLinksContent), m_addedLinksContent);
}

void SiteDirectory::setAddedLinks(const QStringList& links, const QByteArray& content)
{
    m_addedLinks = links;
    m_addedLinksContent = content;
    m_entries.clear();
    m_entries.reserve(builtInSiteNames().size() + m_addedLinks.size());
    const auto walkAddress = [this](const QString& text) {
        return findAddedLink(text).value_or(findSiteAddress(text).value_or(QString()));
    };
    for (const QString& name : builtInSiteNames())
        m_entries.append({name, findSiteAddress(name).value_or(QString()), walkAddress(name)});
    for (const QString& link : std::as_const(m_addedLinks)) {
        const QString address = walkAddress(link);
        m_entries.append({link, address, address});
    }
}

QUrl SiteDirectory::webAddress(const QString& address)
{
    // A whole address is taken as written, as the browser takes it.
    const QUrl url =
        address.contains(u"://") ? QUrl(address, QUrl::TolerantMode) : QUrl::fromUserInput(address);
    const bool web = url.scheme() == u"http" || url.scheme() == u"https";
    return web && !url.host().isEmpty() ? url : QUrl();
}

std::optional<QString> SiteDirectory::findSiteAddress(const QString& entryText) const
{
    const QString wanted = entryText.toUpper();
    for (qsizetype i = 0; i < m_upperSiteAddresses.size(); ++i) {
        if (TextMatch::contains(m_upperSiteAddresses[i], wanted))
            return m_siteAddresses[i];
    }
    return std::nullopt;
}

std::optional<QString> SiteDirectory::findAddedLink(const QString& entryText) const
{
    for (const QString& link : m_addedLinks) {
        if (TextMatch::contains(link, entryText))
            return link;
    }
    return std::nullopt;
}
