#include <gtest/gtest.h>

#include "platform/streaming/resources.h"

namespace {
const uint8_t kBytes[] = {1, 2, 3};
const TResource kFirst{"SAMPLE_DATA", RT_RCDATA, kBytes, sizeof kBytes};
const TResource kClash{"CLASHING", RT_RCDATA, kBytes, 1};
const TResource kClashAgain{"clashing", "rcdata", kBytes, 2};
}  // namespace

TEST(Resources, FindsByNameAndTypeIgnoringCase) {
  RegisterResource(&kFirst);
  HRSRC r = FindResource("sample_data", "RcData");
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(SizeofResource(r), 3u);
  EXPECT_EQ(LoadResource(r).data(), kBytes);
  EXPECT_EQ(FindResource("SAMPLE_DATA", RT_STYLE), nullptr);
  EXPECT_EQ(FindResource("MISSING", RT_RCDATA), nullptr);
  EXPECT_TRUE(LoadResource(nullptr).empty());
}

TEST(Resources, MissingAndAmbiguousNamesRaiseClearErrors) {
  EXPECT_TRUE(RegisterResource(&kClash));
  EXPECT_FALSE(RegisterResource(&kClashAgain));
  EXPECT_EQ(FindResource("CLASHING", RT_RCDATA), nullptr);
  try {
    ResourceBytes("CLASHING", RT_RCDATA);
    FAIL();
  } catch (const EResNotFound& e) {
    EXPECT_EQ(e.Message(), "Resource CLASHING of type RCDATA is defined twice");
  }
  try {
    ResourceBytes("NOWHERE", RT_STYLE);
    FAIL();
  } catch (const EResNotFound& e) {
    EXPECT_EQ(e.Message(), "Resource NOWHERE of type STYLE not found");
  }
}

TEST(Resources, TheCarriedStylesAreCompiledIn) {
  std::vector<String> names = EnumResourceNames(RT_STYLE);
  EXPECT_EQ(names, (std::vector<String>{"AQUALIGHTSLATE", "GLOSSY", "SAPPHIREKAMRI", "TABLETDARK"}));
  for (const String& n : names) EXPECT_GT(ResourceBytes(n, RT_STYLE).size(), 100u) << n;
}
