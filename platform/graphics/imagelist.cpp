#include "platform/graphics/imagelist.h"

#include <cstring>
#include <mutex>
#include <unordered_map>

#include "platform/graphics/bitmap.h"
#include "platform/graphics/blit.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/raster.h"

struct TImageListData {
  int Width = 16, Height = 16;
  TColorDepth Depth = cdDeviceDependent;
  std::vector<std::shared_ptr<TSurface>> Images;
};

namespace {
// Live image list handles, so that a handle of a freed list is refused.
struct THandleRegistry {
  std::mutex Mutex;
  std::unordered_map<HIMAGELIST, std::weak_ptr<TImageListData>> Map;
};
THandleRegistry& Registry() {
  static THandleRegistry* r = new THandleRegistry();
  return *r;
}
HIMAGELIST HandleOf(const TImageListData* d) { return reinterpret_cast<HIMAGELIST>(const_cast<TImageListData*>(d)); }
std::shared_ptr<TImageListData> DataOf(HIMAGELIST h) {
  THandleRegistry& r = Registry();
  std::lock_guard lock(r.Mutex);
  auto it = r.Map.find(h);
  return it == r.Map.end() ? nullptr : it->second.lock();
}

uint32_t Luma(uint32_t p) {
  return (77 * PixelRed(p) + 151 * PixelGreen(p) + 28 * PixelBlue(p) + 128) >> 8;
}

// Every pixel either opaque (its colour un-premultiplied) or transparent.
void ToMask(TSurface& s) {
  for (int y = 0; y < s.Height(); ++y) {
    uint32_t* row = s.Row(y);
    for (int x = 0; x < s.Width(); ++x) {
      uint32_t p = row[x], a = PixelAlpha(p);
      if (a >= 128) {
        auto div = [a](uint32_t c) { return std::min<uint32_t>(255, (c * 255 + a / 2) / a); };
        row[x] = PixelARGB(255, div(PixelRed(p)), div(PixelGreen(p)), div(PixelBlue(p)));
      } else {
        row[x] = 0;
      }
    }
  }
}

enum class TLook { Normal, Disabled, Blend25, Blend50, Mask };

// Draws one image through AlphaBlend, after recolouring a copy for the looks that need it.
bool DrawImage(const TImageListData& d, int index, HDC dc, int x, int y, TLook look, TColor bk, TColor blend) {
  if (!dc || index < 0 || index >= static_cast<int>(d.Images.size())) return false;
  const TSurface& img = *d.Images[static_cast<size_t>(index)];
  if (bk != clNone && bk != CLR_NONE) {
    TSpanPainter fill(*dc, ColorToOpaquePixel(bk), R2_COPYPEN);
    fill.Rect(dc->ToSurface(Bounds(x, y, d.Width, d.Height)));
  }
  std::shared_ptr<TSurface> pixels = d.Images[static_cast<size_t>(index)];
  uint8_t alpha = 255;
  if (look != TLook::Normal) {
    pixels = std::make_shared<TSurface>(img.Width(), img.Height());
    uint32_t bp = ColorToOpaquePixel(blend == clNone || blend == CLR_DEFAULT ? clHighlight : blend);
    for (int yy = 0; yy < img.Height(); ++yy) {
      const uint32_t* s = img.Row(yy);
      uint32_t* o = pixels->Row(yy);
      for (int xx = 0; xx < img.Width(); ++xx) {
        uint32_t p = s[xx], a = PixelAlpha(p);
        switch (look) {
          case TLook::Disabled: {
            uint32_t g = Luma(p);
            o[xx] = PixelARGB(a, g, g, g);
            break;
          }
          case TLook::Mask: o[xx] = a >= 128 ? 0xFF000000u : 0xFFFFFFFFu; break;
          default: {
            // Mix the colour with the blend colour (premultiplied by the pixel's alpha).
            uint32_t num = look == TLook::Blend50 ? 2 : 1;  // parts of blend out of 4
            auto mix = [&](uint32_t c, uint32_t b) { return (c * (4 - num) + (b * a + 127) / 255 * num + 2) / 4; };
            o[xx] = PixelARGB(a, mix(PixelRed(p), PixelRed(bp)), mix(PixelGreen(p), PixelGreen(bp)),
                              mix(PixelBlue(p), PixelBlue(bp)));
            break;
          }
        }
      }
    }
    if (look == TLook::Disabled) alpha = 128;
  }
  HDC src = CreateCompatibleDC(nullptr);
  HBITMAP bmp = CreateBitmapFromSurface(pixels);
  SelectObject(src, bmp);
  BLENDFUNCTION bf;
  bf.SourceConstantAlpha = alpha;
  bf.AlphaFormat = AC_SRC_ALPHA;
  bool ok = AlphaBlend(dc, x, y, img.Width(), img.Height(), src, 0, 0, img.Width(), img.Height(), bf);
  DeleteDC(src);
  DeleteObject(bmp);
  return ok;
}

TLook LookOf(unsigned style) {
  if (style & ILD_MASK) return TLook::Mask;
  if (style & ILD_DISABLED) return TLook::Disabled;
  if (style & ILD_BLEND50) return TLook::Blend50;
  if (style & ILD_BLEND25) return TLook::Blend25;
  return TLook::Normal;
}
}  // namespace

int ImageList_GetImageCount(HIMAGELIST himl) {
  auto d = DataOf(himl);
  return d ? static_cast<int>(d->Images.size()) : 0;
}

bool ImageList_GetIconSize(HIMAGELIST himl, int* cx, int* cy) {
  auto d = DataOf(himl);
  if (!d || !cx || !cy) return false;
  *cx = d->Width;
  *cy = d->Height;
  return true;
}

bool ImageList_Draw(HIMAGELIST himl, int index, HDC dc, int x, int y, unsigned style) {
  auto d = DataOf(himl);
  return d && DrawImage(*d, index, dc, x, y, LookOf(style), clNone, clNone);
}

bool ImageList_DrawEx(HIMAGELIST himl, int index, HDC dc, int x, int y, int, int, COLORREF rgbBk, COLORREF rgbFg,
                      unsigned style) {
  auto d = DataOf(himl);
  TColor bk = (style & ILD_TRANSPARENT) ? clNone : rgbBk;
  return d && DrawImage(*d, index, dc, x, y, LookOf(style), bk, rgbFg);
}

// ---- TCustomImageList ----

KV_IMPLEMENT_CLASS(TCustomImageList) {}
KV_IMPLEMENT_CLASS(TImageList) {
  r.Prop("AllocBy", &TImageList::AllocBy, &TImageList::SetAllocBy, 4);
  r.Color("BlendColor", &TImageList::BlendColor, &TImageList::SetBlendColor, clNone);
  r.Color("BkColor", &TImageList::BkColor, &TImageList::SetBkColor, clNone);
  r.Prop("ColorDepth", &TImageList::ColorDepth, &TImageList::SetColorDepth, cdDeviceDependent);
  r.Prop("DrawingStyle", &TImageList::DrawingStyle, &TImageList::SetDrawingStyle, dsNormal);
  r.Prop("Height", &TImageList::Height, &TImageList::SetHeight, 16);
  r.Prop("ImageType", &TImageList::ImageType, &TImageList::SetImageType, itImage);
  r.Prop("Masked", &TImageList::Masked, &TImageList::SetMasked, true);
  r.Prop("Width", &TImageList::Width, &TImageList::SetWidth, 16);
  r.Event("OnChange", &TImageList::OnChange);
}

TCustomImageList::TCustomImageList(TComponent* AOwner)
    : TComponent(AOwner), FData(std::make_shared<TImageListData>()) {
  THandleRegistry& r = Registry();
  std::lock_guard lock(r.Mutex);
  r.Map[HandleOf(FData.get())] = FData;
}

TCustomImageList::~TCustomImageList() {
  THandleRegistry& r = Registry();
  std::lock_guard lock(r.Mutex);
  r.Map.erase(HandleOf(FData.get()));
}

HIMAGELIST TCustomImageList::Handle() const { return HandleOf(FData.get()); }

void TCustomImageList::Change() {
  if (FUpdateCount > 0) {
    FChanged = true;
    return;
  }
  OnChange(this);
}

void TCustomImageList::BeginUpdate() { ++FUpdateCount; }

void TCustomImageList::EndUpdate() {
  if (FUpdateCount == 0) return;
  if (--FUpdateCount == 0 && FChanged) {
    FChanged = false;
    Change();
  }
}

int TCustomImageList::Width() const { return FData->Width; }
int TCustomImageList::Height() const { return FData->Height; }
int TCustomImageList::Count() const { return static_cast<int>(FData->Images.size()); }
TColorDepth TCustomImageList::ColorDepth() const { return FData->Depth; }

void TCustomImageList::SetWidth(int Value) { SetSize(Value, FData->Height); }
void TCustomImageList::SetHeight(int Value) { SetSize(FData->Width, Value); }

void TCustomImageList::SetSize(int AWidth, int AHeight) {
  if (AWidth < 1 || AHeight < 1)
    throw EInvalidArgument("Invalid image list size " + std::to_string(AWidth) + " x " + std::to_string(AHeight));
  if (AWidth == FData->Width && AHeight == FData->Height) return;
  FData->Width = AWidth;
  FData->Height = AHeight;
  FData->Images.clear();
  Change();
}

void TCustomImageList::SetColorDepth(TColorDepth Value) {
  if (Value == FData->Depth) return;
  FData->Depth = Value;
  if (Value != cd32Bit)
    for (auto& img : FData->Images) ToMask(*img);
  Change();
}

void TCustomImageList::SetMasked(bool Value) {
  if (Value == FMasked) return;
  FMasked = Value;
  Change();
}

void TCustomImageList::SetBkColor(TColor Value) {
  if (Value == FBkColor) return;
  FBkColor = Value;
  Change();
}

void TCustomImageList::SetBlendColor(TColor Value) {
  if (Value == FBlendColor) return;
  FBlendColor = Value;
  Change();
}

void TCustomImageList::SetDrawingStyle(TDrawingStyle Value) {
  if (Value == FDrawingStyle) return;
  FDrawingStyle = Value;
  Change();
}

void TCustomImageList::SetImageType(TImageType Value) {
  if (Value == FImageType) return;
  FImageType = Value;
  Change();
}

void TCustomImageList::SetAllocBy(int Value) {
  if (Value < 1) Value = 1;
  if (Value == FAllocBy) return;
  FAllocBy = Value;
}

void TCustomImageList::CheckIndex(int Index) const {
  if (Index < 0 || Index >= Count()) throw EListError("Invalid image index " + std::to_string(Index));
}

int TCustomImageList::AddImages(TBitmap* Image, TBitmap* Mask, bool useMaskColor, TColor MaskColor, int replaceAt) {
  if (!Image || Image->Empty()) return -1;
  const int w = FData->Width, h = FData->Height;
  const int pieces = std::max(1, Image->Width() / w);
  uint32_t key = 0;
  if (useMaskColor) {
    TColor c = MaskColor == clDefault ? Image->TransparentColor() : MaskColor;
    key = ColorToOpaquePixel(c) & 0xFFFFFF;
  }
  const TSurface& src = Image->Surface();
  bool srcAlpha = Image->HasAlpha() && !useMaskColor && !Mask;
  std::vector<std::shared_ptr<TSurface>> made;
  for (int k = 0; k < pieces; ++k) {
    auto img = std::make_shared<TSurface>(w, h);
    for (int y = 0; y < std::min(h, src.Height()); ++y) {
      const uint32_t* s = src.Row(y) + k * w;
      int n = std::min(w, src.Width() - k * w);
      uint32_t* o = img->Row(y);
      for (int x = 0; x < n; ++x) {
        uint32_t p = s[x];
        bool transparent = false;
        if (useMaskColor) transparent = (p & 0xFFFFFF) == key;
        else if (Mask && y < Mask->Height() && k * w + x < Mask->Width())
          transparent = Luma(Mask->Surface().Row(y)[k * w + x]) >= 128;
        if (transparent) o[x] = 0;
        else if (srcAlpha) o[x] = p;
        else o[x] = p | 0xFF000000u;
      }
    }
    if (srcAlpha && Image->AlphaFormat() == afDefined) PremultiplySurface(*img);
    if (FData->Depth != cd32Bit) ToMask(*img);
    made.push_back(img);
  }
  int first;
  if (replaceAt >= 0) {
    first = replaceAt;
    FData->Images[static_cast<size_t>(replaceAt)] = made.front();
  } else {
    first = Count();
    FData->Images.insert(FData->Images.end(), made.begin(), made.end());
  }
  Change();
  return first;
}

int TCustomImageList::Add(TBitmap* Image, TBitmap* Mask) { return AddImages(Image, Mask, false, clNone, -1); }

int TCustomImageList::AddMasked(TBitmap* Image, TColor MaskColor) { return AddImages(Image, nullptr, true, MaskColor, -1); }

int TCustomImageList::AddPixels(const TSurface& Pixels) {
  if (Pixels.Width() != FData->Width || Pixels.Height() != FData->Height)
    throw EInvalidArgument("Image size does not match the image list");
  auto img = std::make_shared<TSurface>(Pixels.Width(), Pixels.Height());
  for (int y = 0; y < Pixels.Height(); ++y)
    std::memcpy(img->Row(y), Pixels.Row(y), static_cast<size_t>(Pixels.Width()) * 4);
  if (FData->Depth != cd32Bit) ToMask(*img);
  FData->Images.push_back(img);
  Change();
  return Count() - 1;
}

void TCustomImageList::Replace(int Index, TBitmap* Image, TBitmap* Mask) {
  CheckIndex(Index);
  AddImages(Image, Mask, false, clNone, Index);
}

void TCustomImageList::Delete(int Index) {
  CheckIndex(Index);
  FData->Images.erase(FData->Images.begin() + Index);
  Change();
}

void TCustomImageList::Move(int CurIndex, int NewIndex) {
  CheckIndex(CurIndex);
  CheckIndex(NewIndex);
  if (CurIndex == NewIndex) return;
  auto img = FData->Images[static_cast<size_t>(CurIndex)];
  FData->Images.erase(FData->Images.begin() + CurIndex);
  FData->Images.insert(FData->Images.begin() + NewIndex, img);
  Change();
}

void TCustomImageList::Clear() {
  if (FData->Images.empty()) return;
  FData->Images.clear();
  Change();
}

const TSurface& TCustomImageList::ImagePixels(int Index) const {
  CheckIndex(Index);
  return *FData->Images[static_cast<size_t>(Index)];
}

void TCustomImageList::Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled) {
  Draw(Canvas, X, Y, Index, FDrawingStyle, FImageType, Enabled);
}

void TCustomImageList::Draw(TCanvas* Canvas, int X, int Y, int Index, TDrawingStyle ADrawingStyle,
                            TImageType AImageType, bool Enabled) {
  if (!Canvas || Index < 0 || Index >= Count()) return;
  HDC dc = Canvas->Handle();
  if (!dc) return;
  TLook look = TLook::Normal;
  if (AImageType == itMask) look = TLook::Mask;
  else if (!Enabled) look = TLook::Disabled;
  else if (ADrawingStyle == dsSelected) look = TLook::Blend50;
  else if (ADrawingStyle == dsFocus) look = TLook::Blend25;
  TColor bk = ADrawingStyle == dsNormal ? FBkColor : clNone;
  DrawImage(*FData, Index, dc, X, Y, look, bk, FBlendColor);
}

bool TCustomImageList::GetBitmap(int Index, TBitmap* Image) {
  if (!Image || Index < 0 || Index >= Count()) return false;
  Image->TakePixels(FData->Images[static_cast<size_t>(Index)], pf32bit, afPremultiplied);
  return true;
}

void TCustomImageList::Assign(const TPersistent* Source) {
  if (auto* l = dynamic_cast<const TCustomImageList*>(Source)) {
    if (l == this) return;
    FData->Width = l->FData->Width;
    FData->Height = l->FData->Height;
    FData->Depth = l->FData->Depth;
    FData->Images.clear();
    for (const auto& img : l->FData->Images) {
      auto copy = std::make_shared<TSurface>(img->Width(), img->Height());
      for (int y = 0; y < img->Height(); ++y)
        std::memcpy(copy->Row(y), img->Row(y), static_cast<size_t>(img->Width()) * 4);
      FData->Images.push_back(copy);
    }
    FMasked = l->FMasked;
    FBkColor = l->FBkColor;
    FBlendColor = l->FBlendColor;
    FDrawingStyle = l->FDrawingStyle;
    FImageType = l->FImageType;
    FAllocBy = l->FAllocBy;
    Change();
    return;
  }
  inherited::Assign(Source);
}
