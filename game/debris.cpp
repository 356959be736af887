// Debris: each particle flies one pixel a frame for 80 frames, its grey level
// falling with its life. Particles never wrap and outlive waves and games.
#include "game/debris.h"

#include <cmath>

#include "game/pixels.h"
#include "game/world.h"
#include "runtime/drawing/drawing.h"
#include "runtime/misc/misc.h"

// Constants

constexpr int32_t ParticleLife = 160; // also the brightness, less 90
constexpr int32_t LifePerFrame = 2;

// Debris

// The list's cursor rests on its last element between passes, so a new ring is
// appended behind the older ones.
void Explode(int32_t x, int32_t y, int32_t step) {
  int32_t angle = 0;
  do {
    if (RT_AddElement(Debris) == nullptr)
      return;
    Particle &particle = *RT_CurrentRecord<Particle>(Debris);
    particle.X = static_cast<float>(x);
    particle.Y = static_cast<float>(y);
    particle.DX = std::sin(static_cast<float>(angle) * DegreesToRadians);
    particle.DY = std::cos(static_cast<float>(angle) * DegreesToRadians);
    particle.Life = ParticleLife;
    angle += step;
  } while (step > 0 && angle < 360);
}

// Deleting the list's first element makes the walk pass over the next one, which
// is then moved and aged a frame late.
void MoveDebris() {
  RT_ResetList(Debris);
  while (RT_NextElement(Debris) != nullptr) {
    Particle &particle = *RT_CurrentRecord<Particle>(Debris);
    particle.X += particle.DX;
    particle.Y += particle.DY;
    if (InsideScreen(particle.X, particle.Y)) {
      const int32_t level = particle.Life + 90;
      RT_Plot2(RoundPixel(particle.X), RoundPixel(particle.Y), RT_RGB(level, level, level));
    }
    particle.Life -= LifePerFrame;
    if (particle.Life < 1)
      RT_DeleteElement(Debris);
  }
}
