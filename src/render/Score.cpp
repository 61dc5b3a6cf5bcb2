#include "render/Score.h"

#include <span>

#include "render/Colours.h"
#include "render/Globals.h"

namespace {

// The corners of a glyph box: left or right, and top, middle or bottom.
enum Column { L, R };
enum Row { T, M, B };

struct Segment {
    Column x1;
    Row y1;
    Column x2;
    Row y2;
};

// A side lit over its whole height is one line from top to bottom.
constexpr Segment glyph0[] = {{L, T, R, T}, {L, T, L, B}, {R, T, R, B}, {L, B, R, B}};
constexpr Segment glyph1[] = {{R, T, R, B}};
constexpr Segment glyph2[] = {{L, T, R, T}, {L, M, L, B}, {L, M, R, M}, {R, T, R, M}, {L, B, R, B}};
constexpr Segment glyph3[] = {{L, T, R, T}, {L, M, R, M}, {R, T, R, B}, {L, B, R, B}};
constexpr Segment glyph4[] = {{L, T, L, M}, {L, M, R, M}, {R, T, R, B}};
constexpr Segment glyph5[] = {{L, T, R, T}, {L, T, L, M}, {L, M, R, M}, {R, M, R, B}, {L, B, R, B}};
constexpr Segment glyph6[] = {{L, T, R, T}, {L, T, L, B}, {L, M, R, M}, {R, M, R, B}, {L, B, R, B}};
constexpr Segment glyph7[] = {{L, T, R, T}, {R, T, R, B}};
constexpr Segment glyph8[] = {{L, T, R, T}, {L, T, L, B}, {L, M, R, M}, {R, T, R, B}, {L, B, R, B}};
constexpr Segment glyph9[] = {{L, T, R, T}, {L, T, L, M}, {L, M, R, M}, {R, T, R, B}, {L, B, R, B}};
constexpr Segment dash[] = {{L, M, R, M}};

constexpr std::span<const Segment> glyphs[10] = {glyph0, glyph1, glyph2, glyph3, glyph4,
                                                 glyph5, glyph6, glyph7, glyph8, glyph9};

// The score's boxes in pixels, fixed whatever the window's size.
constexpr int digitTop = 0;
constexpr int digitBottom = 80;
constexpr int digitWidth = 40;
constexpr int digitGap = 10;
constexpr int digitCount = 3;
constexpr int scoreHalfWidth = (digitCount * digitWidth + (digitCount - 1) * digitGap) / 2;

} // namespace

void renderDigit(SDL_Renderer* renderer, std::int32_t digit, int left, int right, int top,
                 int bottom) {
    const int middle = top + (bottom - top) / 2;
    const int xs[] = {left, right};
    const int ys[] = {top, middle, bottom};
    const std::span<const Segment> lines = digit >= 0 && digit <= 9 ? glyphs[digit] : dash;

    setDrawColour(renderer, white);
    for (const Segment& line : lines) {
        SDL_RenderDrawLine(renderer, xs[line.x1], ys[line.y1], xs[line.x2], ys[line.y2]);
    }
}

void renderScore(SDL_Renderer* renderer, std::int32_t score) {
    const int cx = windowWidth / 2;
    int divisor = 100;
    for (int position = 0; position < digitCount; ++position) {
        const int left = cx - scoreHalfWidth + position * (digitWidth + digitGap);
        // Any value outside 0..9 draws the dash.
        const std::int32_t digit = score < 0 ? -1 : (score / divisor) % 10;
        renderDigit(renderer, digit, left, left + digitWidth, digitTop, digitBottom);
        divisor /= 10;
    }
}
