#include "kv/kvUtils/kvElements.h"

TThemedElementDetails PushButtonDetails(TkvsCtrlState State) {
  switch (State) {
    case kvsHot: return GetElementDetails(tbPushButtonHot);
    case kvsPressed: return GetElementDetails(tbPushButtonPressed);
    case kvsFocused: return GetElementDetails(tbPushButtonDefaulted);
    case kvsDisabled: return GetElementDetails(tbPushButtonDisabled);
    default: return GetElementDetails(tbPushButtonNormal);
  }
}

TThemedElementDetails ToolButtonDetails(TkvsCtrlState State) {
  return GetElementDetails(FourState(ttbButtonNormal, State));
}

TThemedElementDetails CheckBoxDetails(TkvsCtrlState State, int CheckState) {
  TThemedButton first = CheckState == 1   ? tbCheckBoxCheckedNormal
                        : CheckState == 2 ? tbCheckBoxMixedNormal
                                          : tbCheckBoxUncheckedNormal;
  return GetElementDetails(FourState(first, State));
}

TThemedElementDetails RadioButtonDetails(TkvsCtrlState State, bool Checked) {
  return GetElementDetails(FourState(Checked ? tbRadioButtonCheckedNormal : tbRadioButtonUncheckedNormal, State));
}
