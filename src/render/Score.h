// Numbers drawn from straight lines, in the manner of a seven-segment
// display: the game has no font.
#pragma once

#include <cstdint>

#include <SDL_render.h>

// Draws one glyph into the box; any value outside 0..9 is a dash.
void renderDigit(SDL_Renderer* renderer, std::int32_t digit, int left, int right, int top,
                 int bottom);

// The score as three digits at the top centre, leading zeros included; a
// negative score shows three dashes.
void renderScore(SDL_Renderer* renderer, std::int32_t score);
