#pragma once
// Colour arithmetic of the style engine: mixing, lightening, and the relative luminance and
// contrast ratio used to check that captions stand out from what they are drawn on.
#include "platform/core/color.h"
#include "platform/themes/styledata.h"

// `percent` of b mixed into a, per channel, rounded (0: a, 100: b).
TColor MixColor(TColor a, TColor b, int percent);
TStyleRGBA MixRGBA(TStyleRGBA a, TStyleRGBA b, int percent);
// Towards white or black by `percent`.
TColor Lighten(TColor c, int percent);
TColor Darken(TColor c, int percent);
// Relative luminance 0..1 of an RGB colour (sRGB, linearised).
double Luminance(TColor c);
// (lighter + 0.05) / (darker + 0.05): 1 for equal colours, 21 for black on white.
double ContrastRatio(TColor a, TColor b);
// A translucent colour flattened over an opaque background.
TColor Flatten(TStyleRGBA c, TColor background);
