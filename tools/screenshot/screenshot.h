#pragma once
// What the screenshot tool does, apart from reading its command line: the tests call it too.
#include <string>
#include <vector>

#include "platform/core/strings.h"

namespace screenshot {
struct TOptions {
  String FormClass;   // --form
  String DfmFile;     // --dfm
  String Out;         // --out
  int Width = 0;      // --width: client width of the form (0: as designed)
  int Height = 0;     // --height
  bool List = false;  // --list
};

// Parses the arguments (without the program name). Returns an empty string when they are
// good, else what is wrong.
String ParseArguments(const std::vector<String>& Args, TOptions& Options);
String Usage();
// The form classes that can be rendered by name, sorted.
std::vector<String> FormClasses();
// Renders the form to Options.Out. Raises an exception with a readable message on failure.
void Render(const TOptions& Options);
}  // namespace screenshot
