#pragma once
// Drawing objects (pens, brushes, fonts, bitmaps, regions) and their handles.
//
// Every object lives in a shared_ptr held by the handle table; a device context that selects an
// object holds its own reference. DeleteObject frees the handle at once (later use of the
// handle is refused) while any device context that still has the object selected keeps
// drawing with it until something else is selected. Stock objects are never deleted.
#include <memory>
#include <string>

#include "platform/core/region.h"
#include "platform/graphics/gditypes.h"
#include "platform/graphics/surface.h"

class TGdiObject {
public:
  explicit TGdiObject(int type) : FType(type) {}
  virtual ~TGdiObject() = default;
  TGdiObject(const TGdiObject&) = delete;
  TGdiObject& operator=(const TGdiObject&) = delete;

  int Type() const { return FType; }
  bool IsStock() const { return FStock; }
  HGDIOBJ Handle() const { return FHandle; }

private:
  friend class TGdiHandleTable;
  int FType;
  bool FStock = false;
  HGDIOBJ FHandle = nullptr;
};

class TGdiBrush : public TGdiObject {
public:
  TGdiBrush() : TGdiObject(OBJ_BRUSH) {}
  LOGBRUSH Log;
  bool IsDCBrush = false;     // DC_BRUSH: the colour is the device context's brush colour
  int SysColorIndex = -1;     // a system colour brush: resolved where it is used
  std::shared_ptr<TSurface> Pattern;  // BS_PATTERN: tiled from the brush origin
};

class TGdiPen : public TGdiObject {
public:
  TGdiPen() : TGdiObject(OBJ_PEN) {}
  LOGPEN Log;
  bool IsDCPen = false;
  int Style() const { return static_cast<int>(Log.lopnStyle & PS_STYLE_MASK); }
  int Width() const { return Log.lopnWidth.X < 1 ? 1 : Log.lopnWidth.X; }
};

// Per-font data the text layer attaches on first use (resolved family, metrics, ...).
class TFontResources {
public:
  virtual ~TFontResources() = default;
};

class TGdiFont : public TGdiObject {
public:
  TGdiFont() : TGdiObject(OBJ_FONT) {}
  LOGFONT Log;
  std::shared_ptr<TFontResources> Resources;  // owned by the text layer
};

class TGdiBitmap : public TGdiObject {
public:
  TGdiBitmap() : TGdiObject(OBJ_BITMAP) {}
  // The default bitmap of a fresh memory device context has no surface: drawing there is
  // discarded.
  std::shared_ptr<TSurface> Surface;
};

class TGdiRegion : public TGdiObject {
public:
  TGdiRegion() : TGdiObject(OBJ_REGION) {}
  TRegion Region;
};

// Object of a handle, or null when the handle is not a live handle of that type.
std::shared_ptr<TGdiObject> GdiObjectFromHandle(HGDIOBJ h);
template <class T>
std::shared_ptr<T> GdiObjectAs(HGDIOBJ h) {
  return std::dynamic_pointer_cast<T>(GdiObjectFromHandle(h));
}
std::shared_ptr<TGdiBrush> BrushFromHandle(HBRUSH h);  // also (HBRUSH)(COLOR_xxx + 1)
std::shared_ptr<TGdiBitmap> DefaultBitmapObject();
// Handles of live objects (for leak checks in tests).
int GdiObjectCount();

// ---- creation and deletion ----
HBRUSH CreateSolidBrush(COLORREF color);
HBRUSH CreateBrushIndirect(const LOGBRUSH& lb);
HBRUSH CreateHatchBrush(int hatch, COLORREF color);
// A brush tiling the bitmap's pixels (copied at creation).
HBRUSH CreatePatternBrush(HBITMAP bitmap);
// A brush of a system colour, resolved each time it is used; never needs deleting.
HBRUSH GetSysColorBrush(int index);
HPEN CreatePen(int style, int width, COLORREF color);
HPEN CreatePenIndirect(const LOGPEN& lp);
HFONT CreateFontIndirect(const LOGFONT& lf);
HFONT CreateFont(int height, int width, int escapement, int orientation, int weight, bool italic,
                 bool underline, bool strikeOut, const char* faceName);
// A 32-bit bitmap cleared to 0. Raises EInvalidArgument for negative sizes.
HBITMAP CreateBitmap32(int width, int height);
// Takes shared ownership of a surface (used by TBitmap).
HBITMAP CreateBitmapFromSurface(std::shared_ptr<TSurface> surface);
TSurface* GetBitmapSurface(HBITMAP bitmap);
std::shared_ptr<TSurface> GetBitmapSurfaceShared(HBITMAP bitmap);
HGDIOBJ GetStockObject(int index);
// Frees the handle. False for stock objects and for handles that are not live.
bool DeleteObject(HGDIOBJ h);
int GetObjectType(HGDIOBJ h);  // 0 for an invalid handle
// Copies the object's description (LOGPEN, LOGBRUSH, LOGFONT or BITMAP) into `out`; returns the
// bytes written, 0 on failure (bad handle, buffer too small).
int GetObject(HGDIOBJ h, int size, void* out);

// ---- regions ----
HRGN CreateRectRgn(int left, int top, int right, int bottom);
HRGN CreateRectRgnIndirect(const TRect& r);
HRGN CreateRegionFrom(const TRegion& region);
bool SetRectRgn(HRGN rgn, int left, int top, int right, int bottom);
// dst := src1 op src2 (src2 unused for RGN_COPY). Returns the region type or RGN_ERROR.
int CombineRgn(HRGN dst, HRGN src1, HRGN src2, int mode);
int OffsetRgn(HRGN rgn, int dx, int dy);
int GetRgnBox(HRGN rgn, TRect* box);
bool PtInRegion(HRGN rgn, int x, int y);
bool RectInRegion(HRGN rgn, const TRect& r);
bool EqualRgn(HRGN a, HRGN b);
// The region of a handle (null when invalid).
const TRegion* RegionOfHandle(HRGN rgn);
// NULLREGION, SIMPLEREGION or COMPLEXREGION of a region.
int RegionComplexity(const TRegion& region);
