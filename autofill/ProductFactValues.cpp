#include "autofill/ProductFactValues.h"

#include <QLocale>
#include <array>

namespace {

// Lower case, letters and digits only: "Mac OS X" -> "macosx".
QString squashed(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c.isLetterOrNumber())
            out.append(c.toLower());
    }
    return out;
}

// A PAD list ("Win10,Win11,Mac OS X") as squashed items, each with the words other sites use
// for it: "windows10" for Win10, "deutsch" for German, "freetotry" for Shareware.
QList<QStringList> padItems(QStringView list)
{
    static constexpr std::array<std::array<std::u16string_view, 4>, 14> kAlike{{
        {u"german", u"deutsch", u"allemand"},
        {u"english", u"englisch", u"anglais"},
        {u"french", u"francais", u"franzosisch", u"français"},
        {u"spanish", u"espanol", u"español", u"spanisch"},
        {u"italian", u"italiano", u"italienisch", u"italien"},
        {u"dutch", u"nederlands", u"niederlandisch"},
        {u"shareware", u"freetotry", u"trial", u"trialware"},
        {u"freeware", u"free", u"kostenlos", u"gratuit"},
        {u"commercial", u"kommerziell", u"commercial"},
        {u"opensource", u"gpl", u"free"},
        {u"newrelease", u"new", u"neu", u"nouveau"},
        {u"majorupdate", u"update", u"major"},
        {u"minorupdate", u"update", u"minor"},
        {u"beta", u"betaversion", u"prerelease"},
    }};
    QList<QStringList> items;
    for (const QStringView part : list.tokenize(u',', Qt::SkipEmptyParts)) {
        QString item = squashed(part);
        if (item.isEmpty())
            continue;
        if (item.startsWith(u"win") && !item.startsWith(u"windows"))
            item = u"windows" + item.sliced(3);
        QStringList alike{item};
        for (const auto& row : kAlike) {
            if (item != QStringView(row[0]))
                continue;
            for (size_t i = 1; i < row.size() && !row[i].empty(); ++i)
                alike.append(QStringView(row[i]).toString());
        }
        items.append(alike);
    }
    return items;
}

// How well an option matches an item: 3 the same, 2 one holds the other ("Windows" and
// "windows10"), 1 the same as a word sites use for it, 0 not at all.
int matchLevel(const QString& option, const QStringList& item)
{
    if (option.isEmpty())
        return 0;
    if (option == item.first())
        return 3;
    if (option.size() >= 3 && (item.first().startsWith(option) || option.startsWith(item.first())))
        return 2;
    for (qsizetype i = 1; i < item.size(); ++i) {
        if (option == item.at(i))
            return 1;
    }
    return 0;
}

constexpr std::array<std::array<std::u16string_view, 4>, 12> kMonths{{
    {u"january", u"januar", u"janvier", u"jan"},
    {u"february", u"februar", u"fevrier", u"feb"},
    {u"march", u"marz", u"mars", u"mar"},
    {u"april", u"april", u"avril", u"apr"},
    {u"may", u"mai", u"mai", u"may"},
    {u"june", u"juni", u"juin", u"jun"},
    {u"july", u"juli", u"juillet", u"jul"},
    {u"august", u"august", u"aout", u"aug"},
    {u"september", u"september", u"septembre", u"sep"},
    {u"october", u"oktober", u"octobre", u"oct"},
    {u"november", u"november", u"novembre", u"nov"},
    {u"december", u"dezember", u"decembre", u"dec"},
}};

// Squashed without accents, for month names: decomposed, an accent is a mark that squashing drops.
QString plainLetters(QStringView text)
{
    return squashed(text.toString().normalized(QString::NormalizationForm_D));
}

} // namespace

ProductFactValues::ProductFactValues(const ProductFacts& facts) : m_facts(facts) {}

QString ProductFactValues::pad(QStringView path) const
{
    return m_facts.pad.value(path.toString());
}

QString ProductFactValues::description(QStringView name) const
{
    const QString english = pad(QString(u"program_descriptions/english/" + name));
    if (!english.isEmpty())
        return english;
    for (auto it = m_facts.pad.constBegin(); it != m_facts.pad.constEnd(); ++it) {
        if (it.key().startsWith(u"program_descriptions/") && it.key().endsWith(u'/' + name.toString()) &&
            !it.value().isEmpty())
            return it.value();
    }
    return {};
}

std::optional<QString> ProductFactValues::plain(Fact fact) const
{
    const auto either = [](const QString& first, const QString& second) {
        return first.isEmpty() ? second : first;
    };
    const Product& profile = m_facts.profile;
    QString value;
    switch (fact) {
    case Fact::Unknown:
    case Fact::NoFact:
    case Fact::Description:
    case Fact::FileSize:
    case Fact::ReleaseDate:
        break;
    case Fact::ProgramName:
        value = either(profile.programName, pad(u"program_info/program_name"));
        break;
    case Fact::Version:
        value = pad(u"program_info/program_version");
        break;
    case Fact::Company:
        value = pad(u"company_info/company_name");
        break;
    case Fact::Author:
        value = QString(pad(u"company_info/contact_info/author_first_name") + u' ' +
                        pad(u"company_info/contact_info/author_last_name"))
                    .trimmed();
        break;
    case Fact::AuthorFirstName:
        value = pad(u"company_info/contact_info/author_first_name");
        break;
    case Fact::AuthorLastName:
        value = pad(u"company_info/contact_info/author_last_name");
        break;
    case Fact::Email:
        for (const QStringView path :
             {u"company_info/contact_info/author_email", u"company_info/contact_info/contact_email",
              u"company_info/support_info/support_email", u"company_info/support_info/sales_email",
              u"company_info/support_info/general_email"}) {
            value = either(value, pad(path));
        }
        break;
    case Fact::HomePage:
        value = either(pad(u"web_info/application_urls/application_info_url"),
                       pad(u"company_info/company_website_url"));
        break;
    case Fact::CompanySite:
        value = pad(u"company_info/company_website_url");
        break;
    case Fact::OrderAddress:
        value = pad(u"web_info/application_urls/application_order_url");
        break;
    case Fact::ScreenshotAddress:
        value = pad(u"web_info/application_urls/application_screenshot_url");
        break;
    case Fact::IconAddress:
        value = pad(u"web_info/application_urls/application_icon_url");
        break;
    case Fact::DownloadAddress:
        value = pad(u"web_info/download_urls/primary_download_url");
        break;
    case Fact::SecondaryDownloadAddress:
        value = pad(u"web_info/download_urls/secondary_download_url");
        break;
    case Fact::PadAddress: {
        const QString typed = profile.padUrl.trimmed();
        value = typed.isEmpty() || typed.compare(u"http://", Qt::CaseInsensitive) == 0
                    ? pad(u"web_info/application_urls/application_xml_file_url")
                    : profile.padUrl;
        break;
    }
    case Fact::OperatingSystems:
        value = pad(u"program_info/program_os_support");
        break;
    case Fact::Languages:
        value = pad(u"program_info/program_language");
        break;
    case Fact::Licence:
        value = pad(u"program_info/program_type");
        break;
    case Fact::Price:
        value = pad(u"program_info/program_cost_dollars");
        break;
    case Fact::ReleaseStatus:
        value = pad(u"program_info/program_release_status");
        break;
    case Fact::InstallSupport:
        value = pad(u"program_info/program_install_support");
        break;
    case Fact::ReleaseDay:
        value = pad(u"program_info/program_release_day");
        break;
    case Fact::ReleaseMonth:
        value = pad(u"program_info/program_release_month");
        break;
    case Fact::ReleaseYear:
        value = pad(u"program_info/program_release_year");
        break;
    case Fact::Category:
        value = pad(u"program_info/program_category_class");
        break;
    case Fact::SystemRequirements:
        value = pad(u"program_info/program_system_requirements");
        break;
    case Fact::Keywords:
        value = description(u"keywords");
        break;
    case Fact::RegnowVendorId:
        value = either(profile.regnowVendorId, pad(u"affiliates/affiliates_regnow_vendor_id"));
        break;
    case Fact::RegnowProductId:
        value = either(profile.regnowProductId, pad(u"affiliates/affiliates_regnow_product_id"));
        break;
    case Fact::ShareItProductId:
        value = pad(u"affiliates/affiliates_shareit_product_id");
        break;
    }
    if (value.isEmpty())
        return std::nullopt;
    return value;
}

std::optional<QString> ProductFactValues::descriptionFor(const Recognition& recognition, int maxLength,
                                                         bool singleLine) const
{
    qsizetype limit = maxLength >= 0 ? maxLength : std::numeric_limits<qsizetype>::max();
    if (recognition.namedLength > 0)
        limit = std::min<qsizetype>(limit, recognition.namedLength);
    if (recognition.asksShort)
        limit = std::min<qsizetype>(limit, singleLine ? 80 : 250);
    else if (singleLine && maxLength < 0 && recognition.namedLength < 0)
        limit = std::min<qsizetype>(limit, 250);
    for (const QStringView length : {u"2000", u"450", u"250", u"80", u"45"}) {
        const QString text = description(QString(u"char_desc_" + length));
        if (!text.isEmpty() && text.size() <= limit)
            return text;
    }
    return std::nullopt;
}

std::optional<QString> ProductFactValues::sizeFor(SizeUnit unit, int maxLength) const
{
    bool known = false;
    const qint64 bytes = pad(u"program_info/file_info/file_size_bytes").toLongLong(&known);
    const auto inUnit = [&](QStringView path, double divisor) {
        QString value = pad(path);
        if (value.isEmpty() && known)
            value = QString::number(double(bytes) / divisor, 'f', divisor > 1024 ? 2 : 0);
        return value;
    };
    const QString inBytes = known ? QString::number(bytes) : QString();
    const QString inK = inUnit(u"program_info/file_info/file_size_k", 1024);
    const QString inMB = inUnit(u"program_info/file_info/file_size_mb", 1024.0 * 1024.0);
    QList<QString> forms;
    switch (unit) {
    case SizeUnit::Bytes:
        forms = {inBytes};
        break;
    case SizeUnit::Kilobytes:
        forms = {inK};
        break;
    case SizeUnit::Megabytes:
        forms = {inMB};
        break;
    case SizeUnit::Unnamed:
        forms = {inBytes, inK, inMB};
        break;
    }
    for (const QString& form : forms) {
        if (!form.isEmpty() && (maxLength < 0 || form.size() <= maxLength))
            return form;
    }
    return std::nullopt;
}

QString ProductFactValues::dateIn(const DateFormat& format) const
{
    bool ok = false;
    const int year = pad(u"program_info/program_release_year").toInt(&ok);
    if (!ok)
        return {};
    const int month = pad(u"program_info/program_release_month").toInt(&ok);
    if (!ok)
        return {};
    const int day = pad(u"program_info/program_release_day").toInt(&ok);
    if (!ok)
        return {};
    QStringList parts;
    for (size_t i = 0; i < format.parts.size(); ++i) {
        const int width = format.widths.at(i);
        switch (format.parts.at(i)) {
        case DateFormat::Part::Day:
            parts.append(QStringLiteral("%1").arg(day, width, 10, QLatin1Char('0')));
            break;
        case DateFormat::Part::Month:
            parts.append(QStringLiteral("%1").arg(month, width, 10, QLatin1Char('0')));
            break;
        case DateFormat::Part::Year:
            parts.append(
                QStringLiteral("%1").arg(width == 2 ? year % 100 : year, width, 10, QLatin1Char('0')));
            break;
        }
    }
    return parts.join(format.separator);
}

std::optional<QString> ProductFactValues::text(const Recognition& recognition, const FormField& field) const
{
    std::optional<QString> value;
    switch (recognition.fact) {
    case Fact::Description:
        return descriptionFor(recognition, field.maxLength, field.tag == u"INPUT");
    case Fact::FileSize:
        return sizeFor(recognition.unit, field.maxLength);
    case Fact::ReleaseDate: {
        const QString date = dateIn(recognition.hasDateFormat ? recognition.dateFormat : DateFormat{});
        if (!date.isEmpty())
            value = date;
        break;
    }
    default:
        value = plain(recognition.fact);
        break;
    }
    if (value && field.maxLength >= 0 && value->size() > field.maxLength)
        return std::nullopt;
    return value;
}

std::optional<QList<qsizetype>> ProductFactValues::selection(Fact fact, const QStringList& options,
                                                             bool multiple) const
{
    QList<QStringList> items;
    switch (fact) {
    case Fact::OperatingSystems:
    case Fact::Languages:
    case Fact::Licence:
    case Fact::ReleaseStatus:
    case Fact::InstallSupport:
        if (const std::optional<QString> value = plain(fact))
            items = padItems(*value);
        break;
    case Fact::ReleaseDay:
    case Fact::ReleaseYear:
    case Fact::ReleaseMonth: {
        bool ok = false;
        const int number = plain(fact).value_or(QString()).toInt(&ok);
        if (!ok)
            break;
        QStringList alike{QString::number(number), QStringLiteral("%1").arg(number, 2, 10, QLatin1Char('0'))};
        if (fact == Fact::ReleaseMonth && number >= 1 && number <= 12) {
            for (const std::u16string_view name : kMonths.at(size_t(number - 1)))
                alike.append(QStringView(name).toString());
        }
        items.append(alike);
        break;
    }
    default:
        return std::nullopt;
    }
    QList<qsizetype> chosen;
    if (items.isEmpty())
        return chosen;
    const bool byName = fact == Fact::ReleaseMonth || fact == Fact::ReleaseDay || fact == Fact::ReleaseYear;
    // The best match: its level, then the item's place in the PAD's list, then the option's.
    int bestLevel = 0;
    qsizetype bestItem = 0;
    for (qsizetype k = 0; k < options.size(); ++k) {
        const QString option = byName ? plainLetters(options.at(k)) : squashed(options.at(k));
        for (qsizetype i = 0; i < items.size(); ++i) {
            const int level =
                byName ? (items.at(i).contains(option) ? 3 : 0) : matchLevel(option, items.at(i));
            if (level == 0)
                continue;
            if (multiple) {
                chosen.append(k);
                break;
            }
            if (level > bestLevel || (level == bestLevel && i < bestItem)) {
                bestLevel = level;
                bestItem = i;
                chosen = {k};
            }
        }
    }
    return chosen;
}
