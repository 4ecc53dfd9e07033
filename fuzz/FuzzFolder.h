#pragma once

#include <QFile>
#include <QTemporaryDir>

// An application folder for one fuzzing run; each input is written to one of its files.
class FuzzFolder final {
public:
    const QString& path() const { return m_path; }

    void write(const QString& name, const uint8_t* data, size_t size)
    {
        QFile file(m_path + name);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }

private:
    QTemporaryDir m_dir;
    QString m_path = m_dir.path();
};
