// How well the fill does on real submission forms (tests/data/forms, their sources in SOURCES.md):
// each form is loaded in a real view and filled from product.xml and product_profile.txt, and every
// field its labels name is counted right, wrong or missed. The table goes to the log; the test fails
// when fewer than 90% of the labelled fields are right, or when any field is wrong.

#include "autofill/BrowserEngine.h"
#include "autofill/FillPass.h"
#include "autofill/WebEngineBrowser.h"
#include "products/PadFile.h"
#include "products/ProductProfiles.h"
#include "tests/LocalHttpServer.h"
#include "tests/PageDriver.h"
#include "tests/TestFiles.h"

#include <QApplication>
#include <QDir>
#include <QRegularExpression>
#include <QSignalSpy>

namespace {

const QString kFormsDir = QStringLiteral(FORMTIDE_TEST_DATA_DIR "/forms");

// A field's label: the fact it asks for and the value it must end with; "none" keeps the page's.
struct Label {
    QString name;
    QString fact;
    QString expected;
};

struct Tally {
    int labelled = 0;
    int right = 0;
    int wrong = 0;
    int missed = 0;
};

// The labels of a .facts file (format in its header), "{key}" put in from the PAD's values.
QList<Label> readLabels(const QString& path, const PadValues& pad)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    static const QRegularExpression padKey(QStringLiteral("^\\{(\\w+)\\}$"));
    QList<Label> labels;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        const QStringList parts = line.split(u'\t');
        if (line.startsWith(u'#') || parts.size() != 3)
            continue;
        Label label{parts[0], parts[1], parts[2]};
        if (const QRegularExpressionMatch key = padKey.match(label.expected); key.hasMatch()) {
            for (auto it = pad.cbegin(); it != pad.cend(); ++it) {
                if (it.key().endsWith(u'/' + key.captured(1)))
                    label.expected = it.value();
            }
        }
        labels.append(label);
    }
    return labels;
}

// An option's text as a person reads it: white space and the indent marks of category trees
// ("* ", "↳ ") dropped.
QString optionText(QString text)
{
    text = text.simplified();
    while (!text.isEmpty() && !text.front().isLetterOrNumber())
        text.remove(0, 1);
    return text;
}

} // namespace

class TestRealForms : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void fill_data();
    void fill();
    void accuracy();

private:
    // Each labelled field of the page shown, by name in document order: a text's value, or a list's
    // selected options' texts joined by "|".
    QList<std::pair<QString, QString>> fields();
    QList<std::pair<QString, QString>> loadAndRead(const QString& page, std::optional<ProductFacts> product);

    WebEngineBrowser m_browser;
    FillPass m_pass{m_browser};
    LocalHttpServer m_server{kFormsDir};
    ProductFacts m_facts;
    Tally m_total;
};

void TestRealForms::initTestCase()
{
    const auto pad = PadFile::readValues(readAll(kFormsDir + "/product.xml"));
    QVERIFY(pad.ok());
    m_facts = ProductFacts(ProductProfiles::parse(readAll(kFormsDir + "/product_profile.txt")), pad.value(),
                           QDateTime(QDate(2026, 12, 3), QTime(9, 0)));
    connect(&m_browser, &Browser::pageLoaded, &m_pass, &FillPass::run); // as the main window does
    QVERIFY(m_server.start());
    m_browser.widget()->resize(1000, 800);
    m_browser.widget()->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_browser.widget()));
}

void TestRealForms::fill_data()
{
    QTest::addColumn<QString>("page");
    for (const QString& facts : QDir(kFormsDir).entryList({"*.facts"}, QDir::Files, QDir::Name))
        QTest::newRow(qPrintable(facts.chopped(6))) << facts.chopped(6);
}

// Each form is read as the page gives it, then filled; a field that is neither as the page gave it
// nor as expected was written wrongly.
void TestRealForms::fill()
{
    QFETCH(QString, page);
    const QList<Label> labels = readLabels(QStringLiteral("%1/%2.facts").arg(kFormsDir, page), m_facts.pad);
    QVERIFY(!labels.isEmpty());
    const auto before = loadAndRead(page + ".html", std::nullopt);
    const auto after = loadAndRead(page + ".html", m_facts);
    QVERIFY(!before.isEmpty());
    QCOMPARE(after.size(), before.size());
    QStringList names;
    for (const auto& [name, value] : after)
        names.append(name);
    QStringList labelled;
    for (const Label& label : labels) {
        QVERIFY2(!label.expected.startsWith(u'{'), qPrintable("no PAD value " + label.expected));
        labelled.append(label.name);
    }
    QCOMPARE(labelled, names); // every field labelled once, in page order

    Tally tally;
    QStringList faults;
    for (qsizetype i = 0; i < labels.size(); ++i) {
        const Label& label = labels[i];
        const QString& was = before[i].second;
        const QString& is = after[i].second;
        const bool none = label.fact == u"none";
        tally.labelled += none ? 0 : 1;
        if (!none && is == label.expected) {
            ++tally.right;
            continue;
        }
        if (is == was && none)
            continue;
        ++(is == was ? tally.missed : tally.wrong);
        faults.append(QStringLiteral("  %1 %2 (%3): holds \"%4\", wants \"%5\"")
                          .arg(is == was ? u"missed" : u"WRONG", label.name, label.fact, is.left(50),
                               label.expected.left(50)));
    }
    qInfo("%-22s labelled %2d  right %2d  wrong %2d  missed %2d", qPrintable(page), tally.labelled,
          tally.right, tally.wrong, tally.missed);
    for (const QString& fault : faults)
        qInfo("%s", qPrintable(fault));
    m_total.labelled += tally.labelled;
    m_total.right += tally.right;
    m_total.wrong += tally.wrong;
    m_total.missed += tally.missed;
}

void TestRealForms::accuracy()
{
    qInfo("%-22s labelled %2d  right %2d  wrong %2d  missed %2d (%.1f%% right)", "all forms",
          m_total.labelled, m_total.right, m_total.wrong, m_total.missed,
          100.0 * m_total.right / qMax(1, m_total.labelled));
    QVERIFY(m_total.labelled > 0);
    QCOMPARE(m_total.wrong, 0);
    QVERIFY2(m_total.right * 10 >= m_total.labelled * 9, "fewer than 90% of the labelled fields are right");
}

QList<std::pair<QString, QString>> TestRealForms::loadAndRead(const QString& page,
                                                              std::optional<ProductFacts> product)
{
    m_pass.setProduct(std::move(product));
    QSignalSpy loaded(m_browser.widget(), &QWebEngineView::loadFinished);
    bool filled = false;
    QObject listening; // the connection ends with this call
    connect(&m_pass, &FillPass::finished, &listening, [&filled](const FillReport& r) {
        filled = filled || (r.scope == FillReport::Scope::Page && r.status != FillReport::Status::Superseded);
    });
    m_browser.navigate(m_server.url(page));
    if (!waitUntil([&] { return !loaded.isEmpty() && filled; }))
        return {};
    return fields();
}

QList<std::pair<QString, QString>> TestRealForms::fields()
{
    static const QStringList unlabelled{"button", "submit", "reset",    "image",
                                        "hidden", "file",   "checkbox", "radio"};
    auto answer = std::make_shared<std::optional<QJsonArray>>();
    m_browser.readFields(
        [answer](const std::optional<QJsonArray>& rows) { *answer = rows.value_or(QJsonArray()); });
    const QVariantList options =
        runInPage(
            m_browser.widget(),
            QStringLiteral("Array.from(document.querySelectorAll('input, textarea, select'))"
                           ".map(e => e.tagName == 'SELECT' ? Array.from(e.options, o => o.text) : [])"))
            .toList();
    if (!waitUntil([&] { return answer->has_value(); }, 5000))
        return {};
    QList<std::pair<QString, QString>> fields;
    for (qsizetype i = 0; i < (*answer)->size(); ++i) {
        const QJsonArray row = (**answer)[i].toArray();
        if (unlabelled.contains(row[2].toString()))
            continue;
        QString value = row[4].toString();
        if (row[1].toString() == u"select") {
            QStringList chosen;
            for (const QJsonValue k : row[4].toArray())
                chosen.append(optionText(options.value(i).toList().value(k.toInt()).toString()));
            value = chosen.join(u'|');
        }
        fields.append({row[3].toString(), value});
    }
    return fields;
}

int main(int argc, char* argv[])
{
    BrowserEngine engine(argc, argv);
    QApplication app(engine.argc(), engine.argv());
    TestRealForms test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_realforms.moc"
