// The line-drawn screens and score, compared pixel for pixel with a picture
// the test draws itself from its own copy of the letters and segments.
#include <algorithm>
#include <sstream>
#include <vector>

#include "Surface.h"
#include "render/GameOverScreen.h"
#include "render/Score.h"
#include "render/StartScreen.h"

namespace {

struct Line {
    int x1, y1, x2, y2;
};

// Grid lines a1 b1 a2 b2, letter by letter, left to right, upper row first.
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

// Draws the lines in white on the background into want and counts the pixels
// where got differs.
int compare(Canvas& got, Canvas& want, Rgb background, const std::vector<Line>& lines) {
    SDL_SetRenderDrawColor(want.renderer(), background.r, background.g, background.b, 255);
    SDL_RenderClear(want.renderer());
    SDL_SetRenderDrawColor(want.renderer(), 255, 255, 255, 255);
    for (const Line& l : lines) {
        SDL_RenderDrawLine(want.renderer(), l.x1, l.y1, l.x2, l.y2);
    }
    int differ = 0;
    for (int y = 0; y < got.height(); ++y) {
        for (int x = 0; x < got.width(); ++x) {
            differ += got.at(x, y) == want.at(x, y) ? 0 : 1;
        }
    }
    return differ;
}

} // namespace

TEST(Screens, LightExactlyTheLetterLinesOnTheirBackgroundAtAnySize) {
    auto* const press = &renderStartScreen;
    auto* const died = &renderGameOverScreen;
    // The routine, the window's size, and pixels (x, y) that must be lit: the examples given
    // for the two common sizes, and the text's leftmost, topmost, rightmost and lowest pixels.
    const std::tuple<void (*)(SDL_Renderer*), int, int, std::vector<int>> cases[] = {
        {press, 700, 700, {80, 77, 110, 77, 140, 134, 80, 192, 560, 385, 560, 616, 620, 154}},
        {died, 700, 700, {135, 77, 178, 154, 350, 77, 393, 500, 479, 500, 651, 462, 49, 616}},
        {press, 1001, 803, {113, 89, 156, 89, 887, 178, 887, 712}},
        {died, 1001, 803, {190, 89, 252, 178, 66, 445, 934, 534, 66, 712}},
        // Too narrow or too low for one unit: the letters collapse, nothing fails.
        {press, 22, 100, {11, 11, 11, 88}},
        {died, 15, 9, {7, 1, 7, 8}},
        {died, 700, 8, {49, 0, 651, 0}},
        {press, 5, 5, {2, 0}}};
    for (auto [draw, w, h, examples] : cases) {
        const bool start = draw == press;
        SCOPED_TRACE(testing::Message() << w << "x" << h << (start ? " start" : " game over"));
        const int cx = w / 2, ux = w / (start ? 23 : 16), uy = h / 9;
        std::vector<Line> lines;
        std::istringstream in(start ? pressSpace : youDied);
        for (double a1, b1, a2, b2; in >> a1 >> b1 >> a2 >> b2;) {
            lines.push_back({cx + int(a1) * ux, int(b1 * uy), cx + int(a2) * ux, int(b2 * uy)});
        }
        Canvas got(w, h), want(w, h);
        draw(got.renderer());
        // SDL's lines include both ends: a match lights every endpoint and nothing else.
        EXPECT_EQ(compare(got, want, start ? kBlack : kRed, lines), 0);
        for (std::size_t i = 0; i < examples.size(); i += 2) {
            EXPECT_EQ(got.at(examples[i], examples[i + 1]), kWhite)
                << examples[i] << "," << examples[i + 1];
        }
    }
}

TEST(Score, ShowsTheLastThreeDigitsOrThreeDashesCentredOnTheWindow) {
    // Lit segments: top, upper left, upper right, middle, lower left, lower right, bottom.
    const char* const glyphs[] = {"1110111", "0010010", "1011101", "1011011", "0111010", "1101011",
                                  "1101111", "1010010", "1111111", "1111011", "0001000"};
    // With 700 the boxes start at 280, 330 and 380; with 1001 at 430, 480 and 530.
    const std::tuple<int, int, const char*> cases[] = {
        {0, 700, "000"},    {100, 700, "100"}, {999, 1001, "999"}, {1234, 700, "234"},
        {567, 1001, "567"}, {-7, 1001, "---"}, {8, 100, "008"}};
    for (auto [score, width, shown] : cases) {
        Canvas got(width, 100), want(width, 100);
        renderScore(got.renderer(), score);
        std::vector<Line> lines;
        for (int i = 0, l = width / 2 - 70; i < 3; ++i, l += 50) {
            const Line segments[] = {{l, 0, l + 40, 0},   {l, 0, l, 40},  {l + 40, 0, l + 40, 40},
                                     {l, 40, l + 40, 40}, {l, 40, l, 80}, {l + 40, 40, l + 40, 80},
                                     {l, 80, l + 40, 80}};
            for (int s = 0; s < 7; ++s) {
                if (glyphs[shown[i] == '-' ? 10 : shown[i] - '0'][s] == '1') {
                    lines.push_back(segments[s]);
                }
            }
        }
        EXPECT_EQ(compare(got, want, kBlack, lines), 0) << score;
    }
    Canvas got(100, 100); // any other digit is a dash across the middle
    for (const int digit : {-1, 10, 12345}) {
        renderDigit(got.renderer(), digit, 10, 50, 0, 80);
    }
    EXPECT_EQ(std::pair(got.count(kWhite), got.at(10, 40)), std::pair(41, kWhite));
}
