#include "shell/Console.h"

#include <cinttypes>

namespace {

// Enough blanks to cover the rest of the status line the final score is
// written over.
constexpr int finalScorePadding = 73;

} // namespace

void printStatusLine(std::FILE* out, const StatusFields& fields) {
    std::fprintf(out,
                 "%8.8f sec.\tScore: %3" PRIu32 " \tState: %" PRIu32 " \tBlocks: %zu \tTimer: %f "
                 "\tDebug: %d\r",
                 fields.deltaTime, fields.score, fields.state, fields.blocks, fields.spawnTimer,
                 fields.debugMode ? 1 : 0);
    std::fflush(out);
}

void printFinalScore(std::FILE* out, std::uint32_t score) {
    std::fprintf(out, "Your final score is %" PRIu32 ".%*s\n", score, finalScorePadding, "");
}

void printCriticalError(std::FILE* out, std::uint32_t state) {
    // The value is shown as a signed number (a wild value may well be -1).
    std::fprintf(out,
                 "\n=== CRITICAL ERROR ===\nGame reached invalid state \"%" PRId32 "\".\n"
                 "Exiting program to protect itself.\n======================\n",
                 static_cast<std::int32_t>(state));
}
