#include "EndRequest.h"

#include <QApplication>
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace plax {
namespace {

int g_requestFds[2] = {-1, -1};

// A signal handler may do almost nothing: it only wakes the event loop.
extern "C" void onEndSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const auto n = ::write(g_requestFds[0], &byte, 1);
}

} // namespace

void closeWindowsOnEndRequest() {
    if (g_requestFds[0] != -1 || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_requestFds) != 0)
        return;
    auto* notifier = new QSocketNotifier(g_requestFds[1], QSocketNotifier::Read, qApp);
    QObject::connect(notifier, &QSocketNotifier::activated, qApp, [] {
        char bytes[16];
        [[maybe_unused]] const auto n = ::read(g_requestFds[1], bytes, sizeof bytes);
        QApplication::closeAllWindows();
    });
    struct sigaction action = {};
    action.sa_handler = onEndSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(signal, &action, nullptr);
}

} // namespace plax
