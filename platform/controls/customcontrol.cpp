#include "platform/controls/customcontrol.h"

#include <algorithm>
#include <vector>

#include "platform/windows/paint.h"

KV_IMPLEMENT_CLASS(TControlCanvas) {}
KV_IMPLEMENT_CLASS(TGraphicControl) {}
KV_IMPLEMENT_CLASS(TCustomControl) {}

namespace {
// Canvases holding a context taken outside painting.
std::vector<TControlCanvas*>& CanvasesWithContexts() {
  static std::vector<TControlCanvas*> list;
  return list;
}

// Binds a canvas to a paint's context for the length of a paint handler.
class TCanvasPaintScope {
public:
  TCanvasPaintScope(TControlCanvas* canvas, HDC dc) : FCanvas(canvas) {
    FCanvas->Lock();
    FCanvas->FreeHandle();
    FCanvas->SetHandle(dc);
  }
  ~TCanvasPaintScope() {
    FCanvas->SetHandle(nullptr);
    FCanvas->Unlock();
  }
  TCanvasPaintScope(const TCanvasPaintScope&) = delete;
  TCanvasPaintScope& operator=(const TCanvasPaintScope&) = delete;

private:
  TControlCanvas* FCanvas;
};
}  // namespace

// ---- TControlCanvas ----

TControlCanvas::~TControlCanvas() { FreeHandle(); }

void TControlCanvas::SetControl(TControl* Value) {
  if (FControl == Value) return;
  FreeHandle();
  FControl = Value;
}

void TControlCanvas::CreateHandle() {
  if (!FControl) return;
  HWND wnd = nullptr;
  TPoint origin(0, 0);
  TRect clip;
  bool clipToBounds = false;
  if (auto* w = dynamic_cast<TWinControl*>(FControl)) {
    wnd = w->Handle();
  } else if (TWinControl* p = FControl->Parent(); p && p->HandleAllocated()) {
    wnd = p->Handle();
    origin = TPoint(FControl->Left(), FControl->Top());
    clip = TRect(0, 0, FControl->Width(), FControl->Height());
    clipToBounds = true;
  }
  if (!wnd) return;
  HDC dc = GetDC(wnd);
  if (!dc) return;
  if (clipToBounds) {
    SetViewportOrgEx(dc, origin.X, origin.Y, nullptr);
    IntersectClipRect(dc, clip.Left, clip.Top, clip.Right, clip.Bottom);
  }
  FDeviceContext = dc;
  FWindowHandle = wnd;
  CanvasesWithContexts().push_back(this);
  SetHandle(dc);
}

void TControlCanvas::FreeHandle() {
  if (!FDeviceContext) return;
  SetHandle(nullptr);
  ReleaseDC(FWindowHandle, FDeviceContext);
  FDeviceContext = nullptr;
  FWindowHandle = nullptr;
  auto& list = CanvasesWithContexts();
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

void TControlCanvas::FreeDeviceContexts() {
  auto list = CanvasesWithContexts();
  for (TControlCanvas* c : list)
    if (c->LockCount() == 0) c->FreeHandle();
}

// ---- TGraphicControl ----

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner), FCanvas(std::make_unique<TControlCanvas>()) {
  FCanvas->SetControl(this);
}

TGraphicControl::~TGraphicControl() { FCanvas->FreeHandle(); }

void TGraphicControl::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_PAINT) {
    WMPaint(Message);
    return;
  }
  inherited::Dispatch(Message);
}

void TGraphicControl::WMPaint(TMessage& Message) {
  HDC dc = reinterpret_cast<HDC>(Message.WParam);
  if (!dc) return;
  TCanvasPaintScope scope(FCanvas.get(), dc);
  Paint();
}

// ---- TCustomControl ----

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner), FCanvas(std::make_unique<TControlCanvas>()) {
  FCanvas->SetControl(this);
}

TCustomControl::~TCustomControl() { FCanvas->FreeHandle(); }

void TCustomControl::WMPaint(TMessage& Message) {
  FControlState.Include(csCustomPaint);
  TAliveGuard alive = AliveGuard();
  try {
    inherited::WMPaint(Message);
  } catch (...) {
    if (alive) FControlState.Exclude(csCustomPaint);
    throw;
  }
  if (alive) FControlState.Exclude(csCustomPaint);
}

void TCustomControl::PaintWindow(HDC DC) {
  TCanvasPaintScope scope(FCanvas.get(), DC);
  Paint();
}
