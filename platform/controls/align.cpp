// Bounds, client area, alignment and anchoring of windowed controls.
//
// Alignment order: the children aligned alTop are placed first (from the top down), then
// alBottom (from the bottom up), alLeft, alRight and last alClient, each in the rectangle the
// earlier ones left. Within one kind the order follows the children's current positions (for
// alTop the smaller Top first, for alBottom the larger Bottom first, alLeft the smaller Left,
// alRight the larger Right), ties in list order; the control whose change started the
// alignment goes before the others of equal position, so moving it by its coordinates moves
// it in the order. AlignWithMargins keeps the control's Margins free around it. Children with
// alNone follow their anchors: an anchored side keeps its distance to the same side of the
// parent, both opposite sides stretch the control, neither keeps its centre proportional.
#include <algorithm>

#include "platform/controls/wincontrol.h"
#include "platform/windows/window.h"

namespace {
bool InsertBefore(const TControl* c1, const TControl* c2, TAlign align) {
  switch (align) {
    case alTop: return c1->Top() < c2->Top();
    case alBottom: return c1->Top() + c1->Height() > c2->Top() + c2->Height();
    case alLeft: return c1->Left() < c2->Left();
    case alRight: return c1->Left() + c1->Width() > c2->Left() + c2->Width();
    default: return false;
  }
}
}  // namespace

TRect TWinControl::ClientInsets() const {
  if (!FClientInsetsValid) {
    TCreateParams p;
    const_cast<TWinControl*>(this)->CreateParams(p);
    TRect r(0, 0, 0, 0);
    AdjustWindowRectEx(&r, p.Style, false, p.ExStyle);
    FClientInsets = TRect(-r.Left, -r.Top, r.Right, r.Bottom);
    FClientInsetsValid = true;
  }
  return FClientInsets;
}

TRect TWinControl::ClientRect() const {
  if (FHandle) {
    TRect r;
    if (GetClientRect(FHandle, &r)) return r;
  }
  TRect in = ClientInsets();
  return TRect(0, 0, std::max(0, FWidth - in.Left - in.Right), std::max(0, FHeight - in.Top - in.Bottom));
}

TPoint TWinControl::ClientOrigin() const {
  if (FHandle) {
    TPoint p(0, 0);
    ::ClientToScreen(FHandle, &p);
    return p;
  }
  TRect in = ClientInsets();
  TPoint base = FParent ? FParent->ClientOrigin() : TPoint(0, 0);
  return {base.X + FLeft + in.Left, base.Y + FTop + in.Top};
}

void TWinControl::SetClientSize(int W, int H) {
  TRect c = ClientRect();
  SetBounds(FLeft, FTop, FWidth - c.Width() + W, FHeight - c.Height() + H);
}

void TWinControl::AdjustClientRect(TRect& Rect) const {
  Rect.Left += FPadding->Left();
  Rect.Top += FPadding->Top();
  Rect.Right -= FPadding->Right();
  Rect.Bottom -= FPadding->Bottom();
}

void TWinControl::PaddingChanged(TObject*) { Realign(); }

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  AWidth = std::max(AWidth, 0);
  AHeight = std::max(AHeight, 0);
  Constraints()->Constrain(AWidth, AHeight);
  if ((AWidth != FWidth || AHeight != FHeight) && !CanResize(AWidth, AHeight)) {
    AWidth = FWidth;
    AHeight = FHeight;
  }
  if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
  if (FHandle) {
    // The window reports its new place through WM_WINDOWPOSCHANGED, which updates the fields.
    SetWindowPos(FHandle, nullptr, ALeft, ATop, AWidth, AHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    TMessage m{WM_WINDOWPOSCHANGED, 0, 0, 0};
    WMWindowPosChanged(m);
    return;
  }
  TRect old = BoundsRect();
  FLeft = ALeft;
  FTop = ATop;
  FWidth = AWidth;
  FHeight = AHeight;
  BoundsChanged(old);
}

void TWinControl::BoundsChanged(const TRect& Old) {
  bool sized = Old.Width() != FWidth || Old.Height() != FHeight;
  if (sized) Realign();
  TAliveGuard alive = AliveGuard();
  if (!FAnchorMove) UpdateAnchorRules();
  if (FParent && !FAnchorMove) {
    if (Align() != alNone) RequestAlign();
    else if (FParent->AutoSize()) FParent->AdjustSize();
  }
  if (alive && sized && !ComponentState().Contains(csLoading)) Resize();
}

void TWinControl::EnableAlign() {
  if (FAlignLevel > 0) --FAlignLevel;
  if (FAlignLevel == 0 && FControlState.Contains(csAlignmentNeeded)) Realign();
}

void TWinControl::Realign() { AlignControl(nullptr); }

void TWinControl::AlignControl(TControl* AControl) {
  if (ComponentState().Contains(csDestroying)) return;
  if (ComponentState().Contains(csLoading) || FAlignLevel != 0) {
    FControlState.Include(csAlignmentNeeded);
    return;
  }
  DisableAlign();
  FControlState.Include(csAligning);
  try {
    TRect r = ClientRect();
    AlignControls(AControl, r);
  } catch (...) {
    FControlState.Exclude(csAligning);
    FControlState.Exclude(csAlignmentNeeded);
    EnableAlign();
    throw;
  }
  FControlState.Exclude(csAligning);
  // Children moved by the alignment asked for it again; that request is answered already.
  FControlState.Exclude(csAlignmentNeeded);
  EnableAlign();
  if (AutoSize()) AdjustSize();
}

void TWinControl::AlignControls(TControl* AControl, TRect& Rect) {
  AdjustClientRect(Rect);
  // Anchored children need a parent size to measure against.
  TSize parentSize = Rect.Size();
  std::vector<TControl*> kids;
  for (int i = 0; i < ControlCount(); ++i) kids.push_back(Controls(i));
  TAliveGuard alive = AliveGuard();
  for (TControl* c : kids) {
    if (!alive) return;
    if (c->Parent() != this || c->Align() != alNone || !c->FAnchorValid) continue;
    if (c->Anchors() == TAnchors{akLeft, akTop}) continue;
    int l, t, w, h;
    c->ApplyAnchors(parentSize, l, t, w, h);
    c->FAnchorMove = true;
    c->SetBounds(l, t, w, h);
    c->FAnchorMove = false;
  }
  static constexpr TAlign order[] = {alTop, alBottom, alLeft, alRight, alClient};
  for (TAlign a : order) {
    if (!alive) return;
    DoAlign(a, AControl, Rect);
  }
}

void TWinControl::DoAlign(TAlign AAlign, TControl* AControl, TRect& Rect) {
  std::vector<TControl*> list;
  if (AControl && AControl->Parent() == this && AControl->Align() == AAlign && AControl->Visible()) list.push_back(AControl);
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (c == AControl || c->Align() != AAlign || !c->Visible()) continue;
    size_t j = 0;
    while (j < list.size() && !InsertBefore(c, list[j], AAlign)) ++j;
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(j), c);
  }
  TAliveGuard alive = AliveGuard();
  for (TControl* c : list) {
    if (!alive) return;
    if (c->Parent() != this) continue;
    const TMargins* m = c->Margins();
    bool margins = c->AlignWithMargins();
    int ml = margins ? m->Left() : 0, mt = margins ? m->Top() : 0;
    int mr = margins ? m->Right() : 0, mb = margins ? m->Bottom() : 0;
    int x = Rect.Left + ml, y = Rect.Top + mt;
    int w = std::max(0, Rect.Width() - ml - mr), h = std::max(0, Rect.Height() - mt - mb);
    switch (AAlign) {
      case alTop: h = c->Height(); break;
      case alBottom:
        h = c->Height();
        y = Rect.Bottom - mb - h;
        break;
      case alLeft: w = c->Width(); break;
      case alRight:
        w = c->Width();
        x = Rect.Right - mr - w;
        break;
      default: break;
    }
    c->FAnchorMove = true;
    c->SetBounds(x, y, w, h);
    c->FAnchorMove = false;
    // What the control took (its constraints may refuse the asked size) leaves the rectangle.
    switch (AAlign) {
      case alTop: Rect.Top = std::min(Rect.Bottom, Rect.Top + c->Height() + mt + mb); break;
      case alBottom: Rect.Bottom = std::max(Rect.Top, Rect.Bottom - c->Height() - mt - mb); break;
      case alLeft: Rect.Left = std::min(Rect.Right, Rect.Left + c->Width() + ml + mr); break;
      case alRight: Rect.Right = std::max(Rect.Left, Rect.Right - c->Width() - ml - mr); break;
      default: break;
    }
  }
}

bool TWinControl::CanAutoSize(int& NewWidth, int& NewHeight) {
  // The smallest size that shows every visible child, keeping the children where they are.
  int right = 0, bottom = 0;
  bool any = false;
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (!c->Visible()) continue;
    any = true;
    int extraR = c->AlignWithMargins() ? c->Margins()->Right() : 0;
    int extraB = c->AlignWithMargins() ? c->Margins()->Bottom() : 0;
    if (c->Align() != alTop && c->Align() != alBottom && c->Align() != alClient)
      right = std::max(right, c->Left() + c->Width() + extraR);
    if (c->Align() != alLeft && c->Align() != alRight && c->Align() != alClient)
      bottom = std::max(bottom, c->Top() + c->Height() + extraB);
  }
  if (!any) return false;
  TRect client = ClientRect();
  TRect adj = client;
  AdjustClientRect(adj);
  int padR = client.Right - adj.Right, padB = client.Bottom - adj.Bottom;
  int ncW = FWidth - client.Width(), ncH = FHeight - client.Height();
  if (right > 0) NewWidth = right + padR + ncW;
  if (bottom > 0) NewHeight = bottom + padB + ncH;
  return true;
}
