// The play field's blocks, newest first. A doubly linked list of values: it
// knows its length, lets a walk remove blocks as it goes, and copies deeply
// (the play frame draws from a copy made every pass).
#pragma once

#include <list>

#include "world/Block.h"

using BlockList = std::list<Block>;
