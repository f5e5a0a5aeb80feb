#pragma once
// Class information and the registry of published properties.
//
// Each class records, where it is defined, its published properties:
//
//   KV_IMPLEMENT_CLASS(TkvPanel) {
//     r.Prop("StyleKind", &TkvPanel::StyleKind, &TkvPanel::SetStyleKind, kvpsPanel);
//     r.Color("Color", &TkvPanel::Color, &TkvPanel::SetColor, clBtnFace);
//     r.Event("OnClick", &TkvPanel::OnClick);
//   }
//
// The kind of a property follows from its C++ type: integers, Boolean, named enumerations
// (KV_ENUM), sets of them, strings, floating point, pointers to components (references to other
// components), pointers to other persistent objects (owned settings objects such as fonts and
// collections, written through Assign) and events. Colours are integers written by name, so
// they are registered with Color().
//
// Properties are found by name through the class hierarchy, case-insensitively, and read and
// written as TValue or as text, with EPropertyError for an unknown name, a read-only property,
// a value of the wrong kind or one out of range.
#include <any>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <typeindex>
#include <vector>

#include "platform/core/collection.h"
#include "platform/core/color.h"
#include "platform/core/component.h"
#include "platform/core/enums.h"
#include "platform/core/events.h"
#include "platform/core/exceptions.h"
#include "platform/core/object.h"

KV_ENUM(TTypeKind, tkInteger, tkFloat, tkBool, tkEnum, tkSet, tkString, tkColor, tkClass,
        tkComponent, tkMethod)

// A property value. Ordinal kinds (integer, Boolean, enumeration, set bits, colour) use Ordinal.
struct TValue {
  TTypeKind Kind = tkInteger;
  int64_t Ordinal = 0;
  double Float = 0;
  String Str;
  TObject* Object = nullptr;
  std::any Method;  // a TEvent<...> for tkMethod

  static TValue Int(int64_t v) { TValue r; r.Kind = tkInteger; r.Ordinal = v; return r; }
  static TValue Bool(bool v) { TValue r; r.Kind = tkBool; r.Ordinal = v; return r; }
  static TValue Enum(int v) { TValue r; r.Kind = tkEnum; r.Ordinal = v; return r; }
  static TValue SetBits(uint64_t v) { TValue r; r.Kind = tkSet; r.Ordinal = static_cast<int64_t>(v); return r; }
  static TValue Text(String v) { TValue r; r.Kind = tkString; r.Str = std::move(v); return r; }
  static TValue Real(double v) { TValue r; r.Kind = tkFloat; r.Float = v; return r; }
  static TValue ColorValue(TColor v) { TValue r; r.Kind = tkColor; r.Ordinal = v; return r; }
  static TValue Obj(TObject* v, TTypeKind kind = tkComponent) { TValue r; r.Kind = kind; r.Object = v; return r; }
  static TValue Event(std::any m) { TValue r; r.Kind = tkMethod; r.Method = std::move(m); return r; }
};

// Names for values of an integer property, so that form descriptions and the text forms read
// and write them by name (the cursor constants: "Cursor = crHandPoint").
struct TIdentMapEntry {
  int64_t Value;
  const char* Name;
};
using TIdentMap = std::vector<TIdentMapEntry>;
// The value of a name (case-insensitive) or the name of a value; false / null when absent.
bool IdentToInt(const TIdentMap& map, std::string_view name, int64_t* value);
const char* IntToIdent(const TIdentMap& map, int64_t value);

struct TPropInfo {
  String Name;
  TTypeKind Kind = tkInteger;
  const TEnumInfo* Enum = nullptr;             // names of an enumeration or set's elements
  int64_t MinValue = 0, MaxValue = 0;           // range of integer properties
  const TClassInfo& (*ClassRef)() = nullptr;    // class of tkClass and tkComponent properties
  std::type_index Signature = typeid(void);     // event type of tkMethod properties
  std::optional<int64_t> Default;               // ordinal default, if any
  const TIdentMap* Idents = nullptr;            // names of integer values, if any
  // Whether the writer stores the value (empty: always when it differs from the default). A
  // colour that follows the parent's (ParentColor) is not stored, for instance.
  std::function<bool(const TObject*)> Stored;
  std::function<TValue(const TObject*)> Get;
  std::function<void(TObject*, const TValue&)> Set;  // empty: read-only
  bool ReadOnly() const { return !Set; }
};

// A published method: the form reader binds event properties to these by name.
struct TMethodInfo {
  String Name;
  std::type_index Signature = typeid(void);
  std::function<std::any(TObject*)> Bind;  // a TEvent<...> calling the method of the object
  // True when `event` (a TEvent<...> in an any) calls this method of `object`.
  std::function<bool(const std::any& event, TObject* object)> Matches;
};

// A published field: a pointer member of a form or frame that the form reader sets to the
// component of the same name it creates (TMainForm::kvButton1), and that is cleared when that
// component is freed.
struct TFieldInfo {
  String Name;
  const TClassInfo& (*ClassRef)() = nullptr;  // class the field points to
  std::function<TComponent*(const TObject*)> Get;
  // Raises EPropertyError for a component that is not of the field's class.
  std::function<void(TObject*, TComponent*)> Set;
};

class TClassInfo {
public:
  using TComponentFactory = TComponent* (*)(TComponent* AOwner);
  using TRegisterFn = void (*)(TClassInfo&);

  TClassInfo(const char* name, const TClassInfo* parent, TComponentFactory factory, TRegisterFn reg);
  TClassInfo(const TClassInfo&) = delete;
  TClassInfo& operator=(const TClassInfo&) = delete;

  const String& Name() const { return FName; }
  const TClassInfo* Parent() const { return FParent; }
  bool InheritsFrom(const TClassInfo& other) const;
  // Creates an instance owned by AOwner; null for classes that cannot be created by name.
  TComponentFactory Factory() const { return FFactory; }

  const TPropInfo* FindProperty(std::string_view name) const;
  // Every published property, the base class's first.
  std::vector<const TPropInfo*> Properties() const;
  const TMethodInfo* FindMethod(std::string_view name) const;
  // The published method of this class (or an ancestor) that `event` calls on `object`.
  const TMethodInfo* FindMethodOf(const std::any& event, TObject* object) const;

  const TFieldInfo* FindField(std::string_view name) const;
  // Calls fn for every published field of the class and its ancestors.
  void ForEachField(const std::function<void(const TFieldInfo&)>& fn) const;

  void AddProperty(TPropInfo info);
  void AddMethod(TMethodInfo info);
  void AddField(TFieldInfo info);
  // Attaches a stored-predicate to a property this class registered (EPropertyError if none).
  void SetStored(std::string_view name, std::function<bool(const TObject*)> stored);

  template <class C>
  static constexpr TComponentFactory FactoryFor() {
    if constexpr (std::is_base_of_v<TComponent, C> && !std::is_abstract_v<C> &&
                  std::is_constructible_v<C, TComponent*>)
      return [](TComponent* owner) -> TComponent* { return New<C>(owner); };
    else
      return nullptr;
  }

private:
  String FName;
  const TClassInfo* FParent;
  TComponentFactory FFactory;
  std::vector<TPropInfo> FProps;
  std::vector<TMethodInfo> FMethods;
  std::vector<TFieldInfo> FFields;
};

// The classes known by name (every class implemented with KV_IMPLEMENT_CLASS).
void RegisterClass(const TClassInfo& cls);
const TClassInfo* FindClass(std::string_view name);
// Raises EReadError "Class X not found" when unknown.
const TClassInfo& GetClass(std::string_view name);
// Every registered class, in name order.
std::vector<const TClassInfo*> RegisteredClasses();

namespace detail {
template <class T> struct IsSet : std::false_type {};
template <class E> struct IsSet<TSet<E>> : std::true_type { using Elem = E; };
template <class T> struct IsEvent : std::false_type {};
template <class... A> struct IsEvent<TEvent<A...>> : std::true_type {};

template <class V>
TValue ToValue(const V& v) {
  if constexpr (std::is_same_v<V, bool>) return TValue::Bool(v);
  else if constexpr (NamedEnum<V>) return TValue::Enum(static_cast<int>(v));
  else if constexpr (std::is_integral_v<V>) return TValue::Int(static_cast<int64_t>(v));
  else if constexpr (std::is_floating_point_v<V>) return TValue::Real(static_cast<double>(v));
  else if constexpr (IsSet<V>::value) return TValue::SetBits(v.Bits());
  else if constexpr (std::is_convertible_v<V, String>) return TValue::Text(String(v));
  else if constexpr (std::is_pointer_v<V>) {
    using P = std::remove_cv_t<std::remove_pointer_t<V>>;
    return TValue::Obj(const_cast<P*>(v), std::is_base_of_v<TComponent, P> ? tkComponent : tkClass);
  } else if constexpr (IsEvent<V>::value) return TValue::Event(std::any(v));
  else static_assert(sizeof(V) == 0, "unsupported property type");
}

[[noreturn]] void KindError(const TPropInfo& p, const TValue& v);
[[noreturn]] void RangeError(const TPropInfo& p, int64_t v);

template <class V>
V FromValue(const TPropInfo& p, const TValue& v) {
  if constexpr (std::is_same_v<V, bool>) {
    if (v.Kind != tkBool) KindError(p, v);
    return v.Ordinal != 0;
  } else if constexpr (NamedEnum<V>) {
    if (v.Kind != tkEnum) KindError(p, v);
    if (v.Ordinal < 0 || v.Ordinal >= static_cast<int64_t>(EnumCount<V>())) RangeError(p, v.Ordinal);
    return static_cast<V>(v.Ordinal);
  } else if constexpr (std::is_integral_v<V>) {
    if (v.Kind != tkInteger && v.Kind != tkColor) KindError(p, v);
    if (v.Ordinal < p.MinValue || v.Ordinal > p.MaxValue) RangeError(p, v.Ordinal);
    return static_cast<V>(v.Ordinal);
  } else if constexpr (std::is_floating_point_v<V>) {
    if (v.Kind == tkFloat) return static_cast<V>(v.Float);
    if (v.Kind == tkInteger) return static_cast<V>(v.Ordinal);
    KindError(p, v);
  } else if constexpr (IsSet<V>::value) {
    if (v.Kind != tkSet) KindError(p, v);
    if ((static_cast<uint64_t>(v.Ordinal) & ~V::All().Bits()) != 0) RangeError(p, v.Ordinal);
    return V::FromBits(static_cast<uint64_t>(v.Ordinal));
  } else if constexpr (std::is_convertible_v<V, String>) {
    if (v.Kind != tkString) KindError(p, v);
    return v.Str;
  } else if constexpr (std::is_pointer_v<V>) {
    using P = std::remove_cv_t<std::remove_pointer_t<V>>;
    if (v.Kind != tkComponent && v.Kind != tkClass) KindError(p, v);
    if (!v.Object) return nullptr;
    auto* typed = dynamic_cast<P*>(v.Object);
    if (!typed)
      throw EPropertyError("Invalid property value: " + v.Object->ClassName() + " is not a " +
                           P::StaticClass().Name() + " for property '" + p.Name + "'");
    return typed;
  } else if constexpr (IsEvent<V>::value) {
    if (v.Kind != tkMethod) KindError(p, v);
    if (!v.Method.has_value()) return V();
    if (v.Method.type() != typeid(V))
      throw EPropertyError("Method has the wrong signature for event '" + p.Name + "'");
    return std::any_cast<V>(v.Method);
  } else {
    static_assert(sizeof(V) == 0, "unsupported property type");
  }
}

template <class V>
void DescribeKind(TPropInfo& p) {
  if constexpr (std::is_same_v<V, bool>) {
    p.Kind = tkBool;
  } else if constexpr (NamedEnum<V>) {
    p.Kind = tkEnum;
    p.Enum = &EnumInfo<V>();
  } else if constexpr (std::is_integral_v<V>) {
    p.Kind = tkInteger;
    p.MinValue = static_cast<int64_t>(std::numeric_limits<V>::min());
    p.MaxValue = std::numeric_limits<V>::max() > static_cast<std::make_unsigned_t<V>>(INT64_MAX)
                     ? INT64_MAX
                     : static_cast<int64_t>(std::numeric_limits<V>::max());
  } else if constexpr (std::is_floating_point_v<V>) {
    p.Kind = tkFloat;
  } else if constexpr (IsSet<V>::value) {
    p.Kind = tkSet;
    p.Enum = &EnumInfo<typename IsSet<V>::Elem>();
  } else if constexpr (std::is_convertible_v<V, String>) {
    p.Kind = tkString;
  } else if constexpr (std::is_pointer_v<V>) {
    using P = std::remove_cv_t<std::remove_pointer_t<V>>;
    p.Kind = std::is_base_of_v<TComponent, P> ? tkComponent : tkClass;
    p.ClassRef = &P::StaticClass;
  } else if constexpr (IsEvent<V>::value) {
    p.Kind = tkMethod;
    p.Signature = typeid(V);
  } else {
    static_assert(sizeof(V) == 0, "unsupported property type");
  }
}

template <class V>
std::optional<int64_t> OrdinalDefault(const V& d) {
  TValue v = ToValue<V>(d);
  if (v.Kind == tkString || v.Kind == tkFloat || v.Kind == tkClass || v.Kind == tkComponent ||
      v.Kind == tkMethod)
    return std::nullopt;
  return v.Ordinal;
}
}  // namespace detail

template <class C>
class TClassRegistrar {
public:
  explicit TClassRegistrar(TClassInfo& info) : FInfo(info) {}

  // A property with a getter and (optionally) a setter; the value type decides its kind.
  template <class B1, class G, class B2, class S>
  void Prop(const char* name, G (B1::*get)() const, void (B2::*set)(S)) {
    Add<std::decay_t<G>>(name, get, set, std::nullopt);
  }
  template <class B1, class G, class B2, class S, class D>
  void Prop(const char* name, G (B1::*get)() const, void (B2::*set)(S), const D& def) {
    using V = std::decay_t<G>;
    Add<V>(name, get, set, detail::OrdinalDefault<V>(static_cast<V>(def)));
  }
  template <class B1, class G>
  void ReadOnly(const char* name, G (B1::*get)() const) {
    Add<std::decay_t<G>>(name, get, static_cast<void (C::*)(std::decay_t<G>)>(nullptr), std::nullopt);
  }
  // An integer property whose values are also written by name (Cursor = crHandPoint).
  template <class B1, class G, class B2, class S, class D>
  void IdentProp(const char* name, G (B1::*get)() const, void (B2::*set)(S), const D& def, const TIdentMap& idents) {
    using V = std::decay_t<G>;
    static_assert(std::is_integral_v<V> && !std::is_same_v<V, bool>, "named values need an integer property");
    Add<V>(name, get, set, detail::OrdinalDefault<V>(static_cast<V>(def)), std::nullopt, &idents);
  }
  // Stores the property only when pred answers true (TPropInfo::Stored).
  template <class B>
  void Stored(const char* name, bool (B::*pred)() const) {
    FInfo.SetStored(name, [pred](const TObject* o) { return (static_cast<const C*>(o)->*pred)(); });
  }
  // A published field pointing to a component of the root (see TFieldInfo).
  template <class B, class T>
  void Field(const char* name, T* B::*field) {
    static_assert(std::is_base_of_v<TComponent, T>, "fields point to components");
    TFieldInfo f;
    f.Name = name;
    f.ClassRef = &T::StaticClass;
    f.Get = [field](const TObject* o) -> TComponent* { return static_cast<const C*>(o)->*field; };
    f.Set = [field, fieldName = String(name)](TObject* o, TComponent* c) {
      T* typed = c ? dynamic_cast<T*>(c) : nullptr;
      if (c && !typed)
        throw EPropertyError("Field '" + fieldName + "' takes a " + T::StaticClass().Name() + ", not a " +
                             c->ClassName());
      static_cast<C*>(o)->*field = typed;
    };
    FInfo.AddField(std::move(f));
  }
  // A colour property: an integer written with colour names ("clBtnFace").
  template <class B1, class B2>
  void Color(const char* name, TColor (B1::*get)() const, void (B2::*set)(TColor), TColor def) {
    Add<TColor>(name, get, set, static_cast<int64_t>(def), tkColor);
  }
  // An event field: `TNotifyEvent OnClick;`.
  template <class B, class E>
  void Event(const char* name, E B::*field) {
    static_assert(detail::IsEvent<E>::value, "not an event");
    TPropInfo p;
    p.Name = name;
    detail::DescribeKind<E>(p);
    p.Get = [field](const TObject* o) { return TValue::Event(std::any(static_cast<const C*>(o)->*field)); };
    p.Set = [field, name = String(name)](TObject* o, const TValue& v) {
      TPropInfo pi;
      pi.Name = name;
      static_cast<C*>(o)->*field = detail::FromValue<E>(pi, v);
    };
    FInfo.AddProperty(std::move(p));
  }
  // A published method that form descriptions can bind events to.
  template <class B, class... A>
  void Method(const char* name, void (B::*method)(A...)) {
    TMethodInfo m;
    m.Name = name;
    m.Signature = typeid(TEvent<A...>);
    auto typed = static_cast<void (C::*)(A...)>(method);
    m.Bind = [typed](TObject* o) { return std::any(TEvent<A...>(static_cast<C*>(o), typed)); };
    m.Matches = [typed](const std::any& ev, TObject* o) {
      auto* e = std::any_cast<TEvent<A...>>(&ev);
      return e && *e == TEvent<A...>(static_cast<C*>(o), typed);
    };
    FInfo.AddMethod(std::move(m));
  }

private:
  template <class V, class GetM, class SetM>
  void Add(const char* name, GetM get, SetM set, std::optional<int64_t> def,
           std::optional<TTypeKind> kind = std::nullopt, const TIdentMap* idents = nullptr) {
    TPropInfo p;
    p.Name = name;
    detail::DescribeKind<V>(p);
    if (kind) p.Kind = *kind;
    p.Idents = idents;
    p.Default = def;
    TTypeKind valueKind = p.Kind;
    p.Get = [get, valueKind](const TObject* o) {
      TValue v = detail::ToValue<V>(V((static_cast<const C*>(o)->*get)()));
      v.Kind = valueKind;
      return v;
    };
    if (set) {
      using S = std::decay_t<typename SetterArg<SetM>::type>;
      TPropInfo copy = p;  // the setter checks against the property's own description
      p.Set = [set, copy](TObject* o, const TValue& v) {
        (static_cast<C*>(o)->*set)(static_cast<S>(detail::FromValue<V>(copy, v)));
      };
    }
    FInfo.AddProperty(std::move(p));
  }
  template <class M> struct SetterArg;
  template <class B, class A> struct SetterArg<void (B::*)(A)> { using type = A; };

  TClassInfo& FInfo;
};

#define KV_IMPLEMENT_CLASS(Cls)                                                               \
  static void Cls##_RegisterProperties(TClassRegistrar<Cls>& r);                             \
  const TClassInfo& Cls::StaticClass() {                                                      \
    static const TClassInfo info(#Cls, &Cls::inherited::StaticClass(),                       \
                                 TClassInfo::FactoryFor<Cls>(), [](TClassInfo& ci) {          \
                                   TClassRegistrar<Cls> reg(ci);                              \
                                   Cls##_RegisterProperties(reg);                             \
                                 });                                                          \
    return info;                                                                              \
  }                                                                                           \
  [[maybe_unused]] static const bool Cls##_Registered = (RegisterClass(Cls::StaticClass()), true); \
  static void Cls##_RegisterProperties([[maybe_unused]] TClassRegistrar<Cls>& r)

// ---- reading and writing properties by name ----

// Finds a property, following dotted paths through sub-objects ("Font.Name"). Raises
// EPropertyError when a part of the path is unknown. On return *target is the object that
// holds the final property.
const TPropInfo& FindPropInfo(const TObject* object, std::string_view path, const TObject** target = nullptr);
TValue GetPropValue(const TObject* object, std::string_view path);
void SetPropValue(TObject* object, std::string_view path, const TValue& value);

// Text forms: integers in decimal, Booleans as True/False, enumerations by value name, sets as
// "[a, b]", colours by name or $hex, strings as they are, components by name (found among the
// components of the object's owner; "" or "nil" for none), events by the name of a published
// method of the object's owner.
String GetPropText(const TObject* object, std::string_view path);
void SetPropText(TObject* object, std::string_view path, const String& text);
// Parses a text for a property of the given description (no component or event lookup).
TValue ParsePropValue(const TPropInfo& prop, const String& text);
String FormatPropValue(const TPropInfo& prop, const TValue& value);
