#include "products/PadCopy.h"

#include "core/FileRules.h"

namespace {

QString firstOf(const PadValues& values, std::initializer_list<QStringView> paths)
{
    for (QStringView path : paths) {
        const QString value = values.value(path.toString());
        if (!value.isEmpty())
            return value;
    }
    return {};
}

} // namespace

Result<PadCopy, PadFile::Problem> PadCopy::take(QByteArray content, QDateTime taken)
{
    ::Result<PadValues, PadFile::Problem> values = PadFile::readValues(content);
    if (!values)
        return values.problem();
    if (const PadFile::Result storable = PadFile::profileValues(*values); !storable)
        return storable.problem();
    return PadCopy{std::move(content), std::move(values).value(), std::move(taken)};
}

Result<PadCopy, PadFile::Problem> PadCopy::readFile(const QString& path, QDateTime taken)
{
    Result<QByteArray, FileRules::FileProblem> content = FileRules::readWhole(path, PadFile::maxSize);
    if (content)
        return take(std::move(content).value(), std::move(taken));
    if (content.problem().kind == FileRules::FileProblem::Kind::TooLarge)
        return PadFile::Problem{PadFile::Problem::Kind::TooLarge};
    return PadFile::Problem{PadFile::Problem::Kind::NotOpened, content.problem().detail};
}

QString PadCopy::programName() const
{
    return values.value(QStringLiteral("program_info/program_name"));
}

QString PadCopy::version() const
{
    return values.value(QStringLiteral("program_info/program_version"));
}

QString PadCopy::company() const
{
    return values.value(QStringLiteral("company_info/company_name"));
}

QString PadCopy::email() const
{
    return firstOf(values,
                   {u"company_info/contact_info/author_email", u"company_info/contact_info/contact_email"});
}

QString PadCopy::downloadAddress() const
{
    return values.value(QStringLiteral("web_info/download_urls/primary_download_url"));
}

QString PadCopy::shortestDescription() const
{
    return firstOf(
        values, {u"program_descriptions/english/char_desc_45", u"program_descriptions/english/char_desc_80",
                 u"program_descriptions/english/char_desc_250", u"program_descriptions/english/char_desc_450",
                 u"program_descriptions/english/char_desc_2000"});
}
