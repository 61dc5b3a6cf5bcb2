// One frame of a run: blocks, then the player, then the score on top.
#pragma once

#include <SDL_render.h>

#include "world/BlockList.h"
#include "world/Player.h"

// Takes the blocks by value: drawing writes scratch data into the blocks it
// draws, and that must never reach the world's own list. The copy is
// released when the frame is done.
void renderPlayFrame(BlockList blocks, SDL_Renderer* renderer, Player& player);
// The same frame, not yet presented, for a picture drawn over it.
void drawPlayFrame(BlockList blocks, SDL_Renderer* renderer, Player& player);
