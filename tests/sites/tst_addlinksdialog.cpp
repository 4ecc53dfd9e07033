#include "tests/ReadOnlyFolder.h"
#include "ui/AddLinksDialog.h"

#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace Qt::StringLiterals;

class TestForm3 : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { m_form = std::make_unique<AddLinksDialog>(m_dir.path()); }
    void cleanup() { QFile::remove(m_dir.filePath(u"addedlinks.txt"_s)); }
    void keys();
    void close_data();
    void close();

private:
    QPlainTextEdit* text() const { return m_form->findChild<QPlainTextEdit*>(u"Text1"_s); }
    QLabel* error() const { return m_form->findChild<QLabel*>(u"SaveError"_s); }
    void click(const QString& name)
    {
        QTest::mouseClick(m_form->findChild<QPushButton*>(name), Qt::LeftButton);
    }
    // Runs `inside` while the dialog is modal, as the main window opens it, and closes it after.
    void runModal(const std::function<void()>& inside)
    {
        QTimer::singleShot(0, m_form.get(), [&] {
            inside();
            if (m_form->isVisible())
                m_form->reject();
        });
        m_form->exec();
    }
    // The added-links file's bytes (null when there is none), after writing `write` when it is not null.
    QByteArray file(const QByteArray& write = {})
    {
        QFile links(m_dir.filePath(u"addedlinks.txt"_s));
        if (!write.isNull())
            return links.open(QIODevice::WriteOnly) && links.write(write) == write.size() ? write
                                                                                          : "<failed>";
        return links.open(QIODevice::ReadOnly) ? links.readAll() : QByteArray();
    }
    // What the box and the error line show when the dialog is opened again.
    QString reopened()
    {
        QString seen = u"<not shown>"_s;
        runModal(
            [&] { seen = text()->toPlainText() + (error()->isVisible() ? u"+error line"_s : QString()); });
        return seen;
    }

    QTemporaryDir m_dir;
    std::unique_ptr<AddLinksDialog> m_form;
};

// Enter in the box starts a new line, Tab leaves it; Enter and Escape do not close the dialog.
void TestForm3::keys()
{
    QStringList focusChain;
    bool stillOpen = false;
    runModal([&] {
        QTest::keyClicks(text(), u"http://a/"_s);
        QTest::keyClick(text(), Qt::Key_Enter);
        for (int i = 0; i < 3; ++i) {
            focusChain.append(m_form->focusWidget()->objectName());
            QTest::keyClick(m_form->focusWidget(), Qt::Key_Tab);
        }
        QTest::keyClick(m_form.get(), Qt::Key_Return);
        QTest::keyClick(m_form.get(), Qt::Key_Escape);
        // Minimised and restored is still the same opening: the typing stays.
        m_form->setWindowState(Qt::WindowMinimized);
        m_form->setWindowState(Qt::WindowNoState);
        QCoreApplication::processEvents();
        stillOpen = m_form->isVisible();
    });
    QCOMPARE(focusChain, (QStringList{u"Text1"_s, u"Command1"_s, u"Command2"_s}));
    QVERIFY(stillOpen);
    QCOMPARE(text()->toPlainText(), u"http://a/\n"_s);
    QCOMPARE(file(), QByteArray());
}

// A refused save keeps the dialog open with the text as typed and the reason in one line, and
// leaves the folder as it was.
void TestForm3::close_data()
{
    QTest::addColumn<QByteArray>("before"); // null: no file
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("closeBy"); // empty: the close button
    QTest::addColumn<int>("folder");      // 0 writable, 1 read-only, 2 missing
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<QString>("refused"); // part of the reason shown; empty: closed
    const auto row = [](const char* name, const char* before, const QString& typed, const QString& closeBy,
                        const char* after, const QString& refused = {}, int folder = 0) {
        QTest::newRow(name) << QByteArray(before) << typed << closeBy << folder << QByteArray(after)
                            << refused;
    };
    const QString two = u"http://a/\nhttp://b/"_s;
    const QString ok = u"Command1"_s;
    row("two lines", "old\r\n", two, ok, "old\r\nhttp://a/\r\nhttp://b/\r\n");
    row("trailing line break", "", two + u'\n', ok, "http://a/\r\nhttp://b/\r\n\r\n");
    row("empty box", "old\r\n", {}, ok, "old\r\n\r\n");
    row("missing file created", nullptr, two, ok, "http://a/\r\nhttp://b/\r\n");
    row("last line joined", "old", two, ok, "oldhttp://a/\r\nhttp://b/\r\n");
    row("as typed, in Windows-1252", "", u" caf\u00e9/\u20ac\u00a0 "_s, ok, " caf\xE9/\x80\xA0 \r\n");
    row("Cancel", "old", two, u"Command2"_s, "old");
    row("close button", nullptr, two, {}, nullptr);
    row("not in Windows-1252", "old", u"http://a/\nhttp://łódź.pl/"_s, ok, "old",
        u"\u201C\u0142\u201D (U+0142) cannot be"_s);
    row("beyond 16 bits", "old", u"http://a/\U0001F600"_s, ok, "old", u"\u201C\U0001F600\u201D (U+1F600)"_s);
    row("read-only folder", "old", two, ok, "old", u"Permission denied."_s, 1);
    row("folder missing", "old", two, ok, "old", u"No such file or directory."_s, 2);
}

void TestForm3::close()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, typed);
    QFETCH(QString, closeBy);
    QFETCH(int, folder);
    QFETCH(QString, refused);
    file(before);
    if (folder == 2)
        m_form = std::make_unique<AddLinksDialog>(m_dir.filePath(u"missing"_s));
    std::optional<ReadOnlyFolder> readOnly;
    if (folder == 1)
        readOnly.emplace(m_dir.path());
    QString message;
    runModal([&] {
        text()->insertPlainText(typed);
        if (closeBy.isEmpty())
            m_form->close();
        else
            click(closeBy);
        if (m_form->isVisible() && error()->isVisible() && text()->toPlainText() == typed)
            message = error()->text() + u'|' + error()->toolTip();
    });
    QCOMPARE(m_form->result(),
             closeBy == u"Command1" && refused.isEmpty() ? QDialog::Accepted : QDialog::Rejected);
    QCOMPARE(reopened(), QString());
    readOnly.reset();
    QVERIFY2(refused.isEmpty() ? message.isEmpty()
                               : message.startsWith(u"Links not saved: "_s) && message.contains(refused),
             qPrintable(message));
    QFETCH(QByteArray, after);
    QCOMPARE(file(), after);
    QCOMPARE(QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             after.isNull() ? QStringList{} : QStringList{u"addedlinks.txt"_s});
}

QTEST_MAIN(TestForm3)
#include "tst_addlinksdialog.moc"
