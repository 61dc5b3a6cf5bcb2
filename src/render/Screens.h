// The screens drawn from white straight lines on a letter grid that scales
// with the window: PRESS SPACE and YOU DIED outside a run, and PAUSED over
// the play frame a paused run holds still.
#pragma once

#include <SDL_render.h>

#include "world/BlockList.h"
#include "world/Player.h"

// Before a run: PRESS SPACE on black.
void renderStartScreen(SDL_Renderer* renderer);
// After a death: YOU DIED on red.
void renderGameOverScreen(SDL_Renderer* renderer);
// While a run is paused: its play frame, as renderPlayFrame draws it, dimmed,
// with PAUSED over it.
void renderPausedScreen(BlockList blocks, SDL_Renderer* renderer, Player& player);
