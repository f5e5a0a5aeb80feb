#pragma once
// TPanel, a container with bevels and a caption, and TPaintBox, a windowless area its
// OnPaint draws.
#include "platform/controls/customcontrol.h"

KV_ENUM(TBevelCut, bvNone, bvLowered, bvRaised, bvSpace)

class TPanel : public TCustomControl {
  KV_CLASS(TPanel, TCustomControl)
public:
  explicit TPanel(TComponent* AOwner);

  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  TBevelCut BevelInner() const { return FBevelInner; }
  void SetBevelInner(TBevelCut Value);
  TBevelCut BevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TBevelCut Value);
  int BevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(int Value);
  bool ShowCaption() const { return FShowCaption; }
  void SetShowCaption(bool Value);
  // The area the children share: inside the bevels.
  void AdjustClientRect(TRect& Rect) const override;

protected:
  void Paint() override;

private:
  void BevelsChanged();
  TAlignment FAlignment = taCenter;
  TBevelCut FBevelInner = bvNone;
  TBevelCut FBevelOuter = bvRaised;
  int FBevelWidth = 1;
  bool FShowCaption = true;
};

class TPaintBox : public TGraphicControl {
  KV_CLASS(TPaintBox, TGraphicControl)
public:
  explicit TPaintBox(TComponent* AOwner);
  TNotifyEvent OnPaint;

protected:
  void Paint() override;
};
