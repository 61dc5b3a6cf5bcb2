// Drawing into memory with the real SDL: a software renderer on an ARGB8888
// surface, no window and no display. Tests read back exact pixels.
#pragma once

#include <cstdint>
#include <gtest/gtest.h>

#include <SDL.h>

struct Rgb {
    std::uint8_t r;
    std::uint8_t g;
    std::uint8_t b;
    bool operator==(const Rgb&) const = default;
};

inline void PrintTo(const Rgb& c, std::ostream* os) {
    *os << "rgb(" << int(c.r) << "," << int(c.g) << "," << int(c.b) << ")";
}

inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kRed{255, 0, 0};
inline constexpr Rgb kGreen{0, 255, 0};
inline constexpr Rgb kBlue{0, 0, 255};
inline constexpr Rgb kPink{255, 105, 180};

// A software renderer drawing into a surface of the given size. Sets the
// game's windowWidth and windowHeight to match, and puts them back after.
class Canvas {
  public:
    Canvas(int width, int height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    SDL_Renderer* renderer() const { return renderer_; }
    int width() const { return surface_->w; }
    int height() const { return surface_->h; }

    // Flushes the renderer, then reads one pixel.
    Rgb at(int x, int y);
    // Flushes and counts the pixels of one colour.
    int count(Rgb colour);
    // Fills the whole surface with a colour (and flushes), bypassing the game.
    void fill(Rgb colour);

  private:
    Rgb pixel(int x, int y) const; // no flush, no bounds check
    SDL_Surface* surface_;
    SDL_Renderer* renderer_;
    std::int32_t savedWidth_;
    std::int32_t savedHeight_;
};
