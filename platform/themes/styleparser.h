#pragma once
// The reader of the style text format (docs/styles.md). It checks the whole text and raises
// EStyleError with the place of the first fault it finds: syntax first (unknown statements,
// elements, states and properties are syntax here), then meaning (colours, pictures, ranges).
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "platform/themes/stylelexer.h"
#include "platform/themes/styledata.h"

// The text format version this program reads and writes.
inline constexpr int kStyleTextVersion = 1;

// Gives the bytes of a file a style names (its pictures), or raises EStyleError / EReadError
// when it cannot. `name` is as written in the style: a relative path with '/' separators.
using TStyleFileReader = std::function<std::vector<uint8_t>(const String& name)>;

// Reads a style. `source` names it in error messages ("glossy.kvstyle", "resource GLOSSY").
// Without a file reader a style that names a picture is refused.
TStyleData ParseStyle(std::string_view text, const String& source, const TStyleFileReader& files = {});

// Decodes a PNG picture into premultiplied ARGB32; raises EReadError when the bytes are not a
// PNG picture or it is larger than 2048 x 2048.
TStylePicture DecodeStylePicture(const String& name, const std::vector<uint8_t>& png);
