# Writes OUTPUT, a C++ file holding PIXELS, a raw picture of SIZE x SIZE pixels
# of 4 bytes (red, green, blue, alpha), as the window's icon.
file(READ ${PIXELS} hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR expected "${SIZE} * ${SIZE} * 4 * 2")
if(NOT digits EQUAL expected)
  message(FATAL_ERROR "${PIXELS}: ${digits} hex digits, not the ${expected} of ${SIZE} x ${SIZE} pixels")
endif()
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," hex "${hex}")
file(WRITE ${OUTPUT} "// Made by assets/embed_icon.cmake from packaging/heliomants.svg.
#include \"assets/window_icon.h\"

const int32_t WindowIconSize = ${SIZE};
const uint8_t WindowIconPixels[] = {${hex}};
")
