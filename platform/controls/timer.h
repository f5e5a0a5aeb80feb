#pragma once
// TTimer: a component that runs OnTimer every Interval milliseconds while Enabled, on the
// user-interface thread (a window timer of a hidden window of its own).
//
// Inside its own OnTimer a timer may change Interval (the next tick comes Interval after the
// change), replace OnTimer, disable itself, or be freed (directly or with its owner): the
// framework touches nothing of the timer after the handler returned.
#include "platform/core/component.h"
#include "platform/core/events.h"
#include "platform/windows/wintypes.h"

class TTimer : public TComponent {
  KV_CLASS(TTimer, TComponent)
public:
  explicit TTimer(TComponent* AOwner);
  ~TTimer() override;

  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  // Milliseconds; 0 stops the timer without disabling it.
  unsigned Interval() const { return FInterval; }
  void SetInterval(unsigned Value);
  // Ticks delivered so far (for tests and diagnostics).
  int TickCount() const { return FTicks; }

  TNotifyEvent OnTimer;

protected:
  virtual void Timer();
  void Loaded() override;

private:
  void UpdateTimer();
  HWND FWindow = nullptr;
  bool FEnabled = true;
  bool FArmed = false;
  unsigned FInterval = 1000;
  int FTicks = 0;
};
