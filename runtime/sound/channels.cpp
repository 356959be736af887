// Sound: the 32 mixing channels, shared by the game's thread and SDL's audio thread.
// The game's side changes them only between SDL_LockAudio and SDL_UnlockAudio.
#include "runtime/sound/sound.h"

#include <SDL.h>

#include <algorithm>
#include <iterator>

RT_SoundChannel RT_Sound_Channels[RT_Sound_ChannelCount];

void RT_PlaySound(int32_t number) {
  RT_PlaySound2(number, 0);
}

void RT_PlaySound2(int32_t number, int32_t mode) {
  const RT_SoundEntry &entry = RT_Sound_ObjectsArea[number];
  if (!entry.data || entry.length <= 0)
    return; // an empty slot plays nothing
  SDL_LockAudio();
  auto channel = std::find_if(std::begin(RT_Sound_Channels), std::end(RT_Sound_Channels),
                              [](const RT_SoundChannel &c) { return c.remaining == 0; });
  if (channel != std::end(RT_Sound_Channels))
    *channel = {entry.data, entry.length, number,           entry.volume,
                entry.data, entry.length, mode == 1 ? 1 : 0};
  SDL_UnlockAudio();
}

void RT_StopSound(int32_t number) {
  SDL_LockAudio();
  for (RT_SoundChannel &channel : RT_Sound_Channels)
    if (channel.sound == number)
      channel.remaining = 0;
  SDL_UnlockAudio();
}

void RT_SoundVolume(int32_t number, int32_t volume) {
  volume = std::clamp(volume, 0, 100);
  RT_Sound_ObjectsArea[number].volume = volume;
  SDL_LockAudio();
  for (RT_SoundChannel &channel : RT_Sound_Channels)
    if (channel.sound == number)
      channel.volume = volume;
  SDL_UnlockAudio();
}

void fill_audio(void *, uint8_t *stream, int length) {
  for (RT_SoundChannel &channel : RT_Sound_Channels) {
    int32_t mixed = 0;
    while (channel.remaining > 0 && mixed < length) {
      const int32_t n = std::min(length - mixed, channel.remaining);
      SDL_MixAudio(stream + mixed, channel.position, Uint32(n),
                   channel.volume * SDL_MIX_MAXVOLUME / 100);
      channel.position += n;
      channel.remaining -= n;
      mixed += n;
      if (channel.remaining == 0 && channel.repeat) {
        channel.position = channel.start;
        channel.remaining = channel.length;
      }
    }
  }
}
