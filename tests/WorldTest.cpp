// The world: the guarded setters, the player's step (the jump curve, which
// block it stands on and claims, when it dies), the block field's scroll,
// cull and spawn, and the generator's range (the glitch test sees whether its
// parity alternates).
#include "TestGame.h"

// A cell of 1/128 keeps every edge sum exact, so meeting edges really meet:
// the player is then 0.125 wide and 0.203125 high.
constexpr double cell = 1.0 / 128.0;

TEST(Guards, TakeTheBoundItselfButRefuseAnythingPastItOrNaN) {
    // Setter, field, the delta that lands on the bound and whether it is taken there. With x 0,
    // y 0.5, w 0.125, h 0.25 and glitchOffset 1/256 each bound is met exactly: size 0, the right
    // edge at -0.1 and x - w at 1.0, the bottom edge at 0.0 and y - h at 1.0, offset 0.
    // clang-format off
    const std::tuple<void (Block::*)(double), double Block::*, double, bool> bounds[] = {
        {&Block::changeWidth, &Block::w, -0.125, false}, {&Block::changeHeight, &Block::h, -0.25, false},
        {&Block::moveX, &Block::x, -0.225, true}, {&Block::moveX, &Block::x, 1.125, true},
        {&Block::moveY, &Block::y, -0.75, true}, {&Block::moveY, &Block::y, 0.75, true},
        {&Block::changeGlitchOffset, &Block::glitchOffset, -1.0 / 256, true}};
    // clang-format on
    for (auto [setter, field, bound, atBound] : bounds) {
        const double past = std::copysign(1e-9, bound); // a hair further the same way
        const std::pair<double, bool> steps[] = {
            {bound, atBound}, {bound + past, false}, {bound - past, true}, {NAN, false}};
        for (auto [delta, taken] : steps) {
            Block b(0.0, 0.5, 0.125, 0.25, 1.0 / 256, nullptr);
            const double before = b.*field;
            (b.*setter)(delta);
            EXPECT_EQ(b.*field, taken ? before + delta : before) << bound << " " << delta;
        }
    }
    // The score changes in 32-bit unsigned arithmetic, and only within 0..999: from, by, to.
    const std::tuple<std::uint32_t, std::int32_t, std::uint32_t> changes[] = {
        {0, -1, 0}, {5, -5, 0}, {998, 1, 999}, {999, 1, 999}, {500, INT32_MIN, 500}};
    for (auto [from, delta, to] : changes) {
        Player p(0.5, 0.5, cell, true, 0.0, none, nullptr);
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
    for (std::size_t n = 1; n <= 60; ++n) {
        p.update();
        passes.push_back(p);
        EXPECT_EQ(p.x < passes[n - 1].x, n >= 20) << "drift in pass " << n;
    }
    const auto top = std::ranges::min_element(passes, {}, &Player::y);
    const auto back = std::ranges::find_if(passes.begin() + 1, passes.end(),
                                           [](const Player& q) { return q.y >= 0.8; });
    EXPECT_NEAR(0.8 - passes[1].y, 0.06716, 5e-6);
    EXPECT_NEAR(0.8 - top->y, 0.5740, 5e-5);
    EXPECT_EQ(top - passes.begin(), 16) << "the pass at the top";
    EXPECT_EQ(back - passes.begin(), 53) << "the pass back at the start";
    EXPECT_NEAR(passes[20].jumpTimer, -0.00333, 5e-6);
    EXPECT_EQ(passes[21].jumpTimer, 0.0);
    // A timer spent to exactly 0 drifts in that same pass.
    deltaTime = 0.25;
    p.jumpTimer = deltaTime;
    p.update();
    EXPECT_EQ(p.jumpTimer, 0.0);
    EXPECT_EQ(p.x, passes.back().x - 0.025);
    // Two jumps in a row: the second restarts the impulse; a third is refused.
    Player q(0.5, 0.8, cell, true, 0.0, none, nullptr);
    for (int jump = 0; jump < 3; ++jump) {
        q.jump();
    }
    EXPECT_EQ(q.jumpTimer, 0.33);
    EXPECT_EQ(q.jumpCount, 2);
}

TEST(PlayerPhysics, StandsOnTheNewestTouchingBlockWhereEdgesMeetAndDiesOnlyPastAnEdge) {
    deltaTime = 0.0;
    const double gap = 1.0 / 1024;
    // A block's x and y, and whether the player lands on it. The player spans 0.5..0.625 across
    // and 0.5..0.703125 down; the blocks meet it on the left, right, top and bottom, or leave a
    // gap.
    // clang-format off
    const std::tuple<double, double, bool> meetings[] = {
        {0.25, 0.5, true}, {0.25 - gap, 0.5, false}, {0.625, 0.5, true}, {0.625 + gap, 0.5, false},
        {0.5, 0.4375, true}, {0.5, 0.4375 - gap, false}, {0.5, 0.703125, true}, {0.5, 0.703125 + gap, false}};
    // clang-format on
    for (auto [x, y, lands] : meetings) {
        BlockList list{Block(x, y, 0.25, 0.0625, 0.0, nullptr)};
        Player p(0.5, 0.5, cell, true, 0.0, list, nullptr);
        p.update();
        EXPECT_EQ(list.front().isClaimed, lands) << "a block at " << x << ", " << y;
        EXPECT_EQ(p.y, lands ? y - 0.203125 : 0.5) << "a block at " << x << ", " << y;
    }
    // The player's x and y, and whether it lives: it dies once past the bottom, right or left
    // edge, but the top is open.
    const double past = std::nextafter(1.0, 2.0);
    const double w = 0.125;
    // clang-format off
    const std::tuple<double, double, bool> places[] = {
        {0.5, 1.0, true}, {0.5, past, false}, {1.0, 0.5, true}, {past, 0.5, false}, {-w, 0.5, true},
        {std::nextafter(-w, -1.0), 0.5, false}, {0.5, -1.0e6, true}};
    // clang-format on
    for (auto [x, y, alive] : places) {
        Player p(x, y, cell, true, 0.0, none, nullptr);
        p.update();
        EXPECT_EQ(p.isAlive, alive) << "the player at " << x << ", " << y;
    }
    // Of two blocks that touch the player: the newer at its right edge, the older overlapping.
    BlockList blocks{Block(0.625, 0.625, 0.25, 0.0625, 0.0, nullptr),
                     Block(0.5, 0.6875, 0.25, 0.0625, 0.0, nullptr)};
    Player p(0.5, 0.5, cell, true, 0.0, blocks, nullptr);
    for (int pass = 0; pass < 2; ++pass) { // the second pass finds it claimed
        p.jumpCount = 2;
        p.update();
        EXPECT_EQ(p.score, 1u);
        EXPECT_EQ(p.jumpCount, 0);
        EXPECT_EQ(p.y, 0.421875);
        EXPECT_FALSE(blocks.back().isClaimed);
    }
    // Out of reach: the older block's turn, at a full score.
    blocks.front().x = 2.0;
    p.y = 0.5;
    p.score = 999;
    p.update();
    EXPECT_EQ(p.score, 999u);
    EXPECT_EQ(p.y, 0.484375);
    EXPECT_TRUE(blocks.back().isClaimed);
}

TEST(BlockField, ScrollsCullsAndSpawnsAtOnceThenAfterThreeSeconds) {
    const auto at = [](double x, double w) { return Block(x, 0.5, w, 0.05, 0.0, nullptr); };
    // A step of 0.2: right edges 0.05 (the step refused), -0.05 (culled), 0.7, 0.0 (still on
    // screen) and -0.05 (culled too).
    spawnTimer = 10.0;
    deltaTime = 2.0;
    BlockList blocks{at(-0.15, 0.2), at(-0.05, 0.2), at(0.5, 0.2), at(0.0, 0.2), at(-0.1, 0.25)};
    updateBlocks(blocks, nullptr);
    ASSERT_EQ(blocks.size(), 3u);
    EXPECT_EQ(blocks.front().x, -0.15);
    EXPECT_EQ(std::next(blocks.begin())->x, 0.3);
    EXPECT_EQ(blocks.back().x, -0.2);
    // The first call of a run spawns, in front; a draw of 32767 puts the block at the foot of
    // its band, just above 0.95 in doubles. The second call scrolls it and counts down.
    std::uint32_t seed = 0;
    for (seedRandom(seed); randomNumber() != 32767;) {
        seedRandom(++seed);
    }
    seedRandom(seed);
    spawnTimer = 0.0;
    deltaTime = 0.5;
    blocks = {floorBlock(nullptr)};
    updateBlocks(blocks, nullptr);
    updateBlocks(blocks, nullptr);
    const Block& b = blocks.front();
    EXPECT_EQ(blocks.size(), 2u);
    EXPECT_EQ(b.x, 0.95);
    EXPECT_EQ(b.y, std::nextafter(0.95, 1.0));
    EXPECT_EQ(b.w, 0.2);
    EXPECT_EQ(b.h, 0.05);
    EXPECT_EQ(spawnTimer, 2.5);
}

TEST(Random, CoversZeroTo32767) {
    std::vector<int> draws(1'000'000);
    std::ranges::generate(draws, randomNumber);
    const auto [lowest, highest] = std::ranges::minmax(draws);
    EXPECT_EQ(lowest, 0);
    EXPECT_EQ(highest, 32767);
}
