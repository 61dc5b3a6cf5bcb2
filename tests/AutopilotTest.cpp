// A test player that sees only what a person sees, the boxes of the player
// and of the blocks, presses only A, D and Space at 60 frames a second, and so
// shows that the physics and the spawner make a game that can be played.
#include <algorithm>

#include "TestGame.h"

namespace {

constexpr double frame = 1.0 / 60.0;   // seconds
constexpr int playLimit = 2 * 60 * 60; // passes: two minutes of play
constexpr double entryLine = 0.8;      // a block becomes the goal once its centre is this far in
constexpr double aimTolerance = 0.02;  // window widths either side of the goal's centre
constexpr double sinkTolerance = 0.03; // a standing player sinks one frame's fall into its block
// The floor and every block that has come within reach, one every three
// seconds from the start: forty in two minutes.
constexpr unsigned everyBlock = 40;

} // namespace

TEST(Autopilot, SurvivesTwoMinutesAndReachesEveryBlockInEverySeed) {
    for (std::uint32_t seed = 1; seed <= 20; ++seed) {
        TestGame t(64, 64, seed); // it looks at the world, so any size of drawing will do
        t.pressKey(SDL_SCANCODE_SPACE);
        const Player& p = t.game.player;
        double lastY = p.y;
        for (int n = 0; n <= playLimit && GameState != State::GameOver; ++n) {
            // Newest first: head for the newest block that has come in far enough,
            // and jump whenever below its top and no longer rising.
            const auto goal = std::ranges::find_if(
                t.game.blocks, [](const Block& b) { return b.x + b.w / 2 <= entryLine; });
            ASSERT_NE(goal, t.game.blocks.end()) << "nothing to aim at, seed " << seed;
            const double aim = goal->x + goal->w / 2 - p.w / 2;
            t.keys[SDL_SCANCODE_D] = p.x < aim - aimTolerance;
            t.keys[SDL_SCANCODE_A] = p.x > aim + aimTolerance;
            if (p.y >= lastY && p.y + p.h > goal->y + sinkTolerance) {
                t.pressKey(SDL_SCANCODE_SPACE);
            }
            lastY = p.y;
            t.pass(frame);
        }
        EXPECT_EQ(GameState, State::Playing) << "seed " << seed;
        EXPECT_GE(p.score, everyBlock) << "seed " << seed;
    }
}
