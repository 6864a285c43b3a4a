#include "app/TerminationSignals.h"

#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace kestrel {

namespace {

int gWriteEnd = -1;

void passOn(int signal)
{
    const unsigned char number = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t sent = ::write(gWriteEnd, &number, 1);
}

} // namespace

void onTerminationSignal(QObject* context, std::function<void(int)> ending)
{
    int ends[2];
    if (gWriteEnd >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0)
        return;
    gWriteEnd = ends[1];
    auto* notifier = new QSocketNotifier(ends[0], QSocketNotifier::Read, context);
    QObject::connect(notifier, &QSocketNotifier::activated, context, [notifier, ending = std::move(ending)] {
        unsigned char number = 0;
        if (::read(static_cast<int>(notifier->socket()), &number, 1) != 1)
            return;
        // Once: a second signal while the first is handled ends the
        // program at once, as it would have without this.
        notifier->setEnabled(false);
        for (int signal : {SIGTERM, SIGHUP, SIGINT})
            std::signal(signal, SIG_DFL);
        ending(number);
    });
    struct sigaction action {};
    action.sa_handler = passOn;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGTERM, SIGHUP, SIGINT})
        ::sigaction(signal, &action, nullptr);
}

} // namespace kestrel
