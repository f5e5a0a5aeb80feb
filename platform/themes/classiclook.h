#pragma once
// The classic look: every catalogue element drawn as 3-D frames, frame controls and fills in
// the system colours, as when style services are disabled.
#include "platform/graphics/dc.h"
#include "platform/themes/elements.h"

// Draws the element in r; false when the details name nothing in the catalogue.
bool DrawClassicElement(HDC dc, const TThemedElementDetails& details, const TRect& r);
