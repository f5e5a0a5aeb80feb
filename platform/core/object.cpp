#include "platform/core/object.h"

#include "platform/core/classes.h"
#include "platform/core/exceptions.h"

const TClassInfo& TObject::StaticClass() {
  static const TClassInfo info("TObject", nullptr, nullptr, nullptr);
  return info;
}

const TClassInfo& TObject::ClassType() const { return StaticClass(); }
const String& TObject::ClassName() const { return ClassType().Name(); }
bool TObject::InheritsFrom(const TClassInfo& cls) const { return ClassType().InheritsFrom(cls); }

void Free(TObject* object) {
  if (!object) return;
  object->BeforeDestruction();
  delete object;
}

KV_IMPLEMENT_CLASS(TPersistent) {}

void TPersistent::Assign(const TPersistent* Source) {
  if (Source) Source->AssignTo(this);
  else AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* Dest) const { Dest->AssignError(this); }

void TPersistent::AssignError(const TPersistent* Source) const {
  String from = Source ? Source->ClassName() : String("nil");
  throw EConvertError("Cannot assign a " + from + " to a " + ClassName());
}

String TPersistent::GetNamePath() const {
  TPersistent* owner = GetOwner();
  if (owner) {
    String s = owner->GetNamePath();
    return s.empty() ? ClassName() : s + "." + ClassName();
  }
  return ClassName();
}
