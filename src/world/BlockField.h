// The moving part of the world: every Playing pass scrolls the blocks left,
// culls the ones that have left the window and, on a timer, spawns a new one
// just beyond the right edge at a random height.
#pragma once

#include "world/BlockList.h"

struct SDL_Renderer;

// The block along the whole bottom edge that a run starts on.
Block floorBlock(SDL_Renderer* renderer);

void updateBlocks(BlockList& blocks, SDL_Renderer* renderer);
