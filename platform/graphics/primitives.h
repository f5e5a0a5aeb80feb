#pragma once
// Raster primitives with the platform's pixel rules.
//
// - Lines cover the pixels from the start point up to, but not including, the end point, in
//   every direction; a line of length 0 draws nothing. The minor coordinate is rounded to the
//   nearest pixel, halves toward +infinity. A polyline draws every segment so, which leaves its
//   last point undrawn; each joint is drawn once.
// - Filled figures (Rectangle, RoundRect, Ellipse) take a bounding box whose right and bottom
//   edges are excluded. The pen draws the outline inside the box, the brush fills what lies
//   inside the outline; with the null pen the figure shrinks by one pixel on the right and
//   bottom. A pixel belongs to an ellipse when its centre lies inside the ellipse inscribed in
//   the box.
// - Polygons fill the pixels whose centres lie inside, by the alternate (even-odd) or winding
//   rule, and then draw the closed outline with the pen.
// Wide pens (width > 1) draw lines with round ends; figure outlines lie inside the box for
// PS_INSIDEFRAME and are centred on the box edge otherwise. Styled pens (dash, dot) are one
// pixel wide; their gaps take the background colour in OPAQUE mode.
#include "platform/graphics/dc.h"

COLORREF SetPixel(HDC dc, int x, int y, COLORREF color);
bool SetPixelV(HDC dc, int x, int y, COLORREF color);
// The colour channels of the pixel (as stored); CLR_INVALID outside the clip or surface.
COLORREF GetPixel(HDC dc, int x, int y);

bool MoveToEx(HDC dc, int x, int y, TPoint* old);
bool GetCurrentPositionEx(HDC dc, TPoint* pos);
bool LineTo(HDC dc, int x, int y);
bool Polyline(HDC dc, const TPoint* points, int count);
// From the current position through the points; the current position moves to the last.
bool PolylineTo(HDC dc, const TPoint* points, int count);
bool Polygon(HDC dc, const TPoint* points, int count);
bool Rectangle(HDC dc, int left, int top, int right, int bottom);
bool RoundRect(HDC dc, int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);
bool Ellipse(HDC dc, int left, int top, int right, int bottom);

// A one-pixel frame along the inside of r, painted with the brush.
int FrameRect(HDC dc, const TRect& r, HBRUSH brush);
bool InvertRect(HDC dc, const TRect& r);
// The focus rectangle: every other pixel along the inside of r inverted, those whose device
// coordinates add up to an even number. Drawing it twice restores the pixels.
bool DrawFocusRect(HDC dc, const TRect& r);
// Region in logical coordinates.
bool FillRgn(HDC dc, HRGN rgn, HBRUSH brush);
bool FrameRgn(HDC dc, HRGN rgn, HBRUSH brush, int width, int height);

// Gradients. Vertex colours are 16-bit per channel (0xFF00 is full); alpha is ignored and the
// result is opaque. Colour at a pixel: c0 + (c1 - c0) * offset / extent, offset counted from the
// first pixel, so the last pixel stops one step short of c1.
struct TRIVERTEX {
  int x = 0, y = 0;
  uint16_t Red = 0, Green = 0, Blue = 0, Alpha = 0;
};
struct GRADIENT_RECT {
  unsigned UpperLeft = 0, LowerRight = 1;
};
enum : unsigned { GRADIENT_FILL_RECT_H = 0, GRADIENT_FILL_RECT_V = 1 };
bool GradientFill(HDC dc, const TRIVERTEX* vertices, unsigned vertexCount, const GRADIENT_RECT* rects,
                  unsigned rectCount, unsigned mode);
// Convenience: from `from` at the left (top) to `to` at the right (bottom) of r.
bool GradientFillRect(HDC dc, const TRect& r, COLORREF from, COLORREF to, bool vertical);
