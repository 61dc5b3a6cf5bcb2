// Everything the game prints apart from the debug dumps: the status line of
// every pass, the final score and the critical-error message. terminalColumns
// is the width of the terminal that out writes to, or 0 (or less) when out is
// not a terminal; off a terminal both lines are printed whole, byte for byte
// the same whatever reads them.
#pragma once

#include <cstdint>
#include <cstdio>

struct StatusFields {
    double deltaTime;
    std::uint32_t score;
    std::uint32_t state;
    std::size_t blocks;
    double spawnTimer;
    bool debugMode;
};

// One line per pass, ended by a carriage return so that the next overwrites
// it; flushed, or a terminal would not show it. On a terminal the line takes
// exactly terminalColumns - 1 columns (1023 at most), each tab written as
// the blanks up to the next multiple of 8: cut there, as a line that wrapped
// would be overwritten only from its last row on, and padded with blanks to
// cover what is left in the row. The cut takes the trailing fields first; a
// terminal of one column gets only the carriage return.
void printStatusLine(std::FILE* out, const StatusFields& fields, int terminalColumns = 0);
// The final score, padded with blanks to cover the status line it is written
// over: to terminalColumns - 1 columns on a terminal (never cut, however
// narrow), by 73 blanks off one.
void printFinalScore(std::FILE* out, std::uint32_t score, int terminalColumns = 0);
void printCriticalError(std::FILE* out, std::uint32_t state);
