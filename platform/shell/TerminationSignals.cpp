#include "platform/shell/TerminationSignals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int g_socketPair[2] = {-1, -1};

// Only async-signal-safe work here: hand the signal number to the GUI thread. The code the
// signal interrupted keeps its errno, and a full socket (a flood of signals nobody has read yet)
// drops the byte instead of blocking: one unread byte is enough to end the program.
void onSignal(int signalNumber)
{
    const int interruptedErrno = errno;
    const char byte = static_cast<char>(signalNumber);
    [[maybe_unused]] const auto sent = ::send(g_socketPair[0], &byte, 1, MSG_DONTWAIT | MSG_NOSIGNAL);
    errno = interruptedErrno;
}

void installHandler(int signalNumber, void (*handler)(int))
{
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(signalNumber, &action, nullptr);
}

} // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_socketPair) != 0)
        return;
    auto* notifier = new QSocketNotifier(g_socketPair[1], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &TerminationSignals::readSignal);
    installHandler(SIGTERM, onSignal);
    installHandler(SIGHUP, onSignal);
}

TerminationSignals::~TerminationSignals()
{
    installHandler(SIGTERM, SIG_DFL);
    installHandler(SIGHUP, SIG_DFL);
    for (int& fd : g_socketPair) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

void TerminationSignals::readSignal()
{
    char byte = 0;
    if (::read(g_socketPair[1], &byte, 1) == 1)
        emit terminationRequested(static_cast<int>(byte));
}
