// Skerrion in a web page. A page whose script never returns hangs its tab, so
// the browser calls one pass of the game per animation frame instead of a
// loop. What the game prints goes to the page: the status line in place, the
// other lines below it, and the final score beside a button for a new run.
#include <cstdio>
#include <emscripten.h>
#include <iterator>
#include <memory>
#include <string>
#include <sys/types.h>

#include <SDL.h>

#include "shell/Game.h"

// The page's side of the output, in index.html.
EM_JS(void, showStatusLine, (const char* line), { Module.showStatusLine(UTF8ToString(line)); });
EM_JS(void, showLines, (const char* lines), { Module.showLines(UTF8ToString(lines)); });
EM_JS(void, showRunEnd, (const char* finalLines), { Module.showRunEnd(UTF8ToString(finalLines)); });

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
    std::string line;  // the line being written
    std::string lines; // the whole lines written in this pass
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

void pass(void* arg) {
    WebRun& run = *static_cast<WebRun*>(arg);
    const PassResult result = runPass(*run.game, run.keys);
    std::fflush(run.game->out);
    if (result == PassResult::Exit) {
        // The window and renderer stay, so the page keeps the run's last frame.
        emscripten_cancel_main_loop();
        ignore(std::begin(gameEvents), std::end(gameEvents));
        showRunEnd(run.lines.c_str());
    } else if (!run.lines.empty()) {
        showLines(run.lines.c_str());
    }
    run.lines.clear();
}

} // namespace

int main(int, char**) {
    // The browser runs the passes after main has returned.
    static WebRun run;
    run.game = startGame();
    if (!run.game) {
        return 1;
    }
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

    // 0 frames per second: one pass per animation frame, at the display's rate.
    emscripten_set_main_loop_arg(pass, &run, 0, 0);
    return 0;
}
