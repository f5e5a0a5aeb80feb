#pragma once
// TCanvas: drawing with a pen, a brush and a font on a device context.
//
// Before each call the canvas selects what the call needs into its device context: the pen
// (and its mode as the raster operation), the brush (its colour is the background colour; a
// clear brush makes the background mode transparent) and the font (its colour is the text
// colour). Changing a property of the pen, brush or font takes effect at the next call.
#include <memory>
#include <mutex>
#include <vector>

#include "platform/graphics/dc.h"
#include "platform/graphics/font.h"
#include "platform/graphics/penbrush.h"

class TGraphic;

KV_ENUM(TTextFormats_, tfBottom, tfCalcRect, tfCenter, tfEditControl, tfEndEllipsis, tfPathEllipsis,
        tfExpandTabs, tfExternalLeading, tfLeft, tfModifyString, tfNoClip, tfNoPrefix, tfRight,
        tfRtlReading, tfSingleLine, tfTop, tfVerticalCenter, tfWordBreak, tfHidePrefix,
        tfNoFullWidthCharBreak, tfPrefixOnly, tfWordEllipsis)
using TTextFormat = TSet<TTextFormats_>;
unsigned TextFormatToFlags(TTextFormat format);

class TCanvas : public TPersistent {
  KV_CLASS(TCanvas, TPersistent)
public:
  TCanvas();
  ~TCanvas() override;

  // The device context; a canvas that makes its own (a bitmap's) creates it on first use.
  HDC Handle();
  // Uses dc from now on (null detaches). The previous context gets its original objects back.
  void SetHandle(HDC Value);
  bool HandleAllocated() const { return FHandle != nullptr; }

  TPen* Pen() const { return FPen.get(); }
  void SetPen(TPen* Value) { FPen->Assign(Value); }
  TBrush* Brush() const { return FBrush.get(); }
  void SetBrush(TBrush* Value) { FBrush->Assign(Value); }
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  TPoint PenPos();
  void SetPenPos(TPoint Value) { MoveTo(Value.X, Value.Y); }
  uint32_t CopyMode() const { return FCopyMode; }
  void SetCopyMode(uint32_t Value) { FCopyMode = Value; }
  // The visible part of the canvas in logical coordinates.
  TRect ClipRect();

  TColor Pixels(int X, int Y);
  void SetPixels(int X, int Y, TColor Value);

  void MoveTo(int X, int Y);
  void LineTo(int X, int Y);
  void Polyline(const std::vector<TPoint>& Points);
  void Polygon(const std::vector<TPoint>& Points);
  void Rectangle(int X1, int Y1, int X2, int Y2);
  void Rectangle(const TRect& R) { Rectangle(R.Left, R.Top, R.Right, R.Bottom); }
  void RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3);
  void Ellipse(int X1, int Y1, int X2, int Y2);
  void Ellipse(const TRect& R) { Ellipse(R.Left, R.Top, R.Right, R.Bottom); }
  void FillRect(const TRect& R);
  void FrameRect(const TRect& R);
  void DrawFocusRect(const TRect& R);

  // Draws at (X, Y) and moves the pen position to the end of the text.
  void TextOut(int X, int Y, const String& Text);
  // Text at (X, Y) clipped to R; the brush fills R first unless it is clear.
  void TextRect(const TRect& R, int X, int Y, const String& Text);
  // DrawText with the format; tfCalcRect updates R, tfModifyString updates Text.
  void TextRect(TRect& R, String& Text, TTextFormat Format);
  void TextRect(TRect& R, String& Text, unsigned DrawTextFlags);
  TSize TextExtent(const String& Text);
  int TextWidth(const String& Text) { return TextExtent(Text).cx; }
  // The font's line height (ascent + descent), the same for every text.
  int TextHeight(const String& Text) { return TextExtent(Text).cy; }

  // Draws a picture at (X, Y) in its own size, or stretched into R.
  void Draw(int X, int Y, const TGraphic* Graphic, uint8_t Opacity = 255);
  void StretchDraw(const TRect& R, const TGraphic* Graphic);
  // Copies Source of another canvas into Dest with CopyMode, stretching when sizes differ.
  void CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source);

  // The canvas is shared by threads only under its lock.
  void Lock();
  void Unlock();
  bool TryLock();
  int LockCount() const { return FLockCount; }

  // Selects the stock objects back into the device context (before it is reused elsewhere).
  void Refresh();

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

protected:
  virtual void CreateHandle() {}
  void Changing() { OnChanging(this); }
  void Changed() { OnChange(this); }
  // Makes sure the handle exists and the needed objects are selected; null when there is no
  // device context to draw on.
  HDC RequirePen();
  HDC RequireBrush();
  HDC RequireFont();
  HDC RequireAll();

private:
  HDC RequireHandle();
  void DeselectHandles();
  void ObjectChanged(TObject* Sender);

  HDC FHandle = nullptr;
  std::unique_ptr<TPen> FPen;
  std::unique_ptr<TBrush> FBrush;
  std::unique_ptr<TFont> FFont;
  bool FPenValid = false, FBrushValid = false, FFontValid = false;
  uint32_t FRestoreCount = 0;  // the context's restore count when the objects were selected
  HGDIOBJ FOldPen = nullptr, FOldBrush = nullptr, FOldFont = nullptr;
  uint32_t FCopyMode = SRCCOPY;
  std::recursive_mutex FLock;
  int FLockCount = 0;
};

// The canvas of a bitmap: a memory device context with the bitmap selected.
class TBitmap;
class TBitmapCanvas : public TCanvas {
  KV_CLASS(TBitmapCanvas, TCanvas)
public:
  explicit TBitmapCanvas(TBitmap* Bitmap) : FBitmap(Bitmap) {}
  ~TBitmapCanvas() override;

protected:
  void CreateHandle() override;

private:
  TBitmap* FBitmap;
  HDC FOwnDC = nullptr;
};
