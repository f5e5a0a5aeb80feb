#include "platform/themes/stylemanager.h"

#include <algorithm>

#include "platform/themes/standardlook.h"
#include "platform/themes/stylefile.h"
#include "platform/windows/paint.h"
#include "platform/windows/window.h"

namespace {
struct TListener {
  int Id;
  TNotifyEvent Handler;
};

struct TManagerState {
  std::vector<std::shared_ptr<TCustomStyleServices>> Styles;  // [0]: the built-in style
  TCustomStyleServices* Active = nullptr;
  std::vector<TListener> Listeners;
  int NextListenerId = 1;
  bool Announcing = false;
  bool CarriedRegistered = false;
  std::vector<String> Problems;

  TManagerState() {
    auto system = std::make_shared<TStyleData>(MakeStandardStyle(DefaultSystemColors()));
    system->Name = TStyleManager::SystemStyleName;
    system->Description = "The native look";
    Styles.push_back(std::make_shared<TCustomStyleServices>(system, true));
    Active = Styles[0].get();
  }
  TCustomStyleServices* Find(const String& name) const {
    for (const auto& s : Styles)
      if (SameText(s->Name(), name)) return s.get();
    return nullptr;
  }
};

// Registers every STYLE resource of the program.
void RegisterCarriedStyles(TManagerState& state) {
  for (const String& name : EnumResourceNames(RT_STYLE)) {
    try {
      TStyleManager::LoadFromResource(name);
    } catch (const Exception& e) {
      state.Problems.push_back(e.Message());
    }
  }
}

TManagerState& RawState() {
  static TManagerState state;
  return state;
}

// The state, with the carried styles registered at the first use.
TManagerState& State() {
  TManagerState& s = RawState();
  if (!s.CarriedRegistered) {
    s.CarriedRegistered = true;
    RegisterCarriedStyles(s);
  }
  return s;
}

// Calls the listeners present when the announcement starts. A listener removed meanwhile is
// only marked (Id 0) and dropped afterwards, so removing is safe from inside a listener.
void Announce(TManagerState& s) {
  struct TGuard {
    TManagerState& S;
    ~TGuard() {
      S.Announcing = false;
      std::erase_if(S.Listeners, [](const TListener& l) { return l.Id == 0; });
    }
  } guard{s};
  s.Announcing = true;
  size_t count = s.Listeners.size();
  for (size_t i = 0; i < count; ++i)
    if (s.Listeners[i].Id != 0) {
      TNotifyEvent handler = s.Listeners[i].Handler;  // the vector may grow inside the call
      handler(s.Active);
    }
}

// Every window repaints, frames included: what they show follows the style and the system
// colours. Windows are kept; nothing is re-created.
void RepaintAllWindows() {
  EnumWindows([](HWND h) {
    RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    return true;
  });
}

void Activate(TManagerState& s, TCustomStyleServices* style) {
  if (s.Announcing) throw EInvalidOperation("the style cannot change while a style change is being announced");
  if (style == s.Active) return;
  s.Active = style;
  if (style->IsSystemStyle()) ResetSystemColors();
  else SetSystemColors(style->Data().SystemColors);
  Announce(s);
  RepaintAllWindows();
}

String Register(TStyleData data) {
  TManagerState& s = RawState();
  if (s.Find(data.Name)) {
    String what = SameText(data.Name, TStyleManager::SystemStyleName) ? "the built-in style's name" : "already registered";
    throw EStyleError(data.Name, 0, 0, "a style named \"" + data.Name + "\" cannot be registered: the name is " + what);
  }
  String name = data.Name;
  s.Styles.push_back(std::make_shared<TCustomStyleServices>(std::make_shared<TStyleData>(std::move(data)), false));
  return name;
}
}  // namespace

bool TStyleManager::IsCustomStyleActive() { return !State().Active->IsSystemStyle(); }
TCustomStyleServices* TStyleManager::ActiveStyle() { return State().Active; }
TCustomStyleServices* TStyleManager::SystemStyle() { return State().Styles[0].get(); }
TCustomStyleServices* TStyleManager::Style(const String& Name) { return State().Find(Name); }

std::vector<String> TStyleManager::StyleNames() {
  std::vector<String> names;
  for (const auto& s : State().Styles) names.push_back(s->Name());
  return names;
}

void TStyleManager::SetStyle(const String& Name) {
  TManagerState& s = State();
  TCustomStyleServices* style = s.Find(Name);
  if (!style) {
    String known;
    for (const auto& st : s.Styles) known += (known.empty() ? "" : ", ") + st->Name();
    throw EStyleNotFound("Style \"" + Name + "\" not found (styles: " + known + ")");
  }
  Activate(s, style);
}

void TStyleManager::SetStyle(TCustomStyleServices* Style) {
  TManagerState& s = State();
  bool known = std::any_of(s.Styles.begin(), s.Styles.end(), [&](const auto& p) { return p.get() == Style; });
  if (!Style || !known) throw EStyleNotFound("the style is not registered with the style manager");
  Activate(s, Style);
}

String TStyleManager::LoadFromFile(const String& FileName) { return Register(LoadStyleFile(FileName)); }

String TStyleManager::LoadFromResource(const String& ResourceName, const String& ResourceType) {
  std::span<const uint8_t> bytes;
  try {
    bytes = ResourceBytes(ResourceName, ResourceType);
  } catch (const EResNotFound& e) {
    throw EStyleError("resource " + ResourceName, 0, 0, e.Message());
  }
  return Register(LoadStyleData(bytes, "resource " + ResourceName));
}

String TStyleManager::LoadFromBytes(std::span<const uint8_t> Bytes, const String& SourceName) {
  return Register(LoadStyleData(Bytes, SourceName));
}

bool TStyleManager::IsValidStyle(const String& FileName, String* Name) {
  try {
    TStyleData d = LoadStyleFile(FileName);
    if (Name) *Name = d.Name;
    return true;
  } catch (const Exception&) {
    return false;
  }
}

bool TStyleManager::UnRegisterStyle(const String& Name) {
  TManagerState& s = State();
  for (size_t i = 1; i < s.Styles.size(); ++i)
    if (SameText(s.Styles[i]->Name(), Name)) {
      if (s.Styles[i].get() == s.Active) return false;
      s.Styles.erase(s.Styles.begin() + static_cast<ptrdiff_t>(i));
      return true;
    }
  return false;
}

bool TStyleManager::ClassicLook() { return ClassicLookActive(); }

void TStyleManager::SetClassicLook(bool Value) {
  TManagerState& s = State();
  if (Value == ClassicLookActive()) return;
  if (s.Announcing) throw EInvalidOperation("the look cannot change while a style change is being announced");
  SetClassicLookActive(Value);
  if (s.Active->IsSystemStyle()) {
    Announce(s);
    RepaintAllWindows();
  }
}

int TStyleManager::AddStyleChangeListener(TNotifyEvent Listener) {
  TManagerState& s = State();
  int id = s.NextListenerId++;
  s.Listeners.push_back({id, std::move(Listener)});
  return id;
}

void TStyleManager::RemoveStyleChangeListener(int Id) {
  TManagerState& s = State();
  if (Id == 0) return;
  for (auto it = s.Listeners.begin(); it != s.Listeners.end(); ++it)
    if (it->Id == Id) {
      if (s.Announcing) it->Id = 0;  // dropped when the announcement ends
      else s.Listeners.erase(it);
      return;
    }
}

const std::vector<String>& TStyleManager::StartupProblems() { return State().Problems; }
