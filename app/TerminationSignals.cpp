#include "app/TerminationSignals.h"

#include <QSocketNotifier>
#include <array>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr std::array kSignals{SIGTERM, SIGINT, SIGHUP};

// The pipe's write end: a signal handler can reach nothing but a process-wide value, and may only
// write to it. Set while a TerminationSignals exists, -1 otherwise.
volatile std::sig_atomic_t g_writeEnd = -1;

void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(g_writeEnd, &byte, 1);
}

} // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent)
{
    Q_ASSERT(g_writeEnd == -1);
    // Close-on-exec: the browser's helper processes must not inherit it.
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0)
        return; // signals keep their default handling
    m_readEnd = ends[0];
    g_writeEnd = ends[1];
    auto* notifier = new QSocketNotifier(m_readEnd, QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &TerminationSignals::drain);

    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    // Handled once: the next one of its kind has the default effect.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    for (const int number : kSignals)
        sigaction(number, &action, nullptr);
}

TerminationSignals::~TerminationSignals()
{
    if (m_readEnd == -1)
        return;
    for (const int number : kSignals)
        std::signal(number, SIG_DFL);
    ::close(g_writeEnd);
    ::close(m_readEnd);
    g_writeEnd = -1;
}

void TerminationSignals::drain()
{
    char bytes[16];
    while (::read(m_readEnd, bytes, sizeof bytes) > 0) {
    }
    Q_EMIT received();
}
