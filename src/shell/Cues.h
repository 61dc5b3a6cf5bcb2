// What a pass did that the player hears. The world knows nothing of sound:
// the shell notes a few of its values before a pass and tells from them,
// after it, what happened (a run begun, a jump and which, a point, a death).
#pragma once

#include <cstdint>

#include "shell/Globals.h"

struct Game;

// The world as a pass found it.
struct Before {
    State state;
    std::uint32_t score;
    std::int32_t jumpCount;
    double jumpTimer;
};

// Notes the world before a pass and forgets what the last pass was heard.
Before listen(Game& game);

// Puts into game.heard the sounds of what happened since before, nothing
// while muted; plays them, shakes the pads on a death and, while muted,
// hushes whatever still plays.
void hear(Game& game, const Before& before);
