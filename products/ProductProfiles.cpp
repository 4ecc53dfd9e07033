#include "products/ProductProfiles.h"

#include "core/AppFolder.h"
#include "core/Windows1252.h"
#include "products/ProductList.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <array>
#include <filesystem>
#include <system_error>

namespace ProductProfiles {

namespace {

constexpr qsizetype kFieldCount = 5;
const QString kSuffix = QStringLiteral(".txt");

std::array<const QString*, kFieldCount> fieldsOf(const Product& p)
{
    return {&p.programName, &p.categoryKeyword, &p.padUrl, &p.regnowVendorId, &p.regnowProductId};
}

std::array<QString*, kFieldCount> fieldsOf(Product& p)
{
    return {&p.programName, &p.categoryKeyword, &p.padUrl, &p.regnowVendorId, &p.regnowProductId};
}

// A line break would split the field over two lines of the file.
bool storable(const QString& field)
{
    return !field.contains(u'\r') && !field.contains(u'\n') && Windows1252::canEncode(field);
}

bool sameFile(const QString& a, const QString& b)
{
    std::error_code error;
    return std::filesystem::equivalent(QFile::encodeName(a).toStdString(), QFile::encodeName(b).toStdString(),
                                       error);
}

// The names the user knows the fields by (the editor's labels).
const std::array<QString, kFieldCount> kFieldLabels{
    QStringLiteral("Program Name"), QStringLiteral("Category"), QStringLiteral("PAD URL"),
    QStringLiteral("Regnow Vender ID"), QStringLiteral("Regnow Product ID")};

QString infoPath(const QString& appFolder)
{
    return AppFolder::path(appFolder, AppFolder::infoFolder());
}

// Profile files of Info by their real names, unsorted. Name filters ignore letter case.
QStringList profileFileNames(const QString& appFolder)
{
    const QDir info(infoPath(appFolder));
    return info.exists()
               ? info.entryList({QStringLiteral("*.txt")}, QDir::Files | QDir::Hidden, QDir::Unsorted)
               : QStringList();
}

// Only a name without separators stays inside Info; listed names always are such names.
bool staysInInfo(const QString& name)
{
    return !name.isEmpty() && !name.contains(u'/') && !name.contains(u'\\') && name != u"." && name != u"..";
}

} // namespace

std::optional<QByteArray> serialize(const Product& product)
{
    QByteArray bytes;
    for (const QString* field : fieldsOf(product)) {
        const std::optional<QByteArray> encoded = Windows1252::encode(*field);
        if (!encoded || !storable(*field))
            return std::nullopt;
        bytes += '"' + *encoded + "\"\r\n";
    }
    return bytes;
}

Product parse(QByteArrayView content)
{
    const QList<QByteArray> lines = Windows1252::splitLines(content);
    Product product;
    const auto fields = fieldsOf(product);
    for (qsizetype i = 0; i < kFieldCount && i < lines.size(); ++i) {
        const QByteArray& line = lines[i];
        if (line.size() >= 2)
            *fields[static_cast<std::size_t>(i)] = Windows1252::decode(line.sliced(1, line.size() - 2));
    }
    return product;
}

QString nameProblem(const QString& name)
{
    if (name.isEmpty())
        return QStringLiteral("Nothing saved: type a program name first.");
    if (name.contains(u'/') || name.contains(u'\\'))
        return QStringLiteral("Nothing saved: a program name cannot hold / or \\.");
    if (name == u'.' || name.contains(QStringLiteral("..")))
        return QStringLiteral("Nothing saved: a program name cannot be \".\" or hold \"..\".");
    if (std::any_of(name.cbegin(), name.cend(), [](QChar c) { return c.category() == QChar::Other_Control; }))
        return QStringLiteral("Nothing saved: the program name holds a control character.");
    if (!Windows1252::canEncode(name))
        return QStringLiteral(
            "Nothing saved: the program name holds a character a profile file cannot store.");
    return {};
}

QString save(const QString& appFolder, const Product& product)
{
    if (QString problem = nameProblem(product.programName); !problem.isEmpty())
        return problem;
    const auto fields = fieldsOf(product);
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (!storable(*fields[i]))
            return QStringLiteral("Nothing saved: the %1 holds a character a profile file cannot store.")
                .arg(kFieldLabels[i]);
    }
    const std::optional<QByteArray> content = serialize(product);
    if (!content)
        return QStringLiteral("Nothing saved: the profile cannot be stored.");

    const QString info = infoPath(appFolder);
    if (!QFileInfo(info).isDir() && !QDir(appFolder).mkdir(AppFolder::infoFolder().mid(1)))
        return QStringLiteral("Nothing saved: the folder Info could not be created.");

    QString path = existingFile(appFolder, product.programName);
    if (path.isEmpty())
        path = info + u'/' + product.programName + kSuffix;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(*content) != content->size() || !file.commit())
        return QStringLiteral("Nothing saved: the file %1 could not be written.")
            .arg(QFileInfo(path).fileName());
    return {};
}

std::optional<Product> read(const QString& appFolder, const QString& name)
{
    const QString path = existingFile(appFolder, name);
    if (path.isEmpty())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return parse(file.readAll());
}

bool remove(const QString& appFolder, const QString& name)
{
    const QString path = existingFile(appFolder, name);
    return !path.isEmpty() && QFile::remove(path);
}

QStringList list(const QString& appFolder)
{
    QStringList names;
    for (const QString& fileName : profileFileNames(appFolder))
        names.append(fileName.chopped(kSuffix.size()));
    std::sort(names.begin(), names.end(), ProductList::lessIgnoringCase);
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

QString existingFile(const QString& appFolder, const QString& name)
{
    if (!staysInInfo(name))
        return {};
    const QString info = infoPath(appFolder);
    const QString exact = name + kSuffix;
    if (QFileInfo(info + u'/' + exact).isFile())
        return info + u'/' + exact;
    for (const QString& fileName : profileFileNames(appFolder)) {
        if (fileName.size() == exact.size() && fileName.startsWith(name))
            return info + u'/' + fileName;
    }
    return {};
}

bool removeRenamed(const QString& appFolder, const QString& oldName, const QString& newName)
{
    if (oldName == newName)
        return false;
    const QString oldFile = existingFile(appFolder, oldName);
    if (oldFile.isEmpty())
        return false;
    const QString newFile = existingFile(appFolder, newName);
    if (!newFile.isEmpty() && sameFile(oldFile, newFile))
        return false;
    return QFile::remove(oldFile);
}

} // namespace ProductProfiles
