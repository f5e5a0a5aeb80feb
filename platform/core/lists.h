#pragma once
// TList (a list of pointers with sort) and TStrings/TStringList (strings with objects).
#include <functional>
#include <vector>

#include "platform/core/enums.h"
#include "platform/core/events.h"
#include "platform/core/object.h"

class TList {
public:
  using TListSortCompare = std::function<int(void*, void*)>;
  int Count() const { return static_cast<int>(FItems.size()); }
  void* Items(int Index) const;
  void SetItems(int Index, void* Item);
  int Add(void* Item);
  void Insert(int Index, void* Item);
  void Delete(int Index);
  int Remove(void* Item);  // index it had, or -1
  void* Extract(void* Item);
  int IndexOf(const void* Item) const;
  void Clear() { FItems.clear(); }
  void Exchange(int Index1, int Index2);
  void Move(int CurIndex, int NewIndex);
  void* First() const { return Items(0); }
  void* Last() const { return Items(Count() - 1); }
  // Removes null entries.
  void Pack();
  // Stable sort by Compare (negative: first before second).
  void Sort(const TListSortCompare& Compare);
  const std::vector<void*>& List() const { return FItems; }

private:
  std::vector<void*> FItems;
};

KV_ENUM(TDuplicates, dupIgnore, dupAccept, dupError)

class TStrings : public TPersistent {
  KV_CLASS(TStrings, TPersistent)
public:
  virtual int Count() const = 0;
  virtual String Get(int Index) const = 0;
  virtual void Put(int Index, const String& S);
  virtual TObject* GetObject(int Index) const;
  virtual void PutObject(int Index, TObject* AObject);
  virtual void Insert(int Index, const String& S) = 0;
  virtual void InsertObject(int Index, const String& S, TObject* AObject);
  virtual void Delete(int Index) = 0;
  virtual void Clear() = 0;
  virtual int Add(const String& S);
  virtual int AddObject(const String& S, TObject* AObject);
  virtual int IndexOf(const String& S) const;
  int IndexOfObject(const TObject* AObject) const;
  int IndexOfName(const String& Name) const;
  virtual void Exchange(int Index1, int Index2);
  virtual void Move(int CurIndex, int NewIndex);
  void AddStrings(const TStrings* Strings);
  void Assign(const TPersistent* Source) override;
  bool Equals(const TStrings* Strings) const;
  // Form descriptions store the lines as "Strings = ('one' 'two')".
  void DefineProperties(TFiler& Filer) override;

  String Strings(int Index) const { return Get(Index); }
  TObject* Objects(int Index) const { return GetObject(Index); }

  // Name=Value pairs.
  String Names(int Index) const;
  String ValueFromIndex(int Index) const;
  String Values(const String& Name) const;
  void SetValues(const String& Name, const String& Value);

  // Lines joined with a line feed after each; setting splits at CR, LF or CR LF.
  virtual String Text() const;
  virtual void SetText(const String& Value);
  // Comma-separated, items holding blanks, commas or quotes written in double quotes.
  String CommaText() const;
  void SetCommaText(const String& Value);
  String DelimitedText() const;
  void SetDelimitedText(const String& Value);
  char Delimiter() const { return FDelimiter; }
  void SetDelimiter(char Value) { FDelimiter = Value; }
  char QuoteChar() const { return FQuoteChar; }
  void SetQuoteChar(char Value) { FQuoteChar = Value; }
  bool StrictDelimiter() const { return FStrictDelimiter; }
  void SetStrictDelimiter(bool Value) { FStrictDelimiter = Value; }

  // Nested; the first BeginUpdate announces a change to come, the last EndUpdate reports it.
  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }

protected:
  virtual void SetUpdateState(bool Updating) { (void)Updating; }
  virtual int CompareStrings(const String& S1, const String& S2) const;
  [[noreturn]] void Error(const String& Msg, int Data) const;

private:
  int FUpdateCount = 0;
  char FDelimiter = ',';
  char FQuoteChar = '"';
  bool FStrictDelimiter = false;
};

class TStringList : public TStrings {
  KV_CLASS(TStringList, TStrings)
public:
  using TStringListSortCompare = std::function<int(TStringList*, int, int)>;
  TStringList() = default;
  explicit TStringList(bool OwnsObjects) : FOwnsObjects(OwnsObjects) {}
  ~TStringList() override;

  int Count() const override { return static_cast<int>(FList.size()); }
  String Get(int Index) const override;
  void Put(int Index, const String& S) override;
  TObject* GetObject(int Index) const override;
  void PutObject(int Index, TObject* AObject) override;
  void Insert(int Index, const String& S) override;
  void InsertObject(int Index, const String& S, TObject* AObject) override;
  void Delete(int Index) override;
  void Clear() override;
  int Add(const String& S) override;
  int AddObject(const String& S, TObject* AObject) override;
  int IndexOf(const String& S) const override;
  void Exchange(int Index1, int Index2) override;
  void Move(int CurIndex, int NewIndex) override;

  // Binary search in a sorted list: true and the index when found, else the insert position.
  bool Find(const String& S, int& Index) const;
  virtual void Sort();
  void CustomSort(const TStringListSortCompare& Compare);

  bool Sorted() const { return FSorted; }
  void SetSorted(bool Value);
  TDuplicates Duplicates() const { return FDuplicates; }
  void SetDuplicates(TDuplicates Value) { FDuplicates = Value; }
  bool CaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool Value);
  bool OwnsObjects() const { return FOwnsObjects; }
  void SetOwnsObjects(bool Value) { FOwnsObjects = Value; }

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

protected:
  void SetUpdateState(bool Updating) override;
  int CompareStrings(const String& S1, const String& S2) const override;
  virtual void Changed();
  virtual void Changing();

private:
  struct Item {
    String S;
    TObject* O = nullptr;
  };
  void CheckIndex(int Index) const;
  void InsertItem(int Index, const String& S, TObject* O);
  void FreeObject(TObject* O);
  std::vector<Item> FList;
  bool FSorted = false;
  bool FCaseSensitive = false;
  bool FOwnsObjects = false;
  TDuplicates FDuplicates = dupIgnore;
};
