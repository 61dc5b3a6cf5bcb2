// The main loop's states, the keys of a run and the console lines, driven pass
// by pass through a whole game drawing into a surface. The end-to-end tests
// check the text of every status line and the final score in a real window.
#include <string>
#include <vector>

#include "TestGame.h"
#include "shell/Console.h"
#include "shell/FrameClock.h"
#include "shell/Input.h"
#include "world/Tuning.h"

namespace {

constexpr double dt = 0.012;        // every pass's deltaTime: a held key then steps 0.004
constexpr Rgb untouched = 0x0C2238; // a colour the game never draws

// What the game printed since the last look, and the status line of these fields.
std::pair<std::string, std::string> printedAndStatusLine(TestGame& t, StatusFields fields) {
    std::string printed = t.takeOutput();
    printStatusLine(t.game.out, fields);
    return {printed, t.takeOutput()};
}

} // namespace

TEST(Shell, EachStateFollowsItsTransitionsAndPrintsTheStateItLeftBehind) {
    using enum State;
    // No event at all, then events that exit, start or leave, and some that match nothing:
    // an unbound key, key-ups, a window event that is not a resize.
    const std::pair<Uint32, SDL_Scancode> events[] = {
        {SDL_FIRSTEVENT, SDL_SCANCODE_UNKNOWN}, {SDL_QUIT, SDL_SCANCODE_UNKNOWN},
        {SDL_KEYDOWN, SDL_SCANCODE_Q},          {SDL_KEYDOWN, SDL_SCANCODE_ESCAPE},
        {SDL_KEYDOWN, SDL_SCANCODE_SPACE},      {SDL_KEYDOWN, SDL_SCANCODE_X},
        {SDL_KEYUP, SDL_SCANCODE_SPACE},        {SDL_KEYUP, SDL_SCANCODE_Q},
        {SDL_WINDOWEVENT, SDL_SCANCODE_UNKNOWN}};
    const std::pair<State, std::array<State, 9>> table[] = {
        {Start, {Start, Exit, Exit, Exit, Playing, Start, Start, Start, Start}},
        {Playing, {Playing, Exit, Exit, Exit, Playing, Playing, Playing, Playing, Playing}},
        {GameOver, {GameOver, Exit, Exit, Exit, Exit, GameOver, GameOver, GameOver, GameOver}}};
    for (const auto& [from, to] : table) {
        for (std::size_t i = 0; i < std::size(events); ++i) {
            SCOPED_TRACE(testing::Message() << "state " << int(from) << ", event " << i);
            TestGame t;
            GameState = from;
            t.canvas.fill(untouched);
            if (events[i].first != SDL_FIRSTEVENT) {
                t.push(event(events[i].first, events[i].second));
            }
            EXPECT_EQ(t.pass(dt), PassResult::Continue);
            // Every pass draws; a Playing pass that asked to exit still updates the world.
            const bool played = from == Playing;
            EXPECT_EQ(
                std::tuple(GameState, t.canvas.count(untouched), t.game.player.y != playerStartY),
                std::tuple(to[i], 0, played));
            // The line shows the state after the pass, the live blocks and this pass's time.
            const auto [printed, line] =
                printedAndStatusLine(t, {deltaTime, 0, static_cast<std::uint32_t>(to[i]),
                                         played ? 2u : 1u, played ? 3.0 : 0.0, false});
            EXPECT_EQ(printed, line);
        }
    }
}

TEST(Shell, AResizeOnlyTakesTheSizeADeathBeatsAnExitAndAnInvalidStateIsReported) {
    TestGame t;
    GameState = State::Playing;
    t.canvas.fill(untouched);
    SDL_Event resize{};
    resize.window = {SDL_WINDOWEVENT, 0, 0, SDL_WINDOWEVENT_RESIZED, 0, 0, 0, 320, 240};
    t.push(resize);
    const std::int64_t stamp = currentFrameTime;
    EXPECT_EQ(t.pass(dt), PassResult::Continue);
    EXPECT_EQ(std::tuple(deltaTime, currentFrameTime, windowWidth, windowHeight, t.game.player.y,
                         t.canvas.count(untouched), t.takeOutput()),
              std::tuple(dt, stamp, 320, 240, playerStartY, 700 * 700, ""));
    t.game.player.x = 1.5; // beyond the right edge: this pass's update kills it
    t.pressKey(SDL_SCANCODE_Q);
    t.pass(dt);
    // The time printed covers the resize pass too.
    EXPECT_EQ(std::pair(GameState, previousFrameTime), std::pair(State::GameOver, stamp));
    t.takeOutput();
    GameState = static_cast<State>(0xFFFFFFFF); // shown as a signed number
    EXPECT_EQ(t.pass(dt), PassResult::Continue);
    const auto [printed, line] = printedAndStatusLine(t, {deltaTime, 0, 3, 2, 3.0, false});
    EXPECT_EQ(printed, "\n=== CRITICAL ERROR ===\nGame reached invalid state \"-1\".\n"
                       "Exiting program to protect itself.\n======================\n" +
                           line);
}

namespace {

// One Playing pass with a key pressed or held (then with Grave pressed if
// grave), a block in front of the floor. Returns whether a line was printed,
// the player's x, y, hitbox, glitched, score and jumps, then x, y, w, h,
// glitchOffset, hitbox and glitched of every block, newest first.
std::vector<double> afterKey(SDL_Scancode key, bool held, bool debug, bool grave) {
    TestGame t;
    GameState = State::Playing;
    debugMode = debug;
    spawnTimer = 1.0;
    t.game.blocks.emplace_front(0.5, 0.25, 0.2, 0.05, 0.005, t.canvas.renderer);
    t.game.player.score = 5;
    t.keys[key] = held ? 1 : 0;
    if (grave || !held) {
        t.pressKey(grave ? SDL_SCANCODE_GRAVE : key);
    }
    t.pass(dt);
    const Player& p = t.game.player;
    std::vector<double> fields{double(t.takeOutput().find('\n') != std::string::npos),
                               p.x,
                               p.y,
                               double(p.showHitbox),
                               double(p.glitched),
                               double(p.score),
                               double(p.jumpCount)};
    for (const Block& b : t.game.blocks) {
        fields.insert(fields.end(), {b.x, b.y, b.w, b.h, b.glitchOffset, double(b.showHitbox),
                                     double(b.glitched)});
    }
    return fields;
}

} // namespace

TEST(Shell, KeysActOnceAndDebugKeysOnlyInDebugMode) {
    constexpr std::size_t blockFields = 7; // field numbers from here on are of every block
    const std::tuple<SDL_Scancode, bool, bool, std::size_t, double> table[] = {
        // key, held, debug only, field, change (times the held-key step if held)
        {SDL_SCANCODE_W, true, true, 2, -1},      {SDL_SCANCODE_S, true, true, 2, 1},
        {SDL_SCANCODE_A, true, false, 1, -1},     {SDL_SCANCODE_D, true, false, 1, 1},
        {SDL_SCANCODE_I, true, true, 8, -1},      {SDL_SCANCODE_K, true, true, 8, 1},
        {SDL_SCANCODE_J, true, true, 7, -1},      {SDL_SCANCODE_L, true, true, 7, 1},
        {SDL_SCANCODE_1, true, true, 9, -1},      {SDL_SCANCODE_2, true, true, 9, 1},
        {SDL_SCANCODE_3, true, true, 10, -1},     {SDL_SCANCODE_4, true, true, 10, 1},
        {SDL_SCANCODE_5, true, true, 11, -1},     {SDL_SCANCODE_6, true, true, 11, 1},
        {SDL_SCANCODE_E, false, true, 3, 1},      {SDL_SCANCODE_R, false, true, 4, -1},
        {SDL_SCANCODE_9, false, true, 5, 1},      {SDL_SCANCODE_0, false, true, 5, -1},
        {SDL_SCANCODE_O, false, true, 12, 1},     {SDL_SCANCODE_P, false, true, 13, -1},
        {SDL_SCANCODE_M, false, true, 0, 1},      {SDL_SCANCODE_Z, false, true, 0, 1},
        {SDL_SCANCODE_SPACE, false, false, 6, 1}, {SDL_SCANCODE_X, false, false, 0, 0},
    };
    const std::vector<double> still = afterKey(SDL_SCANCODE_UNKNOWN, true, false, false);
    for (const auto& [key, held, debugOnly, field, change] : table) {
        // Debug off; on; switched on by a press in the same pass as a held key.
        for (const auto& [debug, grave] : {std::pair{false, false}, {true, false}, {false, held}}) {
            SCOPED_TRACE(testing::Message() << "key " << key << " debug " << debug << grave);
            const std::vector<double> after = afterKey(key, held, debug, grave);
            ASSERT_EQ(after.size(), still.size());
            for (std::size_t i = 0; i < still.size(); ++i) {
                if (key == SDL_SCANCODE_SPACE && (i == 1 || i == 2)) {
                    continue; // the jump itself moves the player
                }
                const bool target =
                    field < blockFields ? i == field : i >= field && (i - field) % blockFields == 0;
                const bool acts = target && (!debugOnly || debug || grave);
                const double step = held ? change * dt * keyMoveSpeed : change;
                EXPECT_NEAR(after[i] - still[i], acts ? step : 0.0, 1e-12) << "field " << i;
            }
        }
    }
}

TEST(Shell, OfAPairOfHeldKeysTheNegativeOneActsFirst) {
    // Each block starts where one step of the pair is refused, so only one
    // order of the two gives the value expected.
    const std::tuple<SDL_Scancode, SDL_Scancode, double Block::*, double, double> pairs[] = {
        {SDL_SCANCODE_I, SDL_SCANCODE_K, &Block::y, 0.0, 0.1},   // at the top edge
        {SDL_SCANCODE_J, SDL_SCANCODE_L, &Block::x, 1.15, 1.12}, // at the far edge, then scrolled
        {SDL_SCANCODE_1, SDL_SCANCODE_2, &Block::w, 0.05, 0.15},
        {SDL_SCANCODE_3, SDL_SCANCODE_4, &Block::h, 0.05, 0.15},
        {SDL_SCANCODE_5, SDL_SCANCODE_6, &Block::glitchOffset, 0.005, 0.105},
    };
    for (const auto& [negative, positive, field, start, after] : pairs) {
        TestGame t;
        GameState = State::Playing;
        debugMode = true;
        t.game.blocks.assign(1, Block(0.5, 0.5, 0.2, 0.05, 0.005, t.canvas.renderer));
        t.game.blocks.back().*field = start;
        t.keys[negative] = t.keys[positive] = 1;
        t.pass(0.3); // a step of 0.1
        EXPECT_NEAR(t.game.blocks.back().*field, after, 1e-9) << negative;
    }
}
