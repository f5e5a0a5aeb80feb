#include "platform/controls/timer.h"

#include <memory>

#include "platform/controls/application.h"
#include "platform/controls/internal.h"
#include "platform/controls/messages.h"
#include "platform/windows/messageloop.h"
#include "platform/windows/window.h"

KV_IMPLEMENT_CLASS(TTimer) {
  r.Prop("Enabled", &TTimer::Enabled, &TTimer::SetEnabled, true);
  r.Prop("Interval", &TTimer::Interval, &TTimer::SetInterval, 1000u);
  r.Event("OnTimer", &TTimer::OnTimer);
}

namespace {
constexpr UINT_PTR kTimerId = 1;
}

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) { UpdateTimer(); }

TTimer::~TTimer() {
  FEnabled = false;
  if (FWindow) {
    KillTimer(FWindow, kTimerId);
    DeallocateHWnd(FWindow);
    FWindow = nullptr;
  }
}

void TTimer::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  UpdateTimer();
}

void TTimer::SetInterval(unsigned Value) {
  if (FInterval == Value) return;
  FInterval = Value;
  UpdateTimer();
}

void TTimer::Loaded() {
  inherited::Loaded();
  UpdateTimer();
}

void TTimer::UpdateTimer() {
  if (ComponentState().Contains(csLoading) || ComponentState().Contains(csDestroying)) return;
  // Armed whether or not OnTimer is assigned yet: the handler may be set at any time.
  bool run = FEnabled && FInterval > 0;
  if (FArmed && FWindow) {
    KillTimer(FWindow, kTimerId);
    FArmed = false;
  }
  if (!run) return;
  if (!FWindow) {
    FWindow = AllocateHWnd([this](TMessage& m) {
      if (m.Msg != WM_TIMER || m.WParam != kTimerId) {
        m.Result = DefWindowProc(FWindow, m.Msg, m.WParam, m.LParam);
        return;
      }
      // Nothing of the timer is used once its handler has run: it may be gone by then.
      Timer();
    });
  }
  if (SetTimer(FWindow, kTimerId, FInterval)) FArmed = true;
  else throw EOutOfResources("Not enough timers available");
}

void TTimer::Timer() {
  if (!FEnabled) return;
  ++FTicks;
  // A copy of the handler: the handler may replace itself or free the timer.
  TNotifyEvent handler = OnTimer;
  kvctl::TBusyScope busy(this);
  handler(this);
}
