#pragma once
// TPen and TBrush: the canvas's pen and brush.
#include "platform/graphics/gobject.h"
#include "platform/graphics/objects.h"

KV_ENUM(TPenStyle, psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame)
KV_ENUM(TPenMode, pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
        pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor)
KV_ENUM(TBrushStyle, bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross,
        bsDiagCross)

// The binary raster operation of a pen mode.
int PenModeToRop2(TPenMode mode);

class TPen : public TGraphicsObject {
  KV_CLASS(TPen, TGraphicsObject)
public:
  TPen() = default;
  ~TPen() override;
  void Assign(const TPersistent* Source) override;

  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  // Widths below 1 are taken as 1.
  int Width() const { return FWidth; }
  void SetWidth(int Value);
  TPenStyle Style() const { return FStyle; }
  void SetStyle(TPenStyle Value);
  TPenMode Mode() const { return FMode; }
  void SetMode(TPenMode Value);

  HPEN Handle() const;

protected:
  void Changed() override;

private:
  TColor FColor = clBlack;
  int FWidth = 1;
  TPenStyle FStyle = psSolid;
  TPenMode FMode = pmCopy;
  mutable HPEN FHandle = nullptr;
};

class TBitmap;

class TBrush : public TGraphicsObject {
  KV_CLASS(TBrush, TGraphicsObject)
public:
  TBrush() = default;
  ~TBrush() override;
  void Assign(const TPersistent* Source) override;

  TColor Color() const { return FColor; }
  // Setting a colour makes a clear brush solid.
  void SetColor(TColor Value);
  TBrushStyle Style() const { return FStyle; }
  void SetStyle(TBrushStyle Value);
  // A pattern: the brush tiles a copy of the bitmap's pixels (taken when the handle is made).
  // The brush does not own the bitmap; null removes the pattern.
  TBitmap* Bitmap() const { return FBitmap; }
  void SetBitmap(TBitmap* Value);

  HBRUSH Handle() const;

protected:
  void Changed() override;

private:
  TColor FColor = clWhite;
  TBrushStyle FStyle = bsSolid;
  TBitmap* FBitmap = nullptr;
  mutable HBRUSH FHandle = nullptr;
};
