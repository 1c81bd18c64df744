#include "app/quit_signals.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <csignal>

namespace vornick {

namespace {

int g_signal_fd[2] = {-1, -1};
volatile std::sig_atomic_t g_asked = 0;

// Interrupt, terminate, and the hang-up of a closing terminal or session: each ends the program
// as Quit does rather than dropping the settings.
constexpr int kQuitSignals[] = {SIGINT, SIGTERM, SIGHUP};

extern "C" void on_signal(int) {
    g_asked = 1;
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_signal_fd[0], &byte, 1);
}

}  // namespace

QuitSignals::QuitSignals(std::function<void()> on_quit, QObject* parent)
    : QObject(parent), on_quit_(std::move(on_quit)) {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signal_fd) != 0) return;
    // A burst of signals must never block the handler: one byte waiting is enough to quit.
    ::fcntl(g_signal_fd[0], F_SETFL, ::fcntl(g_signal_fd[0], F_GETFL) | O_NONBLOCK);
    auto* notifier = new QSocketNotifier(g_signal_fd[1], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, [this] {
        char byte;
        [[maybe_unused]] const ssize_t n = ::read(g_signal_fd[1], &byte, 1);
        on_quit_();
    });
    g_asked = 0;
    struct sigaction sa {};
    sa.sa_handler = on_signal;
    sigemptyset(&sa.sa_mask);
    // No SA_RESTART: a call that blocks is interrupted rather than resumed, so a signal is
    // never held up behind one.
    sa.sa_flags = 0;
    for (const int sig : kQuitSignals) ::sigaction(sig, &sa, nullptr);
}

bool QuitSignals::asked() {
    return g_asked != 0;
}

QuitSignals::~QuitSignals() {
    for (const int sig : kQuitSignals) ::signal(sig, SIG_DFL);
    for (int& fd : g_signal_fd) {
        if (fd >= 0) ::close(fd);
        fd = -1;
    }
}

}  // namespace vornick
