#pragma once
// Style files. A style is written as text (docs/styles.md) beside the pictures it names, and
// carried packed: a signature, a container format version, sizes and a CRC-32, then one zlib
// stream holding the text and its pictures. Loading refuses a truncated, damaged or foreign
// file with a clear EStyleError and never returns half a style.
#include <cstdint>
#include <span>
#include <vector>

#include "platform/themes/styleparser.h"

// The container format version this program writes and the newest it reads.
inline constexpr int kStylePackVersion = 1;

// A style's text and the files (pictures) it names, as the container holds them.
struct TStyleSource {
  String Text;
  std::vector<std::pair<String, std::vector<uint8_t>>> Files;  // name as written in the text
  // The bytes of a named file, for ParseStyle; raises EReadError when absent.
  TStyleFileReader Reader() const;
};

// True when the bytes start with the packed-style signature.
bool IsPackedStyle(std::span<const uint8_t> bytes);
std::vector<uint8_t> PackStyle(const TStyleSource& source);
// Raises EStyleError ("<source>: ...") for a file that is not a packed style, is truncated,
// damaged, or made by a newer container format.
TStyleSource UnpackStyle(std::span<const uint8_t> bytes, const String& sourceName);

// Reads a style from packed or text bytes (pictures of a text style come from `files`).
// A file that is neither is refused as "not a style file".
TStyleData LoadStyleData(std::span<const uint8_t> bytes, const String& sourceName,
                         const TStyleFileReader& files = {});

// Files on disk: a text style and the pictures beside it, or a packed style.
std::vector<uint8_t> ReadFileBytes(const String& path);
void WriteFileBytes(const String& path, std::span<const uint8_t> bytes);
// Reads a text style from disk with the pictures it names (relative to its folder), checking
// the whole style; the result packs into a complete style file.
TStyleSource ReadStyleSource(const String& path);
TStyleData LoadStyleFile(const String& path);
