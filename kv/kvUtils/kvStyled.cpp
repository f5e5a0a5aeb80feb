#include "kv/kvUtils/kvStyled.h"

#include <algorithm>
#include <cmath>

#include "kv/kvUtils/kvColors.h"
#include "kv/kvUtils/kvElements.h"
#include "kv/kvUtils/kvGlyphs.h"
#include "kv/kvUtils/kvPaint.h"
#include "kv/kvUtils/kvStyledShared.h"
#include "platform/graphics/framectl.h"
#include "platform/graphics/primitives.h"

namespace {
void ArrowButton(TCanvas* Canvas, const TRect& Rect, TkvsCtrlState State, TThemedScrollBar Styled,
                 TThemedSpin Native, unsigned Classic) {
  HDC dc = CanvasDC(Canvas);
  if (!dc) return;
  if (IsCustomStyle()) DrawThemed(dc, GetElementDetails(FourState(Styled, State)), Rect);
  else if (ThemesOn()) DrawThemed(dc, GetElementDetails(FourState(Native, State)), Rect);
  else DrawClassicControl(dc, Rect, DFC_SCROLL, Classic | (State == kvsPressed ? DFCS_PUSHED : 0u));
}

void Frame(TCanvas* Canvas, TRect R, TColor TopLeft, TColor BottomRight) { DrawFrame3D(Canvas, R, TopLeft, BottomRight); }
}  // namespace

void DrawButton(TCanvas* Canvas, const TRect& Rect, TkvsCtrlState State, bool Focused) {
  HDC dc = CanvasDC(Canvas);
  if (!dc) return;
  bool focusRect = Focused;
  if (ThemesOn()) {
    DrawThemed(dc, PushButtonDetails(State), Rect);
    focusRect = Focused && StyleServices().IsSystemStyle();
  } else {
    DrawClassicControl(dc, Rect, DFC_BUTTON, DFCS_BUTTONPUSH | (State == kvsPressed ? DFCS_PUSHED : 0u));
  }
  if (focusRect) DrawFocusRect(dc, Rect.Inflated(-3, -3));
}

void DrawToolButton(TCanvas* Canvas, const TRect& Rect, TkvsCtrlState State) {
  HDC dc = CanvasDC(Canvas);
  if (!dc) return;
  if (ThemesOn()) DrawThemed(dc, ToolButtonDetails(State), Rect);
  else if (State == kvsPressed) Frame(Canvas, Rect, clBtnShadow, clBtnHighlight);
  else if (State == kvsHot || State == kvsFocused) Frame(Canvas, Rect, clBtnHighlight, clBtnShadow);
}

void DrawToolButtonFramed(TCanvas* Canvas, const TRect& Rect, TkvsCtrlState State) {
  if (!CanvasDC(Canvas)) return;
  if (ThemesOn()) {
    DrawToolButton(Canvas, Rect, State);
    return;
  }
  TRect inner = Rect;
  DrawFrame3D(Canvas, inner, clBtnFace, clBtnFace);
  DrawToolButton(Canvas, inner, State);
}

void DrawUpArrowButton(TCanvas* Canvas, const TRect& Rect, TkvsCtrlState State) {
  ArrowButton(Canvas, Rect, State, tsArrowBtnUpNormal, tsUpNormal, DFCS_SCROLLUP);
}

void DrawDownArrowButton(TCanvas* Canvas, const TRect& Rect, TkvsCtrlState State) {
  ArrowButton(Canvas, Rect, State, tsArrowBtnDownNormal, tsDownNormal, DFCS_SCROLLDOWN);
}

void DrawLeftArrowButton(TCanvas* Canvas, const TRect& Rect, TkvsCtrlState State) {
  ArrowButton(Canvas, Rect, State, tsArrowBtnLeftNormal, tsDownHorzNormal, DFCS_SCROLLLEFT);
}

void DrawRightArrowButton(TCanvas* Canvas, const TRect& Rect, TkvsCtrlState State) {
  ArrowButton(Canvas, Rect, State, tsArrowBtnRightNormal, tsUpHorzNormal, DFCS_SCROLLRIGHT);
}

void DrawEditFrame(TCanvas* Canvas, const TRect& Rect, TkvsCtrlState State) {
  HDC dc = CanvasDC(Canvas);
  if (!dc) return;
  if (ThemesOn()) {
    TThemedEdit e = State == kvsHot || State == kvsFocused ? teEditBorderNoScrollHot
                    : State == kvsPressed                  ? teEditBorderNoScrollFocused
                    : State == kvsDisabled                 ? teEditBorderNoScrollDisabled
                                                           : teEditBorderNoScrollNormal;
    DrawThemed(dc, GetElementDetails(e), Rect);
    return;
  }
  TRect r = Rect;
  DrawFrame3D(Canvas, r, clBtnShadow, clBtnHighlight);
  DrawFrame3D(Canvas, r, cl3DDkShadow, cl3DLight);
}

void DrawHeaderSection(TCanvas* Canvas, const TRect& Rect, TkvsCtrlState State) {
  HDC dc = CanvasDC(Canvas);
  if (!dc) return;
  if (ThemesOn()) {
    TThemedGrid g = State == kvsPressed                      ? tgFixedCellPressed
                    : State == kvsHot || State == kvsFocused ? tgFixedCellHot
                                                             : tgFixedCellNormal;
    DrawThemed(dc, GetElementDetails(g), Rect);
    return;
  }
  TSolidPainter(dc, clBtnFace).Fill(Rect);
  if (State == kvsPressed) Frame(Canvas, Rect, clBtnShadow, clBtnHighlight);
  else Frame(Canvas, Rect, clBtnHighlight, clBtnShadow);
}

void DrawSelection(TCanvas* Canvas, const TRect& Rect, bool Focused) {
  HDC dc = CanvasDC(Canvas);
  if (!dc) return;
  if (!ThemesOn()) {
    TSolidPainter(dc, clHighlight).Fill(Rect);
    return;
  }
  int saved = SaveDC(dc);
  if (Focused && !IsCustomStyle()) DrawThemed(dc, GetElementDetails(tmcGridCellBackgroundSelectedHot), Rect);
  else DrawThemed(dc, GetElementDetails(tgCellSelected), Rect);
  RestoreDC(dc, saved);
}

void DrawGroupFrame(TCanvas* Canvas, const TRect& Rect) {
  HDC dc = CanvasDC(Canvas);
  if (!dc) return;
  if (ThemesOn()) {
    DrawThemed(dc, GetElementDetails(tbGroupBoxNormal), Rect);
    return;
  }
  Frame(Canvas, {Rect.Left + 1, Rect.Top + 1, Rect.Right, Rect.Bottom}, clBtnHighlight, clBtnHighlight);
  Frame(Canvas, {Rect.Left, Rect.Top, Rect.Right - 1, Rect.Bottom - 1}, clBtnShadow, clBtnShadow);
}

void DrawPopupFrame(TCanvas* Canvas, const TRect& Rect) {
  if (!CanvasDC(Canvas)) return;
  TRect r = Rect;
  TColor shadow = GetStyleSystemColor(clBtnShadow), window = GetStyleSystemColor(clWindow);
  DrawFrame3D(Canvas, r, shadow, shadow);
  DrawFrame3D(Canvas, r, window, window);
}

void DrawToolBarBackground(TCanvas* Canvas, const TRect& Rect) {
  HDC dc = CanvasDC(Canvas);
  if (!dc) return;
  if (ThemesOn()) DrawThemed(dc, GetElementDetails(teToolBar, 0, 0), Rect);
  else TSolidPainter(dc, clBtnFace).Fill(Rect);
}

void DrawFormBackground(TCanvas* Canvas, const TRect& Rect) {
  HDC dc = CanvasDC(Canvas);
  if (!dc) return;
  if (IsCustomStyle()) DrawThemed(dc, GetElementDetails(teWindow, 0, 0), Rect);
  else TSolidPainter(dc, clBtnFace).Fill(Rect);
}

void DrawTabPane(TCanvas* Canvas, const TRect& Rect) {
  HDC dc = CanvasDC(Canvas);
  if (!dc) return;
  if (ThemesOn()) {
    DrawThemed(dc, GetElementDetails(ttPane), Rect);
    return;
  }
  TSolidPainter(dc, clBtnFace).Fill(Rect);
  TRect r = Rect;
  DrawFrame3D(Canvas, r, clBtnHighlight, cl3DDkShadow);
  DrawFrame3D(Canvas, r, cl3DLight, clBtnShadow);
}

TRect ProgressFillRect(const TRect& Rect, int Min, int Max, int Position) {
  float fraction = 0;
  if (Max != Min && Position >= Min)
    fraction = static_cast<float>(static_cast<double>(Position) - Min) / static_cast<float>(static_cast<double>(Max) - Min);
  // Kept within the bar: a position beyond Max, or Max below Min, must not overrun it.
  fraction = std::clamp(fraction, 0.0f, 1.0f);
  int width = std::max(0, static_cast<int>(std::nearbyint(static_cast<float>(Rect.Width() - 2) * fraction)));
  TRect filled = Rect.Inflated(-1, -1);
  filled.Right = filled.Left + width;
  return filled;
}

void DrawProgressBar(TCanvas* Canvas, const TRect& Rect, int Min, int Max, int Position) {
  HDC dc = CanvasDC(Canvas);
  if (!dc) return;
  TRect filled = ProgressFillRect(Rect, Min, Max, Position);
  int saved = SaveDC(dc);
  if (ThemesOn()) {
    DrawThemed(dc, GetElementDetails(tpBar), Rect);
    if (filled.Width() > 0) DrawThemed(dc, GetElementDetails(tpChunk), filled);
  } else {
    SelectObject(dc, GetStockObject(DC_PEN));
    SetDCPenColor(dc, ColorToRGB(clBtnShadow));
    SelectObject(dc, GetStockObject(WHITE_BRUSH));
    SetROP2(dc, R2_COPYPEN);
    Rectangle(dc, Rect.Left, Rect.Top, Rect.Right, Rect.Bottom);
    TSolidPainter(dc, clGreen).Fill(filled);
  }
  RestoreDC(dc, saved);
}
