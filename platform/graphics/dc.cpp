#include "platform/graphics/dc.h"

#include <algorithm>
#include <mutex>
#include <unordered_set>

#include "platform/graphics/raster.h"

namespace {
// Live device contexts, so that DeleteDC refuses a stale or foreign pointer.
struct TLiveDCs {
  std::mutex Mutex;
  std::unordered_set<const TDeviceContext*> Set;
};
TLiveDCs& LiveDCs() {
  static TLiveDCs* live = new TLiveDCs();
  return *live;
}

// "Everything" for clip operations that start from no user clip.
constexpr int kHuge = 1 << 29;
const TRect kEverything{-kHuge, -kHuge, kHuge, kHuge};

void InitState(TDCState& s) {
  s.Pen = GdiObjectAs<TGdiPen>(GetStockObject(BLACK_PEN));
  s.Brush = GdiObjectAs<TGdiBrush>(GetStockObject(WHITE_BRUSH));
  s.Font = GdiObjectAs<TGdiFont>(GetStockObject(SYSTEM_FONT));
}
}  // namespace

TDeviceContext::TDeviceContext(TSurface* surface) : FFixedSurface(surface) { InitState(FState); }

TDeviceContext::TDeviceContext() : FMemory(true) {
  InitState(FState);
  FState.Bitmap = DefaultBitmapObject();
}

TDeviceContext::~TDeviceContext() = default;

TSurface* TDeviceContext::Surface() const {
  if (!FMemory) return FFixedSurface;
  return FState.Bitmap ? FState.Bitmap->Surface.get() : nullptr;
}

TRect TDeviceContext::ToSurface(const TRect& r) const {
  TPoint o = LogicalToSurfaceOffset();
  static constexpr long long kLimit = 1 << 29;
  auto at = [](long long v) { return static_cast<int>(std::clamp(v, -kLimit, kLimit)); };
  return TRect(at(static_cast<long long>(r.Left) + o.X), at(static_cast<long long>(r.Top) + o.Y),
               at(static_cast<long long>(r.Right) + o.X), at(static_cast<long long>(r.Bottom) + o.Y));
}

bool PointsInRange(HDC dc, const TPoint* points, int count) {
  if (!dc) return false;
  TPoint o = dc->LogicalToSurfaceOffset();
  if (!CoordinateInRange(o.X) || !CoordinateInRange(o.Y)) return false;
  for (int i = 0; i < count; ++i) {
    if (!CoordinateInRange(points[i].X) || !CoordinateInRange(points[i].Y)) return false;
  }
  return true;
}

bool BlockInRange(HDC dc, int x, int y, int w, int h) {
  long long r = static_cast<long long>(x) + w, b = static_cast<long long>(y) + h;
  if (!CoordinateInRange(r) || !CoordinateInRange(b)) return false;
  TPoint corners[2] = {{x, y}, {static_cast<int>(r), static_cast<int>(b)}};
  return PointsInRange(dc, corners, 2);
}

void TDeviceContext::SetDeviceOrigin(TPoint p) {
  if (p == FDeviceOrigin) return;
  FDeviceOrigin = p;
  FClipValid = false;
}

void TDeviceContext::SetSystemClip(std::optional<TRegion> rgn) {
  FSystemClip = std::move(rgn);
  FClipValid = false;
}

const TClipRects& TDeviceContext::Clip() {
  const TSurface* s = Surface();
  uint64_t gen = s ? s->Generation() : 0;
  if (FClipValid && s == FClipSurface && gen == FClipGeneration) return FClip;
  FClipSurface = s;
  FClipGeneration = gen;
  FClipValid = true;
  FClip.Rects.clear();
  FClip.Bounds = {};
  if (!s || s->IsEmpty()) return FClip;
  TRegion r(s->BoundsRect());
  if (FSystemClip) r.Intersect(*FSystemClip);
  if (FState.ClipRgn) {
    TRegion user = *FState.ClipRgn;
    user.Offset(FDeviceOrigin.X, FDeviceOrigin.Y);
    r.Intersect(user);
  }
  FClip.Rects = r.Rects();
  FClip.Bounds = r.Bounds();
  return FClip;
}

void TDeviceContext::AddDirty(const TRect& surfaceRect) { UnionRect(FDirty, FDirty, surfaceRect); }

TRect TDeviceContext::TakeDirty() {
  TRect r = FDirty;
  FDirty = {};
  return r;
}

uint32_t TDeviceContext::BrushPixel(const TGdiBrush& brush, COLORREF dcBrushColor) {
  if (brush.IsDCBrush) return ColorToOpaquePixel(dcBrushColor);
  if (brush.SysColorIndex >= 0) return ColorToOpaquePixel(SystemColor(brush.SysColorIndex));
  return ColorToOpaquePixel(brush.Log.lbColor);
}

uint32_t TDeviceContext::PenPixel() const {
  if (!FState.Pen) return 0xFF000000u;
  return ColorToOpaquePixel(FState.Pen->IsDCPen ? FState.DCPenColor : FState.Pen->Log.lopnColor);
}

uint32_t TDeviceContext::BrushPixel() const {
  return FState.Brush ? BrushPixel(*FState.Brush, FState.DCBrushColor) : 0xFFFFFFFFu;
}

// ---- creation ----

namespace {
HDC Register(TDeviceContext* dc) {
  TLiveDCs& live = LiveDCs();
  std::lock_guard lock(live.Mutex);
  live.Set.insert(dc);
  return dc;
}
}  // namespace

HDC CreateSurfaceDC(TSurface* surface) { return Register(new TDeviceContext(surface)); }

HDC CreateCompatibleDC(HDC) { return Register(new TDeviceContext()); }

bool DeleteDC(HDC dc) {
  if (!dc) return false;
  {
    TLiveDCs& live = LiveDCs();
    std::lock_guard lock(live.Mutex);
    if (live.Set.erase(dc) == 0) return false;
  }
  delete dc;
  return true;
}

HBITMAP CreateCompatibleBitmap(HDC, int width, int height) {
  if (width < 0 || height < 0) return nullptr;
  return CreateBitmap32(width, height);
}

HBITMAP CreateDIBSection(HDC, const BITMAPINFO* info, unsigned usage, void** bits, void*, uint32_t) {
  if (bits) *bits = nullptr;
  if (!info || usage != DIB_RGB_COLORS) return nullptr;
  const BITMAPINFOHEADER& h = info->bmiHeader;
  if (h.biBitCount != 32 || h.biCompression != BI_RGB || h.biWidth < 0 || h.biHeight > 0) return nullptr;
  HBITMAP bmp = CreateBitmap32(h.biWidth, -h.biHeight);
  if (bits) *bits = GetBitmapSurface(bmp)->Pixels();
  return bmp;
}

TSurface* GetDCSurface(HDC dc) { return dc ? dc->Surface() : nullptr; }

// ---- window layer ----

void SetDCDeviceOrigin(HDC dc, TPoint origin) {
  if (dc) dc->SetDeviceOrigin(origin);
}
TPoint GetDCDeviceOrigin(HDC dc) { return dc ? dc->DeviceOrigin() : TPoint(); }
void SetDCSystemClip(HDC dc, const TRegion& region) {
  if (dc) dc->SetSystemClip(region);
}
void ClearDCSystemClip(HDC dc) {
  if (dc) dc->SetSystemClip(std::nullopt);
}
TRect TakeDCDirtyRect(HDC dc) { return dc ? dc->TakeDirty() : TRect(); }

// ---- state ----

int SaveDC(HDC dc) {
  if (!dc) return 0;
  dc->SavedStates().push_back(dc->State());
  return static_cast<int>(dc->SavedStates().size());
}

bool RestoreDC(HDC dc, int level) {
  if (!dc) return false;
  auto& saved = dc->SavedStates();
  int count = static_cast<int>(saved.size());
  if (level < 0) level = count + level + 1;
  if (level < 1 || level > count) return false;
  dc->State() = std::move(saved[static_cast<size_t>(level - 1)]);
  saved.resize(static_cast<size_t>(level - 1));
  dc->InvalidateClip();
  dc->CountRestore();
  return true;
}

uint32_t GetDCRestoreCount(HDC dc) { return dc ? dc->RestoreCount() : 0; }

HGDIOBJ SelectObject(HDC dc, HGDIOBJ obj) {
  if (!dc) return nullptr;
  auto o = GdiObjectFromHandle(obj);
  if (!o) return nullptr;
  TDCState& s = dc->State();
  switch (o->Type()) {
    case OBJ_PEN: {
      HGDIOBJ old = s.Pen->Handle();
      s.Pen = std::static_pointer_cast<TGdiPen>(o);
      return old;
    }
    case OBJ_BRUSH: {
      HGDIOBJ old = s.Brush->Handle();
      s.Brush = std::static_pointer_cast<TGdiBrush>(o);
      return old;
    }
    case OBJ_FONT: {
      HGDIOBJ old = s.Font->Handle();
      s.Font = std::static_pointer_cast<TGdiFont>(o);
      return old;
    }
    case OBJ_BITMAP: {
      if (!dc->IsMemoryDC()) return nullptr;
      HGDIOBJ old = s.Bitmap->Handle();
      s.Bitmap = std::static_pointer_cast<TGdiBitmap>(o);
      dc->InvalidateClip();
      return old;
    }
    case OBJ_REGION: {
      int type = SelectClipRgn(dc, static_cast<HRGN>(obj));
      return reinterpret_cast<HGDIOBJ>(static_cast<intptr_t>(type));
    }
    default: return nullptr;
  }
}

HGDIOBJ GetCurrentObject(HDC dc, int type) {
  if (!dc) return nullptr;
  const TDCState& s = dc->State();
  switch (type) {
    case OBJ_PEN: return s.Pen->Handle();
    case OBJ_BRUSH: return s.Brush->Handle();
    case OBJ_FONT: return s.Font->Handle();
    case OBJ_BITMAP: return s.Bitmap ? s.Bitmap->Handle() : nullptr;
    default: return nullptr;
  }
}

namespace {
template <class T, class V>
V Exchange(HDC dc, T TDCState::*field, V value, V failure) {
  if (!dc) return failure;
  V old = dc->State().*field;
  dc->State().*field = value;
  return old;
}
template <class T>
T Read(HDC dc, T TDCState::*field, T failure) {
  return dc ? dc->State().*field : failure;
}
}  // namespace

COLORREF SetTextColor(HDC dc, COLORREF c) { return Exchange(dc, &TDCState::TextColor, c, CLR_INVALID); }
COLORREF GetTextColor(HDC dc) { return Read(dc, &TDCState::TextColor, CLR_INVALID); }
COLORREF SetBkColor(HDC dc, COLORREF c) { return Exchange(dc, &TDCState::BkColor, c, CLR_INVALID); }
COLORREF GetBkColor(HDC dc) { return Read(dc, &TDCState::BkColor, CLR_INVALID); }
int SetBkMode(HDC dc, int mode) {
  if (mode != TRANSPARENT && mode != OPAQUE) return 0;
  return Exchange(dc, &TDCState::BkMode, mode, 0);
}
int GetBkMode(HDC dc) { return Read(dc, &TDCState::BkMode, 0); }
COLORREF SetDCBrushColor(HDC dc, COLORREF c) { return Exchange(dc, &TDCState::DCBrushColor, c, CLR_INVALID); }
COLORREF GetDCBrushColor(HDC dc) { return Read(dc, &TDCState::DCBrushColor, CLR_INVALID); }
COLORREF SetDCPenColor(HDC dc, COLORREF c) { return Exchange(dc, &TDCState::DCPenColor, c, CLR_INVALID); }
COLORREF GetDCPenColor(HDC dc) { return Read(dc, &TDCState::DCPenColor, CLR_INVALID); }
int SetROP2(HDC dc, int rop) {
  if (rop < R2_BLACK || rop > R2_WHITE) return 0;
  return Exchange(dc, &TDCState::Rop2, rop, 0);
}
int GetROP2(HDC dc) { return Read(dc, &TDCState::Rop2, 0); }
int SetPolyFillMode(HDC dc, int mode) {
  if (mode != ALTERNATE && mode != WINDING) return 0;
  return Exchange(dc, &TDCState::PolyFillMode, mode, 0);
}
int GetPolyFillMode(HDC dc) { return Read(dc, &TDCState::PolyFillMode, 0); }
int SetStretchBltMode(HDC dc, int mode) {
  if (mode < BLACKONWHITE || mode > HALFTONE) return 0;
  return Exchange(dc, &TDCState::StretchMode, mode, 0);
}
int GetStretchBltMode(HDC dc) { return Read(dc, &TDCState::StretchMode, 0); }
unsigned SetTextAlign(HDC dc, unsigned align) { return Exchange(dc, &TDCState::TextAlign, align, ~0u); }
unsigned GetTextAlign(HDC dc) { return Read(dc, &TDCState::TextAlign, ~0u); }

namespace {
bool SetPoint(HDC dc, TPoint TDCState::*field, TPoint value, TPoint* old) {
  if (!dc) return false;
  if (old) *old = dc->State().*field;
  dc->State().*field = value;
  return true;
}
bool GetPoint(HDC dc, TPoint TDCState::*field, TPoint* out) {
  if (!dc || !out) return false;
  *out = dc->State().*field;
  return true;
}
}  // namespace

bool SetBrushOrgEx(HDC dc, int x, int y, TPoint* old) { return SetPoint(dc, &TDCState::BrushOrg, {x, y}, old); }
bool GetBrushOrgEx(HDC dc, TPoint* org) { return GetPoint(dc, &TDCState::BrushOrg, org); }

// ---- coordinates ----

bool SetViewportOrgEx(HDC dc, int x, int y, TPoint* old) { return SetPoint(dc, &TDCState::ViewportOrg, {x, y}, old); }
bool GetViewportOrgEx(HDC dc, TPoint* org) { return GetPoint(dc, &TDCState::ViewportOrg, org); }
bool OffsetViewportOrgEx(HDC dc, int dx, int dy, TPoint* old) {
  if (!dc) return false;
  TPoint p = dc->State().ViewportOrg;
  return SetPoint(dc, &TDCState::ViewportOrg, {p.X + dx, p.Y + dy}, old);
}
bool SetWindowOrgEx(HDC dc, int x, int y, TPoint* old) { return SetPoint(dc, &TDCState::WindowOrg, {x, y}, old); }
bool GetWindowOrgEx(HDC dc, TPoint* org) { return GetPoint(dc, &TDCState::WindowOrg, org); }
bool OffsetWindowOrgEx(HDC dc, int dx, int dy, TPoint* old) {
  if (!dc) return false;
  TPoint p = dc->State().WindowOrg;
  return SetPoint(dc, &TDCState::WindowOrg, {p.X + dx, p.Y + dy}, old);
}

bool LPtoDP(HDC dc, TPoint* points, int count) {
  if (!dc || (!points && count > 0) || count < 0) return false;
  TPoint o = dc->LogicalToDeviceOffset();
  for (int i = 0; i < count; ++i) points[i] = points[i] + o;
  return true;
}

bool DPtoLP(HDC dc, TPoint* points, int count) {
  if (!dc || (!points && count > 0) || count < 0) return false;
  TPoint o = dc->LogicalToDeviceOffset();
  for (int i = 0; i < count; ++i) points[i] = points[i] - o;
  return true;
}

// ---- clipping ----

namespace {
TRect NormalizedDeviceRect(HDC dc, int l, int t, int r, int b) {
  TPoint o = dc->LogicalToDeviceOffset();
  return TRect(std::min(l, r) + o.X, std::min(t, b) + o.Y, std::max(l, r) + o.X, std::max(t, b) + o.Y);
}
// The clip that "no user clip" stands for, in device coordinates: the whole surface.
TRegion DeviceBounds(HDC dc) {
  TSurface* s = dc->Surface();
  if (!s) return TRegion(kEverything);
  TPoint o = dc->DeviceOrigin();
  return TRegion(s->BoundsRect().Offsetted(-o.X, -o.Y));
}

int UserClipResult(HDC dc) {
  dc->InvalidateClip();
  const auto& c = dc->State().ClipRgn;
  return c ? RegionComplexity(*c) : SIMPLEREGION;
}
}  // namespace

int IntersectClipRect(HDC dc, int left, int top, int right, int bottom) {
  if (!dc) return RGN_ERROR;
  TRect r = NormalizedDeviceRect(dc, left, top, right, bottom);
  auto& clip = dc->State().ClipRgn;
  if (clip) clip->Intersect(r);
  else clip = TRegion(r);
  return UserClipResult(dc);
}

int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom) {
  if (!dc) return RGN_ERROR;
  TRect r = NormalizedDeviceRect(dc, left, top, right, bottom);
  auto& clip = dc->State().ClipRgn;
  if (!clip) clip = DeviceBounds(dc);
  clip->Subtract(r);
  return UserClipResult(dc);
}

int OffsetClipRgn(HDC dc, int dx, int dy) {
  if (!dc) return RGN_ERROR;
  auto& clip = dc->State().ClipRgn;
  if (clip) clip->Offset(dx, dy);
  return UserClipResult(dc);
}

int SelectClipRgn(HDC dc, HRGN rgn) { return ExtSelectClipRgn(dc, rgn, RGN_COPY); }

int ExtSelectClipRgn(HDC dc, HRGN rgn, int mode) {
  if (!dc) return RGN_ERROR;
  auto& clip = dc->State().ClipRgn;
  if (!rgn) {
    if (mode != RGN_COPY) return RGN_ERROR;
    clip.reset();
    return UserClipResult(dc);
  }
  const TRegion* r = RegionOfHandle(rgn);
  if (!r) return RGN_ERROR;
  TRegion current = clip ? *clip : DeviceBounds(dc);
  switch (mode) {
    case RGN_COPY: current = *r; break;
    case RGN_AND: current.Intersect(*r); break;
    case RGN_OR: current.Union(*r); break;
    case RGN_DIFF: current.Subtract(*r); break;
    case RGN_XOR: {
      TRegion both = current;
      both.Intersect(*r);
      current.Union(*r);
      current.Subtract(both);
      break;
    }
    default: return RGN_ERROR;
  }
  clip = std::move(current);
  return UserClipResult(dc);
}

int GetClipBox(HDC dc, TRect* rect) {
  if (!dc || !rect) return RGN_ERROR;
  const TClipRects& c = dc->Clip();
  if (c.Empty()) {
    *rect = {};
    return NULLREGION;
  }
  TPoint o = dc->LogicalToSurfaceOffset();
  *rect = c.Bounds.Offsetted(-o.X, -o.Y);
  return c.Rects.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

int GetClipRgn(HDC dc, HRGN rgn) {
  if (!dc) return -1;
  auto obj = GdiObjectAs<TGdiRegion>(rgn);
  if (!obj) return -1;
  const auto& clip = dc->State().ClipRgn;
  if (!clip) return 0;
  obj->Region = *clip;
  return 1;
}

bool PtVisible(HDC dc, int x, int y) {
  if (!dc) return false;
  TPoint p = dc->ToSurface(TPoint(x, y));
  for (const TRect& r : dc->Clip().Rects)
    if (r.Contains(p)) return true;
  return false;
}

bool RectVisible(HDC dc, const TRect& r) {
  if (!dc) return false;
  TRect s = dc->ToSurface(r);
  for (const TRect& c : dc->Clip().Rects)
    if (c.IntersectsWith(s)) return true;
  return false;
}

// ---- filling and copying ----

int FillRect(HDC dc, const TRect& r, HBRUSH brush) {
  if (!dc) return 0;
  auto b = BrushFromHandle(brush);
  if (!b) return 0;
  TSpanPainter painter(*dc, *b, R2_COPYPEN);
  painter.Rect(dc->ToSurface(r));
  return 1;
}

namespace {
// The binary raster operation of a pattern-and-destination ternary operation, if it is one.
int PatRop2(uint32_t rop) {
  switch (rop) {
    case PATCOPY: return R2_COPYPEN;
    case PATINVERT: return R2_XORPEN;
    case DSTINVERT: return R2_NOT;
    case BLACKNESS: return R2_BLACK;
    case WHITENESS: return R2_WHITE;
    default: return 0;
  }
}
}  // namespace

bool PatBlt(HDC dc, int x, int y, int w, int h, uint32_t rop) {
  if (!dc || !BlockInRange(dc, x, y, w, h)) return false;
  int rop2 = PatRop2(rop);
  if (!rop2) return false;
  // Negative sizes extend left or up from (x, y), as the platform does.
  TRect r(std::min(x, x + w), std::min(y, y + h), std::max(x, x + w), std::max(y, y + h));
  TRect sr = dc->ToSurface(r);
  if (rop2 == R2_BLACK || rop2 == R2_WHITE || rop2 == R2_NOT) {
    TSpanPainter painter(*dc, 0u, rop2);  // these ignore the brush
    painter.Rect(sr);
  } else {
    TSpanPainter painter(*dc, *dc->State().Brush, rop2);
    painter.Rect(sr);
  }
  return true;
}
