// Skerrion in a web page. A page whose script never returns hangs its tab, so
// the browser calls one pass of the game per animation frame instead of a
// loop. What the game prints goes to the page: the status line in place, the
// other lines below it, and the final score beside a button for a new run.
// The page's script (lifecycle.js) tells the game what phones do to pages:
// hide them, and take their WebGL context away and give it back; sound.js
// starts its sound at the player's first key or touch and holds the mute
// button.
#include <cstddef>
#include <cstdio>
#include <emscripten.h>
#include <iterator>
#include <memory>
#include <string>
#include <sys/types.h>

#include <SDL.h>

#include "shell/FrameClock.h"
#include "shell/Game.h"
#include "shell/Globals.h"
#include "shell/Input.h"

// The page's side of the output, in index.html.
EM_JS(void, showStatusLine, (const char* line), { Module.showStatusLine(UTF8ToString(line)); });
EM_JS(void, showLines, (const char* lines), { Module.showLines(UTF8ToString(lines)); });
EM_JS(void, showRunEnd, (const char* finalLines), { Module.showRunEnd(UTF8ToString(finalLines)); });
// The mute button, and the choice it remembers across loads; a phone's shake.
EM_JS(bool, storedMute, (), { return Module.storedMute(); });
EM_JS(void, showMute, (bool muted), { Module.showMute(!!muted); });
EM_JS(void, vibrate, (), { Module.vibrate(); });

// A page in a frame whose permissions policy forbids gamepads (a game
// portal's, say) throws on navigator.getGamepads, and so would SDL's start of
// its controllers: such a page plays by keys alone.
EM_JS(bool, gamepadsAllowed, (), {
    try {
        navigator.getGamepads();
        return true;
    } catch (error) {
        return false;
    }
});

namespace {

// What a browser delivers that the game never reads. A pass takes one event,
// so at one pass per frame a queue of these would hold back the keys behind it.
constexpr SDL_EventType unusedEvents[] = {
    SDL_MOUSEMOTION,  SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP,   SDL_MOUSEWHEEL, // the pointer
    SDL_FINGERDOWN,   SDL_FINGERUP,        SDL_FINGERMOTION,                    // touches
    SDL_MULTIGESTURE, SDL_DOLLARGESTURE,   SDL_DOLLARRECORD,                    // their gestures
    SDL_TEXTEDITING,  SDL_TEXTINPUT,       SDL_TEXTEDITING_EXT,                 // typed text
};

// Once the run is over nothing takes events any more, so none may queue up.
constexpr SDL_EventType gameEvents[] = {SDL_KEYDOWN, SDL_KEYUP, SDL_QUIT, SDL_WINDOWEVENT};

struct WebRun {
    std::unique_ptr<Game> game;
    const Uint8* keys = nullptr;
    bool hidden = false; // the page is hidden: the game waits
    bool over = false;   // the run has ended and no pass runs any more
    bool shownMute = false; // what the mute button shows
    std::string line;    // the line being written
    std::string lines;   // the whole lines written in this pass
};

// The game's output stream. A status line ends in a carriage return and goes
// to the page at once; other lines wait for the end of the pass, which tells
// whether they are the final score.
ssize_t writeToPage(void* cookie, const char* data, size_t size) {
    WebRun& run = *static_cast<WebRun*>(cookie);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == '\r') {
            showStatusLine(run.line.c_str());
            run.line.clear();
        } else if (data[i] == '\n') {
            run.lines += run.line;
            run.lines += '\n';
            run.line.clear();
        } else {
            run.line += data[i];
        }
    }
    return static_cast<ssize_t>(size);
}

void ignore(const SDL_EventType* first, const SDL_EventType* last) {
    for (; first != last; ++first) {
        SDL_EventState(*first, SDL_IGNORE);
    }
}

// Of the window's events the game reads only some (the page hidden or
// blurred pauses a run); the others (shown, focus gained, the pointer
// entering and leaving) would take passes while keys wait behind them.
int dropUnboundWindowEvents(void*, SDL_Event* event) {
    return event->type != SDL_WINDOWEVENT || isBound(*event) ? 1 : 0;
}

// The canvas's size comes from the page's CSS; the drawing buffer stays the
// window's 700 x 700, so every picture is the desktop's.
constexpr Uint32 fixedWindow = 0;

WebRun run; // the browser runs the passes after main has returned

void pass() {
    // Browsers give a hidden page no animation frames, but a main loop on
    // timeouts would run on; and without a WebGL context nothing can be seen.
    // The game waits until both are back.
    if (run.hidden || run.game->renderer == nullptr) {
        return;
    }
    const PassResult result = runPass(*run.game, run.keys);
    std::fflush(run.game->out);
    // M flips the mute in the game; the button follows. Nothing is heard
    // while muted, so neither does a phone shake then.
    if (run.game->muted != run.shownMute) {
        run.shownMute = run.game->muted;
        showMute(run.shownMute);
    }
    if (run.game->heard.test(static_cast<std::size_t>(Sound::Death))) {
        vibrate();
    }
    if (result == PassResult::Exit) {
        // The window and renderer stay, so the page keeps the run's last frame.
        run.over = true;
        emscripten_cancel_main_loop();
        ignore(std::begin(gameEvents), std::end(gameEvents));
        showRunEnd(run.lines.c_str());
    } else if (!run.lines.empty()) {
        showLines(run.lines.c_str());
    }
    run.lines.clear();
}

} // namespace

// What the page calls, named in lifecycle.js and controls.js.
extern "C" {

// No pass runs while the page is hidden; a key held now would never see its
// release. The releases themselves are dropped: a key-up does nothing, and
// the first pass after the page shows again must take the window's event
// that pauses a run.
EMSCRIPTEN_KEEPALIVE void pageHidden() {
    run.hidden = true;
    // The device plays on in a hidden page: whatever sounds fades out, and
    // nothing sounds again before a pass that makes a sound.
    if (run.game) {
        run.game->speaker.hush();
    }
    SDL_ResetKeyboard();
    SDL_FlushEvent(SDL_KEYUP);
}

// Time hidden must not count as the next pass's frame time.
EMSCRIPTEN_KEEPALIVE void pageShown() {
    run.hidden = false;
    resumeFrameClock();
}

// The renderer's GL objects went with the context. Deleting them now, while
// the context is lost, is silent; after it is back they would be another
// context's. The page keeps the context restorable.
EMSCRIPTEN_KEEPALIVE void contextLost() {
    if (run.game && run.game->renderer != nullptr) {
        SDL_DestroyRenderer(run.game->renderer);
        useRenderer(*run.game, nullptr);
    }
}

EMSCRIPTEN_KEEPALIVE void contextRestored() {
    if (run.game && run.game->renderer == nullptr) {
        useRenderer(*run.game, createRenderer(run.game->window));
        // A paused run, or one that is over, runs no pass that would draw.
        renderPictureAgain(*run.game);
        if (run.over) {
            return;
        }
        // A renderer without vertical sync sets the main loop to run on
        // timeouts, as fast as they come; the passes belong to the frames.
        emscripten_set_main_loop_timing(EM_TIMING_RAF, 1);
        resumeFrameClock();
    }
}

// Browsers let a page start its audio only from the player's key or touch,
// and warn of one that tries before: sound.js calls this from the first. Where
// no device opens, the game plays as ever, silently.
EMSCRIPTEN_KEEPALIVE void startSound() {
    if (run.game && run.game->speaker.device == 0) {
        openSpeaker(run.game->speaker);
    }
}

// The mute button pressed.
EMSCRIPTEN_KEEPALIVE void setMute(bool muted) {
    if (!run.game) {
        return;
    }
    run.shownMute = muted;
    run.game->muted = muted;
    if (muted) {
        // A pass would too, but none runs paused or after the run.
        run.game->speaker.hush();
    }
}

// The page's controls act by it: a tap on the canvas is Space only on the
// start and game-over screens. A paused run is on.
EMSCRIPTEN_KEEPALIVE bool runIsOn() {
    return GameState == State::Playing;
}

} // extern "C"

int main(int, char**) {
    run.game = startGame(fixedWindow);
    if (!run.game) {
        return 1;
    }
    // Before the pads start: setting a filter drops every event queued.
    SDL_SetEventFilter(dropUnboundWindowEvents, nullptr);
    if (gamepadsAllowed()) {
        startPads();
    }
    ignore(std::begin(unusedEvents), std::end(unusedEvents));
    SDL_StopTextInput();
    run.keys = SDL_GetKeyboardState(nullptr);

    cookie_io_functions_t page{};
    page.write = writeToPage;
    std::FILE* out = fopencookie(&run, "w", page);
    if (out == nullptr) {
        return 1;
    }
    run.game->out = out;
    run.game->muted = storedMute();
    run.shownMute = run.game->muted;

    // 0 frames per second: one pass per animation frame, at the display's rate.
    emscripten_set_main_loop(pass, 0, 0);
    return 0;
}
