// The pause: which inputs pause a run and resume it, and what a paused run
// prints, draws and leaves of the world, driven pass by pass as in ShellTest.
#include "TestGame.h"

TEST(Pause, TheInputsThatPauseARunResumeItAndLeaveTheScreensAlone) {
    const SDL_Event pausing[] = {key(SDL_SCANCODE_RETURN),
                                 key(SDL_SCANCODE_KP_ENTER),
                                 key(SDL_SCANCODE_PAUSE),
                                 key(SDL_SCANCODE_P),
                                 window(SDL_WINDOWEVENT_FOCUS_LOST),
                                 window(SDL_WINDOWEVENT_MINIMIZED),
                                 window(SDL_WINDOWEVENT_HIDDEN),
                                 event(SDL_CONTROLLERDEVICEREMOVED)};
    for (const SDL_Event& e : pausing) {
        SCOPED_TRACE("event " + std::to_string(e.type) + " " +
                     std::to_string(e.key.keysym.scancode) + " " + std::to_string(e.window.event));
        TestGame t;
        GameState = State::Playing;
        t.pass(dt, e);
        t.output();
        const double y = t.game.player.y;
        // Neither the window nor another key resumes a paused run.
        t.pass(dt, window(SDL_WINDOWEVENT_FOCUS_GAINED));
        t.pass(dt, key(SDL_SCANCODE_X));
        EXPECT_TRUE(t.game.paused);
        EXPECT_EQ(t.output(), "") << "printed while paused";
        EXPECT_EQ(t.game.player.y, y) << "the player while paused";
        t.pass(dt, e.type == SDL_KEYDOWN ? e : key(SDL_SCANCODE_RETURN));
        EXPECT_FALSE(t.game.paused) << "resumed";
    }
    // On the screens the pause keys do nothing but the Pause key, a pad's Start, which acts as
    // Space: from a state, the key and the state it leads to.
    const std::tuple<State, SDL_Scancode, State> onScreens[] = {
        {State::Start, SDL_SCANCODE_RETURN, State::Start},
        {State::Start, SDL_SCANCODE_P, State::Start},
        {State::Start, SDL_SCANCODE_PAUSE, State::Playing},
        {State::GameOver, SDL_SCANCODE_KP_ENTER, State::GameOver},
        {State::GameOver, SDL_SCANCODE_PAUSE, State::Exit}};
    for (const auto& [from, scancode, to] : onScreens) {
        TestGame t;
        GameState = from;
        t.pass(dt, key(scancode));
        EXPECT_EQ(GameState, to) << "from " << int(from) << " by " << scancode;
        EXPECT_FALSE(t.game.paused) << "from " << int(from) << " by " << scancode;
    }
}

TEST(Pause, APausedRunShowsItsLastFrameDimmedUnderPAUSEDAndGoesOnWhereItWas) {
    TestGame t(1001, 803);
    GameState = State::Playing;
    spawnTimer = 10.0;
    t.game.player.x = 0.0; // out of the word's way
    t.game.player.y = 0.05;
    t.pass(dt, window(SDL_WINDOWEVENT_RESIZED, 700, 700));
    t.pass(dt);
    const std::vector<Rgb> last = pixels(t.headless.canvas);
    const std::uint64_t draws = randomGeneratorState();
    t.pass(dt, key(SDL_SCANCODE_RETURN));
    const std::vector<Rgb> held = pixels(t.headless.canvas);
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
    EXPECT_TRUE(samePicture(pixels(t.headless.canvas), held, 1001));
    t.pass(dt, window(SDL_WINDOWEVENT_RESIZED, 1001, 803));
    EXPECT_EQ(pixels(t.headless.canvas)[500 * 1001 + 115], kWhite) << "PAUSED's P at 1001 x 803";
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
