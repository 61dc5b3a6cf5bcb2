// The player's step: the jump curve at a fixed frame time, which block it
// stands on and claims, when it dies, and the guarded score.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <tuple>
#include <vector>

#include "world/DeltaTime.h"
#include "world/Player.h"
#include "world/Tuning.h"

// A cell of 1/128 keeps every edge sum exact, so meeting edges really meet.
constexpr double exactCell = 1.0 / 128.0; // w 0.125, h 0.203125

TEST(PlayerPhysics, JumpFromRestFollowsTheCurveAtSixtyPassesASecond) {
    deltaTime = 1.0 / 60.0;
    BlockList none;
    Player p(0.5, 0.8, playerCellSize, true, defaultGlitchOffset, none, nullptr);
    p.jump();
    std::vector<Player> passes{p}; // passes[n]: the player after n passes
    for (int n = 1; n <= 60; ++n) {
        p.update();
        passes.push_back(p);
    }
    const double startY = passes[0].y;
    const auto top = std::min_element(passes.begin(), passes.end(),
                                      [](const Player& a, const Player& b) { return a.y < b.y; });
    const auto back = std::find_if(passes.begin() + 1, passes.end(),
                                   [&](const Player& q) { return q.y >= startY; });
    EXPECT_NEAR(startY - passes[1].y, 0.06716, 5e-6);
    EXPECT_NEAR(startY - top->y, 0.5740, 5e-5);
    EXPECT_NEAR(passes[20].jumpTimer, -0.00333, 5e-6);
    EXPECT_EQ(std::tuple(top - passes.begin(), back - passes.begin(), passes[21].jumpTimer),
              std::tuple(16, 53, 0.0));
    for (std::size_t n = 1; n < passes.size(); ++n) {
        EXPECT_EQ(passes[n].x < passes[n - 1].x, n >= 20) << "drift in pass " << n;
    }
    deltaTime = 0.25; // a timer spent to exactly 0 drifts in that same pass
    p.jumpTimer = deltaTime;
    p.update();
    EXPECT_EQ(std::pair(p.jumpTimer, p.x),
              std::pair(0.0, passes.back().x - scrollSpeed * deltaTime));
}

TEST(PlayerPhysics, BlocksThatOnlyMeetAnEdgeTouchAndAGapApartDoNot) {
    deltaTime = 0.0;
    const double gap = 1.0 / 1024.0; // the player spans 0.5..0.625 across, 0.5..0.703125 down
    const std::tuple<double, double, bool> blocks[] = {
        {0.25, 0.5, true},         {0.25 - gap, 0.5, false},    {0.625, 0.5, true},
        {0.625 + gap, 0.5, false}, {0.5, 0.4375, true},         {0.5, 0.4375 - gap, false},
        {0.5, 0.703125, true},     {0.5, 0.703125 + gap, false}};
    for (auto [x, y, touches] : blocks) {
        BlockList list{Block(x, y, 0.25, 0.0625, 0.0, nullptr)};
        Player p(0.5, 0.5, exactCell, true, 0.0, list, nullptr);
        p.update();
        EXPECT_EQ(std::pair(list.front().isClaimed, p.y),
                  std::pair(touches, touches ? y - p.h : 0.5))
            << x << ", " << y;
    }
}

TEST(PlayerPhysics, StandsOnAndClaimsOnlyTheNewestTouchingBlock) {
    deltaTime = 0.0;
    // Both touch the player: the newer at its right edge, the older overlapping.
    BlockList blocks{Block(0.625, 0.625, 0.25, 0.0625, 0.0, nullptr),
                     Block(0.5, 0.6875, 0.25, 0.0625, 0.0, nullptr)};
    Block& newer = blocks.front();
    Block& older = blocks.back();
    Player p(0.5, 0.5, exactCell, true, 0.0, blocks, nullptr);
    for (int pass = 0; pass < 2; ++pass) { // the second pass finds it claimed
        p.jumpCount = 2;
        p.update();
        EXPECT_EQ(std::tuple(p.score, p.jumpCount, p.y, newer.isClaimed, older.isClaimed),
                  std::tuple(1u, 0, newer.y - p.h, true, false));
    }
    newer.x = 2.0; // out of reach: the older block's turn, at a full score
    p.y = 0.5;
    p.score = maxScore;
    p.update();
    EXPECT_EQ(std::tuple(p.score, p.y, older.isClaimed), std::tuple(maxScore, older.y - p.h, true));
}

TEST(PlayerPhysics, DiesOnlyStrictlyPastTheBottomLeftOrRightEdge) {
    deltaTime = 0.0;
    BlockList none;
    const double w = exactCell * playerWidthCells;
    const double past = std::nextafter(1.0, 2.0);
    const std::tuple<double, double, bool> cases[] = {
        {0.5, 1.0, true},   {0.5, past, false}, {1.0, 0.5, true},
        {past, 0.5, false}, {-w, 0.5, true},    {std::nextafter(-w, -1.0), 0.5, false},
        {0.5, -1.0e6, true}};
    for (auto [x, y, alive] : cases) {
        Player p(x, y, exactCell, true, 0.0, none, nullptr);
        p.update();
        EXPECT_EQ(p.isAlive, alive) << x << ", " << y;
    }
}

TEST(PlayerScore, DropsAnyChangeThatLeavesZeroToMaxWhole) {
    BlockList none;
    Player p(0.5, 0.5, playerCellSize, true, 0.0, none, nullptr);
    const std::int32_t big = INT32_MAX;
    using Change = std::tuple<std::uint32_t, std::int32_t, std::uint32_t>; // from, delta, to
    const Change cases[] = {{0, -1, 0},    {3, -5, 3},    {5, -5, 0},      {998, 1, 999},
                            {999, 1, 999}, {997, 5, 997}, {500, big, 500}, {500, -big - 1, 500}};
    for (auto [from, delta, to] : cases) {
        p.score = from;
        p.addScore(delta);
        EXPECT_EQ(p.score, to) << from << " + " << delta;
    }
}
