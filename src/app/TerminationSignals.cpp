#include "app/TerminationSignals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace kestrel {

namespace {

constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};

int gWriteEnd = -1;
volatile sig_atomic_t gPending = 0;

void defaultDisposition()
{
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (int signal : kSignals)
        ::sigaction(signal, &action, nullptr);
}

// Only what a signal handler may do: the number goes down the socket. A
// second signal before the event loop took the first (the program is
// busy or stuck) ends the program at once, as it would have without this.
void passOn(int signal)
{
    if (gPending) {
        defaultDisposition();
        ::raise(signal);
        return;
    }
    gPending = 1;
    const int saved = errno;
    const unsigned char number = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t sent = ::write(gWriteEnd, &number, 1);
    errno = saved;
}

} // namespace

void onTerminationSignal(QObject* context, std::function<void(int)> ending)
{
    int ends[2];
    if (gWriteEnd >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0)
        return;
    ::fcntl(ends[1], F_SETFL, O_NONBLOCK);
    gWriteEnd = ends[1];
    auto* notifier = new QSocketNotifier(ends[0], QSocketNotifier::Read, context);
    QObject::connect(notifier, &QSocketNotifier::activated, context, [notifier, ending = std::move(ending)] {
        unsigned char number = 0;
        if (::read(static_cast<int>(notifier->socket()), &number, 1) != 1)
            return;
        // Once: a second signal while the first is handled ends the program.
        notifier->setEnabled(false);
        defaultDisposition();
        ending(number);
    });
    struct sigaction action {};
    action.sa_handler = passOn;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : kSignals)
        ::sigaction(signal, &action, nullptr);
}

} // namespace kestrel
