#include "shell/GameState.h"

State GameState = State::Start;
bool debugMode = false;
