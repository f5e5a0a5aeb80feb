#include "kv/kvUtils/kvPaint.h"

#include <cstdlib>

#include "platform/graphics/primitives.h"

TSolidPainter::TSolidPainter(TCanvas* Canvas, TColor Color)
    : TSolidPainter(Canvas ? Canvas->Handle() : nullptr, Color) {}

TSolidPainter::TSolidPainter(HDC DC, TColor Color) : FDC(DC) { SetColor(Color); }

TSolidPainter::~TSolidPainter() = default;

void TSolidPainter::SetColor(TColor Color) {
  FColor = ColorToRGB(Color);
  FSpans.reset();  // writes back what the previous colour painted
  if (FDC) FSpans.emplace(*FDC, ColorToOpaquePixel(FColor), R2_COPYPEN);
}

void TSolidPainter::Fill(const TRect& R) {
  if (FSpans && !R.IsEmpty()) FSpans->Rect(FDC->ToSurface(R));
}

void TSolidPainter::Pixel(int X, int Y) {
  if (!FSpans) return;
  TPoint p = FDC->ToSurface(TPoint(X, Y));
  FSpans->Pixel(p.X, p.Y);
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
    SetColor(FColor);  // the line changed the device context under the span painter
  }
}
