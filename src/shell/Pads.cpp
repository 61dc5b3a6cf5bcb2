#include "shell/Pads.h"

#include <algorithm>
#include <cstdio>

#include <SDL.h>

namespace {

// SDL numbers the events of joysticks from 0x600 and those of the game
// controllers made of them from 0x650, up to the touch events at 0x700.
bool isPadEvent(Uint32 type) {
    return type >= SDL_JOYAXISMOTION && type < SDL_FINGERDOWN;
}

// The buttons that press a key, by SDL's layout: A is the south face button
// whatever the pad prints on it (Cross on a PlayStation pad). Start is the
// keyboard's Pause key, which starts a run as Space does and pauses it.
struct PressedKey {
    SDL_GameControllerButton button;
    SDL_Scancode key;
};

constexpr PressedKey pressedKeys[] = {
    {SDL_CONTROLLER_BUTTON_A, SDL_SCANCODE_SPACE},
    {SDL_CONTROLLER_BUTTON_START, SDL_SCANCODE_PAUSE},
    {SDL_CONTROLLER_BUTTON_BACK, SDL_SCANCODE_ESCAPE},
};

// The directions that hold a key: the D-pad's button, or the left stick
// leaning that way past the dead zone.
struct HeldDirection {
    SDL_GameControllerButton dpad;
    int stickSign;
    SDL_Scancode key;
};

constexpr HeldDirection heldDirections[] = {
    {SDL_CONTROLLER_BUTTON_DPAD_LEFT, -1, SDL_SCANCODE_A},
    {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, +1, SDL_SCANCODE_D},
};

// The key a button's press stands for, or none.
SDL_Scancode keyOf(Uint8 button) {
    for (const PressedKey& bound : pressedKeys) {
        if (bound.button == button) {
            return bound.key;
        }
    }
    return SDL_SCANCODE_UNKNOWN;
}

SDL_Event keyDown(SDL_Scancode key, Uint32 timestamp) {
    SDL_Event event{};
    event.key.type = SDL_KEYDOWN;
    event.key.timestamp = timestamp;
    event.key.state = SDL_PRESSED;
    event.key.keysym.scancode = key;
    event.key.keysym.sym = SDL_GetKeyFromScancode(key);
    return event;
}

// A pad SDL cannot open, or one gone again since, is left out. SDL counts
// opens, so a pad announced twice is closed once again.
void plug(std::vector<SDL_GameController*>& open, int deviceIndex) {
    SDL_GameController* pad = SDL_GameControllerOpen(deviceIndex);
    if (pad == nullptr) {
        return;
    }
    if (std::find(open.begin(), open.end(), pad) != open.end()) {
        SDL_GameControllerClose(pad);
    } else {
        open.push_back(pad);
    }
}

// Whatever the pad held is no longer read: it lets go at once.
void unplug(std::vector<SDL_GameController*>& open, SDL_JoystickID gone) {
    for (auto pad = open.begin(); pad != open.end(); ++pad) {
        if (SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(*pad)) == gone) {
            SDL_GameControllerClose(*pad);
            open.erase(pad);
            return;
        }
    }
}

} // namespace

Pads::~Pads() {
    for (SDL_GameController* pad : open) {
        SDL_GameControllerClose(pad);
    }
}

bool Pads::consume(SDL_Event& event) {
    if (!isPadEvent(event.type)) {
        return false;
    }
    if (event.type == SDL_CONTROLLERBUTTONDOWN) {
        const SDL_Scancode key = keyOf(event.cbutton.button);
        if (key != SDL_SCANCODE_UNKNOWN) {
            event = keyDown(key, event.cbutton.timestamp);
            return false;
        }
    } else if (event.type == SDL_CONTROLLERDEVICEADDED) {
        plug(open, event.cdevice.which);
    } else if (event.type == SDL_CONTROLLERDEVICEREMOVED) {
        // Left for the pass too: losing a pad is an input of the game's.
        unplug(open, event.cdevice.which);
        return false;
    }
    return true;
}

const Uint8* Pads::heldKeys(const Uint8* keyboard) {
    if (open.empty()) {
        return keyboard;
    }
    std::copy_n(keyboard, keys.size(), keys.begin());
    for (SDL_GameController* pad : open) {
        const int lean = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX);
        for (const HeldDirection& direction : heldDirections) {
            if (SDL_GameControllerGetButton(pad, direction.dpad) != 0 ||
                direction.stickSign * lean > stickDeadZone) {
                keys[direction.key] = 1;
            }
        }
    }
    return keys.data();
}

void Pads::rumble() {
    for (SDL_GameController* pad : open) {
        SDL_GameControllerRumble(pad, rumbleStrength, rumbleStrength, rumbleLength);
    }
}

bool pollPassEvent(Pads& pads, SDL_Event& event) {
    bool taken = false;
    while (!taken && SDL_PollEvent(&event) == 1) {
        taken = !pads.consume(event);
    }
    // A pad plugged in behind the pass's event plays in this pass, not only
    // once every event before it has had a pass of its own.
    SDL_Event device;
    while (SDL_PeepEvents(&device, 1, SDL_GETEVENT, SDL_CONTROLLERDEVICEADDED,
                          SDL_CONTROLLERDEVICEADDED) == 1) {
        pads.consume(device);
    }
    return taken;
}

void startPads() {
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        std::fprintf(stderr, "Skerrion: gamepads are not available: %s\n", SDL_GetError());
    }
}
