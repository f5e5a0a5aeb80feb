#pragma once
// TLookButton: the showcase's push button that picks a look. It is drawn with the styled push
// button of the current look (hot under the pointer, pressed while held, in the defaulted look
// while its look is the current one) and clicks on a left press released inside it.
#include "kv/kvControls/kvCustomControl.h"

class TLookButton : public TkvCustomActiveControl {
  KV_CLASS(TLookButton, TkvCustomActiveControl)
public:
  explicit TLookButton(TComponent* AOwner);

  // The button of the look now shown.
  bool Down() const { return FDown; }
  void SetDown(bool Value);

  TkvsCtrlState GetCtrlState() override;

protected:
  void Draw(TCanvas* ACanvas, TkvsCtrlState ACtrlState) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void Dispatch(TMessage& Message) override;
  // The accelerator of the caption clicks the button.
  void CMDialogChar(TMessage& Message) override;

private:
  bool FDown = false;
  bool FPressed = false;
};
