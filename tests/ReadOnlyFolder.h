#pragma once

#include <QFile>
#include <QString>

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

// Makes a folder read-only for the calling thread while it lives, even when the tests run as
// root: the folder loses its write bits, and the thread gives up the capabilities that let root
// ignore them (CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER) from its effective set. Both
// come back when the guard goes.
class ReadOnlyFolder final {
public:
    explicit ReadOnlyFolder(QString path) : m_path(std::move(path)), m_mode(QFile::permissions(m_path))
    {
        QFile::setPermissions(m_path, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup |
                                          QFile::ReadOther | QFile::ExeOther);
        setOverride(false);
    }
    ~ReadOnlyFolder()
    {
        setOverride(true);
        QFile::setPermissions(m_path, m_mode);
    }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

private:
    static void setOverride(bool on)
    {
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        __user_cap_data_struct data[2]{};
        if (syscall(SYS_capget, &header, data) != 0)
            return;
        const unsigned bits = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER);
        if (on)
            data[0].effective |= bits & data[0].permitted;
        else
            data[0].effective &= ~bits;
        syscall(SYS_capset, &header, data);
    }

    QString m_path;
    QFile::Permissions m_mode;
};
