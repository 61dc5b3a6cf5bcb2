// The status line and then the final score, as a run ends, on a terminal of
// each width and off a terminal (width 0), where they must stay byte for byte
// what scripts already read.
#include "shell/Console.h"

#include <gtest/gtest.h>
#include <string>

TEST(Console, OnATerminalBothLinesFitOneRowAndOffOneTheyStayWhole) {
    // On a terminal the line fills the row but its last column, each tab written as blanks up
    // to the next multiple of 8.
    const std::string timer =
        "0.00012345 sec. Score:   7      State: 1        Blocks: 12      Timer: 2.50000";
    // Columns, the status line, the blanks after "Your final score is 7.".
    const std::tuple<int, std::string, std::size_t> table[] = {
        {0, "0.00012345 sec.\tScore:   7 \tState: 1 \tBlocks: 12 \tTimer: 2.500000 \tDebug: 1\r",
         73},
        {100, timer + "0         Debug: 1   \r", 77},
        {97, timer + "0         Debug: 1\r", 74},
        {96, timer + "0         Debug: \r", 73},
        {88, timer + "0        \r", 65},
        {80, timer + "0\r", 57},
        {79, timer + "\r", 56},
        {40, "0.00012345 sec. Score:   7      State: \r", 17},
        {20, "0.00012345 sec. Sco\r", 0},
        {1, "\r", 0}};
    for (const auto& [columns, status, blanks] : table) {
        std::FILE* out = std::tmpfile();
        printStatusLine(out, {0.00012345, 7, 1, 12, 2.5, true}, columns);
        printFinalScore(out, 7, columns);
        std::string text(static_cast<std::size_t>(std::ftell(out)), '\0');
        std::rewind(out);
        text.resize(std::fread(text.data(), 1, text.size(), out));
        std::fclose(out);
        EXPECT_EQ(text, status + "Your final score is 7." + std::string(blanks, ' ') + "\n")
            << columns << " columns";
    }
}
