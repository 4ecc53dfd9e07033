#pragma once

#include "autofill/Browser.h"

#include <QJsonDocument>
#include <QTest>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>

// Handles events until `ready` holds, for at most `timeoutMs`: Qt WebEngine works in posted
// events, and QTRY's process-and-sleep steps would make every page load take seconds.
inline bool waitUntil(const std::function<bool()>& ready, int timeoutMs = 20000)
{
    QTimer wake; // ends each wait for events within a few milliseconds
    wake.start(2);
    const QDeadlineTimer deadline(timeoutMs);
    while (!ready() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return ready();
}

// Runs `script` as the page's own and answers with its result; an invalid one when none came.
inline QVariant runInPage(QWebEngineView* view, const QString& script)
{
    auto result = std::make_shared<std::optional<QVariant>>();
    view->page()->runJavaScript(script, [result](const QVariant& r) { *result = r; });
    waitUntil([&] { return result->has_value(); }, 5000);
    return result->value_or(QVariant());
}

// The user clicks the page's element `selector`, then presses `keys`, again until `done` holds:
// a page that has just loaded may drop the first input it gets.
inline bool userInput(QWebEngineView* view, const QString& selector, const std::function<bool()>& done,
                      const QList<QKeyCombination>& keys = {})
{
    for (int tries = 0; tries < 5 && !done(); ++tries) {
        const QVariantList xy =
            runInPage(view, QStringLiteral("(r => [r.x + r.width / 2, r.y + r.height / 2])("
                                           "document.querySelector('%1').getBoundingClientRect())")
                                .arg(selector))
                .toList();
        QTest::mouseClick(view->focusProxy(), Qt::LeftButton, {},
                          QPoint(xy.value(0).toInt(), xy.value(1).toInt()));
        for (const QKeyCombination key : keys)
            QTest::keyClick(view->focusProxy(), key.key(), key.keyboardModifiers());
        waitUntil(done, 1000);
    }
    return waitUntil(done);
}

// The fields of the page `browser` shows, as Browser::readFields() answers them: "name=value" apart
// by blanks, "frame:name=value" from frame 1 on, a list's value being the positions of its selected
// options as a JSON array; "<not read>" when no answer came.
inline QString pageFields(Browser& browser)
{
    auto answer = std::make_shared<std::optional<std::optional<QJsonArray>>>();
    browser.readFields([answer](const std::optional<QJsonArray>& rows) { answer->emplace(rows); });
    if (!waitUntil([&] { return answer->has_value(); }, 5000) || !answer->value())
        return QStringLiteral("<not read>");
    QStringList fields;
    for (const QJsonValue& value : *answer->value()) {
        const QJsonArray row = value.toArray();
        const QString selected =
            QString::fromUtf8(QJsonDocument(row.at(4).toArray()).toJson(QJsonDocument::Compact));
        const int frame = row.at(0).toInt();
        fields.append((frame > 0 ? QString::number(frame) + u':' : QString()) + row.at(3).toString() + u'=' +
                      (row.at(4).isArray() ? selected : row.at(4).toString()));
    }
    return fields.join(u' ');
}
