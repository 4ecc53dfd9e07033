#include "sites/SiteAddressCipher.h"
#include "tools/Scramble.h"

#include <QTest>

class TestCls5 : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void sub3_data();
    void sub3();
    void roundTrip();
};

void TestCls5::sub3_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("depthIn");
    QTest::addColumn<QByteArray>("expected");
    QTest::addColumn<int>("depthOut");

    const char defaultShifted = static_cast<char>('z' - SiteAddressCipher::defaultDepth);
    QTest::newRow("empty keeps depth 0") << QByteArray() << 0 << QByteArray() << 0;
    QTest::newRow("empty keeps depth 300") << QByteArray() << 300 << QByteArray() << 300;
    QTest::newRow("code equal to depth") << QByteArray("\x07") << 7 << QByteArray(1, '\0') << 7;
    QTest::newRow("code one below depth") << QByteArray("\x06") << 7 << QByteArray("\xFE") << 7;
    QTest::newRow("code 255") << QByteArray("\xFF") << 9 << QByteArray("\xF6") << 9;
    QTest::newRow("order kept") << QByteArray("hij") << 7 << QByteArray("abc") << 7;
    QTest::newRow("depth 0 takes default")
        << QByteArray("z") << 0 << QByteArray(1, defaultShifted) << SiteAddressCipher::defaultDepth;
    QTest::newRow("depth 300 becomes 254")
        << QByteArray("\x00\xFF\xFE", 3) << 300 << QByteArray("\x01\x01\x00", 3) << 254;
    QTest::newRow("depth 254") << QByteArray("\xFD") << 254 << QByteArray("\xFE") << 254;
}

void TestCls5::sub3()
{
    QFETCH(QByteArray, data);
    QFETCH(int, depthIn);
    const QByteArray before = data;
    std::int32_t depth = depthIn;
    QTEST(SiteAddressCipher::decode(data, depth), "expected");
    QTEST(static_cast<int>(depth), "depthOut");
    QCOMPARE(data, before);
}

void TestCls5::roundTrip()
{
    QByteArray everyCode;
    for (int code = 0; code <= 254; ++code)
        everyCode.append(static_cast<char>(code));
    for (int depth = 1; depth <= 9; ++depth) {
        std::int32_t used = depth;
        QCOMPARE(SiteAddressCipher::decode(scramble(everyCode, depth), used), everyCode);
        QCOMPARE(used, depth);
    }
}

QTEST_APPLESS_MAIN(TestCls5)
#include "tst_siteaddresscipher.moc"
