// Gamepads, a second way to press the game's keys. Every pad that SDL maps to
// its game controller layout plays from the moment it is plugged in, several
// at once. A button press becomes the key press it stands for, in the pass
// that takes it; the D-pad and the left stick are read as held keys in every
// pass, as the keyboard is. Everything else a pad sends, the hundreds of
// stick and trigger motions a second above all, never takes a pass's event.
#pragma once

#include <array>
#include <vector>

#include <SDL_events.h>
#include <SDL_gamecontroller.h>
#include <SDL_scancode.h>
#include <SDL_stdinc.h>

// A pad's shake on a death: both motors at three quarters for a quarter second.
inline constexpr Uint16 rumbleStrength = 0xC000; // of 0xFFFF
inline constexpr Uint32 rumbleLength = 250;      // milliseconds

// How far the left stick must lean, of its full travel of 32767 either way,
// to hold a direction: a quarter, so a worn stick at rest holds nothing.
inline constexpr Sint16 stickDeadZone = SDL_JOYSTICK_AXIS_MAX / 4;

struct Pads {
    std::vector<SDL_GameController*> open; // in the order they were plugged in
    // The keyboard's held keys with the pads' added, rebuilt in every pass
    // that reads held keys while a pad is open.
    std::array<Uint8, SDL_NUM_SCANCODES> keys{};

    Pads() = default;
    Pads(const Pads&) = delete;
    Pads& operator=(const Pads&) = delete;
    ~Pads();

    // True when the event is a pad's own and is used up here: a pad plugged
    // in is opened, and motions, releases, raw joystick events and unbound
    // buttons end here. A bound button's press is turned into its key's press
    // and left for the pass; so is a pad unplugged, once it is closed.
    bool consume(SDL_Event& event);
    // The held keys of a pass: the keyboard's own array while no pad is open,
    // else the keyboard's keys with every open pad's held directions added.
    const Uint8* heldKeys(const Uint8* keyboard);
    // Shakes every open pad that has motors; the others stay still.
    void rumble();
};

// Polls SDL's queue for the pass's one event, passing over every event the
// pads consume, and takes every pad plugged in from the rest of the queue.
// False when the queue holds no event for the pass.
bool pollPassEvent(Pads& pads, SDL_Event& event);

// Starts SDL's game controller subsystem, after which the passes open every
// pad that is or gets plugged in. Where it cannot start, says why on standard
// error; the game then plays by keys alone.
void startPads();
