# Writes OUTPUT, a C++ file holding the WAV files of FILES one after another in one
# array, in the given order, with the place and size of each in SoundEffectImages.
set(bytes "")
set(images "")
set(offset 0)
foreach(file IN LISTS FILES)
  file(READ ${file} hex HEX)
  string(LENGTH "${hex}" digits)
  math(EXPR size "${digits} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," hex "${hex}")
  get_filename_component(name ${file} NAME)
  string(APPEND bytes "    // ${name}\n    ${hex}\n")
  string(APPEND images "    {Bytes + ${offset}, ${size}},\n")
  math(EXPR offset "${offset} + ${size}")
endforeach()
file(WRITE ${OUTPUT} "// Made by assets/embed.cmake from the recordings in assets/.
#include \"assets/sound_effects.h\"

namespace {
const uint8_t Bytes[] = {
${bytes}};
} // namespace

const SoundEffectImage SoundEffectImages[SoundEffectCount] = {
${images}};
")
