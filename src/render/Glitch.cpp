#include "render/Glitch.h"

#include <cmath>

#include "render/Colours.h"
#include "render/Globals.h"
#include "render/Pixels.h"
#include "world/Random.h"

double glitchSample(double glitchOffset) {
    const int parity = randomNumber() % 2;
    const int magnitude = randomNumber();
    const double sign = std::pow(-1.0, parity + 1); // even: -1, odd: +1
    return (magnitude * sign) / static_cast<double>(randomMax) * glitchOffset;
}

void drawHitbox(SDL_Renderer* renderer, double x, double y, double w, double h) {
    const double width = windowWidth;
    const double height = windowHeight;
    const int x0 = toPixel(width * x);
    const int y0 = toPixel(height * y);
    const int x1 = toPixel((x + w) * width);
    const int y1 = toPixel((y + h) * height);
    SDL_RenderDrawLine(renderer, x0, y0, x1, y0);
    SDL_RenderDrawLine(renderer, x0, y1, x1, y1);
    SDL_RenderDrawLine(renderer, x0, y0, x0, y1);
    SDL_RenderDrawLine(renderer, x1, y0, x1, y1);
}
