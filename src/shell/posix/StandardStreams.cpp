#include "shell/posix/StandardStreams.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

void openClosedStandardStreams() {
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (fcntl(fd, F_GETFD) == -1 && errno == EBADF) {
            // The lower descriptors are open by now, so open() takes exactly
            // this one. Should /dev/null fail to open, nothing better exists.
            static_cast<void>(open("/dev/null", O_RDWR));
        }
    }
}
