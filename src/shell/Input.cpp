#include "shell/Input.h"

#include <span>

#include "shell/Globals.h"
#include "world/Globals.h"
#include "world/Tuning.h"

namespace {

// Which debug mode a row acts in.
enum class Debug : std::uint8_t { Any, On, Off };

// One input and what it does. code is the scancode of a key press or the
// window event's kind; other events have none. A key press matches a row
// whatever other keys are held, as long as the row's modifier is among them.
struct Row {
    Uint32 type;
    int code;
    Debug debug;
    Uint16 modifier;
    Action action;
};

constexpr Uint16 noModifier = KMOD_NONE;

constexpr Row key(SDL_Scancode key, Action action, Debug debug = Debug::Any,
                  Uint16 modifier = noModifier) {
    return {SDL_KEYDOWN, static_cast<int>(key), debug, modifier, action};
}

constexpr Row window(SDL_WindowEventID kind, Action action) {
    return {SDL_WINDOWEVENT, static_cast<int>(kind), Debug::Any, noModifier, action};
}

constexpr Row event(SDL_EventType type, Action action) {
    return {type, 0, Debug::Any, noModifier, action};
}

// In every situation, looked at first: Alt+Enter is full screen before Enter
// is anything else. M is the blocks' dump in a run in debug mode.
constexpr Row everywhere[] = {
    key(SDL_SCANCODE_Q, Action::Quit),
    key(SDL_SCANCODE_ESCAPE, Action::Quit),
    event(SDL_QUIT, Action::Quit),
    window(SDL_WINDOWEVENT_RESIZED, Action::Resize),
    key(SDL_SCANCODE_M, Action::Mute, Debug::Off),
    key(SDL_SCANCODE_F11, Action::Fullscreen),
    key(SDL_SCANCODE_RETURN, Action::Fullscreen, Debug::Any, static_cast<Uint16>(KMOD_ALT)),
};

// The Pause key is also a pad's Start.
constexpr Row startScreen[] = {
    key(SDL_SCANCODE_SPACE, Action::BeginRun),
    key(SDL_SCANCODE_PAUSE, Action::BeginRun),
};

// P is the blocks' glitch switch in debug mode. A run pauses by itself when
// the player can no longer see it or lost a pad.
constexpr Row playing[] = {
    key(SDL_SCANCODE_SPACE, Action::Jump),
    key(SDL_SCANCODE_GRAVE, Action::SwitchDebug),
    key(SDL_SCANCODE_RETURN, Action::Pause),
    key(SDL_SCANCODE_KP_ENTER, Action::Pause),
    key(SDL_SCANCODE_PAUSE, Action::Pause),
    key(SDL_SCANCODE_P, Action::Pause, Debug::Off),
    window(SDL_WINDOWEVENT_FOCUS_LOST, Action::Pause),
    window(SDL_WINDOWEVENT_MINIMIZED, Action::Pause),
    window(SDL_WINDOWEVENT_HIDDEN, Action::Pause),
    event(SDL_CONTROLLERDEVICEREMOVED, Action::Pause),
    key(SDL_SCANCODE_E, Action::PlayerHitbox, Debug::On),
    key(SDL_SCANCODE_M, Action::DumpBlocks, Debug::On),
    key(SDL_SCANCODE_O, Action::BlockHitboxes, Debug::On),
    key(SDL_SCANCODE_P, Action::BlockGlitches, Debug::On),
    key(SDL_SCANCODE_R, Action::PlayerGlitch, Debug::On),
    key(SDL_SCANCODE_Z, Action::DumpPlayer, Debug::On),
    key(SDL_SCANCODE_9, Action::AddPoint, Debug::On),
    key(SDL_SCANCODE_0, Action::TakePoint, Debug::On),
};

// Only the player resumes; the window shown or focused again does not.
constexpr Row paused[] = {
    key(SDL_SCANCODE_RETURN, Action::Resume),
    key(SDL_SCANCODE_KP_ENTER, Action::Resume),
    key(SDL_SCANCODE_PAUSE, Action::Resume),
    key(SDL_SCANCODE_P, Action::Resume, Debug::Off),
    window(SDL_WINDOWEVENT_EXPOSED, Action::Redraw),
};

// There is no second run: every way on ends the game.
constexpr Row gameOver[] = {
    key(SDL_SCANCODE_SPACE, Action::Quit),
    key(SDL_SCANCODE_PAUSE, Action::Quit),
};

// By Situation.
constexpr std::span<const Row> situations[] = {startScreen, playing, paused, gameOver};

// A key held and repeated by the system presses again, but a switch would
// flip back and forth at the repeat rate.
bool isSwitch(Action action) {
    return action == Action::Pause || action == Action::Resume || action == Action::Mute ||
           action == Action::Fullscreen;
}

bool matchesInput(const Row& row, const SDL_Event& event) {
    if (row.type != event.type) {
        return false;
    }
    if (event.type == SDL_KEYDOWN) {
        return row.code == static_cast<int>(event.key.keysym.scancode);
    }
    if (event.type == SDL_WINDOWEVENT) {
        return row.code == event.window.event;
    }
    return true;
}

bool matches(const Row& row, const SDL_Event& event, bool debugMode) {
    if (!matchesInput(row, event) || (row.debug == Debug::On && !debugMode) ||
        (row.debug == Debug::Off && debugMode)) {
        return false;
    }
    if (event.type != SDL_KEYDOWN) {
        return true;
    }
    return (row.modifier == noModifier || (event.key.keysym.mod & row.modifier) != 0) &&
           (event.key.repeat == 0 || !isSwitch(row.action));
}

template <typename Operation>
void forEachBlock(BlockList& blocks, Operation operation) {
    for (Block& block : blocks) {
        operation(block);
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

Action actionOf(Situation situation, const SDL_Event& event, bool debugMode) {
    for (const std::span<const Row> rows :
         {std::span<const Row>(everywhere), situations[static_cast<std::size_t>(situation)]}) {
        for (const Row& row : rows) {
            if (matches(row, event, debugMode)) {
                return row.action;
            }
        }
    }
    return Action::None;
}

bool isBound(const SDL_Event& event) {
    for (const std::span<const Row> rows :
         {std::span<const Row>(everywhere), std::span<const Row>(startScreen),
          std::span<const Row>(playing), std::span<const Row>(paused),
          std::span<const Row>(gameOver)}) {
        for (const Row& row : rows) {
            if (matchesInput(row, event)) {
                return true;
            }
        }
    }
    return false;
}

void actOnWorld(Action action, Player& player, BlockList& blocks, std::FILE* out) {
    switch (action) {
    case Action::Jump:
        player.jump();
        break;
    case Action::PlayerHitbox:
        player.toggleHitbox();
        break;
    case Action::PlayerGlitch:
        player.toggleGlitched();
        break;
    case Action::DumpPlayer:
        std::fprintf(out, "%s\n", player.toString().c_str());
        break;
    case Action::BlockHitboxes:
        forEachBlock(blocks, [](Block& block) { block.toggleHitbox(); });
        break;
    case Action::BlockGlitches:
        forEachBlock(blocks, [](Block& block) { block.toggleGlitched(); });
        break;
    case Action::DumpBlocks:
        forEachBlock(blocks,
                     [out](Block& block) { std::fprintf(out, "%s\n", block.toString().c_str()); });
        break;
    case Action::AddPoint:
        player.addScore(+1);
        break;
    case Action::TakePoint:
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
