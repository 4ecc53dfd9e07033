#include "products/CategoryCatalogue.h"

#include <QSet>
#include <QTest>

using namespace Qt::StringLiterals;

class TestCategoryCatalogue : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void shape();
    void entries_data();
    void entries();
    void firstEntryContaining_data();
    void firstEntryContaining();
    void everyKeywordComesBack();
};

void TestCategoryCatalogue::shape()
{
    const QStringList texts = CategoryCatalogue::entries();
    QCOMPARE(texts.size(), 157);
    QSet<QString> keywords;
    int topLevel = 0;
    for (int i = 0; i < texts.size(); ++i) {
        const QString keyword = CategoryCatalogue::keyword(i);
        keywords.insert(keyword);
        QVERIFY2(!keyword.isEmpty() && keyword == keyword.toUpper(), qPrintable(texts[i]));
        if (texts[i].startsWith(u' ')) {
            QVERIFY2(texts[i].startsWith(u"    "_s) && texts[i][4] != u' ', qPrintable(texts[i]));
        } else { // a top-level entry gives the keyword of its first sub-category
            ++topLevel;
            QCOMPARE(keyword, CategoryCatalogue::keyword(i + 1));
            QVERIFY(texts.value(i + 1).startsWith(u' '));
        }
    }
    QCOMPARE(topLevel, 14);
    QCOMPARE(keywords.size(), 138);
}

void TestCategoryCatalogue::entries_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("keyword");
    const std::tuple<int, const char*, const char*> rows[] = {
        {0, "Audio & Multimedia", "ENCODERS"},
        {51, "    C/C++/C#", "C++"},
        {65, "    Kids", "KIDS"},
        {78, "    Kids", "PUZZLE"},
        {44, "    Screen Savers: Science", "SAVERS"},
        {21, "    Math & Scientific Tools", "SCIENTIFIC"},
        {56, "    Dephi", "DEPHI"},
        {123, "    Convert Surveilance", "CONVERT SURVEILANCE"},
        {156, "    XML/CSS Tools", "XML"},
        {-1, "", ""},
        {157, "", ""}};
    for (const auto& [position, text, keyword] : rows)
        QTest::addRow("%d", position)
            << position << QString::fromLatin1(text) << QString::fromLatin1(keyword);
}

void TestCategoryCatalogue::entries()
{
    QFETCH(int, position);
    QFETCH(QString, text);
    QFETCH(QString, keyword);
    QCOMPARE(CategoryCatalogue::entry(position), text);
    QCOMPARE(CategoryCatalogue::keyword(position), keyword);
}

void TestCategoryCatalogue::firstEntryContaining_data()
{
    QTest::addColumn<QString>("keyword");
    QTest::addColumn<int>("position");
    const std::pair<const char*, int> rows[] = {
        {"DVD", 4},      {"TIME", 0},    {"CREATION", 6}, {"SAVERS", 39},  {"HELP", 17},
        {"SCIENCE", 44}, {"EDITOR", 59}, {"CATALOG", 90}, {"FINANCE", 14}, {"LOG", 90},
        {"MATH", 67},    {"CAD", 86},    {"ENCODERS", 1}, {"", 0},         {"encoders", 156}};
    for (const auto& [keyword, position] : rows)
        QTest::addRow("\"%s\"", keyword) << QString::fromLatin1(keyword) << position;
}

void TestCategoryCatalogue::firstEntryContaining()
{
    QFETCH(QString, keyword);
    QFETCH(int, position);
    QCOMPARE(CategoryCatalogue::firstEntryContaining(keyword), position);
}

void TestCategoryCatalogue::everyKeywordComesBack()
{
    for (int i = 0; i < CategoryCatalogue::count(); ++i) {
        const QString keyword = CategoryCatalogue::keyword(i);
        QCOMPARE(CategoryCatalogue::keyword(CategoryCatalogue::entryForKeyword(keyword)), keyword);
    }
    QCOMPARE(CategoryCatalogue::entryForKeyword(u"ENCODERS"_s), 1);
    QCOMPARE(CategoryCatalogue::entryForKeyword(QString()), 0);
    QCOMPARE(CategoryCatalogue::entryForKeyword(u"math"_s), 156);
}

QTEST_GUILESS_MAIN(TestCategoryCatalogue)
#include "tst_categorycatalogue.moc"
