// Everything the game prints apart from the debug dumps: the status line of
// every pass, the final score and the critical-error message.
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
// it; flushed, or a terminal would not show it.
void printStatusLine(std::FILE* out, const StatusFields& fields);
void printFinalScore(std::FILE* out, std::uint32_t score);
void printCriticalError(std::FILE* out, std::uint32_t state);
