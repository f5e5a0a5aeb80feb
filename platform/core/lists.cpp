#include "platform/core/lists.h"

#include <algorithm>
#include <numeric>

#include "platform/core/classes.h"
#include "platform/core/exceptions.h"
#include "platform/core/filer.h"

namespace {
[[noreturn]] void ListIndexError(int index) {
  throw EListError("List index out of bounds (" + IntToStr(index) + ")");
}
}  // namespace

// ---- TList ----

void* TList::Items(int Index) const {
  if (Index < 0 || Index >= Count()) ListIndexError(Index);
  return FItems[static_cast<size_t>(Index)];
}

void TList::SetItems(int Index, void* Item) {
  if (Index < 0 || Index >= Count()) ListIndexError(Index);
  FItems[static_cast<size_t>(Index)] = Item;
}

int TList::Add(void* Item) {
  FItems.push_back(Item);
  return Count() - 1;
}

void TList::Insert(int Index, void* Item) {
  if (Index < 0 || Index > Count()) ListIndexError(Index);
  FItems.insert(FItems.begin() + Index, Item);
}

void TList::Delete(int Index) {
  if (Index < 0 || Index >= Count()) ListIndexError(Index);
  FItems.erase(FItems.begin() + Index);
}

int TList::Remove(void* Item) {
  int i = IndexOf(Item);
  if (i >= 0) Delete(i);
  return i;
}

void* TList::Extract(void* Item) { return Remove(Item) >= 0 ? Item : nullptr; }

int TList::IndexOf(const void* Item) const {
  auto it = std::find(FItems.begin(), FItems.end(), Item);
  return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

void TList::Exchange(int Index1, int Index2) {
  Items(Index1);
  Items(Index2);
  std::swap(FItems[static_cast<size_t>(Index1)], FItems[static_cast<size_t>(Index2)]);
}

void TList::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  void* p = Items(CurIndex);
  if (NewIndex < 0 || NewIndex >= Count()) ListIndexError(NewIndex);
  FItems.erase(FItems.begin() + CurIndex);
  FItems.insert(FItems.begin() + NewIndex, p);
}

void TList::Pack() { FItems.erase(std::remove(FItems.begin(), FItems.end(), nullptr), FItems.end()); }

void TList::Sort(const TListSortCompare& Compare) {
  std::stable_sort(FItems.begin(), FItems.end(), [&](void* a, void* b) { return Compare(a, b) < 0; });
}

// ---- TStrings ----

KV_IMPLEMENT_CLASS(TStrings) {}

void TStrings::Error(const String& Msg, int Data) const {
  throw EListError(Msg + " (" + IntToStr(Data) + ")");
}

void TStrings::Put(int Index, const String& S) {
  TObject* o = GetObject(Index);
  BeginUpdate();
  Delete(Index);
  InsertObject(Index, S, o);
  EndUpdate();
}

TObject* TStrings::GetObject(int) const { return nullptr; }
void TStrings::PutObject(int, TObject*) {}

void TStrings::InsertObject(int Index, const String& S, TObject* AObject) {
  Insert(Index, S);
  PutObject(Index, AObject);
}

int TStrings::Add(const String& S) {
  int i = Count();
  Insert(i, S);
  return i;
}

int TStrings::AddObject(const String& S, TObject* AObject) {
  int i = Add(S);
  PutObject(i, AObject);
  return i;
}

int TStrings::CompareStrings(const String& S1, const String& S2) const { return CompareText(S1, S2); }

int TStrings::IndexOf(const String& S) const {
  for (int i = 0; i < Count(); ++i)
    if (CompareStrings(Get(i), S) == 0) return i;
  return -1;
}

int TStrings::IndexOfObject(const TObject* AObject) const {
  for (int i = 0; i < Count(); ++i)
    if (GetObject(i) == AObject) return i;
  return -1;
}

int TStrings::IndexOfName(const String& Name) const {
  for (int i = 0; i < Count(); ++i) {
    String s = Get(i);
    size_t eq = s.find('=');
    if (eq != String::npos && CompareStrings(s.substr(0, eq), Name) == 0) return i;
  }
  return -1;
}

void TStrings::Exchange(int Index1, int Index2) {
  BeginUpdate();
  String s = Get(Index1);
  TObject* o = GetObject(Index1);
  Put(Index1, Get(Index2));
  PutObject(Index1, GetObject(Index2));
  Put(Index2, s);
  PutObject(Index2, o);
  EndUpdate();
}

void TStrings::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  BeginUpdate();
  String s = Get(CurIndex);
  TObject* o = GetObject(CurIndex);
  Delete(CurIndex);
  InsertObject(NewIndex, s, o);
  EndUpdate();
}

void TStrings::AddStrings(const TStrings* Strings) {
  if (!Strings) return;
  BeginUpdate();
  for (int i = 0; i < Strings->Count(); ++i) AddObject(Strings->Get(i), Strings->GetObject(i));
  EndUpdate();
}

void TStrings::Assign(const TPersistent* Source) {
  if (auto* src = dynamic_cast<const TStrings*>(Source)) {
    if (src == this) return;
    BeginUpdate();
    try {
      Clear();
      FDelimiter = src->FDelimiter;
      FQuoteChar = src->FQuoteChar;
      FStrictDelimiter = src->FStrictDelimiter;
      AddStrings(src);
    } catch (...) {
      EndUpdate();
      throw;
    }
    EndUpdate();
    return;
  }
  inherited::Assign(Source);
}

void TStrings::DefineProperties(TFiler& Filer) {
  Filer.DefineProperty(
      "Strings",
      [this](TReader& r) {
        BeginUpdate();
        try {
          Clear();
          r.ReadListBegin();
          while (!r.EndOfList()) Add(r.ReadString());
          r.ReadListEnd();
        } catch (...) {
          EndUpdate();
          throw;
        }
        EndUpdate();
      },
      [this](TWriter& w) {
        w.WriteListBegin();
        for (int i = 0; i < Count(); ++i) w.WriteString(Get(i));
        w.WriteListEnd();
      },
      Count() > 0);
}

bool TStrings::Equals(const TStrings* Strings) const {
  if (!Strings || Strings->Count() != Count()) return false;
  for (int i = 0; i < Count(); ++i)
    if (Get(i) != Strings->Get(i)) return false;
  return true;
}

String TStrings::Names(int Index) const {
  String s = Get(Index);
  size_t eq = s.find('=');
  return eq == String::npos ? String() : s.substr(0, eq);
}

String TStrings::ValueFromIndex(int Index) const {
  String s = Get(Index);
  size_t eq = s.find('=');
  return eq == String::npos ? String() : s.substr(eq + 1);
}

String TStrings::Values(const String& Name) const {
  int i = IndexOfName(Name);
  return i < 0 ? String() : ValueFromIndex(i);
}

void TStrings::SetValues(const String& Name, const String& Value) {
  int i = IndexOfName(Name);
  if (Value.empty()) {
    if (i >= 0) Delete(i);
  } else if (i < 0) {
    Add(Name + "=" + Value);
  } else {
    Put(i, Name + "=" + Value);
  }
}

String TStrings::Text() const {
  String r;
  for (int i = 0; i < Count(); ++i) {
    r += Get(i);
    r += '\n';
  }
  return r;
}

void TStrings::SetText(const String& Value) {
  BeginUpdate();
  try {
    Clear();
    size_t start = 0;
    for (size_t i = 0; i < Value.size(); ++i) {
      if (Value[i] == '\r' || Value[i] == '\n') {
        Add(Value.substr(start, i - start));
        if (Value[i] == '\r' && i + 1 < Value.size() && Value[i + 1] == '\n') ++i;
        start = i + 1;
      }
    }
    if (start < Value.size()) Add(Value.substr(start));
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

namespace {
String QuoteItem(const String& s, char quote) {
  String r(1, quote);
  for (char c : s) {
    if (c == quote) r += quote;
    r += c;
  }
  r += quote;
  return r;
}
}  // namespace

String TStrings::DelimitedText() const {
  String r;
  for (int i = 0; i < Count(); ++i) {
    String s = Get(i);
    bool needQuote = s.empty() && Count() == 1;
    for (char c : s) {
      unsigned char u = static_cast<unsigned char>(c);
      if (c == FQuoteChar || c == FDelimiter || (!FStrictDelimiter && u <= ' ')) needQuote = true;
    }
    if (i > 0) r += FDelimiter;
    r += needQuote ? QuoteItem(s, FQuoteChar) : s;
  }
  return r;
}

void TStrings::SetDelimitedText(const String& Value) {
  BeginUpdate();
  try {
    Clear();
    size_t i = 0, n = Value.size();
    auto isSpace = [&](char c) { return !FStrictDelimiter && static_cast<unsigned char>(c) <= ' '; };
    while (i < n && isSpace(Value[i])) ++i;
    while (i < n) {
      String item;
      if (Value[i] == FQuoteChar) {
        ++i;
        while (i < n) {
          if (Value[i] == FQuoteChar) {
            if (i + 1 < n && Value[i + 1] == FQuoteChar) {
              item += FQuoteChar;
              i += 2;
              continue;
            }
            ++i;
            break;
          }
          item += Value[i++];
        }
      } else {
        while (i < n && Value[i] != FDelimiter && !isSpace(Value[i])) item += Value[i++];
      }
      Add(item);
      while (i < n && isSpace(Value[i])) ++i;
      if (i < n && Value[i] == FDelimiter) {
        ++i;
        while (i < n && isSpace(Value[i])) ++i;
        if (i == n) Add("");
      }
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

String TStrings::CommaText() const {
  TStringList tmp;
  tmp.Assign(this);
  tmp.SetDelimiter(',');
  tmp.SetQuoteChar('"');
  tmp.SetStrictDelimiter(false);
  return tmp.DelimitedText();
}

void TStrings::SetCommaText(const String& Value) {
  char d = FDelimiter, q = FQuoteChar;
  bool strict = FStrictDelimiter;
  FDelimiter = ',';
  FQuoteChar = '"';
  FStrictDelimiter = false;
  try {
    SetDelimitedText(Value);
  } catch (...) {
    FDelimiter = d;
    FQuoteChar = q;
    FStrictDelimiter = strict;
    throw;
  }
  FDelimiter = d;
  FQuoteChar = q;
  FStrictDelimiter = strict;
}

void TStrings::BeginUpdate() {
  if (FUpdateCount++ == 0) SetUpdateState(true);
}

void TStrings::EndUpdate() {
  if (FUpdateCount <= 0) return;
  if (--FUpdateCount == 0) SetUpdateState(false);
}

// ---- TStringList ----

KV_IMPLEMENT_CLASS(TStringList) {}

TStringList::~TStringList() {
  OnChange = nullptr;
  OnChanging = nullptr;
  if (FOwnsObjects)
    for (Item& it : FList) FreeObject(it.O);
}

void TStringList::FreeObject(TObject* O) {
  if (FOwnsObjects && O) Free(O);
}

void TStringList::CheckIndex(int Index) const {
  if (Index < 0 || Index >= Count()) Error("List index out of bounds", Index);
}

void TStringList::Changing() {
  if (UpdateCount() == 0) OnChanging(this);
}

void TStringList::Changed() {
  if (UpdateCount() == 0) OnChange(this);
}

void TStringList::SetUpdateState(bool Updating) {
  if (Updating) OnChanging(this);
  else OnChange(this);
}

String TStringList::Get(int Index) const {
  CheckIndex(Index);
  return FList[static_cast<size_t>(Index)].S;
}

void TStringList::Put(int Index, const String& S) {
  if (FSorted) throw EListError("Operation not allowed on sorted list");
  CheckIndex(Index);
  Changing();
  FList[static_cast<size_t>(Index)].S = S;
  Changed();
}

TObject* TStringList::GetObject(int Index) const {
  CheckIndex(Index);
  return FList[static_cast<size_t>(Index)].O;
}

void TStringList::PutObject(int Index, TObject* AObject) {
  CheckIndex(Index);
  Changing();
  Item& it = FList[static_cast<size_t>(Index)];
  if (it.O != AObject) FreeObject(it.O);
  it.O = AObject;
  Changed();
}

void TStringList::InsertItem(int Index, const String& S, TObject* O) {
  Changing();
  FList.insert(FList.begin() + Index, Item{S, O});
  Changed();
}

void TStringList::Insert(int Index, const String& S) { InsertObject(Index, S, nullptr); }

void TStringList::InsertObject(int Index, const String& S, TObject* AObject) {
  if (FSorted) throw EListError("Operation not allowed on sorted list");
  if (Index < 0 || Index > Count()) Error("List index out of bounds", Index);
  InsertItem(Index, S, AObject);
}

int TStringList::Add(const String& S) { return AddObject(S, nullptr); }

int TStringList::AddObject(const String& S, TObject* AObject) {
  int index;
  if (!FSorted) {
    index = Count();
  } else if (Find(S, index)) {
    switch (FDuplicates) {
      case dupIgnore:
        return index;
      case dupError:
        throw EListError("String list does not allow duplicates");
      case dupAccept:
        // Place after the run of equal strings, so equal strings keep their order of adding.
        while (index < Count() && CompareStrings(FList[static_cast<size_t>(index)].S, S) == 0) ++index;
        break;
    }
  }
  InsertItem(index, S, AObject);
  return index;
}

void TStringList::Delete(int Index) {
  CheckIndex(Index);
  Changing();
  TObject* o = FList[static_cast<size_t>(Index)].O;
  FList.erase(FList.begin() + Index);
  FreeObject(o);
  Changed();
}

void TStringList::Clear() {
  if (FList.empty()) return;
  Changing();
  std::vector<Item> old;
  old.swap(FList);
  for (Item& it : old) FreeObject(it.O);
  Changed();
}

int TStringList::IndexOf(const String& S) const {
  if (!FSorted) return TStrings::IndexOf(S);
  int i;
  return Find(S, i) ? i : -1;
}

void TStringList::Exchange(int Index1, int Index2) {
  CheckIndex(Index1);
  CheckIndex(Index2);
  Changing();
  std::swap(FList[static_cast<size_t>(Index1)], FList[static_cast<size_t>(Index2)]);
  Changed();
}

void TStringList::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  if (FSorted) throw EListError("Operation not allowed on sorted list");
  CheckIndex(CurIndex);
  CheckIndex(NewIndex);
  Changing();
  Item it = FList[static_cast<size_t>(CurIndex)];
  FList.erase(FList.begin() + CurIndex);
  FList.insert(FList.begin() + NewIndex, it);
  Changed();
}

int TStringList::CompareStrings(const String& S1, const String& S2) const {
  return FCaseSensitive ? CompareStr(S1, S2) : CompareText(S1, S2);
}

bool TStringList::Find(const String& S, int& Index) const {
  // Lower bound: the first position whose string is not less than S.
  int lo = 0, hi = Count();
  while (lo < hi) {
    int mid = (lo + hi) / 2;
    if (CompareStrings(FList[static_cast<size_t>(mid)].S, S) < 0) lo = mid + 1;
    else hi = mid;
  }
  Index = lo;
  return lo < Count() && CompareStrings(FList[static_cast<size_t>(lo)].S, S) == 0;
}

void TStringList::Sort() {
  CustomSort([](TStringList* list, int a, int b) {
    return list->CompareStrings(list->FList[static_cast<size_t>(a)].S, list->FList[static_cast<size_t>(b)].S);
  });
}

void TStringList::CustomSort(const TStringListSortCompare& Compare) {
  if (FList.size() < 2) return;
  Changing();
  // Sort a permutation (the comparison works on indexes), then apply it; stable for ties.
  std::vector<int> order(FList.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return Compare(this, a, b) < 0; });
  std::vector<Item> sorted;
  sorted.reserve(FList.size());
  for (int i : order) sorted.push_back(std::move(FList[static_cast<size_t>(i)]));
  FList = std::move(sorted);
  Changed();
}

void TStringList::SetSorted(bool Value) {
  if (FSorted == Value) return;
  if (Value) Sort();
  FSorted = Value;
}

void TStringList::SetCaseSensitive(bool Value) {
  if (FCaseSensitive == Value) return;
  FCaseSensitive = Value;
  if (FSorted) Sort();
}
