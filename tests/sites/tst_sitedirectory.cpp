#include "core/Windows1252.h"
#include "sites/SiteAddressCipher.h"
#include "sites/SiteDirectory.h"
#include "tests/TestFiles.h"

#include <QTemporaryDir>

using namespace Qt::StringLiterals;
using Lines = QList<QByteArray>;

namespace {

QStringList texts(const SiteDirectory& sites)
{
    QStringList texts;
    for (const SiteDirectory::Entry& entry : sites.entries())
        texts.append(entry.text);
    return texts;
}

// Loads a directory from a site-address file scrambled as shipped and an added-links file; false
// when the files could not be written.
[[nodiscard]] bool load(SiteDirectory& sites, const Lines& siteLines, const QByteArray& links)
{
    QTemporaryDir dir;
    QByteArray padok;
    for (const QByteArray& line : siteLines)
        padok += SiteAddressCipher::encode(line) + "\r\n";
    if (!links.isNull() && !(writeFile(dir.filePath(u"padok.txt"_s), padok) &&
                             writeFile(dir.filePath(u"addedlinks.txt"_s), links)))
        return false;
    sites.loadSiteAddresses(dir.path());
    sites.loadAddedLinks(dir.path());
    sites.loadAddedLinks(dir.path());
    return true;
}

Lines encoded(const QStringList& texts)
{
    Lines lines;
    for (const QString& text : texts)
        lines.append(Windows1252::encode(text).value_or("<unencodable>"));
    return lines;
}

} // namespace

class TestSiteDirectory : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void loaders_data();
    void loaders();
    void lookups_data();
    void lookups();
    void shippedFilesBesideTheProgram();
    void cipher();
};

// Both files share their line format: `content` is what either holds (null: neither exists). The
// list gets the built-in names and the links, however often it is rebuilt; the addresses stay. The
// site-address file goes through the cipher: bytes from 0xF9 up wrap around when scrambled.
void TestSiteDirectory::loaders_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<Lines>("lines");
    QByteArray high;
    for (int code = 0x80; code <= 0xFE; ++code)
        high.append(char(code));
    QTest::newRow("missing") << QByteArray() << Lines{};
    QTest::newRow("only an empty line") << QByteArray("\r\n") << Lines{""};
    QTest::newRow("blanks kept, any line end, no final one")
        << QByteArray("a\r\n\r\n b \nc\rd") << Lines{"a", "", " b ", "c", "d"};
    QTest::newRow("bytes 0x80-0xFE kept") << high + "\r\n" << Lines{high};
}

void TestSiteDirectory::loaders()
{
    QFETCH(QByteArray, content);
    QFETCH(Lines, lines);
    SiteDirectory sites;
    QVERIFY(load(sites, lines, content));
    QCOMPARE(encoded(texts(sites).mid(10)), lines);
    QCOMPARE(texts(sites).first(10), SiteDirectory::builtInSiteNames());
    // Each address is found by its own text; an empty text finds the first one.
    QCOMPARE(sites.findSiteAddress(QString()).has_value(), !lines.isEmpty());
    for (const QString& line : Windows1252::decodeLines(lines.join("\n"))) {
        if (!line.isEmpty())
            QCOMPARE(sites.findSiteAddress(line), u"http://"_s + line);
    }
}

void TestSiteDirectory::lookups_data()
{
    QTest::addColumn<bool>("addedLink"); // findAddedLink, else findSiteAddress
    QTest::addColumn<Lines>("stored");   // the file's lines
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("expected"); // "-": nothing found
    const Lines sites{"www.1000APPS.com/a", "1000apps.net/b"};
    const Lines links{"", "http://a.example/x/more", "http://a.example/x"};
    QTest::newRow("site: first in file order, any case")
        << false << sites << u"1000apps"_s << u"http://www.1000APPS.com/a"_s;
    QTest::newRow("site: 1000files is not 1000apps") << false << sites << u"1000files"_s << u"-"_s;
    QTest::newRow("site: accents in any case")
        << false << Lines{"\xE9t\xE9/"} << u"ÉTÉ"_s << u"http://été/"_s;
    QTest::newRow("link: earlier one containing it")
        << true << links << u"http://a.example/x"_s << u"http://a.example/x/more"_s;
    QTest::newRow("link: case counts") << true << links << u"http://A."_s << u"-"_s;
    QTest::newRow("link: empty entry skips empty links")
        << true << links << QString() << u"http://a.example/x/more"_s;
}

void TestSiteDirectory::lookups()
{
    QFETCH(bool, addedLink);
    QFETCH(Lines, stored);
    QFETCH(QString, entry);
    SiteDirectory sites;
    QVERIFY(load(sites, addedLink ? Lines{} : stored, addedLink ? stored.join("\r\n") : ""));
    QTEST((addedLink ? sites.findAddedLink(entry) : sites.findSiteAddress(entry)).value_or(u"-"_s),
          "expected");
}

// The build puts the site-address file beside the program (that it adds none of the user's files is
// tst_install's).
void TestSiteDirectory::shippedFilesBesideTheProgram()
{
    const QString bin = u"" FORMTIDE_APP_DIR ""_s;
    const QByteArray stored = readAll(bin + u"/padok.txt"_s);
    QVERIFY(stored.endsWith("\r\n") && stored.count('\n') == stored.count("\r\n") &&
            stored.count('\r') == stored.count("\r\n"));
    SiteDirectory sites;
    sites.loadSiteAddresses(bin);
    const QByteArray clear = readAll(u"" FORMTIDE_TEST_DATA_DIR "/sites/padok-clear.txt"_s);
    for (const QString& line : Windows1252::decodeLines(clear))
        QCOMPARE(sites.findSiteAddress(line), u"http://"_s + line);
    QStringList found;
    for (const QString& name : SiteDirectory::builtInSiteNames()) {
        const QString address = sites.findSiteAddress(name).value_or(QString());
        // The name is in the site's own host, and no two names share a site.
        QVERIFY2(address.section(u'/', 2, 2).contains(name, Qt::CaseInsensitive) && !found.contains(address),
                 qPrintable(name));
        found.append(address);
    }
}

// The site-address file's shift of 7 wraps within the codes 0 to 254: every code but 255 comes back.
void TestSiteDirectory::cipher()
{
    QByteArray codes;
    for (int code = 0; code <= 254; ++code)
        codes.append(char(code));
    const QByteArray stored = codes.sliced(7) + '\xFF' + codes.sliced(1, 6);
    QCOMPARE(SiteAddressCipher::encode(codes), stored);
    QCOMPARE(SiteAddressCipher::decode(stored), codes);
    // No address holds 255 (stored as 7, it reads as 0), and no stored line holds 0 (it reads as 248).
    QCOMPARE(SiteAddressCipher::decode(SiteAddressCipher::encode("\xFF").append('\0')),
             QByteArray("\0\xF8", 2));
}

QTEST_APPLESS_MAIN(TestSiteDirectory)
#include "tst_sitedirectory.moc"
