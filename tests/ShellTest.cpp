// The main loop's states, the keys of a run and every line the game prints,
// driven pass by pass through a whole game drawing into a surface.
#include "TestGame.h"
#include "shell/Console.h"

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
    // No event, a quit, a window event that is not a resize, keys that exit, start or leave,
    // their key-ups and an unbound key; with each, the state it leads to from Start, Playing,
    // GameOver and Exit.
    // clang-format off
    const std::pair<SDL_Event, const char*> table[] = {
        {{}, "0123"}, {event(SDL_QUIT), "3333"}, {event(SDL_WINDOWEVENT), "0123"},
        {event(SDL_KEYDOWN, SDL_SCANCODE_Q), "3333"}, {event(SDL_KEYUP, SDL_SCANCODE_Q), "0123"},
        {event(SDL_KEYDOWN, SDL_SCANCODE_ESCAPE), "3333"}, {event(SDL_KEYUP, SDL_SCANCODE_SPACE), "0123"},
        {event(SDL_KEYDOWN, SDL_SCANCODE_SPACE), "1133"}, {event(SDL_KEYDOWN, SDL_SCANCODE_X), "0123"}};
    // clang-format on
    for (const auto& [e, to] : table) {
        for (const State from : {State::Start, State::Playing, State::GameOver, State::Exit}) {
            TestGame t;
            GameState = from;
            t.game.player.score = 42;
            const bool exits = t.pass(dt, e) == PassResult::Exit;
            // Every pass draws; a Playing pass that asked to exit still updates the world.
            const bool drawn = from != State::Exit, played = from == State::Playing;
            const char state = to[int(from)];
            const std::string line = "T sec.\tScore:  42 \tState: "s + state +
                                     " \tBlocks: " + (played ? "2 \tTimer: 3" : "1 \tTimer: 0") +
                                     ".000000 \tDebug: 0\r";
            const std::string final = "Your final score is 42." + std::string(73, ' ') + "\n";
            EXPECT_EQ(std::tuple(exits, GameState, t.canvas.pixels()[0] == kUntouched,
                                 t.game.player.y != playerStartY, printed(t)),
                      std::tuple(!drawn, State(state - '0'), !drawn, played,
                                 drawn ? Lines("", line) : Lines(final, "")))
                << "state " << int(from) << ", event " << e.type << " " << e.key.keysym.scancode;
        }
    }
}

TEST(Shell, PassesOfARunPrintDumpsTakeResizesKeepTheirOrderAndLetDeathBeatAnExit) {
    TestGame t;
    GameState = State::Playing;
    debugMode = true;
    spawnTimer = 10.0;
    Block& claimed = t.game.blocks.emplace_front(-0.0125, 0.25, 0.2, 0.05, 0.005, nullptr);
    claimed.isClaimed = true;
    claimed.glitched = false;
    // Each dump is followed by one newline, the newest block first. Nothing moves in no time.
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
    // A resize pass only takes the size: nothing moves, nothing is drawn, timed or printed.
    t.canvas.rect({0, 0, 700, 700}, kUntouched);
    SDL_Event resize{.window = {SDL_WINDOWEVENT, 0, 0, SDL_WINDOWEVENT_RESIZED, 0, 0, 0, 320, 240}};
    const std::int64_t stamp = currentFrameTime;
    t.pass(dt, resize);
    EXPECT_EQ(std::tuple(deltaTime, currentFrameTime, windowWidth, windowHeight, t.game.player.y,
                         t.canvas.pixels()[0], t.output()),
              std::tuple(dt, stamp, 320, 240, playerStartY, kUntouched, ""));
    // The next pass's time covers the resize pass. Its scroll brings a block to the player's
    // right edge, 0.58, once the player has looked for blocks: no point.
    t.game.blocks.emplace_front(0.585, 0.5, 0.2, 0.05, 0.0, nullptr);
    t.pass(0.1);
    EXPECT_EQ(std::pair(t.game.player.score, previousFrameTime), std::pair(0u, stamp));
    // Of a pair of held keys the negative one acts first: 1 cannot narrow a block 0.004 wide, 2
    // then widens it.
    Block& narrow = t.game.blocks.front();
    narrow.w = 0.004;
    t.keys[SDL_SCANCODE_1] = t.keys[SDL_SCANCODE_2] = 1;
    t.pass(dt);
    t.keys[SDL_SCANCODE_1] = t.keys[SDL_SCANCODE_2] = 0;
    EXPECT_NEAR(narrow.w, 0.008, 1e-12);
    t.game.player.x = 1.5; // beyond the right edge: death in the pass that asks to exit wins
    t.pass(dt, event(SDL_KEYDOWN, SDL_SCANCODE_Q));
    EXPECT_EQ(GameState, State::GameOver);
    t.output();
    GameState = static_cast<State>(0xFFFFFFFF); // shown as a signed number
    t.pass(dt);
    EXPECT_EQ(printed(t),
              Lines("\n=== CRITICAL ERROR ===\nGame reached invalid state \"-1\".\n"
                    "Exiting program to protect itself.\n======================\n",
                    "T sec.\tScore:   0 \tState: 3 \tBlocks: 3 \tTimer: 9.876000 \tDebug: 1\r"));
}

TEST(Shell, KeysActOnceAndDebugKeysOnlyInDebugMode) {
    // After one pass with the key pressed or held: whether something was printed; the player's
    // x, y, hitbox, glitched, score and jumps; x, y, w, h, glitchOffset, hitbox and glitched of
    // the two blocks, the newest first.
    const auto afterKey = [](SDL_Scancode key, bool held, bool debug) {
        TestGame t;
        GameState = State::Playing;
        debugMode = debug;
        spawnTimer = 1.0;
        t.game.blocks.emplace_front(0.5, 0.25, 0.2, 0.05, 0.005, nullptr);
        t.game.player.score = 5;
        t.keys[key] = held;
        t.pass(dt, held ? SDL_Event{} : event(SDL_KEYDOWN, key));
        const Player& p = t.game.player;
        // clang-format off
        std::vector<double> fields{double(!printed(t).first.empty()), p.x, p.y, double(p.showHitbox),
                                   double(p.glitched), double(p.score), double(p.jumpCount)};
        // clang-format on
        for (const Block& b : t.game.blocks) {
            fields.insert(fields.end(), {b.x, b.y, b.w, b.h, b.glitchOffset, double(b.showHitbox),
                                         double(b.glitched)});
        }
        return fields;
    };
    // Key, held or pressed, for debug mode only or not, the field that changes (from 7 on: of
    // every block), and which way: by the held-key step of 0.004, or by 1.
    std::istringstream table(
        "W h d 2 -  S h d 2 +  A h . 1 -  D h . 1 +  I h d 8 -  K h d 8 +  "
        "J h d 7 -  L h d 7 +  1 h d 9 -  2 h d 9 +  3 h d 10 -  4 h d 10 +  "
        "5 h d 11 -  6 h d 11 +  E p d 3 +  R p d 4 -  9 p d 5 +  0 p d 5 -  "
        "O p d 12 +  P p d 13 -  M p d 0 +  Z p d 0 +  Space p . 6 +  X p . 0 0");
    const std::vector<double> still = afterKey(SDL_SCANCODE_UNKNOWN, true, false);
    std::size_t field;
    for (std::string name, how, only, sign; table >> name >> how >> only >> field >> sign;) {
        const SDL_Scancode key = SDL_GetScancodeFromName(name.c_str());
        const double change = (sign == "-" ? -1 : sign == "+" ? 1 : 0) * (how == "h" ? 0.004 : 1);
        for (const bool debug : {false, true}) {
            const std::vector<double> after = afterKey(key, how == "h", debug);
            for (std::size_t i = 0; i < still.size(); ++i) {
                const bool acts =
                    (i == field || (field >= 7 && i > field && (i - field) % 7 == 0)) &&
                    (debug || only == ".");
                const bool jumped = key == SDL_SCANCODE_SPACE && (i == 1 || i == 2);
                EXPECT_NEAR(after[i] - still[i], acts ? change : 0.0, jumped ? 1 : 1e-12)
                    << name << ", debug " << debug << ", field " << i;
            }
        }
    }
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
                         std::string(SDL_GetWindowTitle(game->window))),
              std::tuple("software", 700, 700, "Skerrion"));
    SDL_DestroyRenderer(game->renderer);
    SDL_DestroyWindow(game->window);
}
