#pragma once
// Colour routines: HSV conversion, lighter, darker and mixed colours, the active style's
// mapping of system colours, and the text colours of each kind of piece in each state.
//
// System colours are resolved with ColorToRGB before any channel arithmetic; results are RGB
// colours (red | green << 8 | blue << 16).
#include <cstdint>

#include "kv/kvUtils/kvTypes.h"
#include "platform/core/color.h"

// Value V and saturation S in percent (0..100) and hue H (0..359) of a colour. Hue is the
// fraction of the colour wheel times 359; a grey (max = min) gives S = 0 and H = 0.
// Rounding is to nearest, ties to even.
void ColorToHSV(uint8_t R, uint8_t G, uint8_t B, int& V, int& S, int& H);
// The inverse: V and S in percent, H in degrees (0..359).
void HSVToRGB(int V, int S, int H, uint8_t& R, uint8_t& G, uint8_t& B);

// V raised by V * Percent / 100 (rounded), at most 100.
TColor LighterColor(TColor Color, int Percent);
// V lowered by V * Percent / 100 (rounded), at least 0.
TColor DarkerColor(TColor Color, int Percent);
// A colour that stands out a little from Color: darker by 10 % for light colours (V >= 50),
// lighter by 25 % for dark ones.
TColor ShadeColor(TColor Color);
// Per channel (c1 + c2) >> 1.
TColor MixColors(TColor Color1, TColor Color2);

// With a custom style: the style's replacement of a system colour (other colours unchanged);
// otherwise the colour itself.
TColor GetStyleSystemColor(TColor Color);
// The fill of an edit box: the style's edit colour (kvsNormal) or disabled-edit colour (any
// other state) with a custom style; clWindow otherwise.
TColor GetEditBrushColor(TkvsCtrlState State);
// The text of an edit box.
TColor GetEditTextColor(TkvsCtrlState State);
// The text on a selection (DrawSelection).
TColor GetSelectionTextColor();

// A 32-bit pixel (alpha 24..31, red 16..23, green 8..15, blue 0..7) of the colour with the
// given alpha. The colour channels are not multiplied by the alpha.
uint32_t ColorToPixel(TColor Color, uint8_t Alpha);

// Caption colours by state. Each is clGrayText for kvsDisabled and clBtnText otherwise, unless
// a custom style is active: then it is the style's text colour of the piece's element in that
// state. A style that has none for the state leaves the starting colour (which a custom style
// maps to its own system colours), so a caption never vanishes into its face.
TColor GetButtonTextColor(TkvsCtrlState State);
TColor GetToolButtonTextColor(TkvsCtrlState State);
TColor GetCheckBoxTextColor(TkvsCtrlState State);
TColor GetGroupBoxTextColor(TkvsCtrlState State);
TColor GetHeaderTextColor(TkvsCtrlState State);
TColor GetTabTextColor(TkvsCtrlState State);
