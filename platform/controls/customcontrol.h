#pragma once
// Controls with a canvas.
//
// TControlCanvas draws on a control: during painting on the device context of the paint;
// otherwise on a context it takes from the control's window (a windowless control: its
// parent's window, moved to the control's origin and clipped to its bounds), given back when
// the message that used it is done (TControlCanvas::FreeDeviceContexts).
//
// TGraphicControl is windowless: its parent paints it during the parent's own WM_PAINT, with
// the canvas on the parent's context. TCustomControl is windowed and paints itself with Paint.
#include "platform/controls/wincontrol.h"
#include "platform/graphics/canvas.h"

class TControlCanvas : public TCanvas {
  KV_CLASS(TControlCanvas, TCanvas)
public:
  TControlCanvas() = default;
  ~TControlCanvas() override;
  TControl* Control() const { return FControl; }
  void SetControl(TControl* Value);
  // Gives back a context taken from the window.
  void FreeHandle();
  // Gives back the contexts every control canvas took outside painting.
  static void FreeDeviceContexts();

protected:
  void CreateHandle() override;

private:
  TControl* FControl = nullptr;
  HDC FDeviceContext = nullptr;
  HWND FWindowHandle = nullptr;
};

class TGraphicControl : public TControl {
  KV_CLASS(TGraphicControl, TControl)
public:
  explicit TGraphicControl(TComponent* AOwner);
  ~TGraphicControl() override;
  TCanvas* Canvas() const { return FCanvas.get(); }

protected:
  virtual void Paint() {}
  void Dispatch(TMessage& Message) override;
  virtual void WMPaint(TMessage& Message);

private:
  std::unique_ptr<TControlCanvas> FCanvas;
};

class TCustomControl : public TWinControl {
  KV_CLASS(TCustomControl, TWinControl)
public:
  explicit TCustomControl(TComponent* AOwner);
  ~TCustomControl() override;
  TCanvas* Canvas() const { return FCanvas.get(); }

protected:
  virtual void Paint() {}
  void PaintWindow(HDC DC) override;
  void WMPaint(TMessage& Message) override;

private:
  std::unique_ptr<TControlCanvas> FCanvas;
};
