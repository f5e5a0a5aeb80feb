#pragma once
// Classic 3-D drawing: edges and frame controls in the system colours.
#include "platform/graphics/dc.h"

// DrawEdge edges and flags.
enum : unsigned {
  BDR_RAISEDOUTER = 0x1, BDR_SUNKENOUTER = 0x2, BDR_RAISEDINNER = 0x4, BDR_SUNKENINNER = 0x8,
  BDR_OUTER = 0x3, BDR_INNER = 0xC, BDR_RAISED = 0x5, BDR_SUNKEN = 0xA,
  EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER, EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER,
  EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER, EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER
};
enum : unsigned {
  BF_LEFT = 0x1, BF_TOP = 0x2, BF_RIGHT = 0x4, BF_BOTTOM = 0x8, BF_TOPLEFT = 0x3,
  BF_TOPRIGHT = 0x6, BF_BOTTOMLEFT = 0x9, BF_BOTTOMRIGHT = 0xC, BF_RECT = 0xF, BF_MIDDLE = 0x800,
  BF_SOFT = 0x1000, BF_ADJUST = 0x2000, BF_FLAT = 0x4000, BF_MONO = 0x8000
};

// Draws up to two one-pixel borders (outer, then inner) along the chosen sides of r. Each border
// has a top-left and a bottom-right colour; the bottom-right colour owns the top-right and
// bottom-left corner pixels:
//   raised outer: cl3DLight / cl3DDkShadow     (soft: clBtnHighlight / cl3DDkShadow)
//   raised inner: clBtnHighlight / clBtnShadow (soft: cl3DLight / clBtnShadow)
//   sunken outer: clBtnShadow / clBtnHighlight (soft: clBtnShadow / clBtnHighlight)
//   sunken inner: cl3DDkShadow / cl3DLight     (soft: cl3DDkShadow / cl3DLight)
// BF_FLAT draws both borders in clBtnShadow (outer) and clBtnFace (inner), BF_MONO in
// clWindowFrame (outer) and clWindow (inner). BF_MIDDLE fills what is left with clBtnFace
// (clWindow with BF_FLAT or BF_MONO); BF_ADJUST shrinks r to it. Returns false for bad input.
bool DrawEdge(HDC dc, TRect& r, unsigned edge, unsigned flags);

// DrawFrameControl types and states.
enum : unsigned { DFC_CAPTION = 1, DFC_MENU = 2, DFC_SCROLL = 3, DFC_BUTTON = 4 };
enum : unsigned {
  DFCS_BUTTONCHECK = 0x0, DFCS_BUTTONRADIOIMAGE = 0x1, DFCS_BUTTONRADIOMASK = 0x2,
  DFCS_BUTTONRADIO = 0x4, DFCS_BUTTON3STATE = 0x8, DFCS_BUTTONPUSH = 0x10,
  DFCS_SCROLLUP = 0x0, DFCS_SCROLLDOWN = 0x1, DFCS_SCROLLLEFT = 0x2, DFCS_SCROLLRIGHT = 0x3,
  DFCS_SCROLLCOMBOBOX = 0x5, DFCS_SCROLLSIZEGRIP = 0x8,
  DFCS_CAPTIONCLOSE = 0x0, DFCS_CAPTIONMIN = 0x1, DFCS_CAPTIONMAX = 0x2, DFCS_CAPTIONRESTORE = 0x3,
  DFCS_INACTIVE = 0x100, DFCS_PUSHED = 0x200, DFCS_CHECKED = 0x400, DFCS_TRANSPARENT = 0x800,
  DFCS_HOT = 0x1000, DFCS_ADJUSTRECT = 0x2000, DFCS_FLAT = 0x4000, DFCS_MONO = 0x8000
};

// Classic frame controls: push buttons (raised; pushed: sunken with the face one pixel lower;
// checked: sunken over a dithered face), check boxes (sunken white well with a check mark;
// 3-state checked: grey mark on a dithered well), radio buttons (a round sunken well with a dot),
// scroll arrows and the combo-box arrow (a raised button with a triangle; pushed: flat border
// and the triangle one pixel down-right), the size grip and caption buttons. Inactive glyphs
// are drawn embossed in clBtnHighlight and clBtnShadow. With DFCS_ADJUSTRECT a push button
// returns its content rectangle in r.
bool DrawFrameControl(HDC dc, TRect& r, unsigned type, unsigned state);
