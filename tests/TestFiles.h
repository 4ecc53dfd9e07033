#pragma once

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QTest>

// Whole-file reads and writes for tests. A file that cannot be read reads as "<missing>", so a
// comparison with expected content fails visibly; a write answers whether it worked, for the test
// to check (QVERIFY(writeFile(...))), so that a test never goes on after a failed write.
inline QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

[[nodiscard]] inline bool writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

// Every file and folder below `root`, hidden ones included, by relative path: a file's bytes,
// a folder as "<folder>".
inline QMap<QString, QByteArray> tree(const QString& root)
{
    QMap<QString, QByteArray> entries;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        entries.insert(QDir(root).relativeFilePath(path),
                       it.fileInfo().isDir() ? QByteArray("<folder>") : readAll(path));
    }
    return entries;
}
