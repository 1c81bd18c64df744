#include "app/quit_signals.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <csignal>

namespace vornick {

namespace {

int g_signal_fd[2] = {-1, -1};

extern "C" void on_signal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_signal_fd[0], &byte, 1);
}

}  // namespace

QuitSignals::QuitSignals(std::function<void()> on_quit, QObject* parent)
    : QObject(parent), on_quit_(std::move(on_quit)) {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signal_fd) != 0) return;
    auto* notifier = new QSocketNotifier(g_signal_fd[1], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, [this] {
        char byte;
        [[maybe_unused]] const ssize_t n = ::read(g_signal_fd[1], &byte, 1);
        on_quit_();
    });
    struct sigaction sa {};
    sa.sa_handler = on_signal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &sa, nullptr);
    ::sigaction(SIGTERM, &sa, nullptr);
}

QuitSignals::~QuitSignals() {
    ::signal(SIGINT, SIG_DFL);
    ::signal(SIGTERM, SIG_DFL);
}

}  // namespace vornick
