#pragma once
// Menus: TMenuItem trees under a TMenu, the pop-up menu TPopupMenu with a blocking Popup, and
// menus built from code through handles (CreatePopupMenu, AppendMenu, TrackPopupMenu).
//
// Both kinds are shown by the same tracking loop (menuloop.cpp): pop-up windows that never take
// the activation, drawn by the MenuPainter, kept inside the monitor's work area; the mouse
// (hover opens sub-menus, a release on an item chooses it, a press outside closes) and the
// keyboard (arrows, Enter, Esc, accelerators) drive them. While the loop runs every mouse and
// key message goes to the menu: none reaches the controls under it, and a button that is still
// down when the loop ends has its release swallowed too. A chosen TMenuItem's OnClick runs
// after the menu windows are gone, before Popup returns.
#include <memory>
#include <vector>

#include "platform/controls/controltypes.h"
#include "platform/controls/menupainter.h"
#include "platform/core/component.h"
#include "platform/windows/wintypes.h"

class TMenu;
class TControl;

class TMenuItem : public TComponent {
  KV_CLASS(TMenuItem, TComponent)
public:
  explicit TMenuItem(TComponent* AOwner);
  ~TMenuItem() override;

  const String& Caption() const { return FCaption; }
  void SetCaption(const String& Value);
  // A caption of "-" makes the item a separator.
  bool IsLine() const { return FCaption == "-"; }
  bool Checked() const { return FChecked; }
  void SetChecked(bool Value);
  // A radio item checked unchecks the other radio items of its GroupIndex among its siblings.
  bool RadioItem() const { return FRadioItem; }
  void SetRadioItem(bool Value);
  uint8_t GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(uint8_t Value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  bool Default() const { return FDefault; }
  void SetDefault(bool Value);
  // Clicking toggles Checked (a radio item is only ever checked by it).
  bool AutoCheck() const { return FAutoCheck; }
  void SetAutoCheck(bool Value) { FAutoCheck = Value; }
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  const String& Hint() const { return FHint; }
  void SetHint(const String& Value) { FHint = Value; }
  // The number the item is known by in TrackPopupMenu answers and WM_COMMAND; unique.
  UINT Command() const { return FCommand; }

  int Count() const { return static_cast<int>(FItems.size()); }
  TMenuItem* Items(int Index) const;
  TMenuItem* Parent() const { return FParent; }
  int MenuIndex() const;
  void SetMenuIndex(int Value);
  void Add(TMenuItem* Item);
  void Insert(int Index, TMenuItem* Item);
  // Takes the item out (it is not freed); Delete frees it.
  void Remove(TMenuItem* Item);
  void Delete(int Index);
  void Clear();
  int IndexOf(const TMenuItem* Item) const;
  // The child item with this caption (ignoring "&" and case), or null.
  TMenuItem* Find(const String& ACaption) const;
  // The menu the item lies in (through its parents), or null.
  TMenu* GetParentMenu() const;

  // Chooses the item: AutoCheck, then OnClick.
  virtual void Click();

  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* Value) override;
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) const override;

  TNotifyEvent OnClick;

private:
  friend class TMenu;
  void Changed();
  void UncheckGroup();
  TMenu* FMenu = nullptr;  // set for a menu's root item
  TMenuItem* FParent = nullptr;
  std::vector<TMenuItem*> FItems;
  String FCaption, FHint;
  bool FChecked = false, FRadioItem = false, FEnabled = true, FVisible = true, FDefault = false, FAutoCheck = false;
  uint8_t FGroupIndex = 0;
  int FImageIndex = -1;
  UINT FCommand;
};

class TMenu : public TComponent {
  KV_CLASS(TMenu, TComponent)
public:
  explicit TMenu(TComponent* AOwner);
  ~TMenu() override;
  // The root item; the menu's entries are its children.
  TMenuItem* Items() const { return FItems; }
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  // The item with this command number anywhere in the menu, or null.
  TMenuItem* FindItem(UINT Command) const;
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) const override;
  TNotifyEvent OnChange;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  TMenuItem* FItems;
  TCustomImageList* FImages = nullptr;
};

KV_ENUM(TPopupAlignment, paLeft, paRight, paCenter)

class TPopupMenu : public TMenu {
  KV_CLASS(TPopupMenu, TMenu)
public:
  explicit TPopupMenu(TComponent* AOwner) : TMenu(AOwner) {}

  // Shows the menu at a screen point and returns once it closed (after the chosen item's
  // OnClick). Nothing shows for a menu without a visible item.
  virtual void Popup(int X, int Y);
  // The control the menu was opened for (set by a control's context-menu handling).
  TComponent* PopupComponent() const { return FPopupComponent; }
  void SetPopupComponent(TComponent* Value);
  // Controls open the menu themselves on a right click when it is on.
  bool AutoPopup() const { return FAutoPopup; }
  void SetAutoPopup(bool Value) { FAutoPopup = Value; }
  TPopupAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TPopupAlignment Value) { FAlignment = Value; }
  // The item chosen in the last Popup, or null.
  TMenuItem* LastChosen() const { return FLastChosen; }

  TNotifyEvent OnPopup;
  TNotifyEvent OnClose;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  TComponent* FPopupComponent = nullptr;
  TMenuItem* FLastChosen = nullptr;
  bool FAutoPopup = true;
  TPopupAlignment FAlignment = paLeft;
};

// ---- menus by handle ----
enum : UINT {
  MF_STRING = 0x0000, MF_ENABLED = 0x0000, MF_UNCHECKED = 0x0000, MF_BYCOMMAND = 0x0000,
  MF_GRAYED = 0x0001, MF_DISABLED = 0x0002, MF_CHECKED = 0x0008, MF_POPUP = 0x0010,
  MFT_RADIOCHECK = 0x0200, MF_BYPOSITION = 0x0400, MF_SEPARATOR = 0x0800, MF_DEFAULT = 0x1000
};
enum : UINT {
  TPM_LEFTALIGN = 0x0000, TPM_CENTERALIGN = 0x0004, TPM_RIGHTALIGN = 0x0008, TPM_TOPALIGN = 0x0000,
  TPM_VCENTERALIGN = 0x0010, TPM_BOTTOMALIGN = 0x0020, TPM_LEFTBUTTON = 0x0000, TPM_RIGHTBUTTON = 0x0002,
  TPM_NONOTIFY = 0x0080, TPM_RETURNCMD = 0x0100
};

HMENU CreatePopupMenu();
// Destroys the menu and its sub-menus; false for a handle that is not a menu.
bool DestroyMenu(HMENU Menu);
bool IsMenu(HMENU Menu);
// Item is a command number, or with MF_POPUP a sub-menu handle (the menu then owns it).
bool AppendMenu(HMENU Menu, UINT Flags, UINT_PTR Item, const char* Text);
bool InsertMenu(HMENU Menu, UINT Position, UINT Flags, UINT_PTR Item, const char* Text);
// RemoveMenu takes an item out (a sub-menu is kept); DeleteMenu destroys its sub-menu too.
bool RemoveMenu(HMENU Menu, UINT Position, UINT Flags);
bool DeleteMenu(HMENU Menu, UINT Position, UINT Flags);
int GetMenuItemCount(HMENU Menu);
UINT GetMenuItemID(HMENU Menu, int Position);  // (UINT)-1 for a sub-menu or a bad position
HMENU GetSubMenu(HMENU Menu, int Position);
String GetMenuString(HMENU Menu, UINT Item, UINT Flags);
UINT GetMenuState(HMENU Menu, UINT Item, UINT Flags);  // (UINT)-1 when there is no such item
// Return the previous state (MF_CHECKED / MF_GRAYED bits), or (UINT)-1.
UINT CheckMenuItem(HMENU Menu, UINT Item, UINT Check);
UINT EnableMenuItem(HMENU Menu, UINT Item, UINT Enable);
bool SetMenuDefaultItem(HMENU Menu, UINT Item, bool ByPosition);
// Shows the menu at a screen point (the TPM_ alignment flags place it) and tracks it. With
// TPM_RETURNCMD the chosen item's command number is returned (0 for none); otherwise the
// result is non-zero when an item was chosen and WM_COMMAND is posted to Owner (unless
// TPM_NONOTIFY).
UINT_PTR TrackPopupMenu(HMENU Menu, UINT Flags, int X, int Y, int Reserved, HWND Owner, const TRect* Rect);

// ---- the tracking loop ----
// A menu as the loop sees it: rows, and the sub-menu of a row.
class TMenuSource {
public:
  virtual ~TMenuSource() = default;
  virtual int Count() const = 0;
  virtual TMenuEntry Entry(int Index) const = 0;
  // The sub-menu of a row with HasSubmenu.
  virtual std::unique_ptr<TMenuSource> Submenu(int Index) const = 0;
};
// Runs a pop-up menu at a screen point (Flags: TPM_ alignment); true and the chosen row's Tag
// in *Chosen when a row was chosen. False at once when a menu is already being tracked.
bool TrackMenu(const TMenuSource& Menu, TPoint At, UINT Flags, intptr_t* Chosen);
// True while a pop-up menu is open.
bool IsMenuTracking();
// Closes the open pop-up menu without a choice (from a timer, say).
void EndMenuTracking();
