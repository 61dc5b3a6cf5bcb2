// The world: the guarded setters, the player's step (the jump curve, which
// block it stands on and claims, when it dies), the block field's scroll,
// cull and spawn, and the generator. The end-to-end tests check the text of
// the debug dumps.
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <set>
#include <tuple>
#include <vector>

#include "world/BlockField.h"
#include "world/Globals.h"
#include "world/Player.h"
#include "world/Random.h"
#include "world/Tuning.h"

namespace {

// A cell of 1/128 keeps every edge sum exact, so meeting edges really meet:
// the player is then 0.125 wide and 0.203125 high.
constexpr double exactCell = 1.0 / 128.0;
BlockList none;

} // namespace

TEST(Guards, TakeTheBoundItselfButRefuseAnythingPastItOrNaN) {
    using B = Block;
    const double g = 1.0 / 256.0; // with x 0, y 0.5, w 0.125, h 0.25 every bound is met exactly
    // setter, field, the delta that lands on the bound, taken there, the side beyond it; the
    // right edge at -0.1 and x - w at 1.0, the bottom edge at 0.0 and y - h at 1.0
    const std::tuple<void (B::*)(double), double B::*, double, bool, double> bounds[] = {
        {&B::changeWidth, &B::w, -0.125, false, -1},
        {&B::changeHeight, &B::h, -0.25, false, -1},
        {&B::moveX, &B::x, -0.225, true, -1},
        {&B::moveX, &B::x, 1.125, true, 1},
        {&B::moveY, &B::y, -0.75, true, -1},
        {&B::moveY, &B::y, 0.75, true, 1},
        {&B::changeGlitchOffset, &B::glitchOffset, -g, true, -1}};
    for (auto [setter, field, bound, takenAtBound, beyond] : bounds) {
        const double past = beyond * 1e-9;
        const std::pair<double, bool> steps[] = {
            {bound, takenAtBound}, {bound + past, false}, {bound - past, true}, {NAN, false}};
        for (auto [delta, taken] : steps) {
            Block b(0.0, 0.5, 0.125, 0.25, g, nullptr);
            const double before = b.*field;
            (b.*setter)(delta);
            EXPECT_EQ(b.*field, taken ? before + delta : before) << bound << " " << delta;
        }
    }
    // The score changes in 32-bit unsigned arithmetic, and only within 0..999.
    Player p(0.5, 0.5, playerCellSize, true, 0.0, none, nullptr);
    const std::int32_t big = INT32_MAX;
    using Change = std::tuple<std::uint32_t, std::int32_t, std::uint32_t>; // from, delta, to
    const Change changes[] = {{0, -1, 0},    {3, -5, 3},    {5, -5, 0},      {998, 1, 999},
                              {999, 1, 999}, {997, 5, 997}, {500, big, 500}, {500, -big - 1, 500}};
    for (auto [from, delta, to] : changes) {
        p.score = from;
        p.addScore(delta);
        EXPECT_EQ(p.score, to) << from << " + " << delta;
    }
}

TEST(PlayerPhysics, JumpFromRestFollowsTheCurveAtSixtyPassesASecond) {
    deltaTime = 1.0 / 60.0;
    Player p(0.5, 0.8, playerCellSize, true, defaultGlitchOffset, none, nullptr);
    p.jump();
    std::vector<Player> passes{p}; // passes[n]: the player after n passes
    for (int n = 1; n <= 60; ++n) {
        p.update();
        passes.push_back(p);
    }
    const double startY = passes[0].y;
    const auto top = std::ranges::min_element(passes, {}, &Player::y);
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
    EXPECT_EQ(std::pair(p.jumpTimer, p.x), std::pair(0.0, passes.back().x - 0.1 * deltaTime));
}

TEST(PlayerPhysics, TouchesWhereEdgesOnlyMeetAndDiesOnlyStrictlyPastAnEdge) {
    deltaTime = 0.0;
    const double w = exactCell * playerWidthCells, past = std::nextafter(1.0, 2.0),
                 gap = 1.0 / 1024;
    // The player's x and y, a block's x and y (9: none near), whether the player lands on the
    // block, and whether it lives. The player spans 0.5..0.625 across, 0.5..0.703125 down; the
    // blocks meet it on the left, right, top and bottom, or leave a gap.
    const std::tuple<double, double, double, double, bool, bool> cases[] = {
        {0.5, 0.5, 0.25, 0.5, true, true},     {0.5, 0.5, 0.25 - gap, 0.5, false, true},
        {0.5, 0.5, 0.625, 0.5, true, true},    {0.5, 0.5, 0.625 + gap, 0.5, false, true},
        {0.5, 0.5, 0.5, 0.4375, true, true},   {0.5, 0.5, 0.5, 0.4375 - gap, false, true},
        {0.5, 0.5, 0.5, 0.703125, true, true}, {0.5, 0.5, 0.5, 0.703125 + gap, false, true},
        {0.5, 1.0, 9, 9, false, true},         {0.5, past, 9, 9, false, false},
        {1.0, 0.5, 9, 9, false, true},         {past, 0.5, 9, 9, false, false},
        {-w, 0.5, 9, 9, false, true},          {std::nextafter(-w, -1.0), 0.5, 9, 9, false, false},
        {0.5, -1.0e6, 9, 9, false, true}};
    for (auto [x, y, bx, by, lands, alive] : cases) {
        BlockList list{Block(bx, by, 0.25, 0.0625, 0.0, nullptr)};
        Player p(x, y, exactCell, true, 0.0, list, nullptr);
        p.update();
        EXPECT_EQ(std::tuple(list.front().isClaimed, p.y, p.isAlive),
                  std::tuple(lands, lands ? by - p.h : y, alive))
            << x << ", " << y << " by " << bx << ", " << by;
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

TEST(BlockField, RefusedStepLeavesABlockAndEveryOffScreenBlockGoesAtOnce) {
    const auto block = [](double x, double w) { return Block(x, 0.5, w, 0.05, 0.0, nullptr); };
    spawnTimer = 10.0;
    deltaTime = 2.0; // a step of 0.2 would take the first right edge from 0.05 to -0.15
    BlockList blocks{block(-0.15, 0.2), block(0.5, 0.2)};
    updateBlocks(blocks, nullptr);
    EXPECT_EQ(std::pair(blocks.front().x, blocks.back().x), std::pair(-0.15, 0.5 - 0.1 * 2.0));
    deltaTime = 0.0; // right edges -0.05, -0.05, 0.0 (still on screen), 0.7, -0.01
    blocks = {block(-0.25, 0.2), block(-0.3, 0.25), block(-0.2, 0.2), block(0.5, 0.2),
              block(-0.21, 0.2)};
    updateBlocks(blocks, nullptr);
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(std::pair(blocks.front().x, blocks.back().x), std::pair(-0.2, 0.5));
}

TEST(BlockField, SpawnsAtOnceThenCountsDownWithOneDrawPerSpawnAtEitherEndOfTheBand) {
    deltaTime = 0.5;
    const std::pair<int, double> ends[] = {{0, 0.05}, {randomMax, std::nextafter(0.95, 1.0)}};
    for (auto [draw, top] : ends) {
        std::uint32_t seed = 0;
        for (seedRandom(seed); randomNumber() != draw && seed < 1u << 22;) {
            seedRandom(++seed);
        }
        const int following = randomNumber();
        seedRandom(seed);
        spawnTimer = 0.0;
        BlockList blocks{floorBlock(nullptr)};
        updateBlocks(blocks, nullptr); // the first call of a run spawns
        EXPECT_EQ(std::tuple(blocks.size(), blocks.front().x, blocks.front().y, spawnTimer),
                  std::tuple(2u, 1.0, top, 3.0));
        updateBlocks(blocks, nullptr);
        EXPECT_EQ(std::tuple(blocks.size(), spawnTimer, randomNumber()),
                  std::tuple(2u, 3.0 - deltaTime, following));
    }
}

TEST(Random, CoversZeroToMaxRepeatablyWithUnpatternedParity) {
    std::vector<int> draws(1'000'000);
    seedRandom(7);
    std::ranges::generate(draws, randomNumber);
    const auto [lowest, highest] = std::ranges::minmax(draws);
    EXPECT_EQ(std::tuple(lowest, highest, std::set(draws.begin(), draws.end()).size()),
              std::tuple(0, randomMax, 32768u));
    seedRandom(7);
    EXPECT_TRUE(std::all_of(draws.begin(), draws.begin() + 1024,
                            [](int r) { return r == randomNumber(); }));
    // The glitch takes its sign from a draw's parity; a short cycle would fix it.
    const auto sameParity = [](int a, int b) { return a % 2 == b % 2; };
    for (std::ptrdiff_t period = 1; period <= 64; ++period) {
        EXPECT_FALSE(
            std::equal(draws.begin() + period, draws.begin() + 1024, draws.begin(), sameParity))
            << "parity repeats every " << period;
    }
}
