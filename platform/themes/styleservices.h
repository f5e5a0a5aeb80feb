#pragma once
// Style services: what controls ask of the active style. Each style (the built-in "Windows"
// style and every custom style) is one TCustomStyleServices over its description; StyleServices()
// is the active one. The built-in style draws the native look, or the classic look while style
// services are disabled (TStyleManager::SetClassicLook, or KV_CLASSIC=1 in the environment).
#include <memory>

#include "platform/core/object.h"
#include "platform/graphics/dc.h"
#include "platform/themes/elementcache.h"
#include "platform/themes/styledata.h"
#include "platform/windows/wintypes.h"

class TCustomStyleServices : public TObject {
  KV_CLASS(TCustomStyleServices, TObject)
public:
  // `systemStyle`: the built-in style, whose system colours are the platform's own.
  TCustomStyleServices(std::shared_ptr<const TStyleData> data, bool systemStyle);
  ~TCustomStyleServices() override;

  const String& Name() const { return FData->Name; }
  const TStyleData& Data() const { return *FData; }
  // True when themed drawing is available: always for a custom style; for the built-in style
  // unless the classic look is on.
  bool Enabled() const;
  bool Available() const { return Enabled(); }
  bool IsSystemStyle() const { return FSystemStyle; }

  TThemedElementDetails GetElementDetails(TThemedButton d) const { return ::GetElementDetails(d); }
  TThemedElementDetails GetElementDetails(TThemedComboBox d) const { return ::GetElementDetails(d); }
  TThemedElementDetails GetElementDetails(TThemedEdit d) const { return ::GetElementDetails(d); }
  TThemedElementDetails GetElementDetails(TThemedGrid d) const { return ::GetElementDetails(d); }
  TThemedElementDetails GetElementDetails(TThemedHeader d) const { return ::GetElementDetails(d); }
  TThemedElementDetails GetElementDetails(TThemedMonthCal d) const { return ::GetElementDetails(d); }
  TThemedElementDetails GetElementDetails(TThemedProgress d) const { return ::GetElementDetails(d); }
  TThemedElementDetails GetElementDetails(TThemedScrollBar d) const { return ::GetElementDetails(d); }
  TThemedElementDetails GetElementDetails(TThemedSpin d) const { return ::GetElementDetails(d); }
  TThemedElementDetails GetElementDetails(TThemedTab d) const { return ::GetElementDetails(d); }
  TThemedElementDetails GetElementDetails(TThemedToolBar d) const { return ::GetElementDetails(d); }
  TThemedElementDetails GetElementDetails(TThemedWindow d) const { return ::GetElementDetails(d); }
  TThemedElementDetails GetElementDetails(TThemedElement e, int part, int state) const {
    return ::GetElementDetails(e, part, state);
  }

  // Paints the element stretched to R (logical coordinates), inside the DC's clip and, when
  // given, ClipRect too. False for details outside the catalogue or a null DC.
  bool DrawElement(HDC DC, const TThemedElementDetails& Details, const TRect& R, const TRect* ClipRect = nullptr);
  // The element's natural size; false for elements that only stretch.
  bool GetElementSize(HDC DC, const TThemedElementDetails& Details, TElementSize ElementSize, TSize& Size) const;
  bool GetElementSize(HDC DC, const TThemedElementDetails& Details, const TRect& Rect, TElementSize ElementSize,
                      TSize& Size) const;
  // Where captions go inside BoundingRect.
  bool GetElementContentRect(HDC DC, const TThemedElementDetails& Details, const TRect& BoundingRect,
                             TRect& ContentRect) const;
  // A colour of an element state (ecTextColor: its caption colour); false when it has none.
  bool GetElementColor(const TThemedElementDetails& Details, TElementColor ElementColor, TColor& Color) const;
  // The style's replacement of a system colour; RGB colours and markers come back unchanged,
  // and so does everything with the built-in style.
  TColor GetSystemColor(TColor Color) const;
  TColor GetStyleColor(TStyleColor Color) const;
  TColor GetStyleFontColor(TStyleFont Font) const;

  // Whether parts of the element show what lies behind it (rounded corners, margins,
  // translucent or missing fills); false for details outside the catalogue.
  bool IsElementTransparent(const TThemedElementDetails& Details) const;
  // Paints into DC (a device context of Handle's client area) what Handle's parent shows
  // behind it: the parent erases (WM_ERASEBKGND) and paints its client area (WM_PRINTCLIENT)
  // into DC moved to the parent's coordinates, clipped to Bounds (Handle's client
  // coordinates; null: all of it). The parent's child windows are not painted, so a control
  // never paints itself this way. With OnlyIfTransparent and Details, nothing is painted for
  // an element without transparent parts. False for a window without a parent or a null DC.
  bool DrawParentBackground(HWND Handle, HDC DC, const TThemedElementDetails* Details, bool OnlyIfTransparent,
                            const TRect* Bounds = nullptr) const;

private:
  const TElementLook* LookOf(const TThemedElementDetails& d) const;

  std::shared_ptr<const TStyleData> FData;
  bool FSystemStyle;
  std::unique_ptr<TElementCache> FCache;
};

// The active style's services.
TCustomStyleServices& StyleServices();

// The classic switch behind TStyleManager::SetClassicLook (read from KV_CLASSIC at start).
bool ClassicLookActive();
void SetClassicLookActive(bool on);
