// The text the debug keys print for a block and for the player: "%f"
// numbers, flags as 0 or 1, no newline at the end (the caller adds one).
#include "debug/Format.h"
#include "world/Block.h"
#include "world/Player.h"

std::string Block::toString() const {
    return formatText(
        "(X/Y): (%f,%f)\n(w/h): (%f,%f)\nglitched: %d\nglitchOffset: %f\nisClaimed: %d", x, y, w, h,
        glitched, glitchOffset, isClaimed);
}

std::string Player::toString() const {
    return formatText("(X/Y): (%f,%f)\n(w/h): (%f,%f)\nglitched: %d\nglitchOffset: %f\nisAlive: "
                      "%d\nshowHitbox: %d",
                      x, y, w, h, glitched, glitchOffset, isAlive, showHitbox);
}
