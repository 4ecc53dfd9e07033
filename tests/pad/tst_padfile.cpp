#include "products/PadFile.h"
#include "tests/TestFiles.h"
#include "ui/ProductText.h"

#include <QStringEncoder>

using namespace Qt::StringLiterals;
using Values = PadFile::Values;

namespace {
const auto pad = [](const QByteArray& inner, const QByteArray& encoding = "UTF-8") -> QByteArray {
    return "<?xml version=\"1.0\" encoding=\"" + encoding + "\"?>\n<XML_DIZ_INFO>" + inner +
           "</XML_DIZ_INFO>\n";
};
const auto name = [](const QByteArray& value) -> QByteArray {
    return "<Program_Info><Program_Name>" + value + "</Program_Name></Program_Info>";
};
const auto url = [](const QByteArray& value) -> QByteArray {
    return "<Web_Info><Application_URLs><Application_XML_File_URL>" + value +
           "</Application_XML_File_URL></Application_URLs></Web_Info>";
};
} // namespace

class TestPadFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void values_data();
    void values();
    void refused_data();
    void refused();
};

void TestPadFile::values_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<Values>("expected");
    QTest::newRow("3.11 layout, sub-category")
        << readAll(u"" FORMTIDE_TEST_DATA_DIR "/pad/pad311.xml"_s)
        << Values{u"Tidy Zip"_s, u"http://tidewater.example/zip/pad.xml"_s, 140, u"1234"_s, u"1234-5"_s};
    // Upper-case tags, a comment before the root, values wrapped in CR LF, &amp;, Program_Name
    // repeated in language blocks, no Regnow IDs, a category class that matches only its top level.
    QTest::newRow("4.0 layout, Windows-1252")
        << readAll(u"" FORMTIDE_TEST_DATA_DIR "/pad/pad40.xml"_s)
        << Values{u"Caf\u00e9 Planner \u20ac"_s, u"http://cafe.example/pad.xml?a=1&b=2"_s, 71, {}, {}};
    const auto named = [](const QString& name) { return Values{name, {}, {}, {}, {}}; };
    // Only the first leaf at its own path counts, and an empty one leaves the box.
    QTest::newRow("first leaf at the path, even empty")
        << pad("<Program_Name>L</Program_Name>" + name(" \r\n\t ") + name("Two") + url("u1") + url("u2"))
        << Values{{}, u"u1"_s, {}, {}, {}};
    QTest::newRow("ISO-8859-1 read as Windows-1252")
        << pad(name("\x80 \x93q\x94 \xe9"), "ISO-8859-1") << named(u"\u20ac \u201cq\u201d \u00e9"_s);
    // A category class names a sub-category under its own top level (this "Kids" is not the one
    // under "Education"), else the top level alone (pad40.xml); letter case and blanks around
    // either part do not count; a prefix names nothing.
    const auto category = [](const QByteArray& value) {
        return pad("<Program_Info><Program_Category_Class>" + value +
                   "</Program_Category_Class></Program_Info>");
    };
    QTest::newRow("sub-category") << category(" games &amp; ENTERTAINMENT :: kids ")
                                  << Values{{}, {}, 78, {}, {}};
    QTest::newRow("top level named by a prefix") << category("Audio::Speech") << Values{};
    QStringEncoder utf16(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
    QTest::newRow("UTF-16") << QByteArray(utf16(QString::fromLatin1(pad(name("W"), "UTF-16"))))
                            << named(u"W"_s);
}

void TestPadFile::values()
{
    QFETCH(QByteArray, content);
    const PadFile::Result result = PadFile::read(content);
    QVERIFY2(result, qPrintable(result ? QString() : ProductText::describe(result.problem(), u"pad.xml"_s)));
    QTEST(*result, "expected");
}

void TestPadFile::refused_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("reason");
    QTest::newRow("empty") << QByteArray() << u"is empty"_s;
    QTest::newRow("binary") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << u"binary"_s;
    QTest::newRow("bare ampersand") << pad(name("Tom & Jerry")) << u"not well-formed XML (line 2"_s;
    QTest::newRow("other root") << QByteArray("<html><XML_DIZ_INFO/></html>") << u"root element is <html>"_s;
    QTest::newRow("name outside Windows-1252")
        << pad(name("\xe4\xb8\xad")) << u"Program Name holds \"\u4e2d\""_s;
    QTest::newRow("line break inside a value") << pad(url("http://a\n/b")) << u"PAD URL holds a line break"_s;
}

// The user reads one line that names the file and the reason.
void TestPadFile::refused()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, reason);
    const PadFile::Result result = PadFile::read(content);
    QVERIFY(!result);
    const QString line = ProductText::describe(result.problem(), u"bad.xml"_s);
    QVERIFY2(line.startsWith(u"\"bad.xml\""_s) && line.contains(reason) && !line.contains(u'\n'),
             qPrintable(line));
}

QTEST_GUILESS_MAIN(TestPadFile)
#include "tst_padfile.moc"
