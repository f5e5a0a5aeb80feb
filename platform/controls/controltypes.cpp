#include "platform/controls/controltypes.h"

#include <algorithm>

#include "platform/windows/input.h"

KV_IMPLEMENT_CLASS(TMargins) {
  r.Prop("Left", &TMargins::Left, &TMargins::SetLeft, 3);
  r.Prop("Top", &TMargins::Top, &TMargins::SetTop, 3);
  r.Prop("Right", &TMargins::Right, &TMargins::SetRight, 3);
  r.Prop("Bottom", &TMargins::Bottom, &TMargins::SetBottom, 3);
}

KV_IMPLEMENT_CLASS(TPadding) {
  r.Prop("Left", &TPadding::Left, &TPadding::SetLeft, 0);
  r.Prop("Top", &TPadding::Top, &TPadding::SetTop, 0);
  r.Prop("Right", &TPadding::Right, &TPadding::SetRight, 0);
  r.Prop("Bottom", &TPadding::Bottom, &TPadding::SetBottom, 0);
}

KV_IMPLEMENT_CLASS(TSizeConstraints) {
  r.Prop("MinWidth", &TSizeConstraints::MinWidth, &TSizeConstraints::SetMinWidth, 0);
  r.Prop("MinHeight", &TSizeConstraints::MinHeight, &TSizeConstraints::SetMinHeight, 0);
  r.Prop("MaxWidth", &TSizeConstraints::MaxWidth, &TSizeConstraints::SetMaxWidth, 0);
  r.Prop("MaxHeight", &TSizeConstraints::MaxHeight, &TSizeConstraints::SetMaxHeight, 0);
}

const TIdentMap& CursorIdents() {
  static const TIdentMap map = {
      {crDefault, "crDefault"},   {crNone, "crNone"},         {crArrow, "crArrow"},
      {crCross, "crCross"},       {crIBeam, "crIBeam"},       {crSizeNESW, "crSizeNESW"},
      {crSizeNS, "crSizeNS"},     {crSizeNWSE, "crSizeNWSE"}, {crSizeWE, "crSizeWE"},
      {crUpArrow, "crUpArrow"},   {crHourGlass, "crHourGlass"}, {crDrag, "crDrag"},
      {crNoDrop, "crNoDrop"},     {crHSplit, "crHSplit"},     {crVSplit, "crVSplit"},
      {crMultiDrag, "crMultiDrag"}, {crSQLWait, "crSQLWait"}, {crNo, "crNo"},
      {crAppStart, "crAppStart"}, {crHelp, "crHelp"},         {crHandPoint, "crHandPoint"},
      {crSizeAll, "crSizeAll"},
  };
  return map;
}

const TIdentMap& ModalResultIdents() {
  static const TIdentMap map = {
      {mrNone, "mrNone"},   {mrOk, "mrOk"},         {mrCancel, "mrCancel"},   {mrAbort, "mrAbort"},
      {mrRetry, "mrRetry"}, {mrIgnore, "mrIgnore"}, {mrYes, "mrYes"},         {mrNo, "mrNo"},
      {mrClose, "mrClose"}, {mrHelp, "mrHelp"},     {mrTryAgain, "mrTryAgain"}, {mrContinue, "mrContinue"},
      {mrAll, "mrAll"},     {mrNoToAll, "mrNoToAll"}, {mrYesToAll, "mrYesToAll"},
  };
  return map;
}

TShiftState KeysToShiftState(WORD Keys) {
  TShiftState s;
  if (Keys & MK_SHIFT) s.Include(ssShift);
  if (Keys & MK_CONTROL) s.Include(ssCtrl);
  if (Keys & MK_LBUTTON) s.Include(ssLeft);
  if (Keys & MK_RBUTTON) s.Include(ssRight);
  if (Keys & MK_MBUTTON) s.Include(ssMiddle);
  if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
  return s;
}

TShiftState KeyDataToShiftState(LPARAM KeyData) {
  TShiftState s;
  if (GetKeyState(VK_SHIFT) < 0) s.Include(ssShift);
  if (GetKeyState(VK_CONTROL) < 0) s.Include(ssCtrl);
  if (KeyData & KF_ALTDOWN) s.Include(ssAlt);
  return s;
}

TShiftState KeyboardStateToShiftState() {
  TShiftState s;
  if (GetKeyState(VK_SHIFT) < 0) s.Include(ssShift);
  if (GetKeyState(VK_CONTROL) < 0) s.Include(ssCtrl);
  if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
  if (GetKeyState(VK_LBUTTON) < 0) s.Include(ssLeft);
  if (GetKeyState(VK_RBUTTON) < 0) s.Include(ssRight);
  if (GetKeyState(VK_MBUTTON) < 0) s.Include(ssMiddle);
  return s;
}

// ---- TMargins ----
void TMargins::Assign(const TPersistent* Source) {
  if (auto* m = dynamic_cast<const TMargins*>(Source)) {
    SetBounds(m->FLeft, m->FTop, m->FRight, m->FBottom);
    return;
  }
  inherited::Assign(Source);
}

void TMargins::SetSide(int& side, int Value) {
  if (side == Value) return;
  side = Value;
  OnChange(this);
}

void TMargins::SetBounds(int ALeft, int ATop, int ARight, int ABottom) {
  if (FLeft == ALeft && FTop == ATop && FRight == ARight && FBottom == ABottom) return;
  FLeft = ALeft;
  FTop = ATop;
  FRight = ARight;
  FBottom = ABottom;
  OnChange(this);
}

// ---- TSizeConstraints ----
void TSizeConstraints::Assign(const TPersistent* Source) {
  if (auto* c = dynamic_cast<const TSizeConstraints*>(Source)) {
    FMinWidth = c->FMinWidth;
    FMinHeight = c->FMinHeight;
    FMaxWidth = c->FMaxWidth;
    FMaxHeight = c->FMaxHeight;
    OnChange(this);
    return;
  }
  inherited::Assign(Source);
}

void TSizeConstraints::Set(int& field, int Value) {
  Value = std::max(Value, 0);
  if (field == Value) return;
  field = Value;
  // The limits stay consistent: a minimum raised above its maximum raises the maximum, a
  // maximum lowered below its minimum lowers the minimum.
  if (&field == &FMinWidth && FMaxWidth > 0 && FMinWidth > FMaxWidth) FMaxWidth = FMinWidth;
  if (&field == &FMaxWidth && FMaxWidth > 0 && FMaxWidth < FMinWidth) FMinWidth = FMaxWidth;
  if (&field == &FMinHeight && FMaxHeight > 0 && FMinHeight > FMaxHeight) FMaxHeight = FMinHeight;
  if (&field == &FMaxHeight && FMaxHeight > 0 && FMaxHeight < FMinHeight) FMinHeight = FMaxHeight;
  OnChange(this);
}

void TSizeConstraints::SetMinWidth(int Value) { Set(FMinWidth, Value); }
void TSizeConstraints::SetMinHeight(int Value) { Set(FMinHeight, Value); }
void TSizeConstraints::SetMaxWidth(int Value) { Set(FMaxWidth, Value); }
void TSizeConstraints::SetMaxHeight(int Value) { Set(FMaxHeight, Value); }

void TSizeConstraints::Constrain(int& Width, int& Height) const {
  if (FMaxWidth > 0) Width = std::min(Width, FMaxWidth);
  if (FMaxHeight > 0) Height = std::min(Height, FMaxHeight);
  Width = std::max(Width, FMinWidth);
  Height = std::max(Height, FMinHeight);
}
