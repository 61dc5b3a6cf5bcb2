// The game as a whole: the window, the renderer and the world, and one pass
// of the main loop. main() only starts it and runs passes, so a test can run
// the very same passes with events it pushes and keys of its own.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>

#include <SDL_render.h>
#include <SDL_stdinc.h>
#include <SDL_video.h>

#include "shell/Globals.h"
#include "shell/Pads.h"
#include "sound/Sounds.h"
#include "sound/Speaker.h"
#include "world/BlockList.h"
#include "world/Player.h"

struct Game {
    SDL_Window* window;      // null when drawing into a test's surface
    SDL_Renderer* renderer;  // both destroyed only by shutdown
    BlockList blocks;        // the live play field, newest first, the floor last
    Player player;           // refers to blocks
    Pads pads;               // the gamepads plugged in, none at first
    Speaker speaker;         // silent until a front door opens a device
    SoundSet heard;          // the sounds the last pass queued; none while muted
    std::FILE* out = stdout; // status line, dumps and final score
    // The width in columns of the terminal that out writes to, or 0 when out
    // is not a terminal. The front door reads it at start and on a resize.
    int terminalColumns = 0;
    // A paused run is held still: no pass steps, times, prints or draws it
    // but to show it again. GameState stays Playing meanwhile.
    bool paused = false;
    bool muted = false; // the sound is off, by the player's M
    // The state whose picture the last pass drew, and the random generator's
    // state as that picture was begun: the picture can be drawn again, the
    // play frame's glitch with the very same draws.
    State shown = State::Start;
    std::uint64_t shownDraws = 0;

    // The world as a run starts: the floor block and the player above it.
    Game(SDL_Window* window, SDL_Renderer* renderer);
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;
    ~Game();
};

// Starts SDL, opens the window and renderer, seeds the random generator and
// builds the world. On failure says why on standard error and returns null.
// From then on the final score is owed: should the process end before the
// Exit pass prints it (Xlib ends it when the X server goes away), it is
// printed as the process ends, once.
// The desktop's window is resizable; a web page opens it with no flags, since
// its canvas is sized by CSS and a resizable window would take that size as its
// drawing buffer's, changing every picture.
std::unique_ptr<Game> startGame(Uint32 windowFlags = SDL_WINDOW_RESIZABLE);

// An accelerated renderer for the window, without vertical sync, or SDL's
// software renderer where there is none; null if neither can be made.
SDL_Renderer* createRenderer(SDL_Window* window);

// Hands a new renderer to the game and to everything in its world that draws,
// blocks spawned later included, when the old one is gone (a web page whose
// WebGL context the browser took away and gave back). The old one is the
// caller's to destroy.
void useRenderer(Game& game, SDL_Renderer* renderer);

enum class PassResult { Continue, Exit };

// One pass of the main loop: at most one event (the pads' own traffic
// aside), the work of the current state, the timing step and the status
// line; a paused pass only acts on its event. Exit means the final score has
// been printed and the caller must shut down. keys is SDL's keyboard state,
// or a test's array indexed by scancode. It never waits: a front door that
// can waits for an event between passes while the game is paused.
PassResult runPass(Game& game, const Uint8* keys);

// Draws the picture the last pass drew once more, as it was: for a window
// that lost it. The run's random draws go on as if it had not been drawn.
void renderPictureAgain(Game& game);

// Puts every folder's process-wide values back to where a process starts
// them, the generator seeded with seed: for tests and benchmarks, which play
// run after run in one process. The game itself never needs it.
void resetProcessState(std::uint32_t seed);

// Destroys the renderer and the window and ends the process with status 0.
[[noreturn]] void shutdown(SDL_Window* window, SDL_Renderer* renderer);
