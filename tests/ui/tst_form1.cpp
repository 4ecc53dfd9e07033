#include "app/Module1.h"
#include "tests/FakeBrowser.h"
#include "ui/Form1.h"

#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>

class TestForm1 : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void startUp();
};

void TestForm1::startUp()
{
    Module1::ResetForTesting();
    QTemporaryDir dir;
    auto browser = std::make_unique<FakeBrowser>();
    FakeBrowser* fake = browser.get();
    Form1 form(dir.path(), std::move(browser));
    QCOMPARE(form.List1()->count(), 10);
    QCOMPARE(form.List1ListIndex(), 0);
    QCOMPARE(fake->calls, (QStringList{QStringLiteral("Navigate(%1/formtidehelp.html)").arg(dir.path()),
                                       QStringLiteral("Stop"), QStringLiteral("Navigate()")}));
}

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
