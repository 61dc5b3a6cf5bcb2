#include "world/Globals.h"

#include "world/Random.h"

double deltaTime = 0.0;
double spawnTimer = 0.0;

void resetWorld(std::uint32_t seed) {
    deltaTime = 0.0;
    spawnTimer = 0.0;
    seedRandom(seed);
}
