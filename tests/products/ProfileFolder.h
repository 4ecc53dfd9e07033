#pragma once

#include "core/Product.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>

// A temporary application folder for profile tests, with helpers to lay out and take stock of
// its folder Info byte for byte.
class ProfileFolder {
public:
    QString path() const { return m_dir.path(); }
    QString info() const { return m_dir.path() + QStringLiteral("/Info"); }

    void write(const QString& fileName, const QByteArray& bytes) const
    {
        QDir().mkpath(info());
        QFile file(info() + u'/' + fileName);
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
    }

    // A product's profile file; "<missing>" when there is none.
    QByteArray bytes(const QString& name) const
    {
        QFile file(info() + u'/' + name + u".txt");
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    // The profile files of Info without ".txt", in the manager's order.
    QStringList names() const
    {
        QStringList names = QDir(info()).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase);
        for (QString& name : names)
            name.chop(4);
        return names;
    }

    // Every entry under the application folder by relative path: a file's bytes, or "<dir>".
    QMap<QString, QByteArray> snapshot() const
    {
        QMap<QString, QByteArray> entries;
        QDirIterator it(path(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile file(it.next());
            entries.insert(QDir(path()).relativeFilePath(file.fileName()),
                           it.fileInfo().isDir()            ? QByteArray("<dir>")
                           : file.open(QIODevice::ReadOnly) ? file.readAll()
                                                            : "?");
        }
        return entries;
    }

    // A profile file as the program writes it (Latin-1 fields only).
    static QByteArray profile(const QStringList& fields)
    {
        QByteArray bytes;
        for (const QString& field : fields)
            bytes += '"' + field.toLatin1() + "\"\r\n";
        return bytes;
    }

private:
    QTemporaryDir m_dir;
};

inline char* toString(const Product& p)
{
    return QTest::toString(
        QStringList{p.programName, p.categoryKeyword, p.padUrl, p.regnowVendorId, p.regnowProductId}.join(
            u'|'));
}
