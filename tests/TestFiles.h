#pragma once

#include <QFile>
#include <QTest>

// Whole-file reads and writes for tests. A file that cannot be read reads as "<missing>", so a
// comparison with expected content fails visibly; a file that cannot be written fails the test.
inline QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

inline void writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(content), content.size());
}
