#include "platform/core/classes.h"

#include <algorithm>
#include <map>
#include <mutex>

namespace {
struct ClassRegistry {
  std::mutex lock;
  std::map<String, const TClassInfo*, std::less<>> byName;  // keys upper-cased
};
ClassRegistry& Registry() {
  static ClassRegistry r;
  return r;
}

const char* KindName(TTypeKind k) {
  switch (k) {
    case tkInteger: return "an integer";
    case tkFloat: return "a number";
    case tkBool: return "a Boolean";
    case tkEnum: return "an enumeration value";
    case tkSet: return "a set";
    case tkString: return "a string";
    case tkColor: return "a colour";
    case tkClass: return "an object";
    case tkComponent: return "a component";
    case tkMethod: return "an event handler";
  }
  return "a value";
}
}  // namespace

TClassInfo::TClassInfo(const char* name, const TClassInfo* parent, TComponentFactory factory, TRegisterFn reg)
    : FName(name), FParent(parent), FFactory(factory) {
  if (reg) reg(*this);
}

bool TClassInfo::InheritsFrom(const TClassInfo& other) const {
  for (const TClassInfo* c = this; c; c = c->FParent)
    if (c == &other) return true;
  return false;
}

const TPropInfo* TClassInfo::FindProperty(std::string_view name) const {
  for (const TClassInfo* c = this; c; c = c->FParent)
    for (const TPropInfo& p : c->FProps)
      if (SameText(p.Name, name)) return &p;
  return nullptr;
}

std::vector<const TPropInfo*> TClassInfo::Properties() const {
  std::vector<const TClassInfo*> chain;
  for (const TClassInfo* c = this; c; c = c->FParent) chain.push_back(c);
  std::vector<const TPropInfo*> out;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it)
    for (const TPropInfo& p : (*it)->FProps) {
      // A class may re-register a property of its base (to publish it or change its default).
      auto same = std::find_if(out.begin(), out.end(), [&](const TPropInfo* q) { return SameText(q->Name, p.Name); });
      if (same != out.end()) *same = &p;
      else out.push_back(&p);
    }
  return out;
}

const TMethodInfo* TClassInfo::FindMethod(std::string_view name) const {
  for (const TClassInfo* c = this; c; c = c->FParent)
    for (const TMethodInfo& m : c->FMethods)
      if (SameText(m.Name, name)) return &m;
  return nullptr;
}

const TMethodInfo* TClassInfo::FindMethodOf(const std::any& event, TObject* object) const {
  if (!event.has_value()) return nullptr;
  for (const TClassInfo* c = this; c; c = c->FParent)
    for (const TMethodInfo& m : c->FMethods)
      if (m.Signature == event.type() && m.Matches(event, object)) return &m;
  return nullptr;
}

void TClassInfo::AddProperty(TPropInfo info) {
  // Re-registration within one class replaces the earlier entry.
  for (TPropInfo& p : FProps)
    if (SameText(p.Name, info.Name)) {
      p = std::move(info);
      return;
    }
  FProps.push_back(std::move(info));
}

void TClassInfo::AddMethod(TMethodInfo info) { FMethods.push_back(std::move(info)); }

void TClassInfo::AddField(TFieldInfo info) {
  for (TFieldInfo& f : FFields)
    if (SameText(f.Name, info.Name)) {
      f = std::move(info);
      return;
    }
  FFields.push_back(std::move(info));
}

void TClassInfo::SetStored(std::string_view name, std::function<bool(const TObject*)> stored) {
  for (TPropInfo& p : FProps)
    if (SameText(p.Name, name)) {
      p.Stored = std::move(stored);
      return;
    }
  throw EPropertyError("Property '" + String(name) + "' is not registered by class " + FName);
}

const TFieldInfo* TClassInfo::FindField(std::string_view name) const {
  for (const TClassInfo* c = this; c; c = c->FParent)
    for (const TFieldInfo& f : c->FFields)
      if (SameText(f.Name, name)) return &f;
  return nullptr;
}

void TClassInfo::ForEachField(const std::function<void(const TFieldInfo&)>& fn) const {
  for (const TClassInfo* c = this; c; c = c->FParent)
    for (const TFieldInfo& f : c->FFields) fn(f);
}

bool IdentToInt(const TIdentMap& map, std::string_view name, int64_t* value) {
  for (const TIdentMapEntry& e : map)
    if (SameText(e.Name, name)) {
      *value = e.Value;
      return true;
    }
  return false;
}

const char* IntToIdent(const TIdentMap& map, int64_t value) {
  for (const TIdentMapEntry& e : map)
    if (e.Value == value) return e.Name;
  return nullptr;
}

void RegisterClass(const TClassInfo& cls) {
  auto& r = Registry();
  std::lock_guard<std::mutex> g(r.lock);
  r.byName[UpperCase(cls.Name())] = &cls;
}

const TClassInfo* FindClass(std::string_view name) {
  auto& r = Registry();
  std::lock_guard<std::mutex> g(r.lock);
  auto it = r.byName.find(UpperCase(name));
  return it == r.byName.end() ? nullptr : it->second;
}

std::vector<const TClassInfo*> RegisteredClasses() {
  auto& r = Registry();
  std::lock_guard<std::mutex> g(r.lock);
  std::vector<const TClassInfo*> out;
  out.reserve(r.byName.size());
  for (const auto& [name, cls] : r.byName) out.push_back(cls);
  return out;
}

const TClassInfo& GetClass(std::string_view name) {
  const TClassInfo* c = FindClass(name);
  if (!c) throw EReadError("Class " + String(name) + " not found");
  return *c;
}

namespace detail {
void KindError(const TPropInfo& p, const TValue& v) {
  throw EPropertyError("Invalid property value: property '" + p.Name + "' takes " + KindName(p.Kind) +
                       ", not " + KindName(v.Kind));
}
void RangeError(const TPropInfo& p, int64_t v) {
  String range;
  if (p.Kind == tkInteger) range = " (" + IntToStr(p.MinValue) + ".." + IntToStr(p.MaxValue) + ")";
  else if (p.Enum) range = " (not a value of " + p.Enum->TypeName() + ")";
  throw EPropertyError("Value " + IntToStr(v) + " is out of range for property '" + p.Name + "'" + range);
}
}  // namespace detail

const TPropInfo& FindPropInfo(const TObject* object, std::string_view path, const TObject** target) {
  if (!object) throw EPropertyError("No object for property '" + String(path) + "'");
  const TObject* cur = object;
  size_t start = 0;
  while (true) {
    size_t dot = path.find('.', start);
    std::string_view part = path.substr(start, dot == std::string_view::npos ? std::string_view::npos : dot - start);
    const TPropInfo* p = cur->ClassType().FindProperty(part);
    if (!p)
      throw EPropertyError("Property '" + String(part) + "' does not exist in class " + cur->ClassName());
    if (dot == std::string_view::npos) {
      if (target) *target = cur;
      return *p;
    }
    if (p->Kind != tkClass && p->Kind != tkComponent)
      throw EPropertyError("Property '" + String(part) + "' of class " + cur->ClassName() + " has no properties");
    TValue v = p->Get(cur);
    if (!v.Object)
      throw EPropertyError("Property '" + String(part) + "' of class " + cur->ClassName() + " is not set");
    cur = v.Object;
    start = dot + 1;
  }
}

TValue GetPropValue(const TObject* object, std::string_view path) {
  const TObject* target;
  const TPropInfo& p = FindPropInfo(object, path, &target);
  return p.Get(target);
}

void SetPropValue(TObject* object, std::string_view path, const TValue& value) {
  const TObject* target;
  const TPropInfo& p = FindPropInfo(object, path, &target);
  if (p.ReadOnly()) throw EPropertyError("Property '" + p.Name + "' is read-only");
  p.Set(const_cast<TObject*>(target), value);
}

TValue ParsePropValue(const TPropInfo& p, const String& text) {
  String t = Trim(text);
  switch (p.Kind) {
    case tkInteger: {
      int64_t v;
      if (p.Idents && IdentToInt(*p.Idents, t, &v)) return TValue::Int(v);
      try {
        v = StrToInt64(t);
      } catch (const EConvertError&) {
        throw EPropertyError("Invalid property value '" + text + "' for property '" + p.Name + "': not an integer");
      }
      if (v < p.MinValue || v > p.MaxValue) detail::RangeError(p, v);
      return TValue::Int(v);
    }
    case tkFloat: {
      double v;
      if (!TryStrToFloat(t, v))
        throw EPropertyError("Invalid property value '" + text + "' for property '" + p.Name + "': not a number");
      return TValue::Real(v);
    }
    case tkBool:
      if (SameText(t, "True")) return TValue::Bool(true);
      if (SameText(t, "False")) return TValue::Bool(false);
      throw EPropertyError("Invalid property value '" + text + "' for property '" + p.Name + "': not True or False");
    case tkEnum: {
      int i = p.Enum->IndexOf(t);
      if (i < 0)
        throw EPropertyError("Invalid property value '" + text + "' for property '" + p.Name + "': not a value of " +
                             p.Enum->TypeName());
      return TValue::Enum(i);
    }
    case tkSet: {
      if (t.size() < 2 || t.front() != '[' || t.back() != ']')
        throw EPropertyError("Invalid property value '" + text + "' for property '" + p.Name + "': sets are written [a, b]");
      uint64_t bits = 0;
      String inner = Trim(t.substr(1, t.size() - 2));
      if (!inner.empty())
        for (const String& part : SplitString(inner, ',')) {
          int i = p.Enum->IndexOf(Trim(part));
          if (i < 0)
            throw EPropertyError("Invalid property value '" + text + "' for property '" + p.Name + "': '" +
                                 Trim(part) + "' is not a value of " + p.Enum->TypeName());
          bits |= 1ull << i;
        }
      return TValue::SetBits(bits);
    }
    case tkString:
      return TValue::Text(text);
    case tkColor:
      try {
        return TValue::ColorValue(StringToColor(t));
      } catch (const EConvertError&) {
        throw EPropertyError("Invalid property value '" + text + "' for property '" + p.Name + "': not a colour");
      }
    case tkClass:
    case tkComponent:
    case tkMethod:
      break;
  }
  throw EPropertyError("Property '" + p.Name + "' cannot be written as text");
}

String FormatPropValue(const TPropInfo& p, const TValue& v) {
  switch (p.Kind) {
    case tkInteger:
      if (p.Idents)
        if (const char* name = IntToIdent(*p.Idents, v.Ordinal)) return name;
      return IntToStr(v.Ordinal);
    case tkFloat: return FloatToStr(v.Float);
    case tkBool: return v.Ordinal ? "True" : "False";
    case tkEnum: return p.Enum->Name(static_cast<int>(v.Ordinal));
    case tkSet: {
      String r = "[";
      for (int i = 0; i < p.Enum->Count(); ++i)
        if (static_cast<uint64_t>(v.Ordinal) & (1ull << i)) {
          if (r.size() > 1) r += ", ";
          r += p.Enum->Name(i);
        }
      return r + "]";
    }
    case tkString: return v.Str;
    case tkColor: return ColorToString(static_cast<TColor>(v.Ordinal));
    case tkClass: return v.Object ? v.Object->ClassName() : String("nil");
    case tkComponent: {
      auto* c = dynamic_cast<TComponent*>(v.Object);
      return c ? c->Name() : String("nil");
    }
    case tkMethod: return String();
  }
  return String();
}

String GetPropText(const TObject* object, std::string_view path) {
  const TObject* target;
  const TPropInfo& p = FindPropInfo(object, path, &target);
  return FormatPropValue(p, p.Get(target));
}

void SetPropText(TObject* object, std::string_view path, const String& text) {
  const TObject* target;
  const TPropInfo& p = FindPropInfo(object, path, &target);
  if (p.ReadOnly()) throw EPropertyError("Property '" + p.Name + "' is read-only");
  TObject* t = const_cast<TObject*>(target);
  String name = Trim(text);
  if (p.Kind == tkComponent) {
    TComponent* found = nullptr;
    if (!name.empty() && !SameText(name, "nil")) {
      auto* self = dynamic_cast<TComponent*>(t);
      TComponent* root = self ? (self->Owner() ? self->Owner() : self) : nullptr;
      found = root ? (SameText(root->Name(), name) ? root : root->FindComponent(name)) : nullptr;
      if (!found) throw EPropertyError("Invalid property value '" + text + "' for property '" + p.Name + "': no component of that name");
    }
    p.Set(t, TValue::Obj(found));
    return;
  }
  if (p.Kind == tkMethod) {
    if (name.empty() || SameText(name, "nil")) {
      p.Set(t, TValue::Event(std::any()));
      return;
    }
    auto* self = dynamic_cast<TComponent*>(t);
    TComponent* root = self ? (self->Owner() ? self->Owner() : self) : nullptr;
    const TMethodInfo* m = root ? root->ClassType().FindMethod(name) : nullptr;
    if (!m) throw EPropertyError("Invalid property value '" + text + "' for property '" + p.Name + "': no published method of that name");
    if (m->Signature != p.Signature)
      throw EPropertyError("Method " + name + " has the wrong signature for event '" + p.Name + "'");
    p.Set(t, TValue::Event(m->Bind(root)));
    return;
  }
  p.Set(t, ParsePropValue(p, text));
}
