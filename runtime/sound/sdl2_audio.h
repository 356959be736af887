// Inside the sound library: what SDL 2 beneath SDL 1.2 knows of the audio device
// that SDL 1.2 opened. When the device goes away (its sound server stopped, a USB
// device pulled out), SDL 1.2 still calls it playing, and SDL 2 keeps the callback
// running at the device's rate; only SDL 2's own status for the device turns to
// stopped. Where no SDL 2 is loaded beneath, the device reads as unknown and its
// driver is never restarted.
#pragma once

namespace sound {

enum class Sdl2Device { Unknown, Present, Lost };

Sdl2Device Sdl2AudioDevice(); // SDL 2's word on the device SDL_OpenAudio opened
void Sdl2StopAudioDriver();   // shuts SDL 2's audio driver down, noting which one it was
bool Sdl2StartAudioDriver();  // starts that driver again unless one runs; false if it fails

} // namespace sound
