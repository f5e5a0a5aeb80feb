#include <gtest/gtest.h>

#include "platform/core/exceptions.h"
#include "platform/core/strings.h"

TEST(Strings, CodePointHelpersNeverSplitACharacter) {
  const String s = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80z";  // a é € 😀 z
  EXPECT_EQ(utf8::Length(s), 5u);
  EXPECT_EQ(utf8::Copy(s, 1, 2), "\xC3\xA9\xE2\x82\xAC");
  String t = s;
  utf8::PopBack(t);
  utf8::PopBack(t);
  EXPECT_EQ(t, "a\xC3\xA9\xE2\x82\xAC");
  utf8::Erase(t, 1, 1);
  EXPECT_EQ(t, "a\xE2\x82\xAC");
  utf8::Insert(t, 1, "xy");
  EXPECT_EQ(t, "axy\xE2\x82\xAC");
  EXPECT_EQ(utf8::PrevOffset(s, s.size() - 1), 6u);  // start of the emoji
  EXPECT_EQ(utf8::FromUtf32(utf8::ToUtf32(s)), s);
  // A stray continuation byte counts as one character and is never lost.
  EXPECT_EQ(utf8::Length("a\x80" "b"), 3u);
  EXPECT_FALSE(utf8::IsValid("a\x80"));
}

TEST(Strings, CaseAndConversions) {
  EXPECT_EQ(UpperCase("abc\xC3\xA9"), "ABC\xC3\x89");
  EXPECT_EQ(CompareText("Hello", "hELLO"), 0);
  EXPECT_LT(CompareText("apple", "Banana"), 0);
  EXPECT_EQ(StrToInt(" 42 "), 42);
  EXPECT_EQ(StrToInt("-$1F"), -31);
  EXPECT_THROW(StrToInt("12a"), EConvertError);
  EXPECT_THROW(StrToInt("99999999999"), EConvertError);  // beyond 32 bits
  EXPECT_THROW(StrToInt64("99999999999999999999"), EConvertError);
  double d;
  EXPECT_TRUE(TryStrToFloat("1.5e3", d));
  EXPECT_EQ(d, 1500.0);
  EXPECT_FALSE(TryStrToFloat("1e999", d));  // overflow is not a number
  EXPECT_EQ(Format("Rename to %s failed", "x.txt"), "Rename to x.txt failed");
}
