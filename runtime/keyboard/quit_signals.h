// The keyboard library's own start of signal catching; the rest is in keyboard.h.
#pragma once

// Catches SIGTERM, SIGHUP and SIGINT, but leaves one that is ignored as it is; forgets any
// caught before. Called again before RT_ReleaseQuitSignals, it keeps the handlers it found
// the first time.
namespace keyboard {

void CatchQuitSignals();

} // namespace keyboard
