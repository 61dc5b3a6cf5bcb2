#include "shell/Cues.h"

#include <algorithm>

#include "shell/Game.h"
#include "world/Globals.h"
#include "world/Tuning.h"

namespace {

// By the jumps used since the last block, after the pass: a jump from a
// block uses none, since the pass that jumps still touches the block.
constexpr Sound jumpSounds[] = {Sound::Jump, Sound::AirJump, Sound::SecondAirJump};
constexpr std::int32_t lastJump = std::size(jumpSounds) - 1;

// A jump sets the timer to jumpDuration and the same pass counts it down by
// deltaTime, a value nothing else leaves in it. Two passes of no time in a
// row would find it there already: the count still tells a jump in the air.
// A pass of exactly jumpDuration leaves 0 in a timer at rest, and is heard
// as a jump: the world cannot tell that one apart.
bool jumped(const Before& before, const Player& player) {
    const bool restarted =
        player.jumpTimer == jumpDuration - deltaTime && before.jumpTimer != jumpDuration;
    return restarted || player.jumpCount > before.jumpCount;
}

} // namespace

Before listen(Game& game) {
    game.heard.reset();
    const Player& player = game.player;
    return {GameState, player.score, player.jumpCount, player.jumpTimer};
}

void hear(Game& game, const Before& before) {
    if (game.muted) {
        game.speaker.hush();
        return;
    }
    const Player& player = game.player;
    if (before.state == State::Start && GameState == State::Playing) {
        game.heard.set(static_cast<std::size_t>(Sound::Start));
    }
    if (before.state == State::Playing) {
        if (jumped(before, player)) {
            const Sound jump = jumpSounds[std::clamp(player.jumpCount, 0, lastJump)];
            game.heard.set(static_cast<std::size_t>(jump));
        }
        // Key 9 of debug mode scores too, and is heard as a point.
        if (player.score > before.score) {
            game.heard.set(static_cast<std::size_t>(Sound::Claim));
        }
        if (GameState == State::GameOver) {
            game.heard.set(static_cast<std::size_t>(Sound::Death));
            game.pads.rumble();
        }
    }
    if (game.heard.any()) {
        game.speaker.play(game.heard);
    }
}
