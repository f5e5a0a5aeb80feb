#include "platform/graphics/bitmap.h"

#include <cstring>
#include <fstream>

#include "platform/graphics/blit.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/png.h"

// ---- TGraphic ----

KV_IMPLEMENT_CLASS(TGraphic) {
  r.Prop("Transparent", &TGraphic::Transparent, &TGraphic::SetTransparent, false);
  r.Event("OnChange", &TGraphic::OnChange);
}

void TGraphic::Changed() { OnChange(this); }

void TGraphic::SetTransparent(bool Value) {
  if (Value == FTransparent) return;
  FTransparent = Value;
  Changed();
}

std::vector<uint8_t> ReadFileBytes(const String& FileName) {
  std::ifstream in(FileName, std::ios::binary);
  if (!in) throw EReadError("Cannot open file \"" + FileName + "\"");
  std::vector<uint8_t> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw EReadError("Cannot read file \"" + FileName + "\"");
  return data;
}

void WriteFileBytes(const String& FileName, const std::vector<uint8_t>& Data) {
  std::ofstream out(FileName, std::ios::binary | std::ios::trunc);
  if (!out) throw EWriteError("Cannot create file \"" + FileName + "\"");
  out.write(reinterpret_cast<const char*>(Data.data()), static_cast<std::streamsize>(Data.size()));
  out.flush();
  if (!out) throw EWriteError("Cannot write file \"" + FileName + "\"");
}

void TGraphic::LoadFromFile(const String& FileName) {
  std::vector<uint8_t> data = ReadFileBytes(FileName);
  LoadFromMemory(data.data(), data.size());
}

void TGraphic::SaveToFile(const String& FileName) const { WriteFileBytes(FileName, SaveToMemory()); }

// ---- pixel helpers ----

void PremultiplySurface(TSurface& s) {
  for (int y = 0; y < s.Height(); ++y) {
    uint32_t* row = s.Row(y);
    for (int x = 0; x < s.Width(); ++x) {
      uint32_t p = row[x], a = PixelAlpha(p);
      if (a == 255) continue;
      auto mul = [a](uint32_t c) { uint32_t t = c * a + 128; return (t + (t >> 8)) >> 8; };
      row[x] = PixelARGB(a, mul(PixelRed(p)), mul(PixelGreen(p)), mul(PixelBlue(p)));
    }
  }
  s.MarkDirtyForCairo();
}

void UnpremultiplySurface(TSurface& s) {
  for (int y = 0; y < s.Height(); ++y) {
    uint32_t* row = s.Row(y);
    for (int x = 0; x < s.Width(); ++x) {
      uint32_t p = row[x], a = PixelAlpha(p);
      if (a == 255) continue;
      if (a == 0) {
        row[x] = 0;
        continue;
      }
      auto div = [a](uint32_t c) { return std::min<uint32_t>(255, (c * 255 + a / 2) / a); };
      row[x] = PixelARGB(a, div(PixelRed(p)), div(PixelGreen(p)), div(PixelBlue(p)));
    }
  }
  s.MarkDirtyForCairo();
}

// ---- TBitmap ----

KV_IMPLEMENT_CLASS(TBitmap) {
  r.Prop("PixelFormat", &TBitmap::PixelFormat, &TBitmap::SetPixelFormat, pfDevice);
  r.Prop("AlphaFormat", &TBitmap::AlphaFormat, &TBitmap::SetAlphaFormat, afIgnored);
  r.Color("TransparentColor", &TBitmap::TransparentColor, &TBitmap::SetTransparentColor, clDefault);
  r.Prop("TransparentMode", &TBitmap::TransparentMode, &TBitmap::SetTransparentMode, tmAuto);
  r.Prop("Width", &TBitmap::Width, &TBitmap::SetWidth, 0);
  r.Prop("Height", &TBitmap::Height, &TBitmap::SetHeight, 0);
}

TBitmap::TBitmap() : FSurface(std::make_shared<TSurface>()) { FHandle = CreateBitmapFromSurface(FSurface); }

TBitmap::TBitmap(int AWidth, int AHeight) : TBitmap() { SetSize(AWidth, AHeight); }

TBitmap::~TBitmap() {
  FCanvas.reset();
  DeleteObject(FHandle);
}

void TBitmap::SetSize(int AWidth, int AHeight) {
  if (AWidth < 0 || AHeight < 0)
    throw EInvalidGraphicOperation("Invalid bitmap size " + std::to_string(AWidth) + " x " + std::to_string(AHeight));
  if (AWidth == Width() && AHeight == Height()) return;
  FSurface->Resize(AWidth, AHeight);
  Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat Value) {
  if (Value == FPixelFormat) return;
  if (Value != pfDevice && Value != pf24bit && Value != pf32bit)
    throw EInvalidGraphicOperation("Unsupported pixel format: " + EnumInfo<TPixelFormat>().Name(Value));
  if (Value != pf32bit && FAlphaFormat == afPremultiplied) UnpremultiplySurface(*FSurface);
  FPixelFormat = Value;
  if (Value != pf32bit) FAlphaFormat = afIgnored;
  Changed();
}

void TBitmap::SetAlphaFormat(TAlphaFormat Value) {
  if (Value == FAlphaFormat) return;
  if (Value == afPremultiplied) PremultiplySurface(*FSurface);
  else if (FAlphaFormat == afPremultiplied) UnpremultiplySurface(*FSurface);
  FAlphaFormat = Value;
  Changed();
}

TColor TBitmap::TransparentColor() const {
  if (FTransparentMode == tmFixed && FTransparentColor != clDefault) return FTransparentColor;
  if (Empty()) return clDefault;
  // Auto: the bottom-left pixel.
  uint32_t p = FSurface->Row(Height() - 1)[0];
  return RGB(static_cast<int>(PixelRed(p)), static_cast<int>(PixelGreen(p)), static_cast<int>(PixelBlue(p)));
}

void TBitmap::SetTransparentColor(TColor Value) {
  if (Value == FTransparentColor && FTransparentMode == (Value == clDefault ? tmAuto : tmFixed)) return;
  FTransparentColor = Value;
  FTransparentMode = Value == clDefault ? tmAuto : tmFixed;
  Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode Value) {
  if (Value == FTransparentMode) return;
  FTransparentMode = Value;
  if (Value == tmAuto) FTransparentColor = clDefault;
  Changed();
}

uint32_t* TBitmap::ScanLine(int Row) {
  if (Row < 0 || Row >= Height()) throw EInvalidGraphicOperation("Scan line index out of range: " + std::to_string(Row));
  return FSurface->Row(Row);
}

const uint32_t* TBitmap::ScanLine(int Row) const { return const_cast<TBitmap*>(this)->ScanLine(Row); }

TCanvas* TBitmap::Canvas() {
  if (!FCanvas) FCanvas = std::make_unique<TBitmapCanvas>(this);
  return FCanvas.get();
}

void TBitmap::TakePixels(std::shared_ptr<TSurface> Pixels, TPixelFormat Format, TAlphaFormat Alpha) {
  FSurface->Resize(0, 0);
  FSurface->Resize(Pixels->Width(), Pixels->Height());
  for (int y = 0; y < Pixels->Height(); ++y)
    std::memcpy(FSurface->Row(y), Pixels->Row(y), static_cast<size_t>(Pixels->Width()) * 4u);
  FSurface->MarkDirtyForCairo();
  FPixelFormat = Format;
  FAlphaFormat = Alpha;
  Changed();
}

void TBitmap::Assign(const TPersistent* Source) {
  if (auto* b = dynamic_cast<const TBitmap*>(Source)) {
    if (b == this) return;
    FPixelFormat = b->FPixelFormat;
    FAlphaFormat = b->FAlphaFormat;
    FTransparent = b->FTransparent;
    FTransparentColor = b->FTransparentColor;
    FTransparentMode = b->FTransparentMode;
    TakePixels(b->FSurface, b->FPixelFormat, b->FAlphaFormat);
    return;
  }
  if (!Source) {
    SetSize(0, 0);
    return;
  }
  inherited::Assign(Source);
}

void TBitmap::LoadFromMemory(const void* Data, size_t Size) {
  // Bitmaps read PNG data; decoding finishes before anything changes.
  TDecodedPng png = DecodePng(Data, Size);
  TakePixels(png.Pixels, pf32bit, afPremultiplied);
}

std::vector<uint8_t> TBitmap::SaveToMemory() const {
  return EncodePng(*FSurface, HasAlpha() && FAlphaFormat == afPremultiplied, !HasAlpha());
}

void TBitmap::Draw(TCanvas* ACanvas, const TRect& R, uint8_t Opacity) const {
  if (!ACanvas || Empty() || R.IsEmpty()) return;
  HDC dst = ACanvas->Handle();
  if (!dst) return;
  HDC src = CreateCompatibleDC(nullptr);
  std::shared_ptr<TSurface> pixels = FSurface;
  std::unique_ptr<TSurface> premultiplied;
  if (FPixelFormat == pf32bit && FAlphaFormat == afDefined) {
    // Straight alpha: blend a premultiplied copy.
    premultiplied = std::make_unique<TSurface>(Width(), Height());
    for (int y = 0; y < Height(); ++y)
      std::memcpy(premultiplied->Row(y), FSurface->Row(y), static_cast<size_t>(Width()) * 4u);
    PremultiplySurface(*premultiplied);
  }
  HBITMAP tmp = premultiplied ? CreateBitmapFromSurface(std::shared_ptr<TSurface>(std::move(premultiplied))) : nullptr;
  SelectObject(src, tmp ? tmp : FHandle);
  if (FTransparent && !HasAlpha()) {
    TransparentBlt(dst, R.Left, R.Top, R.Width(), R.Height(), src, 0, 0, Width(), Height(), TransparentColor());
  } else {
    BLENDFUNCTION bf;
    bf.SourceConstantAlpha = Opacity;
    bf.AlphaFormat = HasAlpha() ? AC_SRC_ALPHA : 0;
    AlphaBlend(dst, R.Left, R.Top, R.Width(), R.Height(), src, 0, 0, Width(), Height(), bf);
  }
  DeleteDC(src);
  if (tmp) DeleteObject(tmp);
}
