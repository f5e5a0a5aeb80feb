#pragma once
// The container and text controls: TkvPanel, TkvGroupBox and TkvLabel.
//
// All three paint off screen through Draw (TkvCustomControl). TkvPanel has seven background
// kinds, twenty border styles in two colours, an optional wallpaper from an image collection
// and an optional glowing caption. TkvGroupBox frames its children under a caption that may
// carry an image, a glow and a check box that can enable or disable every child. TkvLabel is a
// windowed label with glow, auto-size, word wrap, alignment and an accelerator that focuses
// another control.
//
// The geometry is kept in pure functions (border insets, the client inset of a panel, the
// group box's caption rectangle), so that painting, alignment and tests share one rule.
#include <memory>

#include "kv/kvControls/kvCustomControl.h"
#include "kv/kvControls/kvGlowEffect.h"
#include "kv/kvImageCollection/kvImageCollection.h"
#include "platform/graphics/imagelist.h"

// What a panel paints as its background.
KV_ENUM(TkvPanelStyleKind, kvpsPanel, kvpsToolBar, kvpsHeader, kvpsFormBackground, kvpsTransparent, kvpsEmpty,
        kvpsEdit)

// The frame or line a panel draws around or along itself, in its light (L) and shadow (S)
// colours: frames of one or two 1-pixel 3-D rings, bevels and single lines along one edge, and
// centre bevels across the middle.
KV_ENUM(TkvPanelBorderStyle, kvpbsNone, kvpbsFlat, kvpbsRaised, kvpbsLowered, kvpbsLoweredBevel, kvpbsRaisedBevel,
        kvpbsTopBevel, kvpbsBottomBevel, kvpbsTopLightLine, kvpbsBottomLightLine, kvpbsTopShadowLine,
        kvpbsBottomShadowLine, kvpbsLeftBevel, kvpbsRightBevel, kvpbsLeftLightLine, kvpbsRightLightLine,
        kvpbsLeftShadowLine, kvpbsRightShadowLine, kvpbsHorzCenterBevel, kvpbsVertCenterBevel)

// The space a border style takes from each side of the panel, as (left, top, right, bottom).
TRect PanelBorderInsets(TkvPanelBorderStyle BorderStyle);
// The space the panel keeps from its children on each side: the border's for the kinds that
// draw a border around their own background (panel, window background, transparent), 2 on
// every side for the edit kind (its frame), none for the tool bar, header and empty kinds.
TRect PanelClientInsets(TkvPanelStyleKind StyleKind, TkvPanelBorderStyle BorderStyle);
// Draws the border style over Rect in the two colours (system colours allowed).
void DrawPanelBorder(TCanvas* Canvas, const TRect& Rect, TkvPanelBorderStyle BorderStyle, TColor LightColor,
                     TColor ShadowColor);

class TkvPanel : public TkvCustomControl {
  KV_CLASS(TkvPanel, TkvCustomControl)
public:
  explicit TkvPanel(TComponent* AOwner);
  ~TkvPanel() override;

  TkvPanelStyleKind StyleKind() const { return FStyleKind; }
  void SetStyleKind(TkvPanelStyleKind Value);
  TkvPanelBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TkvPanelBorderStyle Value);
  TkvImageCollection* Wallpapers() const { return FWallpapers; }
  void SetWallpapers(TkvImageCollection* Value);
  int WallpaperIndex() const { return FWallpaperIndex; }
  void SetWallpaperIndex(int Value);
  TColor LightBorderColor() const { return FLightBorderColor; }
  void SetLightBorderColor(TColor Value);
  TColor ShadowBorderColor() const { return FShadowBorderColor; }
  void SetShadowBorderColor(TColor Value);
  bool ShowCaption() const { return FShowCaption; }
  void SetShowCaption(bool Value);
  TkvGlowEffect* CaptionGlowEffect() const { return FCaptionGlowEffect.get(); }
  void SetCaptionGlowEffect(TkvGlowEffect* Value) { FCaptionGlowEffect->Assign(Value); }
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);

  // The area the children share: the framework's less the inset of the style kind and border.
  void AdjustClientRect(TRect& Rect) const override;
  // True when Wallpapers holds an item at WallpaperIndex.
  bool HasWallpaper() const;

protected:
  void Draw(TCanvas* ACanvas, TkvsCtrlState ACtrlState) override;
  // The empty kind paints nothing at all, not even the parent's image, and erases nothing.
  void Paint() override;
  void WMEraseBkgnd(TMessage& Message) override;
  void CreateParams(TCreateParams& Params) override;
  void Dispatch(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void DrawBorder(TCanvas* ACanvas);
  void DrawWallpaper(TCanvas* ACanvas, const TRect& R);
  // The caption in R shrunk by its margin (the glow's, or 3 pixels).
  void DrawCaption(TCanvas* ACanvas, TRect R, TkvsCtrlState ACtrlState);
  // After a size change: repaint at once, and refresh the children's backgrounds when the
  // wallpaper's placement follows the size.
  void Resize() override;

private:
  void GlowChanged(TObject* Sender);
  // Repaints, realigns when the client inset moved, and lets transparent children re-capture.
  void LookChanged(const TRect& OldInsets);

  TkvPanelStyleKind FStyleKind = kvpsPanel;
  TkvImageCollection* FWallpapers = nullptr;
  int FWallpaperIndex = -1;
  TkvPanelBorderStyle FBorderStyle = kvpbsNone;
  TColor FLightBorderColor = clBtnHighlight;
  TColor FShadowBorderColor = clBtnShadow;
  bool FShowCaption = false;
  std::unique_ptr<TkvGlowEffect> FCaptionGlowEffect;
  TAlignment FAlignment = taCenter;
};

// Where a group box puts its caption: CaptionWidth x CaptionHeight along the top edge of a box
// Width pixels wide, by Alignment and reading direction, never left of x = 10 nor right of
// Width - 10.
TRect GroupBoxCaptionRect(TAlignment Alignment, bool RightToLeft, int Width, int CaptionWidth, int CaptionHeight);

class TkvGroupBox : public TkvCustomControl {
  KV_CLASS(TkvGroupBox, TkvCustomControl)
public:
  explicit TkvGroupBox(TComponent* AOwner);
  ~TkvGroupBox() override;

  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  bool ShowCheckBox() const { return FShowCheckBox; }
  void SetShowCheckBox(bool Value);
  bool Checked() const { return FChecked; }
  void SetChecked(bool Value);
  bool AutoEnabledControls() const { return FAutoEnabledControls; }
  void SetAutoEnabledControls(bool Value);
  TkvGlowEffect* GlowEffect() const { return FGlowEffect.get(); }
  void SetGlowEffect(TkvGlowEffect* Value) { FGlowEffect->Assign(Value); }
  bool ImageGlow() const { return FImageGlow; }
  void SetImageGlow(bool Value);
  // The caption rectangle of the last paint (empty before the first).
  TRect CaptionRect() const { return FCaptionRect; }

  // The caption band's height and the caption's width on a canvas that holds the font.
  int GetCaptionHeight(TCanvas* ACanvas) const;
  int GetCaptionWidth(TCanvas* ACanvas) const;
  // The area the children share: below the caption band, 3 pixels inside the frame.
  void AdjustClientRect(TRect& Rect) const override;

  TNotifyEvent OnChecked;

protected:
  void Draw(TCanvas* ACanvas, TkvsCtrlState ACtrlState) override;
  void Dispatch(TMessage& Message) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Loaded() override;
  // The caption's accelerator checks the box (never unchecks it) and enters the group.
  void CMDialogChar(TMessage& Message) override;

private:
  bool HasImage() const;
  // The check glyph, image and text in the caption rectangle (the clip holds it).
  void DrawCaptionContent(TCanvas* ACanvas, TkvsCtrlState State, bool RightToLeft);
  void GlowChanged(TObject* Sender);
  // Every child's Enabled becomes Checked.
  void ApplyCheckedToChildren();
  void CaptionLayoutChanged();

  TCustomImageList* FImages = nullptr;
  int FImageIndex = -1;
  TAlignment FAlignment = taLeftJustify;
  bool FShowCheckBox = false;
  bool FChecked = false;
  bool FAutoEnabledControls = false;
  TRect FCaptionRect;
  std::unique_ptr<TkvGlowEffect> FGlowEffect;
  bool FImageGlow = true;
};

class TkvLabel : public TkvCustomControl {
  KV_CLASS(TkvLabel, TkvCustomControl)
public:
  explicit TkvLabel(TComponent* AOwner);
  ~TkvLabel() override;

  TWinControl* FocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* Value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  TTextLayout Layout() const { return FLayout; }
  void SetLayout(TTextLayout Value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  bool ShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool Value);
  TkvGlowEffect* GlowEffect() const { return FGlowEffect.get(); }
  void SetGlowEffect(TkvGlowEffect* Value) { FGlowEffect->Assign(Value); }

  // The label's size follows its text (AdjustBounds) whenever auto-size is on.
  void AdjustSize() override;

protected:
  // The text the label shows: Caption.
  virtual String GetLabelText() const;
  // Draws (or with DT_CALCRECT measures) the text in Rect; an empty text, or a lone "&" when
  // "&" marks accelerators, measures as one blank so that a line height is given.
  virtual void DoDrawText(TCanvas* ACanvas, TRect& Rect, unsigned Flags);
  // Resizes the label to its text: keeps the right edge when right-justified, adds the glow's
  // margin, leaves the extent that a top, bottom or client alignment gives alone.
  virtual void AdjustBounds();
  void Draw(TCanvas* ACanvas, TkvsCtrlState ACtrlState) override;
  // After the framework's handling, the accelerator moves the focus to FocusControl.
  void CMDialogChar(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Loaded() override;

private:
  void GlowChanged(TObject* Sender);
  // The space a glow adds to each dimension: 2 GlowSize + Offset when enabled.
  int GlowExtent() const;
  unsigned TextFlags() const;

  TWinControl* FFocusControl = nullptr;
  TAlignment FAlignment = taLeftJustify;
  TTextLayout FLayout = tlTop;
  bool FWordWrap = false;
  bool FShowAccelChar = true;
  std::unique_ptr<TkvGlowEffect> FGlowEffect;
};
