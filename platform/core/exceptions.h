#pragma once
// Exceptions of the framework. Every failure the framework reports carries a readable message.
#include <stdexcept>
#include <string>

class Exception : public std::runtime_error {
public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
  std::string Message() const { return what(); }
};

#define KV_DECLARE_EXCEPTION(Name, Base)                                      \
  class Name : public Base {                                                  \
  public:                                                                     \
    explicit Name(const std::string& message) : Base(message) {}             \
  }

KV_DECLARE_EXCEPTION(EConvertError, Exception);     // text that is not a number, colour, ...
KV_DECLARE_EXCEPTION(EListError, Exception);        // index out of range, duplicates refused
KV_DECLARE_EXCEPTION(EPropertyError, Exception);    // unknown property, wrong type or range
KV_DECLARE_EXCEPTION(EComponentError, Exception);   // duplicate or invalid component name
KV_DECLARE_EXCEPTION(EInvalidOperation, Exception); // operation not allowed in this state
KV_DECLARE_EXCEPTION(EInvalidArgument, Exception);  // an argument outside its domain
KV_DECLARE_EXCEPTION(EReadError, Exception);        // a form description or file cannot be read
KV_DECLARE_EXCEPTION(EOutOfResources, Exception);   // allocation of a system resource failed
