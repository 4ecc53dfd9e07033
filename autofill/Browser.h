#pragma once

#include <QObject>
#include <QString>

class QWidget;

// The embedded browser as the program uses it. One implementation drives a QWebEngineView;
// tests use a recording fake.
class Browser : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Asks for `address` to be loaded. An empty address is accepted and starts no load: whatever
    // is shown or loading stays. The load starts when control returns to the event loop, so a
    // Stop() later in the same chain of handlers does not cancel it; when several addresses are
    // asked for in one chain, the last one is loaded.
    virtual void Navigate(const QString& address) = 0;

    // Abandons the load under way, but not a navigation asked for earlier in the same chain of
    // handlers (see Navigate).
    virtual void Stop() = 0;

    // The widget that shows the page. The caller puts it into its window and from then on the
    // window owns it; the browser keeps only a guarded pointer.
    virtual QWidget* widget() = 0;

Q_SIGNALS:
    // Load progress, as (value, maximum).
    void ProgressChange(int progress, int progressMax);
    // A page asks for a new window. A receiver that sets *cancel to true refuses it (connect
    // directly); when refused, no window opens and the page shown stays unchanged.
    void NewWindow2(bool* cancel);
    // A document has finished loading.
    void DocumentComplete();
};
