// The length of the previous pass of the main loop, in seconds. The frame
// clock writes it; every time-dependent change of the world is scaled by it.
#pragma once

extern double deltaTime;
