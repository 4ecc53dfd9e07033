#include "sites/ProgressStore.h"

#include "core/AppFolder.h"
#include "core/FileRules.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

constexpr qsizetype kDayLength = 10; // yyyy-mm-dd

ProgressStore::SaveResult writeFile(const QString& path, const QByteArray& content)
{
    if (const auto written = FileRules::writeWhole(path, content); !written)
        return ProgressStore::Problem{written.problem().detail};
    return {};
}

} // namespace

ProgressStore::ProgressStore(QString dataFolder) : m_dataFolder(std::move(dataFolder)) {}

ProgressStore::Marks ProgressStore::parse(QByteArrayView content)
{
    Marks marks;
    // An editor may have put a byte-order mark first.
    if (content.startsWith("\xEF\xBB\xBF"))
        content = content.sliced(3);
    for (const QByteArray& line : FileRules::splitLines(content)) {
        if (line.size() <= kDayLength || line[kDayLength] != ' ')
            continue;
        const QDate day = QDate::fromString(QString::fromLatin1(line.first(kDayLength)), Qt::ISODate);
        const QString entry = QString::fromUtf8(QByteArrayView(line).sliced(kDayLength + 1));
        if (day.isValid() && !marks.contains(entry))
            marks.insert(entry, day);
    }
    return marks;
}

QByteArray ProgressStore::serialize(const Marks& marks)
{
    QByteArray content;
    for (auto it = marks.cbegin(); it != marks.cend(); ++it)
        content += it.value().toString(Qt::ISODate).toLatin1() + ' ' + it.key().toUtf8() + "\r\n";
    return content;
}

void ProgressStore::setProduct(const std::optional<QString>& name)
{
    if (!m_product)
        m_marksWithoutProduct = m_marks;
    m_marks = name ? marksOf(*name) : m_marksWithoutProduct;
    m_product = name;
}

ProgressStore::Marks ProgressStore::marksOf(const QString& name) const
{
    if (m_product == name)
        return m_marks;
    const auto unsaved = m_unsaved.constFind(name);
    return unsaved != m_unsaved.cend() ? *unsaved : read(name);
}

QStringList ProgressStore::productsWithMarks() const
{
    QStringList names = m_unsaved.keys();
    const QDir folder(AppFolder::path(m_dataFolder, AppFolder::progressFolder()));
    for (const QString& file : folder.entryList({QStringLiteral("*.txt")}, QDir::Files)) {
        const QString name = file.chopped(4);
        if (file.endsWith(u".txt") && !marksFile(name).isEmpty() && !names.contains(name))
            names.append(name);
    }
    if (m_product && !m_marks.isEmpty() && !names.contains(*m_product))
        names.append(*m_product);
    return names;
}

std::optional<QDate> ProgressStore::markedOn(const QString& entry) const
{
    const auto it = m_marks.constFind(entry);
    return it == m_marks.cend() ? std::nullopt : std::optional(*it);
}

ProgressStore::SaveResult ProgressStore::setMark(const QString& entry, std::optional<QDate> day)
{
    if (day)
        m_marks.insert(entry, *day);
    else
        m_marks.remove(entry);
    if (!m_product)
        return {};
    return write(*m_product, m_marks);
}

ProgressStore::SaveResult ProgressStore::copyMarks(const QString& oldEntry, const QString& newEntry)
{
    const auto copy = [&](Marks& marks) {
        const auto day = marks.constFind(oldEntry);
        if (day == marks.cend() || marks.contains(newEntry))
            return false;
        marks.insert(newEntry, *day);
        return true;
    };
    copy(m_product ? m_marksWithoutProduct : m_marks);
    SaveResult saved;
    for (const QString& name : productsWithMarks()) {
        Marks marks = marksOf(name);
        if (!copy(marks))
            continue;
        if (m_product == name)
            m_marks = marks;
        if (SaveResult written = write(name, marks); !written && saved)
            saved = std::move(written);
    }
    return saved;
}

ProgressStore::SaveResult ProgressStore::renameProduct(const QString& oldName, const QString& newName)
{
    if (oldName == newName)
        return {};
    const QString oldFile = marksFile(oldName);
    const QString newFile = marksFile(newName);
    // The current product's marks in memory may hold changes that could not be saved.
    Marks carried = marksOf(oldName);
    Marks joined = marksOf(newName);
    for (auto it = carried.cbegin(); it != carried.cend(); ++it)
        joined.insert(it.key(), it.value());
    if (m_product == oldName || m_product == newName) {
        m_product = newName;
        m_marks = joined;
    }
    const bool heldUnsaved = m_unsaved.remove(oldName) > 0;
    if (carried.isEmpty() && !heldUnsaved && !QFileInfo::exists(oldFile))
        return {};
    const SaveResult saved = write(newName, joined);
    // On a file system that ignores letter case, a rename in letter case only wrote the old file.
    if (saved.ok() && !oldFile.isEmpty() && !newFile.isEmpty() && !FileRules::sameFile(oldFile, newFile))
        QFile::remove(oldFile);
    return saved;
}

QString ProgressStore::marksFile(const QString& name) const
{
    if (FileRules::nameProblem(name))
        return {};
    return AppFolder::path(m_dataFolder, AppFolder::progressFolder()) + u'/' + name + u".txt";
}

ProgressStore::Marks ProgressStore::read(const QString& name) const
{
    // A missing or unreadable file holds no marks.
    return parse(FileRules::readWhole(marksFile(name)).valueOr({}));
}

ProgressStore::SaveResult ProgressStore::write(const QString& name, const Marks& marks)
{
    const QString path = marksFile(name);
    if (path.isEmpty())
        return {};
    // The data folder exists; only "Progress" inside it is made.
    SaveResult saved;
    if (const auto folder =
            FileRules::ensureFolder(AppFolder::path(m_dataFolder, AppFolder::progressFolder()));
        !folder)
        saved = Problem{folder.problem().detail};
    else
        saved = writeFile(path, serialize(marks));
    if (saved.ok())
        m_unsaved.remove(name);
    else
        m_unsaved.insert(name, marks);
    return saved;
}
