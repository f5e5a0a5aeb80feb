#pragma once
// The stack blur on a surface, for the glow renderers (internal to them).
#include "kv/kvUtils/kvGlow.h"

// StackBlur of a surface's pixels with a radius of 1 .. kvMaxBlurRadius (0 or less: nothing).
// Returns a rectangle outside which every blurred pixel is opaque black: all of the surface for
// no blur, an empty rectangle when the surface held no colour.
TRect StackBlurSurface(TSurface& Surface, int Radius);
