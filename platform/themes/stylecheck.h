#pragma once
// Readability of a style: every caption colour against what it is drawn on, for every
// captioned element state, every named text colour and the system colour pairs controls use.
// The style tool prints the findings as warnings; the carried styles must have none.
#include <vector>

#include "platform/themes/styledata.h"

// Least contrast ratio of an enabled caption and of a disabled one.
inline constexpr double kMinTextContrast = 4.4;  // about the 4.5:1 of common accessibility advice
inline constexpr double kMinDisabledContrast = 2.0;

struct TReadabilityIssue {
  String Subject;     // "Button.PushButton.Hot", "sfEditBoxTextNormal", "clBtnText"
  TColor Text, Ground;
  double Contrast;
  double Required;
  String Message() const;
};

std::vector<TReadabilityIssue> CheckStyleReadability(const TStyleData& style);
