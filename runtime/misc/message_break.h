// The message box's break, set by the keyboard library's quit signals. Not the game's.
#pragma once

#include <cstdint>

namespace misc {

// A box also closes by itself, giving 0, within a second of the check returning non-zero,
// and shows only on stderr once it has, so that a logout does not wait on a click.
// Null: boxes wait for the player alone.
void SetMessageBoxBreak(int32_t (*quitRequested)());

} // namespace misc
