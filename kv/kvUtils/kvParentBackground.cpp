#include "kv/kvUtils/kvParentBackground.h"

#include <vector>

#include "kv/kvUtils/kvStyled.h"
#include "kv/kvUtils/kvTypes.h"
#include "platform/controls/forms.h"
#include "platform/controls/wincontrol.h"
#include "platform/themes/styleservices.h"

namespace {
// Sets csPaintCopy on a control for a scope and clears it again on every way out (unless it
// was set before, or the control was freed meanwhile).
class TPaintCopyMark {
public:
  explicit TPaintCopyMark(TControl* Control) : FControl(Control), FAlive(Control->AliveGuard()) {
    TControlState s = Control->ControlState();
    FWasSet = s.Contains(csPaintCopy);
    s.Include(csPaintCopy);
    Control->SetControlState(s);
  }
  ~TPaintCopyMark() {
    if (FWasSet || !FAlive) return;
    TControlState s = FControl->ControlState();
    s.Exclude(csPaintCopy);
    FControl->SetControlState(s);
  }
  TPaintCopyMark(const TPaintCopyMark&) = delete;
  TPaintCopyMark& operator=(const TPaintCopyMark&) = delete;

private:
  TControl* FControl;
  TAliveGuard FAlive;
  bool FWasSet = false;
};

// SaveDC now, RestoreDC on every way out.
class TSavedDC {
public:
  explicit TSavedDC(HDC DC) : FDC(DC), FLevel(SaveDC(DC)) {}
  ~TSavedDC() { RestoreDC(FDC, FLevel); }
  TSavedDC(const TSavedDC&) = delete;
  TSavedDC& operator=(const TSavedDC&) = delete;

private:
  HDC FDC;
  int FLevel;
};

// A canvas on a given context for one drawing call; the context's objects come back with the
// caller's RestoreDC.
template <class F>
void DrawOnContext(HDC DC, F Paint) {
  TCanvas canvas;
  canvas.SetHandle(DC);
  try {
    Paint(&canvas);
  } catch (...) {
    canvas.SetHandle(nullptr);
    throw;
  }
  canvas.SetHandle(nullptr);
}

bool IsParentBackgroundFrame(const TWinControl* Parent) {
  return dynamic_cast<const TCustomFrame*>(Parent) && Parent->ControlStyle().Contains(csParentBackground);
}

// The parent's own look into DC (already moved to the parent's coordinates and clipped to its
// client area). True when the parent also painted its windowless children.
bool PaintParentKind(TWinControl* Parent, HDC DC) {
  const String& kind = Parent->ClassName();
  const int cw = Parent->ClientWidth(), ch = Parent->ClientHeight();
  if (kind == "TkvTabSheet") {
    Parent->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), reinterpret_cast<LPARAM>(DC));
    return false;
  }
  if (kind == "TTabPage" && ThemesOn()) {
    // The pane of the enclosing notebook, placed so that it lines up with the notebook's own.
    const TRect pane(-Parent->Left(), -Parent->Top(), cw + Parent->Left(), ch + Parent->Top());
    DrawOnContext(DC, [&](TCanvas* c) { DrawTabPane(c, pane); });
    return false;
  }
  if (IsParentBackgroundFrame(Parent)) {
    DrawOnContext(DC, [&](TCanvas* c) { DrawFormBackground(c, TRect(0, 0, cw, ch)); });
    return false;
  }
  if (dynamic_cast<TCustomForm*>(Parent)) {
    Parent->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), reinterpret_cast<LPARAM>(DC));
    return false;
  }
  // Erases, then paints its own content and windowless children, never its windowed ones.
  Parent->PaintTo(DC, 0, 0);
  return true;
}

// The windowless siblings below Control that overlap it, each at its own place.
void PaintSiblingsBelow(TWinControl* Parent, TControl* Control, HDC DC) {
  std::vector<TControl*> below;
  const TRect bounds = Control->BoundsRect();
  for (int i = 0; i < Parent->ControlCount(); ++i) {
    TControl* c = Parent->Controls(i);
    if (c == Control) break;
    if (dynamic_cast<TWinControl*>(c)) continue;
    if (c->Visible() && c->BoundsRect().IntersectsWith(bounds)) below.push_back(c);
  }
  TAliveGuard parentAlive = Parent->AliveGuard();
  for (TControl* c : below) {
    if (!parentAlive) return;
    if (c->Parent() != Parent) continue;  // removed by an earlier sibling's paint
    TPaintCopyMark mark(c);
    TSavedDC saved(DC);
    OffsetViewportOrgEx(DC, c->Left() - Control->Left(), c->Top() - Control->Top(), nullptr);
    IntersectClipRect(DC, 0, 0, c->Width(), c->Height());
    c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
  }
}
}  // namespace

void PaintParentBackground(TControl* Control, TCanvas* Canvas) {
  if (!Control || !Canvas) return;
  TWinControl* parent = Control->Parent();
  if (!parent) return;
  HDC dc = Canvas->Handle();
  if (!dc) return;

  if (IsCustomStyle()) {
    auto* win = dynamic_cast<TWinControl*>(Control);
    if (win && win->HandleAllocated()) {
      StyleServices().DrawParentBackground(win->Handle(), dc, nullptr, false, nullptr);
      return;
    }
  }

  TPaintCopyMark parentMark(parent);
  TAliveGuard parentAlive = parent->AliveGuard();
  bool siblingsPainted = false;
  {
    TSavedDC saved(dc);
    OffsetViewportOrgEx(dc, -Control->Left(), -Control->Top(), nullptr);
    IntersectClipRect(dc, 0, 0, parent->ClientWidth(), parent->ClientHeight());
    siblingsPainted = PaintParentKind(parent, dc);
  }
  if (parentAlive && !siblingsPainted) PaintSiblingsBelow(parent, Control, dc);
}
