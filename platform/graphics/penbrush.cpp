#include "platform/graphics/penbrush.h"

#include "platform/graphics/bitmap.h"

int PenModeToRop2(TPenMode mode) {
  static constexpr int kRop[] = {R2_BLACK,     R2_WHITE,      R2_NOP,        R2_NOT,         R2_COPYPEN,
                                 R2_NOTCOPYPEN, R2_MERGEPENNOT, R2_MASKPENNOT, R2_MERGENOTPEN, R2_MASKNOTPEN,
                                 R2_MERGEPEN,   R2_NOTMERGEPEN, R2_MASKPEN,    R2_NOTMASKPEN,  R2_XORPEN,
                                 R2_NOTXORPEN};
  return mode < std::size(kRop) ? kRop[mode] : R2_COPYPEN;
}

// ---- TPen ----

KV_IMPLEMENT_CLASS(TPen) {
  r.Color("Color", &TPen::Color, &TPen::SetColor, clBlack);
  r.Prop("Mode", &TPen::Mode, &TPen::SetMode, pmCopy);
  r.Prop("Style", &TPen::Style, &TPen::SetStyle, psSolid);
  r.Prop("Width", &TPen::Width, &TPen::SetWidth, 1);
}

TPen::~TPen() {
  if (FHandle) DeleteObject(FHandle);
}

void TPen::Changed() {
  if (FHandle) DeleteObject(FHandle);
  FHandle = nullptr;
  inherited::Changed();
}

void TPen::Assign(const TPersistent* Source) {
  if (auto* p = dynamic_cast<const TPen*>(Source)) {
    if (p == this) return;
    FColor = p->FColor;
    FWidth = p->FWidth;
    FStyle = p->FStyle;
    FMode = p->FMode;
    Changed();
    return;
  }
  inherited::Assign(Source);
}

void TPen::SetColor(TColor Value) {
  if (Value == FColor) return;
  FColor = Value;
  Changed();
}

void TPen::SetWidth(int Value) {
  if (Value < 1) Value = 1;
  if (Value == FWidth) return;
  FWidth = Value;
  Changed();
}

void TPen::SetStyle(TPenStyle Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  Changed();
}

void TPen::SetMode(TPenMode Value) {
  if (Value == FMode) return;
  FMode = Value;
  // The mode is a device-context setting, not part of the pen object.
  inherited::Changed();
}

HPEN TPen::Handle() const {
  if (!FHandle) {
    static constexpr int kStyle[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
    FHandle = CreatePen(kStyle[FStyle], FWidth, ColorToRGB(FColor));
  }
  return FHandle;
}

// ---- TBrush ----

KV_IMPLEMENT_CLASS(TBrush) {
  r.Color("Color", &TBrush::Color, &TBrush::SetColor, clWhite);
  r.Prop("Style", &TBrush::Style, &TBrush::SetStyle, bsSolid);
}

TBrush::~TBrush() {
  if (FHandle) DeleteObject(FHandle);
}

void TBrush::Changed() {
  if (FHandle) DeleteObject(FHandle);
  FHandle = nullptr;
  inherited::Changed();
}

void TBrush::Assign(const TPersistent* Source) {
  if (auto* b = dynamic_cast<const TBrush*>(Source)) {
    if (b == this) return;
    FColor = b->FColor;
    FStyle = b->FStyle;
    FBitmap = b->FBitmap;
    Changed();
    return;
  }
  inherited::Assign(Source);
}

void TBrush::SetColor(TColor Value) {
  if (Value == FColor && FStyle != bsClear) return;
  FColor = Value;
  if (FStyle == bsClear) FStyle = bsSolid;
  Changed();
}

void TBrush::SetStyle(TBrushStyle Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  Changed();
}

void TBrush::SetBitmap(TBitmap* Value) {
  if (Value == FBitmap) return;
  FBitmap = Value;
  Changed();
}

HBRUSH TBrush::Handle() const {
  if (!FHandle) {
    if (FBitmap && !FBitmap->Empty()) {
      FHandle = CreatePatternBrush(FBitmap->Handle());
    } else if (FStyle == bsClear) {
      LOGBRUSH lb;
      lb.lbStyle = BS_NULL;
      FHandle = CreateBrushIndirect(lb);
    } else if (FStyle == bsSolid) {
      FHandle = CreateSolidBrush(ColorToRGB(FColor));
    } else {
      static constexpr int kHatch[] = {0, 0, HS_HORIZONTAL, HS_VERTICAL, HS_FDIAGONAL, HS_BDIAGONAL, HS_CROSS, HS_DIAGCROSS};
      FHandle = CreateHatchBrush(kHatch[FStyle], ColorToRGB(FColor));
    }
  }
  return FHandle;
}
