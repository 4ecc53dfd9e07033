#include "products/ProductProfiles.h"

#include "core/AppFolder.h"
#include "core/FileRules.h"
#include "core/Windows1252.h"
#include "products/ProductList.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <array>

namespace ProductProfiles {

namespace {

using Kind = Problem::Kind;

constexpr std::size_t kFieldCount = 5;
const QString kSuffix = QStringLiteral(".txt");

std::array<const QString*, kFieldCount> fieldsOf(const Product& p)
{
    return {&p.programName, &p.categoryKeyword, &p.padUrl, &p.regnowVendorId, &p.regnowProductId};
}

std::array<QString*, kFieldCount> fieldsOf(Product& p)
{
    return {&p.programName, &p.categoryKeyword, &p.padUrl, &p.regnowVendorId, &p.regnowProductId};
}

QString infoPath(const QString& dataFolder)
{
    return AppFolder::path(dataFolder, AppFolder::infoFolder());
}

// Profile files of Info by their real names, unsorted. Name filters ignore letter case.
QStringList profileFileNames(const QString& dataFolder)
{
    const QDir info(infoPath(dataFolder));
    return info.exists()
               ? info.entryList({QStringLiteral("*.txt")}, QDir::Files | QDir::Hidden, QDir::Unsorted)
               : QStringList();
}

// Why a file named after `name` would not be a visible file inside Info.
std::optional<Kind> placeProblem(const QString& name)
{
    const std::optional<FileRules::NameProblem> problem = FileRules::nameProblem(name);
    if (!problem)
        return std::nullopt;
    switch (*problem) {
    case FileRules::NameProblem::Empty:
        return Kind::EmptyName;
    case FileRules::NameProblem::Separator:
        return Kind::NameWithSeparator;
    case FileRules::NameProblem::LeadingDot:
        return Kind::NameWithLeadingDot;
    }
    return std::nullopt;
}

} // namespace

Result<QByteArray, Problem> encodeField(ProductField field, const QString& text)
{
    if (text.contains(u'\r') || text.contains(u'\n'))
        return Problem{Kind::LineBreak, field, {}, {}};
    std::optional<QByteArray> encoded = Windows1252::encode(text);
    if (!encoded)
        return Problem{Kind::UnencodableCharacter, field, Windows1252::firstUnencodable(text), {}};
    return *std::move(encoded);
}

Result<QByteArray, Problem> serialize(const Product& product)
{
    QByteArray bytes;
    const auto fields = fieldsOf(product);
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        const Result<QByteArray, Problem> line = encodeField(static_cast<ProductField>(i), *fields[i]);
        if (!line)
            return line.problem();
        bytes += '"' + *line + "\"\r\n";
    }
    return bytes;
}

Product parse(QByteArrayView content)
{
    const QList<QByteArray> lines = FileRules::splitLines(content);
    Product product;
    const auto fields = fieldsOf(product);
    for (std::size_t i = 0; i < kFieldCount && qsizetype(i) < lines.size(); ++i) {
        const QByteArray& line = lines[qsizetype(i)];
        if (line.size() >= 2)
            *fields[i] = Windows1252::decode(line.sliced(1, line.size() - 2));
    }
    return product;
}

Result<void, Problem> checkName(const QString& name)
{
    if (const std::optional<Kind> problem = placeProblem(name))
        return Problem{*problem};
    if (std::any_of(name.cbegin(), name.cend(), [](QChar c) { return c.category() == QChar::Other_Control; }))
        return Problem{Kind::NameWithControlCharacter};
    return {};
}

Result<FileContent, Problem> prepareSave(const QString& dataFolder, const Product& product)
{
    if (Result<void, Problem> name = checkName(product.programName); !name)
        return name.problem();
    Result<QByteArray, Problem> content = serialize(product);
    if (!content)
        return content.problem();
    if (!FileRules::ensureFolder(infoPath(dataFolder)))
        return Problem{Kind::InfoFolderNotMade};
    return FileContent{fileFor(dataFolder, product.programName), std::move(content).value()};
}

Result<void, Problem> save(const QString& dataFolder, const Product& product)
{
    const Result<FileContent, Problem> file = prepareSave(dataFolder, product);
    if (!file)
        return file.problem();
    if (const auto written = FileRules::writeWhole(file->path, file->content); !written)
        return Problem{Kind::FileNotWritten, ProductField::ProgramName, QFileInfo(file->path).fileName(),
                       written.problem().detail};
    return {};
}

std::optional<Product> read(const QString& dataFolder, const QString& name)
{
    const QString path = existingFile(dataFolder, name);
    if (path.isEmpty())
        return std::nullopt;
    const auto content = FileRules::readWhole(path);
    if (!content)
        return std::nullopt;
    return parse(*content);
}

Result<void, Problem> remove(const QString& dataFolder, const QString& name)
{
    const QString path = existingFile(dataFolder, name);
    QFile file(path);
    if (path.isEmpty() || file.remove() || !QFileInfo::exists(path))
        return {};
    return Problem{Kind::FileNotDeleted, ProductField::ProgramName, QFileInfo(path).fileName(),
                   file.errorString()};
}

QStringList list(const QString& dataFolder)
{
    QStringList names;
    for (const QString& fileName : profileFileNames(dataFolder)) {
        const QString name = fileName.chopped(kSuffix.size());
        if (!placeProblem(name))
            names.append(name);
    }
    std::sort(names.begin(), names.end(), ProductList::lessIgnoringCase);
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

QString existingFile(const QString& dataFolder, const QString& name)
{
    if (placeProblem(name))
        return {};
    const QString info = infoPath(dataFolder);
    const QString exact = name + kSuffix;
    if (QFileInfo(info + u'/' + exact).isFile())
        return info + u'/' + exact;
    for (const QString& fileName : profileFileNames(dataFolder)) {
        if (fileName.size() == exact.size() && fileName.startsWith(name))
            return info + u'/' + fileName;
    }
    return {};
}

QString fileFor(const QString& dataFolder, const QString& name)
{
    if (placeProblem(name))
        return {};
    const QString existing = existingFile(dataFolder, name);
    return existing.isEmpty() ? infoPath(dataFolder) + u'/' + name + kSuffix : existing;
}

QString padCopyFile(const QString& dataFolder, const QString& name)
{
    return placeProblem(name) ? QString() : infoPath(dataFolder) + u'/' + name + AppFolder::padCopySuffix();
}

} // namespace ProductProfiles
