#pragma once
// Resources compiled into the program: named blocks of bytes, each with a type ("STYLE" for
// visual styles). The CMake function kv_add_resources (cmake/Resources.cmake) turns files into
// sources that register their bytes here while the program starts, so a resource is found by
// name and type without touching the file system.
//
// A statically linked program is one module, so there is one table for the whole process.
// Names and types compare case-insensitively (ASCII). Two resources with the same name and type
// are a build mistake: the table remembers the clash and FindResource refuses the name.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "platform/core/exceptions.h"
#include "platform/core/strings.h"

// Resource types.
inline constexpr char RT_STYLE[] = "STYLE";    // a visual style in its packed form
inline constexpr char RT_RCDATA[] = "RCDATA";  // raw application data

KV_DECLARE_EXCEPTION(EResNotFound, Exception);  // no resource of that name and type

// One resource. The generated sources keep these in static storage for the program's lifetime.
struct TResource {
  const char* Name;
  const char* Type;
  const uint8_t* Data;
  size_t Size;
};
using HRSRC = const TResource*;

// Adds a resource to the table; called from static initialisers. Returns false when a resource
// of the same name and type is already present (the name is then refused by FindResource).
bool RegisterResource(const TResource* resource);

// The resource of that name and type, or null when there is none (or the name is ambiguous).
HRSRC FindResource(std::string_view Name, std::string_view Type);
// The bytes of a found resource; an empty span for null.
std::span<const uint8_t> LoadResource(HRSRC resource);
size_t SizeofResource(HRSRC resource);
// The bytes of the named resource; raises EResNotFound ("Resource GLOSSY of type STYLE not
// found", or "... is defined twice") when it cannot be had.
std::span<const uint8_t> ResourceBytes(std::string_view Name, std::string_view Type);
// Names of every resource of a type (ambiguous ones too), in ascending order, as registered.
std::vector<String> EnumResourceNames(std::string_view Type);
