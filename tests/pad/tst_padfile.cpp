#include "products/PadFile.h"

#include <QBuffer>
#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;
using Values = PadFile::Values;

namespace {
QByteArray pad(const QByteArray& inner, const QByteArray& encoding = "UTF-8")
{
    return "<?xml version=\"1.0\" encoding=\"" + encoding + "\"?>\n<XML_DIZ_INFO>" + inner +
           "</XML_DIZ_INFO>\n";
}
QByteArray name(const QByteArray& value)
{
    return "<Program_Info><Program_Name>" + value + "</Program_Name></Program_Info>";
}
QByteArray url(const QByteArray& value)
{
    return "<Web_Info><Application_URLs><Application_XML_File_URL>" + value +
           "</Application_XML_File_URL></Application_URLs></Web_Info>";
}
QByteArray fixture(const char* file)
{
    QFile f(FORMTIDE_TEST_DATA_DIR "/pad/"_L1 + QLatin1StringView(file));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
// A well-formed PAD file of exactly `size` bytes.
QByteArray padOfSize(qint64 size)
{
    QByteArray content = pad(name("Big") + "<!--" + "-->");
    content.insert(content.indexOf("-->"), QByteArray(size - content.size(), 'x'));
    return content;
}
} // namespace

class TestPadFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void values_data();
    void values();
    void categoryPosition_data();
    void categoryPosition();
    void refused_data();
    void refused();
    void sizeCap_data();
    void sizeCap();
};

void TestPadFile::values_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<Values>("expected");
    QTest::newRow("3.11 layout, sub-category")
        << fixture("pad311.xml")
        << Values{u"Tidy Zip"_s, u"http://tidewater.example/zip/pad.xml"_s, 140, u"1234"_s, u"1234-5"_s};
    // Upper-case tags, a comment before the root, values wrapped in CR LF, &amp;, Program_Name
    // repeated in language blocks, no Regnow IDs, a category class that matches only its top level.
    QTest::newRow("4.0 layout, Windows-1252")
        << fixture("pad40.xml")
        << Values{u"Caf\u00e9 Planner \u20ac"_s, u"http://cafe.example/pad.xml?a=1&b=2"_s, 71, {}, {}};
    QTest::newRow("first of repeated leaves counts")
        << pad(name("One") + name("Two") + url("u1") + url("u2")) << Values{u"One"_s, u"u1"_s, {}, {}, {}};
    QTest::newRow("empty first leaf leaves the box") << pad(name(" \r\n\t ") + name("Two")) << Values{};
    QTest::newRow("leaf at another path ignored")
        << pad("<Program_Name>Loose</Program_Name><Web_Info><Application_XML_File_URL>u"
               "</Application_XML_File_URL></Web_Info>" +
               name("Real"))
        << Values{u"Real"_s, {}, {}, {}, {}};
    QTest::newRow("markup, CDATA and references inside a value")
        << pad(name("<b>Tom</b> <![CDATA[&]]> &#74;erry &amp; co"))
        << Values{u"Tom & Jerry & co"_s, {}, {}, {}, {}};
    QTest::newRow("empty Regnow IDs and PAD URL leave their boxes")
        << pad("<Affiliates><Affiliates_Regnow_Vendor_ID/><Affiliates_Regnow_Product_ID> 7 "
               "</Affiliates_Regnow_Product_ID></Affiliates>" +
               url(""))
        << Values{{}, {}, {}, {}, u"7"_s};
    QTest::newRow("category class matching nothing")
        << pad("<Program_Info><Program_Category_Class>Utilities::Zip</Program_Category_Class></Program_Info>")
        << Values{};
    QTest::newRow("ISO-8859-1 read as Windows-1252")
        << pad(name("\x80 \x93q\x94 \xe9"), "ISO-8859-1")
        << Values{u"\u20ac \u201cq\u201d \u00e9"_s, {}, {}, {}, {}};
    const QString wide = QString::fromLatin1(pad(name("W"), "UTF-16"));
    QTest::newRow("UTF-16 with byte-order mark")
        << QByteArray("\xff\xfe", 2) +
               QByteArray(reinterpret_cast<const char*>(wide.utf16()), wide.size() * 2)
        << Values{u"W"_s, {}, {}, {}, {}};
}

void TestPadFile::values()
{
    QFETCH(QByteArray, content);
    const PadFile::Result result = PadFile::read(content, u"pad.xml"_s);
    QCOMPARE(result.problem, QString());
    QTEST(result.values, "expected");
}

void TestPadFile::categoryPosition_data()
{
    QTest::addColumn<QString>("categoryClass");
    QTest::addColumn<std::optional<int>>("expected");
    QTest::newRow("case and blanks ignored")
        << u" system UTILITIES :: file compression "_s << std::optional(140);
    QTest::newRow("Kids under Games, not Education") << u"Games & Entertainment::Kids"_s << std::optional(78);
    QTest::newRow("sub-category of another top level") << u"Education::Arcade"_s << std::optional(60);
    QTest::newRow("top level alone") << u"Desktop"_s << std::optional(38);
    QTest::newRow("last entry") << u"Web Development::XML/CSS Tools"_s << std::optional(156);
    QTest::newRow("top level named by a prefix") << u"Audio::Speech"_s << std::optional<int>();
}

void TestPadFile::categoryPosition()
{
    QFETCH(QString, categoryClass);
    QTEST(PadFile::categoryPosition(categoryClass), "expected");
}

void TestPadFile::refused_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("reason");
    QTest::newRow("empty") << QByteArray() << u"is empty"_s;
    QTest::newRow("binary") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << u"binary"_s;
    QTest::newRow("bare ampersand") << pad(name("Tom & Jerry")) << u"not well-formed XML (line 2"_s;
    QTest::newRow("fault after all values") << pad(name("A")) + "<x/>" << u"not well-formed XML"_s;
    QTest::newRow("undecodable bytes") << pad(name("Caf\xe9")) << u"not well-formed"_s;
    QTest::newRow("other root") << QByteArray("<html><XML_DIZ_INFO/></html>") << u"root element is <html>"_s;
    QTest::newRow("name outside Windows-1252")
        << pad(name("\xe4\xb8\xad")) << u"Program Name holds \"\u4e2d\""_s;
    QTest::newRow("line break inside a value") << pad(url("http://a\n/b")) << u"PAD URL holds a line break"_s;
}

void TestPadFile::refused()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, reason);
    const PadFile::Result result = PadFile::read(content, u"bad.xml"_s);
    QVERIFY2(result.problem.startsWith(u"\"bad.xml\""_s) && result.problem.contains(reason),
             qPrintable(result.problem));
    QVERIFY(!result.problem.contains(u'\n'));
    QCOMPARE(result.values, Values{});
}

void TestPadFile::sizeCap_data()
{
    QTest::addColumn<qint64>("size");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("at the cap") << PadFile::maxSize << true;
    QTest::newRow("one byte over") << PadFile::maxSize + 1 << false;
}

void TestPadFile::sizeCap()
{
    QFETCH(qint64, size);
    QFETCH(bool, accepted);
    QByteArray content = padOfSize(size);
    QCOMPARE(PadFile::read(content, u"big.xml"_s).ok(), accepted);
    QBuffer buffer(&content);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    const PadFile::Result result = PadFile::read(buffer, u"big.xml"_s);
    QCOMPARE(result.ok(), accepted);
    QCOMPARE(result.values.programName, accepted ? std::optional(u"Big"_s) : std::nullopt);
    QCOMPARE(buffer.pos(), accepted ? size : 0); // a file known to be too large is not read at all
}

QTEST_GUILESS_MAIN(TestPadFile)
#include "tst_padfile.moc"
