// The main loop's states, the keys of a run and the console lines, driven pass
// by pass through a whole game drawing into a surface.
#include <algorithm>
#include <regex>
#include <string>
#include <unistd.h>
#include <vector>

#include "TestGame.h"
#include "render/WindowSize.h"
#include "shell/Console.h"
#include "shell/FrameClock.h"
#include "shell/GameState.h"
#include "shell/Input.h"
#include "world/DeltaTime.h"
#include "world/Tuning.h"

namespace {

constexpr double dt = 0.012;         // every pass's deltaTime: a held key then steps 0.004
constexpr Rgb untouched{12, 34, 56}; // a colour the game never draws
constexpr int canvasPixels = 700 * 700;

SDL_Event event(Uint32 type, SDL_Scancode key = SDL_SCANCODE_UNKNOWN) {
    SDL_Event e{};
    e.type = type;
    e.key.keysym.scancode = key;
    return e;
}

// SDL queues a poll sentinel behind an event it delivers and the next poll
// stops at it; drop it so that an event pushed now reaches the next pass.
TestGame& next(TestGame& t) {
    SDL_FlushEvent(SDL_POLLSENTINEL);
    return t;
}

// The time comes from the clock, so only its shape is known.
bool isStatusLine(const std::string& text, State state) {
    return std::regex_match(text,
                            std::regex(R"(\d+\.\d{8} sec\.\tScore: [ \d]{3} \tState: )" +
                                       std::to_string(static_cast<int>(state)) +
                                       R"( \tBlocks: \d+ \tTimer: -?\d+\.\d{6} \tDebug: [01]\r)"));
}

} // namespace

TEST(Shell, EachStateFollowsItsTransitionsAndAResizeOnlyTakesTheSize) {
    using enum State;
    const auto window = [](SDL_WindowEventID id) {
        SDL_Event e = event(SDL_WINDOWEVENT);
        e.window = {SDL_WINDOWEVENT, 0, 0, static_cast<Uint8>(id), 0, 0, 0, 320, 240};
        return e;
    };
    const SDL_Event events[] = {
        event(SDL_FIRSTEVENT), // stands for an empty poll
        event(SDL_QUIT),
        event(SDL_KEYDOWN, SDL_SCANCODE_Q),
        event(SDL_KEYDOWN, SDL_SCANCODE_ESCAPE),
        event(SDL_KEYDOWN, SDL_SCANCODE_SPACE),
        event(SDL_KEYDOWN, SDL_SCANCODE_X),
        event(SDL_KEYUP, SDL_SCANCODE_SPACE),
        event(SDL_KEYUP, SDL_SCANCODE_Q),
        window(SDL_WINDOWEVENT_SIZE_CHANGED), // not a resize: matches nothing
        window(SDL_WINDOWEVENT_RESIZED)};
    const std::pair<State, std::array<State, 10>> table[] = {
        {Start, {Start, Exit, Exit, Exit, Playing, Start, Start, Start, Start, Start}},
        {Playing,
         {Playing, Exit, Exit, Exit, Playing, Playing, Playing, Playing, Playing, Playing}},
        {GameOver,
         {GameOver, Exit, Exit, Exit, Exit, GameOver, GameOver, GameOver, GameOver, GameOver}},
    };
    for (const auto& [from, to] : table) {
        for (std::size_t i = 0; i < std::size(events); ++i) {
            SCOPED_TRACE(testing::Message()
                         << "state " << static_cast<int>(from) << ", event " << i);
            TestGame t;
            GameState = from;
            t.canvas.fill(untouched);
            if (events[i].type != SDL_FIRSTEVENT) {
                t.push(events[i]);
            }
            const std::int64_t lastStamp = currentFrameTime;
            EXPECT_EQ(t.pass(dt), PassResult::Continue);
            EXPECT_EQ(GameState, to[i]);
            // A resize pass takes the size and nothing else: no update, no
            // frame, no timing step, no status line.
            const bool resized = i + 1 == std::size(events);
            const std::string out = t.takeOutput();
            EXPECT_TRUE(resized ? out.empty() : isStatusLine(out, to[i])) << out;
            EXPECT_EQ(t.canvas.count(untouched), resized ? canvasPixels : 0);
            EXPECT_EQ(currentFrameTime == lastStamp && deltaTime == dt, resized);
            EXPECT_EQ(std::pair(windowWidth, windowHeight),
                      resized ? std::pair(320, 240) : std::pair(700, 700));
            // A Playing pass that asked to exit still updates the world.
            EXPECT_EQ(t.game.player.y != playerStartY, from == Playing && !resized);
            EXPECT_EQ(t.game.blocks.size(), from == Playing && !resized ? 2U : 1U);
        }
    }
}

TEST(Shell, DeathBeatsExitAndAnInvalidStateEndsWithTheFinalScore) {
    TestGame t;
    GameState = State::Playing;
    t.game.player.score = 42;
    t.game.player.x = 1.5; // beyond the right edge: this pass's update kills it
    t.pressKey(SDL_SCANCODE_Q);
    t.pass(dt);
    EXPECT_EQ(GameState, State::GameOver) << "death wins over an exit asked in the same pass";
    t.takeOutput();
    GameState = static_cast<State>(7);
    EXPECT_EQ(t.pass(dt), PassResult::Continue);
    const std::string message = "\n=== CRITICAL ERROR ===\nGame reached invalid state \"7\".\n"
                                "Exiting program to protect itself.\n======================\n";
    const std::string out = t.takeOutput();
    EXPECT_EQ(out.substr(0, message.size()), message);
    EXPECT_TRUE(isStatusLine(out.substr(std::min(message.size(), out.size())), State::Exit));
    t.canvas.fill(untouched);
    next(t).pushResize(320, 240); // the Exit pass ignores what it polls
    EXPECT_EQ(t.pass(dt), PassResult::Exit);
    EXPECT_EQ(t.takeOutput(), "Your final score is 42." + std::string(73, ' ') + "\n");
    EXPECT_EQ(t.canvas.count(untouched), canvasPixels);
    EXPECT_EQ(windowWidth, 700);
}

TEST(Shell, StatusLineShowsTheWorldAsThePassLeftIt) {
    TestGame t;
    printStatusLine(t.game.out, {0.01666667, 7, 1, 3, 2.5, true});
    EXPECT_EQ(t.takeOutput(),
              "0.01666667 sec.\tScore:   7 \tState: 1 \tBlocks: 3 \tTimer: 2.500000 \tDebug: 1\r");
    t.pressKey(SDL_SCANCODE_SPACE); // the line already shows Playing
    t.pass(dt);
    t.game.player.score = 7;
    next(t).pressKey(SDL_SCANCODE_GRAVE); // debug on, and this pass spawns a block
    t.pass(dt);
    // The game flushes each line itself, or a terminal would not show it.
    std::string written(200, '\0');
    written.resize(static_cast<std::size_t>(
        std::max(pread(fileno(t.game.out), written.data(), written.size(), 0), ssize_t{0})));
    std::smatch m;
    const std::string out = t.takeOutput();
    EXPECT_EQ(written, out);
    ASSERT_TRUE(std::regex_match(
        out, m,
        std::regex(R"(\d+\.\d{8} sec\.\tScore:   0 \tState: 1 \tBlocks: 1 \tTimer: 0\.000000 )"
                   R"(\tDebug: 0\r(\d+\.\d{8}) sec\.\tScore:   7 \tState: 1 \tBlocks: 2 )"
                   R"(\tTimer: 3\.000000 \tDebug: 1\r)")))
        << out;
    EXPECT_NEAR(std::stod(m[1]), deltaTime, 1e-8) << "the time of this pass, not the one before";
}

namespace {

// One Playing pass, after a first that spawned a block in front of the floor,
// with a key pressed or held. Returns whether a line was printed, the player's
// x, y, hitbox, glitched, score and jumps, then x, y, w, h, glitchOffset,
// hitbox and glitched of every block, newest first.
std::vector<double> afterKey(SDL_Scancode key, bool held, bool debug, bool pressGrave) {
    TestGame t;
    GameState = State::Playing;
    t.pass(dt);
    t.game.player.score = 5;
    debugMode = debug;
    t.takeOutput();
    t.keys[key] = held ? 1 : 0;
    if (pressGrave || !held) {
        t.pressKey(pressGrave ? SDL_SCANCODE_GRAVE : key);
    }
    t.pass(dt);
    const std::string out = t.takeOutput();
    const Player& p = t.game.player;
    std::vector<double> fields{double(out.find('\n') != std::string::npos), p.x, p.y};
    fields.insert(fields.end(),
                  {double(p.showHitbox), double(p.glitched), double(p.score), double(p.jumpCount)});
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

TEST(Shell, DumpKeysPrintThePlayerAndEveryBlockNewestFirst) {
    TestGame t;
    GameState = State::Playing;
    debugMode = true;
    t.pass(dt); // spawns a block in front of the floor
    std::string dumps = t.game.player.toString() + "\n";
    for (const Block& b : t.game.blocks) {
        dumps += b.toString() + "\n";
    }
    t.pressKey(SDL_SCANCODE_Z);
    t.pass(0.0); // nothing moves
    next(t).pressKey(SDL_SCANCODE_M);
    t.pass(0.0);
    // Each dump starts where the status line before it began.
    EXPECT_EQ(std::regex_replace(t.takeOutput(), std::regex("[^\n\r]*\r"), ""), dumps);
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
        Block edge(0.5, 0.5, 0.2, 0.05, 0.005, t.canvas.renderer());
        edge.*field = start;
        t.game.blocks.assign(1, edge);
        t.keys[negative] = t.keys[positive] = 1;
        t.pass(0.3); // a step of 0.1
        EXPECT_NEAR(t.game.blocks.back().*field, after, 1e-9) << negative;
    }
}
