// Drawing with the real software renderer: blocks, the player, the play frame,
// the score and the two screens. Canvases of 256 or 512 pixels keep every
// position in the tests an exact pixel.
#include <bit>
#include <cmath>
#include <limits>
#include <sstream>
#include <string>

#include "Surface.h"
#include "render/Pixels.h"
#include "render/PlayFrame.h"
#include "render/Score.h"
#include "render/Screens.h"
#include "world/BlockField.h"
#include "world/Random.h"

namespace {

constexpr double cell = 1.0 / 128; // 2 pixels on a 256 canvas, 4 on a 512 one
using Box = std::array<int, 4>;    // an SDL_Rect, printable
BlockList none;

// Renders with the generator seeded and returns how many numbers that took.
// Whatever draws next must find white and no blending.
template <class Object>
long render(Object& object, std::uint32_t seed = 1) {
    std::vector<int> reference(40);
    seedRandom(seed);
    std::ranges::generate(reference, randomNumber);
    seedRandom(seed);
    object.render();
    Uint8 r, g, b, a;
    SDL_BlendMode mode;
    SDL_GetRenderDrawColor(object.renderer, &r, &g, &b, &a);
    SDL_GetRenderDrawBlendMode(object.renderer, &mode);
    EXPECT_EQ(std::tuple(r, g, b, a, mode), std::tuple(255, 255, 255, 255, SDL_BLENDMODE_NONE));
    return std::ranges::find(reference, randomNumber()) - reference.begin();
}

// A canvas of the size filled with the background, drawing in white: lines
// drawn into it are the picture a routine should have drawn.
struct Expected : Canvas {
    Expected(int width, int height, Rgb background) : Canvas(width, height) {
        fill(background);
        SDL_SetRenderDrawColor(renderer, 255, 255, 255, 255);
    }
    // Lines "a1 b1 a2 b2 ..." on a grid: the point (a, b) is the pixel (x0 + a * ux, b * uy).
    void grid(const std::string& lines, int x0, int ux, int uy) {
        std::istringstream in(lines);
        for (double a1, b1, a2, b2; in >> a1 >> b1 >> a2 >> b2;) {
            SDL_RenderDrawLine(renderer, x0 + int(a1) * ux, int(b1 * uy), x0 + int(a2) * ux,
                               int(b2 * uy));
        }
    }
};

} // namespace

TEST(Pixels, ToPixelTruncatesInRangeSaturatesBeyondAndMakesNaNZero) {
    constexpr std::int32_t lo = std::numeric_limits<std::int32_t>::min(), hi = -(lo + 1);
    const double inf = std::numeric_limits<double>::infinity();
    const std::pair<double, std::int32_t> cases[] = {
        {2.9, 2},  {-2.9, -2},          {2147483647.9, hi},  {2147483648.0, hi},
        {inf, hi}, {-2147483648.9, lo}, {-2147483649.0, lo}, {-inf, lo},
        {NAN, 0}};
    for (auto [value, pixel] : cases) {
        EXPECT_EQ(toPixel(value), pixel) << value;
    }
}

TEST(Glitch, CopiesLandWhereTheirSamplesPutThemAndAddUp) {
    Canvas canvas(256, 256);
    // Not glitched; glitched with offset 0; glitched with up to 16 pixels.
    for (const auto& [glitchedCase, offsetCase] :
         {std::pair{false, 1.0 / 16}, {true, 0.0}, {true, 1.0 / 16}}) {
        const bool glitched = glitchedCase; // lambdas below capture these
        const double offset = offsetCase;
        SCOPED_TRACE(testing::Message() << glitched << " " << offset);
        std::vector<int> n(12);
        seedRandom(5);
        std::ranges::generate(n, randomNumber);
        // gx1 gy1 gx2 gy2 gx3 gy3 in pixels, two draws each; an even first draw makes it negative.
        const auto at = [&](std::size_t i) {
            const double sample = (n[2 * i + 1] * (n[2 * i] % 2 ? 1.0 : -1.0)) / 32767.0 * offset;
            return ((glitched ? sample : 0.0) + 0.25) * 256;
        };
        Block block(0.25, 0.25, 0.5, 0.25, offset, canvas.renderer);
        block.glitched = glitched;
        canvas.fill(kBlack);
        EXPECT_EQ(render(block, 5), glitched ? 12 : 0);
        // The copies where the samples put them, added up: white where all three overlap.
        Expected want(256, 256, kBlack);
        SDL_SetRenderDrawBlendMode(want.renderer, SDL_BLENDMODE_ADD);
        for (std::size_t k = 0; k < 3; ++k) {
            const double gx = at(2 * k), gy = at(2 * k + 1);
            const SDL_Rect copy{int(gx), int(gy), int(256 * (gx / 256 + 0.5) - gx),
                                int(256 * (gy / 256 + 0.25) - gy)};
            SDL_SetRenderDrawColor(want.renderer, Uint8(k == 0 ? 255 : 0), Uint8(k == 1 ? 255 : 0),
                                   Uint8(k == 2 ? 255 : 0), 255);
            SDL_RenderFillRect(want.renderer, &copy);
        }
        EXPECT_TRUE(canvas.pixels() == want.pixels());
        // Only where the copies part do colours other than white show.
        const bool coincide = !glitched || offset == 0.0;
        EXPECT_EQ(canvas.count(kWhite) + canvas.count(kBlack) == 256 * 256, coincide);
        // The player moves its whole figure by one gx and one dy per copy. The figure has
        // 207 cells of 2 by 2 pixels; the hitbox is 16 by 26 cells from (64, 64).
        Player player(0.25, 0.25, cell, glitched, offset, none, canvas.renderer);
        player.showHitbox = true;
        canvas.fill(kBlack);
        EXPECT_EQ(render(player, 5), glitched ? 12 : 0);
        EXPECT_EQ(std::bit_cast<Box>(player.figureRects[1]),
                  (Box{int(at(4)), int(at(5) + 4), 28, 10}));
        EXPECT_EQ(std::tuple(canvas.count(kPink), canvas.at(96, 90)), std::tuple(168, kPink));
        if (coincide) { // the figure in white but 12 pixels under the outline; the nose
            EXPECT_EQ(std::tuple(canvas.count(kWhite), canvas.at(92, 70), canvas.at(92, 68)),
                      std::tuple(207 * 4 - 12, kWhite, kBlack));
        }
    }
}

TEST(Glitch, OnlyTheFarEdgesAreClampedAndTheHitboxNeither) {
    Canvas canvas(512, 512);
    SDL_Renderer* const r = canvas.renderer;
    Block floor = floorBlock(r), entering(1.0, 0.5, 0.2, 0.05, 0.01, r);
    floor.glitchOffset = 0.1;
    for (std::uint32_t frame = 0; frame < 100; ++frame) {
        render(floor, frame);
        render(entering, frame);
        for (std::size_t k = 0; k < 3; ++k) {
            EXPECT_LE(floor.glitchRects[k].y + floor.glitchRects[k].h, 512);
            EXPECT_LE(std::abs(entering.glitchRects[k].w), 5);
        }
    }
    // A copy keeps its left edge off the window; the outline runs where the block is, not
    // where its copies went: -64..64 by 128..256.
    Block straddling(-0.125, 0.25, 0.25, 0.25, 1.0 / 16, r);
    straddling.showHitbox = true;
    canvas.fill(kBlack);
    render(straddling);
    EXPECT_EQ(std::tuple(straddling.glitchRects[0].x < 0, canvas.count(kPink), canvas.at(0, 128)),
              std::tuple(true, 65 + 65 + 129 - 2, kPink));
}

TEST(PlayFrame, DrawsBlocksInListOrderThenThePlayerThenTheScoreAndLeavesTheListAlone) {
    Canvas canvas(512, 512);
    SDL_Renderer* const r = canvas.renderer;
    // Outlines: the first block's at y 64 crosses the player's body (x 200..239); the second's
    // at y 256 crosses the third block (x 32..95); the player's at y 32 crosses the score.
    BlockList world{Block(0.375, 0.125, 0.25, 0.125, 0.01, r), Block(0.0, 0.5, 0.5, 0.25, 0.01, r),
                    Block(1.0 / 16, 0.4375, 0.125, 0.125, 0.01, r)};
    for (Block& b : world) {
        b.glitched = false;
        b.showHitbox = true;
    }
    Player player(0.375, 0.0625, cell, false, 0.01, world, r);
    player.showHitbox = true;
    canvas.fill(kGreen);
    renderPlayFrame(world, r, player);
    // Drawing writes its scratch rectangles into the frame's own copy only.
    EXPECT_EQ(std::ranges::count_if(world, [](auto& b) { return b.glitchRects[0].w == 0; }), 3);
    // Later additive fills turn an outline white, the opaque score covers one; elsewhere pink.
    EXPECT_EQ(
        std::tuple(canvas.at(40, 256), canvas.at(210, 64), canvas.at(226, 32), canvas.at(500, 500)),
        std::tuple(kWhite, kWhite, kWhite, kBlack));
    EXPECT_EQ(std::tuple(canvas.at(100, 256), canvas.at(300, 64), canvas.at(250, 32)),
              std::tuple(kPink, kPink, kPink));
}

// The screens' letters as grid lines a1 b1 a2 b2, left to right, upper row first.
constexpr const char* pressSpace =
    "-9 1 -8 1 -9 2.5 -8 2.5 -9 1 -9 4 -8 1 -7 1.75 -8 2.5 -7 1.75 "                    // P
    "-5 1 -4 1 -5 2.5 -4 2.5 -5 1 -5 4 -4 1 -3 1.75 -4 2.5 -3 1.75 -4 2.5 -3 4 "        // R
    "-1 1 1 1 -1 2.5 1 2.5 -1 4 1 4 -1 1 -1 4 5 2 4 1 4 1 3 2 3 2 5 3 5 3 4 4 4 4 3 3 " // E S
    "9 2 8 1 8 1 7 2 7 2 9 3 9 3 8 4 8 4 7 3 -7 6 -8 5 -8 5 -9 6 -9 6 -7 7 -7 7 -8 8 -8 8 -9 7 "
    "-5 5 -4 5 -5 6.5 -4 6.5 -4 5 -3 5.75 -4 6.5 -3 5.75 -5 5 -5 8 "                   // P
    "-1 5 1 5 -1 6.5 1 6.5 -1 5 -1 8 1 5 1 8 5 5 4 5 4 5 3 6 3 6 3 7 3 7 4 8 4 8 5 8 " // A C
    "7 5 9 5 7 6.5 9 6.5 7 8 9 8 7 5 7 8";                                             // E
constexpr const char* youDied =
    "-5 1 -4 2 -3 1 -4 2 -4 2 -4 4 0 1 -1 2 0 1 1 2 -1 2 -1 3 1 2 1 3 0 4 -1 3 0 4 1 3 " // Y O
    "3 1 3 3 5 1 5 3 3 3 4 4 5 3 4 4 -7 5 -7 8 -7 5 -6 5 -7 8 -6 8 -6 5 -5 6 -6 8 -5 7 " // U D
    "-5 6 -5 7 -1 5 -3 5 -2 5 -2 8 -1 8 -3 8 1 5 1 8 1 5 3 5 1 8 3 8 1 6.5 3 6.5 "       // D I E
    "5 5 5 8 5 5 6 5 5 8 6 8 6 5 7 6 6 8 7 7 7 6 7 7";                                   // D

TEST(Screens, LightExactlyTheLetterLinesOnTheirBackgroundAtAnySize) {
    // Too narrow or too low for one unit, the letters collapse; nothing fails.
    const std::tuple<bool, int, int> cases[] = {{true, 700, 700},  {false, 700, 700},
                                                {true, 1001, 803}, {false, 1001, 803},
                                                {true, 22, 100},   {false, 700, 8}};
    for (auto [start, w, h] : cases) {
        SCOPED_TRACE(testing::Message() << w << "x" << h << (start ? " start" : " game over"));
        Canvas got(w, h);
        (start ? renderStartScreen : renderGameOverScreen)(got.renderer);
        Expected want(w, h, start ? kBlack : kRed);
        want.grid(start ? pressSpace : youDied, w / 2, w / (start ? 23 : 16), h / 9);
        // SDL's lines include both ends: a match lights every endpoint and nothing else.
        EXPECT_TRUE(got.pixels() == want.pixels());
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
    const std::tuple<int, int, const char*> cases[] = {
        {0, 700, "000"},     {100, 700, "100"}, {999, 1001, "999"}, {1234, 700, "234"},
        {5678, 1001, "678"}, {-7, 1001, "---"}, {5, 700, "005"}};
    for (auto [score, width, shown] : cases) {
        Canvas got(width, 100);
        renderScore(got.renderer, score);
        Expected want(width, 100, kBlack);
        for (int i = 0; i < 3; ++i) {
            std::string lines;
            for (int s = 0; s < 7; ++s) {
                lines += glyphs[shown[i] == '-' ? 10 : shown[i] - '0'][s] == '1' ? segments[s] : "";
            }
            want.grid(lines, width / 2 - 70 + 50 * i, 40, 40);
        }
        EXPECT_TRUE(got.pixels() == want.pixels()) << score;
    }
}
