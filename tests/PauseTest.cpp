// A paused run: what it draws, prints and leaves of the world, driven pass by
// pass as in ShellTest, whose transitions say which inputs pause and resume it.
#include "TestGame.h"

TEST(Pause, APausedRunShowsItsLastFrameDimmedUnderPAUSEDAndGoesOnWhereItWas) {
    TestGame t(1001, 803);
    GameState = State::Playing;
    spawnTimer = 10.0;
    t.game.player.x = 0.0; // out of the word's way
    t.game.player.y = 0.05;
    t.pass(dt, window(SDL_WINDOWEVENT_RESIZED, 700, 700));
    t.pass(dt);
    const std::vector<Rgb> last = t.pixels();
    const std::uint64_t draws = randomGeneratorState();
    t.pass(dt, key(SDL_SCANCODE_RETURN));
    const std::vector<Rgb> held = t.pixels();
    // Its glitch as it was, every colour at half, the word white over it.
    std::vector<Rgb> want(held.size());
    for (std::size_t i = 0; i < held.size(); ++i) {
        want[i] = held[i] == kWhite ? kWhite : (last[i] & 0xFEFEFE) >> 1;
    }
    EXPECT_TRUE(samePicture(held, want, 1001));
    EXPECT_EQ(held[690 * 1001 + 350], 0x7F7F7F) << "the floor";
    EXPECT_EQ(held[400 * 1001 + 75], kWhite) << "PAUSED's P";
    EXPECT_EQ(randomGeneratorState(), draws) << "the run's random draws";
    // An exposed window gets it again, a resized one at the new size.
    fill(t.headless.canvas, {0, 0, 1001, 803}, kUntouched);
    t.pass(dt, window(SDL_WINDOWEVENT_EXPOSED));
    EXPECT_TRUE(samePicture(t.pixels(), held, 1001));
    t.pass(dt, window(SDL_WINDOWEVENT_RESIZED, 1001, 803));
    EXPECT_EQ(t.pixels()[500 * 1001 + 115], kWhite) << "PAUSED's P at 1001 x 803";
    t.output();
    SDL_Delay(100); // paused time, which no pass may count
    t.pass(dt, key(SDL_SCANCODE_RETURN));
    t.pass(dt);
    const std::string printed = t.output();
    EXPECT_LT(std::stod(printed), 0.05) << printed;
    EXPECT_DOUBLE_EQ(spawnTimer, 10.0 - 2 * dt) << "the spawn timer";
    // Q while paused: the final line in the next pass.
    t.pass(dt, key(SDL_SCANCODE_P));
    t.pass(dt, key(SDL_SCANCODE_Q));
    EXPECT_EQ(t.pass(dt), PassResult::Exit);
    EXPECT_EQ(t.output(), "Your final score is 0." + std::string(73, ' ') + "\n");
}
