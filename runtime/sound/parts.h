// Inside the sound library: how its files meet: the lock on the channels, and what a lost or
// a returning device does to the channels and the table. Not for the game.
#pragma once

#include <mutex>

struct SDL_AudioSpec;

namespace sound {

// channels.cpp
std::unique_lock<std::mutex> LockMixer(); // the channels and the table rows they start from
void DeviceGoneLocked(); // sounds playing once stop; only repeating ones start until it is back
void DeviceBackLocked(); // repeating channels start over on their sound's data as it is now

// sound.cpp
bool MakeSoundTable(); // the table's first 50 empty rows
// The device's format becomes `granted`; the sounds are converted to it again from what
// was loaded when it differs. Ends with DeviceBackLocked.
void UseDeviceFormat(const SDL_AudioSpec &granted);

} // namespace sound
