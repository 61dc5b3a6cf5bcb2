// Drawing with the real software renderer: the play frame with its blocks,
// player and score, the glitch copies, the digits and the two screens, each
// compared with pixels worked out by hand.
#include "TestGame.h"

TEST(PlayFrame, BlocksThenThePlayerOverThemThenTheScoreOnBlack) {
    Canvas canvas(256, 512, kRed); // a cell of 1/128 is 2 pixels across and 4 down
    // Glitched by nothing, and plain with its outline; the player plain with its outline.
    BlockList blocks{Block(0.25, 0.5, 0.5, 0.125, 0.0, canvas.renderer),
                     Block(0.5, 0.875, 0.25, 0.0625, 0.0, canvas.renderer)};
    blocks.back().glitched = false;
    blocks.back().showHitbox = true;
    Player player(0.25, 0.4375, 1.0 / 128, false, 1.0 / 16, blocks, canvas.renderer);
    player.showHitbox = true;
    renderPlayFrame(blocks, canvas.renderer, player);
    Canvas want(256, 512);
    // The blocks, then the player's head, arms, nose, neck, body, leg and foot.
    std::istringstream boxes("64 256 128 64  128 448 64 32  68 224 2 8  64 232 28 20  92 236 2 4  "
                             "70 252 16 4  68 256 20 40  72 296 4 24  72 320 14 8");
    for (int x, y, w, h; boxes >> x >> y >> w >> h;) {
        want.rect({x, y, w, h}, kWhite);
    }
    // Pink outlines over the fills, the player's one cell right of its nose; the score 000.
    want.grid("128 448 192 448 128 480 192 480 128 448 128 480 192 448 192 480 "
              "64 224 96 224 64 328 96 328 64 224 64 328 96 224 96 328",
              0, 1, 1, kPink);
    for (int left : {58, 108, 158}) {
        want.grid("0 0 1 0 0 0 0 2 1 0 1 2 0 2 1 2", left, 40, 40);
    }
    EXPECT_TRUE(canvas.pixels() == want.pixels());
}

TEST(Glitch, TheRedCopyMovesByTheFirstSamplesRightThenDown) {
    Canvas canvas(256, 256);
    Player player(0.25, 0.25, 1.0 / 128, true, 1.0 / 16, none, canvas.renderer);
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
        canvas.rect({0, 0, 256, 256}, kBlack);
        player.render();
        const std::vector<Rgb> pixels = canvas.pixels();
        std::size_t first = pixels.size(); // the first column, or row, with red in it
        for (std::size_t i = 0; i < pixels.size(); ++i) {
            first = pixels[i] & kRed ? std::min(first, skip == 0 ? i % 256 : i / 256) : first;
        }
        EXPECT_EQ(first, 80u) << "draws " << skip + 1 << " and " << skip + 2;
    }
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
        Canvas got(w, h);
        (start ? renderStartScreen : renderGameOverScreen)(got.renderer);
        Canvas want(w, h, start ? kBlack : kRed);
        want.grid(start ? pressSpace : youDied, w / 2, w / (start ? 23 : 16), h / 9);
        // SDL's lines include both ends: a match lights every endpoint and nothing else.
        EXPECT_TRUE(got.pixels() == want.pixels()) << w << "x" << h << (start ? " start" : "");
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
            std::string lines;
            for (int s = 0; s < 7; ++s) {
                lines += glyphs[shown[i] == '-' ? 10 : shown[i] - '0'][s] == '1' ? segments[s] : "";
            }
            want.grid(lines, width / 2 - 70 + 50 * i, 40, 40);
        }
        EXPECT_TRUE(got.pixels() == want.pixels()) << score;
    }
}
