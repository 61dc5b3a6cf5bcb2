// The screen after a death: YOU DIED in white on red.
#pragma once

#include <SDL_render.h>

void renderGameOverScreen(SDL_Renderer* renderer);
