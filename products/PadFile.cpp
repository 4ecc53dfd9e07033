#include "products/PadFile.h"

#include "core/Windows1252.h"
#include "products/CategoryCatalogue.h"

#include <QFile>
#include <QIODevice>
#include <QStringList>
#include <QXmlStreamReader>
#include <algorithm>
#include <array>

namespace PadFile {

namespace {

// The values read, in the order in which problems with them are reported.
enum FieldIndex { Name, Url, Category, Vendor, ProductId, FieldCount };

struct Field {
    QStringView path; // under the root, lower case
    ProductField field;
    std::optional<QString> Values::*member; // null for the category, which is matched, not stored
};

const std::array<Field, FieldCount> kFields{{
    {u"program_info/program_name", ProductField::ProgramName, &Values::programName},
    {u"web_info/application_urls/application_xml_file_url", ProductField::PadUrl, &Values::padUrl},
    {u"program_info/program_category_class", ProductField::Category, nullptr},
    {u"affiliates/affiliates_regnow_vendor_id", ProductField::RegnowVendorId, &Values::regnowVendorId},
    {u"affiliates/affiliates_regnow_product_id", ProductField::RegnowProductId, &Values::regnowProductId},
}};

constexpr QStringView kRoot = u"XML_DIZ_INFO";
const QString kIndent = QStringLiteral("    ");

using Kind = Problem::Kind;

// XML text in UTF-16 or UTF-32 holds NUL bytes; the reader recognises these openings.
bool isWideText(QByteArrayView content)
{
    static constexpr std::array<QByteArrayView, 6> kOpenings{
        QByteArrayView("\xFF\xFE", 2), QByteArrayView("\xFE\xFF", 2), QByteArrayView("\0\0\xFE\xFF", 4),
        QByteArrayView("<\0", 2),      QByteArrayView("\0<", 2),      QByteArrayView("\0\0\0<", 4)};
    return std::any_of(kOpenings.begin(), kOpenings.end(),
                       [&](QByteArrayView opening) { return content.startsWith(opening); });
}

bool declaresLatin1(QStringView encoding)
{
    static constexpr std::array<QStringView, 6> kNames{u"ISO-8859-1", u"ISO8859-1", u"ISO_8859-1",
                                                       u"latin1",     u"latin-1",   u"l1"};
    return std::any_of(kNames.begin(), kNames.end(),
                       [&](QStringView name) { return encoding.compare(name, Qt::CaseInsensitive) == 0; });
}

// Gives 0x80..0x9F their Windows-1252 meaning (the five codes it leaves unassigned stay as they are).
QString asWindows1252(QString text)
{
    for (QChar& c : text) {
        if (c.unicode() >= 0x80 && c.unicode() <= 0x9F)
            c = Windows1252::decode(QByteArray(1, char(c.unicode()))).at(0);
    }
    return text;
}

} // namespace

std::optional<int> categoryPosition(QStringView categoryClass)
{
    const qsizetype separator = categoryClass.indexOf(u"::");
    const QStringView main = (separator < 0 ? categoryClass : categoryClass.first(separator)).trimmed();
    const QStringView sub = separator < 0 ? QStringView() : categoryClass.sliced(separator + 2).trimmed();
    if (main.isEmpty())
        return std::nullopt;

    const QStringList entries = CategoryCatalogue::entries();
    std::optional<int> top;
    for (int i = 0; i < entries.size(); ++i) {
        const QString& entry = entries[i];
        if (!entry.startsWith(kIndent)) {
            if (top)
                break; // past Main's sub-categories
            if (entry.compare(main, Qt::CaseInsensitive) == 0)
                top = i;
        } else if (top && !sub.isEmpty() &&
                   QStringView(entry).sliced(kIndent.size()).compare(sub, Qt::CaseInsensitive) == 0) {
            return i;
        }
    }
    return top;
}

::Result<PadValues, Problem> readValues(QByteArrayView content)
{
    if (content.size() > maxSize)
        return Problem{Kind::TooLarge};
    if (content.trimmed().isEmpty())
        return Problem{Kind::Empty};
    if (content.contains('\0') && !isWideText(content))
        return Problem{Kind::Binary};

    QXmlStreamReader reader(QByteArray::fromRawData(content.data(), content.size()));
    PadValues values;
    bool latin1 = false;
    bool inRoot = false;
    // The open elements below the root: each one's path and the text met inside it so far.
    struct Open {
        QString path;
        QString text;
    };
    QList<Open> open;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartDocument:
            latin1 = declaresLatin1(reader.documentEncoding());
            break;
        case QXmlStreamReader::StartElement: {
            if (!inRoot) {
                if (reader.name().compare(kRoot, Qt::CaseInsensitive) != 0)
                    return Problem{Kind::OtherRoot, reader.qualifiedName().toString()};
                inRoot = true;
                break;
            }
            const QString name = reader.name().toString().toLower();
            open.append({open.isEmpty() ? name : open.last().path + u'/' + name, {}});
            break;
        }
        case QXmlStreamReader::Characters:
            for (Open& element : open)
                element.text += reader.text();
            break;
        case QXmlStreamReader::EndElement:
            if (!open.isEmpty()) {
                Open element = open.takeLast();
                if (!values.contains(element.path)) {
                    const QString value = element.text.trimmed();
                    values.insert(element.path, latin1 ? asWindows1252(value) : value);
                }
            }
            break;
        default:
            break;
        }
    }
    if (reader.hasError())
        return Problem{Kind::NotWellFormed, reader.errorString(), reader.lineNumber()};
    return values;
}

Result read(QByteArrayView content)
{
    const ::Result<PadValues, Problem> all = readValues(content);
    if (!all)
        return all.problem();
    return profileValues(*all);
}

Result profileValues(const PadValues& all)
{
    Values values;
    for (const Field& field : kFields) {
        const QString value = all.value(field.path.toString());
        if (value.isEmpty())
            continue;
        if (!field.member) {
            values.categoryPosition = categoryPosition(value);
            continue;
        }
        if (const auto stored = ProductProfiles::encodeField(field.field, value); !stored)
            return Problem{Kind::NotStorable, {}, 0, stored.problem()};
        values.*field.member = value;
    }
    return values;
}

Result read(QIODevice& device)
{
    if (!device.isReadable())
        return Problem{Kind::NotReadable};
    if (!device.isSequential() && device.size() - device.pos() > maxSize)
        return Problem{Kind::TooLarge};
    const QByteArray content = device.read(maxSize + 1);
    return read(content);
}

Result readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Problem{Kind::NotOpened, file.errorString()};
    return read(file);
}

Product newProfile(const Values& values)
{
    return {values.programName.value_or(QString()),
            CategoryCatalogue::keyword(values.categoryPosition.value_or(0)),
            values.padUrl.value_or(QStringLiteral("http://")), values.regnowVendorId.value_or(QString()),
            values.regnowProductId.value_or(QString())};
}

} // namespace PadFile
