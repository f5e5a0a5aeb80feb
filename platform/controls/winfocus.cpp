// Focus, tab order and keys of windowed controls.
//
// A key first reaches the focused control as a CN_ message (sent by the application loop
// before the key is translated): Tab, arrows, Enter and Esc become dialog keys of the form
// (CM_DIALOGKEY: navigation, default and cancel buttons) unless the control claims them
// through CM_WANTSPECIALKEY or its WM_GETDLGCODE answer; a character the control does not ask
// for (DLGC_WANTCHARS) is offered to the form's controls as an accelerator (CM_DIALOGCHAR).
// What nobody took arrives as WM_KEYDOWN / WM_CHAR / WM_KEYUP, through the form's KeyPreview
// and the control's key events, where setting the key (or character) to 0 eats it.
#include <algorithm>

#include "platform/controls/forms.h"
#include "platform/controls/wincontrol.h"
#include "platform/windows/input.h"

// ---- tab order ------------------------------------------------------------------------------

int TWinControl::TabOrder() const {
  if (!FParent) return -1;
  auto& list = FParent->FTabList;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int Value) {
  if (ComponentState().Contains(csReading)) {
    // Siblings read later are not there yet; the order is applied once they are.
    FTabOrderPending = Value;
    return;
  }
  FTabOrderPending = -1;
  if (!FParent) return;
  auto& list = FParent->FTabList;
  int cur = TabOrder();
  if (cur < 0) return;
  int count = static_cast<int>(list.size());
  if (Value < 0 || Value >= count) Value = count - 1;
  if (Value == cur) return;
  list.erase(list.begin() + cur);
  list.insert(list.begin() + Value, this);
}

void TWinControl::ApplyPendingTabOrders() {
  bool any = std::any_of(FTabList.begin(), FTabList.end(), [](TWinControl* c) { return c->FTabOrderPending >= 0; });
  if (!any) return;
  // Stable: children without a stored order keep their relative place after those with one.
  std::vector<std::pair<int, TWinControl*>> keyed;
  for (size_t i = 0; i < FTabList.size(); ++i) {
    TWinControl* c = FTabList[i];
    keyed.push_back({c->FTabOrderPending >= 0 ? c->FTabOrderPending : static_cast<int>(FTabList.size() + i), c});
  }
  std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  for (size_t i = 0; i < keyed.size(); ++i) FTabList[i] = keyed[i].second;
}

void TWinControl::SetTabStop(bool Value) {
  if (FTabStop == Value) return;
  FTabStop = Value;
  if (FHandle) {
    LONG_PTR st = GetWindowLongPtr(FHandle, GWL_STYLE);
    SetWindowLongPtr(FHandle, GWL_STYLE, Value ? (st | WS_TABSTOP) : (st & ~static_cast<LONG_PTR>(WS_TABSTOP)));
  }
  Perform(CM_TABSTOPCHANGED);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& List) const {
  for (TWinControl* c : FTabList) {
    List.push_back(c);
    c->GetTabOrderList(List);
  }
}

TWinControl* TWinControl::FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop,
                                          bool CheckParent) const {
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  if (list.empty()) return nullptr;
  int n = static_cast<int>(list.size());
  auto it = std::find(list.begin(), list.end(), CurControl);
  int start = it == list.end() ? (GoForward ? n - 1 : 0) : static_cast<int>(it - list.begin());
  int i = start;
  for (int step = 0; step < n; ++step) {
    i = GoForward ? (i + 1) % n : (i - 1 + n) % n;
    TWinControl* c = list[static_cast<size_t>(i)];
    if (c == CurControl) break;
    if ((!CheckTabStop || c->TabStop()) && (!CheckParent || c->Parent() == this) && c->CanFocus()) return c;
  }
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop) {
  TWinControl* next = FindNextControl(CurControl, GoForward, CheckTabStop, !CheckTabStop);
  if (next) next->SetFocus();
}

void TWinControl::SelectFirst() {
  TCustomForm* form = GetParentForm(this);
  if (!form) return;
  TWinControl* c = FindNextControl(nullptr, true, true, false);
  if (!c) c = FindNextControl(nullptr, true, false, false);
  if (c) c->SetFocus();
}

// ---- focus ----------------------------------------------------------------------------------

bool TWinControl::CanFocus() const {
  TCustomForm* form = GetParentForm(this);
  const TControl* stop = form;
  for (const TControl* c = this; c && c != stop; c = c->Parent())
    if (!c->Visible() || !c->Enabled()) return false;
  if (form) return form->Visible() && form->Enabled();
  return true;
}

bool TWinControl::Focused() const { return FHandle && GetFocus() == FHandle; }

void TWinControl::SetFocus() {
  if (TCustomForm* form = GetParentForm(this); form && form != static_cast<TControl*>(this)) {
    form->FocusControl(this);
    return;
  }
  if (!CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
  ::SetFocus(Handle());
}

void TWinControl::WMSetFocus(TMessage& Message) { DefaultHandler(Message); }
void TWinControl::WMKillFocus(TMessage& Message) { DefaultHandler(Message); }

void TWinControl::CMEnter(TMessage&) { DoEnter(); }
void TWinControl::CMExit(TMessage&) { DoExit(); }
void TWinControl::DoEnter() {
  if (OnEnter) OnEnter(this);
}
void TWinControl::DoExit() {
  if (OnExit) OnExit(this);
}

// ---- keys -----------------------------------------------------------------------------------

bool TWinControl::DoKeyDown(TMessage& Message) {
  TAliveGuard alive = AliveGuard();
  TCustomForm* form = GetParentForm(this);
  if (form && form != static_cast<TControl*>(this) && form->KeyPreview() && form->DoKeyDown(Message)) return true;
  if (!alive) return true;
  WORD key = static_cast<WORD>(Message.WParam);
  if (!FControlStyle.Contains(csNoStdEvents)) {
    KeyDown(key, KeyDataToShiftState(Message.LParam));
    if (!alive) return true;
    Message.WParam = key;
    if (key == 0) return true;
  }
  return false;
}

bool TWinControl::DoKeyPress(TMessage& Message) {
  TAliveGuard alive = AliveGuard();
  TCustomForm* form = GetParentForm(this);
  if (form && form != static_cast<TControl*>(this) && form->KeyPreview() && form->DoKeyPress(Message)) return true;
  if (!alive) return true;
  char32_t ch = static_cast<char32_t>(Message.WParam);
  if (!FControlStyle.Contains(csNoStdEvents)) {
    KeyPress(ch);
    if (!alive) return true;
    Message.WParam = ch;
    if (ch == 0) return true;
  }
  return false;
}

bool TWinControl::DoKeyUp(TMessage& Message) {
  TAliveGuard alive = AliveGuard();
  TCustomForm* form = GetParentForm(this);
  if (form && form != static_cast<TControl*>(this) && form->KeyPreview() && form->DoKeyUp(Message)) return true;
  if (!alive) return true;
  WORD key = static_cast<WORD>(Message.WParam);
  if (!FControlStyle.Contains(csNoStdEvents)) {
    KeyUp(key, KeyDataToShiftState(Message.LParam));
    if (!alive) return true;
    Message.WParam = key;
    if (key == 0) return true;
  }
  return false;
}

void TWinControl::KeyDown(WORD& Key, TShiftState Shift) {
  if (OnKeyDown) OnKeyDown(this, Key, Shift);
}
void TWinControl::KeyPress(char32_t& Key) {
  if (OnKeyPress) OnKeyPress(this, Key);
}
void TWinControl::KeyUp(WORD& Key, TShiftState Shift) {
  if (OnKeyUp) OnKeyUp(this, Key, Shift);
}

void TWinControl::WMKeyDown(TMessage& Message) {
  TAliveGuard alive = AliveGuard();
  if (!DoKeyDown(Message) && alive) DefaultHandler(Message);
}

void TWinControl::WMKeyUp(TMessage& Message) {
  TAliveGuard alive = AliveGuard();
  if (!DoKeyUp(Message) && alive) DefaultHandler(Message);
}

void TWinControl::WMChar(TMessage& Message) {
  TAliveGuard alive = AliveGuard();
  if (!DoKeyPress(Message) && alive) DefaultHandler(Message);
}

bool TWinControl::IsMenuKey(TMessage& Message) {
  TCustomForm* form = GetParentForm(this);
  return form && form->IsShortCut(Message);
}

void TWinControl::CNKeyDown(TMessage& Message) {
  Message.Result = 1;
  TAliveGuard alive = AliveGuard();
  if (IsMenuKey(Message) || !alive) return;
  if (Perform(CM_CHILDKEY, Message.WParam, reinterpret_cast<LPARAM>(this)) != 0 || !alive) return;
  LRESULT mask = 0;
  switch (Message.WParam) {
    case VK_TAB: mask = DLGC_WANTTAB; break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN: mask = DLGC_WANTARROWS; break;
    case VK_RETURN:
    case VK_EXECUTE:
    case VK_ESCAPE:
    case VK_CANCEL: mask = DLGC_WANTALLKEYS; break;
    default: break;
  }
  if (mask && Perform(CM_WANTSPECIALKEY, Message.WParam, Message.LParam) == 0 && alive &&
      (Perform(WM_GETDLGCODE) & mask) == 0 && alive) {
    TCustomForm* form = GetParentForm(this);
    if (form && form->Perform(CM_DIALOGKEY, Message.WParam, Message.LParam) != 0) return;
  }
  Message.Result = 0;
}

void TWinControl::CNKeyUp(TMessage& Message) { Message.Result = 0; }

void TWinControl::CNChar(TMessage& Message) {
  Message.Result = 1;
  TAliveGuard alive = AliveGuard();
  if ((Perform(WM_GETDLGCODE) & DLGC_WANTCHARS) == 0 && alive) {
    TCustomForm* form = GetParentForm(this);
    if (form && form->Perform(CM_DIALOGCHAR, Message.WParam, Message.LParam) != 0) return;
  }
  Message.Result = 0;
}

void TWinControl::CNSysKeyDown(TMessage& Message) {
  Message.Result = IsMenuKey(Message) ? 1 : 0;
}

void TWinControl::CNSysChar(TMessage& Message) {
  Message.Result = 0;
  if (Message.WParam == VK_SPACE) return;
  // Alt+letter: an accelerator of the form's controls.
  if (TCustomForm* form = GetParentForm(this)) Message.Result = form->Perform(CM_DIALOGCHAR, Message.WParam, Message.LParam);
}

void TWinControl::CMDialogKey(TMessage& Message) { Broadcast(Message); }
void TWinControl::CMDialogChar(TMessage& Message) { Broadcast(Message); }
