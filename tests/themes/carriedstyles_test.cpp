#include <gtest/gtest.h>

#include "platform/streaming/resources.h"
#include "platform/themes/stylecheck.h"
#include "platform/themes/stylefile.h"
#include "platform/themes/standardlook.h"

namespace {
struct TCarried {
  const char* Resource;
  const char* Name;
};
constexpr TCarried kCarried[] = {{"AQUALIGHTSLATE", "Aqua Light Slate"},
                                 {"GLOSSY", "Glossy"},
                                 {"SAPPHIREKAMRI", "Sapphire Kamri"},
                                 {"TABLETDARK", "TabletDark"}};

TStyleData LoadCarried(const char* resource) {
  return LoadStyleData(ResourceBytes(resource, RT_STYLE), String("resource ") + resource);
}

void ExpectReadable(const TStyleData& style) {
  for (const TReadabilityIssue& issue : CheckStyleReadability(style)) ADD_FAILURE() << style.Name << ": " << issue.Message();
}
}  // namespace

TEST(CarriedStyles, LoadUnderTheirDisplayNames) {
  for (const TCarried& c : kCarried) EXPECT_EQ(LoadCarried(c.Resource).Name, c.Name);
}

// Every caption, named text colour and system text colour stands out from what it is drawn on.
TEST(CarriedStyles, EveryCaptionReadsClearly) {
  for (const TCarried& c : kCarried) ExpectReadable(LoadCarried(c.Resource));
  TStyleData native = MakeStandardStyle(DefaultSystemColors());
  native.Name = "built-in";
  ExpectReadable(native);
}

// The readability check itself: a caption in its own background colour is caught.
TEST(CarriedStyles, ACaptionInItsBackgroundColourIsCaught) {
  TStyleData d = ParseStyle("kvstyle 1\nname \"Bad\"\nelement Button.PushButton { fill #808080; Hot { text #808080 } }\n", "bad");
  std::vector<TReadabilityIssue> issues = CheckStyleReadability(d);
  ASSERT_FALSE(issues.empty());
  EXPECT_EQ(issues[0].Subject, "Button.PushButton.Hot");
  EXPECT_DOUBLE_EQ(issues[0].Contrast, 1.0);
}
