#include <gtest/gtest.h>

#include "platform/core/classes.h"
#include "platform/core/lists.h"

TEST(StringList, SortedListsWithEachDuplicatesRule) {
  struct Case {
    TDuplicates dup;
    bool throws;
    int count;
  } cases[] = {{dupIgnore, false, 3}, {dupAccept, false, 4}, {dupError, true, 3}};
  for (const Case& c : cases) {
    TStringList l;
    l.SetSorted(true);
    l.SetDuplicates(c.dup);
    for (const char* s : {"pear", "Apple", "fig"}) l.Add(s);
    if (c.throws) EXPECT_THROW(l.Add("apple"), EListError);
    else l.Add("apple");
    EXPECT_EQ(l.Count(), c.count);
    EXPECT_EQ(l.Strings(0), "Apple");
    EXPECT_EQ(l.IndexOf("FIG"), c.count - 2);
    EXPECT_THROW(l.Insert(0, "x"), EListError);  // position is decided by the sort
  }

  TStringList cs;
  cs.SetCaseSensitive(true);
  cs.SetSorted(true);
  cs.SetDuplicates(dupAccept);
  for (const char* s : {"b", "B", "a", "A"}) cs.Add(s);
  EXPECT_EQ(cs.CommaText(), "A,B,a,b");
  EXPECT_EQ(cs.IndexOf("b"), 3);
}

TEST(StringList, ChangeEventsFireOncePerChange) {
  TStringList l;
  int changing = 0, changed = 0;
  l.OnChanging = [&](TObject*) { ++changing; };
  l.OnChange = [&](TObject*) { ++changed; };
  l.Add("a");
  l.Add("b");
  EXPECT_EQ(changed, 2);
  EXPECT_EQ(changing, 2);
  l.BeginUpdate();
  l.Add("c");
  l.Delete(0);
  l.BeginUpdate();
  l.Clear();
  l.EndUpdate();
  EXPECT_EQ(changed, 2);
  l.EndUpdate();
  EXPECT_EQ(changed, 3);
  EXPECT_EQ(changing, 3);
  TStringList src;
  src.SetText("x\r\ny\nz");
  l.Assign(&src);  // one change for the whole copy
  EXPECT_EQ(changed, 4);
  EXPECT_EQ(l.Text(), "x\ny\nz\n");
}

TEST(StringList, CommaTextQuotesWhatNeedsIt) {
  TStringList l;
  l.SetCommaText(R"(one, "two words","say ""hi""",,last)");
  ASSERT_EQ(l.Count(), 5);
  EXPECT_EQ(l.Strings(1), "two words");
  EXPECT_EQ(l.Strings(2), "say \"hi\"");
  EXPECT_EQ(l.Strings(3), "");
  EXPECT_EQ(l.CommaText(), R"(one,"two words","say ""hi""",,last)");
  l.SetValues("key", "v");
  EXPECT_EQ(l.Values("KEY"), "v");
  EXPECT_THROW(l.Strings(99), EListError);
}

TEST(StringList, OwnedObjectsAreFreedWithTheirLines) {
  int alive = 0;
  struct TCounted : TObject {
    int& n;
    explicit TCounted(int& c) : n(c) { ++n; }
    ~TCounted() override { --n; }
  };
  {
    TStringList l(true);
    l.AddObject("a", new TCounted(alive));
    l.AddObject("b", new TCounted(alive));
    l.Delete(0);
    EXPECT_EQ(alive, 1);
  }
  EXPECT_EQ(alive, 0);
}

TEST(List, SortIsStableAndBoundsAreChecked) {
  int v[] = {3, 1, 3, 2};
  TList l;
  for (int& x : v) l.Add(&x);
  l.Sort([](void* a, void* b) { return *static_cast<int*>(a) - *static_cast<int*>(b); });
  EXPECT_EQ(l.Items(0), &v[1]);
  EXPECT_EQ(l.Items(2), &v[0]);  // equal values keep their order
  EXPECT_EQ(l.Items(3), &v[2]);
  EXPECT_THROW(l.Items(4), EListError);
  EXPECT_EQ(l.Remove(&v[3]), 1);
  EXPECT_EQ(l.Count(), 3);
}
