// The keys of a run. A key press acts once, in the pass that takes its event
// (a key repeat is a new press); a held key acts in every pass while it is
// down, by a step scaled by deltaTime.
#pragma once

#include <cstdio>

#include <SDL_scancode.h>
#include <SDL_stdinc.h>

#include "world/BlockList.h"
#include "world/Player.h"

// Window units per second for every held-key move and adjustment.
inline constexpr double keyMoveSpeed = 1.0 / 3.0;

// The key-press bindings of a run. The dumps print to out.
void handlePlayingKey(SDL_Scancode key, Player& player, BlockList& blocks, std::FILE* out);

// The held-key bindings, read from a keyboard-state array indexed by scancode.
void applyHeldKeys(const Uint8* keys, Player& player, BlockList& blocks);
