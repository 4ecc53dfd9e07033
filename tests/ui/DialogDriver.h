#pragma once

#include <QApplication>
#include <QDeadlineTimer>
#include <QFileDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <type_traits>

// Runs `step` once a `Window` is the active modal window (the step may open the next one); a
// QFileDialog counts only when it is what is asked for. When none shows within `deadline`, the row
// fails and the modal window open instead, if any, is closed, so the code that waits on it goes
// on. The poller ends with its row: a row that ends first never runs the step.
template <typename Window>
void whenShown(std::function<void(Window&)> step,
               std::chrono::milliseconds deadline = std::chrono::seconds(10))
{
    const auto row = []() -> QByteArray {
        return QByteArray(QTest::currentTestFunction()) + '/' + QTest::currentDataTag();
    };
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, qApp, [=, until = QDeadlineTimer(deadline), started = row()] {
        QWidget* modal = QApplication::activeModalWidget();
        const bool fileDialog = qobject_cast<QFileDialog*>(modal) && !std::is_base_of_v<QFileDialog, Window>;
        Window* window = fileDialog ? nullptr : qobject_cast<Window*>(modal);
        if (row() == started && !window && !until.hasExpired())
            return;
        poll->stop();
        poll->deleteLater();
        if (row() != started)
            return;
        if (window)
            return step(*window);
        const QByteArray message = QByteArray("no ") + Window::staticMetaObject.className() + " was shown";
        QTest::qFail(message.constData(), __FILE__, __LINE__);
        if (modal)
            modal->close();
    });
    poll->start(10);
}

// A real mouse click on the button named `button`.
inline void click(QWidget& window, const char* button)
{
    QTest::mouseClick(window.findChild<QPushButton*>(QLatin1StringView(button)), Qt::LeftButton);
}
