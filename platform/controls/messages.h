#pragma once
// Messages of the controls layer: the component messages CM_* that controls send each other,
// the reflected notifications CN_* (a parent hands a child's WM_COMMAND, WM_NOTIFY,
// WM_DRAWITEM ... back to the child as CN_COMMAND, CN_NOTIFY, CN_DRAWITEM ...), the message
// record TMessage that a control's window procedure receives, and the structures that travel
// with these messages.
//
// Numbering: CM_BASE = 0xB000 and each CM_ message is CM_BASE plus the offset listed below;
// CN_BASE = 0xBC00 and each CN_ message is CN_BASE plus the number of the window message it
// reflects (CN_COMMAND = CN_BASE + WM_COMMAND). Both ranges lie above WM_APP, so they never
// meet the window layer's messages or an application's private WM_USER messages.
#include "platform/windows/keys.h"
#include "platform/windows/messages.h"
#include "platform/windows/wintypes.h"

class TControl;

constexpr UINT CM_BASE = 0xB000;
enum : UINT {
  CM_ACTIVATE = CM_BASE + 0,            // a form became the active form
  CM_DEACTIVATE = CM_BASE + 1,
  CM_CANCELMODE = CM_BASE + 4,          // LParam: the control that was pressed
  CM_DIALOGKEY = CM_BASE + 5,           // WParam: virtual key; Result 1 when taken
  CM_DIALOGCHAR = CM_BASE + 6,          // WParam: character; Result 1 when taken (accelerators)
  CM_FOCUSCHANGED = CM_BASE + 7,        // to a form's controls; LParam: the focused control
  CM_PARENTFONTCHANGED = CM_BASE + 8,
  CM_PARENTCOLORCHANGED = CM_BASE + 9,
  CM_HITTEST = CM_BASE + 10,            // LParam: point; Result non-zero when the point hits
  CM_VISIBLECHANGED = CM_BASE + 11,     // WParam: the new value
  CM_ENABLEDCHANGED = CM_BASE + 12,
  CM_COLORCHANGED = CM_BASE + 13,
  CM_FONTCHANGED = CM_BASE + 14,
  CM_CURSORCHANGED = CM_BASE + 15,
  CM_TEXTCHANGED = CM_BASE + 18,
  CM_MOUSEENTER = CM_BASE + 19,         // the pointer came over the control
  CM_MOUSELEAVE = CM_BASE + 20,         // the pointer left the control
  CM_SHOWINGCHANGED = CM_BASE + 25,
  CM_ENTER = CM_BASE + 26,              // the focus came into the control
  CM_EXIT = CM_BASE + 27,               // the focus left the control
  CM_WANTSPECIALKEY = CM_BASE + 30,     // WParam: key; Result 1 when the control wants it
  CM_RELEASE = CM_BASE + 33,            // a form frees itself (TCustomForm::Release)
  CM_SHOWHINTCHANGED = CM_BASE + 34,
  CM_PARENTSHOWHINTCHANGED = CM_BASE + 35,
  CM_SYSCOLORCHANGE = CM_BASE + 36,
  CM_FONTCHANGE = CM_BASE + 38,
  CM_TABSTOPCHANGED = CM_BASE + 40,
  CM_CONTROLLISTCHANGE = CM_BASE + 44,  // WParam: control, LParam: inserted (1) or removed (0)
  CM_CHILDKEY = CM_BASE + 46,           // WParam: key, LParam: the control; Result 1 eats it
  CM_HINTSHOW = CM_BASE + 48,           // LParam: THintInfo*; Result non-zero cancels the hint
  CM_RECREATEWND = CM_BASE + 51,
  CM_INVALIDATE = CM_BASE + 52,
  CM_CONTROLCHANGE = CM_BASE + 54,      // WParam: control, LParam: inserted (1) or removed (0)
  CM_CHANGED = CM_BASE + 55,
  CM_BIDIMODECHANGED = CM_BASE + 60,
  CM_PARENTBIDIMODECHANGED = CM_BASE + 61,
  CM_ACTIONUPDATE = CM_BASE + 63,
  CM_ACTIONEXECUTE = CM_BASE + 64,
  CM_STYLECHANGED = CM_BASE + 88,       // the active look changed: repaint
  CM_BORDERCHANGED = CM_BASE + 89,
  CM_MOUSEWHEEL = CM_BASE + 90,         // WParam: keys and delta as WM_MOUSEWHEEL, LParam: point
  CM_SYNCHRONIZE = CM_BASE + 100,       // internal: run the threads' pending hand-overs
};

constexpr UINT CN_BASE = 0xBC00;
enum : UINT {
  CN_CHARTOITEM = CN_BASE + WM_CHARTOITEM,
  CN_COMMAND = CN_BASE + WM_COMMAND,
  CN_COMPAREITEM = CN_BASE + WM_COMPAREITEM,
  CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN,
  CN_CTLCOLORDLG = CN_BASE + WM_CTLCOLORDLG,
  CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT,
  CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX,
  CN_CTLCOLORMSGBOX = CN_BASE + WM_CTLCOLORMSGBOX,
  CN_CTLCOLORSCROLLBAR = CN_BASE + WM_CTLCOLORSCROLLBAR,
  CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC,
  CN_DELETEITEM = CN_BASE + WM_DELETEITEM,
  CN_DRAWITEM = CN_BASE + WM_DRAWITEM,
  CN_HSCROLL = CN_BASE + WM_HSCROLL,
  CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM,
  CN_PARENTNOTIFY = CN_BASE + WM_PARENTNOTIFY,
  CN_VKEYTOITEM = CN_BASE + WM_VKEYTOITEM,
  CN_VSCROLL = CN_BASE + WM_VSCROLL,
  CN_KEYDOWN = CN_BASE + WM_KEYDOWN,
  CN_KEYUP = CN_BASE + WM_KEYUP,
  CN_CHAR = CN_BASE + WM_CHAR,
  CN_SYSKEYDOWN = CN_BASE + WM_SYSKEYDOWN,
  CN_SYSCHAR = CN_BASE + WM_SYSCHAR,
  CN_NOTIFY = CN_BASE + WM_NOTIFY,
};

// A message as a control's window procedure receives it. Result is the answer.
struct TMessage {
  UINT Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;
};

// Parts of common messages.
inline TPoint MessagePoint(const TMessage& m) { return LParamToPoint(m.LParam); }
inline WORD MessageKeys(const TMessage& m) { return LOWORD(m.WParam); }
inline WORD MessageCharCode(const TMessage& m) { return static_cast<WORD>(m.WParam); }
// The control a CM_CANCELMODE, CM_MOUSEENTER ... message names in LParam.
inline TControl* MessageSender(const TMessage& m) { return reinterpret_cast<TControl*>(m.LParam); }

// WM_NOTIFY: lParam points to this header (or a structure that starts with it).
struct NMHDR {
  HWND hwndFrom = nullptr;
  UINT_PTR idFrom = 0;
  UINT code = 0;
};

// Owner-drawn items: WM_DRAWITEM and WM_MEASUREITEM.
enum : UINT { ODT_MENU = 1, ODT_LISTBOX = 2, ODT_COMBOBOX = 3, ODT_BUTTON = 4, ODT_STATIC = 5 };
enum : UINT { ODA_DRAWENTIRE = 1, ODA_SELECT = 2, ODA_FOCUS = 4 };
enum : UINT {
  ODS_SELECTED = 0x0001, ODS_GRAYED = 0x0002, ODS_DISABLED = 0x0004, ODS_CHECKED = 0x0008,
  ODS_FOCUS = 0x0010, ODS_DEFAULT = 0x0020, ODS_COMBOBOXEDIT = 0x1000, ODS_HOTLIGHT = 0x0040,
  ODS_INACTIVE = 0x0080, ODS_NOACCEL = 0x0100, ODS_NOFOCUSRECT = 0x0200
};
struct DRAWITEMSTRUCT {
  UINT CtlType = 0;
  UINT CtlID = 0;
  UINT itemID = 0;
  UINT itemAction = 0;
  UINT itemState = 0;
  HWND hwndItem = nullptr;
  HDC hDC = nullptr;
  TRect rcItem;
  ULONG_PTR itemData = 0;
};
struct MEASUREITEMSTRUCT {
  UINT CtlType = 0;
  UINT CtlID = 0;
  UINT itemID = 0;
  UINT itemWidth = 0;
  UINT itemHeight = 0;
  ULONG_PTR itemData = 0;
};
struct DELETEITEMSTRUCT {
  UINT CtlType = 0;
  UINT CtlID = 0;
  UINT itemID = 0;
  HWND hwndItem = nullptr;
  ULONG_PTR itemData = 0;
};
struct COMPAREITEMSTRUCT {
  UINT CtlType = 0;
  UINT CtlID = 0;
  HWND hwndItem = nullptr;
  UINT itemID1 = 0;
  ULONG_PTR itemData1 = 0;
  UINT itemID2 = 0;
  ULONG_PTR itemData2 = 0;
};

// WM_COMMAND notification codes of menus and accelerators (HIWORD(wParam)).
enum : WORD { BN_CLICKED = 0 };

// Dialog-box command identifiers (message box answers).
enum : int {
  IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7,
  IDCLOSE = 8, IDHELP = 9, IDTRYAGAIN = 10, IDCONTINUE = 11
};
