#pragma once
// Shared fixture of the controls tests: a known headless screen, the pointer parked at a
// corner, and a clean application between tests (no forms, hooks or pending frees left).
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/controls/application.h"
#include "platform/controls/customcontrol.h"
#include "platform/controls/forms.h"
#include "platform/controls/screen.h"
#include "platform/windows/headless.h"
#include "platform/windows/input.h"
#include "platform/windows/messageloop.h"

namespace kvtest {

class ControlsTest : public ::testing::Test {
protected:
  void SetUp() override {
    Headless::SetScreenSize(1024, 768);
    Headless::SetAutoPump(true);
    Headless::SetAutoAdvance(true);
    Headless::MouseMove(1020, 760);
    Application->Initialize();
    Application->ProcessMessages();
    hooksBefore_ = Application->MessageHookCount();
  }
  void TearDown() override {
    Application->CancelHint();
    for (auto it = forms_.rbegin(); it != forms_.rend(); ++it) Free(*it);
    forms_.clear();
    Application->ProcessMessages();
    EXPECT_EQ(Application->MessageHookCount(), hooksBefore_) << "a hook was left installed";
    EXPECT_EQ(Application->PendingReleaseCount(), 0) << "a released component was never freed";
    for (WORD b : {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON})
      if (GetAsyncKeyState(b) < 0) Headless::MouseUp(b, 1020, 760);
  }

  // A shown form without a frame at (Left, Top): its client area starts there on the screen.
  template <class F = TForm>
  F* MakeForm(int Left = 100, int Top = 100, int W = 400, int H = 300) {
    F* f = New<F>(nullptr);
    f->SetBorderStyle(bsNone);
    f->SetBounds(Left, Top, W, H);
    forms_.push_back(f);
    return f;
  }
  void Forget(TCustomForm* f) { forms_.erase(std::remove(forms_.begin(), forms_.end(), f), forms_.end()); }

  // Screen point of a client point of a control.
  static TPoint At(const TControl* c, int x, int y) { return c->ClientToScreen(TPoint(x, y)); }
  static void Click(const TControl* c, int x, int y) {
    TPoint p = At(c, x, y);
    Headless::Click(p.X, p.Y);
  }
  static void Move(const TControl* c, int x, int y) {
    TPoint p = At(c, x, y);
    Headless::MouseMove(p.X, p.Y);
  }

private:
  std::vector<TCustomForm*> forms_;
  int hooksBefore_ = 0;
};

// Test classes declare no class information of their own, so they name their base class
// (not `inherited`, which would be their base's base).

// A windowed control that records the messages it handles and paints a colour.
class TProbe : public TCustomControl {
public:
  explicit TProbe(TComponent* AOwner) : TCustomControl(AOwner) {
    SetBounds(0, 0, 50, 30);
    SetParentColor(false);
  }
  std::vector<UINT> Messages;
  std::vector<TControl*> CancelModeSenders;
  int Enters = 0, Leaves = 0, Paints = 0;
  LRESULT DlgCode = 0;
  TColor Fill = clRed;

protected:
  void Dispatch(TMessage& m) override {
    switch (m.Msg) {
      case CM_MOUSEENTER: ++Enters; break;
      case CM_MOUSELEAVE: ++Leaves; break;
      case CM_CANCELMODE: CancelModeSenders.push_back(MessageSender(m)); break;
      case WM_GETDLGCODE: m.Result = DlgCode; return;
      default: break;
    }
    Messages.push_back(m.Msg);
    TCustomControl::Dispatch(m);
  }
  void Paint() override {
    ++Paints;
    Canvas()->Brush()->SetColor(Fill);
    Canvas()->FillRect(ClientRect());
  }
};

// A windowless control that records enter / leave and clicks and paints a colour.
class TGraphicProbe : public TGraphicControl {
public:
  explicit TGraphicProbe(TComponent* AOwner) : TGraphicControl(AOwner) { SetBounds(0, 0, 40, 20); }
  int Enters = 0, Leaves = 0, Paints = 0;
  bool SawPaintCopy = false;
  TColor Fill = clBlue;

protected:
  void Dispatch(TMessage& m) override {
    if (m.Msg == CM_MOUSEENTER) ++Enters;
    if (m.Msg == CM_MOUSELEAVE) ++Leaves;
    TGraphicControl::Dispatch(m);
  }
  void Paint() override {
    ++Paints;
    if (ControlState().Contains(csPaintCopy)) SawPaintCopy = true;
    Canvas()->Brush()->SetColor(Fill);
    Canvas()->FillRect(ClientRect());
  }
};

}  // namespace kvtest
