#include "kv/kvControls/kvPanels.h"

#include <algorithm>
#include <vector>

#include "kv/kvUtils/kvColors.h"
#include "kv/kvUtils/kvGlow.h"
#include "kv/kvUtils/kvGlyphs.h"
#include "kv/kvUtils/kvLayout.h"
#include "kv/kvUtils/kvPaint.h"
#include "kv/kvUtils/kvStyled.h"
#include "kv/kvUtils/kvText.h"
#include "platform/controls/forms.h"
#include "platform/graphics/dc.h"
#include "platform/graphics/text.h"
#include "platform/windows/styles.h"

KV_IMPLEMENT_CLASS(TkvPanel) {
  r.Prop("StyleKind", &TkvPanel::StyleKind, &TkvPanel::SetStyleKind, kvpsPanel);
  r.Prop("BorderStyle", &TkvPanel::BorderStyle, &TkvPanel::SetBorderStyle, kvpbsNone);
  r.Prop("ShowCaption", &TkvPanel::ShowCaption, &TkvPanel::SetShowCaption, false);
  r.Prop("Wallpapers", &TkvPanel::Wallpapers, &TkvPanel::SetWallpapers);
  r.Prop("WallpaperIndex", &TkvPanel::WallpaperIndex, &TkvPanel::SetWallpaperIndex, -1);
  r.Color("LightBorderColor", &TkvPanel::LightBorderColor, &TkvPanel::SetLightBorderColor, clBtnHighlight);
  r.Color("ShadowBorderColor", &TkvPanel::ShadowBorderColor, &TkvPanel::SetShadowBorderColor, clBtnShadow);
  r.Prop("CaptionGlowEffect", &TkvPanel::CaptionGlowEffect, &TkvPanel::SetCaptionGlowEffect);
  r.Prop("Alignment", &TkvPanel::Alignment, &TkvPanel::SetAlignment, taCenter);
  r.Color("Color", &TkvPanel::Color, &TkvPanel::SetColor, clBtnFace);
  r.Stored("Color", &TkvPanel::IsColorStored);
  r.Prop("ParentColor", &TkvPanel::ParentColor, &TkvPanel::SetParentColor, false);
}

KV_IMPLEMENT_CLASS(TkvGroupBox) {
  r.Prop("Images", &TkvGroupBox::Images, &TkvGroupBox::SetImages);
  r.Prop("ImageIndex", &TkvGroupBox::ImageIndex, &TkvGroupBox::SetImageIndex, -1);
  r.Prop("Alignment", &TkvGroupBox::Alignment, &TkvGroupBox::SetAlignment, taLeftJustify);
  r.Prop("ShowCheckBox", &TkvGroupBox::ShowCheckBox, &TkvGroupBox::SetShowCheckBox, false);
  r.Prop("Checked", &TkvGroupBox::Checked, &TkvGroupBox::SetChecked, false);
  r.Prop("AutoEnabledControls", &TkvGroupBox::AutoEnabledControls, &TkvGroupBox::SetAutoEnabledControls, false);
  r.Prop("GlowEffect", &TkvGroupBox::GlowEffect, &TkvGroupBox::SetGlowEffect);
  r.Prop("ImageGlow", &TkvGroupBox::ImageGlow, &TkvGroupBox::SetImageGlow, true);
  r.Event("OnChecked", &TkvGroupBox::OnChecked);
}

KV_IMPLEMENT_CLASS(TkvLabel) {
  r.Prop("GlowEffect", &TkvLabel::GlowEffect, &TkvLabel::SetGlowEffect);
  r.Prop("AutoSize", &TkvLabel::AutoSize, &TkvLabel::SetAutoSize, true);
  r.Prop("Layout", &TkvLabel::Layout, &TkvLabel::SetLayout, tlTop);
  r.Prop("Alignment", &TkvLabel::Alignment, &TkvLabel::SetAlignment, taLeftJustify);
  r.Prop("FocusControl", &TkvLabel::FocusControl, &TkvLabel::SetFocusControl);
  r.Prop("ShowAccelChar", &TkvLabel::ShowAccelChar, &TkvLabel::SetShowAccelChar, true);
  r.Prop("WordWrap", &TkvLabel::WordWrap, &TkvLabel::SetWordWrap, false);
}

namespace {
bool IsLoading(const TComponent* c) { return c->ComponentState().Contains(csLoading); }
bool IsDestroying(const TComponent* c) { return c->ComponentState().Contains(csDestroying); }

unsigned AlignmentFlag(TAlignment a) {
  switch (a) {
    case taRightJustify: return DT_RIGHT;
    case taCenter: return DT_CENTER;
    default: return DT_LEFT;
  }
}

// The canvas font of a caption: the control's font, in the style's colour for the piece when a
// custom style colours fonts, grey when the control is disabled in the other looks.
void TakeCaptionFont(TCanvas* c, const TControl* control, TkvsCtrlState state, TColor styledColor) {
  c->Font()->Assign(control->Font());
  if (IsCustomStyle()) {
    if (control->StyleElements().Contains(seFont)) c->Font()->SetColor(styledColor);
  } else if (state == kvsDisabled) {
    c->Font()->SetColor(clGrayText);
  }
}

// Runs draw with the device context's clip narrowed (Exclude: Rect taken out; otherwise only
// Rect left), and restores the context afterwards, also when drawing fails. The canvas is told
// that the context changed under it, so that it selects its pen, brush and font again rather
// than trusting what the restored context no longer holds.
template <class F>
void WithClip(TCanvas* c, const TRect& Rect, bool Exclude, F draw) {
  HDC dc = c->Handle();
  const int saved = SaveDC(dc);
  struct Restore {
    HDC dc;
    int level;
    ~Restore() { RestoreDC(dc, level); }
  } restore{dc, saved};
  if (Exclude) ExcludeClipRect(dc, Rect.Left, Rect.Top, Rect.Right, Rect.Bottom);
  else IntersectClipRect(dc, Rect.Left, Rect.Top, Rect.Right, Rect.Bottom);
  draw();
}

constexpr int kGlyphLeft = 0, kGlyphRight = 1;  // content layouts: image before or after the text

// A canvas for measuring text outside painting, holding Control's font. One for all controls
// (the user-interface thread owns them all), kept for the program's life.
TCanvas* MeasureCanvas(const TControl* Control) {
  static TBitmap* const scratch = new TBitmap(1, 1);
  TCanvas* c = scratch->Canvas();
  c->Font()->Assign(Control->Font());
  return c;
}
}  // namespace

// ---- border geometry ----

TRect PanelBorderInsets(TkvPanelBorderStyle BorderStyle) {
  switch (BorderStyle) {
    case kvpbsFlat:
    case kvpbsRaised:
    case kvpbsLowered: return {1, 1, 1, 1};
    case kvpbsLoweredBevel:
    case kvpbsRaisedBevel: return {2, 2, 2, 2};
    case kvpbsTopBevel: return {0, 2, 0, 0};
    case kvpbsBottomBevel: return {0, 0, 0, 2};
    case kvpbsTopLightLine:
    case kvpbsTopShadowLine: return {0, 1, 0, 0};
    case kvpbsBottomLightLine:
    case kvpbsBottomShadowLine: return {0, 0, 0, 1};
    case kvpbsLeftBevel: return {2, 0, 0, 0};
    case kvpbsRightBevel: return {0, 0, 2, 0};
    case kvpbsLeftLightLine:
    case kvpbsLeftShadowLine: return {1, 0, 0, 0};
    case kvpbsRightLightLine:
    case kvpbsRightShadowLine: return {0, 0, 1, 0};
    default: return {};  // none, and the centre bevels, which children may cover
  }
}

TRect PanelClientInsets(TkvPanelStyleKind StyleKind, TkvPanelBorderStyle BorderStyle) {
  switch (StyleKind) {
    case kvpsPanel:
    case kvpsFormBackground:
    case kvpsTransparent: return PanelBorderInsets(BorderStyle);
    case kvpsEdit: return {2, 2, 2, 2};
    default: return {};
  }
}

void DrawPanelBorder(TCanvas* Canvas, const TRect& Rect, TkvPanelBorderStyle BorderStyle, TColor LightColor,
                     TColor ShadowColor) {
  if (!Canvas || BorderStyle == kvpbsNone || Rect.IsEmpty()) return;
  TRect r = Rect;
  const TColor L = LightColor, S = ShadowColor;
  switch (BorderStyle) {
    case kvpbsFlat: DrawFrame3D(Canvas, r, S, S); return;
    case kvpbsRaised: DrawFrame3D(Canvas, r, L, S); return;
    case kvpbsLowered: DrawFrame3D(Canvas, r, S, L); return;
    case kvpbsLoweredBevel:
      DrawFrame3D(Canvas, r, S, L);
      DrawFrame3D(Canvas, r, L, S);
      return;
    case kvpbsRaisedBevel:
      DrawFrame3D(Canvas, r, L, S);
      DrawFrame3D(Canvas, r, S, L);
      return;
    default: break;
  }
  // Lines along one edge or across the middle: (colour, row or column) pairs.
  const int w = r.Width(), h = r.Height();
  const int cy = (r.Top + r.Bottom) / 2, cx = (r.Left + r.Right) / 2;
  struct Line {
    bool Horizontal;
    int At;
    TColor Color;
  };
  std::vector<Line> lines;
  switch (BorderStyle) {
    case kvpbsTopBevel: lines = {{true, r.Top, S}, {true, r.Top + 1, L}}; break;
    case kvpbsBottomBevel: lines = {{true, r.Bottom - 2, S}, {true, r.Bottom - 1, L}}; break;
    case kvpbsTopLightLine: lines = {{true, r.Top, L}}; break;
    case kvpbsBottomLightLine: lines = {{true, r.Bottom - 1, L}}; break;
    case kvpbsTopShadowLine: lines = {{true, r.Top, S}}; break;
    case kvpbsBottomShadowLine: lines = {{true, r.Bottom - 1, S}}; break;
    case kvpbsLeftBevel: lines = {{false, r.Left, S}, {false, r.Left + 1, L}}; break;
    case kvpbsRightBevel: lines = {{false, r.Right - 2, S}, {false, r.Right - 1, L}}; break;
    case kvpbsLeftLightLine: lines = {{false, r.Left, L}}; break;
    case kvpbsRightLightLine: lines = {{false, r.Right - 1, L}}; break;
    case kvpbsLeftShadowLine: lines = {{false, r.Left, S}}; break;
    case kvpbsRightShadowLine: lines = {{false, r.Right - 1, S}}; break;
    case kvpbsHorzCenterBevel: lines = {{true, cy - 1, S}, {true, cy, L}}; break;
    case kvpbsVertCenterBevel: lines = {{false, cx - 1, S}, {false, cx, L}}; break;
    default: break;
  }
  TSolidPainter p(Canvas);
  for (const Line& line : lines) {
    p.SetColor(line.Color);
    if (line.Horizontal) p.HLine(r.Left, line.At, w);
    else p.VLine(line.At, r.Top, h);
  }
}

// ---- TkvPanel ----

TkvPanel::TkvPanel(TComponent* AOwner)
    : TkvCustomControl(AOwner), FCaptionGlowEffect(std::make_unique<TkvGlowEffect>()) {
  FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csOpaque,
                   csDoubleClicks,    csReplicatable, csPannable,    csGestures};
  FTransparentBackground = false;
  FCaptionGlowEffect->SetColor(clBtnShadow);
  FCaptionGlowEffect->OnChange = TNotifyEvent(this, &TkvPanel::GlowChanged);
  SetBounds(0, 0, 185, 41);
  SetParentColor(false);
  SetColor(clBtnFace);
}

TkvPanel::~TkvPanel() = default;

void TkvPanel::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  // A resize repaints the panel itself (WM_SIZE); the whole window need not be invalidated.
  Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

bool TkvPanel::HasWallpaper() const {
  return FWallpapers && FWallpaperIndex >= 0 && FWallpaperIndex < FWallpapers->Count();
}

void TkvPanel::LookChanged(const TRect& OldInsets) {
  if (PanelClientInsets(FStyleKind, FBorderStyle) != OldInsets) Realign();
  RePaintControl();
  RefreshChildrenBackground();
}

void TkvPanel::SetStyleKind(TkvPanelStyleKind Value) {
  if (FStyleKind == Value) return;
  const TRect old = PanelClientInsets(FStyleKind, FBorderStyle);
  const bool wasTransparent = FStyleKind == kvpsTransparent;
  FStyleKind = Value;
  if (Value == kvpsTransparent) {
    FTransparentBackground = true;
    CaptureParentBackground();
  } else if (wasTransparent) {
    FTransparentBackground = false;
    CaptureParentBackground();  // an opaque control drops its copy of the parent's image
  }
  LookChanged(old);
}

void TkvPanel::SetBorderStyle(TkvPanelBorderStyle Value) {
  if (FBorderStyle == Value) return;
  const TRect old = PanelClientInsets(FStyleKind, FBorderStyle);
  FBorderStyle = Value;
  if (PanelClientInsets(FStyleKind, FBorderStyle) != old) Realign();
  RePaintControl();
}

void TkvPanel::SetWallpapers(TkvImageCollection* Value) {
  if (FWallpapers == Value) return;
  if (FWallpapers) FWallpapers->RemoveFreeNotification(this);
  FWallpapers = Value;
  if (Value) Value->FreeNotification(this);
  RePaintControl();
  RefreshChildrenBackground();
}

void TkvPanel::SetWallpaperIndex(int Value) {
  if (FWallpaperIndex == Value) return;
  FWallpaperIndex = Value;
  RePaintControl();
  RefreshChildrenBackground();
}

void TkvPanel::SetLightBorderColor(TColor Value) {
  if (FLightBorderColor == Value) return;
  FLightBorderColor = Value;
  RePaintControl();
}

void TkvPanel::SetShadowBorderColor(TColor Value) {
  if (FShadowBorderColor == Value) return;
  FShadowBorderColor = Value;
  RePaintControl();
}

void TkvPanel::SetShowCaption(bool Value) {
  if (FShowCaption == Value) return;
  FShowCaption = Value;
  RePaintControl();
}

void TkvPanel::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  RePaintControl();
}

void TkvPanel::GlowChanged(TObject*) {
  if (!IsLoading(this) && FShowCaption) RePaintControl();
}

void TkvPanel::AdjustClientRect(TRect& Rect) const {
  inherited::AdjustClientRect(Rect);
  const TRect inset = PanelClientInsets(FStyleKind, FBorderStyle);
  Rect.Left += inset.Left;
  Rect.Top += inset.Top;
  Rect.Right -= inset.Right;
  Rect.Bottom -= inset.Bottom;
}

void TkvPanel::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FWallpapers) {
    FWallpapers = nullptr;
    if (!IsDestroying(this)) RePaintControl();
  }
}

void TkvPanel::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_TEXTCHANGED:
      inherited::Dispatch(Message);
      if (FShowCaption) RePaintControl();
      return;
    default: inherited::Dispatch(Message);
  }
}

void TkvPanel::Resize() {
  const auto alive = AliveGuard();
  inherited::Resize();
  if (!alive) return;
  RePaintControl();
  // Transparent children see a wallpaper placed by the panel's size only after they capture
  // their background again; a transparent panel's base handling already tells them.
  if (!FTransparentBackground && HasWallpaper() && FWallpapers->Images()->Items(FWallpaperIndex)->NeedFullUpdate())
    RefreshChildrenBackground();
}

void TkvPanel::Paint() {
  if (FStyleKind == kvpsEmpty) return;
  inherited::Paint();
}

void TkvPanel::WMEraseBkgnd(TMessage& Message) {
  // Not even erased: what lies behind an empty panel stays as it is.
  if (FStyleKind == kvpsEmpty) {
    Message.Result = 1;
    return;
  }
  inherited::WMEraseBkgnd(Message);
}

void TkvPanel::DrawWallpaper(TCanvas* ACanvas, const TRect& R) {
  FWallpapers->Draw(ACanvas, R, FWallpaperIndex);
}

void TkvPanel::DrawBorder(TCanvas* ACanvas) {
  TColor light = FLightBorderColor, shadow = FShadowBorderColor;
  if (StyleElements().Contains(seClient) && IsCustomStyle()) {
    light = GetStyleSystemColor(light);
    shadow = GetStyleSystemColor(shadow);
  }
  DrawPanelBorder(ACanvas, TRect(0, 0, Width(), Height()), FBorderStyle, light, shadow);
}

void TkvPanel::Draw(TCanvas* ACanvas, TkvsCtrlState ACtrlState) {
  TRect r(0, 0, Width(), Height());
  const TkvImageCollectionItem* wallpaper = HasWallpaper() ? FWallpapers->Images()->Items(FWallpaperIndex) : nullptr;
  // A wallpaper that covers every pixel is the whole background.
  if (wallpaper && !wallpaper->Transparent() && wallpaper->CoversTarget()) {
    DrawWallpaper(ACanvas, r);
    DrawBorder(ACanvas);
    return;
  }
  bool border = true;
  switch (FStyleKind) {
    case kvpsPanel: {
      TColor fill = Color();
      if (StyleElements().Contains(seClient) && IsCustomStyle()) fill = GetStyleSystemColor(fill);
      ACanvas->Brush()->SetStyle(bsSolid);
      ACanvas->Brush()->SetColor(fill);
      ACanvas->FillRect(r);
      DrawBorder(ACanvas);
      break;
    }
    case kvpsToolBar:
    case kvpsHeader:
      if (IsCustomStyle()) {
        ACanvas->Brush()->SetStyle(bsSolid);
        ACanvas->Brush()->SetColor(GetStyleSystemColor(clBtnFace));
        ACanvas->FillRect(r);
      }
      if (FStyleKind == kvpsToolBar) DrawToolBarBackground(ACanvas, r);
      else DrawHeaderSection(ACanvas, r, kvsNormal);
      border = false;
      break;
    case kvpsFormBackground:
      DrawFormBackground(ACanvas, r);
      DrawBorder(ACanvas);
      break;
    case kvpsTransparent: DrawBorder(ACanvas); break;
    case kvpsEdit:
      ACanvas->Brush()->SetStyle(bsSolid);
      ACanvas->Brush()->SetColor(GetStyleSystemColor(clBtnFace));
      ACanvas->FillRect(r);
      DrawEditFrame(ACanvas, r, kvsNormal);
      r.Inflate(-2, -2);
      // A disabled edit kind shows the disabled edit ground, as a disabled edit would.
      ACanvas->Brush()->SetColor(GetEditBrushColor(ACtrlState == kvsDisabled ? kvsDisabled : kvsNormal));
      ACanvas->FillRect(r);
      border = false;
      break;
    case kvpsEmpty: return;
  }
  if (wallpaper) {
    DrawWallpaper(ACanvas, r);
    if (border) DrawBorder(ACanvas);
  }
  if (FShowCaption) DrawCaption(ACanvas, r, ACtrlState);
}

void TkvPanel::DrawCaption(TCanvas* ACanvas, TRect R, TkvsCtrlState ACtrlState) {
  const TkvGlowEffect& glow = *FCaptionGlowEffect;
  const int inset = glow.Enabled() ? glow.GlowSize() + glow.Offset() : 3;
  R.Inflate(-inset, -inset);
  const TColor styled = FStyleKind == kvpsHeader ? GetHeaderTextColor(kvsNormal)
                        : FStyleKind == kvpsEdit ? GetEditTextColor(ACtrlState == kvsDisabled ? kvsDisabled : kvsNormal)
                                                 : GetCheckBoxTextColor(ACtrlState);
  TakeCaptionFont(ACanvas, this, ACtrlState, styled);
  ACanvas->Brush()->SetStyle(bsClear);
  const unsigned flags = DT_SINGLELINE | DT_VCENTER | AlignmentFlag(FAlignment);
  const bool rtl = IsRightToLeft();
  String text = Caption();
  if (glow.Enabled())
    DrawTextWithGlow(ACanvas, R, text, flags, glow.Offset(), glow.Color(), glow.GlowSize(), glow.Intensive(),
                     glow.AlphaValue(), rtl);
  else
    ACanvas->TextRect(R, text, BidiTextFlags(flags, rtl));
}

// ---- TkvGroupBox ----

TRect GroupBoxCaptionRect(TAlignment Alignment, bool RightToLeft, int Width, int CaptionWidth, int CaptionHeight) {
  const int W = Width, CW = CaptionWidth, CH = CaptionHeight;
  TRect r;
  switch (Alignment) {
    case taLeftJustify: r = RightToLeft ? TRect(W - 10 - CW, 0, W - 10, CH) : TRect(10, 0, 10 + CW, CH); break;
    case taRightJustify: r = RightToLeft ? TRect(10, 0, 14 + CW, CH) : TRect(W - 10 - CW, 0, W - 10, CH); break;
    default: r = TRect(W / 2 - CW / 2, 0, W / 2 + CW / 2, CH); break;
  }
  r.Left = std::max(r.Left, 10);
  r.Right = std::min(r.Right, W - 10);
  return r;
}

TkvGroupBox::TkvGroupBox(TComponent* AOwner)
    : TkvCustomControl(AOwner), FGlowEffect(std::make_unique<TkvGlowEffect>()) {
  FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption,
                   csOpaque,          csDoubleClicks, csReplicatable};
  FGlowEffect->OnChange = TNotifyEvent(this, &TkvGroupBox::GlowChanged);
  SetBounds(0, 0, 150, 130);
}

TkvGroupBox::~TkvGroupBox() = default;

bool TkvGroupBox::HasImage() const { return FImages && FImageIndex >= 0 && FImageIndex < FImages->Count(); }

int TkvGroupBox::GetCaptionHeight(TCanvas* ACanvas) const {
  int h = ACanvas->TextHeight("Wq");
  if (FImages) h = std::max(h, FImages->Height());
  if (FShowCheckBox) h = std::max(h, 20);
  if (FGlowEffect->Enabled()) h += 2 * FGlowEffect->GlowSize() + FGlowEffect->Offset();
  return h;
}

int TkvGroupBox::GetCaptionWidth(TCanvas* ACanvas) const {
  String text = Caption();
  TRect r;
  ACanvas->TextRect(r, text, DT_CALCRECT | DT_SINGLELINE);
  int w = r.Width() + 2;
  if (HasImage()) w += FImages->Width() + 2;
  if (FShowCheckBox) w += 20;
  if (FGlowEffect->Enabled()) w += 2 * FGlowEffect->GlowSize() + FGlowEffect->Offset();
  return w;
}

void TkvGroupBox::AdjustClientRect(TRect& Rect) const {
  inherited::AdjustClientRect(Rect);
  Rect.Top += GetCaptionHeight(MeasureCanvas(this));
  Rect.Inflate(-3, -3);
}

void TkvGroupBox::CaptionLayoutChanged() {
  Realign();
  RePaintControl();
}

void TkvGroupBox::SetImages(TCustomImageList* Value) {
  if (FImages == Value) return;
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = Value;
  if (Value) Value->FreeNotification(this);
  CaptionLayoutChanged();
}

void TkvGroupBox::SetImageIndex(int Value) {
  if (FImageIndex == Value) return;
  FImageIndex = Value;
  RePaintControl();
}

void TkvGroupBox::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  RePaintControl();
}

void TkvGroupBox::SetShowCheckBox(bool Value) {
  if (FShowCheckBox == Value) return;
  FShowCheckBox = Value;
  // The check box raises the caption band to 20 pixels at least.
  CaptionLayoutChanged();
}

void TkvGroupBox::SetImageGlow(bool Value) {
  if (FImageGlow == Value) return;
  FImageGlow = Value;
  RePaintControl();
}

void TkvGroupBox::ApplyCheckedToChildren() {
  std::vector<TControl*> children;
  for (int i = 0; i < ControlCount(); ++i) children.push_back(Controls(i));
  const auto alive = AliveGuard();
  for (TControl* child : children) {
    if (!alive) return;
    if (ContainsControl(child)) child->SetEnabled(FChecked);
  }
}

void TkvGroupBox::SetChecked(bool Value) {
  if (FChecked == Value) return;
  FChecked = Value;
  // While loading the children may not exist yet: Loaded applies the state.
  if (IsLoading(this)) return;
  RePaintControl();
  if (FAutoEnabledControls) ApplyCheckedToChildren();
  OnChecked(this);
}

void TkvGroupBox::SetAutoEnabledControls(bool Value) {
  if (FAutoEnabledControls == Value) return;
  FAutoEnabledControls = Value;
  if (Value && !IsLoading(this)) ApplyCheckedToChildren();
}

void TkvGroupBox::Loaded() {
  inherited::Loaded();
  if (FAutoEnabledControls) ApplyCheckedToChildren();
}

void TkvGroupBox::GlowChanged(TObject*) {
  if (!IsLoading(this)) CaptionLayoutChanged();
}

void TkvGroupBox::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImages) {
    FImages = nullptr;
    if (!IsDestroying(this)) CaptionLayoutChanged();
  }
}

void TkvGroupBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
      inherited::Dispatch(Message);
      CaptionLayoutChanged();
      return;
    default: inherited::Dispatch(Message);
  }
}

void TkvGroupBox::CMDialogChar(TMessage& Message) {
  if (!IsAccel(static_cast<char32_t>(Message.WParam), Caption()) || !CanFocus()) {
    inherited::CMDialogChar(Message);
    return;
  }
  // The accelerator checks the box (never unchecks it), then enters the group.
  const auto alive = AliveGuard();
  if (FShowCheckBox && !FChecked) SetChecked(true);
  if (!alive) return;
  if (TWinControl* first = FindNextControl(nullptr, true, true, false)) first->SetFocus();
  Message.Result = 1;
}

void TkvGroupBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  const auto alive = AliveGuard();
  inherited::MouseUp(Button, Shift, X, Y);
  if (!alive) return;
  if (Button == mbLeft && FShowCheckBox && !FCaptionRect.IsEmpty() && PointInRect(FCaptionRect, TPoint(X, Y)))
    SetChecked(!FChecked);
}

void TkvGroupBox::Draw(TCanvas* ACanvas, TkvsCtrlState ACtrlState) {
  // A group box is normal or disabled; hot and pressed looks belong to its caption's check box.
  const TkvsCtrlState state = ACtrlState == kvsDisabled ? kvsDisabled : kvsNormal;
  TakeCaptionFont(ACanvas, this, state, GetGroupBoxTextColor(state));
  const int W = Width(), H = Height();
  const int CW = GetCaptionWidth(ACanvas), CH = GetCaptionHeight(ACanvas);
  const bool rtl = IsRightToLeft();
  FCaptionRect = GroupBoxCaptionRect(FAlignment, rtl, W, CW, CH);
  const bool content = !Caption().empty() || HasImage() || FShowCheckBox;

  const TRect frame(0, CH / 2, W, H);
  if (content) WithClip(ACanvas, FCaptionRect, true, [&] { DrawGroupFrame(ACanvas, frame); });
  else DrawGroupFrame(ACanvas, frame);
  if (!content || FCaptionRect.IsEmpty()) return;

  WithClip(ACanvas, FCaptionRect, false, [&] { DrawCaptionContent(ACanvas, state, rtl); });
}

void TkvGroupBox::DrawCaptionContent(TCanvas* ACanvas, TkvsCtrlState State, bool RightToLeft) {
  const String text = Caption();
  const bool image = HasImage();
  TRect c = FCaptionRect;
  if (FShowCheckBox) {
    TRect glyph(c.Left, c.Top + 2, c.Left + 18, c.Bottom);
    if (RightToLeft) glyph = TRect(c.Right - 18, c.Top + 2, c.Right, c.Bottom);
    DrawCheckBox(ACanvas, glyph, State, FChecked ? 1 : 0);
    if (RightToLeft) c.Right -= 18;
    else c.Left += 18;
  }
  ACanvas->Brush()->SetStyle(bsClear);
  const TkvGlowEffect& glow = *FGlowEffect;
  const int layout = RightToLeft ? kGlyphRight : kGlyphLeft;
  if (glow.Enabled()) {
    if (!image) {
      // The text starts far enough in for its glow (which the width allows for) to stay
      // inside the caption, off the check glyph and the frame's line.
      if (RightToLeft) c.Right -= glow.GlowSize() + glow.Offset();
      else c.Left += std::max(glow.GlowSize() - glow.Offset(), 0);
      DrawTextWithGlow(ACanvas, c, text, DT_SINGLELINE | DT_VCENTER, glow.Offset(), glow.Color(), glow.GlowSize(),
                       glow.Intensive(), glow.AlphaValue(), RightToLeft);
    } else {
      DrawImageAndTextGlow(ACanvas, c, 0, glow.GlowSize() + 4, layout, text, FImageIndex, FImages,
                           State == kvsNormal, false, clNone, glow.Offset(), glow.Color(), glow.GlowSize(),
                           glow.Intensive(), glow.AlphaValue(), FImageGlow, false, RightToLeft);
    }
  } else if (!image) {
    DrawSingleLineText(ACanvas, text, c, RightToLeft);
  } else {
    DrawImageAndText(ACanvas, c, 0, 4, layout, text, FImageIndex, FImages, State == kvsNormal, false, clNone, false,
                     RightToLeft);
  }
}

// ---- TkvLabel ----

TkvLabel::TkvLabel(TComponent* AOwner) : TkvCustomControl(AOwner), FGlowEffect(std::make_unique<TkvGlowEffect>()) {
  FControlStyle = {csCaptureMouse, csClickEvents, csSetCaption, csOpaque, csDoubleClicks, csReplicatable};
  FGlowEffect->SetColor(clBtnShadow);
  FGlowEffect->OnChange = TNotifyEvent(this, &TkvLabel::GlowChanged);
  SetBounds(0, 0, 65, 17);
  SetAutoSize(true);
}

TkvLabel::~TkvLabel() = default;

String TkvLabel::GetLabelText() const { return Caption(); }

int TkvLabel::GlowExtent() const {
  return FGlowEffect->Enabled() ? 2 * FGlowEffect->GlowSize() + FGlowEffect->Offset() : 0;
}

unsigned TkvLabel::TextFlags() const {
  unsigned f = DT_EXPANDTABS | AlignmentFlag(FAlignment);
  if (FWordWrap) f |= DT_WORDBREAK;
  if (!FShowAccelChar) f |= DT_NOPREFIX;
  return f;
}

void TkvLabel::DoDrawText(TCanvas* ACanvas, TRect& Rect, unsigned Flags) {
  String text = GetLabelText();
  if ((Flags & DT_CALCRECT) && (text.empty() || (FShowAccelChar && text == "&"))) text += " ";
  if (!FShowAccelChar) Flags |= DT_NOPREFIX;
  Flags = DrawTextBiDiModeFlags(Flags);
  ACanvas->TextRect(Rect, text, Flags);
}

void TkvLabel::AdjustSize() { AdjustBounds(); }

void TkvLabel::AdjustBounds() {
  if (IsLoading(this) || IsDestroying(this) || !AutoSize()) return;
  if (Align() == alTop || Align() == alBottom || Align() == alClient) return;
  TCanvas* c = MeasureCanvas(this);
  const int extra = GlowExtent();
  // Measured in the width left to the text, so that a wrapped text with a glow keeps its size.
  TRect r(0, 0, std::max(Width() - extra, 0), std::max(Height() - extra, 0));
  DoDrawText(c, r, DT_CALCRECT | DT_EXPANDTABS | (FWordWrap ? unsigned(DT_WORDBREAK) : 0u));
  const int w = r.Right + extra, h = r.Bottom + extra;
  TAlignment align = FAlignment;
  if (UseRightToLeftAlignment()) {
    if (align == taLeftJustify) align = taRightJustify;
    else if (align == taRightJustify) align = taLeftJustify;
  }
  // A right-justified label keeps its right edge.
  const int x = align == taRightJustify ? Left() + Width() - w : Left();
  SetBounds(x, Top(), w, h);
}

void TkvLabel::Loaded() {
  inherited::Loaded();
  AdjustBounds();
}

void TkvLabel::SetFocusControl(TWinControl* Value) {
  if (FFocusControl == Value) return;
  if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
  FFocusControl = Value;
  if (Value) Value->FreeNotification(this);
}

void TkvLabel::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

void TkvLabel::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  RePaintControl();
}

void TkvLabel::SetLayout(TTextLayout Value) {
  if (FLayout == Value) return;
  FLayout = Value;
  RePaintControl();
}

void TkvLabel::SetWordWrap(bool Value) {
  if (FWordWrap == Value) return;
  FWordWrap = Value;
  AdjustBounds();
  RePaintControl();
}

void TkvLabel::SetShowAccelChar(bool Value) {
  if (FShowAccelChar == Value) return;
  FShowAccelChar = Value;
  // "&&" and an accelerator's "&" measure differently with and without prefixes.
  AdjustBounds();
  RePaintControl();
}

void TkvLabel::GlowChanged(TObject*) {
  if (IsLoading(this)) return;
  AdjustBounds();
  RePaintControl();
}

void TkvLabel::CMDialogChar(TMessage& Message) {
  inherited::CMDialogChar(Message);
  if (Message.Result == 0 && FFocusControl && Enabled() && FShowAccelChar &&
      IsAccel(static_cast<char32_t>(Message.WParam), Caption()) && FFocusControl->CanFocus()) {
    FFocusControl->SetFocus();
    Message.Result = 1;
  }
}

void TkvLabel::Draw(TCanvas* ACanvas, TkvsCtrlState ACtrlState) {
  TakeCaptionFont(ACanvas, this, ACtrlState, GetCheckBoxTextColor(ACtrlState));
  ACanvas->Brush()->SetStyle(bsClear);
  const TkvGlowEffect& glow = *FGlowEffect;
  const int G = glow.Enabled() ? glow.GlowSize() : 0, O = glow.Enabled() ? glow.Offset() : 0;
  TRect r(std::max(G - O, 0), std::max(G - O, 0), Width() - G - O, Height() - G - O);
  const unsigned flags = TextFlags();
  if (FLayout != tlTop) {
    // The text block moves down within the label: to the middle or to the bottom.
    TRect calc(0, 0, r.Width(), 0);
    DoDrawText(ACanvas, calc, flags | DT_CALCRECT);
    int dy = r.Height() - calc.Height();
    if (FLayout == tlCenter) dy /= 2;
    r.Top += std::max(dy, 0);
  }
  if (glow.Enabled()) {
    // The reading-direction adjustment is made once, here, not again by the glow renderer.
    DrawTextWithGlow(ACanvas, r, GetLabelText(), DrawTextBiDiModeFlags(flags), glow.Offset(), glow.Color(),
                     glow.GlowSize(), glow.Intensive(), glow.AlphaValue(), false);
  } else {
    DoDrawText(ACanvas, r, flags);
  }
}
