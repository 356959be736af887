// Sound: the sound table and loading. The device is in device.cpp, the channels in
// channels.cpp.
#include "runtime/sound/sound.h"

#include <SDL/SDL.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/sound/parts.h"

SDL_AudioSpec wanted;
SDL_AudioSpec obtained;
RT_SoundEntry *RT_Sound_ObjectsArea = nullptr;
int32_t RT_Sound_ObjectsNumber = 0;

namespace {

constexpr int32_t TableMargin = 50; // rows the table has at start and gains past a new number

// A sound as it was read, kept to convert it again for a device of another format.
struct Loaded {
  SDL_AudioSpec spec;
  Uint8 *samples; // SDL's, released with SDL_FreeWAV; null: none
  Uint32 length;
};

// A sound converted to the device's format, ready to go into the table.
struct Converted {
  uint8_t *data;
  int32_t length;
};

// The table's size, its rows' data, what each row was loaded from and the
// obtained format change together: loading on the game's thread, a returning
// device on the watch's.
std::mutex TableLock;
// One for each row of the table; like the table, never released: the sounds go
// with the process.
std::vector<Loaded> &Originals = *new std::vector<Loaded>;

// A copy of the samples in the device's format, in a buffer of its own. Null data
// when SDL cannot convert them or memory runs out.
Converted ConvertSamples(const Loaded &sound, const SDL_AudioSpec &device) {
  SDL_AudioCVT cvt;
  if (SDL_BuildAudioCVT(&cvt, sound.spec.format, sound.spec.channels, sound.spec.freq,
                        device.format, device.channels, device.freq) < 0)
    return {nullptr, 0};
  const int64_t bufferLength = int64_t(sound.length) * cvt.len_mult;
  if (bufferLength > INT32_MAX)
    return {nullptr, 0};
  auto *data = static_cast<uint8_t *>(std::malloc(size_t(std::max<int64_t>(bufferLength, 1))));
  if (!data)
    return {nullptr, 0};
  std::memcpy(data, sound.samples, sound.length);
  int convertedLength = int(sound.length);
  if (cvt.needed) {
    cvt.buf = data;
    cvt.len = int(sound.length);
    if (SDL_ConvertAudio(&cvt) < 0) {
      std::free(data);
      return {nullptr, 0};
    }
    convertedLength = cvt.len_cvt;
  }
  // Whole frames only, so a repeating channel always goes back to a frame's start.
  const int frame = ((device.format & 0xFF) / 8) * device.channels;
  return {data, convertedLength / frame * frame};
}

// Reads a WAV from the source and closes it; null samples when SDL cannot read it.
Loaded ReadWav(SDL_RWops *source) {
  Loaded sound = {};
  if (!source || !SDL_LoadWAV_RW(source, 1, &sound.spec, &sound.samples, &sound.length))
    return {};
  return sound;
}

bool GrowTableLocked(int32_t number) {
  if (number < RT_Sound_ObjectsNumber)
    return true;
  if (number > INT32_MAX - TableMargin)
    return false;
  const int32_t capacity = number + TableMargin;
  auto *grown = static_cast<RT_SoundEntry *>(
      std::realloc(RT_Sound_ObjectsArea, size_t(capacity) * sizeof(RT_SoundEntry)));
  if (!grown)
    return false;
  std::memset(grown + RT_Sound_ObjectsNumber, 0,
              size_t(capacity - RT_Sound_ObjectsNumber) * sizeof(RT_SoundEntry));
  RT_Sound_ObjectsArea = grown;
  RT_Sound_ObjectsNumber = capacity;
  Originals.resize(size_t(capacity), Loaded{});
  return true;
}

// A slot whose sound no device format could take has its original still to release.
void FreeSoundLocked(int32_t number) {
  RT_SoundEntry &entry = RT_Sound_ObjectsArea[number];
  Loaded &original = Originals[size_t(number)];
  if (!entry.data && !original.samples)
    return;
  RT_StopSound(number);
  std::free(entry.data);
  entry.data = nullptr;
  entry.length = 0;
  SDL_FreeWAV(original.samples);
  original = {};
}

// Puts a sound read from the source into its slot, stopping and releasing what the
// slot held; a sound that cannot be read or converted leaves the slot as it was.
int32_t LoadWav(int32_t number, SDL_RWops *source) {
  std::lock_guard lock(TableLock);
  const Loaded loaded = ReadWav(source);
  if (!loaded.samples)
    return 0;
  const Converted sound = ConvertSamples(loaded, obtained);
  if (!sound.data || number < 0 || !GrowTableLocked(number)) {
    std::free(sound.data);
    SDL_FreeWAV(loaded.samples);
    return 0;
  }
  FreeSoundLocked(number);
  RT_Sound_ObjectsArea[number] = {sound.data, sound.length, 100};
  Originals[size_t(number)] = loaded;
  return 1;
}

uint32_t ReadLE32(const uint8_t *bytes) {
  return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | uint32_t(bytes[3]) << 24;
}

// A WAV image is taken only when it is tagged RIFF with a "fmt " chunk first and
// every chunk it declares lies inside it.
bool WavImageFits(const uint8_t *image, int32_t imageSize) {
  if (!image || imageSize < 20 || std::memcmp(image, "RIFF", 4) != 0 ||
      std::memcmp(image + 12, "fmt ", 4) != 0)
    return false;
  const uint32_t riffSize = ReadLE32(image + 4);
  if (riffSize > uint32_t(imageSize) - 8)
    return false;
  const uint32_t end = riffSize + 8;
  for (uint32_t offset = 12; offset < end;) {
    if (end - offset < 8)
      return false;
    const uint32_t chunkSize = ReadLE32(image + offset + 4);
    if (chunkSize > end - offset - 8)
      return false;
    offset += 8 + chunkSize + (chunkSize & 1); // a pad byte follows odd chunks
  }
  return true;
}

} // namespace

bool sound::MakeSoundTable() {
  std::lock_guard lock(TableLock);
  RT_Sound_ObjectsArea =
      static_cast<RT_SoundEntry *>(std::calloc(TableMargin, sizeof(RT_SoundEntry)));
  if (!RT_Sound_ObjectsArea)
    return false;
  RT_Sound_ObjectsNumber = TableMargin;
  Originals.assign(TableMargin, Loaded{});
  return true;
}

void sound::UseDeviceFormat(const SDL_AudioSpec &granted) {
  std::lock_guard lock(TableLock);
  const bool same = granted.format == obtained.format && granted.channels == obtained.channels &&
                    granted.freq == obtained.freq;
  // Converted before the mixer is locked, which the callback waits for
  std::vector<Converted> again;
  for (size_t number = 0; !same && number < Originals.size(); number++)
    again.push_back(Originals[number].samples ? ConvertSamples(Originals[number], granted)
                                              : Converted{nullptr, 0});

  std::vector<uint8_t *> replaced;
  {
    auto mixer = LockMixer();
    obtained = granted;
    for (size_t number = 0; number < again.size(); number++) {
      if (!Originals[number].samples)
        continue;
      // A sound the new format cannot take is silent until a device of another format
      RT_SoundEntry &entry = RT_Sound_ObjectsArea[number];
      replaced.push_back(entry.data);
      entry.data = again[number].data;
      entry.length = again[number].length;
    }
    DeviceBackLocked();
  }
  for (uint8_t *data : replaced)
    std::free(data);
}

int32_t RT_Sound_CheckReAlloc(int32_t number) {
  std::lock_guard lock(TableLock);
  return GrowTableLocked(number) ? 1 : 0;
}

int32_t RT_LoadSound(int32_t number, const char *fileName) {
  if (!fileName)
    return 0;
  std::string name = fileName;
  for (char &c : name)
    if (c == '\\')
      c = '/';
  return LoadWav(number, SDL_RWFromFile(name.c_str(), "rb"));
}

int32_t RT_CatchSound(int32_t number, const void *image, int32_t imageSize) {
  const auto *bytes = static_cast<const uint8_t *>(image);
  if (!WavImageFits(bytes, imageSize))
    return 0;
  return LoadWav(number, SDL_RWFromConstMem(bytes, imageSize));
}

void RT_FreeSound(int32_t number) {
  std::lock_guard lock(TableLock);
  FreeSoundLocked(number);
}
