#include "sites/SiteCheckResults.h"

#include "core/AppFolder.h"
#include "core/FileRules.h"

#include <QSet>
#include <algorithm>
#include <array>
#include <utility>

namespace {

using Outcome = SiteCheck::Outcome;

constexpr std::array<std::pair<Outcome, const char*>, 10> kOutcomeNames{{
    {Outcome::Reachable, "reachable"},
    {Outcome::Moved, "moved"},
    {Outcome::NoSuchHost, "no-such-host"},
    {Outcome::Refused, "refused"},
    {Outcome::TimedOut, "timed-out"},
    {Outcome::Closed, "closed"},
    {Outcome::HttpError, "http-error"},
    {Outcome::TooManyRedirects, "too-many-redirects"},
    {Outcome::NotWeb, "not-web"},
    {Outcome::NetworkError, "network-error"},
}};

std::optional<Outcome> outcomeNamed(QByteArrayView name)
{
    for (const auto& [outcome, text] : kOutcomeNames) {
        if (name == text)
            return outcome;
    }
    return std::nullopt;
}

QByteArray nameOf(Outcome outcome)
{
    for (const auto& [each, text] : kOutcomeNames) {
        if (each == outcome)
            return text;
    }
    return {};
}

} // namespace

SiteCheckResults::Checks SiteCheckResults::parse(QByteArrayView content)
{
    Checks checks;
    for (const QByteArray& line : FileRules::splitLines(content)) {
        const QList<QByteArray> fields = line.split('\t');
        if (fields.size() < 4)
            continue;
        const QDate day = QDate::fromString(QString::fromLatin1(fields[0]), Qt::ISODate);
        const std::optional<Outcome> outcome = outcomeNamed(fields[1]);
        const qsizetype addressStart = fields[0].size() + fields[1].size() + fields[2].size() + 3;
        const QString address = QString::fromUtf8(QByteArrayView(line).sliced(addressStart));
        if (day.isValid() && outcome && !address.isEmpty())
            checks.insert(address, {*outcome, QString::fromUtf8(fields[2]), day});
    }
    return checks;
}

QByteArray SiteCheckResults::serialize(const Checks& checks)
{
    QStringList addresses = checks.keys();
    std::sort(addresses.begin(), addresses.end());
    QByteArray content;
    for (const QString& address : std::as_const(addresses)) {
        const SiteCheck& check = checks[address];
        QByteArray detail = check.detail.toUtf8();
        std::replace_if(
            detail.begin(), detail.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; }, ' ');
        content += check.checkedOn.toString(Qt::ISODate).toLatin1() + '\t' + nameOf(check.outcome) + '\t' +
                   detail + '\t' + address.toUtf8() + "\r\n";
    }
    return content;
}

void SiteCheckResults::load(const QString& dataFolder)
{
    m_checks =
        parse(FileRules::readWhole(AppFolder::path(dataFolder, AppFolder::siteChecksFile())).valueOr({}));
}

Result<void, FileRules::FileProblem> SiteCheckResults::save(const QString& dataFolder,
                                                            const QStringList& keep) const
{
    const QSet<QString> kept(keep.cbegin(), keep.cend());
    Checks checks;
    for (auto it = m_checks.cbegin(); it != m_checks.cend(); ++it) {
        if (kept.contains(it.key()))
            checks.insert(it.key(), it.value());
    }
    return FileRules::writeWhole(AppFolder::path(dataFolder, AppFolder::siteChecksFile()), serialize(checks));
}

std::optional<SiteCheck> SiteCheckResults::find(const QString& address) const
{
    const auto it = m_checks.constFind(address);
    return it == m_checks.cend() ? std::nullopt : std::optional(*it);
}
