// The main loop's states, the keys of a run and every line the game prints,
// driven pass by pass through a whole game drawing into a surface.
#include <regex>

#include "TestGame.h"
#include "shell/Console.h"
#include "shell/FrameClock.h"

using namespace std::literals;

// What has been printed since the last look, with the measured time on each status line as T.
static std::string printed(TestGame& t) {
    return std::regex_replace(t.output(), std::regex("[0-9.]+ sec"), "T sec");
}

TEST(Shell, EachStateFollowsItsTransitionsAndPrintsTheStateItLeftBehind) {
    // No event, a quit, a resize, another window event, keys that exit, start or leave, their
    // key-ups, an unbound key, and what pauses a run: its keys (the Pause key, a pad's Start, acts
    // as Space on the screens), the window lost from sight and a pad unplugged. With each, the
    // state it leads to from Start, Playing, GameOver, Exit and a value that is none of them,
    // which is reported as a signed number; p for a run paused.
    // clang-format off
    const std::pair<SDL_Event, const char*> table[] = {
        {{}, "01233"}, {event(SDL_QUIT), "33333"}, {window(SDL_WINDOWEVENT_RESIZED, 320, 240), "01233"},
        {event(SDL_WINDOWEVENT), "01233"}, {key(SDL_SCANCODE_Q), "33333"}, {event(SDL_KEYUP, SDL_SCANCODE_Q), "01233"},
        {key(SDL_SCANCODE_ESCAPE), "33333"}, {event(SDL_KEYUP, SDL_SCANCODE_SPACE), "01233"},
        {key(SDL_SCANCODE_SPACE), "11333"}, {key(SDL_SCANCODE_X), "01233"}, {key(SDL_SCANCODE_RETURN), "0p233"},
        {key(SDL_SCANCODE_KP_ENTER), "0p233"}, {key(SDL_SCANCODE_P), "0p233"}, {key(SDL_SCANCODE_PAUSE), "1p333"},
        {window(SDL_WINDOWEVENT_FOCUS_LOST), "0p233"}, {window(SDL_WINDOWEVENT_MINIMIZED), "0p233"},
        {window(SDL_WINDOWEVENT_HIDDEN), "0p233"}, {event(SDL_CONTROLLERDEVICEREMOVED), "0p233"}};
    // clang-format on
    const State states[] = {State::Start, State::Playing, State::GameOver, State::Exit, State(~0u)};
    // What each of them prints before the status line, which Exit never prints.
    const std::string leads[] = {"", "", "",
                                 "Your final score is 42." + std::string(73, ' ') + "\n",
                                 "\n=== CRITICAL ERROR ===\nGame reached invalid state \"-1\".\n"
                                 "Exiting program to protect itself.\n======================\n"};
    for (const auto& [e, to] : table) {
        for (std::size_t from = 0; from < std::size(states); ++from) {
            SCOPED_TRACE(testing::Message()
                         << "from state " << std::uint32_t(states[from]) << ", event " << e.type
                         << " " << e.key.keysym.scancode << " " << int(e.window.event));
            TestGame t;
            GameState = states[from];
            t.game.player.score = 42;
            const bool exits = t.pass(dt, e) == PassResult::Exit;
            // The three states draw, but a pass of theirs that takes a resize only takes the
            // size; a Playing pass that asked to exit still updates the world, one that pauses
            // neither updates nor prints.
            const bool resized =
                from < 3 && e.type == SDL_WINDOWEVENT && e.window.event == SDL_WINDOWEVENT_RESIZED;
            const bool paused = to[from] == 'p';
            const bool played = from == 1 && !resized && !paused;
            EXPECT_EQ(exits, from == 3);
            EXPECT_EQ(t.game.paused, paused);
            EXPECT_EQ(GameState, paused ? State::Playing : State(to[from] - '0'));
            EXPECT_EQ(t.pixels()[0] != kUntouched, from < 3 && !resized);
            EXPECT_EQ(t.game.player.y != playerStartY, played);
            EXPECT_EQ(windowWidth, resized ? 320 : 700);
            EXPECT_EQ(windowHeight, resized ? 240 : 700);
            const std::string status = "T sec.\tScore:  42 \tState: "s + to[from] +
                                       " \tBlocks: " + (played ? "2 \tTimer: 3" : "1 \tTimer: 0") +
                                       ".000000 \tDebug: 0\r";
            EXPECT_EQ(printed(t), leads[from] + (from == 3 || resized || paused ? "" : status));
            if (paused) {
                // Held through the window focused again and another key, until its own key or
                // Enter resumes it.
                t.pass(dt, window(SDL_WINDOWEVENT_FOCUS_GAINED));
                t.pass(dt, key(SDL_SCANCODE_X));
                EXPECT_TRUE(t.game.paused);
                EXPECT_EQ(t.output(), "") << "printed while paused";
                EXPECT_EQ(t.game.player.y, playerStartY) << "the player while paused";
                t.pass(dt, e.type == SDL_KEYDOWN ? e : key(SDL_SCANCODE_RETURN));
                EXPECT_FALSE(t.game.paused) << "resumed";
            }
        }
    }
}

TEST(Shell, DumpsPrintThePlayerOrEveryBlockNewestFirstEachEndedByOneNewline) {
    TestGame t;
    GameState = State::Playing;
    debugMode = true;
    spawnTimer = 10.0;
    Block& claimed = t.game.blocks.emplace_front(-0.0125, 0.25, 0.2, 0.05, 0.005, nullptr);
    claimed.isClaimed = true;
    claimed.glitched = false;
    const std::string status =
        "T sec.\tScore:   0 \tState: 1 \tBlocks: 2 \tTimer: 10.000000 \tDebug: 1\r";
    // Nothing moves in no time.
    t.pass(0.0, key(SDL_SCANCODE_Z));
    EXPECT_EQ(printed(t), "(X/Y): (0.500000,0.500000)\n(w/h): (0.080000,0.130000)\nglitched: 1\n"
                          "glitchOffset: 0.005000\nisAlive: 1\nshowHitbox: 0\n" +
                              status);
    t.pass(0.0, key(SDL_SCANCODE_M));
    EXPECT_EQ(printed(t), "(X/Y): (-0.012500,0.250000)\n(w/h): (0.200000,0.050000)\nglitched: 0\n"
                          "glitchOffset: 0.005000\nisClaimed: 1\n(X/Y): (0.000000,0.950000)\n"
                          "(w/h): (1.000000,0.050000)\nglitched: 1\nglitchOffset: 0.005000\n"
                          "isClaimed: 0\n" +
                              status);
}

TEST(Shell, APlayingPassStepsThePlayerFirst) {
    // It looks for blocks before they scroll: this pass brings one to its right edge, 0.58, too
    // late for a point.
    TestGame t;
    GameState = State::Playing;
    spawnTimer = 10.0;
    t.game.blocks.emplace_front(0.585, 0.5, 0.2, 0.05, 0.0, nullptr);
    t.pass(0.1);
    EXPECT_EQ(t.game.player.score, 0u);
    // Its death wins over an exit asked for earlier in the same pass.
    t.game.player.x = 1.5;
    t.pass(dt, key(SDL_SCANCODE_Q));
    EXPECT_EQ(GameState, State::GameOver);
}

// The names of what a pass can change: whether it printed a dump, the debug flag, six fields of
// the player, then seven of each block, the newest first.
const std::string_view fieldNames[] = {"dump", "debugMode", "x", "y", "showHitbox", "glitched",
                                       "score", "jumpCount", "block x", "block y", "block w",
                                       "block h", "block glitchOffset", "block showHitbox",
                                       "block glitched"};
constexpr std::size_t blockFields = 7;

TEST(Shell, KeysActOnceAndDebugKeysOnlyInDebugMode) {
    const auto afterKey = [](SDL_Scancode scancode, bool held, bool debug) {
        TestGame t;
        GameState = State::Playing;
        debugMode = debug;
        spawnTimer = 1.0;
        t.game.blocks.emplace_front(0.5, 0.25, 0.2, 0.05, 0.005, nullptr);
        t.game.player.score = 5;
        t.keys[scancode] = held;
        t.pass(dt, held ? SDL_Event{} : key(scancode));
        const Player& p = t.game.player;
        const bool dumped = printed(t).find('\n') != std::string::npos;
        std::vector<double> fields{
            double(dumped),  double(debugMode),  p.x, p.y, double(p.showHitbox), double(p.glitched),
            double(p.score), double(p.jumpCount)};
        for (const Block& b : t.game.blocks) {
            fields.insert(fields.end(), {b.x, b.y, b.w, b.h, b.glitchOffset, double(b.showHitbox),
                                         double(b.glitched)});
        }
        return fields;
    };
    // Each key by its name, in any mode or only in debug mode, the field it changes (a block
    // field in both blocks) and by how much: a held key by a third of a window a second, a step
    // of 0.004 in a pass; a pressed one by 1, or it switches a flag. X is bound to nothing.
    enum Mode { Any, Debug };
    constexpr double step = 0.004;
    constexpr double switches = NAN;
    // clang-format off
    const std::tuple<const char*, Mode, const char*, double> bindings[] = {
        {"W", Debug, "y", -step}, {"S", Debug, "y", step}, {"A", Any, "x", -step}, {"D", Any, "x", step},
        {"I", Debug, "block y", -step}, {"K", Debug, "block y", step}, {"J", Debug, "block x", -step},
        {"L", Debug, "block x", step}, {"1", Debug, "block w", -step}, {"2", Debug, "block w", step},
        {"3", Debug, "block h", -step}, {"4", Debug, "block h", step}, {"5", Debug, "block glitchOffset", -step},
        {"6", Debug, "block glitchOffset", step}, {"E", Debug, "showHitbox", switches},
        {"R", Debug, "glitched", switches}, {"O", Debug, "block showHitbox", switches},
        {"P", Debug, "block glitched", switches}, {"9", Debug, "score", 1}, {"0", Debug, "score", -1},
        {"M", Debug, "dump", 1}, {"Z", Debug, "dump", 1}, {"Space", Any, "jumpCount", 1},
        {"`", Any, "debugMode", switches}, {"X", Any, "dump", 0}};
    // clang-format on
    // From either mode, so that a switch must work both ways.
    for (const bool debug : {false, true}) {
        const std::vector<double> still = afterKey(SDL_SCANCODE_UNKNOWN, true, debug);
        for (const auto& [name, mode, field, change] : bindings) {
            const SDL_Scancode key = SDL_GetScancodeFromName(name);
            if (key == SDL_SCANCODE_P && !debug) {
                continue; // P pauses the run outside debug mode: the transitions' test
            }
            const std::vector<double> after = afterKey(key, std::abs(change) == step, debug);
            for (std::size_t i = 0; i < still.size(); ++i) {
                const bool floor = i >= std::size(fieldNames);
                const std::string_view fieldName = fieldNames[floor ? i - blockFields : i];
                const bool acts = fieldName == field && (debug || mode == Any);
                const double want = std::isnan(change) ? 1.0 - 2.0 * still[i] : change;
                // A jump may take the player anywhere.
                const bool jumped = key == SDL_SCANCODE_SPACE && (fieldName == "x" || fieldName == "y");
                EXPECT_NEAR(after[i] - still[i], acts ? want : 0.0, jumped ? 1.0 : 1e-12)
                    << name << ", debug " << debug << ": " << fieldName << (floor ? " of the floor" : "");
            }
        }
    }
    // Of a pair held together the negative one acts first: 1 cannot narrow the floor, now 0.004
    // wide, and 2 then widens it.
    TestGame t;
    GameState = State::Playing;
    debugMode = true;
    Block& floor = t.game.blocks.back();
    floor.w = 0.004;
    t.keys[SDL_SCANCODE_1] = 1;
    t.keys[SDL_SCANCODE_2] = 1;
    t.pass();
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
    int width;
    int height;
    SDL_GetWindowSize(game->window, &width, &height);
    EXPECT_STREQ(info.name, "software");
    EXPECT_EQ(width, 700);
    EXPECT_EQ(height, 700);
    EXPECT_STREQ(SDL_GetWindowTitle(game->window), "Skerrion");
    EXPECT_TRUE(SDL_GetWindowFlags(game->window) & SDL_WINDOW_RESIZABLE);
    SDL_DestroyRenderer(game->renderer);
    SDL_DestroyWindow(game->window);
}

// What a web page does when the browser takes its renderer away and gives it back.
TEST(Shell, ANewRendererDrawsEverythingBlocksSpawnedLaterIncluded) {
    TestGame t;
    GameState = State::Playing;
    Canvas fresh(700, 700);
    useRenderer(t.game, fresh.renderer);
    t.pass();    // spawns a block just beyond the right edge
    t.pass(0.5); // brings it 0.05 into the window
    const Block& spawned = t.game.blocks.front();
    EXPECT_EQ(std::ranges::count(t.pixels(), kUntouched), 700 * 700)
        << "old one drew";
    EXPECT_EQ(pixels(fresh)[std::size_t(int((spawned.y + 0.025) * 700) * 700 + 680)], kWhite);
}

// Resets, then plays a run that leaves every piece of process-wide state changed (over, in debug
// mode, resized, mid-countdown, the generator drawn from): what it printed, the measured times
// masked, and every frame it drew.
static std::pair<std::string, std::vector<std::vector<Rgb>>> replay(TestGame& t) {
    const std::int64_t reset = monotonicNanoseconds();
    resetProcessState(7);
    // clang-format off
    const std::pair<SDL_Event, SDL_Scancode> script[] = {
        {{}, {}}, {key(SDL_SCANCODE_SPACE), {}}, {key(SDL_SCANCODE_GRAVE), {}}, {{}, SDL_SCANCODE_L},
        {window(SDL_WINDOWEVENT_RESIZED, 500, 400), {}}, {key(SDL_SCANCODE_M), {}}, {key(SDL_SCANCODE_Z), {}}, {{}, {}}, {{}, {}},
        {{}, SDL_SCANCODE_A}, {{}, SDL_SCANCODE_A}, {{}, SDL_SCANCODE_A}, {{}, {}}};
    // clang-format on
    std::string text;
    std::vector<std::vector<Rgb>> frames;
    for (const auto& [e, held] : script) {
        t.keys.fill(0);
        t.keys[held] = 1;
        t.pass(0.5, e);
        text += t.output();
        frames.push_back(t.pixels());
        if (frames.size() == 1) { // the first pass is timed from the reset
            EXPECT_LE(std::stod(text), double(monotonicNanoseconds() - reset) * 1e-9 + 1e-8);
        }
    }
    return {std::regex_replace(text, std::regex("[0-9.]+ sec"), "T sec"), frames};
}

// After a reset a run must print and draw what it did at the start of the process (ctest gives
// each test a process of its own), from where another run left every piece of process-wide state.
// Both games are made first: a new one sizes the window.
TEST(Shell, AResetLeavesNothingOfARunBehind) {
    std::array<TestGame, 2> games;
    const auto fresh = replay(games[0]);
    const auto [text, frames] = replay(games[1]);
    EXPECT_EQ(text, fresh.first);
    for (std::size_t i = 0; i < frames.size(); ++i) {
        EXPECT_TRUE(samePicture(frames[i], fresh.second[i], 700)) << "pass " << i;
    }
}
