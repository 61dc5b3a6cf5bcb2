#include "shell/posix/Terminal.h"

#include <csignal>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t resized = 0;

void noteResize(int) {
    resized = 1;
}

} // namespace

void watchTerminalResizes() {
    struct sigaction action {};
    action.sa_handler = noteResize;
    sigemptyset(&action.sa_mask);
    // Restarted, a read or write the signal lands in goes on instead of failing.
    action.sa_flags = SA_RESTART;
    sigaction(SIGWINCH, &action, nullptr);
}

bool terminalResized() {
    if (resized == 0) {
        return false;
    }
    // Cleared before the width is read, so a resize after the read still counts.
    resized = 0;
    return true;
}

int standardOutputColumns() {
    winsize size{};
    if (isatty(STDOUT_FILENO) == 0 || ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) != 0) {
        return 0;
    }
    return size.ws_col;
}
