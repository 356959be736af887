// Drawing on a buffer: points and lines (and boxes, circles, ellipses) on the
// screen or on a sprite, through SDL_gfx.
//
// A pass is: hand out an output (RT_ScreenOutput or RT_SpriteOutput, which picks
// the surface), RT_StartDrawing (locks it if SDL needs that), drawing calls,
// RT_StopDrawing. Blit sprites only outside a pass.
//
// Colours of the forms with a colour argument are runtime colours 0x00BBGGRR
// (RT_RGB); pixels are written opaque. Coordinates are cut to 16 bits.
#pragma once

#include <cstdint>

struct SDL_Surface;
struct RT_DrawingOutput; // a table of drawing operations

// Library
void RT_Init2DDrawing(); // does nothing

// Outputs
RT_DrawingOutput *RT_ScreenOutput();               // draws on the screen
RT_DrawingOutput *RT_SpriteOutput(int32_t number); // draws on sprite number, if it exists
void RT_2DDrawing_UseSDLFunctions(RT_DrawingOutput *output, SDL_Surface *surface);

// A pass
SDL_Surface *RT_StartDrawing(RT_DrawingOutput *output); // returns the drawing surface
void RT_StopDrawing();

// Colours for the forms without a colour argument
void RT_FrontColor(int32_t red, int32_t green, int32_t blue);
void RT_BackColor(int32_t red, int32_t green, int32_t blue); // stored, never used

// Shapes
void RT_Plot(int32_t x, int32_t y);
void RT_Plot2(int32_t x, int32_t y, int32_t colour);
void RT_LineXY(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
void RT_LineXY2(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t colour);
void RT_Line(int32_t x, int32_t y, int32_t width, int32_t height); // to (x + width, y + height)
void RT_Line2(int32_t x, int32_t y, int32_t width, int32_t height, int32_t colour);
void RT_Box(int32_t x, int32_t y, int32_t width, int32_t height);
void RT_Box2(int32_t x, int32_t y, int32_t width, int32_t height, int32_t colour);
void RT_Circle(int32_t x, int32_t y, int32_t radius);
void RT_Circle2(int32_t x, int32_t y, int32_t radius, int32_t colour);
void RT_Ellipse(int32_t x, int32_t y, int32_t radiusX, int32_t radiusY);
void RT_Ellipse2(int32_t x, int32_t y, int32_t radiusX, int32_t radiusY, int32_t colour);

// Reading the surface
int32_t RT_Point(int32_t x, int32_t y); // the pixel; 32-bit pixels in runtime colour order
void *RT_DrawingBuffer();               // pixel memory
int32_t RT_DrawingBufferPitch();        // bytes per row
int32_t RT_DrawingBufferPixelFormat();  // bits per pixel

// No effect
void RT_DrawingFont(int32_t font);
void RT_DrawingMode(int32_t mode);
void RT_Locate(int32_t x, int32_t y);
int32_t RT_TextLength(const char *text); // always 0
