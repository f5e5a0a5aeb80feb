#include "kv/kvUtils/kvPaint.h"

#include <cstdlib>

#include "platform/graphics/primitives.h"

TSolidPainter::TSolidPainter(TCanvas* Canvas, TColor Color)
    : TSolidPainter(Canvas ? Canvas->Handle() : nullptr, Color) {}

TSolidPainter::TSolidPainter(HDC DC, TColor Color) : FDC(DC) {
  if (!FDC) return;
  FOldBrushColor = GetDCBrushColor(FDC);
  SetColor(Color);
}

TSolidPainter::~TSolidPainter() {
  if (FDC) SetDCBrushColor(FDC, FOldBrushColor);
}

void TSolidPainter::SetColor(TColor Color) {
  FColor = ColorToRGB(Color);
  if (FDC) SetDCBrushColor(FDC, FColor);
}

void TSolidPainter::Fill(const TRect& R) {
  if (FDC && !R.IsEmpty()) ::FillRect(FDC, R, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void TSolidPainter::LineTo(int X, int Y) {
  TPoint from = FPos;
  FPos = {X, Y};
  if (!FDC) return;
  if (from.Y == Y) {
    if (X > from.X) Fill({from.X, Y, X, Y + 1});
    else if (X < from.X) Fill({X + 1, Y, from.X + 1, Y + 1});
  } else if (from.X == X) {
    if (Y > from.Y) Fill({X, from.Y, X + 1, Y});
    else Fill({X, Y + 1, X + 1, from.Y + 1});
  } else {
    // Slanted lines go through the platform's own line rule with the device context's pen.
    int saved = SaveDC(FDC);
    SelectObject(FDC, GetStockObject(DC_PEN));
    SetDCPenColor(FDC, FColor);
    SetROP2(FDC, R2_COPYPEN);
    MoveToEx(FDC, from.X, from.Y, nullptr);
    ::LineTo(FDC, X, Y);
    RestoreDC(FDC, saved);
  }
}
