#pragma once
// The style manager: the registry of styles by display name, the active style and the
// announcement of a change. The built-in "Windows" style (the native look) is always
// registered; so is every STYLE resource compiled into the program (the carried styles), at
// the manager's first use. SetStyle swaps the active style and the system colour table, then
// tells every listener; the controls layer listens and sends CM_STYLECHANGED to every control.
#include <functional>
#include <memory>
#include <vector>

#include "platform/core/events.h"
#include "platform/streaming/resources.h"
#include "platform/themes/styleservices.h"

KV_DECLARE_EXCEPTION(EStyleNotFound, EInvalidArgument);  // SetStyle with an unknown name

class TStyleManager {
public:
  TStyleManager() = delete;

  // The display name of the built-in style.
  static constexpr const char* SystemStyleName = "Windows";

  // True while a custom style (not the built-in one) is active. Cheap: ask it on every paint.
  static bool IsCustomStyleActive();
  static TCustomStyleServices* ActiveStyle();
  static TCustomStyleServices* SystemStyle();
  // The registered style of that display name (ignoring case), or null.
  static TCustomStyleServices* Style(const String& Name);
  // Display names of every registered style: the built-in style first, then in registration
  // order.
  static std::vector<String> StyleNames();

  // Activates the named style. An unknown name raises EStyleNotFound and changes nothing;
  // the active style's own name changes nothing either.
  static void SetStyle(const String& Name);
  static void SetStyle(TCustomStyleServices* Style);

  // Reads a style (text or packed) and registers it; returns its display name. A style that
  // cannot be read raises EStyleError, a name already registered raises EStyleError too; in
  // both cases nothing is registered and the active style stays as it was.
  static String LoadFromFile(const String& FileName);
  static String LoadFromResource(const String& ResourceName, const String& ResourceType = RT_STYLE);
  static String LoadFromBytes(std::span<const uint8_t> Bytes, const String& SourceName);
  // Whether the file holds a style that would load; its display name in *Name.
  static bool IsValidStyle(const String& FileName, String* Name = nullptr);
  // Removes a custom style that is not active. False when there is none of that name, it is
  // the built-in style or it is active.
  static bool UnRegisterStyle(const String& Name);

  // The classic look: style services disabled while the built-in style is active. Starts on
  // when the environment has KV_CLASSIC=1.
  static bool ClassicLook();
  static void SetClassicLook(bool Value);

  // Listeners called after every change of the active look (style or classic switch), with
  // the new active style as Sender. Returns a number for RemoveStyleChangeListener.
  static int AddStyleChangeListener(TNotifyEvent Listener);
  static void RemoveStyleChangeListener(int Id);

  // Problems met while registering the carried styles at start-up (none when all is well).
  static const std::vector<String>& StartupProblems();
};
