// The collection's items: what they report, what they copy, what they announce, and how form
// descriptions hold them.
#include <gtest/gtest.h>

#include "platform/streaming/formreader.h"
#include "support.h"

namespace {
std::unique_ptr<TPngImage> AlphaPicture() {
  auto png = kvtest::CoordinatePicture(4, 3);
  png->Pixels().Row(1)[2] = 0x80402010u;
  png->SetTransparent(true);
  return png;
}
}  // namespace

TEST(ImageCollectionItem, NeedFullUpdateOnlyWhenPlacementFollowsTheFarEdges) {
  const TkvImageDrawStyle stayPut[] = {idsTile, idsTopLeft, idsTopTile, idsLeftTile};
  TkvImageCollection c(nullptr);
  TkvImageCollectionItem* item = c.Images()->Add();
  for (int s = 0; s < static_cast<int>(EnumCount<TkvImageDrawStyle>()); ++s) {
    item->SetDrawStyle(static_cast<TkvImageDrawStyle>(s));
    bool expected = std::find(std::begin(stayPut), std::end(stayPut), s) == std::end(stayPut);
    EXPECT_EQ(item->NeedFullUpdate(), expected) << EnumInfo<TkvImageDrawStyle>().Name(s);
  }
}

TEST(ImageCollectionItem, TransparentAndCoveringFollowThePicture) {
  TBitmap opaqueBitmap(4, 4);
  TBitmap alphaBitmap(4, 4);
  alphaBitmap.SetPixelFormat(pf32bit);
  alphaBitmap.SetAlphaFormat(afPremultiplied);
  struct Case {
    const char* name;
    const TGraphic* picture;
    TkvImageDrawStyle style;
    int offsetX, offsetY;
    bool transparent, covers;
  };
  auto opaquePng = kvtest::CoordinatePicture(4, 4);
  auto alphaPng = AlphaPicture();
  const Case cases[] = {
      {"empty", nullptr, idsTile, 0, 0, false, false},
      {"opaque png tiled", opaquePng.get(), idsTile, 0, 0, false, true},
      {"opaque png stretched", opaquePng.get(), idsStretch, 0, 0, false, true},
      {"opaque png tiled with a gap", opaquePng.get(), idsTile, 1, 0, false, false},
      {"opaque png tiled overlapping", opaquePng.get(), idsTile, -1, -2, false, true},
      {"opaque png tiled without a step", opaquePng.get(), idsTile, -4, 0, false, false},
      {"opaque png centred", opaquePng.get(), idsCenter, 0, 0, false, false},
      {"transparent png", alphaPng.get(), idsTile, 0, 0, true, false},
      {"opaque bitmap", &opaqueBitmap, idsStretch, 0, 0, false, true},
      {"bitmap with alpha", &alphaBitmap, idsStretch, 0, 0, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TkvImageCollection coll(nullptr);
    TkvImageCollectionItem* item =
        c.picture ? kvtest::AddItem(coll, *c.picture, c.style, c.offsetX, c.offsetY) : coll.Images()->Add();
    EXPECT_EQ(item->Transparent(), c.transparent);
    EXPECT_EQ(item->CoversTarget(), c.covers);
  }
}

TEST(ImageCollectionItem, ChangesAreAnnouncedAndAssignCopiesEverything) {
  TkvImageCollection c(nullptr);
  int changes = 0;
  c.OnChange = TNotifyEvent([&](TObject* sender) {
    EXPECT_EQ(sender, &c);
    ++changes;
  });
  TkvImageCollectionItem* a = c.Images()->Add();
  EXPECT_EQ(changes, 1);
  a->SetDrawStyle(idsCenter);
  a->SetDrawStyle(idsCenter);
  a->SetTileOffsetX(3);
  a->SetTileOffsetY(-2);
  EXPECT_EQ(changes, 4) << "unchanged values are not announced";
  a->Picture()->LoadFromMemory(AlphaPicture()->SaveToMemory().data(), AlphaPicture()->SaveToMemory().size());
  EXPECT_EQ(changes, 5) << "a new picture is a change of the item";

  TkvImageCollectionItem* b = c.Images()->Add();
  changes = 0;
  b->Assign(a);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(b->DrawStyle(), idsCenter);
  EXPECT_EQ(b->TileOffsetX(), 3);
  EXPECT_EQ(b->TileOffsetY(), -2);
  ASSERT_NE(b->Picture()->Graphic(), nullptr);
  EXPECT_NE(b->Picture()->Graphic(), a->Picture()->Graphic()) << "the item keeps its own copy";
  EXPECT_TRUE(b->Transparent());

  TkvImageCollection copy(nullptr);
  copy.Assign(&c);
  ASSERT_EQ(copy.Count(), 2);
  EXPECT_EQ(copy.Images()->Items(1)->DrawStyle(), idsCenter);
  EXPECT_EQ(copy.Images()->GetOwner(), &copy);
  EXPECT_THROW(a->Assign(&copy), EConvertError);
}

namespace {
class TWallpaperForm : public TComponent {
  KV_CLASS(TWallpaperForm, TComponent)
public:
  using TComponent::TComponent;
};
}  // namespace
KV_IMPLEMENT_CLASS(TWallpaperForm) {}

TEST(ImageCollectionStreaming, FormDescriptionsHoldPicturesAndPlacement) {
  TWallpaperForm form(nullptr);
  form.SetName("Form1");
  auto* c = new TkvImageCollection(&form);
  c->SetName("Wallpapers");
  kvtest::AddItem(*c, *AlphaPicture(), idsBottomRight, 4, -1);
  TBitmap opaque(3, 2);
  opaque.Canvas()->Brush()->SetColor(clTeal);
  opaque.Canvas()->FillRect(TRect(0, 0, 3, 2));
  kvtest::AddItem(*c, opaque, idsTile);
  c->Images()->Add();  // an empty picture is not written

  String text = WriteComponentToText(&form);
  EXPECT_NE(text.find("Picture.Data = {"), String::npos) << text;

  TWallpaperForm back(nullptr);
  ReadComponentFromText(&back, text);
  auto* read = dynamic_cast<TkvImageCollection*>(back.FindComponent("Wallpapers"));
  ASSERT_NE(read, nullptr);
  ASSERT_EQ(read->Count(), 3);
  const TkvImageCollectionItem* first = read->Images()->Items(0);
  EXPECT_EQ(first->DrawStyle(), idsBottomRight);
  EXPECT_EQ(first->TileOffsetX(), 4);
  EXPECT_EQ(first->TileOffsetY(), -1);
  ASSERT_TRUE(first->Transparent());
  const auto* png = static_cast<const TPngImage*>(first->Picture()->Graphic());
  EXPECT_EQ(png->Pixels().Row(1)[2], 0x80402010u);
  EXPECT_EQ(png->Pixels().Row(2)[3], AlphaPicture()->Pixels().Row(2)[3]);
  const auto* bmp = dynamic_cast<const TBitmap*>(read->Images()->Items(1)->Picture()->Graphic());
  ASSERT_NE(bmp, nullptr) << "the graphic keeps its class";
  EXPECT_EQ(bmp->ScanLine(1)[2], ColorToOpaquePixel(clTeal));
  EXPECT_EQ(read->Images()->Items(2)->Picture()->Graphic(), nullptr);
}

TEST(ImageCollectionStreaming, BadPictureDataIsRefusedWithItsReason) {
  struct Case {
    const char* data;
    const char* reason;
  };
  const Case cases[] = {
      {"{09545069637475726558}", "Unknown graphic class TPictureX"},  // "TPictureX", 9 bytes
      {"{0A54506E67}", "truncated"},
      {"{0954506E67496D6167650102}", "Invalid picture data"},
  };
  for (const Case& k : cases) {
    String text = String("object Form1: TWallpaperForm\n  object Wallpapers: TkvImageCollection\n") +
                  "    Images = <\n      item\n        Picture.Data = " + k.data + "\n      end>\n  end\nend\n";
    TWallpaperForm form(nullptr);
    try {
      ReadComponentFromText(&form, text);
      ADD_FAILURE() << "accepted " << k.data;
    } catch (const EReadError& e) {
      EXPECT_NE(String(e.what()).find(k.reason), String::npos) << e.what();
    }
    EXPECT_EQ(form.ComponentCount(), 0) << "nothing half-built stays";
  }
}
