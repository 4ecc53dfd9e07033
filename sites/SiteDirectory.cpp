#include "sites/SiteDirectory.h"

#include "app/AppFolder.h"
#include "app/Module1.h"
#include "app/Windows1252.h"
#include "sites/Cls5.h"

#include <QFile>

namespace SiteDirectory {

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

const QStringList& BuiltInSiteNames()
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

void AddBuiltInSites(SiteList& list)
{
    for (const QString& name : BuiltInSiteNames())
        list.AddItem(name);
}

void LoadSiteAddresses(const QString& appFolder)
{
    const Cls5 cipher;
    const QList<QByteArray> lines =
        Windows1252::splitLines(readFile(AppFolder::path(appFolder, AppFolder::siteAddressFile())));
    QStringList addresses{QString()};
    addresses.reserve(lines.size() + 1);
    for (const QByteArray& line : lines) {
        std::int32_t depth = Cls5::FixedDepth;
        addresses.append(QStringLiteral("http://") + Windows1252::decode(cipher.Sub3(line, depth)));
    }
    Module1::SiteAddresses = addresses;
    Module1::SiteAddressCount = static_cast<std::int32_t>(lines.size());
}

void LoadAddedLinks(const QString& appFolder, SiteList& list)
{
    const QStringList lines =
        Windows1252::decodeLines(readFile(AppFolder::path(appFolder, AppFolder::addedLinksFile())));
    // Slots above the count are stale: drop them so slot k stays at index k.
    Module1::AddedLinks.resize(qMax(0, Module1::AddedLinkCount) + 1);
    for (const QString& line : lines) {
        list.AddItem(line);
        ++Module1::AddedLinkCount;
        Module1::AddedLinks.append(line);
    }
}

void ReloadSiteList(const QString& appFolder, SiteList& list)
{
    list.Clear();
    AddBuiltInSites(list);
    Module1::AddedLinkCount = 0;
    LoadAddedLinks(appFolder, list);
}

std::optional<QString> FindSiteAddress(const QString& entryText)
{
    const QString wanted = entryText.toUpper();
    for (std::int32_t k = 1; k <= Module1::SiteAddressCount; ++k) {
        const QString& address = Module1::SiteAddresses.at(k);
        if (contains(address.toUpper(), wanted))
            return address;
    }
    return std::nullopt;
}

std::optional<QString> FindAddedLink(const QString& entryText)
{
    for (std::int32_t k = 1; k <= Module1::AddedLinkCount; ++k) {
        const QString& link = Module1::AddedLinks.at(k);
        if (contains(link, entryText))
            return link;
    }
    return std::nullopt;
}

} // namespace SiteDirectory
