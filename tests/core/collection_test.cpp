#include <gtest/gtest.h>

#include <vector>

#include "platform/core/classes.h"
#include "platform/core/lists.h"

namespace {
class TItem : public TCollectionItem {
  KV_CLASS(TItem, TCollectionItem)
public:
  explicit TItem(TCollection* c) : TCollectionItem(c) {}
  int Value() const { return FValue; }
  void SetValue(int v) {
    if (v == FValue) return;
    FValue = v;
    Changed(false);
  }
  void Assign(const TPersistent* Source) override {
    if (auto* s = dynamic_cast<const TItem*>(Source)) {
      FValue = s->FValue;
      Changed(false);
      return;
    }
    inherited::Assign(Source);
  }

private:
  std::vector<int> FPayload{1, 2, 3};  // fully constructed before the owner hears of the item
  int FValue = 0;

  friend class TItems;
};

class TItems : public TCollectionOf<TItem> {
public:
  std::vector<const TCollectionItem*> Updates;
  int PayloadSeen = 0;

protected:
  void Update(TCollectionItem* Item) override {
    Updates.push_back(Item);
    for (int i = 0; i < Count(); ++i) PayloadSeen += static_cast<int>(Items(i)->FPayload.size());
  }
};
}  // namespace

KV_IMPLEMENT_CLASS(TItem) {}

TEST(Collection, NestedUpdatesNotifyOnceAtTheEnd) {
  TItems items;
  items.BeginUpdate();
  items.BeginUpdate();
  for (int i = 0; i < 5; ++i) items.Add()->SetValue(i + 1);
  items.Delete(0);
  items.EndUpdate();
  EXPECT_TRUE(items.Updates.empty());
  items.EndUpdate();
  ASSERT_EQ(items.Updates.size(), 1u);
  EXPECT_EQ(items.Updates[0], nullptr);
  EXPECT_EQ(items.Count(), 4);
  items.EndUpdate();  // unbalanced: ignored
  EXPECT_EQ(items.Updates.size(), 1u);
}

TEST(Collection, ItemChangesReportTheItemAndListChangesReportNone) {
  TItems items;
  TItem* a = items.Add();
  TItem* b = items.Add();
  EXPECT_EQ(items.PayloadSeen, 3 + 6);  // Update saw complete items only
  items.Updates.clear();
  b->SetValue(7);
  ASSERT_EQ(items.Updates.size(), 1u);
  EXPECT_EQ(items.Updates[0], b);
  b->SetIndex(0);
  EXPECT_EQ(items.Items(0), b);
  EXPECT_EQ(items.Items(1), a);
  EXPECT_EQ(items.Updates.back(), nullptr);
  TItem* c = items.Insert(1);
  EXPECT_EQ(c->Index(), 1);
  Free(a);  // an item freed directly leaves the collection
  EXPECT_EQ(items.Count(), 2);
  EXPECT_THROW(items.Items(2), EListError);
  EXPECT_THROW(items.Insert(5), EListError);
}

TEST(Collection, AssignCopiesItemsInOneUpdate) {
  TItems src, dst;
  for (int v : {3, 1, 4}) src.Add()->SetValue(v);
  dst.Add();
  dst.Updates.clear();
  dst.Assign(&src);
  ASSERT_EQ(dst.Count(), 3);
  EXPECT_EQ(dst.Items(2)->Value(), 4);
  EXPECT_EQ(dst.Updates.size(), 1u);
  TStringList notACollection;
  EXPECT_THROW(dst.Assign(&notACollection), EConvertError);
}
