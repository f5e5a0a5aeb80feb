#pragma once
// Glyphs drawn pixel by pixel in a colour the caller gives: arrows, tree buttons, the close
// cross, dotted frames and lines, the split line and 3-D frames.
//
// The centre of a rectangle is cx = Left + Width / 2, cy = Top + Height / 2 (integer division,
// rounding toward zero). None of the routines changes the canvas's pen, brush or font.
#include "platform/graphics/canvas.h"

// Kind 1 left, 2 right, 3 up, 4 down: a triangle of four rows or columns (1, 3, 5, 7 pixels)
// about the centre. Kind 5: a plus of two 2-pixel strokes, 8 pixels long. Other kinds draw
// nothing.
void DrawArrow(TCanvas* Canvas, const TRect& Rect, TColor Color, int Kind);
// A 7-pixel bar on row cy-3 above a down triangle on rows cy .. cy+3.
void DrawMoreArrow(TCanvas* Canvas, const TRect& Rect, TColor Color);
// Kind 1 (collapsed): a right-pointing triangle of five columns; Kind 2 (expanded): a
// right-angled triangle of six rows in the lower right. Outlined in OutlineColor.
void DrawTreeArrow(TCanvas* Canvas, const TRect& Rect, TColor Color, TColor OutlineColor, int Kind);
// A 9 x 9 box with a minus (Expanded) or a plus, placed one pixel below the centre.
void DrawTreeButton(TCanvas* Canvas, const TRect& Rect, bool Expanded, TColor BorderColor);
// A cross of two 2-pixel diagonals in the 10 x 9 box right and below (X, Y).
void DrawCloseGlyph(TCanvas* Canvas, int X, int Y, TColor Color);

// Every other pixel around the perimeter of (Left, Top, Right-1, Bottom-1), walking clockwise
// from the top-left corner; the corner itself is skipped when Width-1 and Height-1 are both
// even and set otherwise.
void DrawDottedFrame(TCanvas* Canvas, const TRect& Rect, TColor Color);
// The same pixels, drawn with the device context's pen.
void DrawDottedFrameDC(TCanvas* Canvas, const TRect& Rect, TColor Color);
// The dotted frame in the canvas's font colour.
void DrawFocusFrame(TCanvas* Canvas, const TRect& Rect);
// Vertical (X1 = X2) or horizontal (Y1 = Y2): every other pixel from (X1, Y1) up to (X2, Y2);
// anything else draws nothing.
void DrawDottedLine(TCanvas* Canvas, int X1, int Y1, int X2, int Y2, TColor Color);
// A 2-pixel vertical line of Rect's height at its top-left, shadow then highlight, blended at
// constant alpha 125.
void DrawSplitLine(TCanvas* Canvas, const TRect& Rect);
// A 3-D frame on (Left, Top, Right-1, Bottom-1): left and top in TopLeftColor, right and bottom
// (with the top-right and bottom-left corners) in BottomRightColor. Rect is then deflated by 1.
void DrawFrame3D(TCanvas* Canvas, TRect& Rect, TColor TopLeftColor, TColor BottomRightColor);
