// Gamepads as a second way to press the keys: SDL's virtual joysticks, mapped
// through its game controller layout, drive whole passes of a game.
#include "TestGame.h"
#include "shell/Pads.h"

TEST(Pads, EachButtonAndDirectionActsAsItsKeyInEveryState) {
    // One pass in a state, after a pass that plugs a pad in: by the pad, the button pressed or
    // else (-1) the stick leant to x; or by the keyboard, the key pressed or held instead.
    const auto onePass = [](State from, int button, int x, SDL_Scancode scancode, bool byPad) {
        TestGame t;
        GameState = from;
        VirtualPad pad;
        t.pass(0.0); // nothing moves in no time
        const bool held = button < 0 || button >= SDL_CONTROLLER_BUTTON_DPAD_UP;
        if (!byPad) {
            t.keys[scancode] = held;
        } else if (button < 0) {
            pad.lean(x);
        } else {
            pad.press(button);
        }
        t.pass(dt, byPad || held ? SDL_Event{} : key(scancode));
        // What the pass did to the state and the player.
        const Player& p = t.game.player;
        return "state " + std::to_string(int(GameState)) + ", x " + std::to_string(p.x) + ", y " +
               std::to_string(p.y) + ", jumps " + std::to_string(p.jumpCount);
    };
    // clang-format off
    const std::tuple<int, int, SDL_Scancode> table[] = {
        {SDL_CONTROLLER_BUTTON_A, 0, SDL_SCANCODE_SPACE}, {SDL_CONTROLLER_BUTTON_START, 0, SDL_SCANCODE_PAUSE},
        {SDL_CONTROLLER_BUTTON_BACK, 0, SDL_SCANCODE_ESCAPE}, {SDL_CONTROLLER_BUTTON_B, 0, SDL_SCANCODE_UNKNOWN},
        {SDL_CONTROLLER_BUTTON_DPAD_LEFT, 0, SDL_SCANCODE_A}, {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 0, SDL_SCANCODE_D},
        {SDL_CONTROLLER_BUTTON_DPAD_UP, 0, SDL_SCANCODE_UNKNOWN}, {-1, -32768, SDL_SCANCODE_A}, {-1, 32767, SDL_SCANCODE_D},
        {-1, -stickDeadZone - 1, SDL_SCANCODE_A}, {-1, -stickDeadZone, SDL_SCANCODE_UNKNOWN},
        {-1, stickDeadZone, SDL_SCANCODE_UNKNOWN}, {-1, stickDeadZone + 1, SDL_SCANCODE_D}};
    // clang-format on
    for (const auto& [button, x, key] : table) {
        SCOPED_TRACE(testing::Message() << "button " << button << ", stick at " << x);
        bool acted = false; // in some state, where the stick at rest does nothing
        for (const State from : {State::Start, State::Playing, State::GameOver}) {
            const std::string byKey = onePass(from, button, x, key, false);
            EXPECT_EQ(onePass(from, button, x, key, true), byKey) << "from state " << int(from);
            acted = acted || byKey != onePass(from, -1, 0, key, true);
        }
        EXPECT_EQ(acted, key != SDL_SCANCODE_UNKNOWN);
    }
}

TEST(Pads, TwoPlayAtOnceAPressBeatsAThousandStickMotionsAndAnUnpluggedPadLetsGo) {
    TestGame t;
    GameState = State::Playing;
    // The first pass's event: the pads plugged in behind it count at once.
    SDL_Event ahead = key(SDL_SCANCODE_X);
    SDL_PushEvent(&ahead);
    VirtualPad first;
    std::optional<VirtualPad> second(std::in_place);
    second->lean(32767); // already leaning as it is plugged in
    t.pass(dt);
    const double moved = t.game.player.x;
    for (int i = 0; i < 1000; ++i) { // ends at rest
        first.lean(i % 2 == 0 ? 32767 : 0);
        SDL_PumpEvents();
    }
    first.press(SDL_CONTROLLER_BUTTON_A);
    t.pass(dt);
    const int jumps = t.game.player.jumpCount;
    const double leant = t.game.player.x;
    second.reset(); // unplugged, which pauses the run
    t.pass(dt);
    t.pass(dt, key(SDL_SCANCODE_RETURN));
    t.pass(dt);
    // A held key's step; the player drifts with the field, but not while a jump lifts it.
    EXPECT_NEAR(moved, playerStartX + dt * (keyMoveSpeed - scrollSpeed), 1e-12);
    EXPECT_EQ(jumps, 1);
    EXPECT_NEAR(leant, moved + dt * keyMoveSpeed, 1e-12);
    EXPECT_EQ(t.game.player.x, leant) << "the unplugged pad still leans";
}
