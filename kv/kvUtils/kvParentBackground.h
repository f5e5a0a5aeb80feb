#pragma once
// What lies behind a control, painted into a canvas whose (0, 0) is the control's top-left:
// the parent's background and content, then the windowless siblings under the control. The
// base of every transparent control of the library (its cached parent image), also used
// directly by controls that draw their own transparent backgrounds.
#include "platform/controls/control.h"
#include "platform/graphics/canvas.h"

// Nothing is drawn for a missing control, canvas or parent. With a custom style active the
// style services paint the parent background. Otherwise the parent is marked csPaintCopy and
// painted through its kind: a library tab sheet erases into the canvas; a notebook page (with
// themes on) draws the tab pane lined up with its notebook; a frame with csParentBackground
// draws the window background; any other parent erases and, unless it is a form, paints its
// own content and windowless children into the canvas (never its windowed children, so the
// control does not paint itself). The windowless siblings below the control that overlap it
// are painted in their z-order, each marked csPaintCopy, at its place and clipped to its
// bounds, where the parent did not paint them already. Every mark is cleared and the canvas's
// context restored on every way out, exceptions included.
void PaintParentBackground(TControl* Control, TCanvas* Canvas);
