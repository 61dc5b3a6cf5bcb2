// Drawing with the real software renderer: the play frame with its blocks,
// player and score, the glitch copies, the digits and the two screens, each
// compared with pixels worked out by hand.
#include <span>

#include "TestGame.h"
#include "render/Pixels.h"

TEST(PlayFrame, BlocksThenThePlayerOverThemThenTheScoreOnBlack) {
    Canvas canvas(256, 512); // a cell of 1/128 is 2 pixels across and 4 down
    fill(canvas, {0, 0, 256, 512}, kRed);
    // Glitched by nothing, and plain with its outline reaching past the window's right and bottom
    // edges, where the fill stops; the player plain with its outline.
    BlockList blocks{Block(0.25, 0.5, 0.5, 0.125, 0.0, canvas.renderer),
                     Block(0.75, 0.9375, 0.5, 0.125, 0.0, canvas.renderer)};
    blocks.back().glitched = false;
    blocks.back().showHitbox = true;
    Player player(0.25, 0.4375, 1.0 / 128, false, 1.0 / 16, blocks, canvas.renderer);
    player.showHitbox = true;
    renderPlayFrame(blocks, canvas.renderer, player);
    Canvas want(256, 512);
    // The blocks, then the player's head, arms, nose, neck, body, leg and foot.
    std::istringstream boxes("64 256 128 64  192 480 64 32  68 224 2 8  64 232 28 20  92 236 2 4  "
                             "70 252 16 4  68 256 20 40  72 296 4 24  72 320 14 8");
    for (int x, y, w, h; boxes >> x >> y >> w >> h;) {
        fill(want, {x, y, w, h}, kWhite);
    }
    // Pink outlines over the fills, the player's one cell right of its nose; the score 000.
    grid(want,
         "192 480 320 480 192 480 192 544 "
         "64 224 96 224 64 328 96 328 64 224 64 328 96 224 96 328",
         0, 1, 1, kPink);
    for (int left : {58, 108, 158}) {
        grid(want, "0 0 1 0 0 0 0 2 1 0 1 2 0 2 1 2", left, 40, 40);
    }
    EXPECT_TRUE(samePicture(pixels(canvas), pixels(want), 256));
}

TEST(Glitch, TheRedCopyMovesByTheFirstSamplesRightThenDown) {
    // From a seed whose draws, after the first skip, are odd and then 32767 (a sample of exactly
    // +1/16), draws 1 and 2 move the red copy right, 3 and 4 down: 16 pixels from 64.
    for (std::size_t skip = 0; skip <= 2; skip += 2) {
        std::uint32_t seed = 0;
        for (std::array<int, 4> d{};
             seed < 1u << 24 && (d[skip] % 2 == 0 || d[skip + 1] != 32767);) {
            seedRandom(++seed);
            std::ranges::generate(d, randomNumber);
        }
        seedRandom(seed);
        Canvas canvas(256, 256);
        Player player(0.25, 0.25, 1.0 / 128, true, 1.0 / 16, none, canvas.renderer);
        player.render();
        const std::vector<Rgb> drawn = pixels(canvas);
        std::size_t first = drawn.size(); // the first column, or row, with red in it
        for (std::size_t i = 0; i < drawn.size(); ++i) {
            const std::size_t line = skip == 0 ? i % 256 : i / 256;
            if (drawn[i] & kRed) {
                first = std::min(first, line);
            }
        }
        EXPECT_EQ(first, 80u) << "draws " << skip + 1 << " and " << skip + 2;
    }
}

// Debug moves, a player far above the window or a huge window give drawing coordinates beyond
// what a pixel holds, or NaN, where a plain conversion would be undefined behaviour.
TEST(Pixels, TruncateTowardZeroSaturateBeyondThe32BitRangeAndMakeNaNZero) {
    // clang-format off
    const std::pair<double, std::int32_t> cases[] = {
        {12.9, 12}, {-12.9, -12}, {2147483647.9, INT32_MAX}, {2147483648.0, INT32_MAX},
        {-2147483648.9, INT32_MIN}, {-2147483649.0, INT32_MIN}, {-INFINITY, INT32_MIN}, {NAN, 0}};
    // clang-format on
    for (auto [value, pixel] : cases) {
        EXPECT_EQ(toPixel(value), pixel) << value;
    }
}

// A lit and a dark pixel of each letter, each as x, y in a 700 x 700 window: the start screen's
// grid unit is 30 by 77 pixels from the centre 350, the game-over screen's 43 by 77, PAUSED's 25
// by 77, on rows 3 to 6. Row 2.5 falls on 192.5, row 4.5 on 346.5, row 6.5 on 500.5.
using Letter = std::array<int, 4>;
// clang-format off
constexpr Letter pressSpace[] = {
    {95, 192, 95, 134}, {260, 308, 215, 134},    // P R
    {350, 77, 380, 231}, {470, 77, 500, 308},    // E S
    {590, 308, 620, 308}, {140, 539, 140, 616},  // S S
    {215, 500, 215, 442}, {350, 500, 350, 577},  // P A
    {440, 500, 500, 500}, {590, 616, 620, 462}}; // C E
constexpr Letter youDied[] = {
    {178, 308, 178, 77}, {393, 192, 350, 192},   // Y O
    {522, 308, 522, 154}, {135, 500, 92, 500},   // U D
    {264, 500, 221, 500}, {436, 500, 436, 462},  // I E
    {651, 500, 608, 500}};                       // D
constexpr Letter paused[] = {
    {75, 400, 100, 400}, {200, 346, 200, 400},   // P A
    {275, 300, 300, 300}, {400, 231, 400, 300},  // U S
    {500, 462, 500, 400}, {625, 346, 600, 346}}; // E D
// clang-format on

// An empty run's frame, the player in the top left corner, out of the word's way.
static void renderPausedRun(SDL_Renderer* renderer) {
    Player player(0.0, 0.05, playerCellSize, true, 0.0, none, renderer);
    renderPausedScreen({}, renderer, player);
}

TEST(Screens, LightTheirLettersOnTheirBackgroundOnAGridThatScalesWithTheWindow) {
    // Each screen, and a letter of it in a 1001 x 803 window, where the grid units are 43, 62
    // and 35 by 89 pixels from the centre 500 and row 6.5 falls on 578.5: the P of SPACE, the
    // last D of DIED and the P of PAUSED.
    // clang-format off
    const std::tuple<const char*, void (*)(SDL_Renderer*), std::span<const Letter>, Letter, Rgb> screens[] = {
        {"start", renderStartScreen, pressSpace, {306, 578, 306, 511}, kBlack},
        {"game over", renderGameOverScreen, youDied, {934, 578, 872, 578}, kRed},
        {"paused", renderPausedRun, paused, {115, 500, 150, 500}, kBlack}};
    // clang-format on
    for (const auto& [name, render, letters, scaled, background] : screens) {
        for (const bool large : {false, true}) {
            const int width = large ? 1001 : 700;
            const int height = large ? 803 : 700;
            Canvas canvas(width, height);
            fill(canvas, {0, 0, width, height}, kUntouched);
            render(canvas.renderer);
            const std::vector<Rgb> drawn = pixels(canvas);
            for (const Letter& at : large ? std::span<const Letter>(&scaled, 1) : letters) {
                EXPECT_EQ(drawn[std::size_t(at[1] * width + at[0])], kWhite)
                    << name << " lit at " << at[0] << ", " << at[1];
                EXPECT_EQ(drawn[std::size_t(at[3] * width + at[2])], background)
                    << name << " dark at " << at[2] << ", " << at[3];
            }
        }
    }
}

TEST(Score, ShowsTheLastThreeDigitsOrThreeDashesCentredOnTheWindow) {
    // Segments on a grid of 40 pixels: top, upper left, upper right, middle, lower left, lower
    // right, bottom; then which of them each digit and the dash light.
    const char* const segments[] = {"0 0 1 0 ", "0 0 0 1 ", "1 0 1 1 ", "0 1 1 1 ",
                                    "0 1 0 2 ", "1 1 1 2 ", "0 2 1 2 "};
    const char* const glyphs[] = {"1110111", "0010010", "1011101", "1011011", "0111010", "1101011",
                                  "1101111", "1010010", "1111111", "1111011", "0001000"};
    // With 700 the boxes start at 280, 330 and 380; with 1001 at 430, 480 and 530.
    // clang-format off
    const std::tuple<int, int, const char*> cases[] = {
        {105, 700, "105"}, {999, 1001, "999"}, {1234, 700, "234"}, {5678, 1001, "678"}, {-7, 1001, "---"}};
    // clang-format on
    for (auto [score, width, shown] : cases) {
        Canvas got(width, 100);
        renderScore(got.renderer, score);
        Canvas want(width, 100);
        for (int i = 0; i < 3; ++i) {
            const char* const glyph = glyphs[shown[i] == '-' ? 10 : shown[i] - '0'];
            std::string lines;
            for (int s = 0; s < 7; ++s) {
                if (glyph[s] == '1') {
                    lines += segments[s];
                }
            }
            grid(want, lines, width / 2 - 70 + 50 * i, 40, 40);
        }
        EXPECT_TRUE(samePicture(pixels(got), pixels(want), std::size_t(width))) << score;
    }
}
