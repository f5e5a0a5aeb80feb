#include "platform/themes/styleservices.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/core/classes.h"
#include "platform/themes/classiclook.h"
#include "platform/themes/stylemanager.h"
#include "platform/windows/messageloop.h"
#include "platform/windows/window.h"

namespace {
bool ClassicFromEnvironment() {
  const char* v = std::getenv("KV_CLASSIC");
  return v && (std::strcmp(v, "1") == 0 || SameText(v, "true") || SameText(v, "yes") || SameText(v, "on"));
}
bool& ClassicFlag() {
  static bool classic = ClassicFromEnvironment();
  return classic;
}
}  // namespace

bool ClassicLookActive() { return ClassicFlag(); }
void SetClassicLookActive(bool on) { ClassicFlag() = on; }

KV_IMPLEMENT_CLASS(TCustomStyleServices) {}

TCustomStyleServices::TCustomStyleServices(std::shared_ptr<const TStyleData> data, bool systemStyle)
    : FData(std::move(data)), FSystemStyle(systemStyle), FCache(std::make_unique<TElementCache>(FData)) {
  if (!FData || FData->Looks.size() != static_cast<size_t>(ElementCatalog::SlotCount()))
    throw EInvalidArgument("a style needs a look for every element state");
}

TCustomStyleServices::~TCustomStyleServices() = default;

bool TCustomStyleServices::Enabled() const { return !FSystemStyle || !ClassicLookActive(); }

const TElementLook* TCustomStyleServices::LookOf(const TThemedElementDetails& d) const { return FData->Look(d); }

bool TCustomStyleServices::DrawElement(HDC DC, const TThemedElementDetails& Details, const TRect& R, const TRect* ClipRect) {
  int slot = ElementCatalog::SlotOf(Details);
  if (!DC || slot < 0) return false;
  int saved = 0;
  if (ClipRect) {
    saved = SaveDC(DC);
    IntersectClipRect(DC, ClipRect->Left, ClipRect->Top, ClipRect->Right, ClipRect->Bottom);
  }
  if (Enabled()) FCache->Draw(DC, slot, R);
  else DrawClassicElement(DC, Details, R);
  if (saved) RestoreDC(DC, saved);
  return true;
}

bool TCustomStyleServices::GetElementSize(HDC, const TThemedElementDetails& Details, TElementSize ElementSize,
                                          TSize& Size) const {
  const TElementLook* l = LookOf(Details);
  if (!l || ElementSize == esStretch || l->Size.cx <= 0 || l->Size.cy <= 0) return false;
  // The classic frame controls are 13 pixels square, whatever the built-in look says.
  if (!Enabled() && Details.Element == teButton && (Details.Part == 2 || Details.Part == 3)) Size = {13, 13};
  else Size = l->Size;
  return true;
}

bool TCustomStyleServices::GetElementSize(HDC DC, const TThemedElementDetails& Details, const TRect&,
                                          TElementSize ElementSize, TSize& Size) const {
  return GetElementSize(DC, Details, ElementSize, Size);
}

bool TCustomStyleServices::GetElementContentRect(HDC, const TThemedElementDetails& Details, const TRect& BoundingRect,
                                                 TRect& ContentRect) const {
  const TElementLook* l = LookOf(Details);
  if (!l) return false;
  ContentRect = Enabled() ? l->Content.Apply(BoundingRect) : BoundingRect.Inflated(-2, -2);
  return true;
}

bool TCustomStyleServices::GetElementColor(const TThemedElementDetails& Details, TElementColor ElementColor,
                                           TColor& Color) const {
  const TElementLook* l = LookOf(Details);
  if (!l) return false;
  switch (ElementColor) {
    case ecTextColor:
      if (!l->Text) return false;
      Color = *l->Text;
      return true;
    case ecFillColor: {
      std::optional<TStyleRGBA> c = l->Fill.Representative();
      if (!c || c->A == 0) return false;
      Color = c->ToColor();
      return true;
    }
    case ecBorderColor:
      if (!l->Border.Visible()) return false;
      Color = l->Border.ToColor();
      return true;
    case ecGlyphColor:
      if (l->Glyph == sgNone || !l->GlyphColor.Visible()) return false;
      Color = l->GlyphColor.ToColor();
      return true;
  }
  return false;
}

TColor TCustomStyleServices::GetSystemColor(TColor Color) const {
  if (FSystemStyle || !IsSystemColor(Color) || Color == clNone || Color == clDefault) return Color;
  auto index = static_cast<uint32_t>(Color) & 0xFFFFFFu;
  if (index >= COLOR_COUNT) return Color;
  return FData->SystemColors.Colors[index];
}

TColor TCustomStyleServices::GetStyleColor(TStyleColor Color) const {
  if (static_cast<size_t>(Color) >= FData->Colors.size()) throw EInvalidArgument("unknown style colour " + IntToStr(Color));
  return FData->Colors[Color];
}

TColor TCustomStyleServices::GetStyleFontColor(TStyleFont Font) const {
  if (static_cast<size_t>(Font) >= FData->Fonts.size()) throw EInvalidArgument("unknown style font colour " + IntToStr(Font));
  return FData->Fonts[Font];
}

bool TCustomStyleServices::IsElementTransparent(const TThemedElementDetails& Details) const {
  const TElementLook* l = LookOf(Details);
  if (!l) return false;
  if (!Enabled()) return Details.Element == teButton && Details.Part != 1;  // classic glyphs and frames
  std::optional<TStyleRGBA> fill = l->Fill.Representative();
  bool opaqueFill = l->Fill.Kind == pkSolid ? fill && fill->A == 255
                    : l->Fill.Kind != pkNone && std::all_of(l->Fill.Stops.begin(), l->Fill.Stops.end(),
                                                            [](const TGradientStop& s) { return s.Color.A == 255; });
  return l->Picture >= 0 || !opaqueFill || l->Radius > 0 || l->Shadow.Visible() || l->Margin != TInsets{} ||
         (l->Border.Visible() && l->Border.A != 255);
}

bool TCustomStyleServices::DrawParentBackground(HWND Handle, HDC DC, const TThemedElementDetails* Details,
                                                bool OnlyIfTransparent, const TRect* Bounds) const {
  if (!DC || !IsWindow(Handle)) return false;
  HWND parent = GetAncestor(Handle, GA_PARENT);
  if (!parent || parent == GetDesktopWindow()) return false;
  if (OnlyIfTransparent && Details && !IsElementTransparent(*Details)) return true;
  TPoint origin;  // the control's client origin in the parent's client coordinates
  MapWindowPoints(Handle, parent, &origin, 1);
  int saved = SaveDC(DC);
  if (Bounds) IntersectClipRect(DC, Bounds->Left, Bounds->Top, Bounds->Right, Bounds->Bottom);
  OffsetViewportOrgEx(DC, -origin.X, -origin.Y, nullptr);
  SendMessage(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), 0);
  SendMessage(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(DC), PRF_CLIENT);
  RestoreDC(DC, saved);
  return true;
}

TCustomStyleServices& StyleServices() { return *TStyleManager::ActiveStyle(); }
