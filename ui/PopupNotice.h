#pragma once

#include <QLabel>
#include <QUrl>

// The status line's word on a pop-up that a page opened without the user asking: it names the
// address and offers "Open the pop-up". Hidden until a pop-up is blocked; the latest one counts.
class PopupNotice final : public QLabel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PopupNotice)
public:
    explicit PopupNotice(QWidget* parent = nullptr);

    void block(const QUrl& url);
    // The pop-up blocked last; empty when none waits.

Q_SIGNALS:
    // The user asked for the blocked pop-up; the notice is hidden again.
    void openRequested(const QUrl& url);

private:
    QUrl m_blocked;
};
