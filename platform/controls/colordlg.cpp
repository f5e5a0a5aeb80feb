// The colour dialog: a grid of colours (arrows move, a click or Enter takes one), a hue and
// saturation spectrum with a lightness bar for any other colour, a preview, OK and Cancel.
#include <algorithm>
#include <cmath>

#include "platform/controls/application.h"
#include "platform/controls/dialogs.h"
#include "platform/controls/extctrls.h"
#include "platform/controls/stdctrls.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/text.h"

namespace {
// Hue 0..360, saturation and lightness 0..1.
struct THsl {
  double H = 0, S = 0, L = 0;
};

TColor HslToColor(const THsl& c) {
  double q = c.L < 0.5 ? c.L * (1 + c.S) : c.L + c.S - c.L * c.S;
  double p = 2 * c.L - q;
  auto channel = [&](double t) {
    t -= std::floor(t);
    double v = t < 1.0 / 6 ? p + (q - p) * 6 * t : t < 0.5 ? q : t < 2.0 / 3 ? p + (q - p) * (2.0 / 3 - t) * 6 : p;
    return static_cast<int>(std::lround(std::clamp(v, 0.0, 1.0) * 255));
  };
  double h = c.H / 360.0;
  return RGB(channel(h + 1.0 / 3), channel(h), channel(h - 1.0 / 3));
}

THsl ColorToHsl(TColor color) {
  TColor rgb = ColorToRGB(color);
  double r = GetRValue(rgb) / 255.0, g = GetGValue(rgb) / 255.0, b = GetBValue(rgb) / 255.0;
  double mx = std::max({r, g, b}), mn = std::min({r, g, b});
  THsl out;
  out.L = (mx + mn) / 2;
  double d = mx - mn;
  if (d < 1e-9) return out;
  out.S = out.L > 0.5 ? d / (2 - mx - mn) : d / (mx + mn);
  double h = mx == r ? (g - b) / d + (g < b ? 6 : 0) : mx == g ? (b - r) / d + 2 : (r - g) / d + 4;
  out.H = h * 60;
  return out;
}

constexpr int kCols = 8, kRows = 6, kCell = 22;

// The grid of colours.
class TColorGrid : public TCustomControl {
public:
  explicit TColorGrid(TComponent* AOwner) : TCustomControl(AOwner) {
    SetBounds(0, 0, kCols * kCell + 2, kRows * kCell + 2);
    SetTabStop(true);
  }
  int Selected() const { return FSelected; }
  void SetSelected(int Value) {
    Value = std::clamp(Value, -1, kCols * kRows - 1);
    if (FSelected == Value) return;
    FSelected = Value;
    Invalidate();
    if (Value >= 0) OnSelect(this);
  }
  TNotifyEvent OnSelect;
  TNotifyEvent OnChoose;

protected:
  void Dispatch(TMessage& m) override {
    if (m.Msg == WM_GETDLGCODE) {
      m.Result = DLGC_WANTARROWS;
      return;
    }
    TCustomControl::Dispatch(m);
  }
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override {
    TAliveGuard alive = AliveGuard();
    if (CanFocus() && !Focused()) SetFocus();
    if (!alive) return;
    int col = (X - 1) / kCell, row = (Y - 1) / kCell;
    if (X >= 1 && Y >= 1 && col < kCols && row < kRows) {
      SetSelected(row * kCols + col);
      if (alive && Shift.Contains(ssDouble)) OnChoose(this);
    }
    if (alive) TCustomControl::MouseDown(Button, Shift, X, Y);
  }
  void KeyDown(WORD& Key, TShiftState Shift) override {
    int s = std::max(FSelected, 0);
    int col = s % kCols, row = s / kCols;
    switch (Key) {
      case VK_LEFT: col = (col + kCols - 1) % kCols; break;
      case VK_RIGHT: col = (col + 1) % kCols; break;
      case VK_UP: row = (row + kRows - 1) % kRows; break;
      case VK_DOWN: row = (row + 1) % kRows; break;
      default: TCustomControl::KeyDown(Key, Shift); return;
    }
    SetSelected(row * kCols + col);
    Key = 0;
  }
  void CMEnter(TMessage& m) override {
    Invalidate();
    TCustomControl::CMEnter(m);
  }
  void CMExit(TMessage& m) override {
    Invalidate();
    TCustomControl::CMExit(m);
  }
  void Paint() override {
    TCanvas* c = Canvas();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(clBtnFace);
    c->FillRect(ClientRect());
    const auto& pal = ColorDialogPalette();
    for (int i = 0; i < kCols * kRows; ++i) {
      TRect cell = Bounds(1 + (i % kCols) * kCell, 1 + (i / kCols) * kCell, kCell, kCell);
      TRect swatch = cell.Inflated(-3, -3);
      c->Brush()->SetColor(clBtnShadow);
      c->FrameRect(swatch);
      c->Brush()->SetColor(pal[static_cast<size_t>(i)]);
      c->FillRect(swatch.Inflated(-1, -1));
      if (i == FSelected) {
        c->Brush()->SetColor(Focused() ? clHighlight : clBtnText);
        c->FrameRect(cell.Inflated(-1, -1));
        c->FrameRect(cell);
      }
    }
  }

private:
  int FSelected = -1;
};

constexpr int kSpecW = 180, kSpecH = 132, kBarW = 14, kBarGap = 8;

// Hue across, saturation down, and a lightness bar at the right.
class TColorSpectrum : public TCustomControl {
public:
  explicit TColorSpectrum(TComponent* AOwner) : TCustomControl(AOwner) {
    SetBounds(0, 0, kSpecW + kBarGap + kBarW + 8, kSpecH + 2);
    FControlStyle.Include(csOpaque);
  }
  const THsl& Value() const { return FValue; }
  void SetValue(const THsl& v) {
    FValue = v;
    Invalidate();
  }
  TNotifyEvent OnChange;

protected:
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override {
    FDragBar = X > kSpecW + 1;
    Track(X, Y);
    TCustomControl::MouseDown(Button, Shift, X, Y);
  }
  void MouseMove(TShiftState Shift, int X, int Y) override {
    if (Shift.Contains(ssLeft) && MouseCapture()) Track(X, Y);
    TCustomControl::MouseMove(Shift, X, Y);
  }
  void Paint() override {
    TCanvas* c = Canvas();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(clBtnFace);
    c->FillRect(ClientRect());
    if (FPlane.Empty()) {
      // The plane never changes: it is drawn once.
      FPlane.SetSize(kSpecW, kSpecH);
      for (int y = 0; y < kSpecH; ++y) {
        uint32_t* row = FPlane.ScanLine(y);
        for (int x = 0; x < kSpecW; ++x) {
          TColor col = HslToColor({360.0 * x / kSpecW, 1.0 - static_cast<double>(y) / (kSpecH - 1), 0.5});
          row[x] = 0xFF000000u | (static_cast<uint32_t>(GetRValue(col)) << 16) |
                   (static_cast<uint32_t>(GetGValue(col)) << 8) | static_cast<uint32_t>(GetBValue(col));
        }
      }
    }
    c->Draw(1, 1, &FPlane);
    c->Brush()->SetColor(clBtnShadow);
    c->FrameRect(TRect(0, 0, kSpecW + 2, kSpecH + 2));
    // Cross hair at the chosen hue and saturation.
    int cx = 1 + static_cast<int>(FValue.H / 360.0 * kSpecW);
    int cy = 1 + static_cast<int>((1.0 - FValue.S) * (kSpecH - 1));
    c->Brush()->SetColor(clBlack);
    c->FillRect(TRect(cx - 6, cy, cx - 2, cy + 1));
    c->FillRect(TRect(cx + 3, cy, cx + 7, cy + 1));
    c->FillRect(TRect(cx, cy - 6, cx + 1, cy - 2));
    c->FillRect(TRect(cx, cy + 3, cx + 1, cy + 7));
    // Lightness bar for the chosen hue and saturation.
    int bx = kSpecW + 2 + kBarGap;
    for (int y = 0; y < kSpecH; ++y) {
      c->Brush()->SetColor(HslToColor({FValue.H, FValue.S, 1.0 - static_cast<double>(y) / (kSpecH - 1)}));
      c->FillRect(TRect(bx + 1, y + 1, bx + kBarW - 1, y + 2));
    }
    c->Brush()->SetColor(clBtnShadow);
    c->FrameRect(TRect(bx, 0, bx + kBarW, kSpecH + 2));
    int ly = 1 + static_cast<int>((1.0 - FValue.L) * (kSpecH - 1));
    c->Brush()->SetColor(clBtnText);
    c->Polygon({TPoint(bx + kBarW + 1, ly), TPoint(bx + kBarW + 6, ly - 4), TPoint(bx + kBarW + 6, ly + 4)});
  }

private:
  void Track(int X, int Y) {
    double fy = std::clamp(static_cast<double>(Y - 1) / (kSpecH - 1), 0.0, 1.0);
    if (FDragBar) {
      FValue.L = 1.0 - fy;
    } else {
      FValue.H = std::clamp(static_cast<double>(X - 1) / kSpecW, 0.0, 1.0) * 359.9;
      FValue.S = 1.0 - fy;
      if (FValue.L <= 0.0 || FValue.L >= 1.0) FValue.L = 0.5;
    }
    Invalidate();
    OnChange(this);
  }
  THsl FValue{0, 0, 0.5};
  bool FDragBar = false;
  TBitmap FPlane;
};

// The dialog form; owns its controls.
class TColorDialogForm : public TForm {
public:
  explicit TColorDialogForm(TColor Initial) : TForm(Application) {
    SetBorderStyle(bsDialog);
    SetCaption("Color");
    SetPosition(poMainFormCenter);
    const int m = 12;
    auto* basic = new TLabel(this);
    basic->SetParent(this);
    basic->SetCaption("&Basic colors:");
    basic->SetBounds(m, m, 150, 15);
    FGrid = new TColorGrid(this);
    FGrid->SetName("Grid");
    FGrid->SetParent(this);
    FGrid->SetBounds(m, m + 18, FGrid->Width(), FGrid->Height());
    basic->SetFocusControl(FGrid);
    int right = m + FGrid->Width() + 16;
    FSpectrum = new TColorSpectrum(this);
    FSpectrum->SetName("Spectrum");
    FSpectrum->SetParent(this);
    FSpectrum->SetBounds(right, m + 18, FSpectrum->Width(), FSpectrum->Height());
    auto* custom = new TLabel(this);
    custom->SetParent(this);
    custom->SetCaption("Any color:");
    custom->SetBounds(right, m, 150, 15);
    int below = m + 18 + std::max(FGrid->Height(), FSpectrum->Height()) + 10;
    FPreview = new TPanel(this);
    FPreview->SetName("Preview");
    FPreview->SetParent(this);
    FPreview->SetBevelOuter(bvLowered);
    FPreview->SetShowCaption(false);
    FPreview->SetBounds(m, below, 60, 34);
    FValueLabel = new TLabel(this);
    FValueLabel->SetName("ValueText");
    FValueLabel->SetParent(this);
    FValueLabel->SetBounds(m + 70, below + 10, 160, 15);
    int width = right + FSpectrum->Width() + m;
    auto* ok = new TButton(this);
    ok->SetName("OKButton");
    ok->SetParent(this);
    ok->SetCaption("OK");
    ok->SetDefault(true);
    ok->SetModalResult(mrOk);
    ok->SetBounds(width - m - 2 * 75 - 8, below + 6, 75, 25);
    auto* cancel = new TButton(this);
    cancel->SetName("CancelButton");
    cancel->SetParent(this);
    cancel->SetCaption("Cancel");
    cancel->SetCancel(true);
    cancel->SetModalResult(mrCancel);
    cancel->SetBounds(width - m - 75, below + 6, 75, 25);
    SetClientSize(width, below + 34 + m);
    FGrid->OnSelect = [this](TObject*) {
      FColor = ColorDialogPalette()[static_cast<size_t>(FGrid->Selected())];
      FSpectrum->SetValue(ColorToHsl(FColor));
      ShowColor();
    };
    FGrid->OnChoose = [this](TObject*) { SetModalResult(mrOk); };
    FSpectrum->OnChange = [this](TObject*) {
      FColor = HslToColor(FSpectrum->Value());
      ShowColor();
    };
    FColor = Initial;
    const auto& pal = ColorDialogPalette();
    auto it = std::find(pal.begin(), pal.end(), ColorToRGB(Initial));
    if (it != pal.end()) FGrid->SetSelected(static_cast<int>(it - pal.begin()));
    FSpectrum->SetValue(ColorToHsl(Initial));
    FColor = Initial;
    ShowColor();
    SetActiveControl(FGrid);
  }
  TColor Chosen() const { return FColor; }

private:
  void ShowColor() {
    TColor rgb = ColorToRGB(FColor);
    FPreview->SetColor(rgb);
    FValueLabel->SetCaption("Red " + IntToStr(GetRValue(rgb)) + "  Green " + IntToStr(GetGValue(rgb)) + "  Blue " +
                           IntToStr(GetBValue(rgb)));
  }
  TColorGrid* FGrid;
  TColorSpectrum* FSpectrum;
  TPanel* FPreview;
  TLabel* FValueLabel;
  TColor FColor = clBlack;
};
}  // namespace

const std::vector<TColor>& ColorDialogPalette() {
  static const std::vector<TColor> pal = [] {
    std::vector<TColor> p;
    const double hues[kCols] = {0, 30, 55, 120, 175, 210, 250, 305};
    const double light[kRows - 1] = {0.85, 0.7, 0.5, 0.35, 0.2};
    for (double l : light)
      for (double h : hues) p.push_back(HslToColor({h, l > 0.8 ? 0.8 : 0.9, l}));
    for (int i = 0; i < kCols; ++i) {
      int v = 255 - i * 255 / (kCols - 1);
      p.push_back(RGB(v, v, v));
    }
    return p;
  }();
  return pal;
}

bool TColorDialog::Execute() {
  auto* form = new TColorDialogForm(FColor);
  form->AfterConstruction();
  FForm = form;
  TAliveGuard alive = form->AliveGuard();
  TModalResult r = mrCancel;
  try {
    OnShow(this);
    r = form->ShowModal();
  } catch (...) {
    FForm = nullptr;
    if (alive) Free(form);
    throw;
  }
  FForm = nullptr;
  bool ok = r == mrOk && alive;
  if (ok) FColor = form->Chosen();
  if (alive) Free(form);
  OnClose(this);
  return ok;
}
