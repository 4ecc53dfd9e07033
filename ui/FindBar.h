#pragma once

#include <QPointer>
#include <QWidget>

class QLabel;
class QLineEdit;
class QWebEngineView;

// Find in page, under the page: what is typed is looked for at once, Enter and the arrows go to
// the next or the previous match, and the bar tells which match is shown of how many. Escape or
// closing the bar clears the marks. Hidden until asked for.
class FindBar final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FindBar)
public:
    FindBar(QWebEngineView& view, QWidget* parent = nullptr);

    // Shows the bar with the focus in its field, its text selected.
    void start();
    // Hides the bar, clears the marks and gives the page the focus back.
    void dismiss();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void find(bool backward);

    QPointer<QWebEngineView> m_view;
    QLineEdit* m_text = nullptr;
    QLabel* m_result = nullptr;
};
