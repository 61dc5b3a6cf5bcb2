// Drawing blocks, the player and the play frame with the real software
// renderer. Canvases are 512 wide where a pixel position must come out exact.
#include <algorithm>
#include <bit>
#include <cmath>
#include <iterator>
#include <limits>
#include <vector>

#include "Surface.h"
#include "render/Pixels.h"
#include "render/PlayFrame.h"
#include "world/BlockField.h"
#include "world/Random.h"

namespace {

constexpr double cell = 1.0 / 128; // 4 pixels on a 512 canvas
constexpr std::int32_t lo = std::numeric_limits<std::int32_t>::min(), hi = -(lo + 1);
using Box = std::array<int, 4>;    // an SDL_Rect, printable
using Rects = std::array<int, 12>; // a block's three copies

// Renders with the generator seeded and returns how many numbers that took.
// Whatever draws next must find white and no blending.
template <class Object>
long render(Object& object, std::uint32_t seed = 1) {
    std::vector<int> reference(40);
    seedRandom(seed);
    std::generate(reference.begin(), reference.end(), randomNumber);
    seedRandom(seed);
    object.render();
    Uint8 r, g, b, a;
    SDL_BlendMode mode;
    SDL_GetRenderDrawColor(object.renderer, &r, &g, &b, &a);
    SDL_GetRenderDrawBlendMode(object.renderer, &mode);
    EXPECT_EQ(std::tuple(Rgb{r, g, b}, a, mode), std::tuple(kWhite, 255, SDL_BLENDMODE_NONE));
    return std::find(reference.begin(), reference.end(), randomNumber()) - reference.begin();
}

} // namespace

TEST(Pixels, ToPixelTruncatesInRangeSaturatesBeyondAndMakesNaNZero) {
    const double inf = std::numeric_limits<double>::infinity();
    const std::pair<double, std::int32_t> cases[] = {
        {2.9, 2},           {-2.9, -2},          {-0.5, 0},           {2147483647.9, hi},
        {2147483648.0, hi}, {-2147483648.9, lo}, {-2147483649.0, lo}, {1e12, hi},
        {-1e12, lo},        {inf, hi},           {-inf, lo},          {NAN, 0}};
    for (auto [value, pixel] : cases) {
        EXPECT_EQ(toPixel(value), pixel) << value;
    }
}

TEST(Glitch, UnglitchedOrZeroOffsetCopiesCoincideInPureWhite) {
    Canvas canvas(512, 512);
    BlockList none;
    for (const bool glitched : {false, true}) {
        Block block(0.25, 0.5, 0.5, 0.125, glitched ? 0.0 : 0.01, canvas.renderer());
        Player player(0.25, 0.25, cell, glitched, glitched ? 0.0 : 0.01, none, canvas.renderer());
        block.glitched = glitched;
        canvas.fill(kBlack);
        EXPECT_EQ(render(block), glitched ? 12 : 0);
        EXPECT_EQ(std::bit_cast<Rects>(block.glitchRects),
                  (Rects{128, 256, 256, 64, 128, 256, 256, 64, 128, 256, 256, 64}));
        EXPECT_EQ(canvas.count(kWhite), 256 * 64);
        // The figure has 207 cells of 4 by 4 pixels; its hitbox is 16 by 26 cells from (128, 128).
        canvas.fill(kBlack);
        EXPECT_EQ(render(player), glitched ? 12 : 0);
        EXPECT_EQ(std::tuple(canvas.count(kWhite), canvas.at(184, 140), canvas.at(184, 136)),
                  std::tuple(207 * 16, kWhite, kBlack)); // the nose
        player.showHitbox = true;
        render(player);
        EXPECT_EQ(std::tuple(canvas.count(kPink), canvas.at(192, 180)),
                  std::tuple(2 * 65 + 2 * 105 - 4, kPink));
    }
}

TEST(Glitch, SeededCopiesLandWhereTheirSamplesPutThemAndAddUp) {
    Canvas canvas(256, 256);
    const double offset = 1.0 / 16; // up to 16 pixels
    Block block(0.25, 0.25, 0.5, 0.25, offset, canvas.renderer());
    std::vector<int> n(12);
    seedRandom(5);
    std::generate(n.begin(), n.end(), randomNumber);
    render(block, 5);
    // gx1 gy1 gx2 gy2 gx3 gy3 in pixels, two draws each; an even first draw makes it negative.
    const auto at = [&](int i) {
        return ((n[2 * i + 1] * (n[2 * i] % 2 ? 1.0 : -1.0)) / 32767.0 * offset + 0.25) * 256;
    };
    SDL_Rect copies[3];
    for (int k = 0; k < 3; ++k) {
        const double gx = at(2 * k), gy = at(2 * k + 1);
        copies[k] = {int(gx), int(gy), int(256 * (gx / 256 + 0.5) - gx),
                     int(256 * (gy / 256 + 0.25) - gy)};
    }
    int fringe = 0;
    for (int i = 0; i < 256 * 256; ++i) {
        const SDL_Point p{i % 256, i / 256};
        const auto in = [&](int k) { return Uint8(SDL_PointInRect(&p, &copies[k]) ? 255 : 0); };
        const Rgb want{in(0), in(1), in(2)}; // red, green and blue added up
        ASSERT_EQ(canvas.at(p.x, p.y), want) << p.x << "," << p.y;
        fringe += want == kBlack || want == kWhite ? 0 : 1;
    }
    EXPECT_GT(fringe, 0);
    BlockList none; // the player moves its whole figure by one gx and one dy per pass
    Player player(0.25, 0.25, cell, true, offset, none, canvas.renderer());
    render(player, 5);
    EXPECT_EQ(std::bit_cast<Box>(player.figureRects[1]), (Box{int(at(4)), int(at(5) + 4), 28, 10}));
}

TEST(Glitch, FarEdgesAreClampedButTheHitboxIsNotAndExtremesDrawNothing) {
    Canvas canvas(512, 512);
    SDL_Renderer* const r = canvas.renderer();
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
    EXPECT_EQ(std::tuple(straddling.glitchRects[0].x < 0, canvas.count(kPink), canvas.at(64, 200),
                         canvas.at(0, 128), canvas.at(30, 256)),
              std::tuple(true, 65 + 65 + 129 - 2, kPink, kPink, kPink));
    BlockList none;
    Block broken(NAN, NAN, 0.2, NAN, NAN, r), far(1e12, 0.5, 0.2, 0.05, 0.01, r);
    Player high(0.5, -1e12, cell, true, 0.01, none, r);
    render(broken); // SDL's software renderer still fills one pixel of an empty rectangle
    EXPECT_EQ(std::bit_cast<Rects>(broken.glitchRects), Rects{});
    far.showHitbox = high.showHitbox = true;
    canvas.fill(kBlack);
    render(far);
    render(high);
    EXPECT_EQ(std::tuple(far.glitchRects[2].x, high.figureRects[6].y, canvas.count(kBlack)),
              std::tuple(hi, lo, 512 * 512));
}

TEST(PlayFrame, DrawsBlocksInListOrderThenThePlayerThenTheScoreAndLeavesTheListAlone) {
    Canvas canvas(512, 512);
    SDL_Renderer* const r = canvas.renderer();
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
    const auto fields = [](const Block& b) {
        return std::tuple(b.x, b.y, b.w, b.h, b.glitchOffset, b.glitched, b.isClaimed, b.showHitbox,
                          b.renderer, std::bit_cast<Rects>(b.glitchRects));
    };
    std::vector<decltype(fields(world.front()))> before, after;
    std::transform(world.begin(), world.end(), std::back_inserter(before), fields);
    canvas.fill(kGreen);
    renderPlayFrame(world, r, player);
    std::transform(world.begin(), world.end(), std::back_inserter(after), fields);
    EXPECT_EQ(after, before);
    // Later additive fills turn an outline white, the opaque score covers one; elsewhere pink.
    EXPECT_EQ(
        std::tuple(canvas.at(40, 256), canvas.at(210, 64), canvas.at(226, 32), canvas.at(500, 500)),
        std::tuple(kWhite, kWhite, kWhite, kBlack));
    EXPECT_EQ(std::tuple(canvas.at(100, 256), canvas.at(300, 64), canvas.at(250, 32)),
              std::tuple(kPink, kPink, kPink));
}
