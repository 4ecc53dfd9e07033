#include "core/SettingsFile.h"

namespace {

// The name a line sets, or an empty array for a line that sets nothing.
QByteArrayView nameOf(QByteArrayView line)
{
    const qsizetype equals = line.indexOf('=');
    return equals > 0 ? line.first(equals).trimmed() : QByteArrayView();
}

} // namespace

SettingsFile::SettingsFile(QString path)
    : m_path(std::move(path)), m_lines(FileRules::splitLines(FileRules::readWhole(m_path).valueOr({})))
{
}

bool SettingsFile::isOn(const QString& name, bool fallback) const
{
    const QByteArray text = value(name);
    if (text == "yes")
        return true;
    if (text == "no")
        return false;
    return fallback;
}

Result<void, FileRules::FileProblem> SettingsFile::setOn(const QString& name, bool on)
{
    const QByteArray key = name.toUtf8();
    const QByteArray line = key + '=' + (on ? "yes" : "no");
    bool set = false;
    for (qsizetype i = 0; i < m_lines.size();) {
        if (nameOf(m_lines[i]) != key) {
            ++i;
        } else if (!set) {
            m_lines[i++] = line;
            set = true;
        } else {
            m_lines.removeAt(i);
        }
    }
    if (!set)
        m_lines.append(line);
    QByteArray content;
    for (const QByteArray& each : std::as_const(m_lines))
        content += each + "\r\n";
    return FileRules::writeWhole(m_path, content);
}

QByteArray SettingsFile::value(const QString& name) const
{
    const QByteArray key = name.toUtf8();
    for (const QByteArray& line : m_lines) {
        if (nameOf(line) == key)
            return line.sliced(line.indexOf('=') + 1).trimmed();
    }
    return {};
}
