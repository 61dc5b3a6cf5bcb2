// The world's tuning values. They are fixed when the game is built; nothing
// changes them while it runs. Positions and sizes are in window widths (x) or
// window heights (y), speeds in those units per second.
#pragma once

// The block field.
inline constexpr double scrollSpeed = 0.1;           // window widths per second, to the left
inline constexpr double spawnInterval = 3.0;         // seconds between two spawned blocks
inline constexpr double blockWidth = 0.2;            // width of every spawned block
inline constexpr double blockHeight = 0.05;          // height of every block, floor included
inline constexpr double defaultGlitchOffset = 0.005; // largest glitch displacement of a copy

// The player's motion. There is no velocity: gravity is a constant fall and
// the jump impulse is a sine of the time left, so one pass's vertical step is
// computed afresh from the jump timer alone.
inline constexpr double gravity = 1.0;       // window heights per second, downward
inline constexpr double jumpDuration = 0.33; // seconds of impulse per jump
inline constexpr double jumpStrength = 15.0; // window heights per second at full impulse
// The impulse's sine runs over (timer * jumpDuration * jumpPhaseScale). It is
// 3.14 on purpose, not pi: the jump's height and length were tuned with it.
inline constexpr double jumpPhaseScale = 3.14;

// The player as a run starts: left and top edge in the middle of the window.
inline constexpr double playerStartX = 0.5;
inline constexpr double playerStartY = 0.5;
inline constexpr double playerCellSize = 0.005;  // one cell of the figure
inline constexpr double playerWidthCells = 16.0; // the hitbox is one cell wider than the figure
inline constexpr double playerHeightCells = 26.0;
inline constexpr int playerMaxJumps = 2; // jumps allowed between two contacts with a block

// The keys that move the player (and, in debug mode, change the blocks) while held.
inline constexpr double keyMoveSpeed = 1.0 / 3.0; // window units per second

inline constexpr unsigned maxScore = 999; // the score display has three digits
