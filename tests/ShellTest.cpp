// The main loop's states, the keys of a run and every line the game prints,
// driven pass by pass through a whole game drawing into a surface.
#include <regex>

#include "TestGame.h"
#include "shell/Console.h"
#include "shell/FrameClock.h"

using namespace std::literals;

constexpr double dt = 0.012; // every pass's deltaTime: a held key then steps 0.004
using Lines = std::pair<std::string, std::string>;

// What the last pass printed: the lines before the status line, and the
// status line with its time, which must be the pass's deltaTime, as T.
static Lines printed(TestGame& t) {
    const std::string text = t.output();
    const std::size_t status = text.find_last_of('\n') + 1, time = text.find(" sec.", status);
    if (time == std::string::npos) {
        return {text, ""};
    }
    EXPECT_NEAR(std::stod(text.substr(status, time)), deltaTime, 5e-9) << text;
    return {text.substr(0, status), "T" + text.substr(time)};
}

TEST(Shell, EachStateFollowsItsTransitionsAndPrintsTheStateItLeftBehind) {
    // No event, a quit, a resize, another window event, keys that exit, start or leave, their
    // key-ups and an unbound key; with each, the state it leads to from Start, Playing, GameOver,
    // Exit and a value that is none of them, which is reported as a signed number.
    SDL_Event resize{.window = {SDL_WINDOWEVENT, 0, 0, SDL_WINDOWEVENT_RESIZED, 0, 0, 0, 320, 240}};
    // clang-format off
    const std::pair<SDL_Event, const char*> table[] = {
        {{}, "01233"}, {event(SDL_QUIT), "33333"}, {resize, "01233"}, {event(SDL_WINDOWEVENT), "01233"},
        {event(SDL_KEYDOWN, SDL_SCANCODE_Q), "33333"}, {event(SDL_KEYUP, SDL_SCANCODE_Q), "01233"},
        {event(SDL_KEYDOWN, SDL_SCANCODE_ESCAPE), "33333"}, {event(SDL_KEYUP, SDL_SCANCODE_SPACE), "01233"},
        {event(SDL_KEYDOWN, SDL_SCANCODE_SPACE), "11333"}, {event(SDL_KEYDOWN, SDL_SCANCODE_X), "01233"}};
    const State states[] = {State::Start, State::Playing, State::GameOver, State::Exit, State(~0u)};
    const std::string invalid = "\n=== CRITICAL ERROR ===\nGame reached invalid state \"-1\".\n"
                                "Exiting program to protect itself.\n======================\n";
    // clang-format on
    for (const auto& [e, to] : table) {
        for (std::size_t from = 0; from < std::size(states); ++from) {
            TestGame t;
            GameState = states[from];
            t.game.player.score = 42;
            const bool exits = t.pass(dt, e) == PassResult::Exit;
            // The three states draw, but a pass of theirs that takes a resize only takes the
            // size; a Playing pass that asked to exit still updates the world.
            const bool resized =
                from < 3 && e.type == SDL_WINDOWEVENT && e.window.event == SDL_WINDOWEVENT_RESIZED;
            const bool drawn = from < 3 && !resized, played = from == 1 && !resized;
            const std::string line = "T sec.\tScore:  42 \tState: "s + to[from] +
                                     " \tBlocks: " + (played ? "2 \tTimer: 3" : "1 \tTimer: 0") +
                                     ".000000 \tDebug: 0\r";
            const std::string final = "Your final score is 42." + std::string(73, ' ') + "\n";
            const Lines lines = from == 3 ? Lines(final, "") : Lines(from == 4 ? invalid : "", line);
            EXPECT_EQ(std::tuple(exits, GameState, t.canvas.pixels()[0] == kUntouched,
                                 t.game.player.y != playerStartY, windowWidth, windowHeight, printed(t)),
                      std::tuple(from == 3, State(to[from] - '0'), !drawn, played, resized ? 320 : 700,
                                 resized ? 240 : 700, resized ? Lines() : lines))
                << "state " << std::uint32_t(states[from]) << ", event " << e.type << " "
                << e.key.keysym.scancode;
        }
    }
}

TEST(Shell, DumpsPrintThePlayerOrEveryBlockNewestFirstEachEndedByOneNewline) {
    TestGame t;
    GameState = State::Playing, debugMode = true, spawnTimer = 10.0;
    Block& claimed = t.game.blocks.emplace_front(-0.0125, 0.25, 0.2, 0.05, 0.005, nullptr);
    claimed.isClaimed = true, claimed.glitched = false;
    // Nothing moves in no time.
    t.pass(0.0, event(SDL_KEYDOWN, SDL_SCANCODE_Z));
    EXPECT_EQ(printed(t),
              Lines("(X/Y): (0.500000,0.500000)\n(w/h): (0.080000,0.130000)\n"
                    "glitched: 1\nglitchOffset: 0.005000\nisAlive: 1\nshowHitbox: 0\n",
                    "T sec.\tScore:   0 \tState: 1 \tBlocks: 2 \tTimer: 10.000000 \tDebug: 1\r"));
    t.pass(0.0, event(SDL_KEYDOWN, SDL_SCANCODE_M));
    EXPECT_EQ(printed(t).first,
              "(X/Y): (-0.012500,0.250000)\n(w/h): (0.200000,0.050000)\nglitched: 0\n"
              "glitchOffset: 0.005000\nisClaimed: 1\n(X/Y): (0.000000,0.950000)\n"
              "(w/h): (1.000000,0.050000)\nglitched: 1\nglitchOffset: 0.005000\n"
              "isClaimed: 0\n");
}

TEST(Shell, APlayingPassStepsThePlayerFirst) {
    // It looks for blocks before they scroll: this pass brings one to its right edge, 0.58, too
    // late for a point.
    TestGame t;
    GameState = State::Playing, spawnTimer = 10.0;
    t.game.blocks.emplace_front(0.585, 0.5, 0.2, 0.05, 0.0, nullptr);
    t.pass(0.1);
    // Its death wins over an exit asked for earlier in the same pass.
    t.game.player.x = 1.5;
    t.pass(dt, event(SDL_KEYDOWN, SDL_SCANCODE_Q));
    EXPECT_EQ(std::pair(t.game.player.score, GameState), std::pair(0u, State::GameOver));
}

// What a pass can change: whether it printed, the debug flag, six fields of the player, then
// seven of each block, the newest first.
enum Field : std::size_t { Printed, DebugMode, X, Y, Hitbox, Glitched, Score, Jumps, BlockX, BlockY,
                           BlockW, BlockH, BlockOffset, BlockHitbox, BlockGlitched, BlockFields = 7 };

TEST(Shell, KeysActOnceAndDebugKeysOnlyInDebugMode) {
    const auto afterKey = [](SDL_Scancode key, bool held, bool debug) {
        TestGame t;
        GameState = State::Playing, debugMode = debug, spawnTimer = 1.0;
        t.game.blocks.emplace_front(0.5, 0.25, 0.2, 0.05, 0.005, nullptr);
        t.game.player.score = 5, t.keys[key] = held;
        t.pass(dt, held ? SDL_Event{} : event(SDL_KEYDOWN, key));
        const Player& p = t.game.player;
        std::vector<double> fields{double(!printed(t).first.empty()), double(debugMode), p.x, p.y,
                                   double(p.showHitbox), double(p.glitched), double(p.score),
                                   double(p.jumpCount)};
        for (const Block& b : t.game.blocks) {
            fields.insert(fields.end(), {b.x, b.y, b.w, b.h, b.glitchOffset, double(b.showHitbox),
                                         double(b.glitched)});
        }
        return fields;
    };
    // Each key by its name, held or pressed, in any mode or only in debug mode, the field it
    // changes (a block field in both blocks) and by how much: a held key by a third of a window a
    // second, 0.004 in a pass, a pressed one by 1, or it switches a flag.
    enum How { Held, Pressed };
    enum Mode { Any, Debug };
    constexpr double step = 0.004, switches = NAN;
    // clang-format off
    const std::tuple<const char*, How, Mode, Field, double> bindings[] = {
        {"W", Held, Debug, Y, -step}, {"S", Held, Debug, Y, step}, {"A", Held, Any, X, -step},
        {"D", Held, Any, X, step}, {"I", Held, Debug, BlockY, -step}, {"K", Held, Debug, BlockY, step},
        {"J", Held, Debug, BlockX, -step}, {"L", Held, Debug, BlockX, step}, {"1", Held, Debug, BlockW, -step},
        {"2", Held, Debug, BlockW, step}, {"3", Held, Debug, BlockH, -step}, {"4", Held, Debug, BlockH, step},
        {"5", Held, Debug, BlockOffset, -step}, {"6", Held, Debug, BlockOffset, step},
        {"E", Pressed, Debug, Hitbox, switches}, {"R", Pressed, Debug, Glitched, switches},
        {"O", Pressed, Debug, BlockHitbox, switches}, {"P", Pressed, Debug, BlockGlitched, switches},
        {"9", Pressed, Debug, Score, 1}, {"0", Pressed, Debug, Score, -1}, {"M", Pressed, Debug, Printed, 1},
        {"Z", Pressed, Debug, Printed, 1}, {"Space", Pressed, Any, Jumps, 1},
        {"`", Pressed, Any, DebugMode, switches}, {"X", Pressed, Any, Printed, 0}}; // X: bound to nothing
    // clang-format on
    // From either mode, so that a switch must work both ways.
    for (const bool debug : {false, true}) {
        const std::vector<double> still = afterKey(SDL_SCANCODE_UNKNOWN, true, debug);
        for (const auto& [name, how, mode, field, change] : bindings) {
            const SDL_Scancode key = SDL_GetScancodeFromName(name);
            if (key == SDL_SCANCODE_P && !debug) {
                continue; // P pauses the run outside debug mode: PauseTest.cpp
            }
            const std::vector<double> after = afterKey(key, how == Held, debug);
            for (std::size_t i = 0; i < still.size(); ++i) {
                const bool acts = (i == field || (field >= BlockX && i == field + BlockFields)) &&
                                  (debug || mode == Any);
                const double want = std::isnan(change) ? 1.0 - 2.0 * still[i] : change;
                EXPECT_NEAR(after[i] - still[i], acts ? want : 0.0,
                            key == SDL_SCANCODE_SPACE && (i == X || i == Y) ? 1 : 1e-12)
                    << name << ", debug " << debug << ", field " << i;
            }
        }
    }
    // Of a pair held together the negative one acts first: 1 cannot narrow the floor, now 0.004
    // wide, and 2 then widens it.
    TestGame t;
    GameState = State::Playing, debugMode = true;
    Block& floor = t.game.blocks.back();
    floor.w = 0.004, t.keys[SDL_SCANCODE_1] = t.keys[SDL_SCANCODE_2] = 1;
    t.pass(dt);
    EXPECT_NEAR(floor.w, 0.008, 1e-12);
}

// The status line and then the final score, as a run ends, on a terminal of
// each width and off a terminal (width 0), where they must stay byte for byte
// what scripts already read.
TEST(Console, OnATerminalBothLinesFitOneRowAndOffOneTheyStayWhole) {
    // On a terminal the line fills the row but its last column, each tab written as blanks up
    // to the next multiple of 8.
    const std::string timer =
        "0.00012345 sec. Score:   7      State: 1        Blocks: 12      Timer: 2.50000";
    // Columns, the status line, the blanks after "Your final score is 7.".
    // clang-format off
    const std::tuple<int, std::string, std::size_t> table[] = {
        {0, "0.00012345 sec.\tScore:   7 \tState: 1 \tBlocks: 12 \tTimer: 2.500000 \tDebug: 1\r", 73},
        {100, timer + "0         Debug: 1   \r", 77}, {97, timer + "0         Debug: 1\r", 74},
        {96, timer + "0         Debug: \r", 73}, {88, timer + "0        \r", 65}, {80, timer + "0\r", 57},
        {79, timer + "\r", 56}, {40, "0.00012345 sec. Score:   7      State: \r", 17},
        {20, "0.00012345 sec. Sco\r", 0}, {1, "\r", 0}};
    // clang-format on
    for (const auto& [columns, status, blanks] : table) {
        TestGame t;
        printStatusLine(t.game.out, {0.00012345, 7, 1, 12, 2.5, true}, columns);
        printFinalScore(t.game.out, 7, columns);
        std::fflush(t.game.out);
        EXPECT_EQ(t.output(), status + "Your final score is 7." + std::string(blanks, ' ') + "\n")
            << columns << " columns";
    }
}

TEST(Shell, OpensSkerrionAt700By700DrawingInSoftwareWhereThereIsNoAcceleratedRenderer) {
    resetProcessState(1);
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "dummy");
    const std::unique_ptr<Game> game = startGame();
    ASSERT_NE(game, nullptr);
    SDL_RendererInfo info;
    SDL_GetRendererInfo(game->renderer, &info);
    int width, height;
    SDL_GetWindowSize(game->window, &width, &height);
    EXPECT_EQ(std::tuple(std::string(info.name), width, height,
                         std::string(SDL_GetWindowTitle(game->window)),
                         (SDL_GetWindowFlags(game->window) & SDL_WINDOW_RESIZABLE) != 0),
              std::tuple("software", 700, 700, "Skerrion", true));
    SDL_DestroyRenderer(game->renderer);
    SDL_DestroyWindow(game->window);
}

// What a web page does when the browser takes its renderer away and gives it back.
TEST(Shell, ANewRendererDrawsEverythingBlocksSpawnedLaterIncluded) {
    TestGame t;
    GameState = State::Playing;
    Canvas fresh(700, 700, kUntouched);
    useRenderer(t.game, fresh.renderer);
    t.pass(dt);  // spawns a block just beyond the right edge
    t.pass(0.5); // brings it 0.05 into the window
    const Block& spawned = t.game.blocks.front();
    EXPECT_EQ(std::ranges::count(t.canvas.pixels(), kUntouched), 700 * 700) << "old one drew";
    EXPECT_EQ(fresh.pixels()[std::size_t(int((spawned.y + 0.025) * 700) * 700 + 680)], kWhite);
}

// Resets, then plays a run that leaves every piece of process-wide state changed (over, in debug
// mode, resized, mid-countdown, the generator drawn from): what it printed, the measured times
// masked, and every frame it drew.
static std::pair<std::string, std::vector<std::vector<Rgb>>> replay(TestGame& t) {
    const std::int64_t reset = monotonicNanoseconds();
    resetProcessState(7);
    const auto key = [](SDL_Scancode k) { return event(SDL_KEYDOWN, k); };
    SDL_Event resize{.window = {SDL_WINDOWEVENT, 0, 0, SDL_WINDOWEVENT_RESIZED, 0, 0, 0, 500, 400}};
    // clang-format off
    const std::pair<SDL_Event, SDL_Scancode> script[] = {
        {{}, {}}, {key(SDL_SCANCODE_SPACE), {}}, {key(SDL_SCANCODE_GRAVE), {}}, {{}, SDL_SCANCODE_L},
        {resize, {}}, {key(SDL_SCANCODE_M), {}}, {key(SDL_SCANCODE_Z), {}}, {{}, {}}, {{}, {}},
        {{}, SDL_SCANCODE_A}, {{}, SDL_SCANCODE_A}, {{}, SDL_SCANCODE_A}, {{}, {}}};
    // clang-format on
    std::string printed;
    std::vector<std::vector<Rgb>> frames;
    for (const auto& [e, held] : script) {
        t.keys.fill(0), t.keys[held] = 1;
        t.pass(0.5, e);
        printed += t.output();
        frames.push_back(t.canvas.pixels());
        if (frames.size() == 1) { // the first pass is timed from the reset
            EXPECT_LE(std::stod(printed), double(monotonicNanoseconds() - reset) * 1e-9 + 1e-8);
        }
    }
    return {std::regex_replace(printed, std::regex("[0-9.]+ sec"), "T sec"), frames};
}

// After a reset a run must print and draw what it did at the start of the process (ctest gives
// each test a process of its own), from where another run left every piece of process-wide state.
// Both games are made first: a new one sizes the window.
TEST(Shell, AResetLeavesNothingOfARunBehind) {
    std::array<TestGame, 2> games;
    const auto fresh = replay(games[0]);
    const auto [printed, frames] = replay(games[1]);
    EXPECT_EQ(printed, fresh.first);
    for (std::size_t i = 0; i < frames.size(); ++i) {
        EXPECT_TRUE(samePicture(frames[i], fresh.second[i], 700)) << "pass " << i;
    }
}
