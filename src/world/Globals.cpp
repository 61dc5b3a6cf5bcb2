#include "world/Globals.h"

double deltaTime = 0.0;
double spawnTimer = 0.0;
std::uint64_t randomState = 1;
