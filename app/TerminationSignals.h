#pragma once

#include <QObject>

// Turns SIGTERM, SIGINT and SIGHUP (the desktop session ends, Ctrl+C in a terminal, a plain `kill`)
// into received(), delivered by the event loop, so that the program can quit in order: the browser
// then writes its cookies to disk as at any other exit. A second signal of the same kind, sent while
// the program is quitting, ends it at once. At most one exists at a time; its destructor gives the
// signals their default handling back.
class TerminationSignals final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TerminationSignals)
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

Q_SIGNALS:
    void received();

private:
    void drain();

    int m_readEnd = -1;
};
