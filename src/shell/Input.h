// What every input does, in one place: each key press, window event, pad
// unplugged and request to quit, by the situation the game is in, and the
// held keys of a run. A pass looks its one event up here and the main loop
// carries the action out; nothing here writes the game's state. The pads and
// the page's controls only turn their input into keys.
#pragma once

#include <cstdint>
#include <cstdio>

#include <SDL_events.h>
#include <SDL_stdinc.h>

#include "world/BlockList.h"
#include "world/Player.h"

// A paused run is still Playing to the game's state; the pause is the shell's.
enum class Situation : std::uint8_t { Start, Playing, Paused, GameOver };

enum class Action : std::uint8_t {
    None,
    BeginRun,    // from the start screen into the run
    Quit,        // the final score, then the end
    Pause,       // hold the run still under PAUSED
    Resume,      // go on from where the run was held
    Resize,      // take the window's new size
    Redraw,      // draw the paused picture again, which the window lost
    Mute,        // the sound off or on again
    Fullscreen,  // the window to the desktop's full screen or back
    SwitchDebug, // debug mode on or off
    // The run's own, carried out on the world by actOnWorld.
    Jump,
    PlayerHitbox,
    PlayerGlitch,
    DumpPlayer,
    BlockHitboxes,
    BlockGlitches,
    DumpBlocks,
    AddPoint,
    TakePoint,
};

// What the event does in the situation; None for anything no row binds.
Action actionOf(Situation situation, const SDL_Event& event, bool debugMode);

// True when some row of some situation binds the event: one that no
// situation binds can be dropped before it takes a pass.
bool isBound(const SDL_Event& event);

// Carries out the run's own actions on the world; the dumps print to out.
// Any other action is the main loop's and is left alone.
void actOnWorld(Action action, Player& player, BlockList& blocks, std::FILE* out);

// The held keys of a run, read from a keyboard-state array indexed by
// scancode: each one down acts once per pass, by a step scaled by deltaTime.
void applyHeldKeys(const Uint8* keys, Player& player, BlockList& blocks);
