#include "app/Module1.h"
#include "app/Windows1252.h"
#include "sites/AddedLinksFile.h"
#include "sites/Cls5.h"
#include "sites/SiteDirectory.h"
#include "tools/Scramble.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

using Lines = QList<QByteArray>;

namespace {

struct ListSink final : SiteList {
    void AddItem(const QString& text) override { entries.append(text); }
    void Clear() override { entries.clear(); }
    QStringList entries;
};

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A table's used slots as bytes; slot 0 must be empty and nothing may follow the last used slot.
Lines slots(const QStringList& table, int count)
{
    if (table.size() != count + 1 || !table.at(0).isEmpty())
        return {"<bad slot 0 or size>"};
    Lines lines;
    for (const QString& slot : table.mid(1))
        lines.append(Windows1252::encode(slot).value_or("<unencodable>"));
    return lines;
}

} // namespace

class TestSiteDirectory : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { Module1::ResetForTesting(); }
    void loaders_data();
    void loaders();
    void lookups_data();
    void lookups();
    void reloadAfterAddingLinks();
    void shippedSiteFile();
};

// Both files share their line format: `content` is what either holds (null: no file).
void TestSiteDirectory::loaders_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<Lines>("lines");
    QByteArray high;
    for (int code = 0x80; code <= 0xFE; ++code)
        high.append(static_cast<char>(code));
    Lines many;
    for (int i = 1; i <= 1203; ++i)
        many.append("http://site" + QByteArray::number(i) + ".example/");

    QTest::newRow("missing") << QByteArray() << Lines{};
    QTest::newRow("empty") << QByteArray("") << Lines{};
    QTest::newRow("three lines, one empty") << QByteArray("a\r\n\r\nc\r\n") << Lines{"a", "", "c"};
    QTest::newRow("only an empty line") << QByteArray("\r\n") << Lines{""};
    QTest::newRow("no final line break") << QByteArray("a\r\n b ") << Lines{"a", " b "};
    QTest::newRow("CR only, LF only") << QByteArray("a\rb\nc\n") << Lines{"a", "b", "c"};
    QTest::newRow("bytes 0x80-0xFE kept") << high + "\r\n" << Lines{high};
    QTest::newRow("more than 1000 lines") << many.join("\r\n") << many;
}

void TestSiteDirectory::loaders()
{
    QFETCH(QByteArray, content);
    QFETCH(Lines, lines);
    QTemporaryDir dir;
    if (!content.isNull()) {
        QFile links(dir.path() + QStringLiteral("/addedlinks.txt"));
        QVERIFY(links.open(QIODevice::WriteOnly) && links.write(content) == content.size());
        QFile sites(dir.path() + QStringLiteral("/padok.txt"));
        QVERIFY(sites.open(QIODevice::WriteOnly));
        for (const QByteArray& line : lines)
            sites.write(scramble(line, Cls5::FixedDepth) + "\r\n");
    }
    ListSink list;
    list.AddItem(QStringLiteral("before"));
    SiteDirectory::LoadAddedLinks(dir.path(), list);
    SiteDirectory::LoadSiteAddresses(dir.path());

    QCOMPARE(slots(Module1::AddedLinks, Module1::AddedLinkCount), lines);
    QCOMPARE(list.entries, QStringList{QStringLiteral("before")} + Module1::AddedLinks.mid(1));
    Lines addresses;
    for (const QByteArray& line : lines)
        addresses.append("http://" + line);
    QCOMPARE(slots(Module1::SiteAddresses, Module1::SiteAddressCount), addresses);
}

void TestSiteDirectory::lookups_data()
{
    QTest::addColumn<bool>("addedLink"); // FindAddedLink, else FindSiteAddress
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<int>("expected"); // index into stored; -1: nothing found

    const QStringList sites{QStringLiteral("http://www.1000APPS.com/a"),
                            QStringLiteral("http://1000apps.net/b"),
                            QStringLiteral("http://www.5Awards.com/submit")};
    QTest::newRow("site: first in file order") << false << sites << QStringLiteral("1000apps") << 0;
    QTest::newRow("site: any case") << false << sites << QStringLiteral("5AWARDS") << 2;
    QTest::newRow("site: 1000files is not 1000apps") << false << sites << QStringLiteral("1000files") << -1;
    QTest::newRow("site: empty entry") << false << sites << QString() << 0;
    QTest::newRow("site: accents in any case")
        << false << QStringList{QStringLiteral("http://téléchargement.fr/")} << QStringLiteral("TÉLÉ") << 0;
    QTest::newRow("site: none stored") << false << QStringList{} << QString() << -1;

    const QStringList links{QStringLiteral("http://a.example/x/more"), QStringLiteral("http://a.example/x")};
    QTest::newRow("link: finds itself") << true << links << links.at(0) << 0;
    QTest::newRow("link: earlier link containing it") << true << links << links.at(1) << 0;
    QTest::newRow("link: case counts") << true << links << QStringLiteral("http://A.") << -1;
    QTest::newRow("link: empty entry skips empty links")
        << true << QStringList{QString(), links.at(1)} << QString() << 1;
    QTest::newRow("link: empty entry, empty links") << true << QStringList{QString()} << QString() << -1;
}

void TestSiteDirectory::lookups()
{
    QFETCH(bool, addedLink);
    QFETCH(QStringList, stored);
    QFETCH(QString, entry);
    QFETCH(int, expected);
    (addedLink ? Module1::AddedLinks : Module1::SiteAddresses) = QStringList{QString()} + stored;
    (addedLink ? Module1::AddedLinkCount : Module1::SiteAddressCount) =
        static_cast<std::int32_t>(stored.size());
    const std::optional<QString> found =
        addedLink ? SiteDirectory::FindAddedLink(entry) : SiteDirectory::FindSiteAddress(entry);
    QCOMPARE(found.value_or(QStringLiteral("<none>")),
             expected < 0 ? QStringLiteral("<none>") : stored.at(expected));
}

void TestSiteDirectory::reloadAfterAddingLinks()
{
    QTemporaryDir dir;
    QVERIFY(AddedLinksFile::Append(dir.path(), QStringLiteral("http://1/\nhttp://2/\nhttp://3/")).ok());
    Module1::SiteAddresses = QStringList{QString(), QStringLiteral("http://site/")};
    Module1::SiteAddressCount = 1;
    Module1::CurrentSiteIndex = 4;
    ListSink list;
    for (int i = 0; i < 3; ++i) // earlier openings of the dialog that added nothing
        SiteDirectory::ReloadSiteList(dir.path(), list);
    QVERIFY(AddedLinksFile::Append(dir.path(), QStringLiteral("http://4/\nhttp://5/")).ok());
    SiteDirectory::ReloadSiteList(dir.path(), list);

    QCOMPARE(list.entries.first(10), SiteDirectory::BuiltInSiteNames());
    QCOMPARE(list.entries.mid(10), Module1::AddedLinks.mid(1));
    const Lines file = Windows1252::splitLines(readFile(dir.path() + QStringLiteral("/addedlinks.txt")));
    QCOMPARE(slots(Module1::AddedLinks, Module1::AddedLinkCount), file);
    QCOMPARE(file.size(), 5);
    QCOMPARE(Module1::SiteAddressCount, 1);
    QCOMPARE(Module1::CurrentSiteIndex, 4);
}

// The file that ships with the program, read by the program's own loader.
void TestSiteDirectory::shippedSiteFile()
{
    const QString data = QStringLiteral(FORMTIDE_SOURCE_DIR "/data");
    const QByteArray stored = readFile(data + QStringLiteral("/padok.txt"));
    QVERIFY(stored.endsWith("\r\n"));
    QCOMPARE(stored.count('\n'), stored.count("\r\n"));
    QCOMPARE(stored.count('\r'), stored.count("\r\n"));
    SiteDirectory::LoadSiteAddresses(data);
    Lines clear;
    for (const QByteArray& line :
         Windows1252::splitLines(readFile(QStringLiteral(FORMTIDE_TEST_DATA_DIR "/sites/padok-clear.txt"))))
        clear.append("http://" + line);
    QCOMPARE(slots(Module1::SiteAddresses, Module1::SiteAddressCount), clear);
    for (const QString& address : Module1::SiteAddresses.mid(1))
        QVERIFY2(std::all_of(address.begin(), address.end(), [](QChar c) { return c > u' ' && c < u'\x7F'; }),
                 qPrintable(address));

    QStringList found;
    for (const QString& name : SiteDirectory::BuiltInSiteNames()) {
        const QString address = SiteDirectory::FindSiteAddress(name).value_or(QString());
        // The name is in the site's own host, and no two names share a site.
        QVERIFY2(address.section(u'/', 2, 2).contains(name, Qt::CaseInsensitive), qPrintable(name));
        QVERIFY2(!found.contains(address), qPrintable(address));
        found.append(address);
    }
}

QTEST_APPLESS_MAIN(TestSiteDirectory)
#include "tst_sitedirectory.moc"
