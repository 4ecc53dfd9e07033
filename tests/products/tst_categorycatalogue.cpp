#include "products/CategoryCatalogue.h"

#include <QSet>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace CategoryCatalogue;

class TestCategoryCatalogue : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void shape();
    void entries_data();
    void entries();
    void lookups_data();
    void lookups();
};

void TestCategoryCatalogue::shape()
{
    const QStringList texts = CategoryCatalogue::entries();
    QCOMPARE(texts.size(), 157);
    QSet<QString> keywords;
    for (int i = 0; i < texts.size(); ++i) {
        keywords.insert(keyword(i));
        QVERIFY2(!keyword(i).isEmpty() && keyword(i) == keyword(i).toUpper(), qPrintable(texts[i]));
        // Sub-categories carry exactly four blanks; a top-level entry has the keyword of its first one.
        QVERIFY2(texts[i].startsWith(u' ')
                     ? texts[i].startsWith(u"    "_s) && texts[i][4] != u' '
                     : keyword(i) == keyword(i + 1) && texts.value(i + 1).startsWith(u' '),
                 qPrintable(texts[i]));
        // Confirming the editor on an untouched category keeps the keyword stored.
        QCOMPARE(keyword(entryForKeyword(keyword(i))), keyword(i));
    }
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
    QTEST(entry(position), "text");
    QTEST(keyword(position), "keyword");
}

// The search that shows a stored keyword again: an entry that owns the keyword wins; the text
// search with its two pass-over rules decides only for keywords no entry owns.
void TestCategoryCatalogue::lookups_data()
{
    QTest::addColumn<QString>("keyword");
    QTest::addColumn<int>("firstContaining");
    QTest::addColumn<int>("forKeyword");
    const std::tuple<const char*, int, int> rows[] = {
        {"DVD", 4, 5},      {"TIME", 0, 25}, {"MATH", 67, 67},   {"CAD", 86, 86},
        {"ENCODERS", 1, 1}, {"", 0, 0},      {"math", 156, 156}, {"SCIENTIFIC T", 21, 21}};
    for (const auto& [keyword, firstContaining, forKeyword] : rows)
        QTest::addRow("\"%s\"", keyword) << QString::fromLatin1(keyword) << firstContaining << forKeyword;
}

void TestCategoryCatalogue::lookups()
{
    QFETCH(QString, keyword);
    QTEST(firstEntryContaining(keyword), "firstContaining");
    QTEST(entryForKeyword(keyword), "forKeyword");
}

QTEST_GUILESS_MAIN(TestCategoryCatalogue)
#include "tst_categorycatalogue.moc"
