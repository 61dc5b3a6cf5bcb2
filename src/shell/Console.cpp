#include "shell/Console.h"

#include <algorithm>
#include <cinttypes>
#include <string_view>

namespace {

// Enough blanks to cover the rest of the status line the final score is
// written over.
constexpr int finalScorePadding = 73;

constexpr std::size_t tabStop = 8; // columns; what terminals start with

// Room for any status line: each double printed whole takes at most 319
// characters (309 digits before the point at the largest magnitude).
constexpr std::size_t statusLineCapacity = 1024;

// Fills row's columns columns with the leading part of text that fits there
// and blanks after it; each tab is spelled out as the blanks up to the next
// tab stop. Blanks overwrite whatever was left in the row (a line that wrapped
// before a resize, rows the terminal joined when it grew), where a tab or the
// end of the line would leave it standing.
void fillRow(std::string_view text, std::size_t columns, char* row) {
    std::size_t length = 0;
    for (const char c : text) {
        const std::size_t end = c == '\t' ? (length / tabStop + 1) * tabStop : length + 1;
        if (end > columns) {
            break;
        }
        std::fill(row + length, row + end, c == '\t' ? ' ' : c);
        length = end;
    }
    std::fill(row + length, row + columns, ' ');
}

} // namespace

void printStatusLine(std::FILE* out, const StatusFields& fields, int terminalColumns) {
    // Formatted into a buffer so that a terminal gets only what fits, in one write.
    char line[statusLineCapacity];
    const int written = std::snprintf(line, sizeof line,
                                      "%8.8f sec.\tScore: %3" PRIu32 " \tState: %" PRIu32
                                      " \tBlocks: %zu \tTimer: %f \tDebug: %d",
                                      fields.deltaTime, fields.score, fields.state, fields.blocks,
                                      fields.spawnTimer, fields.debugMode ? 1 : 0);
    const std::string_view text(
        line, std::min(static_cast<std::size_t>(std::max(written, 0)), sizeof line - 1));
    if (terminalColumns <= 0) {
        line[text.size()] = '\r';
        std::fwrite(line, 1, text.size() + 1, out);
    } else {
        char row[statusLineCapacity];
        const std::size_t columns =
            std::min(static_cast<std::size_t>(terminalColumns) - 1, sizeof row - 1);
        fillRow(text, columns, row);
        row[columns] = '\r';
        std::fwrite(row, 1, columns + 1, out);
    }
    std::fflush(out);
}

void printFinalScore(std::FILE* out, std::uint32_t score, int terminalColumns) {
    const int written = std::fprintf(out, "Your final score is %" PRIu32 ".", score);
    const int padding =
        terminalColumns > 0 ? std::max(terminalColumns - 1 - written, 0) : finalScorePadding;
    std::fprintf(out, "%*s\n", padding, "");
}

void printCriticalError(std::FILE* out, std::uint32_t state) {
    // The value is shown as a signed number (a wild value may well be -1).
    std::fprintf(out,
                 "\n=== CRITICAL ERROR ===\nGame reached invalid state \"%" PRId32 "\".\n"
                 "Exiting program to protect itself.\n======================\n",
                 static_cast<std::int32_t>(state));
}
