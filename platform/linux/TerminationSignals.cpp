// Termination signals turned into a queued call on the event loop.

#include "platform/linux/TerminationSignals.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <semaphore.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace nuvask {

namespace {

int g_pipe[2] = {-1, -1};
sem_t g_firstSignal;
volatile sig_atomic_t g_signal = 0; // the first signal received

void onSignal(int sig)
{
    // Only async-signal-safe work here: wake the event loop, and on the first
    // signal the watchdog.
    const int savedErrno = errno;
    if (g_signal == 0) {
        g_signal = sig;
        ::sem_post(&g_firstSignal);
    }
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_pipe[1], &byte, 1);
    errno = savedErrno;
}

void watchdog(int hardStopMs)
{
    // The signals are for the main thread's handler; this thread only waits.
    sigset_t all;
    sigfillset(&all);
    ::pthread_sigmask(SIG_BLOCK, &all, nullptr);
    while (::sem_wait(&g_firstSignal) != 0 && errno == EINTR) {
    }
    timespec rest{hardStopMs / 1000, long(hardStopMs % 1000) * 1000000L};
    while (::nanosleep(&rest, &rest) != 0 && errno == EINTR) {
    }
    ::_exit(128 + int(g_signal));
}

} // namespace

void InstallTerminationHandler(std::function<void()> handler, int hardStopMs)
{
    if (g_pipe[0] >= 0)
        return;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, g_pipe) != 0)
        return;
    ::sem_init(&g_firstSignal, 0, 0);
    std::thread(watchdog, hardStopMs).detach();
    auto *notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [handler = std::move(handler)] {
        char buffer[16];
        while (::read(g_pipe[0], buffer, sizeof buffer) > 0) {
        }
        handler();
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(sig, &action, nullptr);
}

} // namespace nuvask
