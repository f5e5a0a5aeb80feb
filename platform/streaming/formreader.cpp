#include "platform/streaming/formreader.h"

#include <algorithm>
#include <vector>

#include "platform/core/classes.h"
#include "platform/core/filer.h"
#include "platform/streaming/formlexer.h"

namespace {

// Finds the reader callback of a value a persistent object announces in DefineProperties.
class TFindFiler : public TFiler {
public:
  explicit TFindFiler(const String& name) : FName(name) {}
  void DefineProperty(const String& Name, TReaderProc ReadData, TWriterProc, bool) override {
    if (!FFound && SameText(Name, FName)) FFound = std::move(ReadData);
  }
  TReaderProc FFound;

private:
  String FName;
};

class TFormReader : public TReader {
public:
  TFormReader(std::string_view text, TComponent* root) : FLex(text), FRoot(root) {}

  void Read() {
    try {
      ReadRoot();
      ResolveFixups();
    } catch (...) {
      Cleanup();
      throw;
    }
    for (TComponent* c : FLoaded) c->Loaded();
  }

  // ---- TReader over the token stream ----
  TValueType NextValue() override {
    const TFormTokenValue& t = FLex.Peek();
    switch (t.Kind) {
      case TFormToken::Integer: return vaInt;
      case TFormToken::Float: return vaExtended;
      case TFormToken::String: return vaString;
      case TFormToken::Binary: return vaBinary;
      case TFormToken::Ident:
        if (SameText(t.Text, "True")) return vaTrue;
        if (SameText(t.Text, "False")) return vaFalse;
        if (SameText(t.Text, "nil")) return vaNil;
        return vaIdent;
      case TFormToken::Symbol:
        if (t.Text == "(") return vaList;
        if (t.Text == "[") return vaSet;
        if (t.Text == "<") return vaCollection;
        return vaNull;
      case TFormToken::End: return vaNull;
    }
    return vaNull;
  }
  int64_t ReadInteger() override {
    if (FLex.Peek().Kind != TFormToken::Integer) FLex.Error("integer expected");
    return FLex.Next().Integer;
  }
  double ReadFloat() override {
    if (FLex.Peek().Kind == TFormToken::Integer) return static_cast<double>(FLex.Next().Integer);
    if (FLex.Peek().Kind != TFormToken::Float) FLex.Error("number expected");
    return FLex.Next().Float;
  }
  String ReadString() override {
    if (FLex.Peek().Kind != TFormToken::String) FLex.Error("string expected");
    return FLex.Next().Text;
  }
  bool ReadBoolean() override {
    if (FLex.IsIdent("True")) { FLex.Next(); return true; }
    if (FLex.IsIdent("False")) { FLex.Next(); return false; }
    FLex.Error("True or False expected");
  }
  String ReadIdent() override {
    if (FLex.Peek().Kind != TFormToken::Ident) FLex.Error("identifier expected");
    return FLex.Next().Text;
  }
  std::vector<uint8_t> ReadBinary() override {
    if (FLex.Peek().Kind != TFormToken::Binary) FLex.Error("binary data expected");
    return FLex.Next().Binary;
  }
  void ReadListBegin() override { Expect('(', "'(' expected"); }
  bool EndOfList() override {
    if (FLex.Peek().Kind == TFormToken::End) FLex.Error("')' expected");
    return FLex.IsSymbol(')');
  }
  void ReadListEnd() override { Expect(')', "')' expected"); }
  void Error(const String& Message) override { FLex.Error(Message); }

private:
  struct Fixup {
    TObject* Object;
    const TPropInfo* Prop;
    String Name;
    TFormTokenValue At;
  };

  void Expect(char c, const char* message) {
    if (!FLex.IsSymbol(c)) FLex.Error(message);
    FLex.Next();
  }

  bool AtObjectStart() const { return FLex.IsIdent("object") || FLex.IsIdent("inherited") || FLex.IsIdent("inline"); }

  // "object Name: TClass" -> name and class tokens. Returns whether the block describes a
  // component that already exists ("inherited" or "inline") rather than a new one.
  bool ReadHeader(TFormTokenValue& name, TFormTokenValue& cls) {
    if (!AtObjectStart()) FLex.Error("'object' expected");
    bool existing = !FLex.IsIdent("object");
    FLex.Next();
    if (FLex.Peek().Kind != TFormToken::Ident) FLex.Error("component name expected");
    name = FLex.Next();
    if (FLex.IsSymbol(':')) {
      FLex.Next();
      if (FLex.Peek().Kind != TFormToken::Ident) FLex.Error("class name expected");
      cls = FLex.Next();
    } else {
      // "object TClass" without a name.
      cls = name;
      name.Text.clear();
    }
    return existing;
  }

  void ReadRoot() {
    TFormTokenValue name, cls;
    ReadHeader(name, cls);
    if (!SameText(cls.Text, FRoot->ClassName()))
      FLex.ErrorAt(cls, "the description is for a " + cls.Text + ", not a " + FRoot->ClassName());
    FRoot->BeginLoading();
    FLoaded.push_back(FRoot);
    if (FRoot->Name().empty() && !name.Text.empty()) Guard(name, [&] { FRoot->SetName(name.Text); });
    ReadBody(FRoot);
    if (FLex.Peek().Kind != TFormToken::End) FLex.Error("text after the end of the description");
  }

  // Properties, then nested components, then "end".
  void ReadBody(TComponent* c) {
    while (!FLex.IsIdent("end") && !AtObjectStart()) ReadProperty(c);
    while (AtObjectStart()) ReadChild(c);
    if (!FLex.IsIdent("end")) FLex.Error("'end' expected");
    FLex.Next();
  }

  void ReadChild(TComponent* parent) {
    TFormTokenValue name, cls;
    bool existing = ReadHeader(name, cls);
    TComponent* c = existing && !name.Text.empty() ? FRoot->FindComponent(name.Text) : nullptr;
    if (c && !SameText(c->ClassName(), cls.Text))
      FLex.ErrorAt(cls, "component " + name.Text + " is a " + c->ClassName() + ", not a " + cls.Text);
    if (!c) {
      const TClassInfo* info = FindClass(cls.Text);
      if (!info) FLex.ErrorAt(cls, "class " + cls.Text + " not found");
      if (!info->Factory()) FLex.ErrorAt(cls, "class " + cls.Text + " cannot be created from a form description");
      c = info->Factory()(FRoot);
      FCreated.push_back(c);
      c->BeginLoading();
      if (!name.Text.empty()) Guard(name, [&] { c->SetName(name.Text); });
    } else {
      c->BeginLoading();
    }
    FLoaded.push_back(c);
    // A published field of the root with the component's name points to it.
    if (!name.Text.empty() && c->Owner() == FRoot)
      if (const TFieldInfo* f = FRoot->ClassType().FindField(name.Text)) Guard(name, [&] { f->Set(FRoot, c); });
    Guard(name, [&] { c->SetParentComponent(parent); });
    ReadBody(c);
  }

  template <class F>
  void Guard(const TFormTokenValue& at, F f) {
    try {
      f();
    } catch (const EReadError&) {
      throw;
    } catch (const std::exception& e) {
      FLex.ErrorAt(at, e.what());
    }
  }

  void ReadProperty(TObject* obj) {
    if (FLex.Peek().Kind != TFormToken::Ident) FLex.Error("property name expected");
    TFormTokenValue nameTok = FLex.Next();
    Expect('=', "'=' expected");
    // Walk the dotted path through sub-objects.
    std::vector<String> parts = SplitString(nameTok.Text, '.');
    TObject* target = obj;
    for (size_t i = 0; i + 1 < parts.size(); ++i) {
      const TPropInfo* p = target->ClassType().FindProperty(parts[i]);
      if (!p || (p->Kind != tkClass && p->Kind != tkComponent))
        FLex.ErrorAt(nameTok, "property '" + parts[i] + "' does not exist in class " + target->ClassName());
      TObject* sub = p->Get(target).Object;
      if (!sub) FLex.ErrorAt(nameTok, "property '" + parts[i] + "' of class " + target->ClassName() + " is not set");
      target = sub;
    }
    const String& last = parts.back();
    if (const TPropInfo* p = target->ClassType().FindProperty(last)) {
      ReadPublished(target, *p, nameTok);
      return;
    }
    if (auto* persistent = dynamic_cast<TPersistent*>(target)) {
      TFindFiler filer(last);
      persistent->DefineProperties(filer);
      if (filer.FFound) {
        Guard(nameTok, [&] { filer.FFound(*this); });
        return;
      }
    }
    FLex.ErrorAt(nameTok, "property '" + last + "' does not exist in class " + target->ClassName());
  }

  void ReadPublished(TObject* target, const TPropInfo& p, const TFormTokenValue& nameTok) {
    if (p.Kind == tkClass) {
      auto* coll = dynamic_cast<TCollection*>(p.Get(target).Object);
      if (!coll || !FLex.IsSymbol('<'))
        FLex.Error("property '" + p.Name + "' is an object: write its properties as " + p.Name + ".Name = value");
      ReadCollection(coll);
      return;
    }
    if (p.ReadOnly()) FLex.ErrorAt(nameTok, "property '" + p.Name + "' is read-only");
    TFormTokenValue at = FLex.Peek();
    TValue v;
    switch (p.Kind) {
      case tkInteger:
        if (p.Idents && FLex.Peek().Kind == TFormToken::Ident) {
          String id = ReadIdent();
          int64_t n;
          if (!IdentToInt(*p.Idents, id, &n)) FLex.ErrorAt(at, "'" + id + "' is not a value of property '" + p.Name + "'");
          v = TValue::Int(n);
        } else {
          v = TValue::Int(ReadInteger());
        }
        break;
      case tkFloat:
        v = TValue::Real(ReadFloat());
        break;
      case tkBool:
        v = TValue::Bool(ReadBoolean());
        break;
      case tkString:
        v = TValue::Text(ReadString());
        break;
      case tkEnum: {
        String id = ReadIdent();
        int i = p.Enum->IndexOf(id);
        if (i < 0) FLex.ErrorAt(at, "'" + id + "' is not a value of " + p.Enum->TypeName());
        v = TValue::Enum(i);
        break;
      }
      case tkSet: {
        Expect('[', "'[' expected");
        uint64_t bits = 0;
        while (!FLex.IsSymbol(']')) {
          TFormTokenValue el = FLex.Peek();
          String id = ReadIdent();
          int i = p.Enum->IndexOf(id);
          if (i < 0) FLex.ErrorAt(el, "'" + id + "' is not a value of " + p.Enum->TypeName());
          bits |= 1ull << i;
          if (FLex.IsSymbol(',')) FLex.Next();
          else if (!FLex.IsSymbol(']')) FLex.Error("',' or ']' expected");
        }
        FLex.Next();
        v = TValue::SetBits(bits);
        break;
      }
      case tkColor:
        if (FLex.Peek().Kind == TFormToken::Integer) {
          v = TValue::ColorValue(static_cast<TColor>(ReadInteger()));
        } else {
          String id = ReadIdent();
          auto c = IdentToColor(id);
          if (!c) FLex.ErrorAt(at, "'" + id + "' is not a colour");
          v = TValue::ColorValue(*c);
        }
        break;
      case tkComponent:
        if (FLex.IsIdent("nil")) {
          FLex.Next();
          v = TValue::Obj(nullptr);
          break;
        }
        FFixups.push_back({target, &p, ReadIdent(), at});
        return;
      case tkMethod: {
        String id = ReadIdent();
        const TMethodInfo* m = FRoot->ClassType().FindMethod(id);
        if (!m) FLex.ErrorAt(at, "method " + id + " is not a published method of " + FRoot->ClassName());
        if (m->Signature != p.Signature)
          FLex.ErrorAt(at, "method " + id + " has the wrong signature for event '" + p.Name + "'");
        v = TValue::Event(m->Bind(FRoot));
        break;
      }
      case tkClass:
        break;
    }
    Guard(nameTok, [&] { p.Set(target, v); });
  }

  void ReadCollection(TCollection* coll) {
    Expect('<', "'<' expected");
    coll->BeginUpdate();
    try {
      coll->Clear();
      while (!FLex.IsSymbol('>')) {
        if (!FLex.IsIdent("item")) FLex.Error("'item' or '>' expected");
        TFormTokenValue itemTok = FLex.Next();
        TCollectionItem* item = nullptr;
        Guard(itemTok, [&] { item = coll->Add(); });
        while (!FLex.IsIdent("end")) ReadProperty(item);
        FLex.Next();
      }
      FLex.Next();
    } catch (...) {
      coll->EndUpdate();
      throw;
    }
    coll->EndUpdate();
  }

  TComponent* Resolve(const String& path) const {
    std::vector<String> parts = SplitString(path, '.');
    TComponent* c = nullptr;
    size_t i = 0;
    if (SameText(parts[0], FRoot->Name())) {
      c = FRoot;
      i = 1;
    } else if (TComponent* own = FRoot->FindComponent(parts[0])) {
      c = own;
      i = 1;
    } else if (TComponent* global = FindGlobalRoot(parts[0])) {
      c = global;
      i = 1;
    }
    if (!c) return nullptr;
    for (; i < parts.size() && c; ++i) c = c->FindComponent(parts[i]);
    return c;
  }

  void ResolveFixups() {
    for (const Fixup& f : FFixups) {
      TComponent* c = Resolve(f.Name);
      if (!c) FLex.ErrorAt(f.At, "invalid reference '" + f.Name + "' for property '" + f.Prop->Name + "'");
      Guard(f.At, [&] { f.Prop->Set(f.Object, TValue::Obj(c)); });
    }
  }

  void Cleanup() {
    for (auto it = FCreated.rbegin(); it != FCreated.rend(); ++it) Free(*it);
    FRoot->CancelLoading();
    for (TComponent* c : FLoaded)
      if (std::find(FCreated.begin(), FCreated.end(), c) == FCreated.end()) c->CancelLoading();
  }

  TFormLexer FLex;
  TComponent* FRoot;
  std::vector<TComponent*> FLoaded;
  std::vector<TComponent*> FCreated;
  std::vector<Fixup> FFixups;
};

// Keeps the registered roots and forgets each one when it is freed.
class TGlobalRoots : public TComponent {
public:
  TGlobalRoots() : TComponent(nullptr) {}
  void Add(TComponent* c) {
    if (std::find(FRoots.begin(), FRoots.end(), c) != FRoots.end()) return;
    FRoots.push_back(c);
    c->FreeNotification(this);
  }
  void Remove(TComponent* c) {
    FRoots.erase(std::remove(FRoots.begin(), FRoots.end(), c), FRoots.end());
    c->RemoveFreeNotification(this);
  }
  TComponent* Find(std::string_view name) const {
    for (TComponent* c : FRoots)
      if (SameText(c->Name(), name)) return c;
    return nullptr;
  }

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove) FRoots.erase(std::remove(FRoots.begin(), FRoots.end(), AComponent), FRoots.end());
  }

private:
  std::vector<TComponent*> FRoots;
};

TGlobalRoots& GlobalRoots() {
  static TGlobalRoots* roots = new TGlobalRoots();  // lives for the whole program
  return *roots;
}
}  // namespace

void ReadComponentFromText(TComponent* Root, std::string_view text) {
  if (!Root) throw EReadError("no component to read into");
  TFormReader reader(text, Root);
  reader.Read();
}

void RegisterGlobalRoot(TComponent* Root) {
  if (Root) GlobalRoots().Add(Root);
}
void UnregisterGlobalRoot(TComponent* Root) {
  if (Root) GlobalRoots().Remove(Root);
}
TComponent* FindGlobalRoot(std::string_view name) { return GlobalRoots().Find(name); }
