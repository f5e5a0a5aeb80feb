#include "platform/controls/screen.h"

#include <algorithm>

#include "platform/controls/forms.h"
#include "platform/windows/input.h"
#include "platform/windows/messageloop.h"

KV_IMPLEMENT_CLASS(TScreen) {}

// Lives for the whole program: forms register with it as long as any exists.
TScreen* Screen = new TScreen(nullptr);

TScreen::TScreen(TComponent* AOwner) : TComponent(AOwner) {}
TScreen::~TScreen() = default;

void TScreen::UpdateMonitors() const {
  std::vector<HMONITOR> handles = EnumDisplayMonitors();
  bool same = handles.size() == FMonitors.size();
  for (size_t i = 0; same && i < handles.size(); ++i) same = FMonitors[i]->FHandle == handles[i];
  if (!same) {
    FMonitors.clear();
    for (size_t i = 0; i < handles.size(); ++i) {
      auto m = std::make_unique<TMonitor>();
      m->FHandle = handles[i];
      m->FNum = static_cast<int>(i);
      FMonitors.push_back(std::move(m));
    }
  }
  for (auto& m : FMonitors) {
    MONITORINFO info;
    if (GetMonitorInfo(m->FHandle, &info)) {
      m->FBounds = info.rcMonitor;
      m->FWork = info.rcWork;
      m->FPrimary = (info.dwFlags & MONITORINFOF_PRIMARY) != 0;
    }
  }
}

int TScreen::MonitorCount() const {
  UpdateMonitors();
  return static_cast<int>(FMonitors.size());
}

TMonitor* TScreen::Monitors(int Index) const {
  UpdateMonitors();
  if (Index < 0 || Index >= static_cast<int>(FMonitors.size()))
    throw EListError("Monitor index out of bounds (" + IntToStr(Index) + ")");
  return FMonitors[static_cast<size_t>(Index)].get();
}

TMonitor* TScreen::PrimaryMonitor() const {
  UpdateMonitors();
  for (auto& m : FMonitors)
    if (m->FPrimary) return m.get();
  return FMonitors.empty() ? nullptr : FMonitors.front().get();
}

TMonitor* TScreen::FindMonitor(HMONITOR Handle) const {
  UpdateMonitors();
  for (auto& m : FMonitors)
    if (m->FHandle == Handle) return m.get();
  return nullptr;
}

namespace {
DWORD DefaultFlag(TMonitorDefaultTo d) {
  switch (d) {
    case mdNull: return MONITOR_DEFAULTTONULL;
    case mdPrimary: return MONITOR_DEFAULTTOPRIMARY;
    default: return MONITOR_DEFAULTTONEAREST;
  }
}
}  // namespace

TMonitor* TScreen::MonitorFromWindow(HWND Handle, TMonitorDefaultTo Default) const {
  return FindMonitor(::MonitorFromWindow(Handle, DefaultFlag(Default)));
}
TMonitor* TScreen::MonitorFromPoint(TPoint Point, TMonitorDefaultTo Default) const {
  return FindMonitor(::MonitorFromPoint(Point, DefaultFlag(Default)));
}
TMonitor* TScreen::MonitorFromRect(const TRect& Rect, TMonitorDefaultTo Default) const {
  return FindMonitor(::MonitorFromRect(Rect, DefaultFlag(Default)));
}

int TScreen::Width() const {
  TMonitor* m = PrimaryMonitor();
  return m ? m->Width() : GetSystemMetrics(SM_CXSCREEN);
}

int TScreen::Height() const {
  TMonitor* m = PrimaryMonitor();
  return m ? m->Height() : GetSystemMetrics(SM_CYSCREEN);
}

TRect TScreen::DesktopRect() const {
  return Bounds(GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN));
}

TRect TScreen::WorkAreaRect() const {
  TRect r;
  SystemParametersInfo(SPI_GETWORKAREA, 0, &r);
  return r;
}

TCustomForm* TScreen::Forms(int Index) const {
  if (Index < 0 || Index >= FormCount()) throw EListError("Form index out of bounds (" + IntToStr(Index) + ")");
  return FForms[static_cast<size_t>(Index)];
}

void TScreen::AddForm(TCustomForm* Form) {
  if (std::find(FForms.begin(), FForms.end(), Form) == FForms.end()) FForms.push_back(Form);
}

void TScreen::RemoveForm(TCustomForm* Form) {
  FForms.erase(std::remove(FForms.begin(), FForms.end(), Form), FForms.end());
  if (FActiveForm == Form) SetActiveForm(nullptr);
  if (FActiveControl && GetParentForm(FActiveControl) == Form) FActiveControl = nullptr;
}

void TScreen::SetActiveForm(TCustomForm* Form) {
  if (FActiveForm == Form) return;
  FActiveForm = Form;
  SetActiveControl(Form ? Form->ActiveControl() : nullptr);
  OnActiveFormChange(this);
}

void TScreen::SetActiveControl(TWinControl* Control) {
  if (FActiveControl == Control) return;
  FActiveControl = Control;
  OnActiveControlChange(this);
}

void TScreen::SetCursor(TCursor Value) {
  if (FCursor == Value) return;
  FCursor = Value;
  if (Value != crDefault) {
    ::SetCursor(Cursors(Value));
    return;
  }
  // Back to the controls' own cursors: ask the window under the pointer.
  TPoint p;
  GetCursorPos(&p);
  if (HWND h = WindowFromPoint(p)) {
    LRESULT hit = SendMessage(h, WM_NCHITTEST, 0, PointToLParam(p));
    SendMessage(h, WM_SETCURSOR, reinterpret_cast<WPARAM>(h), MAKELPARAM(static_cast<unsigned>(hit), WM_MOUSEMOVE));
  }
}

HCURSOR TScreen::Cursors(TCursor Index) const {
  auto custom = FCustomCursors.find(Index);
  if (custom != FCustomCursors.end()) return custom->second;
  int id = IDC_ARROW;
  switch (Index) {
    case crNone: return nullptr;
    case crCross: id = IDC_CROSS; break;
    case crIBeam: id = IDC_IBEAM; break;
    case crSizeNESW: id = IDC_SIZENESW; break;
    case crSizeNS:
    case crVSplit: id = IDC_SIZENS; break;
    case crSizeNWSE: id = IDC_SIZENWSE; break;
    case crSizeWE:
    case crHSplit: id = IDC_SIZEWE; break;
    case crUpArrow: id = IDC_UPARROW; break;
    case crHourGlass:
    case crSQLWait: id = IDC_WAIT; break;
    case crNo:
    case crNoDrop: id = IDC_NO; break;
    case crAppStart: id = IDC_APPSTARTING; break;
    case crHelp: id = IDC_HELP; break;
    case crHandPoint: id = IDC_HAND; break;
    case crSizeAll: id = IDC_SIZEALL; break;
    default: id = IDC_ARROW; break;
  }
  return LoadCursor(nullptr, id);
}

void TScreen::SetCursors(TCursor Index, HCURSOR Handle) {
  if (Index <= 0 && Index >= crSizeAll) throw EInvalidArgument("Cursor numbers up to 0 belong to the built-in cursors");
  if (Handle) FCustomCursors[Index] = Handle;
  else FCustomCursors.erase(Index);
}
