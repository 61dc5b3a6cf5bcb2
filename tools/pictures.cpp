// Draws the README's pictures with the game's own code, at the window's
// starting size: the start screen, a play frame a few seconds into a seeded
// run and the game-over screen; and the icon, the figure at every size of the
// icon theme. All are saved as BMP files into the given folder.
#include <array>
#include <cmath>
#include <cstdio>
#include <string>

#include <SDL.h>

#include "render/Colours.h"
#include "render/Globals.h"
#include "render/Screens.h"
#include "shell/Game.h"
#include "shell/Globals.h"
#include "shell/Headless.h"
#include "world/Random.h"
#include "world/Tuning.h"

namespace {

constexpr std::uint32_t seed = 7;
constexpr double frameTime = 1.0 / 60.0; // seconds per pass, fixed so every run is the same
constexpr double earliestPicture = 10.0; // seconds into the run, so that blocks fill the window
constexpr double latestPicture = 20.0;
constexpr double aimTolerance = 0.02; // window widths

bool isSpawned(const Block& block) {
    return block.w < 1.0;
}

bool overlapsAcross(const Player& player, const Block& block) {
    return player.x < block.x + block.w && block.x < player.x + player.w;
}

// The newest block that has come far enough into the window to be reached.
const Block* target(const BlockList& blocks) {
    for (const Block& block : blocks) {
        if (isSpawned(block) && block.x + block.w < 0.9) {
            return &block;
        }
    }
    return nullptr;
}

bool standsOnSpawnedBlock(const Game& game) {
    const Player& player = game.player;
    for (const Block& block : game.blocks) {
        const double sunk = player.y + player.h - block.y;
        if (isSpawned(block) && overlapsAcross(player, block) && sunk >= 0.0 && sunk < 0.03 &&
            player.jumpTimer <= 0.0) {
            return true;
        }
    }
    return false;
}

std::size_t blocksInWindow(const BlockList& blocks) {
    std::size_t count = 0;
    for (const Block& block : blocks) {
        count += block.x < 1.0 && block.x + block.w > 0.0 ? 1 : 0;
    }
    return count;
}

void pressSpace() {
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.keysym.scancode = SDL_SCANCODE_SPACE;
    SDL_PushEvent(&event);
}

// A simple pilot: walk under the newest reachable block and jump onto it.
void steer(const Game& game, std::array<Uint8, SDL_NUM_SCANCODES>& keys) {
    keys[SDL_SCANCODE_A] = keys[SDL_SCANCODE_D] = 0;
    const Block* block = target(game.blocks);
    const Player& player = game.player;
    if (block == nullptr) {
        return;
    }
    const double offset = (player.x + player.w / 2) - (block->x + block->w / 2);
    keys[offset < -aimTolerance ? SDL_SCANCODE_D : SDL_SCANCODE_A] =
        offset < -aimTolerance || offset > aimTolerance ? 1 : 0;
    const bool below = player.y + player.h > block->y;
    if (below && overlapsAcross(player, *block) && player.jumpTimer <= 0.0 &&
        player.jumpCount < player.maxJumps) {
        pressSpace();
    }
}

// The icon is the figure alone, glitched, on black. Each size has its own
// cell and glitch displacement, in pixels: at the small sizes the cell is
// wider than high, as the figure's 26 cells of height would not fit at a
// pixel each, and the glitch stays within a pixel or two so that the figure
// still reads.
struct IconLook {
    int size;
    double cellWidth;
    double cellHeight;
    double glitch;
};

// Size, cell width and height, glitch displacement: all in pixels.
constexpr IconLook iconLooks[] = {
    {16, 1.0, 0.6, 0.5}, {22, 1.0, 0.8, 0.5}, {24, 1.0, 0.8, 0.5},  {32, 1.0, 1.0, 0.9},
    {48, 1.5, 1.5, 1.5}, {64, 2.0, 2.0, 2.0}, {128, 4.0, 4.0, 4.0}, {256, 8.0, 8.0, 8.0},
};

constexpr std::uint32_t iconSeed = 3;
constexpr double figureWidthCells = 15.0; // the hitbox's last column stays empty
constexpr double cellsPerWindow = 100.0;  // the figure's cell is a hundredth of the window

// Draws the figure as the game does, into a window whose size is chosen so
// that a cell comes out at the look's size in pixels.
void drawIcon(SDL_Renderer* renderer, const IconLook& look) {
    windowWidth = static_cast<std::int32_t>(std::lround(look.cellWidth * cellsPerWindow));
    windowHeight = static_cast<std::int32_t>(std::lround(look.cellHeight * cellsPerWindow));
    // Whole pixels, so that a glitch under a pixel moves a copy by one pixel
    // or not at all.
    const double left = std::floor((look.size - figureWidthCells * look.cellWidth) / 2.0);
    const double top = std::floor((look.size - playerHeightCells * look.cellHeight) / 2.0);
    BlockList noBlocks;
    Player figure(left / windowWidth, top / windowHeight, 1.0 / cellsPerWindow, true,
                  look.glitch / windowWidth, noBlocks, renderer);
    seedRandom(iconSeed);
    setDrawColour(renderer, black);
    SDL_RenderClear(renderer);
    figure.render();
    windowWidth = windowHeight = initialWindowSize;
}

// Saves what the canvas shows as folder/name.bmp, or says why it could not.
bool save(Canvas& canvas, const std::string& folder, const std::string& name) {
    SDL_RenderFlush(canvas.renderer);
    const std::string path = folder + "/" + name + ".bmp";
    if (SDL_SaveBMP(canvas.surface, path.c_str()) != 0) {
        std::fprintf(stderr, "skerrion_pictures: %s: %s\n", path.c_str(), SDL_GetError());
        return false;
    }
    return true;
}

// The start screen, a play frame of a seeded run and the game-over screen.
bool drawScreens(const std::string& folder) {
    // The status line is not wanted here.
    Headless headless(initialWindowSize, initialWindowSize, seed, std::tmpfile());
    if (!headless.started()) {
        std::fprintf(stderr, "skerrion_pictures: %s\n", SDL_GetError());
        return false;
    }
    Canvas& canvas = headless.canvas;
    const Game& game = headless.game;
    renderStartScreen(canvas.renderer);
    bool saved = save(canvas, folder, "start-screen");

    GameState = State::Playing;
    double time = 0.0;
    while (GameState == State::Playing && time < latestPicture &&
           !(time >= earliestPicture && game.player.score >= 3 && standsOnSpawnedBlock(game) &&
             blocksInWindow(game.blocks) >= 3)) {
        steer(game, headless.keys);
        headless.pass(frameTime);
        time += frameTime;
    }
    std::fprintf(stderr, "play frame after %.2f s: score %u, %zu blocks, state %u\n", time,
                 game.player.score, game.blocks.size(), static_cast<unsigned>(GameState));
    saved = save(canvas, folder, "play-frame") && saved;

    renderGameOverScreen(canvas.renderer);
    return save(canvas, folder, "game-over") && saved;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    bool saved = drawScreens(folder);
    for (const IconLook& look : iconLooks) {
        Canvas canvas(look.size, look.size);
        if (canvas.renderer == nullptr) {
            std::fprintf(stderr, "skerrion_pictures: %s\n", SDL_GetError());
            return 1;
        }
        drawIcon(canvas.renderer, look);
        saved = save(canvas, folder, "icon-" + std::to_string(look.size)) && saved;
    }
    SDL_Quit();
    return saved ? 0 : 1;
}
