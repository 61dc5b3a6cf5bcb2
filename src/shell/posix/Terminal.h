// The width of the terminal that standard output writes to, read at start
// and again after the terminal is resized.
#pragma once

// From now on a resize of the terminal raises a flag (SIGWINCH).
void watchTerminalResizes();
// Takes the flag: true when the terminal was resized since the last call.
bool terminalResized();
// The width in columns of standard output's terminal, or 0 when standard
// output is not a terminal or the terminal does not know its width.
int standardOutputColumns();
