#pragma once
// TObject and TPersistent: the roots of the framework's class hierarchy.
//
// Every class of the framework and the library declares itself with KV_CLASS(Cls, Base) in its
// body and KV_IMPLEMENT_CLASS(Cls) { ...published properties... } in its source file
// (platform/core/classes.h). That gives it a class name, an `inherited` alias for calls to the
// base implementation, and the published properties that form descriptions and tests read and
// write by name.
#include <memory>
#include <string>
#include <utility>

#include "platform/core/strings.h"

class TClassInfo;
class TFiler;

#define KV_CLASS(Cls, Base)                                              \
public:                                                                  \
  using inherited = Base;                                                \
  static const TClassInfo& StaticClass();                                \
  const TClassInfo& ClassType() const override { return Cls::StaticClass(); } \
                                                                         \
private:

class TObject {
public:
  TObject() = default;
  virtual ~TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;

  static const TClassInfo& StaticClass();
  virtual const TClassInfo& ClassType() const;
  const String& ClassName() const;
  // True when the object's class is `cls` or derives from it.
  bool InheritsFrom(const TClassInfo& cls) const;
  template <class T>
  bool Is() const {
    return dynamic_cast<const T*>(this) != nullptr;
  }

  // Runs while the object is still whole, just before it is deleted through Free. Components
  // use it to announce their removal while every part of them can still be asked.
  virtual void BeforeDestruction() {}
  // Runs once the most derived constructor has finished, when the object is created by class
  // name, through New<T> or by the application's CreateForm: work that needs the object's
  // final class (a form's OnCreate) goes here rather than into a base constructor.
  virtual void AfterConstruction() {}
};

// Creates an object and runs its AfterConstruction; an exception from AfterConstruction frees
// the object again.
template <class T, class... Args>
T* New(Args&&... args);

// Frees an object the framework's way (BeforeDestruction, then delete). Null is allowed.
void Free(TObject* object);
template <class T>
void FreeAndNil(T*& object) {
  T* p = object;
  object = nullptr;
  Free(p);
}

template <class T, class... Args>
T* New(Args&&... args) {
  T* p = new T(std::forward<Args>(args)...);
  try {
    p->AfterConstruction();
  } catch (...) {
    Free(p);
    throw;
  }
  return p;
}

class TPersistent : public TObject {
  KV_CLASS(TPersistent, TObject)
public:
  // Copies the state of Source. The default asks Source to assign itself to this object
  // (AssignTo) and raises EConvertError when neither side knows the other.
  virtual void Assign(const TPersistent* Source);
  // The object that owns this one, for name paths and form descriptions; none by default.
  virtual TPersistent* GetOwner() const { return nullptr; }
  virtual String GetNamePath() const;
  // Announces stored data beyond the published properties (see platform/core/filer.h).
  virtual void DefineProperties(TFiler& Filer) { (void)Filer; }

protected:
  virtual void AssignTo(TPersistent* Dest) const;
  [[noreturn]] void AssignError(const TPersistent* Source) const;
};
