#include "platform/core/enums.h"

#include "platform/core/strings.h"

TEnumInfo::TEnumInfo(const char* typeName, const char* names) : typeName_(typeName) {
  for (const String& part : SplitString(names, ',')) {
    String n = Trim(part);
    size_t eq = n.find('=');
    if (eq != String::npos) n = Trim(n.substr(0, eq));
    if (!n.empty()) names_.push_back(n);
  }
}

const std::string& TEnumInfo::Name(int value) const {
  static const std::string empty;
  if (value < 0 || value >= Count()) return empty;
  return names_[static_cast<size_t>(value)];
}

int TEnumInfo::IndexOf(const std::string& name) const {
  for (size_t i = 0; i < names_.size(); ++i)
    if (SameText(names_[i], name)) return static_cast<int>(i);
  return -1;
}
