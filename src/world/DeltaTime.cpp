#include "world/DeltaTime.h"

double deltaTime = 0.0;
