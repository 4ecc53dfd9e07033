#include "tests/ReadOnlyFolder.h"
#include "ui/Form3.h"

#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

class TestForm3 : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void keys();
    void close_data();
    void close();
    void saveRefused_data();
    void saveRefused();

private:
    QPlainTextEdit* text() const { return m_form->findChild<QPlainTextEdit*>(QStringLiteral("Text1")); }
    void click(const char* name)
    {
        QTest::mouseClick(m_form->findChild<QPushButton*>(QLatin1String(name)), Qt::LeftButton);
    }
    // Runs `inside` while the dialog is modal, as the main window opens it; `inside` must close it.
    void runModal(const std::function<void()>& inside);
    void type(const QString& typed);
    QByteArray file(const QByteArray& write = {});
    // What the box and the error line show when the dialog is opened again.
    QString reopened();

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Form3> m_form;
};

void TestForm3::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_form = std::make_unique<Form3>(m_dir->path());
}

void TestForm3::runModal(const std::function<void()>& inside)
{
    QTimer::singleShot(0, m_form.get(), inside);
    m_form->exec();
}

// Types the text, Enter for each line break; text beyond ASCII is pasted instead.
void TestForm3::type(const QString& typed)
{
    if (std::any_of(typed.begin(), typed.end(), [](QChar c) { return c.unicode() > 0x7E; }))
        return text()->insertPlainText(typed);
    const QStringList lines = typed.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            QTest::keyClick(text(), Qt::Key_Return);
        QTest::keyClicks(text(), lines.at(i));
    }
}

// The added-links file's bytes (null when there is none), after writing `write` when it is not null.
QByteArray TestForm3::file(const QByteArray& write)
{
    QFile links(m_dir->path() + QStringLiteral("/addedlinks.txt"));
    if (!write.isNull())
        return links.open(QIODevice::WriteOnly) && links.write(write) == write.size() ? write
                                                                                      : "<write failed>";
    return links.open(QIODevice::ReadOnly) ? links.readAll() : QByteArray();
}

QString TestForm3::reopened()
{
    QString seen = QStringLiteral("<not shown>");
    runModal([&] {
        const bool error = m_form->findChild<QLabel*>(QStringLiteral("SaveError"))->isVisible();
        seen = text()->toPlainText() + (error ? QStringLiteral("+error line") : QString());
        m_form->reject();
    });
    return seen;
}

void TestForm3::keys()
{
    QStringList focusChain;
    bool stillOpen = false;
    runModal([&] {
        type(QStringLiteral("http://a/"));
        QTest::keyClick(text(), Qt::Key_Enter);
        for (int i = 0; i < 3; ++i) {
            focusChain.append(m_form->focusWidget()->objectName());
            QTest::keyClick(m_form->focusWidget(), Qt::Key_Tab);
        }
        // Neither button is the default or the cancel button.
        QTest::keyClick(m_form.get(), Qt::Key_Return);
        QTest::keyClick(m_form.get(), Qt::Key_Escape);
        stillOpen = m_form->isVisible();
        m_form->reject();
    });
    QCOMPARE(focusChain,
             (QStringList{QStringLiteral("Text1"), QStringLiteral("Command1"), QStringLiteral("Command2")}));
    QVERIFY(stillOpen);
    QCOMPARE(text()->toPlainText(), QStringLiteral("http://a/\n"));
    QCOMPARE(file(), QByteArray());
}

void TestForm3::close_data()
{
    QTest::addColumn<QByteArray>("before"); // null: no file
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("closeBy");
    QTest::addColumn<QByteArray>("after");

    const QString ok = QStringLiteral("Command1");
    const QString two = QStringLiteral("http://a/\nhttp://b/");
    QTest::newRow("two lines") << QByteArray("old\r\n") << two << ok
                               << QByteArray("old\r\nhttp://a/\r\nhttp://b/\r\n");
    QTest::newRow("trailing line break")
        << QByteArray("") << two + u'\n' << ok << QByteArray("http://a/\r\nhttp://b/\r\n\r\n");
    QTest::newRow("empty box") << QByteArray("old\r\n") << QString() << ok << QByteArray("old\r\n\r\n");
    QTest::newRow("missing file created")
        << QByteArray() << two << ok << QByteArray("http://a/\r\nhttp://b/\r\n");
    QTest::newRow("last line joined")
        << QByteArray("old") << two << ok << QByteArray("oldhttp://a/\r\nhttp://b/\r\n");
    QTest::newRow("written as typed")
        << QByteArray("") << QStringLiteral(" no scheme ") << ok << QByteArray(" no scheme \r\n");
    QTest::newRow("Windows-1252 characters") << QByteArray("") << QStringLiteral("http://café/€\u00A0") << ok
                                             << QByteArray("http://caf\xE9/\x80\xA0\r\n");
    QTest::newRow("Cancel") << QByteArray("old") << two << QStringLiteral("Command2") << QByteArray("old");
    QTest::newRow("Cancel, no file") << QByteArray() << two << QStringLiteral("Command2") << QByteArray();
    QTest::newRow("close button") << QByteArray("old") << two << QString() << QByteArray("old");
}

void TestForm3::close()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, typed);
    QFETCH(QString, closeBy);
    file(before);
    runModal([&] {
        type(typed);
        if (closeBy.isEmpty())
            m_form->close();
        else
            click(qPrintable(closeBy));
        if (m_form->isVisible())
            m_form->reject(); // the button failed to close it
    });
    QCOMPARE(m_form->result(), closeBy == QStringLiteral("Command1") ? QDialog::Accepted : QDialog::Rejected);
    QTEST(file(), "after");
    QCOMPARE(reopened(), QString());
}

void TestForm3::saveRefused_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("folder"); // 0 writable, 1 read-only, 2 missing
    QTest::addColumn<QString>("because");

    QTest::newRow("character not in Windows-1252")
        << QStringLiteral("http://a/\nhttp://łódź.pl/") << 0
        << QStringLiteral("\u201C\u0142\u201D (U+0142) cannot be stored");
    QTest::newRow("character beyond 16 bits")
        << QStringLiteral("http://a/\U0001F600") << 0 << QStringLiteral("\U0001F600\u201D (U+1F600)");
    QTest::newRow("read-only folder")
        << QStringLiteral("http://a/") << 1 << QStringLiteral("Permission denied.");
    QTest::newRow("folder missing") << QStringLiteral("http://a/") << 2
                                    << QStringLiteral("No such file or directory.");
}

void TestForm3::saveRefused()
{
    QFETCH(QString, typed);
    QFETCH(int, folder);
    file("old\r\n");
    if (folder == 2)
        m_form = std::make_unique<Form3>(m_dir->path() + QStringLiteral("/missing"));
    std::optional<ReadOnlyFolder> readOnly;
    if (folder == 1) {
        readOnly.emplace(m_dir->path());
        if (QFile probe(m_dir->path() + QStringLiteral("/probe")); probe.open(QIODevice::WriteOnly)) {
            probe.remove();
            QSKIP("the folder cannot be made read-only here");
        }
    }
    QString message;
    QString kept;
    runModal([&] {
        type(typed);
        click("Command1");
        const auto* line = m_form->findChild<QLabel*>(QStringLiteral("SaveError"));
        message =
            m_form->isVisible() && line->isVisible() ? line->text() + u'|' + line->toolTip() : QString();
        kept = text()->toPlainText();
        click("Command2");
    });
    QCOMPARE(reopened(), QString());
    readOnly.reset();
    QFETCH(QString, because);
    QVERIFY2(message.startsWith(QStringLiteral("Links not saved: ")) && message.contains(because),
             qPrintable(message));
    QCOMPARE(kept, typed);
    QCOMPARE(file(), QByteArray("old\r\n"));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("addedlinks.txt")});
}

QTEST_MAIN(TestForm3)
#include "tst_form3.moc"
