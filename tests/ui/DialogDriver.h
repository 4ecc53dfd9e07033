#pragma once

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>

// Runs `step` once a `Window` is the active modal window (the step may open the next one).
template <typename Window> void whenShown(std::function<void(Window&)> step)
{
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, qApp, [poll, step] {
        if (auto* window = qobject_cast<Window*>(QApplication::activeModalWidget())) {
            poll->deleteLater();
            poll->stop();
            step(*window);
        }
    });
    poll->start(10);
}

// A real mouse click on the button named `button`.
inline void click(QWidget& window, const char* button)
{
    QTest::mouseClick(window.findChild<QPushButton*>(QLatin1StringView(button)), Qt::LeftButton);
}
