// SDL 1.2's own version, from a file of its own: its header and SDL 2's clash.
#include <SDL/SDL.h>

int Sdl12MajorVersion() {
  return SDL_Linked_Version()->major;
}
