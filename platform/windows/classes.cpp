// Window classes and window procedures: registration, class values, object instances and
// CallWindowProc.
#include <sys/mman.h>

#include "platform/windows/internal.h"

namespace kvwin {
TWndClass* FindClass(const char* name) {
  if (!name) return nullptr;
  TWindowSystem& s = Sys();
  // An atom given as the name (MAKEINTATOM) is accepted as well.
  uintptr_t v = reinterpret_cast<uintptr_t>(name);
  if (v < 0x10000) {
    for (auto& c : s.Classes)
      if (c->Atom == v) return c.get();
    return nullptr;
  }
  for (auto& c : s.Classes)
    if (SameText(c->Name, name)) return c.get();
  return nullptr;
}

namespace {
// Object instances: procedure handles inside a reserved, inaccessible address range, so they
// can never be mistaken for (or executed as) code, and CallWindowProc recognises them with
// two comparisons.
constexpr size_t kInstanceStride = 16;
constexpr size_t kInstanceRange = size_t(64) << 20;  // 4 million instances

struct TInstances {
  std::mutex Lock;
  uintptr_t Base = 0;
  std::vector<std::shared_ptr<TWndMethod>> Slots;
  std::deque<size_t> Free;
  TInstances() {
    void* p = mmap(nullptr, kInstanceRange, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (p == MAP_FAILED) throw EOutOfResources("cannot reserve window procedure instances");
    Base = reinterpret_cast<uintptr_t>(p);
  }
};

TInstances& Instances() {
  static TInstances* inst = new TInstances();
  return *inst;
}

bool IsInstance(uintptr_t v, size_t* slot) {
  TInstances& in = Instances();
  if (v < in.Base || v >= in.Base + kInstanceRange) return false;
  *slot = (v - in.Base) / kInstanceStride;
  return true;
}
}  // namespace
}  // namespace kvwin

using namespace kvwin;

ATOM RegisterClass(const WNDCLASS& wc) {
  RequireUIThread("RegisterClass");
  TWindowSystem& s = Sys();
  if (!wc.lpszClassName || !*wc.lpszClassName || !wc.lpfnWndProc || wc.cbWndExtra < 0 ||
      wc.cbClsExtra < 0 || wc.cbWndExtra > 40000 || wc.cbClsExtra > 40000) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (FindClass(wc.lpszClassName)) {
    SetLastError(ERROR_CLASS_ALREADY_EXISTS);
    return 0;
  }
  auto c = std::make_unique<TWndClass>();
  c->Name = wc.lpszClassName;
  c->Atom = s.NextAtom++;
  c->Style = wc.style;
  c->Proc = wc.lpfnWndProc;
  c->ClsExtra = wc.cbClsExtra;
  c->WndExtra = wc.cbWndExtra;
  c->Instance = wc.hInstance;
  c->Icon = wc.hIcon;
  c->Cursor = wc.hCursor;
  c->Background = wc.hbrBackground;
  c->ClassExtra.assign((wc.cbClsExtra + sizeof(LONG_PTR) - 1) / sizeof(LONG_PTR), 0);
  s.Classes.push_back(std::move(c));
  return s.Classes.back()->Atom;
}

bool UnregisterClass(const char* className, HINSTANCE) {
  RequireUIThread("UnregisterClass");
  TWindowSystem& s = Sys();
  TWndClass* c = FindClass(className);
  if (!c) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return false;
  }
  if (c->WindowCount > 0) {
    SetLastError(ERROR_CLASS_HAS_WINDOWS);
    return false;
  }
  for (auto it = s.Classes.begin(); it != s.Classes.end(); ++it)
    if (it->get() == c) {
      s.Classes.erase(it);
      break;
    }
  return true;
}

bool GetClassInfo(HINSTANCE, const char* className, WNDCLASS* out) {
  RequireUIThread("GetClassInfo");
  TWndClass* c = FindClass(className);
  if (!c) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return false;
  }
  if (out) {
    out->style = c->Style;
    out->lpfnWndProc = c->Proc;
    out->cbClsExtra = c->ClsExtra;
    out->cbWndExtra = c->WndExtra;
    out->hInstance = c->Instance;
    out->hIcon = c->Icon;
    out->hCursor = c->Cursor;
    out->hbrBackground = c->Background;
    out->lpszMenuName = nullptr;
    out->lpszClassName = c->Name.c_str();
  }
  return true;
}

String GetClassName(HWND hwnd) {
  RequireUIThread("GetClassName");
  TWnd* w = CheckHandle(hwnd);
  return w ? w->Class->Name : String();
}

namespace {
ULONG_PTR ClassValue(const TWndClass* c, int index, bool* ok) {
  *ok = true;
  switch (index) {
    case GCL_STYLE: return c->Style;
    case GCLP_WNDPROC: return reinterpret_cast<ULONG_PTR>(c->Proc);
    case GCLP_HCURSOR: return reinterpret_cast<ULONG_PTR>(c->Cursor);
    case GCLP_HICON: return reinterpret_cast<ULONG_PTR>(c->Icon);
    case GCLP_HBRBACKGROUND: return reinterpret_cast<ULONG_PTR>(c->Background);
    case GCL_CBWNDEXTRA: return static_cast<ULONG_PTR>(c->WndExtra);
    case GCL_CBCLSEXTRA: return static_cast<ULONG_PTR>(c->ClsExtra);
    default:
      if (index >= 0 && static_cast<size_t>(index) / sizeof(LONG_PTR) < c->ClassExtra.size())
        return static_cast<ULONG_PTR>(c->ClassExtra[index / sizeof(LONG_PTR)]);
      *ok = false;
      return 0;
  }
}
}  // namespace

ULONG_PTR GetClassLongPtr(HWND hwnd, int index) {
  RequireUIThread("GetClassLongPtr");
  TWnd* w = CheckHandle(hwnd);
  if (!w) return 0;
  bool ok;
  ULONG_PTR v = ClassValue(w->Class, index, &ok);
  if (!ok) SetLastError(ERROR_INVALID_INDEX);
  return v;
}

ULONG_PTR SetClassLongPtr(HWND hwnd, int index, LONG_PTR value) {
  RequireUIThread("SetClassLongPtr");
  TWnd* w = CheckHandle(hwnd);
  if (!w) return 0;
  TWndClass* c = w->Class;
  bool ok;
  ULONG_PTR old = ClassValue(c, index, &ok);
  if (!ok) {
    SetLastError(ERROR_INVALID_INDEX);
    return 0;
  }
  switch (index) {
    case GCL_STYLE: c->Style = static_cast<UINT>(value); break;
    case GCLP_WNDPROC: c->Proc = reinterpret_cast<WNDPROC>(value); break;
    case GCLP_HCURSOR: c->Cursor = reinterpret_cast<HCURSOR>(value); break;
    case GCLP_HICON: c->Icon = reinterpret_cast<HICON>(value); break;
    case GCLP_HBRBACKGROUND: c->Background = reinterpret_cast<HBRUSH>(value); break;
    case GCL_CBWNDEXTRA:
    case GCL_CBCLSEXTRA: SetLastError(ERROR_INVALID_INDEX); return 0;
    default: c->ClassExtra[index / sizeof(LONG_PTR)] = value; break;
  }
  return old;
}

WNDPROC MakeObjectInstance(TWndMethod method) {
  if (!method) throw EInvalidArgument("MakeObjectInstance: no method");
  TInstances& in = Instances();
  std::lock_guard<std::mutex> lock(in.Lock);
  size_t slot;
  if (!in.Free.empty()) {
    slot = in.Free.front();
    in.Free.pop_front();
  } else {
    slot = in.Slots.size();
    if (slot >= kInstanceRange / kInstanceStride) throw EOutOfResources("too many window procedure instances");
    in.Slots.emplace_back();
  }
  in.Slots[slot] = std::make_shared<TWndMethod>(std::move(method));
  return reinterpret_cast<WNDPROC>(in.Base + slot * kInstanceStride);
}

void FreeObjectInstance(WNDPROC instance) {
  size_t slot;
  if (!instance || !IsInstance(reinterpret_cast<uintptr_t>(instance), &slot)) return;
  TInstances& in = Instances();
  std::shared_ptr<TWndMethod> dying;  // destroyed outside the lock
  std::lock_guard<std::mutex> lock(in.Lock);
  if (slot >= in.Slots.size() || !in.Slots[slot]) return;
  dying = std::move(in.Slots[slot]);
  in.Free.push_back(slot);
}

LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!proc) return 0;
  size_t slot;
  if (IsInstance(reinterpret_cast<uintptr_t>(proc), &slot)) {
    std::shared_ptr<TWndMethod> m;
    {
      TInstances& in = Instances();
      std::lock_guard<std::mutex> lock(in.Lock);
      if (slot < in.Slots.size()) m = in.Slots[slot];
    }
    // A freed instance answers like an empty procedure.
    return m ? (*m)(hwnd, msg, wParam, lParam) : 0;
  }
  return proc(hwnd, msg, wParam, lParam);
}
