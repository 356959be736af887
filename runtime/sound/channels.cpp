// Sound: the 32 mixing channels, shared by the game's thread, SDL's audio thread and
// the device's watch. Each side changes them only under MixerLock, which the
// callback holds while it mixes: SDL_LockAudio would reach into a device that the
// watch may be closing at that moment.
#include "runtime/sound/sound.h"

#include <SDL/SDL.h>

#include <algorithm>
#include <iterator>

#include "runtime/sound/parts.h"

RT_SoundChannel RT_Sound_Channels[RT_Sound_ChannelCount];

namespace {

std::mutex MixerLock;
bool DeviceUp = true; // false while a lost device is away: nothing would play a sound once

} // namespace

std::unique_lock<std::mutex> sound::LockMixer() {
  return std::unique_lock(MixerLock);
}

// A sound started once would come back late, or never end while no device plays it.
void sound::DeviceGoneLocked() {
  DeviceUp = false;
  for (RT_SoundChannel &channel : RT_Sound_Channels)
    if (!channel.repeat)
      channel.remaining = 0;
}

// The data may have been converted anew for the device, so each repeating channel
// starts over on its sound's data as it is now.
void sound::DeviceBackLocked() {
  DeviceUp = true;
  for (RT_SoundChannel &channel : RT_Sound_Channels) {
    if (channel.remaining == 0)
      continue;
    const RT_SoundEntry &entry = RT_Sound_ObjectsArea[channel.sound];
    channel.position = channel.start = entry.data;
    channel.remaining = channel.length = entry.data ? entry.length : 0;
  }
}

void RT_PlaySound(int32_t number) {
  RT_PlaySound2(number, 0);
}

void RT_PlaySound2(int32_t number, int32_t mode) {
  auto lock = sound::LockMixer();
  const RT_SoundEntry &entry = RT_Sound_ObjectsArea[number];
  if (!entry.data || entry.length <= 0)
    return; // an empty slot plays nothing
  if (!DeviceUp && mode != 1)
    return;
  auto channel = std::find_if(std::begin(RT_Sound_Channels), std::end(RT_Sound_Channels),
                              [](const RT_SoundChannel &c) { return c.remaining == 0; });
  if (channel != std::end(RT_Sound_Channels))
    *channel = {entry.data, entry.length, number,           entry.volume,
                entry.data, entry.length, mode == 1 ? 1 : 0};
}

void RT_StopSound(int32_t number) {
  auto lock = sound::LockMixer();
  for (RT_SoundChannel &channel : RT_Sound_Channels)
    if (channel.sound == number)
      channel.remaining = 0;
}

void RT_SoundVolume(int32_t number, int32_t volume) {
  volume = std::clamp(volume, 0, 100);
  auto lock = sound::LockMixer();
  RT_Sound_ObjectsArea[number].volume = volume;
  for (RT_SoundChannel &channel : RT_Sound_Channels)
    if (channel.sound == number)
      channel.volume = volume;
}

void fill_audio(void *, uint8_t *stream, int length) {
  auto lock = sound::LockMixer();
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
