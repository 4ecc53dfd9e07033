#include "sites/SiteDirectory.h"

#include "core/AppFolder.h"
#include "core/Windows1252.h"
#include "sites/SiteAddressCipher.h"

#include <QFile>

namespace {

// The whole file, or nothing when it is missing or cannot be read.
QByteArray readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// Plain substring test, searched from the first character. An empty needle is contained in
// every non-empty text and in no empty one.
bool contains(const QString& text, const QString& needle)
{
    if (text.isEmpty())
        return false;
    return text.contains(needle, Qt::CaseSensitive);
}

} // namespace

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

void SiteDirectory::addBuiltInSites(SiteList& list)
{
    for (const QString& name : builtInSiteNames())
        list.addItem(name);
}

void SiteDirectory::loadSiteAddresses(const QString& appFolder)
{
    const QList<QByteArray> lines =
        Windows1252::splitLines(readFile(AppFolder::path(appFolder, AppFolder::siteAddressFile())));
    m_siteAddresses.clear();
    m_siteAddresses.reserve(lines.size());
    for (const QByteArray& line : lines) {
        std::int32_t depth = SiteAddressCipher::fileDepth;
        m_siteAddresses.append(QStringLiteral("http://") +
                               Windows1252::decode(SiteAddressCipher::decode(line, depth)));
    }
}

void SiteDirectory::loadAddedLinks(const QString& appFolder, SiteList& list)
{
    const QStringList lines =
        Windows1252::decodeLines(readFile(AppFolder::path(appFolder, AppFolder::addedLinksFile())));
    for (const QString& line : lines) {
        list.addItem(line);
        m_addedLinks.append(line);
    }
}

void SiteDirectory::reloadSiteList(const QString& appFolder, SiteList& list)
{
    list.clear();
    addBuiltInSites(list);
    m_addedLinks.clear();
    loadAddedLinks(appFolder, list);
}

std::optional<QString> SiteDirectory::findSiteAddress(const QString& entryText) const
{
    const QString wanted = entryText.toUpper();
    for (const QString& address : m_siteAddresses) {
        if (contains(address.toUpper(), wanted))
            return address;
    }
    return std::nullopt;
}

std::optional<QString> SiteDirectory::findAddedLink(const QString& entryText) const
{
    for (const QString& link : m_addedLinks) {
        if (contains(link, entryText))
            return link;
    }
    return std::nullopt;
}
