#include "platform/core/collection.h"

#include <algorithm>

#include "platform/core/classes.h"
#include "platform/core/exceptions.h"

KV_IMPLEMENT_CLASS(TCollectionItem) {}
KV_IMPLEMENT_CLASS(TCollection) {}

namespace {
[[noreturn]] void IndexError(int index) {
  throw EListError("List index out of bounds (" + IntToStr(index) + ")");
}
}  // namespace

// The constructor only remembers its collection: TCollection::Add lists the item once it is
// fully constructed, so the owner's Update never sees a half-built item.
TCollectionItem::TCollectionItem(TCollection* ACollection) : FCollection(ACollection) {}

TCollectionItem::~TCollectionItem() { SetCollection(nullptr); }

void TCollectionItem::SetCollection(TCollection* Value) {
  bool listed = FCollection && FCollection->Contains(this);
  if (FCollection == Value && listed) return;
  if (listed) FCollection->RemoveItem(this);
  FCollection = nullptr;
  if (Value) Value->InsertItem(this);
}

int TCollectionItem::Index() const {
  if (!FCollection) return -1;
  auto& v = FCollection->FItems;
  auto it = std::find(v.begin(), v.end(), this);
  return it == v.end() ? -1 : static_cast<int>(it - v.begin());
}

void TCollectionItem::SetIndex(int Value) {
  int cur = Index();
  if (cur < 0 || Value == cur) return;
  auto& v = FCollection->FItems;
  if (Value < 0) Value = 0;
  if (Value >= static_cast<int>(v.size())) Value = static_cast<int>(v.size()) - 1;
  v.erase(v.begin() + cur);
  v.insert(v.begin() + Value, this);
  Changed(true);
}

String TCollectionItem::DisplayName() const { return ClassName(); }
void TCollectionItem::SetDisplayName(const String&) { Changed(false); }
TPersistent* TCollectionItem::GetOwner() const { return FCollection; }

String TCollectionItem::GetNamePath() const {
  if (!FCollection) return ClassName();
  return FCollection->GetNamePath() + "[" + IntToStr(Index()) + "]";
}

void TCollectionItem::Changed(bool AllItems) {
  if (FCollection && FCollection->FUpdateCount == 0 && !FCollection->FDestroying)
    FCollection->Update(AllItems ? nullptr : this);
}

TCollection::TCollection(TItemFactory ItemFactory, TPersistent* AOwner)
    : FFactory(std::move(ItemFactory)), FOwner(AOwner) {}

TCollection::~TCollection() {
  FDestroying = true;
  FUpdateCount = 1;
  while (!FItems.empty()) delete FItems.back();
}

String TCollection::GetNamePath() const {
  if (!FOwner) return ClassName();
  String s = FOwner->GetNamePath();
  return s.empty() ? ClassName() : s + "." + ClassName();
}

void TCollection::Assign(const TPersistent* Source) {
  if (auto* src = dynamic_cast<const TCollection*>(Source)) {
    if (src == this) return;
    BeginUpdate();
    try {
      Clear();
      for (TCollectionItem* it : src->FItems) Add()->Assign(it);
    } catch (...) {
      EndUpdate();
      throw;
    }
    EndUpdate();
    return;
  }
  inherited::Assign(Source);
}

TCollectionItem* TCollection::Items(int Index) const {
  if (Index < 0 || Index >= Count()) IndexError(Index);
  return FItems[static_cast<size_t>(Index)];
}

void TCollection::SetItems(int Index, const TCollectionItem* Value) { Items(Index)->Assign(Value); }

TCollectionItem* TCollection::Add() {
  if (!FFactory) throw EInvalidOperation(ClassName() + " has no item class");
  TCollectionItem* item = FFactory(this);
  InsertItem(item);
  return item;
}

TCollectionItem* TCollection::Insert(int Index) {
  if (Index < 0 || Index > Count()) IndexError(Index);
  BeginUpdate();
  TCollectionItem* item;
  try {
    item = Add();
    item->SetIndex(Index);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
  return item;
}

void TCollection::Delete(int Index) {
  TCollectionItem* item = Items(Index);
  Notify(item, cnDeleting);
  delete item;
}

void TCollection::Clear() {
  if (FItems.empty()) return;
  BeginUpdate();
  while (!FItems.empty()) {
    TCollectionItem* item = FItems.back();
    Notify(item, cnDeleting);
    delete item;
  }
  EndUpdate();
}

void TCollection::Exchange(int Index1, int Index2) {
  Items(Index1);
  Items(Index2);
  std::swap(FItems[static_cast<size_t>(Index1)], FItems[static_cast<size_t>(Index2)]);
  Changed();
}

TCollectionItem* TCollection::FindItemID(int ID) const {
  for (TCollectionItem* it : FItems)
    if (it->FID == ID) return it;
  return nullptr;
}

void TCollection::BeginUpdate() { ++FUpdateCount; }

void TCollection::EndUpdate() {
  if (FUpdateCount <= 0) return;
  if (--FUpdateCount == 0) Changed();
}

void TCollection::Update(TCollectionItem*) {}
void TCollection::Notify(TCollectionItem*, TCollectionNotification) {}

void TCollection::Changed() {
  if (FUpdateCount == 0 && !FDestroying) Update(nullptr);
}

bool TCollection::Contains(const TCollectionItem* Item) const {
  return std::find(FItems.begin(), FItems.end(), Item) != FItems.end();
}

void TCollection::InsertItem(TCollectionItem* Item) {
  FItems.push_back(Item);
  Item->FCollection = this;
  Item->FID = FNextID++;
  Notify(Item, cnAdded);
  Changed();
}

void TCollection::RemoveItem(TCollectionItem* Item) {
  auto it = std::find(FItems.begin(), FItems.end(), Item);
  if (it == FItems.end()) return;
  Notify(Item, cnExtracting);
  FItems.erase(it);
  Item->FCollection = nullptr;
  Changed();
}
