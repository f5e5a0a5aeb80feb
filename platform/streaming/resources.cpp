#include "platform/streaming/resources.h"

#include <algorithm>
#include <mutex>

namespace {
struct TEntry {
  HRSRC Resource;
  bool Ambiguous;
};

// Constructed on first use: the registering initialisers of other translation units may run
// before this file's own statics.
struct TResourceTable {
  std::mutex Lock;
  std::vector<TEntry> Entries;
};
TResourceTable& Table() {
  static TResourceTable table;
  return table;
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

TEntry* Find(TResourceTable& t, std::string_view name, std::string_view type) {
  for (TEntry& e : t.Entries)
    if (SameName(e.Resource->Name, name) && SameName(e.Resource->Type, type)) return &e;
  return nullptr;
}

String Describe(std::string_view name, std::string_view type) {
  return "Resource " + String(name) + " of type " + String(type);
}
}  // namespace

bool RegisterResource(const TResource* resource) {
  if (!resource || !resource->Name || !resource->Type) return false;
  TResourceTable& t = Table();
  std::lock_guard<std::mutex> guard(t.Lock);
  if (TEntry* e = Find(t, resource->Name, resource->Type)) {
    e->Ambiguous = true;
    return false;
  }
  t.Entries.push_back({resource, false});
  return true;
}

HRSRC FindResource(std::string_view Name, std::string_view Type) {
  TResourceTable& t = Table();
  std::lock_guard<std::mutex> guard(t.Lock);
  TEntry* e = Find(t, Name, Type);
  return e && !e->Ambiguous ? e->Resource : nullptr;
}

std::span<const uint8_t> LoadResource(HRSRC resource) {
  if (!resource) return {};
  return {resource->Data, resource->Size};
}

size_t SizeofResource(HRSRC resource) { return resource ? resource->Size : 0; }

std::span<const uint8_t> ResourceBytes(std::string_view Name, std::string_view Type) {
  TResourceTable& t = Table();
  std::lock_guard<std::mutex> guard(t.Lock);
  TEntry* e = Find(t, Name, Type);
  if (!e) throw EResNotFound(Describe(Name, Type) + " not found");
  if (e->Ambiguous) throw EResNotFound(Describe(Name, Type) + " is defined twice");
  return {e->Resource->Data, e->Resource->Size};
}

std::vector<String> EnumResourceNames(std::string_view Type) {
  TResourceTable& t = Table();
  std::lock_guard<std::mutex> guard(t.Lock);
  std::vector<String> names;
  for (const TEntry& e : t.Entries)
    if (SameName(e.Resource->Type, Type)) names.emplace_back(e.Resource->Name);
  std::sort(names.begin(), names.end());
  return names;
}
