// Drawing on a buffer: the SDL_gfx back end behind the drawing outputs, and the
// public calls that go through the current output.
#include "runtime/drawing/drawing.h"

#include <SDL/SDL.h>
#include <SDL/SDL_gfxPrimitives.h>

#include "runtime/screen/screen.h"

// The operations of one drawing back end, in a fixed order
struct RT_DrawingOutput {
  void (*BackColor)(int32_t red, int32_t green, int32_t blue);
  void (*Box)(int32_t x, int32_t y, int32_t width, int32_t height);
  void (*Box2)(int32_t x, int32_t y, int32_t width, int32_t height, int32_t colour);
  void (*Circle)(int32_t x, int32_t y, int32_t radius);
  void (*Circle2)(int32_t x, int32_t y, int32_t radius, int32_t colour);
  void (*DrawImage)(void *image, int32_t x, int32_t y);
  void (*DrawText)(const char *text, int32_t x, int32_t y);
  void *(*DrawingBuffer)();
  int32_t (*DrawingBufferPitch)();
  int32_t (*DrawingBufferPixelFormat)();
  void (*DrawingFont)(int32_t font);
  void (*DrawingMode)(int32_t mode);
  void (*Ellipse)(int32_t x, int32_t y, int32_t radiusX, int32_t radiusY);
  void (*Ellipse2)(int32_t x, int32_t y, int32_t radiusX, int32_t radiusY, int32_t colour);
  void (*FrontColor)(int32_t red, int32_t green, int32_t blue);
  void (*Line)(int32_t x, int32_t y, int32_t width, int32_t height);
  void (*Line2)(int32_t x, int32_t y, int32_t width, int32_t height, int32_t colour);
  void (*LineXY)(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
  void (*LineXY2)(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t colour);
  void (*Locate)(int32_t x, int32_t y);
  void (*Plot)(int32_t x, int32_t y);
  void (*Plot2)(int32_t x, int32_t y, int32_t colour);
  int32_t (*Point)(int32_t x, int32_t y);
  SDL_Surface *(*StartDrawing)();
  void (*StopDrawing)();
  int32_t (*TextLength)(const char *text);
};

namespace {

RT_DrawingOutput ScreenOutput = {};
RT_DrawingOutput SpriteOutput = {}; // shared by every sprite
RT_DrawingOutput CurrentOutput = {};
SDL_Surface *DrawingSurface = nullptr;

// Colours in SDL_gfx's order 0xRRGGBBAA; the back colour is kept but nothing draws with it
uint32_t FrontColour = 0x000000FF;
uint32_t BackColour = 0x000000FF;

// ---- Conversions

// SDL_gfx takes 16-bit coordinates
Sint16 Cut(int32_t value) {
  return static_cast<Sint16>(value);
}

// The far corner of a line or box; the sum wraps rather than overflows
Sint16 CutSum(int32_t value, int32_t extent) {
  return static_cast<Sint16>(static_cast<uint32_t>(value) + static_cast<uint32_t>(extent));
}

uint32_t GfxColour(int32_t red, int32_t green, int32_t blue) {
  return static_cast<uint32_t>(red) << 24 | static_cast<uint32_t>(green) << 16 |
         static_cast<uint32_t>(blue) << 8 | 0xFF;
}

// 0x00BBGGRR to 0xRRGGBBFF: opaque, so pixels are written rather than blended
uint32_t GfxColour(int32_t colour) {
  auto c = static_cast<uint32_t>(colour);
  return c << 24 | ((c << 8) & 0x00FF0000) | ((c >> 8) & 0x0000FF00) | 0xFF;
}

// ---- The SDL back end

void GfxBackColor(int32_t red, int32_t green, int32_t blue) {
  BackColour = GfxColour(red, green, blue);
}
void GfxFrontColor(int32_t red, int32_t green, int32_t blue) {
  FrontColour = GfxColour(red, green, blue);
}

void GfxPlot2(int32_t x, int32_t y, int32_t colour) {
  pixelColor(DrawingSurface, Cut(x), Cut(y), GfxColour(colour));
}
void GfxPlot(int32_t x, int32_t y) {
  pixelColor(DrawingSurface, Cut(x), Cut(y), FrontColour);
}

void GfxLineXY2(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t colour) {
  lineColor(DrawingSurface, Cut(x1), Cut(y1), Cut(x2), Cut(y2), GfxColour(colour));
}
void GfxLineXY(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  lineColor(DrawingSurface, Cut(x1), Cut(y1), Cut(x2), Cut(y2), FrontColour);
}

void GfxLine2(int32_t x, int32_t y, int32_t width, int32_t height, int32_t colour) {
  lineColor(DrawingSurface, Cut(x), Cut(y), CutSum(x, width), CutSum(y, height), GfxColour(colour));
}
void GfxLine(int32_t x, int32_t y, int32_t width, int32_t height) {
  lineColor(DrawingSurface, Cut(x), Cut(y), CutSum(x, width), CutSum(y, height), FrontColour);
}

void GfxBox2(int32_t x, int32_t y, int32_t width, int32_t height, int32_t colour) {
  boxColor(DrawingSurface, Cut(x), Cut(y), CutSum(x, width), CutSum(y, height), GfxColour(colour));
}
void GfxBox(int32_t x, int32_t y, int32_t width, int32_t height) {
  boxColor(DrawingSurface, Cut(x), Cut(y), CutSum(x, width), CutSum(y, height), FrontColour);
}

void GfxCircle2(int32_t x, int32_t y, int32_t radius, int32_t colour) {
  circleColor(DrawingSurface, Cut(x), Cut(y), Cut(radius), GfxColour(colour));
}
void GfxCircle(int32_t x, int32_t y, int32_t radius) {
  circleColor(DrawingSurface, Cut(x), Cut(y), Cut(radius), FrontColour);
}

void GfxEllipse2(int32_t x, int32_t y, int32_t radiusX, int32_t radiusY, int32_t colour) {
  ellipseColor(DrawingSurface, Cut(x), Cut(y), Cut(radiusX), Cut(radiusY), GfxColour(colour));
}
void GfxEllipse(int32_t x, int32_t y, int32_t radiusX, int32_t radiusY) {
  ellipseColor(DrawingSurface, Cut(x), Cut(y), Cut(radiusX), Cut(radiusY), FrontColour);
}

// Reads a pixel in the runtime's colour order where the pixel is 32-bit; no bounds check
int32_t GfxPoint(int32_t x, int32_t y) {
  const SDL_Surface *s = DrawingSurface;
  int bytes = s->format->BytesPerPixel;
  const auto *p = static_cast<const Uint8 *>(s->pixels) + y * s->pitch + x * bytes;
  switch (bytes) {
  case 1:
    return p[0];
  case 2:
    return *reinterpret_cast<const Uint16 *>(p);
  case 3:
    return p[0] + p[1] * 256 + p[2] * 65536;
  case 4: {
    Uint32 v = *reinterpret_cast<const Uint32 *>(p);
    return static_cast<int32_t>((v & 0xFF00FF00) | (v & 0xFF) << 16 | (v >> 16 & 0xFF));
  }
  default:
    return 0;
  }
}

void *GfxDrawingBuffer() {
  return DrawingSurface->pixels;
}
int32_t GfxDrawingBufferPitch() {
  return DrawingSurface->pitch;
}
int32_t GfxDrawingBufferPixelFormat() {
  return DrawingSurface->format->BitsPerPixel;
}

// One lock for the whole pass, not one per primitive
SDL_Surface *GfxStartDrawing() {
  if (SDL_MUSTLOCK(DrawingSurface))
    SDL_LockSurface(DrawingSurface);
  return DrawingSurface;
}
void GfxStopDrawing() {
  if (SDL_MUSTLOCK(DrawingSurface))
    SDL_UnlockSurface(DrawingSurface);
}

void GfxDrawingFont(int32_t) {}
void GfxDrawingMode(int32_t) {}
void GfxLocate(int32_t, int32_t) {}
int32_t GfxTextLength(const char *) {
  return 0;
}

// Text and images are not drawn by this back end: their slots stay empty
constexpr RT_DrawingOutput SDLFunctions = {
    .BackColor = GfxBackColor,
    .Box = GfxBox,
    .Box2 = GfxBox2,
    .Circle = GfxCircle,
    .Circle2 = GfxCircle2,
    .DrawImage = nullptr,
    .DrawText = nullptr,
    .DrawingBuffer = GfxDrawingBuffer,
    .DrawingBufferPitch = GfxDrawingBufferPitch,
    .DrawingBufferPixelFormat = GfxDrawingBufferPixelFormat,
    .DrawingFont = GfxDrawingFont,
    .DrawingMode = GfxDrawingMode,
    .Ellipse = GfxEllipse,
    .Ellipse2 = GfxEllipse2,
    .FrontColor = GfxFrontColor,
    .Line = GfxLine,
    .Line2 = GfxLine2,
    .LineXY = GfxLineXY,
    .LineXY2 = GfxLineXY2,
    .Locate = GfxLocate,
    .Plot = GfxPlot,
    .Plot2 = GfxPlot2,
    .Point = GfxPoint,
    .StartDrawing = GfxStartDrawing,
    .StopDrawing = GfxStopDrawing,
    .TextLength = GfxTextLength,
};

} // namespace

// ---- Library

void RT_Init2DDrawing() {}

// ---- Outputs

void RT_2DDrawing_UseSDLFunctions(RT_DrawingOutput *output, SDL_Surface *surface) {
  *output = SDLFunctions;
  DrawingSurface = surface;
}

RT_DrawingOutput *RT_ScreenOutput() {
  RT_2DDrawing_UseSDLFunctions(&ScreenOutput, RT_ScreenID());
  return &ScreenOutput;
}

RT_DrawingOutput *RT_SpriteOutput(int32_t number) {
  if (SDL_Surface *surface = RT_Sprite_ObjectsArea[number].surface)
    RT_2DDrawing_UseSDLFunctions(&SpriteOutput, surface);
  return &SpriteOutput;
}

// ---- A pass

SDL_Surface *RT_StartDrawing(RT_DrawingOutput *output) {
  CurrentOutput = *output;
  return CurrentOutput.StartDrawing();
}

void RT_StopDrawing() {
  CurrentOutput.StopDrawing();
}

// ---- Every call goes through the current output

void RT_FrontColor(int32_t red, int32_t green, int32_t blue) {
  CurrentOutput.FrontColor(red, green, blue);
}
void RT_BackColor(int32_t red, int32_t green, int32_t blue) {
  CurrentOutput.BackColor(red, green, blue);
}

void RT_Plot(int32_t x, int32_t y) {
  CurrentOutput.Plot(x, y);
}
void RT_Plot2(int32_t x, int32_t y, int32_t colour) {
  CurrentOutput.Plot2(x, y, colour);
}
void RT_LineXY(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  CurrentOutput.LineXY(x1, y1, x2, y2);
}
void RT_LineXY2(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t colour) {
  CurrentOutput.LineXY2(x1, y1, x2, y2, colour);
}
void RT_Line(int32_t x, int32_t y, int32_t width, int32_t height) {
  CurrentOutput.Line(x, y, width, height);
}
void RT_Line2(int32_t x, int32_t y, int32_t width, int32_t height, int32_t colour) {
  CurrentOutput.Line2(x, y, width, height, colour);
}
void RT_Box(int32_t x, int32_t y, int32_t width, int32_t height) {
  CurrentOutput.Box(x, y, width, height);
}
void RT_Box2(int32_t x, int32_t y, int32_t width, int32_t height, int32_t colour) {
  CurrentOutput.Box2(x, y, width, height, colour);
}
void RT_Circle(int32_t x, int32_t y, int32_t radius) {
  CurrentOutput.Circle(x, y, radius);
}
void RT_Circle2(int32_t x, int32_t y, int32_t radius, int32_t colour) {
  CurrentOutput.Circle2(x, y, radius, colour);
}
void RT_Ellipse(int32_t x, int32_t y, int32_t radiusX, int32_t radiusY) {
  CurrentOutput.Ellipse(x, y, radiusX, radiusY);
}
void RT_Ellipse2(int32_t x, int32_t y, int32_t radiusX, int32_t radiusY, int32_t colour) {
  CurrentOutput.Ellipse2(x, y, radiusX, radiusY, colour);
}

int32_t RT_Point(int32_t x, int32_t y) {
  return CurrentOutput.Point(x, y);
}
void *RT_DrawingBuffer() {
  return CurrentOutput.DrawingBuffer();
}
int32_t RT_DrawingBufferPitch() {
  return CurrentOutput.DrawingBufferPitch();
}
int32_t RT_DrawingBufferPixelFormat() {
  return CurrentOutput.DrawingBufferPixelFormat();
}

void RT_DrawingFont(int32_t font) {
  CurrentOutput.DrawingFont(font);
}
void RT_DrawingMode(int32_t mode) {
  CurrentOutput.DrawingMode(mode);
}
void RT_Locate(int32_t x, int32_t y) {
  CurrentOutput.Locate(x, y);
}
int32_t RT_TextLength(const char *text) {
  return CurrentOutput.TextLength(text);
}
