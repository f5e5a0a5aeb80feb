#include "platform/graphics/canvas.h"

#include "platform/graphics/bitmap.h"
#include "platform/graphics/blit.h"
#include "platform/graphics/primitives.h"
#include "platform/graphics/text.h"

KV_IMPLEMENT_CLASS(TCanvas) {
  r.Prop("Pen", &TCanvas::Pen, &TCanvas::SetPen);
  r.Prop("Brush", &TCanvas::Brush, &TCanvas::SetBrush);
  r.Prop("Font", &TCanvas::Font, &TCanvas::SetFont);
  r.Event("OnChange", &TCanvas::OnChange);
  r.Event("OnChanging", &TCanvas::OnChanging);
}
KV_IMPLEMENT_CLASS(TBitmapCanvas) {}

unsigned TextFormatToFlags(TTextFormat f) {
  static constexpr unsigned kFlags[] = {
      DT_BOTTOM, DT_CALCRECT, DT_CENTER, DT_EDITCONTROL, DT_END_ELLIPSIS, DT_PATH_ELLIPSIS, DT_EXPANDTABS,
      DT_EXTERNALLEADING, DT_LEFT, DT_MODIFYSTRING, DT_NOCLIP, DT_NOPREFIX, DT_RIGHT, DT_RTLREADING,
      DT_SINGLELINE, DT_TOP, DT_VCENTER, DT_WORDBREAK, DT_HIDEPREFIX, DT_NOFULLWIDTHCHARBREAK, DT_PREFIXONLY,
      DT_WORD_ELLIPSIS};
  unsigned flags = 0;
  for (size_t i = 0; i < std::size(kFlags); ++i)
    if (f.Contains(static_cast<TTextFormats_>(i))) flags |= kFlags[i];
  return flags;
}

TCanvas::TCanvas()
    : FPen(std::make_unique<TPen>()), FBrush(std::make_unique<TBrush>()), FFont(std::make_unique<TFont>()) {
  TNotifyEvent changed(this, &TCanvas::ObjectChanged);
  FPen->OnChange = changed;
  FBrush->OnChange = changed;
  FFont->OnChange = changed;
}

TCanvas::~TCanvas() { SetHandle(nullptr); }

void TCanvas::ObjectChanged(TObject* Sender) {
  if (Sender == FPen.get()) FPenValid = false;
  else if (Sender == FBrush.get()) FBrushValid = false;
  else if (Sender == FFont.get()) FFontValid = false;
}

HDC TCanvas::Handle() { return RequireHandle(); }

void TCanvas::SetHandle(HDC Value) {
  if (Value == FHandle) return;
  DeselectHandles();
  FHandle = Value;
  FRestoreCount = GetDCRestoreCount(Value);
}

void TCanvas::DeselectHandles() {
  if (FHandle) {
    if (FOldPen) SelectObject(FHandle, FOldPen);
    if (FOldBrush) SelectObject(FHandle, FOldBrush);
    if (FOldFont) SelectObject(FHandle, FOldFont);
  }
  FOldPen = FOldBrush = FOldFont = nullptr;
  FPenValid = FBrushValid = FFontValid = false;
}

void TCanvas::Refresh() { DeselectHandles(); }

HDC TCanvas::RequireHandle() {
  if (!FHandle) CreateHandle();
  // Code that saved and restored the context around its own drawing took the canvas's
  // objects out with the restore: select them again before the next use.
  if (FHandle && GetDCRestoreCount(FHandle) != FRestoreCount) {
    FRestoreCount = GetDCRestoreCount(FHandle);
    FPenValid = FBrushValid = FFontValid = false;
  }
  return FHandle;
}

HDC TCanvas::RequirePen() {
  HDC dc = RequireHandle();
  if (dc && !FPenValid) {
    HGDIOBJ old = SelectObject(dc, FPen->Handle());
    if (!FOldPen) FOldPen = old;
    SetROP2(dc, PenModeToRop2(FPen->Mode()));
    FPenValid = true;
  }
  return dc;
}

HDC TCanvas::RequireBrush() {
  HDC dc = RequireHandle();
  if (dc && !FBrushValid) {
    HGDIOBJ old = SelectObject(dc, FBrush->Handle());
    if (!FOldBrush) FOldBrush = old;
    SetBkColor(dc, ColorToRGB(FBrush->Color()));
    SetBkMode(dc, FBrush->Style() == bsClear ? TRANSPARENT : OPAQUE);
    FBrushValid = true;
  }
  return dc;
}

HDC TCanvas::RequireFont() {
  HDC dc = RequireHandle();
  if (dc && !FFontValid) {
    HGDIOBJ old = SelectObject(dc, FFont->Handle());
    if (!FOldFont) FOldFont = old;
    SetTextColor(dc, ColorToRGB(FFont->Color()));
    FFontValid = true;
  }
  return dc;
}

HDC TCanvas::RequireAll() {
  RequirePen();
  RequireBrush();
  return RequireFont();
}

TPoint TCanvas::PenPos() {
  TPoint p;
  if (HDC dc = RequireHandle()) GetCurrentPositionEx(dc, &p);
  return p;
}

TRect TCanvas::ClipRect() {
  TRect r;
  if (HDC dc = RequireHandle()) GetClipBox(dc, &r);
  return r;
}

TColor TCanvas::Pixels(int X, int Y) {
  HDC dc = RequireHandle();
  return dc ? GetPixel(dc, X, Y) : clNone;
}

void TCanvas::SetPixels(int X, int Y, TColor Value) {
  if (HDC dc = RequireHandle()) {
    Changing();
    SetPixel(dc, X, Y, ColorToRGB(Value));
    Changed();
  }
}

void TCanvas::MoveTo(int X, int Y) {
  if (HDC dc = RequireHandle()) MoveToEx(dc, X, Y, nullptr);
}

void TCanvas::LineTo(int X, int Y) {
  if (HDC dc = RequirePen()) {
    Changing();
    ::LineTo(dc, X, Y);
    Changed();
  }
}

void TCanvas::Polyline(const std::vector<TPoint>& Points) {
  if (HDC dc = RequirePen()) {
    Changing();
    ::Polyline(dc, Points.data(), static_cast<int>(Points.size()));
    Changed();
  }
}

void TCanvas::Polygon(const std::vector<TPoint>& Points) {
  RequirePen();
  if (HDC dc = RequireBrush()) {
    Changing();
    ::Polygon(dc, Points.data(), static_cast<int>(Points.size()));
    Changed();
  }
}

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2) {
  RequirePen();
  if (HDC dc = RequireBrush()) {
    Changing();
    ::Rectangle(dc, X1, Y1, X2, Y2);
    Changed();
  }
}

void TCanvas::RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3) {
  RequirePen();
  if (HDC dc = RequireBrush()) {
    Changing();
    ::RoundRect(dc, X1, Y1, X2, Y2, X3, Y3);
    Changed();
  }
}

void TCanvas::Ellipse(int X1, int Y1, int X2, int Y2) {
  RequirePen();
  if (HDC dc = RequireBrush()) {
    Changing();
    ::Ellipse(dc, X1, Y1, X2, Y2);
    Changed();
  }
}

void TCanvas::FillRect(const TRect& R) {
  if (HDC dc = RequireBrush()) {
    Changing();
    ::FillRect(dc, R, FBrush->Handle());
    Changed();
  }
}

void TCanvas::FrameRect(const TRect& R) {
  if (HDC dc = RequireBrush()) {
    Changing();
    ::FrameRect(dc, R, FBrush->Handle());
    Changed();
  }
}

void TCanvas::DrawFocusRect(const TRect& R) {
  if (HDC dc = RequireBrush()) {
    Changing();
    ::DrawFocusRect(dc, R);
    Changed();
  }
}

void TCanvas::TextOut(int X, int Y, const String& Text) {
  RequireBrush();
  if (HDC dc = RequireFont()) {
    Changing();
    ::ExtTextOut(dc, X, Y, 0, nullptr, Text);
    MoveToEx(dc, X + TextWidth(Text), Y, nullptr);
    Changed();
  }
}

void TCanvas::TextRect(const TRect& R, int X, int Y, const String& Text) {
  RequireBrush();
  if (HDC dc = RequireFont()) {
    Changing();
    unsigned options = ETO_CLIPPED | (FBrush->Style() != bsClear ? ETO_OPAQUE : 0u);
    ::ExtTextOut(dc, X, Y, options, &R, Text);
    Changed();
  }
}

void TCanvas::TextRect(TRect& R, String& Text, TTextFormat Format) { TextRect(R, Text, TextFormatToFlags(Format)); }

void TCanvas::TextRect(TRect& R, String& Text, unsigned Flags) {
  RequireBrush();
  if (HDC dc = RequireFont()) {
    Changing();
    ::DrawText(dc, Text, R, Flags);
    Changed();
  }
}

TSize TCanvas::TextExtent(const String& Text) {
  TSize s;
  if (HDC dc = RequireFont()) GetTextExtentPoint32(dc, Text, &s);
  return s;
}

void TCanvas::Draw(int X, int Y, const TGraphic* Graphic, uint8_t Opacity) {
  if (!Graphic || Graphic->Empty() || !RequireHandle()) return;
  Changing();
  Graphic->Draw(this, Bounds(X, Y, Graphic->Width(), Graphic->Height()), Opacity);
  Changed();
}

void TCanvas::StretchDraw(const TRect& R, const TGraphic* Graphic) {
  if (!Graphic || Graphic->Empty() || !RequireHandle()) return;
  Changing();
  Graphic->Draw(this, R, 255);
  Changed();
}

void TCanvas::CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source) {
  if (!Canvas) return;
  HDC src = Canvas->Handle();
  HDC dst = RequireBrush();
  if (!src || !dst) return;
  Changing();
  StretchBlt(dst, Dest.Left, Dest.Top, Dest.Width(), Dest.Height(), src, Source.Left, Source.Top, Source.Width(),
             Source.Height(), FCopyMode);
  Changed();
}

void TCanvas::Lock() {
  FLock.lock();
  ++FLockCount;
}

void TCanvas::Unlock() {
  --FLockCount;
  FLock.unlock();
}

bool TCanvas::TryLock() {
  if (!FLock.try_lock()) return false;
  ++FLockCount;
  return true;
}

// ---- TBitmapCanvas ----

TBitmapCanvas::~TBitmapCanvas() {
  SetHandle(nullptr);
  if (FOwnDC) DeleteDC(FOwnDC);
}

void TBitmapCanvas::CreateHandle() {
  if (!FOwnDC) {
    FOwnDC = CreateCompatibleDC(nullptr);
    SelectObject(FOwnDC, FBitmap->Handle());
  }
  SetHandle(FOwnDC);
}
