#pragma once
// Device contexts: the drawing state over a surface.
//
// Coordinates. Drawing calls take logical coordinates. A logical point p lies at device point
// p - WindowOrg + ViewportOrg, and a device point d at surface point d + DeviceOrigin. The
// window layer sets DeviceOrigin (where a window's client or window area lies in its back
// buffer); code that paints moves the viewport and window origins.
//
// Clipping. Three parts are intersected: the surface bounds, the system clip (the window
// layer's visible region, in surface coordinates, untouched by SaveDC/RestoreDC and by the
// clip calls) and the user clip (device coordinates, set by SelectClipRgn,
// IntersectClipRect, ExcludeClipRect; saved and restored with the rest of the state).
//
// Dirty tracking. Every call that writes pixels adds the bounds of what it may have written
// (already clipped) to the DC's dirty rectangle; TakeDCDirtyRect returns and resets it.
#include <memory>
#include <optional>
#include <vector>

#include "platform/core/region.h"
#include "platform/graphics/gditypes.h"
#include "platform/graphics/objects.h"
#include "platform/graphics/surface.h"

// State saved by SaveDC.
struct TDCState {
  std::shared_ptr<TGdiPen> Pen;
  std::shared_ptr<TGdiBrush> Brush;
  std::shared_ptr<TGdiFont> Font;
  std::shared_ptr<TGdiBitmap> Bitmap;  // memory device contexts only
  COLORREF TextColor = RGB(0, 0, 0);
  COLORREF BkColor = RGB(255, 255, 255);
  int BkMode = OPAQUE;
  COLORREF DCBrushColor = RGB(255, 255, 255);
  COLORREF DCPenColor = RGB(0, 0, 0);
  TPoint ViewportOrg, WindowOrg;
  TPoint CurrentPos;
  TPoint BrushOrg;
  int PolyFillMode = ALTERNATE;
  int Rop2 = R2_COPYPEN;
  int StretchMode = BLACKONWHITE;
  unsigned TextAlign = TA_LEFT | TA_TOP;
  std::optional<TRegion> ClipRgn;  // device coordinates; none = no user clip
};

// The effective clip in surface coordinates.
struct TClipRects {
  std::vector<TRect> Rects;  // disjoint, y-x banded
  TRect Bounds;
  bool Empty() const { return Rects.empty(); }
};

class TDeviceContext {
public:
  // A device context over a surface the caller keeps alive (window back buffers).
  explicit TDeviceContext(TSurface* surface);
  // A memory device context: draws into the bitmap selected into it.
  TDeviceContext();
  ~TDeviceContext();
  TDeviceContext(const TDeviceContext&) = delete;
  TDeviceContext& operator=(const TDeviceContext&) = delete;

  bool IsMemoryDC() const { return FMemory; }
  // The surface drawn into; null when a memory DC has no bitmap selected.
  TSurface* Surface() const;

  TDCState& State() { return FState; }
  const TDCState& State() const { return FState; }
  std::vector<TDCState>& SavedStates() { return FSaved; }

  TPoint DeviceOrigin() const { return FDeviceOrigin; }
  void SetDeviceOrigin(TPoint p);
  const std::optional<TRegion>& SystemClip() const { return FSystemClip; }
  void SetSystemClip(std::optional<TRegion> rgn);

  // Logical -> surface offset (add to a logical point).
  TPoint LogicalToSurfaceOffset() const {
    return {FState.ViewportOrg.X - FState.WindowOrg.X + FDeviceOrigin.X,
            FState.ViewportOrg.Y - FState.WindowOrg.Y + FDeviceOrigin.Y};
  }
  TPoint ToSurface(TPoint logical) const { return logical + LogicalToSurfaceOffset(); }
  // A rectangle in surface coordinates, its edges held within +-2^29 so that widths and
  // heights never overflow (everything that far out is clipped away anyway).
  TRect ToSurface(const TRect& r) const;
  // Logical -> device offset.
  TPoint LogicalToDeviceOffset() const {
    return {FState.ViewportOrg.X - FState.WindowOrg.X, FState.ViewportOrg.Y - FState.WindowOrg.Y};
  }

  // The effective clip; recomputed after a change of clip, origin or surface size.
  const TClipRects& Clip();
  void InvalidateClip() { FClipValid = false; }

  // Counts the RestoreDC calls that changed the state: a canvas that selected its objects
  // before a restore selects them again.
  uint32_t RestoreCount() const { return FRestoreCount; }
  void CountRestore() { ++FRestoreCount; }

  void AddDirty(const TRect& surfaceRect);
  TRect TakeDirty();

  // Resolved colours of the selected objects.
  uint32_t PenPixel() const;
  uint32_t BrushPixel() const;
  uint32_t TextPixel() const { return ColorToOpaquePixel(FState.TextColor); }
  uint32_t BkPixel() const { return ColorToOpaquePixel(FState.BkColor); }
  static uint32_t BrushPixel(const TGdiBrush& brush, COLORREF dcBrushColor);

private:
  TSurface* FFixedSurface = nullptr;
  bool FMemory = false;
  TDCState FState;
  std::vector<TDCState> FSaved;
  TPoint FDeviceOrigin;
  std::optional<TRegion> FSystemClip;
  TRect FDirty;
  uint32_t FRestoreCount = 0;

  TClipRects FClip;
  bool FClipValid = false;
  const TSurface* FClipSurface = nullptr;
  uint64_t FClipGeneration = 0;
};

// Drawing coordinates (logical, and after the origins are applied) must lie within +-2^28;
// figures, lines and blocks beyond are refused (the call returns false).
constexpr long long kMaxCoordinate = 1 << 28;
constexpr bool CoordinateInRange(long long v) { return v >= -kMaxCoordinate && v <= kMaxCoordinate; }
// True when every point, also moved to surface coordinates, is in range.
bool PointsInRange(HDC dc, const TPoint* points, int count);
// The same for the block (x, y, x + w, y + h).
bool BlockInRange(HDC dc, int x, int y, int w, int h);

// ---- creation ----
HDC CreateSurfaceDC(TSurface* surface);
// A memory device context (the argument is accepted for compatibility and may be null).
HDC CreateCompatibleDC(HDC dc);
// False for a null or already deleted device context.
bool DeleteDC(HDC dc);
// A 32-bit bitmap of the given size, cleared to 0 (whatever the device context).
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
// A 32-bit top-down bitmap whose pixels the caller reaches through *bits. Only 32 bits per pixel
// with BI_RGB and a negative (top-down) height are supported; anything else returns null.
HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, unsigned usage, void** bits, void* section,
                         uint32_t offset);
TSurface* GetDCSurface(HDC dc);

// ---- window layer ----
void SetDCDeviceOrigin(HDC dc, TPoint origin);
TPoint GetDCDeviceOrigin(HDC dc);
void SetDCSystemClip(HDC dc, const TRegion& regionInSurfaceCoordinates);
void ClearDCSystemClip(HDC dc);
TRect TakeDCDirtyRect(HDC dc);

// ---- state ----
// Returns the new save level (1 for the first save), 0 on failure.
int SaveDC(HDC dc);
// Level > 0: back to the state saved at that level; < 0: relative (-1 the latest save).
bool RestoreDC(HDC dc, int level);
// How many successful RestoreDC calls the device context has seen (0 for null).
uint32_t GetDCRestoreCount(HDC dc);
HGDIOBJ SelectObject(HDC dc, HGDIOBJ obj);
HGDIOBJ GetCurrentObject(HDC dc, int type);
COLORREF SetTextColor(HDC dc, COLORREF color);
COLORREF GetTextColor(HDC dc);
COLORREF SetBkColor(HDC dc, COLORREF color);
COLORREF GetBkColor(HDC dc);
int SetBkMode(HDC dc, int mode);
int GetBkMode(HDC dc);
COLORREF SetDCBrushColor(HDC dc, COLORREF color);
COLORREF GetDCBrushColor(HDC dc);
COLORREF SetDCPenColor(HDC dc, COLORREF color);
COLORREF GetDCPenColor(HDC dc);
int SetROP2(HDC dc, int rop);
int GetROP2(HDC dc);
int SetPolyFillMode(HDC dc, int mode);
int GetPolyFillMode(HDC dc);
int SetStretchBltMode(HDC dc, int mode);
int GetStretchBltMode(HDC dc);
unsigned SetTextAlign(HDC dc, unsigned align);
unsigned GetTextAlign(HDC dc);
bool SetBrushOrgEx(HDC dc, int x, int y, TPoint* old);
bool GetBrushOrgEx(HDC dc, TPoint* org);

// ---- coordinates ----
bool SetViewportOrgEx(HDC dc, int x, int y, TPoint* old);
bool GetViewportOrgEx(HDC dc, TPoint* org);
bool OffsetViewportOrgEx(HDC dc, int dx, int dy, TPoint* old);
bool SetWindowOrgEx(HDC dc, int x, int y, TPoint* old);
bool GetWindowOrgEx(HDC dc, TPoint* org);
bool OffsetWindowOrgEx(HDC dc, int dx, int dy, TPoint* old);
bool LPtoDP(HDC dc, TPoint* points, int count);
bool DPtoLP(HDC dc, TPoint* points, int count);

// ---- clipping (all return the region type of the resulting user clip, or RGN_ERROR) ----
int IntersectClipRect(HDC dc, int left, int top, int right, int bottom);
int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom);
int OffsetClipRgn(HDC dc, int dx, int dy);
// A copy of rgn (device coordinates) becomes the user clip; null removes it.
int SelectClipRgn(HDC dc, HRGN rgn);
int ExtSelectClipRgn(HDC dc, HRGN rgn, int mode);
// Bounds of the effective clip in logical coordinates; returns its region type.
int GetClipBox(HDC dc, TRect* rect);
// Copies the user clip into rgn: 1 when there is one, 0 when none, -1 on error.
int GetClipRgn(HDC dc, HRGN rgn);
bool PtVisible(HDC dc, int x, int y);
bool RectVisible(HDC dc, const TRect& r);

// ---- filling and copying ----
// Fills r (right and bottom excluded) with the brush; a null brush fills nothing.
int FillRect(HDC dc, const TRect& r, HBRUSH brush);
bool PatBlt(HDC dc, int x, int y, int w, int h, uint32_t rop);
// Copies a block between device contexts (or within one: overlapping blocks are handled).
// Pixels outside the source surface are not copied.
bool BitBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, uint32_t rop);
