#pragma once
// Text routines over the platform's DrawText, with the canvas's font and brush as the caller
// set them. Flags are DrawText flags (DT_...). Character counts are code points.
#include "platform/core/alignment.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/text.h"

// Flags for right-to-left reading: unchanged when not RightToLeft; otherwise DT_RIGHT is
// removed if present, else added unless the flags centre, and DT_RTLREADING is added.
unsigned BidiTextFlags(unsigned Flags, bool RightToLeft);
// One line, vertically centred, left-aligned (right-aligned when RightToLeft). Empty text draws
// nothing.
void DrawSingleLineText(TCanvas* Canvas, const String& Text, const TRect& Rect, bool RightToLeft);
// One line, vertically centred, aligned as Alignment says.
void DrawAlignedText(TCanvas* Canvas, const String& Text, const TRect& Rect, TAlignment Alignment);
// Text at (X, Y) turned by Angle (tenths of a degree, counter-clockwise) in Color on a
// transparent background. The canvas's font keeps the new orientation afterwards.
void DrawRotatedText(TCanvas* Canvas, int Angle, int X, int Y, const String& Text, TColor Color);
// Text that fits MaxWidth: unchanged when it fits, else the longest start of it that fits with
// "..." after it ("..." alone when nothing does).
String TrimTextToWidth(TCanvas* Canvas, const String& Text, int MaxWidth);
// Left-aligned text in Rect: on one vertically centred line when it fits so, else word-wrapped
// when that fits, else on one vertically centred line ending in "...".
void DrawTextFit(TCanvas* Canvas, const String& Text, const TRect& Rect);
// Word-wrapped, centred text. With CharWrap, words wider than Rect break between characters;
// without, text that does not fit Rect is shortened and ends in "...". Empty text draws nothing.
void DrawWrappedTextCentered(TCanvas* Canvas, const String& Text, const TRect& Rect, bool CharWrap);

// The size DrawText gives the text with these flags in a rectangle of Width (DT_CALCRECT).
TSize MeasureText(TCanvas* Canvas, const String& Text, int Width, unsigned Flags);
