// Painting: update regions and WM_PAINT, device contexts of windows clipped to what is
// visible, the per-top-level back buffer and presenting its dirty rectangles.
#include "platform/windows/paint.h"

#include <algorithm>
#include <cstring>

#include "platform/graphics/dc.h"
#include "platform/graphics/framectl.h"
#include "platform/graphics/text.h"
#include "platform/windows/internal.h"
#include "platform/windows/scrollbars.h"

namespace kvwin {
namespace {
constexpr int kMaxBufferSide = 16384;

// Region operations with the common cases (one rectangle, nothing to do) answered without
// the general banded combination, which allocates: a repaint does several of these.
void IntersectWith(TRegion& r, const TRect& rect) {
  if (r.IsEmpty()) return;
  TRect b = r.Bounds();
  if (rect.Contains(b)) return;
  if (r.Rects().size() == 1) r = TRegion(b.Intersect(rect));
  else r.Intersect(rect);
}

void IntersectWith(TRegion& r, const TRegion& other) {
  if (r.IsEmpty()) return;
  if (other.Rects().size() == 1) IntersectWith(r, other.Rects()[0]);
  else if (r.Rects().size() == 1 && other.ContainsRect(r.Rects()[0])) return;
  else r.Intersect(other);
}

void UnionInto(TRegion& dst, const TRegion& src) {
  if (src.IsEmpty()) return;
  if (dst.IsEmpty()) {
    dst = src;
    return;
  }
  if (dst.Rects().size() == 1 && dst.Rects()[0].Contains(src.Bounds())) return;
  if (src.Rects().size() == 1 && src.Rects()[0].Contains(dst.Bounds())) {
    dst = src;
    return;
  }
  dst.Union(src);
}

// True when some of r lies outside rect.
bool Outside(const TRegion& r, const TRect& rect) { return !r.IsEmpty() && !rect.Contains(r.Bounds()); }

struct TOpenDC {
  HDC Dc;
  TWnd* Top;
};
std::vector<TOpenDC> gOpenDCs;

int Depth(const TWnd* w) {
  int d = 0;
  for (; w->Parent; w = w->Parent) ++d;
  return d;
}

bool RedrawChain(const TWnd* w) {
  for (; w; w = w->Parent)
    if (!w->Redraw) return false;
  return true;
}

HDC OpenWindowDC(TWnd* w, bool client, const TRegion* clipInArea, bool clipChildren) {
  TWnd* top = TopOf(w);
  if (!top->Top) return nullptr;
  if (!top->Top->Buffer) ResizeBackBuffer(top);
  HDC dc = CreateSurfaceDC(top->Top->Buffer.get());
  if (!dc) return nullptr;
  TRect area = client ? ClientRectInTop(w) : WindowRectInTop(w);
  SetDCDeviceOrigin(dc, area.TopLeft());
  TRegion vis = VisibleRegion(w, client, clipChildren);
  if (clipInArea) {
    TRegion extra = *clipInArea;
    extra.Offset(area.Left, area.Top);
    IntersectWith(vis, extra);
  }
  SetDCSystemClip(dc, vis);
  gOpenDCs.push_back({dc, top});
  return dc;
}

bool CloseWindowDC(HDC dc) {
  auto it = std::find_if(gOpenDCs.begin(), gOpenDCs.end(), [&](const TOpenDC& o) { return o.Dc == dc; });
  if (it == gOpenDCs.end()) return false;
  TWnd* top = it->Top;
  gOpenDCs.erase(it);
  TRect dirty = TakeDCDirtyRect(dc);
  if (!dirty.IsEmpty() && top->Top) MarkDirty(top, TRegion(dirty));
  DeleteDC(dc);
  return true;
}

void CloseDCsOf(TWnd* top) {
  for (size_t i = gOpenDCs.size(); i-- > 0;)
    if (gOpenDCs[i].Top == top) {
      DeleteDC(gOpenDCs[i].Dc);
      gOpenDCs.erase(gOpenDCs.begin() + static_cast<std::ptrdiff_t>(i));
    }
}

// The presented part of a top-level window, in window coordinates.
TRect ComputeHostArea(const TWnd* w) {
  TRect all(0, 0, w->Rect.Width(), w->Rect.Height());
  bool hostFrame = HasCaption(w->Style) || (w->Style & WS_THICKFRAME);
  if (!hostFrame || !BE().HostDrawsFrames()) return all;
  TRect ins = FrameInsets(w->Style, w->ExStyle, true);
  TRect r(ins.Left, ins.Top, all.Right - ins.Right, all.Bottom - ins.Bottom);
  if (r.Right < r.Left) r.Right = r.Left;
  if (r.Bottom < r.Top) r.Bottom = r.Top;
  return r;
}

THostParams HostParamsFor(const TWnd* w) {
  THostParams p;
  p.Window = w->Handle;
  p.Owner = w->Owner ? w->Owner->Handle : nullptr;
  TRect area = ComputeHostArea(w);
  p.Bounds = area.Offsetted(w->Rect.Left, w->Rect.Top);
  p.Title = w->Text;
  p.Popup = (w->Style & WS_POPUP) && !HasCaption(w->Style);
  p.ToolWindow = (w->ExStyle & WS_EX_TOOLWINDOW) != 0;
  p.TopMost = (w->ExStyle & WS_EX_TOPMOST) != 0;
  p.Resizable = (w->Style & WS_THICKFRAME) != 0;
  p.NoActivate = p.Popup || (w->ExStyle & WS_EX_NOACTIVATE);
  p.Decorated = area != TRect(0, 0, w->Rect.Width(), w->Rect.Height());
  return p;
}

void FillNcRect(HDC dc, const TRect& r, int colorIndex) { FillRect(dc, r, GetSysColorBrush(colorIndex)); }
}  // namespace

bool NeedsPaint(const TWnd* w) { return !w->Update.IsEmpty() || w->NcPending || w->InternalPaint; }

void AddNeedPaint(TWnd* w) {
  TWindowSystem& s = Sys();
  if (!NeedsPaint(w)) return;
  if (std::find(s.NeedPaint.begin(), s.NeedPaint.end(), w) == s.NeedPaint.end()) s.NeedPaint.push_back(w);
}

void RemoveNeedPaint(TWnd* w) {
  auto& l = Sys().NeedPaint;
  l.erase(std::remove(l.begin(), l.end(), w), l.end());
}

TWnd* FindWindowToPaint(HWND filter) {
  TWindowSystem& s = Sys();
  TWnd* f = filter ? FromHandle(filter) : nullptr;
  TWnd* best = nullptr;
  int bestDepth = 0;
  for (size_t i = 0; i < s.NeedPaint.size();) {
    TWnd* w = s.NeedPaint[i];
    if (w->Dead || !NeedsPaint(w)) {
      s.NeedPaint.erase(s.NeedPaint.begin() + static_cast<std::ptrdiff_t>(i));
      continue;
    }
    ++i;
    if (!IsVisibleChain(w) || !RedrawChain(w)) continue;
    if (f && !IsAncestorOrSelf(f, w)) continue;
    // Parents paint before their children.
    int d = Depth(w);
    if (!best || d < bestDepth) {
      best = w;
      bestDepth = d;
    }
  }
  return best;
}

TRegion VisibleRegion(const TWnd* w, bool clientOnly, bool clipChildren) {
  if (!IsVisibleChain(w) || !RedrawChain(w)) return TRegion();
  TRect area = clientOnly ? ClientRectInTop(w) : WindowRectInTop(w);
  for (const TWnd* a = w->Parent; a; a = a->Parent) area = area.Intersect(ClientRectInTop(a));
  TRegion rgn(area);
  if (area.IsEmpty()) return rgn;
  // Siblings above clip a window that asks for it, at every level; only those that overlap
  // cost a region operation.
  for (const TWnd* x = w; x->Parent; x = x->Parent) {
    if (!(x->Style & WS_CLIPSIBLINGS)) continue;
    TPoint origin = ClientRectInTop(x->Parent).TopLeft();
    for (const TWnd* sib : x->Parent->Children) {
      if (sib == x) break;
      if (!sib->Visible()) continue;
      TRect r = sib->Rect.Offsetted(origin.X, origin.Y);
      if (r.IntersectsWith(area)) rgn.Subtract(r);
    }
  }
  if (clipChildren) {
    TPoint origin = ClientRectInTop(w).TopLeft();
    for (const TWnd* c : w->Children) {
      if (!c->Visible()) continue;
      TRect r = c->Rect.Offsetted(origin.X, origin.Y);
      if (r.IntersectsWith(area)) rgn.Subtract(r);
    }
  }
  return rgn;
}

void InvalidateInternal(TWnd* w, const TRegion& region, bool erase, bool frame, int childMode) {
  if (region.IsEmpty() || w->Dead) return;
  TRegion r = region;
  IntersectWith(r, TRect(0, 0, w->Rect.Width(), w->Rect.Height()));
  if (!frame) IntersectWith(r, w->Client);
  if (!r.IsEmpty()) {
    UnionInto(w->Update, r);
    if (erase) w->ErasePending = true;
    if (Outside(r, w->Client)) {
      TRegion nc = r;
      nc.Subtract(w->Client);
      if (!nc.IsEmpty()) w->NcPending = true;
    }
    AddNeedPaint(w);
  }
  bool include = childMode == RDW_ALLCHILDREN || (childMode == 0 && !(w->Style & WS_CLIPCHILDREN));
  if (!include) return;
  if (w->Children.empty()) return;
  TRegion inClient = r;
  IntersectWith(inClient, w->Client);
  if (inClient.IsEmpty()) return;
  for (TWnd* c : w->Children) {
    if (!c->Visible()) continue;
    TRegion rc = inClient;
    rc.Offset(-w->Client.Left - c->Rect.Left, -w->Client.Top - c->Rect.Top);
    InvalidateInternal(c, rc, erase, true, childMode == RDW_ALLCHILDREN ? static_cast<int>(RDW_ALLCHILDREN) : 0);
  }
}

void ValidateInternal(TWnd* w, const TRegion* region) {
  ++w->PaintSerial;
  if (!region) {
    w->Update.Clear();
    w->ErasePending = false;
    w->NcPending = false;
    w->InternalPaint = false;
  } else {
    w->Update.Subtract(*region);
    if (w->Update.IsEmpty()) w->ErasePending = false;
  }
  if (!NeedsPaint(w)) RemoveNeedPaint(w);
}

void MarkDirty(TWnd* top, const TRegion& region) {
  if (!top->Top || region.IsEmpty()) return;
  UnionInto(top->Top->Dirty, region);
}

void PresentAll() {
  TWindowSystem* s = SysIfStarted();
  if (!s || !s->Backend) return;
  for (TWnd* t : s->TopLevels) {
    TTopLevel* tl = t->Top.get();
    if (!tl || tl->Dirty.IsEmpty()) continue;
    if (!tl->Host || !tl->HostShown || !tl->Buffer) {
      tl->Dirty.Clear();
      continue;
    }
    TRegion dirty = tl->Dirty;
    tl->Dirty.Clear();
    IntersectWith(dirty, tl->HostArea);
    if (dirty.IsEmpty()) continue;
    dirty.Offset(-tl->HostArea.Left, -tl->HostArea.Top);
    TRect caret;
    bool grey = false;
    if (CaretRectInTop(t, &caret, &grey)) caret.Offset(-tl->HostArea.Left, -tl->HostArea.Top);
    else caret = TRect();
    tl->Host->Present(*tl->Buffer, tl->HostArea.TopLeft(), dirty, caret, grey);
  }
}

void ExposeParentArea(TWnd* w, const TRect& rectInParentClient) {
  TWnd* p = w->Parent;
  if (!p) return;
  TRegion r(rectInParentClient.Offsetted(p->Client.Left, p->Client.Top));
  // Everything under the uncovered area paints again: the parent and the siblings there.
  InvalidateInternal(p, r, true, false, RDW_ALLCHILDREN);
}

void ResizeBackBuffer(TWnd* top) {
  TTopLevel* tl = top->Top.get();
  if (!tl) return;
  int cx = std::clamp(top->Rect.Width(), 1, kMaxBufferSide);
  int cy = std::clamp(top->Rect.Height(), 1, kMaxBufferSide);
  if (!tl->Buffer) tl->Buffer = std::make_unique<TSurface>(cx, cy);
  else if (tl->Buffer->Width() != cx || tl->Buffer->Height() != cy) tl->Buffer->SetSize(cx, cy);
  else return;
  tl->Dirty = TRegion(TRect(0, 0, cx, cy));
}

void UpdateHost(TWnd* w) {
  TTopLevel* tl = w->Top.get();
  if (!tl) return;
  bool show = w->Visible() && !(w->Style & WS_MINIMIZE) && !w->Destroying;
  TRect area = ComputeHostArea(w);
  if (!tl->Host) {
    if (!show) return;
    tl->HostArea = area;
    tl->Host = BE().CreateHost(HostParamsFor(w));
    tl->HostShown = false;
  }
  // Hosts ignore bounds they already have.
  tl->HostArea = area;
  tl->Host->SetBounds(area.Offsetted(w->Rect.Left, w->Rect.Top));
  if (show != tl->HostShown) {
    tl->HostShown = show;
    tl->Host->Show(show, false);
    if (show) tl->Dirty = TRegion(tl->HostArea);
  }
}

void DestroyHost(TWnd* w) {
  if (!w->Top) return;
  CloseDCsOf(w);
  w->Top->Host.reset();
  w->Top->HostShown = false;
  w->Top->Dirty.Clear();
}

void CaretChanged() {
  TWindowSystem& s = Sys();
  TWnd* w = FromHandle(s.Caret.Hwnd);
  if (!w) return;
  TRect client = ClientRectInTop(w);
  TRect r = Bounds(client.Left + s.Caret.Pos.X, client.Top + s.Caret.Pos.Y, s.Caret.Width, s.Caret.Height);
  MarkDirty(TopOf(w), TRegion(r.Intersect(client)));
}

void PaintForgetWindow(TWnd* w) {
  RemoveNeedPaint(w);
  if (w->Top) CloseDCsOf(w);
}

LRESULT DefaultEraseBackground(TWnd* w, HDC dc) {
  if (!dc || !w->Class->Background) return 0;
  FillRect(dc, TRect(0, 0, w->Client.Width(), w->Client.Height()), w->Class->Background);
  return 1;
}

void DefaultNcPaint(TWnd* w, HDC dc) {
  int cx = w->Rect.Width(), cy = w->Rect.Height();
  if (w->Client == TRect(0, 0, cx, cy)) return;
  SaveDC(dc);
  ExcludeClipRect(dc, w->Client.Left, w->Client.Top, w->Client.Right, w->Client.Bottom);
  TRect r(0, 0, cx, cy);
  DWORD st = w->Style, ex = w->ExStyle;
  if (st & WS_THICKFRAME) {
    DrawEdge(dc, r, EDGE_RAISED, BF_RECT | BF_ADJUST);
    int rest = GetSystemMetrics(SM_CXSIZEFRAME) - 2;
    for (int i = 0; i < rest; ++i) {
      TRect in = r;
      FillNcRect(dc, TRect(in.Left, in.Top, in.Right, in.Top + 1), COLOR_BTNFACE);
      FillNcRect(dc, TRect(in.Left, in.Bottom - 1, in.Right, in.Bottom), COLOR_BTNFACE);
      FillNcRect(dc, TRect(in.Left, in.Top, in.Left + 1, in.Bottom), COLOR_BTNFACE);
      FillNcRect(dc, TRect(in.Right - 1, in.Top, in.Right, in.Bottom), COLOR_BTNFACE);
      r.Inflate(-1, -1);
    }
  } else if ((st & WS_DLGFRAME) || (ex & WS_EX_DLGMODALFRAME)) {
    DrawEdge(dc, r, EDGE_RAISED, BF_RECT | BF_ADJUST);
    FillNcRect(dc, TRect(r.Left, r.Top, r.Right, r.Top + 1), COLOR_BTNFACE);
    FillNcRect(dc, TRect(r.Left, r.Bottom - 1, r.Right, r.Bottom), COLOR_BTNFACE);
    FillNcRect(dc, TRect(r.Left, r.Top, r.Left + 1, r.Bottom), COLOR_BTNFACE);
    FillNcRect(dc, TRect(r.Right - 1, r.Top, r.Right, r.Bottom), COLOR_BTNFACE);
    r.Inflate(-1, -1);
  } else if (st & WS_BORDER) {
    DrawEdge(dc, r, BDR_OUTER, BF_RECT | BF_MONO | BF_ADJUST);
  }
  if (HasCaption(st)) {
    int h = (ex & WS_EX_TOOLWINDOW) ? GetSystemMetrics(SM_CYSMCAPTION) : GetSystemMetrics(SM_CYCAPTION);
    TRect cap(r.Left, r.Top, r.Right, r.Top + h);
    bool active = Sys().Active == w;
    FillNcRect(dc, cap, active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
    TRect textRect(cap.Left + 4, cap.Top, cap.Right - 4, cap.Bottom);
    if (st & WS_SYSMENU) {
      TRect btn(cap.Right - h + 2, cap.Top + 2, cap.Right - 2, cap.Bottom - 2);
      if (!btn.IsEmpty()) DrawFrameControl(dc, btn, DFC_CAPTION, DFCS_CAPTIONCLOSE);
      textRect.Right = cap.Right - h;
    }
    if (!w->Text.empty() && !textRect.IsEmpty()) {
      HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, active ? clCaptionText : clInactiveCaptionText);
      DrawText(dc, w->Text, textRect, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
      SelectObject(dc, oldFont);
    }
    r.Top += h;
  }
  if (ex & WS_EX_CLIENTEDGE) DrawEdge(dc, r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  if (ex & WS_EX_STATICEDGE) DrawEdge(dc, r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
  DrawScrollBars(w, dc);
  RestoreDC(dc, -1);
}

LRESULT DefaultPrint(TWnd* w, HDC dc, LPARAM flags) {
  if (!dc) return 0;
  if ((flags & PRF_CHECKVISIBLE) && !IsVisibleChain(w)) return 0;
  TWndRef ref(w);
  int saved = SaveDC(dc);
  if (flags & PRF_NONCLIENT) {
    DefaultNcPaint(w, dc);
    OffsetViewportOrgEx(dc, w->Client.Left, w->Client.Top, nullptr);
  }
  IntersectClipRect(dc, 0, 0, w->Client.Width(), w->Client.Height());
  if (flags & PRF_ERASEBKGND) Dispatch(w, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  if ((flags & PRF_CLIENT) && ref.Alive()) Dispatch(w, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), flags);
  if ((flags & PRF_CHILDREN) && ref.Alive()) {
    std::vector<HWND> kids;
    for (auto it = w->Children.rbegin(); it != w->Children.rend(); ++it) kids.push_back((*it)->Handle);
    for (HWND h : kids) {
      TWnd* c = FromHandle(h);
      if (!c || !c->Visible()) continue;
      int level = SaveDC(dc);
      OffsetViewportOrgEx(dc, c->Rect.Left, c->Rect.Top, nullptr);
      IntersectClipRect(dc, 0, 0, c->Rect.Width(), c->Rect.Height());
      Dispatch(c, WM_PRINT, reinterpret_cast<WPARAM>(dc), flags | PRF_NONCLIENT);
      RestoreDC(dc, level);
    }
  }
  RestoreDC(dc, saved);
  return 0;
}

void InvertRect(uint32_t* pixels, int stride, const TRect& r, bool grey) {
  for (int y = r.Top; y < r.Bottom; ++y) {
    uint32_t* row = pixels + static_cast<ptrdiff_t>(y) * stride;
    for (int x = r.Left; x < r.Right; ++x)
      if (!grey || ((x + y) & 1) == 0) row[x] ^= 0x00FFFFFFu;
  }
}

}  // namespace kvwin

using namespace kvwin;

bool InvalidateRect(HWND hwnd, const TRect* rect, bool erase) {
  RequireUIThread("InvalidateRect");
  if (!hwnd) {
    // The whole screen: every top-level window.
    for (TWnd* t : Sys().TopLevels) InvalidateInternal(t, TRegion(TRect(0, 0, t->Rect.Width(), t->Rect.Height())), erase, true, RDW_ALLCHILDREN);
    return true;
  }
  TWnd* w = CheckHandle(hwnd);
  if (!w) return false;
  TRect r = rect ? rect->Offsetted(w->Client.Left, w->Client.Top) : w->Client;
  InvalidateInternal(w, TRegion(r), erase, false, 0);
  return true;
}

bool InvalidateRgn(HWND hwnd, const TRegion& region, bool erase) {
  RequireUIThread("InvalidateRgn");
  TWnd* w = CheckHandle(hwnd);
  if (!w) return false;
  TRegion r = region;
  r.Offset(w->Client.Left, w->Client.Top);
  InvalidateInternal(w, r, erase, false, 0);
  return true;
}

bool ValidateRect(HWND hwnd, const TRect* rect) {
  RequireUIThread("ValidateRect");
  TWnd* w = CheckHandle(hwnd);
  if (!w) return false;
  if (!rect) {
    ValidateInternal(w, nullptr);
    return true;
  }
  TRegion r(rect->Offsetted(w->Client.Left, w->Client.Top));
  ValidateInternal(w, &r);
  return true;
}

bool ValidateRgn(HWND hwnd, const TRegion& region) {
  RequireUIThread("ValidateRgn");
  TWnd* w = CheckHandle(hwnd);
  if (!w) return false;
  TRegion r = region;
  r.Offset(w->Client.Left, w->Client.Top);
  ValidateInternal(w, &r);
  return true;
}

bool GetUpdateRgn(HWND hwnd, TRegion* region, bool erase) {
  RequireUIThread("GetUpdateRgn");
  TWnd* w = CheckHandle(hwnd);
  if (!w) return false;
  TRegion r = w->Update;
  r.Intersect(w->Client);
  r.Offset(-w->Client.Left, -w->Client.Top);
  if (erase && w->ErasePending && !r.IsEmpty()) {
    HDC dc = OpenWindowDC(w, true, &r, (w->Style & WS_CLIPCHILDREN) != 0);
    if (dc) {
      w->ErasePending = false;
      Dispatch(w, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
      CloseWindowDC(dc);
    }
  }
  if (region) *region = r;
  return !r.IsEmpty();
}

bool GetUpdateRect(HWND hwnd, TRect* rect, bool erase) {
  TRegion r;
  bool any = GetUpdateRgn(hwnd, &r, erase);
  if (rect) *rect = r.Bounds();
  return any;
}

bool UpdateWindow(HWND hwnd) {
  RequireUIThread("UpdateWindow");
  TWnd* w = CheckHandle(hwnd);
  if (!w) return false;
  if (NeedsPaint(w) && IsVisibleChain(w) && RedrawChain(w)) {
    TWndRef ref(w);
    uint64_t serial = w->PaintSerial;
    Dispatch(w, WM_PAINT, 0, 0);
    if (ref.Alive() && w->PaintSerial == serial && NeedsPaint(w)) ValidateInternal(w, nullptr);
  }
  return true;
}

namespace {
void UpdateNow(TWnd* w, bool children, bool eraseOnly) {
  TWndRef ref(w);
  if (eraseOnly) {
    if (w->ErasePending) GetUpdateRgn(w->Handle, nullptr, true);
  } else {
    UpdateWindow(w->Handle);
  }
  if (!children || !ref.Alive()) return;
  std::vector<HWND> kids;
  for (TWnd* c : w->Children) kids.push_back(c->Handle);
  for (HWND h : kids)
    if (TWnd* c = FromHandle(h)) UpdateNow(c, true, eraseOnly);
}
}  // namespace

bool RedrawWindow(HWND hwnd, const TRect* rect, const TRegion* region, UINT flags) {
  RequireUIThread("RedrawWindow");
  TWnd* w = CheckHandle(hwnd);
  if (!w) return false;
  int childMode = (flags & RDW_ALLCHILDREN) ? static_cast<int>(RDW_ALLCHILDREN) : (flags & RDW_NOCHILDREN) ? static_cast<int>(RDW_NOCHILDREN) : 0;
  TRegion area;
  bool whole = !rect && !region;
  if (region) {
    area = *region;
    area.Offset(w->Client.Left, w->Client.Top);
  } else if (rect) {
    area = TRegion(rect->Offsetted(w->Client.Left, w->Client.Top));
  } else {
    area = TRegion((flags & RDW_FRAME) ? TRect(0, 0, w->Rect.Width(), w->Rect.Height()) : w->Client);
  }
  if (flags & RDW_INVALIDATE) {
    InvalidateInternal(w, area, (flags & RDW_ERASE) != 0, (flags & RDW_FRAME) != 0, childMode);
    if ((flags & RDW_FRAME) && !whole) w->NcPending = true;
    if (flags & RDW_FRAME) AddNeedPaint(w);
  }
  if (flags & RDW_INTERNALPAINT) {
    w->InternalPaint = true;
    AddNeedPaint(w);
  }
  if (flags & RDW_VALIDATE) {
    if (whole) ValidateInternal(w, nullptr);
    else ValidateInternal(w, &area);
    if (flags & RDW_NOFRAME) w->NcPending = false;
  }
  if (flags & RDW_NOERASE) w->ErasePending = false;
  if (flags & RDW_NOINTERNALPAINT) w->InternalPaint = false;
  if (flags & RDW_UPDATENOW) UpdateNow(w, childMode == RDW_ALLCHILDREN || childMode == 0, false);
  else if (flags & RDW_ERASENOW) UpdateNow(w, childMode == RDW_ALLCHILDREN || childMode == 0, true);
  return true;
}

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps) {
  RequireUIThread("BeginPaint");
  TWnd* w = CheckHandle(hwnd);
  if (!w || !ps) return nullptr;
  *ps = PAINTSTRUCT();
  TWndRef ref(w);
  CaretPaintBegin(w);
  w->Painting = true;
  if (w->NcPending) {
    w->NcPending = false;
    Dispatch(w, WM_NCPAINT, 1, 0);
    if (!ref.Alive()) return nullptr;
  }
  TRegion upd = w->Update;
  IntersectWith(upd, w->Client);
  upd.Offset(-w->Client.Left, -w->Client.Top);
  bool erase = w->ErasePending;
  ValidateInternal(w, nullptr);
  HDC dc = OpenWindowDC(w, true, &upd, (w->Style & WS_CLIPCHILDREN) != 0);
  ps->hdc = dc;
  ps->rcPaint = upd.Bounds();
  if (erase && dc) ps->fErase = Dispatch(w, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) == 0;
  return dc;
}

bool EndPaint(HWND hwnd, const PAINTSTRUCT* ps) {
  RequireUIThread("EndPaint");
  if (ps && ps->hdc) CloseWindowDC(ps->hdc);
  TWnd* w = FromHandle(hwnd);
  if (!w) return false;
  w->Painting = false;
  CaretPaintEnd(w);
  return true;
}

HDC GetDCEx(HWND hwnd, const TRegion* clip, DWORD flags) {
  RequireUIThread("GetDCEx");
  if (!hwnd || IsDesktop(hwnd)) {
    // A context for measuring: a memory context whose drawing goes nowhere.
    return CreateCompatibleDC(nullptr);
  }
  TWnd* w = CheckHandle(hwnd);
  if (!w) return nullptr;
  bool window = (flags & DCX_WINDOW) != 0;
  bool clipChildren = (flags & DCX_CLIPCHILDREN) || (w->Style & WS_CLIPCHILDREN);
  TRegion extra;
  const TRegion* clipArg = nullptr;
  if (clip && (flags & DCX_INTERSECTRGN)) clipArg = clip;
  if (clip && (flags & DCX_EXCLUDERGN)) {
    extra = TRegion(window ? TRect(0, 0, w->Rect.Width(), w->Rect.Height()) : TRect(0, 0, w->Client.Width(), w->Client.Height()));
    extra.Subtract(*clip);
    clipArg = &extra;
  }
  return OpenWindowDC(w, !window, clipArg, clipChildren);
}

HDC GetDC(HWND hwnd) { return GetDCEx(hwnd, nullptr, 0); }
HDC GetWindowDC(HWND hwnd) { return GetDCEx(hwnd, nullptr, DCX_WINDOW); }

int ReleaseDC(HWND, HDC dc) {
  if (!dc) return 0;
  if (CloseWindowDC(dc)) return 1;
  // Measuring contexts of GetDC(null).
  return DeleteDC(dc) ? 1 : 0;
}

bool GrabWindowFromScreen(HWND window, TSurface* out) {
  RequireUIThread("GrabWindowFromScreen");
  TWnd* w = FromHandle(window);
  if (!w || !out) return false;
  TWnd* top = TopOf(w);
  PresentAll();
  BE().Sync();
  return top->Top && top->Top->Host && top->Top->HostShown && top->Top->Host->Grab(out);
}

void* GetHostNativeWindow(HWND window) {
  RequireUIThread("GetHostNativeWindow");
  TWnd* w = FromHandle(window);
  if (!w) return nullptr;
  TWnd* top = TopOf(w);
  return top->Top && top->Top->Host ? top->Top->Host->NativeHandle() : nullptr;
}

bool GdiFlush() {
  PresentAll();
  return true;
}

int ScrollWindowEx(HWND hwnd, int dx, int dy, const TRect* scroll, const TRect* clip, TRegion* update,
                   TRect* updateRect, UINT flags) {
  RequireUIThread("ScrollWindowEx");
  TWnd* w = CheckHandle(hwnd);
  if (!w) return RGN_ERROR;
  TRect client(0, 0, w->Client.Width(), w->Client.Height());
  TRect area = scroll ? scroll->Intersect(client) : client;
  TRect clipR = clip ? clip->Intersect(client) : (scroll ? area : client);
  TWnd* top = TopOf(w);
  TRect origin = ClientRectInTop(w);

  // What is visible and valid can move; everything else in the scrolled area is repainted.
  TRegion vis = VisibleRegion(w, true, (w->Style & WS_CLIPCHILDREN) != 0);
  vis.Offset(-origin.Left, -origin.Top);
  TRegion invalidNow = w->Update;
  invalidNow.Offset(-w->Client.Left, -w->Client.Top);
  TRegion src = vis;
  src.Intersect(area);
  src.Intersect(clipR);
  src.Subtract(invalidNow);
  TRegion moved = src;
  moved.Offset(dx, dy);
  moved.Intersect(clipR);
  moved.Intersect(vis);
  if (!moved.IsEmpty() && (dx || dy) && top->Top && top->Top->Buffer) {
    TSurface& buf = *top->Top->Buffer;
    TRect bounds = moved.Bounds().Offsetted(origin.Left - dx, origin.Top - dy).Intersect(buf.BoundsRect());
    std::vector<uint32_t> tmp(static_cast<size_t>(bounds.Width()) * bounds.Height());
    for (int y = bounds.Top; y < bounds.Bottom; ++y)
      std::memcpy(&tmp[static_cast<size_t>(y - bounds.Top) * bounds.Width()], buf.Row(y) + bounds.Left,
                  static_cast<size_t>(bounds.Width()) * 4);
    TRegion dst = moved;
    dst.Offset(origin.Left, origin.Top);
    dst.Intersect(buf.BoundsRect());
    for (const TRect& r : dst.Rects()) {
      for (int y = r.Top; y < r.Bottom; ++y) {
        int sy = y - dy, sx = r.Left - dx;
        if (sy < bounds.Top || sy >= bounds.Bottom || sx < bounds.Left || sx + r.Width() > bounds.Right) continue;
        std::memcpy(buf.Row(y) + r.Left, &tmp[static_cast<size_t>(sy - bounds.Top) * bounds.Width() + (sx - bounds.Left)],
                    static_cast<size_t>(r.Width()) * 4);
      }
    }
    MarkDirty(top, dst);
  }
  // The pending update region moves with the contents.
  TRegion inArea = invalidNow;
  inArea.Intersect(area);
  if (!inArea.IsEmpty()) {
    TRegion keep = w->Update;
    TRegion remove = inArea;
    remove.Offset(w->Client.Left, w->Client.Top);
    keep.Subtract(remove);
    inArea.Offset(dx, dy);
    inArea.Intersect(clipR);
    inArea.Offset(w->Client.Left, w->Client.Top);
    keep.Union(inArea);
    w->Update = keep;
    if (NeedsPaint(w)) AddNeedPaint(w);
  }
  TRegion exposed(area.Intersect(clipR));
  exposed.Subtract(moved);
  if (flags & SW_SCROLLCHILDREN) {
    std::vector<HWND> kids;
    for (TWnd* c : w->Children)
      if (!scroll || c->Rect.IntersectsWith(area)) kids.push_back(c->Handle);
    for (HWND h : kids)
      if (TWnd* c = FromHandle(h))
        SetWindowPosInternal(c, nullptr, c->Rect.Left + dx, c->Rect.Top + dy, 0, 0,
                             SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (flags & (SW_INVALIDATE | SW_ERASE)) {
    TRegion inv = exposed;
    inv.Offset(w->Client.Left, w->Client.Top);
    InvalidateInternal(w, inv, (flags & SW_ERASE) != 0, false, RDW_NOCHILDREN);
  }
  if (update) *update = exposed;
  if (updateRect) *updateRect = exposed.Bounds();
  return exposed.IsEmpty() ? NULLREGION : exposed.Rects().size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

bool ScrollWindow(HWND hwnd, int dx, int dy, const TRect* scroll, const TRect* clip) {
  return ScrollWindowEx(hwnd, dx, dy, scroll, clip, nullptr, nullptr, SW_INVALIDATE | SW_ERASE) != RGN_ERROR;
}

// ---- host notifications -----------------------------------------------------------------------
void TBackendEvents::HostExposed(HWND window, const TRect& hostRect) {
  TWnd* w = FromHandle(window);
  if (!w || !w->Top) return;
  // The back buffer still holds the pixels: they are presented again, nothing repaints.
  MarkDirty(w, TRegion(hostRect.Offsetted(w->Top->HostArea.Left, w->Top->HostArea.Top)));
}
