// Menu items, menus, pop-up menus and menus by handle. The tracking loop is in menuloop.cpp.
#include "platform/controls/menus.h"

#include <algorithm>
#include <map>

#include "platform/controls/internal.h"
#include "platform/graphics/text.h"
#include "platform/windows/messageloop.h"
#include "platform/windows/window.h"

using namespace kvctl;

KV_IMPLEMENT_CLASS(TMenuItem) {
  r.Prop("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption);
  r.Prop("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked, false);
  r.Prop("RadioItem", &TMenuItem::RadioItem, &TMenuItem::SetRadioItem, false);
  r.Prop("GroupIndex", &TMenuItem::GroupIndex, &TMenuItem::SetGroupIndex, 0);
  r.Prop("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled, true);
  r.Prop("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible, true);
  r.Prop("Default", &TMenuItem::Default, &TMenuItem::SetDefault, false);
  r.Prop("AutoCheck", &TMenuItem::AutoCheck, &TMenuItem::SetAutoCheck, false);
  r.Prop("ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex, -1);
  r.Prop("Hint", &TMenuItem::Hint, &TMenuItem::SetHint);
  r.Event("OnClick", &TMenuItem::OnClick);
}
KV_IMPLEMENT_CLASS(TMenu) { r.Prop("Images", &TMenu::Images, &TMenu::SetImages); }
KV_IMPLEMENT_CLASS(TPopupMenu) {
  r.Prop("AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup, true);
  r.Prop("Alignment", &TPopupMenu::Alignment, &TPopupMenu::SetAlignment, paLeft);
  r.Event("OnPopup", &TPopupMenu::OnPopup);
  r.Event("OnClose", &TPopupMenu::OnClose);
}

namespace {
UINT NextCommand() {
  static UINT next = 1;
  // Command numbers stay in the 16 bits WM_COMMAND carries.
  UINT c = next;
  next = next >= 0xFFFF ? 1 : next + 1;
  return c;
}
}  // namespace

// ---- TMenuItem ----

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner), FCommand(NextCommand()) {}

TMenuItem::~TMenuItem() {
  while (!FItems.empty()) Free(FItems.back());
  if (FParent) FParent->Remove(this);
}

TMenuItem* TMenuItem::Items(int Index) const {
  if (Index < 0 || Index >= Count()) throw EListError("Menu index out of bounds (" + IntToStr(Index) + ")");
  return FItems[static_cast<size_t>(Index)];
}

int TMenuItem::IndexOf(const TMenuItem* Item) const {
  auto it = std::find(FItems.begin(), FItems.end(), Item);
  return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

void TMenuItem::Insert(int Index, TMenuItem* Item) {
  if (!Item) return;
  if (Item->FParent) throw EInvalidOperation("Menu item '" + Item->Name() + "' is in another menu already");
  for (TMenuItem* p = this; p; p = p->FParent)
    if (p == Item) throw EInvalidOperation("A menu item cannot hold itself");
  if (Index < 0 || Index > Count()) throw EListError("Menu index out of bounds (" + IntToStr(Index) + ")");
  FItems.insert(FItems.begin() + Index, Item);
  Item->FParent = this;
  if (Item->FChecked && Item->FRadioItem) Item->UncheckGroup();
  Changed();
}

void TMenuItem::Add(TMenuItem* Item) { Insert(Count(), Item); }

void TMenuItem::Remove(TMenuItem* Item) {
  int i = IndexOf(Item);
  if (i < 0) return;
  FItems.erase(FItems.begin() + i);
  Item->FParent = nullptr;
  Changed();
}

void TMenuItem::Delete(int Index) { Free(Items(Index)); }

void TMenuItem::Clear() {
  while (!FItems.empty()) Free(FItems.back());
}

int TMenuItem::MenuIndex() const { return FParent ? FParent->IndexOf(this) : -1; }

void TMenuItem::SetMenuIndex(int Value) {
  if (!FParent) return;
  TMenuItem* p = FParent;
  int cur = MenuIndex();
  Value = std::clamp(Value, 0, p->Count() - 1);
  if (cur == Value) return;
  p->FItems.erase(p->FItems.begin() + cur);
  p->FItems.insert(p->FItems.begin() + Value, this);
  p->Changed();
}

TMenuItem* TMenuItem::Find(const String& ACaption) const {
  String want = RemovePrefixes(ACaption);
  for (TMenuItem* i : FItems)
    if (SameText(RemovePrefixes(i->FCaption), want)) return i;
  return nullptr;
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* i = this;
  while (i->FParent) i = i->FParent;
  return i->FMenu;
}

void TMenuItem::Changed() {
  if (TMenu* m = GetParentMenu()) m->OnChange(m);
}

void TMenuItem::SetCaption(const String& Value) {
  if (FCaption == Value) return;
  FCaption = Value;
  Changed();
}

void TMenuItem::UncheckGroup() {
  if (!FParent) return;
  for (TMenuItem* i : FParent->FItems)
    if (i != this && i->FRadioItem && i->FGroupIndex == FGroupIndex && i->FChecked) {
      i->FChecked = false;
    }
}

void TMenuItem::SetChecked(bool Value) {
  if (FChecked == Value) return;
  FChecked = Value;
  if (Value && FRadioItem) UncheckGroup();
  Changed();
}

void TMenuItem::SetRadioItem(bool Value) {
  if (FRadioItem == Value) return;
  FRadioItem = Value;
  if (Value && FChecked) UncheckGroup();
  Changed();
}

void TMenuItem::SetGroupIndex(uint8_t Value) {
  if (FGroupIndex == Value) return;
  FGroupIndex = Value;
  if (FRadioItem && FChecked) UncheckGroup();
  Changed();
}

void TMenuItem::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  Changed();
}

void TMenuItem::SetVisible(bool Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  Changed();
}

void TMenuItem::SetDefault(bool Value) {
  if (FDefault == Value) return;
  // One default item per level.
  if (Value && FParent)
    for (TMenuItem* i : FParent->FItems) i->FDefault = false;
  FDefault = Value;
  Changed();
}

void TMenuItem::SetImageIndex(int Value) {
  if (FImageIndex == Value) return;
  FImageIndex = Value;
  Changed();
}

void TMenuItem::Click() {
  if (!FEnabled) return;
  if (FAutoCheck) {
    if (FRadioItem) SetChecked(true);
    else SetChecked(!FChecked);
  }
  TNotifyEvent handler = OnClick;
  TBusyScope busy(this);
  handler(this);
}

TComponent* TMenuItem::GetParentComponent() const {
  if (FParent && FParent->FMenu) return FParent->FMenu;
  return FParent;
}

void TMenuItem::SetParentComponent(TComponent* Value) {
  if (FParent) FParent->Remove(this);
  if (!Value) return;
  if (auto* m = dynamic_cast<TMenu*>(Value)) m->Items()->Add(this);
  else if (auto* i = dynamic_cast<TMenuItem*>(Value)) i->Add(this);
  else throw EInvalidOperation("Menu item '" + Name() + "' cannot be put inside a " + Value->ClassName());
}

void TMenuItem::GetChildren(const TGetChildProc& Proc, TComponent* Root) const {
  std::vector<TMenuItem*> items = FItems;
  for (TMenuItem* i : items)
    if (i->Owner() == Root) Proc(i);
}

// ---- TMenu ----

TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner), FItems(new TMenuItem(this)) { FItems->FMenu = this; }

TMenu::~TMenu() {
  // The root item goes with the menu's components; it must not announce a menu that is gone.
  FItems->FMenu = nullptr;
}

void TMenu::SetImages(TCustomImageList* Value) {
  if (FImages == Value) return;
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = Value;
  if (Value) Value->FreeNotification(this);
  OnChange(this);
}

TMenuItem* TMenu::FindItem(UINT Command) const {
  std::vector<TMenuItem*> todo{FItems};
  while (!todo.empty()) {
    TMenuItem* i = todo.back();
    todo.pop_back();
    if (i != FItems && i->Command() == Command) return i;
    for (int k = 0; k < i->Count(); ++k) todo.push_back(i->Items(k));
  }
  return nullptr;
}

void TMenu::GetChildren(const TGetChildProc& Proc, TComponent* Root) const { FItems->GetChildren(Proc, Root); }

void TMenu::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImages) FImages = nullptr;
}

// ---- TPopupMenu ----

namespace {
// The visible items of a menu item as rows.
class TItemSource : public TMenuSource {
public:
  TItemSource(const TMenuItem* parent, TCustomImageList* images) : FImages(images) {
    for (int i = 0; i < parent->Count(); ++i)
      if (parent->Items(i)->Visible()) FItems.push_back(parent->Items(i));
  }
  int Count() const override { return static_cast<int>(FItems.size()); }
  TMenuEntry Entry(int Index) const override {
    const TMenuItem* i = FItems[static_cast<size_t>(Index)];
    TMenuEntry e;
    e.Caption = i->Caption();
    e.Separator = i->IsLine();
    e.Enabled = i->Enabled();
    e.Checked = i->Checked();
    e.Radio = i->RadioItem();
    e.Default = i->Default();
    for (int k = 0; k < i->Count() && !e.HasSubmenu; ++k) e.HasSubmenu = i->Items(k)->Visible();
    e.ImageIndex = i->ImageIndex();
    e.Images = FImages;
    e.Tag = reinterpret_cast<intptr_t>(i);
    return e;
  }
  std::unique_ptr<TMenuSource> Submenu(int Index) const override {
    return std::make_unique<TItemSource>(FItems[static_cast<size_t>(Index)], FImages);
  }

private:
  std::vector<const TMenuItem*> FItems;
  TCustomImageList* FImages;
};
}  // namespace

void TPopupMenu::SetPopupComponent(TComponent* Value) {
  if (FPopupComponent == Value) return;
  if (FPopupComponent) FPopupComponent->RemoveFreeNotification(this);
  FPopupComponent = Value;
  if (Value) Value->FreeNotification(this);
}

void TPopupMenu::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FPopupComponent) FPopupComponent = nullptr;
  if (AComponent == FLastChosen) FLastChosen = nullptr;
}

void TPopupMenu::Popup(int X, int Y) {
  FLastChosen = nullptr;
  TBusyScope busy(this);
  if (OnPopup) OnPopup(this);
  TItemSource source(Items(), Images());
  if (source.Count() == 0) return;
  UINT flags = FAlignment == paRight ? TPM_RIGHTALIGN : FAlignment == paCenter ? TPM_CENTERALIGN : TPM_LEFTALIGN;
  intptr_t chosen = 0;
  bool picked = TrackMenu(source, TPoint(X, Y), flags, &chosen);
  if (OnClose) Guarded(this, [&] { OnClose(this); });
  if (!picked) return;
  auto* item = reinterpret_cast<TMenuItem*>(chosen);
  // The item may have gone while the menu was open (a timer freed it): look it up again.
  if (!FindItem(item->Command()) || FindItem(item->Command()) != item) return;
  FLastChosen = item;
  item->FreeNotification(this);
  Guarded(item, [&] { item->Click(); });
}

// ---- menus by handle ----

namespace {
struct TNativeItem {
  UINT Flags = 0;
  UINT_PTR Id = 0;
  String Text;
  HMENU Sub = nullptr;
};
struct TNativeMenu {
  std::vector<TNativeItem> Items;
};

std::map<HMENU, std::unique_ptr<TNativeMenu>>& Menus() {
  static std::map<HMENU, std::unique_ptr<TNativeMenu>> m;
  return m;
}

TNativeMenu* Lookup(HMENU h) {
  auto it = Menus().find(h);
  return it == Menus().end() ? nullptr : it->second.get();
}

// The item by command (searching sub-menus) or by position; the menu holding it in *owner.
TNativeItem* FindNative(HMENU h, UINT item, UINT flags, TNativeMenu** owner = nullptr) {
  TNativeMenu* m = Lookup(h);
  if (!m) return nullptr;
  if (flags & MF_BYPOSITION) {
    if (item >= m->Items.size()) return nullptr;
    if (owner) *owner = m;
    return &m->Items[item];
  }
  for (TNativeItem& i : m->Items) {
    if (!(i.Flags & MF_POPUP) && i.Id == item) {
      if (owner) *owner = m;
      return &i;
    }
    if (i.Sub)
      if (TNativeItem* deeper = FindNative(i.Sub, item, flags, owner)) return deeper;
  }
  return nullptr;
}

class TNativeSource : public TMenuSource {
public:
  explicit TNativeSource(const TNativeMenu* m) : FMenu(m) {}
  int Count() const override { return static_cast<int>(FMenu->Items.size()); }
  TMenuEntry Entry(int Index) const override {
    const TNativeItem& i = FMenu->Items[static_cast<size_t>(Index)];
    TMenuEntry e;
    String text = i.Text;
    size_t tab = text.find('\t');
    if (tab != String::npos) {
      e.ShortCutText = text.substr(tab + 1);
      text = text.substr(0, tab);
    }
    e.Caption = text;
    e.Separator = (i.Flags & MF_SEPARATOR) != 0;
    e.Enabled = !(i.Flags & (MF_GRAYED | MF_DISABLED));
    e.Checked = (i.Flags & MF_CHECKED) != 0;
    e.Radio = (i.Flags & MFT_RADIOCHECK) != 0;
    e.Default = (i.Flags & MF_DEFAULT) != 0;
    const TNativeMenu* sub = i.Sub ? Lookup(i.Sub) : nullptr;
    e.HasSubmenu = sub && !sub->Items.empty();
    e.Tag = static_cast<intptr_t>(i.Id);
    return e;
  }
  std::unique_ptr<TMenuSource> Submenu(int Index) const override {
    return std::make_unique<TNativeSource>(Lookup(FMenu->Items[static_cast<size_t>(Index)].Sub));
  }

private:
  const TNativeMenu* FMenu;
};

bool InsertNative(HMENU h, int pos, UINT flags, UINT_PTR item, const char* text) {
  TNativeMenu* m = Lookup(h);
  if (!m) return false;
  TNativeItem n;
  n.Flags = flags & ~static_cast<UINT>(MF_BYPOSITION);
  n.Text = text ? text : "";
  if (flags & MF_POPUP) {
    n.Sub = reinterpret_cast<HMENU>(item);
    if (!Lookup(n.Sub) || n.Sub == h) return false;
  } else {
    n.Id = item;
  }
  if (pos < 0 || pos > static_cast<int>(m->Items.size())) pos = static_cast<int>(m->Items.size());
  m->Items.insert(m->Items.begin() + pos, std::move(n));
  return true;
}
}  // namespace

HMENU CreatePopupMenu() {
  static uintptr_t next = 0x5000;
  auto h = reinterpret_cast<HMENU>(next++);
  Menus()[h] = std::make_unique<TNativeMenu>();
  return h;
}

bool IsMenu(HMENU Menu) { return Lookup(Menu) != nullptr; }

bool DestroyMenu(HMENU Menu) {
  TNativeMenu* m = Lookup(Menu);
  if (!m) return false;
  std::vector<HMENU> subs;
  for (TNativeItem& i : m->Items)
    if (i.Sub) subs.push_back(i.Sub);
  Menus().erase(Menu);
  for (HMENU s : subs) DestroyMenu(s);
  return true;
}

bool AppendMenu(HMENU Menu, UINT Flags, UINT_PTR Item, const char* Text) { return InsertNative(Menu, -1, Flags, Item, Text); }

bool InsertMenu(HMENU Menu, UINT Position, UINT Flags, UINT_PTR Item, const char* Text) {
  TNativeMenu* m = Lookup(Menu);
  if (!m) return false;
  int pos = -1;
  if (Flags & MF_BYPOSITION) {
    pos = Position == static_cast<UINT>(-1) ? -1 : static_cast<int>(Position);
  } else {
    for (size_t i = 0; i < m->Items.size(); ++i)
      if (!(m->Items[i].Flags & MF_POPUP) && m->Items[i].Id == Position) pos = static_cast<int>(i);
    if (pos < 0) return false;
  }
  return InsertNative(Menu, pos, Flags, Item, Text);
}

static bool TakeOut(HMENU Menu, UINT Position, UINT Flags, bool destroy) {
  TNativeMenu* owner = nullptr;
  TNativeItem* it = FindNative(Menu, Position, Flags, &owner);
  if (!it || !owner) return false;
  HMENU sub = it->Sub;
  owner->Items.erase(owner->Items.begin() + (it - owner->Items.data()));
  if (destroy && sub) DestroyMenu(sub);
  return true;
}

bool RemoveMenu(HMENU Menu, UINT Position, UINT Flags) { return TakeOut(Menu, Position, Flags, false); }
bool DeleteMenu(HMENU Menu, UINT Position, UINT Flags) { return TakeOut(Menu, Position, Flags, true); }

int GetMenuItemCount(HMENU Menu) {
  TNativeMenu* m = Lookup(Menu);
  return m ? static_cast<int>(m->Items.size()) : -1;
}

UINT GetMenuItemID(HMENU Menu, int Position) {
  TNativeMenu* m = Lookup(Menu);
  if (!m || Position < 0 || Position >= static_cast<int>(m->Items.size())) return static_cast<UINT>(-1);
  const TNativeItem& i = m->Items[static_cast<size_t>(Position)];
  return i.Sub ? static_cast<UINT>(-1) : static_cast<UINT>(i.Id);
}

HMENU GetSubMenu(HMENU Menu, int Position) {
  TNativeMenu* m = Lookup(Menu);
  if (!m || Position < 0 || Position >= static_cast<int>(m->Items.size())) return nullptr;
  return m->Items[static_cast<size_t>(Position)].Sub;
}

String GetMenuString(HMENU Menu, UINT Item, UINT Flags) {
  TNativeItem* i = FindNative(Menu, Item, Flags);
  return i ? i->Text : String();
}

UINT GetMenuState(HMENU Menu, UINT Item, UINT Flags) {
  TNativeItem* i = FindNative(Menu, Item, Flags);
  return i ? (i->Flags & (MF_CHECKED | MF_GRAYED | MF_DISABLED | MF_SEPARATOR | MF_POPUP | MF_DEFAULT | MFT_RADIOCHECK))
           : static_cast<UINT>(-1);
}

UINT CheckMenuItem(HMENU Menu, UINT Item, UINT Check) {
  TNativeItem* i = FindNative(Menu, Item, Check);
  if (!i) return static_cast<UINT>(-1);
  UINT old = i->Flags & MF_CHECKED;
  i->Flags = (i->Flags & ~static_cast<UINT>(MF_CHECKED)) | (Check & MF_CHECKED);
  return old;
}

UINT EnableMenuItem(HMENU Menu, UINT Item, UINT Enable) {
  TNativeItem* i = FindNative(Menu, Item, Enable);
  if (!i) return static_cast<UINT>(-1);
  UINT old = i->Flags & (MF_GRAYED | MF_DISABLED);
  i->Flags = (i->Flags & ~static_cast<UINT>(MF_GRAYED | MF_DISABLED)) | (Enable & (MF_GRAYED | MF_DISABLED));
  return old;
}

bool SetMenuDefaultItem(HMENU Menu, UINT Item, bool ByPosition) {
  TNativeMenu* m = Lookup(Menu);
  if (!m) return false;
  TNativeItem* target = FindNative(Menu, Item, ByPosition ? MF_BYPOSITION : MF_BYCOMMAND);
  if (!target && Item != static_cast<UINT>(-1)) return false;
  for (TNativeItem& i : m->Items) i.Flags &= ~static_cast<UINT>(MF_DEFAULT);
  if (target) target->Flags |= MF_DEFAULT;
  return true;
}

UINT_PTR TrackPopupMenu(HMENU Menu, UINT Flags, int X, int Y, int Reserved, HWND Owner, const TRect* Rect) {
  (void)Reserved;
  (void)Rect;
  TNativeMenu* m = Lookup(Menu);
  if (!m || m->Items.empty()) return 0;
  TNativeSource source(m);
  intptr_t chosen = 0;
  bool picked = TrackMenu(source, TPoint(X, Y), Flags, &chosen);
  if (!picked) return 0;
  UINT_PTR id = static_cast<UINT_PTR>(chosen);
  if (Flags & TPM_RETURNCMD) return id;
  if (!(Flags & TPM_NONOTIFY) && Owner) PostMessage(Owner, WM_COMMAND, MAKEWPARAM(static_cast<unsigned>(id), 0), 0);
  return 1;
}
