// Skerrion on Windows: the same game, a console program as on Linux. Started
// from Explorer it gets a console of its own, which closes with the process,
// so there it waits for Enter after the final score.
#include <chrono>
#include <cstdio>
#include <windows.h>

#include <SDL.h>

#include "shell/Game.h"

namespace {

// How often the console's width is read again: soon enough to follow a
// resize by hand, without asking the console in each of thousands of passes.
constexpr std::chrono::milliseconds widthCheckInterval{250};

bool isConsole(DWORD standardHandle) {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(standardHandle), &mode) != 0;
}

// The width in columns of the console window standard output shows in, or 0
// when standard output is a file or a pipe.
int consoleColumns() {
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (GetConsoleScreenBufferInfo(GetStdHandle(STD_OUTPUT_HANDLE), &info) == 0) {
        return 0;
    }
    return info.srWindow.Right - info.srWindow.Left + 1;
}

// A console that Windows opened for this process alone: a terminal's console
// also holds the shell, and output to a file or pipe outlives the process.
bool hasConsoleOfItsOwn() {
    DWORD processes[2];
    return GetConsoleProcessList(processes, 2) == 1 && isConsole(STD_OUTPUT_HANDLE) &&
           isConsole(STD_INPUT_HANDLE);
}

void waitForEnter() {
    // Keys typed into the console during the run must not end the wait.
    FlushConsoleInputBuffer(GetStdHandle(STD_INPUT_HANDLE));
    std::fputs("Press Enter to close this window.", stdout);
    std::fflush(stdout);
    int typed = 0;
    while (typed != '\n' && typed != EOF) {
        typed = std::getchar();
    }
}

} // namespace

int main(int, char**) {
    const bool waitsAtExit = hasConsoleOfItsOwn();
    std::unique_ptr<Game> game = startGame();
    if (!game) {
        if (waitsAtExit) {
            waitForEnter();
        }
        return 1;
    }
    startPads();
    openSpeakerInBackground(game->speaker);
    const Uint8* keys = SDL_GetKeyboardState(nullptr);
    game->terminalColumns = consoleColumns();
    auto nextWidthCheck = std::chrono::steady_clock::now() + widthCheckInterval;
    while (runPass(*game, keys) == PassResult::Continue) {
        const auto now = std::chrono::steady_clock::now();
        if (now >= nextWidthCheck) {
            game->terminalColumns = consoleColumns();
            nextWidthCheck = now + widthCheckInterval;
        }
        // A paused game sleeps until something happens; the event stays
        // queued for the next pass.
        if (game->paused) {
            SDL_WaitEvent(nullptr);
        }
    }
    if (waitsAtExit) {
        // The window goes at once; the console stays until Enter.
        SDL_HideWindow(game->window);
        waitForEnter();
    }
    shutdown(game->window, game->renderer);
}
