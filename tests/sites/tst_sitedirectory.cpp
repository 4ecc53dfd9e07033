
#include "core/Windows1252.h"
#include "sites/AddedLinksFile.h"
#include "sites/SiteAddressCipher.h"
#include "sites/SiteDirectory.h"
#include "tools/Scramble.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using Lines = QList<QByteArray>;

namespace {

struct ListSink final : SiteList {
    void addItem(const QString& text) override { entries.append(text); }
    void clear() override { entries.clear(); }
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

Lines withScheme(const Lines& lines)
{
    Lines addresses;
    for (const QByteArray& line : lines)
        addresses.append("http://" + line);
    return addresses;
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
    QTest::newRow("only an empty line") << QByteArray("\r\n") << Lines{""};
    QTest::newRow("empty line kept, no final line break")
        << QByteArray("a\r\n\r\n b ") << Lines{"a", "", " b "};
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
        QFile links(dir.filePath(u"addedlinks.txt"_s));
        QVERIFY(links.open(QIODevice::WriteOnly) && links.write(content) == content.size());
        QFile sites(dir.filePath(u"padok.txt"_s));
        QVERIFY(sites.open(QIODevice::WriteOnly));
        for (const QByteArray& line : lines)
            sites.write(scramble(line, SiteAddressCipher::fileDepth) + "\r\n");
    }
    ListSink list;
    list.addItem(u"before"_s);
    SiteDirectory::loadAddedLinks(dir.path(), list);
    SiteDirectory::loadSiteAddresses(dir.path());
    QCOMPARE(slots(Module1::AddedLinks, Module1::AddedLinkCount), lines);
    QCOMPARE(list.entries, QStringList{u"before"_s} + Module1::AddedLinks.mid(1));
    QCOMPARE(slots(Module1::SiteAddresses, Module1::SiteAddressCount), withScheme(lines));
}

void TestSiteDirectory::lookups_data()
{
    QTest::addColumn<bool>("addedLink"); // findAddedLink, else findSiteAddress
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<int>("expected"); // index into stored; -1: nothing found
    const QStringList sites{u"http://www.1000APPS.com/a"_s, u"http://1000apps.net/b"_s,
                            u"http://www.5Awards.com/submit"_s};
    QTest::newRow("site: first in file order") << false << sites << u"1000apps"_s << 0;
    QTest::newRow("site: any case") << false << sites << u"5AWARDS"_s << 2;
    QTest::newRow("site: 1000files is not 1000apps") << false << sites << u"1000files"_s << -1;
    QTest::newRow("site: empty entry") << false << sites << QString() << 0;
    QTest::newRow("site: accents in any case")
        << false << QStringList{u"http://téléchargement.fr/"_s} << u"TÉLÉ"_s << 0;
    QTest::newRow("site: none stored") << false << QStringList{} << QString() << -1;
    const QStringList links{u"http://a.example/x/more"_s, u"http://a.example/x"_s};
    QTest::newRow("link: earlier link containing it") << true << links << links.at(1) << 0;
    QTest::newRow("link: case counts") << true << links << u"http://A."_s << -1;
    QTest::newRow("link: empty entry skips empty links")
        << true << QStringList{{}, links.at(1)} << QString() << 1;
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
    const auto found =
        addedLink ? SiteDirectory::findAddedLink(entry) : SiteDirectory::findSiteAddress(entry);
    QCOMPARE(found.value_or(u"<none>"_s), expected < 0 ? u"<none>"_s : stored.at(expected));
}

// A reload rebuilds the list and the added links from the file alone, however often it runs.
void TestSiteDirectory::reloadAfterAddingLinks()
{
    QTemporaryDir dir;
    QVERIFY(AddedLinksFile::append(dir.path(), u"http://1/\nhttp://2/\nhttp://3/"_s).ok());
    Module1::SiteAddresses = QStringList{QString(), u"http://site/"_s};
    Module1::SiteAddressCount = 1;
    Module1::CurrentSiteIndex = 4;
    ListSink list;
    SiteDirectory::reloadSiteList(dir.path(), list);
    QVERIFY(AddedLinksFile::append(dir.path(), u"http://4/\nhttp://5/"_s).ok());
    SiteDirectory::reloadSiteList(dir.path(), list);
    QCOMPARE(list.entries.first(10), SiteDirectory::builtInSiteNames());
    QCOMPARE(list.entries.mid(10), Module1::AddedLinks.mid(1));
    const Lines file = Windows1252::splitLines(readFile(dir.filePath(u"addedlinks.txt"_s)));
    QCOMPARE(slots(Module1::AddedLinks, Module1::AddedLinkCount), file);
    QCOMPARE(file.size(), 5);
    QCOMPARE(Module1::SiteAddressCount, 1);
    QCOMPARE(Module1::CurrentSiteIndex, 4);
}

// The file that ships with the program, read by the program's own loader.
void TestSiteDirectory::shippedSiteFile()
{
    const QString data = u"" FORMTIDE_SOURCE_DIR "/data"_s;
    const QByteArray stored = readFile(data + u"/padok.txt"_s);
    QVERIFY(stored.endsWith("\r\n") && stored.count('\n') == stored.count("\r\n") &&
            stored.count('\r') == stored.count("\r\n"));
    SiteDirectory::loadSiteAddresses(data);
    const Lines clear =
        Windows1252::splitLines(readFile(u"" FORMTIDE_TEST_DATA_DIR "/sites/padok-clear.txt"_s));
    QCOMPARE(slots(Module1::SiteAddresses, Module1::SiteAddressCount), withScheme(clear));
    QStringList found;
    for (const QString& name : SiteDirectory::builtInSiteNames()) {
        const QString address = SiteDirectory::findSiteAddress(name).value_or(QString());
        // The name is in the site's own host, and no two names share a site.
        QVERIFY2(address.section(u'/', 2, 2).contains(name, Qt::CaseInsensitive), qPrintable(name));
        QVERIFY2(!found.contains(address), qPrintable(address));
        found.append(address);
    }
}

QTEST_APPLESS_MAIN(TestSiteDirectory)
#include "tst_sitedirectory.moc"
