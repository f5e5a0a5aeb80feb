#pragma once
// TCollection and TCollectionItem: an owned, ordered list of items of one class.
//
// Items are created by the collection (Add, Insert: never construct an item directly) and freed by it (Delete, Clear, its own
// destruction); an item freed directly leaves the collection. Every change calls Update(Item)
// once: Update(nullptr) for changes of the list or of all items, Update(item) for a change of
// one item. Between BeginUpdate and EndUpdate (nested) nothing is reported; the outermost
// EndUpdate reports Update(nullptr) once.
#include <functional>
#include <vector>

#include "platform/core/enums.h"
#include "platform/core/object.h"

class TCollection;

KV_ENUM(TCollectionNotification, cnAdded, cnExtracting, cnDeleting)

class TCollectionItem : public TPersistent {
  KV_CLASS(TCollectionItem, TPersistent)
public:
  explicit TCollectionItem(TCollection* ACollection);
  ~TCollectionItem() override;

  TCollection* Collection() const { return FCollection; }
  // Moves the item into another collection (or out of every collection with nullptr).
  void SetCollection(TCollection* Value);
  int Index() const;
  virtual void SetIndex(int Value);
  int ID() const { return FID; }
  virtual String DisplayName() const;
  virtual void SetDisplayName(const String& Value);
  TPersistent* GetOwner() const override;
  String GetNamePath() const override;

protected:
  // Reports a change of this item (AllItems: of the whole collection).
  void Changed(bool AllItems);

private:
  friend class TCollection;
  TCollection* FCollection = nullptr;
  int FID = 0;
};

class TCollection : public TPersistent {
  KV_CLASS(TCollection, TPersistent)
public:
  using TItemFactory = std::function<TCollectionItem*(TCollection*)>;
  // The factory creates one item of the collection's class (its constructor inserts it).
  explicit TCollection(TItemFactory ItemFactory, TPersistent* AOwner = nullptr);
  ~TCollection() override;

  TPersistent* GetOwner() const override { return FOwner; }
  String GetNamePath() const override;
  void Assign(const TPersistent* Source) override;

  int Count() const { return static_cast<int>(FItems.size()); }
  // Raises EListError for an index outside 0..Count-1.
  TCollectionItem* Items(int Index) const;
  void SetItems(int Index, const TCollectionItem* Value);
  TCollectionItem* Add();
  TCollectionItem* Insert(int Index);
  void Delete(int Index);
  void Clear();
  void Exchange(int Index1, int Index2);
  TCollectionItem* FindItemID(int ID) const;

  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }

protected:
  // Called once per change while not updating; Item is null for list-wide changes.
  virtual void Update(TCollectionItem* Item);
  virtual void Notify(TCollectionItem* Item, TCollectionNotification Action);
  // Reports a list-wide change unless updating.
  void Changed();

private:
  friend class TCollectionItem;
  bool Contains(const TCollectionItem* Item) const;
  void InsertItem(TCollectionItem* Item);
  void RemoveItem(TCollectionItem* Item);

  TItemFactory FFactory;
  TPersistent* FOwner;
  std::vector<TCollectionItem*> FItems;
  int FUpdateCount = 0;
  int FNextID = 0;
  bool FDestroying = false;
};

// A typed collection: TCollectionOf<TkvImageCollectionItem> creates and returns that class.
template <class Item>
class TCollectionOf : public TCollection {
public:
  explicit TCollectionOf(TPersistent* AOwner = nullptr)
      : TCollection([](TCollection* c) -> TCollectionItem* { return new Item(c); }, AOwner) {}
  Item* Items(int Index) const { return static_cast<Item*>(TCollection::Items(Index)); }
  Item* Add() { return static_cast<Item*>(TCollection::Add()); }
  Item* Insert(int Index) { return static_cast<Item*>(TCollection::Insert(Index)); }
};
