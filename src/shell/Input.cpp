#include "shell/Input.h"

#include "shell/Globals.h"
#include "world/Globals.h"

namespace {

template <typename Action>
void forEachBlock(BlockList& blocks, Action action) {
    for (Block& block : blocks) {
        action(block);
    }
}

// Held keys, tested in this order; of a pair held together the negative one
// acts first. Debug rows act only in debug mode.
using PlayerStep = void (Player::*)(double);
using BlockStep = void (Block::*)(double);

struct HeldKey {
    SDL_Scancode key;
    bool debugOnly;
    double sign;
    PlayerStep playerStep; // exactly one of the two is set
    BlockStep blockStep;
};

constexpr HeldKey heldKeys[] = {
    {SDL_SCANCODE_W, true, -1.0, &Player::moveY, nullptr},
    {SDL_SCANCODE_S, true, +1.0, &Player::moveY, nullptr},
    {SDL_SCANCODE_A, false, -1.0, &Player::moveX, nullptr},
    {SDL_SCANCODE_D, false, +1.0, &Player::moveX, nullptr},
    {SDL_SCANCODE_I, true, -1.0, nullptr, &Block::moveY},
    {SDL_SCANCODE_K, true, +1.0, nullptr, &Block::moveY},
    {SDL_SCANCODE_J, true, -1.0, nullptr, &Block::moveX},
    {SDL_SCANCODE_L, true, +1.0, nullptr, &Block::moveX},
    {SDL_SCANCODE_1, true, -1.0, nullptr, &Block::changeWidth},
    {SDL_SCANCODE_2, true, +1.0, nullptr, &Block::changeWidth},
    {SDL_SCANCODE_3, true, -1.0, nullptr, &Block::changeHeight},
    {SDL_SCANCODE_4, true, +1.0, nullptr, &Block::changeHeight},
    {SDL_SCANCODE_5, true, -1.0, nullptr, &Block::changeGlitchOffset},
    {SDL_SCANCODE_6, true, +1.0, nullptr, &Block::changeGlitchOffset},
};

} // namespace

void handlePlayingKey(SDL_Scancode key, Player& player, BlockList& blocks, std::FILE* out) {
    switch (key) {
    case SDL_SCANCODE_Q:
    case SDL_SCANCODE_ESCAPE:
        // The rest of the pass still runs; the next one exits.
        GameState = State::Exit;
        return;
    case SDL_SCANCODE_SPACE:
        player.jump();
        return;
    case SDL_SCANCODE_GRAVE:
        debugMode = !debugMode;
        return;
    default:
        break;
    }
    if (!debugMode) {
        return;
    }
    switch (key) {
    case SDL_SCANCODE_E:
        player.toggleHitbox();
        break;
    case SDL_SCANCODE_M:
        forEachBlock(blocks,
                     [out](Block& block) { std::fprintf(out, "%s\n", block.toString().c_str()); });
        break;
    case SDL_SCANCODE_O:
        forEachBlock(blocks, [](Block& block) { block.toggleHitbox(); });
        break;
    case SDL_SCANCODE_P:
        forEachBlock(blocks, [](Block& block) { block.toggleGlitched(); });
        break;
    case SDL_SCANCODE_R:
        player.toggleGlitched();
        break;
    case SDL_SCANCODE_Z:
        std::fprintf(out, "%s\n", player.toString().c_str());
        break;
    case SDL_SCANCODE_9:
        player.addScore(+1);
        break;
    case SDL_SCANCODE_0:
        player.addScore(-1);
        break;
    default:
        break;
    }
}

void applyHeldKeys(const Uint8* keys, Player& player, BlockList& blocks) {
    for (const HeldKey& held : heldKeys) {
        if (keys[held.key] == 0 || (held.debugOnly && !debugMode)) {
            continue;
        }
        // The step is deltaTime * keyMoveSpeed in that order, then signed.
        const double step = held.sign * (deltaTime * keyMoveSpeed);
        if (held.playerStep != nullptr) {
            (player.*held.playerStep)(step);
        } else {
            forEachBlock(blocks, [&](Block& block) { (block.*held.blockStep)(step); });
        }
    }
}
