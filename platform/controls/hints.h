#pragma once
// THintWindow: the small window that shows a control's hint near the pointer. It never takes
// the activation or the focus.
#include "platform/controls/customcontrol.h"

class THintWindow : public TCustomControl {
  KV_CLASS(THintWindow, TCustomControl)
public:
  explicit THintWindow(TComponent* AOwner);
  // The window size that shows Hint, wrapped at MaxWidth pixels (0: no wrapping).
  virtual TRect CalcHintRect(int MaxWidth, const String& Hint);
  // Shows Hint in Rect (screen coordinates), kept inside the monitor's work area.
  virtual void ActivateHint(TRect Rect, const String& Hint);
  void ReleaseHandle();
  bool IsShowing() const { return FShowing; }

protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  void Dispatch(TMessage& Message) override;

private:
  bool FShowing = false;
};
