// libasound writes a few lines to standard error for every sound card it
// looks for and does not find, and SDL asks it for one when no sound server
// answers. A machine without sound plays silently; those lines would only
// alarm the player, in the middle of the status line.
#pragma once

// Gives libasound, where it is installed, a report handler that writes
// nothing. SDL loads the same library and keeps it.
void quietAlsa();
