#pragma once
// TScreen: the screen as the application sees it: its size, the monitors with their work
// areas, the forms, the active form and control, and the cursor shapes.
#include <map>
#include <memory>
#include <vector>

#include "platform/controls/controltypes.h"
#include "platform/core/component.h"
#include "platform/windows/window.h"

class TCustomForm;
class TWinControl;

KV_ENUM(TMonitorDefaultTo, mdNearest, mdNull, mdPrimary)

class TMonitor : public TObject {
public:
  HMONITOR Handle() const { return FHandle; }
  int MonitorNum() const { return FNum; }
  bool Primary() const { return FPrimary; }
  TRect BoundsRect() const { return FBounds; }
  TRect WorkareaRect() const { return FWork; }
  int Left() const { return FBounds.Left; }
  int Top() const { return FBounds.Top; }
  int Width() const { return FBounds.Width(); }
  int Height() const { return FBounds.Height(); }

private:
  friend class TScreen;
  HMONITOR FHandle = nullptr;
  int FNum = 0;
  bool FPrimary = false;
  TRect FBounds, FWork;
};

class TScreen : public TComponent {
  KV_CLASS(TScreen, TComponent)
public:
  explicit TScreen(TComponent* AOwner);
  ~TScreen() override;

  // The primary monitor.
  int Width() const;
  int Height() const;
  // The rectangle of every monitor together, and the primary monitor's work area.
  TRect DesktopRect() const;
  TRect WorkAreaRect() const;
  int MonitorCount() const;
  TMonitor* Monitors(int Index) const;
  TMonitor* PrimaryMonitor() const;
  TMonitor* MonitorFromWindow(HWND Handle, TMonitorDefaultTo Default = mdNearest) const;
  TMonitor* MonitorFromPoint(TPoint Point, TMonitorDefaultTo Default = mdNearest) const;
  TMonitor* MonitorFromRect(const TRect& Rect, TMonitorDefaultTo Default = mdNearest) const;

  int FormCount() const { return static_cast<int>(FForms.size()); }
  TCustomForm* Forms(int Index) const;
  TCustomForm* ActiveForm() const { return FActiveForm; }
  TWinControl* ActiveControl() const { return FActiveControl; }

  // A cursor other than crDefault shows everywhere in the application (crHourGlass while it
  // is busy); crDefault gives every control its own again.
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor Value);
  // The shape of a cursor number; application cursors can be added under positive numbers.
  HCURSOR Cursors(TCursor Index) const;
  void SetCursors(TCursor Index, HCURSOR Handle);

  TNotifyEvent OnActiveFormChange;
  TNotifyEvent OnActiveControlChange;

  // Called by the forms.
  void AddForm(TCustomForm* Form);
  void RemoveForm(TCustomForm* Form);
  void SetActiveForm(TCustomForm* Form);
  void SetActiveControl(TWinControl* Control);

private:
  void UpdateMonitors() const;
  TMonitor* FindMonitor(HMONITOR Handle) const;
  mutable std::vector<std::unique_ptr<TMonitor>> FMonitors;
  std::vector<TCustomForm*> FForms;
  TCustomForm* FActiveForm = nullptr;
  TWinControl* FActiveControl = nullptr;
  TCursor FCursor = crDefault;
  std::map<TCursor, HCURSOR> FCustomCursors;
};

extern TScreen* Screen;
