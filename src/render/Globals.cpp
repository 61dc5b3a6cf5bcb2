#include "render/Globals.h"

std::int32_t windowWidth = initialWindowSize;
std::int32_t windowHeight = initialWindowSize;

void resetRender() {
    windowWidth = initialWindowSize;
    windowHeight = initialWindowSize;
}
