#include <gtest/gtest.h>

#include <zlib.h>

#include "platform/themes/stylefile.h"
#include "support.h"

namespace {
const char* kPictureStyle =
    "kvstyle 1\nname \"Pictured\"\npicture face \"art/face.png\"\n"
    "element Button.PushButton { picture face 3 3 3 3 }\n";

TStyleSource PicturedSource() {
  TStyleSource s;
  s.Text = kPictureStyle;
  s.Files.emplace_back("art/face.png", MakeTestPng(12, 10));
  return s;
}

String RefusalOf(const std::vector<uint8_t>& bytes) {
  try {
    LoadStyleData(bytes, "damaged.kvs");
  } catch (const EStyleError& e) {
    return e.Message();
  }
  return "accepted";
}

}  // namespace

TEST(StyleFile, PackedStyleRoundTripsWithItsPictures) {
  TStyleSource source = PicturedSource();
  std::vector<uint8_t> packed = PackStyle(source);
  EXPECT_TRUE(IsPackedStyle(packed));
  TStyleSource back = UnpackStyle(packed, "x.kvs");
  EXPECT_EQ(back.Text, source.Text);
  ASSERT_EQ(back.Files.size(), 1u);
  EXPECT_EQ(back.Files[0], source.Files[0]);

  TStyleData d = LoadStyleData(packed, "x.kvs");
  EXPECT_EQ(d.Name, "Pictured");
  ASSERT_EQ(d.Pictures.size(), 1u);
  EXPECT_EQ(d.Pictures[0].Width, 12);
  EXPECT_EQ(d.Pictures[0].Height, 10);
  EXPECT_EQ(d.Pictures[0].Pixels[5 * 12 + 3], 0xFFFF0000u);  // premultiplied ARGB: opaque red
  const TElementLook* l = d.Look(GetElementDetails(tbPushButtonHot));
  EXPECT_EQ(l->Picture, 0);
  EXPECT_EQ(l->PictureMargins, (TInsets{3, 3, 3, 3}));
}

TEST(StyleFile, TextStylesLoadAndForeignFilesAreRefused) {
  const String text = "\n// leading comment\nkvstyle 1\nname \"T\"\n";
  TStyleData d = LoadStyleData(std::vector<uint8_t>(text.begin(), text.end()), "t.kvstyle");
  EXPECT_EQ(d.Name, "T");
  const String foreign = "name \"T\"\n";
  EXPECT_NE(RefusalOf(std::vector<uint8_t>(foreign.begin(), foreign.end())).find("not a style file"), String::npos);
  EXPECT_NE(RefusalOf(MakeTestPng(4, 4)).find("not a style file"), String::npos);
  EXPECT_NE(RefusalOf({}).find("not a style file"), String::npos);
}

TEST(StyleFile, DamagedPackedFilesAreRefusedClearly) {
  const std::vector<uint8_t> good = PackStyle(PicturedSource());
  struct TCase {
    const char* What;
    std::vector<uint8_t> Bytes;
    const char* Says;
  };
  std::vector<TCase> cases;
  for (size_t keep : {size_t{3}, size_t{8}, size_t{20}, size_t{24}, good.size() / 2, good.size() - 1})
    cases.push_back({"truncated", std::vector<uint8_t>(good.begin(), good.begin() + static_cast<ptrdiff_t>(keep)), "truncated"});
  {
    std::vector<uint8_t> b = good;
    b.at(2) ^= 0x20;
    cases.push_back({"bad signature", b, "not a style file"});
  }
  {
    std::vector<uint8_t> b = good;
    b.at(8) = 7;
    cases.push_back({"newer format", b, "newer program (format 7"});
  }
  {
    std::vector<uint8_t> b = good;
    b.at(b.size() - 10) ^= 0xFF;
    cases.push_back({"damaged stream", b, "damaged"});
  }
  {
    std::vector<uint8_t> b = good;
    b.resize(b.size() + 1);  // one zero byte more
    cases.push_back({"trailing byte", b, "bytes after its end"});
  }
  {
    std::vector<uint8_t> b = good;
    b.at(20) ^= 1;
    cases.push_back({"checksum", b, "checksum mismatch"});
  }
  for (const TCase& c : cases) {
    String message = RefusalOf(c.Bytes);
    EXPECT_NE(message.find(c.Says), String::npos) << c.What << ": " << message;
    EXPECT_EQ(message.rfind("damaged.kvs: ", 0), 0u) << message;
  }
}

TEST(StyleFile, RefusesContainersWhoseFilesLeaveTheirFolder) {
  TStyleSource s;
  s.Text = "kvstyle 1\nname \"T\"\n";
  s.Files.emplace_back("../escape.png", MakeTestPng(2, 2));
  std::vector<uint8_t> packed = PackStyle(s);
  EXPECT_NE(RefusalOf(packed).find("outside its folder"), String::npos);
}

TEST(StyleFile, ErrorsInsideAPackedStyleKeepTheirPlace) {
  TStyleSource s;
  s.Text = "kvstyle 1\nname \"T\"\nelement Button.Knob { fill #fff }\n";
  try {
    LoadStyleData(PackStyle(s), "resource KNOB");
    FAIL();
  } catch (const EStyleError& e) {
    EXPECT_EQ(e.Line(), 3);
    EXPECT_EQ(e.Message().rfind("resource KNOB:3:9: unknown element 'Button.Knob'", 0), 0u) << e.Message();
  }
}

TEST(StyleFile, PicturesMustDecodeAndFitTheirMargins) {
  TStyleSource notPng = PicturedSource();
  notPng.Files[0].second = {1, 2, 3, 4, 5, 6, 7, 8, 9};
  EXPECT_NE(RefusalOf(PackStyle(notPng)).find("not a PNG picture"), String::npos);

  TStyleSource truncated = PicturedSource();
  truncated.Files[0].second.resize(truncated.Files[0].second.size() / 2);
  EXPECT_NE(RefusalOf(PackStyle(truncated)).find("damaged or truncated"), String::npos);

  TStyleSource wide = PicturedSource();
  wide.Text = "kvstyle 1\nname \"P\"\npicture face \"art/face.png\"\n"
              "element Button.PushButton { picture face 6 3 7 3 }\n";
  EXPECT_NE(RefusalOf(PackStyle(wide)).find("do not fit picture 'face' of 12 x 10"), String::npos);
}
