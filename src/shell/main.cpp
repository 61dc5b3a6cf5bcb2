// Skerrion: one process plays one run, then prints the final score.
#include <SDL.h>

#include "shell/Game.h"
#include "shell/posix/StandardStreams.h"

int main(int, char**) {
    openClosedStandardStreams();
    std::unique_ptr<Game> game = startGame();
    if (!game) {
        return 1;
    }
    const Uint8* keys = SDL_GetKeyboardState(nullptr);
    while (runPass(*game, keys) == PassResult::Continue) {
    }
    shutdown(game->window, game->renderer);
}
