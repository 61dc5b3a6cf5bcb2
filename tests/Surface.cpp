#include "Surface.h"

#include "render/WindowSize.h"

Canvas::Canvas(int width, int height)
    : surface_(SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ARGB8888)),
      renderer_(nullptr), savedWidth_(windowWidth), savedHeight_(windowHeight) {
    if (surface_ == nullptr) {
        ADD_FAILURE() << "SDL_CreateRGBSurfaceWithFormat: " << SDL_GetError();
        return;
    }
    renderer_ = SDL_CreateSoftwareRenderer(surface_);
    if (renderer_ == nullptr) {
        ADD_FAILURE() << "SDL_CreateSoftwareRenderer: " << SDL_GetError();
    }
    windowWidth = width;
    windowHeight = height;
}

Canvas::~Canvas() {
    SDL_DestroyRenderer(renderer_);
    SDL_FreeSurface(surface_);
    windowWidth = savedWidth_;
    windowHeight = savedHeight_;
}

Rgb Canvas::at(int x, int y) {
    SDL_RenderFlush(renderer_);
    if (x < 0 || y < 0 || x >= surface_->w || y >= surface_->h) {
        ADD_FAILURE() << "pixel (" << x << "," << y << ") outside the surface";
        return kBlack;
    }
    return pixel(x, y);
}

Rgb Canvas::pixel(int x, int y) const {
    const auto* row = static_cast<const std::uint8_t*>(surface_->pixels) + y * surface_->pitch;
    std::uint32_t pixel;
    SDL_memcpy(&pixel, row + x * 4, sizeof pixel);
    return Rgb{static_cast<std::uint8_t>(pixel >> 16), static_cast<std::uint8_t>(pixel >> 8),
               static_cast<std::uint8_t>(pixel)};
}

int Canvas::count(Rgb colour) {
    SDL_RenderFlush(renderer_);
    int n = 0;
    for (int y = 0; y < surface_->h; ++y) {
        for (int x = 0; x < surface_->w; ++x) {
            n += pixel(x, y) == colour ? 1 : 0;
        }
    }
    return n;
}

void Canvas::fill(Rgb colour) {
    SDL_FillRect(surface_, nullptr, SDL_MapRGB(surface_->format, colour.r, colour.g, colour.b));
}
