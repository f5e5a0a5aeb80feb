#pragma once
// Small helpers shared by the styled pieces.
#include "platform/graphics/canvas.h"
#include "platform/graphics/framectl.h"
#include "platform/themes/styleservices.h"

// The canvas's device context, or null (no canvas, or nothing to draw on).
inline HDC CanvasDC(TCanvas* Canvas) { return Canvas ? Canvas->Handle() : nullptr; }

// An element of the active style stretched over R.
inline void DrawThemed(HDC DC, const TThemedElementDetails& Details, const TRect& R) {
  StyleServices().DrawElement(DC, Details, R);
}

// A classic frame control over R (R itself is left as it is).
inline void DrawClassicControl(HDC DC, const TRect& R, unsigned Type, unsigned State) {
  TRect r = R;
  DrawFrameControl(DC, r, Type, State);
}
