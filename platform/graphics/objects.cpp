#include "platform/graphics/objects.h"

#include <cstring>
#include <mutex>
#include <vector>

#include "platform/core/exceptions.h"

uint32_t ColorToOpaquePixel(COLORREF color) {
  TColor rgb = ColorToRGB(color);
  return PixelARGB(0xFF, static_cast<uint32_t>(GetRValue(rgb)), static_cast<uint32_t>(GetGValue(rgb)),
                   static_cast<uint32_t>(GetBValue(rgb)));
}

// ---- the handle table ----
//
// A handle encodes a slot index and the slot's generation: ((generation << 32) | (index + 1))
// shifted left by 4. Freeing a slot bumps its generation, so a stale handle never matches a
// later object in the same slot. Generations start at 1, so no handle collides with the small
// integers that stand for system colour brushes.
class TGdiHandleTable {
public:
  static TGdiHandleTable& Instance() {
    static TGdiHandleTable* table = new TGdiHandleTable();  // never destroyed: objects may outlive statics
    return *table;
  }

  HGDIOBJ Add(std::shared_ptr<TGdiObject> obj, bool stock = false) {
    std::lock_guard lock(FMutex);
    size_t index;
    if (!FFree.empty()) {
      index = FFree.back();
      FFree.pop_back();
    } else {
      index = FSlots.size();
      FSlots.push_back({});
    }
    Slot& s = FSlots[index];
    s.Object = obj;
    uint64_t value = ((static_cast<uint64_t>(s.Generation) << 32) | (index + 1)) << 4;
    obj->FHandle = reinterpret_cast<HGDIOBJ>(static_cast<uintptr_t>(value));
    obj->FStock = stock;
    ++FLive;
    return obj->FHandle;
  }

  std::shared_ptr<TGdiObject> Find(HGDIOBJ h) {
    Slot* s;
    std::lock_guard lock(FMutex);
    if (!Locate(h, s)) return nullptr;
    return s->Object;
  }

  // Null when the handle is not live; the object otherwise (removed from the table).
  std::shared_ptr<TGdiObject> Remove(HGDIOBJ h) {
    Slot* s;
    std::lock_guard lock(FMutex);
    if (!Locate(h, s) || s->Object->FStock) return nullptr;
    std::shared_ptr<TGdiObject> obj = std::move(s->Object);
    s->Object.reset();
    ++s->Generation;
    FFree.push_back(static_cast<size_t>(s - FSlots.data()));
    --FLive;
    return obj;
  }

  int Live() {
    std::lock_guard lock(FMutex);
    return FLive;
  }

private:
  struct Slot {
    std::shared_ptr<TGdiObject> Object;
    uint32_t Generation = 1;
  };

  bool Locate(HGDIOBJ h, Slot*& out) {
    uint64_t value = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(h));
    if ((value & 0xF) != 0) return false;
    value >>= 4;
    uint64_t index = (value & 0xFFFFFFFFu);
    uint32_t gen = static_cast<uint32_t>(value >> 32);
    if (index == 0 || index > FSlots.size()) return false;
    Slot& s = FSlots[index - 1];
    if (!s.Object || s.Generation != gen) return false;
    out = &s;
    return true;
  }

  std::mutex FMutex;
  std::vector<Slot> FSlots;
  std::vector<size_t> FFree;
  int FLive = 0;
};

namespace {
template <class T>
HGDIOBJ AddObject(std::shared_ptr<T> obj, bool stock = false) {
  return TGdiHandleTable::Instance().Add(std::move(obj), stock);
}

struct TStockObjects {
  HGDIOBJ Objects[20] = {};
  HBRUSH SysBrushes[COLOR_COUNT] = {};
  std::shared_ptr<TGdiBitmap> DefaultBitmap;

  TStockObjects() {
    auto brush = [&](int index, int style, COLORREF color) {
      auto b = std::make_shared<TGdiBrush>();
      b->Log.lbStyle = static_cast<unsigned>(style);
      b->Log.lbColor = color;
      b->IsDCBrush = index == DC_BRUSH;
      Objects[index] = AddObject(b, true);
    };
    brush(WHITE_BRUSH, BS_SOLID, RGB(255, 255, 255));
    brush(LTGRAY_BRUSH, BS_SOLID, RGB(192, 192, 192));
    brush(GRAY_BRUSH, BS_SOLID, RGB(128, 128, 128));
    brush(DKGRAY_BRUSH, BS_SOLID, RGB(64, 64, 64));
    brush(BLACK_BRUSH, BS_SOLID, RGB(0, 0, 0));
    brush(NULL_BRUSH, BS_NULL, 0);
    brush(DC_BRUSH, BS_SOLID, RGB(255, 255, 255));
    auto pen = [&](int index, int style, COLORREF color) {
      auto p = std::make_shared<TGdiPen>();
      p->Log.lopnStyle = static_cast<unsigned>(style);
      p->Log.lopnWidth = {1, 0};
      p->Log.lopnColor = color;
      p->IsDCPen = index == DC_PEN;
      Objects[index] = AddObject(p, true);
    };
    pen(WHITE_PEN, PS_SOLID, RGB(255, 255, 255));
    pen(BLACK_PEN, PS_SOLID, RGB(0, 0, 0));
    pen(NULL_PEN, PS_NULL, 0);
    pen(DC_PEN, PS_SOLID, RGB(0, 0, 0));
    auto font = [&](int index, const char* face, int height, int pitch) {
      auto f = std::make_shared<TGdiFont>();
      std::strncpy(f->Log.lfFaceName, face, LF_FACESIZE - 1);
      f->Log.lfHeight = height;
      f->Log.lfPitchAndFamily = static_cast<uint8_t>(pitch);
      Objects[index] = AddObject(f, true);
    };
    font(OEM_FIXED_FONT, "Monospace", -13, FIXED_PITCH | FF_MODERN);
    font(ANSI_FIXED_FONT, "Monospace", -13, FIXED_PITCH | FF_MODERN);
    font(ANSI_VAR_FONT, "Sans", -11, VARIABLE_PITCH | FF_SWISS);
    font(SYSTEM_FONT, "Sans", -13, VARIABLE_PITCH | FF_SWISS);
    font(DEVICE_DEFAULT_FONT, "Sans", -13, VARIABLE_PITCH | FF_SWISS);
    font(SYSTEM_FIXED_FONT, "Monospace", -13, FIXED_PITCH | FF_MODERN);
    font(DEFAULT_GUI_FONT, "Sans", -11, VARIABLE_PITCH | FF_SWISS);
    DefaultBitmap = std::make_shared<TGdiBitmap>();
    AddObject(DefaultBitmap, true);
  }
};

TStockObjects& Stock() {
  static TStockObjects* stock = new TStockObjects();
  return *stock;
}

std::mutex& SysBrushMutex() {
  static std::mutex m;
  return m;
}
}  // namespace

std::shared_ptr<TGdiObject> GdiObjectFromHandle(HGDIOBJ h) {
  Stock();  // stock objects exist before the first lookup
  return TGdiHandleTable::Instance().Find(h);
}

std::shared_ptr<TGdiBrush> BrushFromHandle(HBRUSH h) {
  uintptr_t v = reinterpret_cast<uintptr_t>(h);
  if (v >= 1 && v <= COLOR_COUNT) {
    // (HBRUSH)(COLOR_xxx + 1): the system colour brush.
    return GdiObjectAs<TGdiBrush>(GetSysColorBrush(static_cast<int>(v - 1)));
  }
  return GdiObjectAs<TGdiBrush>(h);
}

std::shared_ptr<TGdiBitmap> DefaultBitmapObject() { return Stock().DefaultBitmap; }

int GdiObjectCount() {
  Stock();
  return TGdiHandleTable::Instance().Live();
}

HBRUSH CreateBrushIndirect(const LOGBRUSH& lb) {
  if (lb.lbStyle == BS_PATTERN) return CreatePatternBrush(reinterpret_cast<HBITMAP>(lb.lbHatch));
  if (lb.lbStyle != BS_SOLID && lb.lbStyle != BS_NULL && lb.lbStyle != BS_HATCHED) return nullptr;
  if (lb.lbStyle == BS_HATCHED && lb.lbHatch > HS_DIAGCROSS) return nullptr;
  auto b = std::make_shared<TGdiBrush>();
  b->Log = lb;
  return static_cast<HBRUSH>(AddObject(b));
}

HBRUSH CreateSolidBrush(COLORREF color) {
  LOGBRUSH lb;
  lb.lbStyle = BS_SOLID;
  lb.lbColor = color;
  return CreateBrushIndirect(lb);
}

HBRUSH CreateHatchBrush(int hatch, COLORREF color) {
  if (hatch < HS_HORIZONTAL || hatch > HS_DIAGCROSS) return nullptr;
  LOGBRUSH lb;
  lb.lbStyle = BS_HATCHED;
  lb.lbColor = color;
  lb.lbHatch = static_cast<uintptr_t>(hatch);
  return CreateBrushIndirect(lb);
}

HBRUSH CreatePatternBrush(HBITMAP bitmap) {
  auto bmp = GdiObjectAs<TGdiBitmap>(bitmap);
  if (!bmp || !bmp->Surface || bmp->Surface->IsEmpty()) return nullptr;
  auto b = std::make_shared<TGdiBrush>();
  b->Log.lbStyle = BS_PATTERN;
  const TSurface& src = *bmp->Surface;
  b->Pattern = std::make_shared<TSurface>(src.Width(), src.Height());
  for (int y = 0; y < src.Height(); ++y)
    std::memcpy(b->Pattern->Row(y), src.Row(y), static_cast<size_t>(src.Width()) * 4u);
  return static_cast<HBRUSH>(AddObject(b));
}

HBRUSH GetSysColorBrush(int index) {
  if (index < 0 || index >= COLOR_COUNT) return nullptr;
  TStockObjects& s = Stock();
  std::lock_guard lock(SysBrushMutex());
  if (!s.SysBrushes[index]) {
    auto b = std::make_shared<TGdiBrush>();
    b->Log.lbStyle = BS_SOLID;
    b->Log.lbColor = SystemColor(index);
    b->SysColorIndex = index;
    s.SysBrushes[index] = static_cast<HBRUSH>(AddObject(b, true));
  }
  return s.SysBrushes[index];
}

HPEN CreatePenIndirect(const LOGPEN& lp) {
  int style = static_cast<int>(lp.lopnStyle & PS_STYLE_MASK);
  if (style > PS_INSIDEFRAME || lp.lopnWidth.X < 0) return nullptr;
  auto p = std::make_shared<TGdiPen>();
  p->Log = lp;
  // Styled (dashed, dotted) pens are one pixel wide.
  if (style >= PS_DASH && style <= PS_DASHDOTDOT && p->Log.lopnWidth.X > 1) p->Log.lopnStyle = PS_SOLID;
  return static_cast<HPEN>(AddObject(p));
}

HPEN CreatePen(int style, int width, COLORREF color) {
  LOGPEN lp;
  lp.lopnStyle = static_cast<unsigned>(style);
  lp.lopnWidth = {width, 0};
  lp.lopnColor = color;
  return CreatePenIndirect(lp);
}

HFONT CreateFontIndirect(const LOGFONT& lf) {
  auto f = std::make_shared<TGdiFont>();
  f->Log = lf;
  f->Log.lfFaceName[LF_FACESIZE - 1] = 0;
  return static_cast<HFONT>(AddObject(f));
}

HFONT CreateFont(int height, int width, int escapement, int orientation, int weight, bool italic,
                 bool underline, bool strikeOut, const char* faceName) {
  LOGFONT lf;
  lf.lfHeight = height;
  lf.lfWidth = width;
  lf.lfEscapement = escapement;
  lf.lfOrientation = orientation;
  lf.lfWeight = weight;
  lf.lfItalic = italic;
  lf.lfUnderline = underline;
  lf.lfStrikeOut = strikeOut;
  if (faceName) std::strncpy(lf.lfFaceName, faceName, LF_FACESIZE - 1);
  return CreateFontIndirect(lf);
}

HBITMAP CreateBitmapFromSurface(std::shared_ptr<TSurface> surface) {
  auto b = std::make_shared<TGdiBitmap>();
  b->Surface = surface ? std::move(surface) : std::make_shared<TSurface>();
  return static_cast<HBITMAP>(AddObject(b));
}

HBITMAP CreateBitmap32(int width, int height) {
  return CreateBitmapFromSurface(std::make_shared<TSurface>(width, height));
}

TSurface* GetBitmapSurface(HBITMAP bitmap) {
  auto b = GdiObjectAs<TGdiBitmap>(bitmap);
  return b ? b->Surface.get() : nullptr;
}

std::shared_ptr<TSurface> GetBitmapSurfaceShared(HBITMAP bitmap) {
  auto b = GdiObjectAs<TGdiBitmap>(bitmap);
  return b ? b->Surface : nullptr;
}

HGDIOBJ GetStockObject(int index) {
  if (index < 0 || index >= 20) return nullptr;
  return Stock().Objects[index];
}

bool DeleteObject(HGDIOBJ h) {
  Stock();
  std::shared_ptr<TGdiObject> obj = TGdiHandleTable::Instance().Remove(h);
  // Device contexts that still select the object keep it alive through their own reference.
  return obj != nullptr;
}

int GetObjectType(HGDIOBJ h) {
  auto obj = GdiObjectFromHandle(h);
  return obj ? obj->Type() : 0;
}

int GetObject(HGDIOBJ h, int size, void* out) {
  auto obj = GdiObjectFromHandle(h);
  if (!obj || !out) return 0;
  auto copy = [&](const auto& value) -> int {
    if (size < static_cast<int>(sizeof(value))) return 0;
    std::memcpy(out, &value, sizeof(value));
    return static_cast<int>(sizeof(value));
  };
  switch (obj->Type()) {
    case OBJ_PEN: return copy(static_cast<TGdiPen&>(*obj).Log);
    case OBJ_BRUSH: return copy(static_cast<TGdiBrush&>(*obj).Log);
    case OBJ_FONT: return copy(static_cast<TGdiFont&>(*obj).Log);
    case OBJ_BITMAP: {
      auto& b = static_cast<TGdiBitmap&>(*obj);
      BITMAP bm;
      if (b.Surface) {
        bm.bmWidth = b.Surface->Width();
        bm.bmHeight = b.Surface->Height();
        bm.bmWidthBytes = b.Surface->Stride() * 4;
        bm.bmBits = b.Surface->Pixels();
      }
      return copy(bm);
    }
    default: return 0;
  }
}

// ---- regions ----

int RegionComplexity(const TRegion& region) {
  if (region.IsEmpty()) return NULLREGION;
  return region.Rects().size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

HRGN CreateRegionFrom(const TRegion& region) {
  auto r = std::make_shared<TGdiRegion>();
  r->Region = region;
  return static_cast<HRGN>(AddObject(r));
}

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
  // Coordinates in either order describe the same rectangle.
  return CreateRegionFrom(TRegion(TRect(std::min(left, right), std::min(top, bottom),
                                        std::max(left, right), std::max(top, bottom))));
}

HRGN CreateRectRgnIndirect(const TRect& r) { return CreateRectRgn(r.Left, r.Top, r.Right, r.Bottom); }

static TGdiRegion* RegionObject(HRGN h, std::shared_ptr<TGdiRegion>& keep) {
  keep = GdiObjectAs<TGdiRegion>(h);
  return keep.get();
}

bool SetRectRgn(HRGN rgn, int left, int top, int right, int bottom) {
  std::shared_ptr<TGdiRegion> k;
  TGdiRegion* r = RegionObject(rgn, k);
  if (!r) return false;
  r->Region = TRegion(TRect(std::min(left, right), std::min(top, bottom), std::max(left, right),
                            std::max(top, bottom)));
  return true;
}

int CombineRgn(HRGN dst, HRGN src1, HRGN src2, int mode) {
  std::shared_ptr<TGdiRegion> kd, k1, k2;
  TGdiRegion* d = RegionObject(dst, kd);
  TGdiRegion* a = RegionObject(src1, k1);
  if (!d || !a) return RGN_ERROR;
  if (mode == RGN_COPY) {
    d->Region = a->Region;
    return RegionComplexity(d->Region);
  }
  TGdiRegion* b = RegionObject(src2, k2);
  if (!b) return RGN_ERROR;
  TRegion result = a->Region;
  switch (mode) {
    case RGN_AND: result.Intersect(b->Region); break;
    case RGN_OR: result.Union(b->Region); break;
    case RGN_DIFF: result.Subtract(b->Region); break;
    case RGN_XOR: {
      TRegion both = a->Region;
      both.Intersect(b->Region);
      result.Union(b->Region);
      result.Subtract(both);
      break;
    }
    default: return RGN_ERROR;
  }
  d->Region = std::move(result);
  return RegionComplexity(d->Region);
}

int OffsetRgn(HRGN rgn, int dx, int dy) {
  std::shared_ptr<TGdiRegion> k;
  TGdiRegion* r = RegionObject(rgn, k);
  if (!r) return RGN_ERROR;
  r->Region.Offset(dx, dy);
  return RegionComplexity(r->Region);
}

int GetRgnBox(HRGN rgn, TRect* box) {
  std::shared_ptr<TGdiRegion> k;
  TGdiRegion* r = RegionObject(rgn, k);
  if (!r || !box) return RGN_ERROR;
  *box = r->Region.Bounds();
  return RegionComplexity(r->Region);
}

bool PtInRegion(HRGN rgn, int x, int y) {
  std::shared_ptr<TGdiRegion> k;
  TGdiRegion* r = RegionObject(rgn, k);
  return r && r->Region.Contains({x, y});
}

bool RectInRegion(HRGN rgn, const TRect& rect) {
  std::shared_ptr<TGdiRegion> k;
  TGdiRegion* r = RegionObject(rgn, k);
  return r && r->Region.Intersects(rect);
}

bool EqualRgn(HRGN a, HRGN b) {
  std::shared_ptr<TGdiRegion> ka, kb;
  TGdiRegion* ra = RegionObject(a, ka);
  TGdiRegion* rb = RegionObject(b, kb);
  return ra && rb && ra->Region == rb->Region;
}

const TRegion* RegionOfHandle(HRGN rgn) {
  auto r = GdiObjectAs<TGdiRegion>(rgn);
  return r ? &r->Region : nullptr;
}
