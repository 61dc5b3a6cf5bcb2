// Skerrion: one process plays one run, then prints the final score.
#include <SDL.h>

#include "shell/Game.h"
#include "shell/posix/QuietAlsa.h"
#include "shell/posix/StandardStreams.h"
#include "shell/posix/Terminal.h"

int main(int, char**) {
    openClosedStandardStreams();
    std::unique_ptr<Game> game = startGame();
    if (!game) {
        return 1;
    }
    startPads();
    openSpeakerInBackground(game->speaker, quietAlsa);
    // The status line fits the terminal it is printed on, also after a resize.
    watchTerminalResizes();
    game->terminalColumns = standardOutputColumns();
    const Uint8* keys = SDL_GetKeyboardState(nullptr);
    while (runPass(*game, keys) == PassResult::Continue) {
        if (terminalResized()) {
            game->terminalColumns = standardOutputColumns();
        }
        // A paused game sleeps until something happens; the event stays
        // queued for the next pass.
        if (game->paused) {
            SDL_WaitEvent(nullptr);
        }
    }
    shutdown(game->window, game->renderer);
}
