#include "sites/ProgressStore.h"

#include "core/AppFolder.h"
#include "core/FileRules.h"

#include <QFile>
#include <QFileInfo>

namespace {

constexpr qsizetype kDayLength = 10; // yyyy-mm-dd

// The whole file; a missing or unreadable one reads as empty.
QByteArray readFile(const QString& path)
{
    return FileRules::readWhole(path).valueOr({});
}

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
    m_product = name;
    m_marks = name ? read(*name) : Marks();
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

ProgressStore::SaveResult ProgressStore::renameProduct(const QString& oldName, const QString& newName)
{
    if (oldName == newName)
        return {};
    const QString oldFile = marksFile(oldName);
    const QString newFile = marksFile(newName);
    // The current product's marks in memory may hold changes that could not be saved.
    Marks carried = m_product == oldName ? m_marks : read(oldName);
    Marks joined = m_product == newName ? m_marks : read(newName);
    for (auto it = carried.cbegin(); it != carried.cend(); ++it)
        joined.insert(it.key(), it.value());
    if (m_product == oldName || m_product == newName) {
        m_product = newName;
        m_marks = joined;
    }
    if (carried.isEmpty() && !QFileInfo::exists(oldFile))
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
    return parse(readFile(marksFile(name)));
}

ProgressStore::SaveResult ProgressStore::write(const QString& name, const Marks& marks) const
{
    const QString path = marksFile(name);
    if (path.isEmpty())
        return {};
    // The data folder exists; only "Progress" inside it is made.
    if (const auto folder =
            FileRules::ensureFolder(AppFolder::path(m_dataFolder, AppFolder::progressFolder()));
        !folder)
        return Problem{folder.problem().detail};
    return writeFile(path, serialize(marks));
}
