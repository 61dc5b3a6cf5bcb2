// The desktop start-up's guard for standard input, output and error.
#pragma once

// Opens /dev/null on each of descriptors 0, 1 and 2 that is closed. A
// launcher may start the game with one of them closed; the next file or
// socket opened would then take that number, and the status line written to
// standard output would go into it (into the X connection, hanging the game).
// Must run before anything opens a file or a connection.
void openClosedStandardStreams();
