// The window system object: start-up, the user-interface thread, handles, errors and the
// choice of back end.
#include <cstdlib>
#include <cstring>
#include <map>

#include "platform/windows/internal.h"

namespace kvwin {
namespace {
TWindowSystem* gSystem = nullptr;
std::mutex gStartLock;
std::unique_ptr<TWindowBackend> gPendingBackend;
String gPendingBackendName;

thread_local DWORD tLastError = 0;
// Set on the user-interface thread once it claimed the windows: the hot check of every call.
thread_local TWindowSystem* tOwnedSystem = nullptr;
thread_local DWORD tThreadId = 0;
std::atomic<DWORD> gNextThreadId{1};

std::unique_ptr<TWindowBackend> MakeBackend(const String& name) {
  if (SameText(name, "headless")) return CreateHeadlessBackend();
  if (SameText(name, "sdl")) return CreateSdlBackend();
  throw EInvalidArgument("unknown window back end \"" + name + "\" (expected \"headless\" or \"sdl\")");
}

String BackendFromEnvironment() {
  const char* env = std::getenv("KV_BACKEND");
  return env && *env ? String(env) : String("sdl");
}

constexpr uintptr_t kDesktopValue = 0x10010;
}  // namespace

TWindowSystem::TWindowSystem() {
  UIQueue = std::make_shared<TThreadQueue>();
  UIQueue->IsUI = true;
  Pump = DefaultPump;
}

TWindowSystem* SysIfStarted() { return gSystem; }

TWindowSystem& Sys() {
  if (gSystem) return *gSystem;
  std::lock_guard<std::mutex> lock(gStartLock);
  if (gSystem) return *gSystem;
  // The system lives until the process ends: windows may be touched from static destructors of
  // other layers, and freeing it there would race with them.
  auto* s = new TWindowSystem();
  s->Cursor = StandardCursor(IDC_ARROW);
  gSystem = s;
  return *s;
}

TWindowBackend& BE() {
  TWindowSystem& s = Sys();
  if (!s.Backend) {
    std::lock_guard<std::mutex> lock(gStartLock);
    if (gPendingBackend) s.Backend = std::move(gPendingBackend);
    else s.Backend = MakeBackend(gPendingBackendName.empty() ? BackendFromEnvironment() : gPendingBackendName);
    s.CursorPos = s.Backend->CursorPos();
  }
  return *s.Backend;
}

bool OnUIThread() { return tOwnedSystem != nullptr && tOwnedSystem == gSystem; }

void RequireUIThread(const char* function) {
  if (tOwnedSystem && tOwnedSystem == gSystem) return;
  TWindowSystem& s = Sys();
  if (s.UIThread == std::thread::id()) {
    // The first thread that uses windows owns them.
    std::lock_guard<std::mutex> lock(gStartLock);
    if (s.UIThread == std::thread::id()) {
      s.UIThreadId = GetCurrentThreadId();
      s.UIQueue->ThreadId = s.UIThreadId;
      s.UIThread = std::this_thread::get_id();
    }
  }
  if (s.UIThread != std::this_thread::get_id())
    throw EInvalidOperation(String(function) + " called from a thread that does not own the windows");
  tOwnedSystem = &s;
}

// ---- handles ------------------------------------------------------------------------------
// A handle is (generation << 24) | (slot + 1): a released slot gets a new generation, so an
// old handle never names a new window.
namespace {
constexpr uintptr_t kSlotBits = 24;
constexpr uintptr_t kSlotMask = (uintptr_t(1) << kSlotBits) - 1;

TWnd* Lookup(TWindowSystem& s, HWND hwnd) {
  uintptr_t v = reinterpret_cast<uintptr_t>(hwnd);
  uintptr_t slot = v & kSlotMask;
  if (slot == 0 || slot > s.Slots.size()) return nullptr;
  const TWindowSystem::TSlot& e = s.Slots[slot - 1];
  if ((v >> kSlotBits) != e.Generation || !e.Wnd || e.Wnd->Dead) return nullptr;
  return e.Wnd;
}
}  // namespace

TWnd* FromHandle(HWND hwnd) {
  TWindowSystem* s = gSystem;
  if (!s || !hwnd) return nullptr;
  if (tOwnedSystem == s) return Lookup(*s, hwnd);
  std::lock_guard<std::mutex> lock(s->TableLock);
  return Lookup(*s, hwnd);
}

TWnd* CheckHandle(HWND hwnd) {
  TWnd* w = FromHandle(hwnd);
  if (!w) SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  return w;
}

bool IsLiveHandle(HWND hwnd) {
  TWindowSystem* s = gSystem;
  if (!s || !hwnd) return false;
  std::lock_guard<std::mutex> lock(s->TableLock);
  return Lookup(*s, hwnd) != nullptr;
}

HWND AllocateHandle(TWnd* w) {
  TWindowSystem& s = Sys();
  std::lock_guard<std::mutex> lock(s.TableLock);
  uint32_t slot;
  if (!s.FreeSlots.empty()) {
    slot = s.FreeSlots.front();
    s.FreeSlots.erase(s.FreeSlots.begin());
  } else {
    if (s.Slots.size() >= kSlotMask - 1) throw EOutOfResources("too many windows");
    s.Slots.push_back({});
    slot = static_cast<uint32_t>(s.Slots.size() - 1);
  }
  s.Slots[slot].Wnd = w;
  uintptr_t v = (uintptr_t(s.Slots[slot].Generation) << kSlotBits) | (slot + 1);
  w->Handle = reinterpret_cast<HWND>(v);
  ++s.WindowCount;
  return w->Handle;
}

void ReleaseHandle(TWnd* w) {
  TWindowSystem& s = Sys();
  std::lock_guard<std::mutex> lock(s.TableLock);
  uintptr_t slot = (reinterpret_cast<uintptr_t>(w->Handle) & kSlotMask) - 1;
  if (slot < s.Slots.size() && s.Slots[slot].Wnd == w) {
    s.Slots[slot].Wnd = nullptr;
    // Generations stay below 2^(pointer bits - 24) so handles stay positive.
    s.Slots[slot].Generation = (s.Slots[slot].Generation + 1) & 0x7FFFFFFF;
    if (s.Slots[slot].Generation == 0) s.Slots[slot].Generation = 1;
    // Released slots are reused oldest first, which keeps a just-freed handle unused longest.
    s.FreeSlots.push_back(static_cast<uint32_t>(slot));
    --s.WindowCount;
  }
  w->Dead = true;
}

void MaybeFree(TWnd* w) {
  if (w->Dead && w->DispatchDepth == 0) delete w;
}

TWndRef::TWndRef(TWnd* w) : w_(w) {
  if (w_) ++w_->DispatchDepth;
}
TWndRef::~TWndRef() {
  if (w_) {
    --w_->DispatchDepth;
    MaybeFree(w_);
  }
}

HWND DesktopHandle() { return reinterpret_cast<HWND>(kDesktopValue); }
bool IsDesktop(HWND hwnd) { return reinterpret_cast<uintptr_t>(hwnd) == kDesktopValue; }

}  // namespace kvwin

using namespace kvwin;

// ---- errors -------------------------------------------------------------------------------
DWORD GetLastError() { return tLastError; }
void SetLastError(DWORD code) { tLastError = code; }

String SysErrorMessage(DWORD code) {
  static const std::map<DWORD, const char*> texts = {
      {ERROR_SUCCESS, "The operation completed successfully"},
      {ERROR_ACCESS_DENIED, "Access denied"},
      {ERROR_NOT_ENOUGH_MEMORY, "Not enough memory"},
      {ERROR_INVALID_PARAMETER, "Invalid parameter"},
      {ERROR_NOT_SUPPORTED, "The request is not supported"},
      {ERROR_INVALID_WINDOW_HANDLE, "Invalid window handle"},
      {ERROR_INVALID_CURSOR_HANDLE, "Invalid cursor handle"},
      {ERROR_TLW_WITH_WSCHILD, "Cannot create a top-level child window"},
      {ERROR_CANNOT_FIND_WND_CLASS, "Cannot find window class"},
      {ERROR_WINDOW_OF_OTHER_THREAD, "Invalid window; it belongs to another thread"},
      {ERROR_CLASS_ALREADY_EXISTS, "Class already exists"},
      {ERROR_CLASS_DOES_NOT_EXIST, "Class does not exist"},
      {ERROR_CLASS_HAS_WINDOWS, "Class still has open windows"},
      {ERROR_INVALID_INDEX, "Invalid index"},
      {ERROR_CLIPBOARD_NOT_OPEN, "Thread does not have a clipboard open"},
      {ERROR_INVALID_THREAD_ID, "Invalid thread identifier"},
      {ERROR_NO_SCROLLBARS, "The window does not have scroll bars"},
      {ERROR_TIMEOUT, "This operation returned because the timeout period expired"},
  };
  auto it = texts.find(code);
  return it != texts.end() ? String(it->second) : Format("System error %u", static_cast<unsigned>(code));
}

// ---- threads ------------------------------------------------------------------------------
DWORD GetCurrentThreadId() {
  if (tThreadId == 0) tThreadId = gNextThreadId++;
  return tThreadId;
}

DWORD GetWindowThreadProcessId(HWND hwnd, DWORD* processId) {
  if (processId) *processId = 1;
  if (!IsLiveHandle(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  return Sys().UIThreadId;
}

bool IsUIThread() { return OnUIThread(); }

// ---- back ends ----------------------------------------------------------------------------
void SelectWindowBackend(const String& name) {
  TWindowSystem* s = SysIfStarted();
  if (s && s->WindowCount > 0) throw EInvalidOperation("the window back end cannot change while windows exist");
  if (s && s->Backend && SameText(s->Backend->Name(), name)) return;
  std::unique_ptr<TWindowBackend> b = MakeBackend(name);
  if (s) {
    s->Backend = std::move(b);
    s->CursorPos = s->Backend->CursorPos();
    return;
  }
  std::lock_guard<std::mutex> lock(gStartLock);
  gPendingBackend = std::move(b);
  gPendingBackendName = name;
}

void SetWindowBackend(std::unique_ptr<TWindowBackend> backend) {
  if (!backend) throw EInvalidArgument("SetWindowBackend: no back end");
  TWindowSystem* s = SysIfStarted();
  if (s) {
    if (s->WindowCount > 0) throw EInvalidOperation("the window back end cannot change while windows exist");
    s->Backend = std::move(backend);
    s->CursorPos = s->Backend->CursorPos();
    return;
  }
  std::lock_guard<std::mutex> lock(gStartLock);
  gPendingBackend = std::move(backend);
}

TWindowBackend& WindowBackend() { return BE(); }
String WindowBackendName() { return BE().Name(); }
