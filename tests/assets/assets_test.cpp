// The generated glyph strips and wallpapers, read back from the files the build wrote: sizes,
// alpha where the demonstration composes them over other surfaces, a seamless page tile, and
// glyphs that are real, distinct pictures.
#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Image {
  int width = 0, height = 0;
  bool hasAlpha = false;       // the file carries an alpha channel
  std::vector<png_byte> rgba;  // straight RGBA, 8 bits a channel

  const png_byte* At(int x, int y) const { return &rgba[(static_cast<size_t>(y) * width + x) * 4]; }
  int Alpha(int x, int y) const { return At(x, y)[3]; }
  double Luma(int x, int y) const {
    const png_byte* p = At(x, y);
    return 0.2126 * p[0] + 0.7152 * p[1] + 0.0722 * p[2];
  }
};

Image Read(const fs::path& path) {
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&png, path.c_str())) {
    ADD_FAILURE() << path << ": " << png.message;
    return {};
  }
  Image img;
  img.width = static_cast<int>(png.width);
  img.height = static_cast<int>(png.height);
  img.hasAlpha = (png.format & PNG_FORMAT_FLAG_ALPHA) != 0;
  png.format = PNG_FORMAT_RGBA;
  img.rgba.resize(PNG_IMAGE_SIZE(png));
  if (!png_image_finish_read(&png, nullptr, img.rgba.data(), 0, nullptr)) {
    ADD_FAILURE() << path << ": " << png.message;
    return {};
  }
  return img;
}

fs::path Asset(const std::string& name) { return fs::path(KV_ASSETS_DIR) / name; }

// The strips and the glyph count each must at least hold: the highest index the demonstration's
// pages use, plus one.
struct StripCase {
  const char* file;
  int size, needed;
};
const StripCase kStrips[] = {
    {"imagelist1_48.png", 48, 9},
    {"imagelist2_16.png", 16, 19},
    {"imagelist3_32.png", 32, 15},
};

TEST(Assets, StripsHoldEveryGlyphThePagesUseWithAlpha) {
  for (const StripCase& c : kStrips) {
    SCOPED_TRACE(c.file);
    Image img = Read(Asset(c.file));
    EXPECT_TRUE(img.hasAlpha);
    EXPECT_EQ(img.height, c.size);
    ASSERT_GT(img.width, 0);
    EXPECT_EQ(img.width % c.size, 0);
    EXPECT_GE(img.width / c.size, c.needed);
  }
}

TEST(Assets, EveryGlyphIsADistinctPictureWithSoftEdges) {
  for (const StripCase& c : kStrips) {
    Image img = Read(Asset(c.file));
    int count = img.width / c.size, area = c.size * c.size;
    for (int g = 0; g < count; ++g) {
      SCOPED_TRACE(std::string(c.file) + " glyph " + std::to_string(g));
      int solid = 0, clear = 0, partial = 0;
      for (int y = 0; y < c.size; ++y)
        for (int x = 0; x < c.size; ++x) {
          int a = img.Alpha(g * c.size + x, y);
          solid += a >= 200;
          clear += a == 0;
          partial += a > 0 && a < 200;
        }
      EXPECT_GE(solid, area / 8) << "too little picture";
      EXPECT_GE(clear, area / 20) << "no transparent surround";
      // 16 px glyphs keep their edges on whole pixels on purpose; larger ones are smooth.
      if (c.size > 16) { EXPECT_GE(partial, c.size) << "hard, unantialiased edges"; }
      // Opposite corners of a cell stay clear, so neighbours in the strip never touch.
      EXPECT_EQ(img.Alpha(g * c.size, 0), 0);
      EXPECT_EQ(img.Alpha(g * c.size + c.size - 1, 0), 0);
    }
    for (int a = 0; a < count; ++a)
      for (int b = a + 1; b < count; ++b) {
        double diff = 0;
        for (int y = 0; y < c.size; ++y)
          for (int x = 0; x < c.size; ++x)
            for (int k = 0; k < 4; ++k)
              diff += std::abs(img.At(a * c.size + x, y)[k] - img.At(b * c.size + x, y)[k]);
        EXPECT_GT(diff / (area * 4), 3.0)
            << c.file << ": glyphs " << a << " and " << b << " are (nearly) the same picture";
      }
  }
}

struct WallpaperCase {
  const char* file;
  int width, height;
  bool alpha;
};
const WallpaperCase kWallpapers[] = {
    {"wallpaper0.png", 513, 152, true},
    {"wallpaper1.png", 200, 300, true},
    {"wallpaper2.png", 240, 120, false},
    {"wallpaper3.png", 250, 338, true},
};

TEST(Assets, WallpapersHaveTheirSizesAndAlphaOnlyWhereComposed) {
  for (const WallpaperCase& c : kWallpapers) {
    SCOPED_TRACE(c.file);
    Image img = Read(Asset(c.file));
    EXPECT_EQ(img.width, c.width);
    EXPECT_EQ(img.height, c.height);
    EXPECT_EQ(img.hasAlpha, c.alpha);
    if (!c.alpha || img.rgba.empty()) continue;
    int lo = 255, hi = 0;
    for (int y = 0; y < img.height; ++y)
      for (int x = 0; x < img.width; ++x)
        lo = std::min(lo, img.Alpha(x, y)), hi = std::max(hi, img.Alpha(x, y));
    EXPECT_EQ(lo, 0) << "no see-through part";
    EXPECT_GE(hi, 100) << "nothing visible";
  }
}

// Maximum alpha along a column or a row.
int MaxAlphaColumn(const Image& img, int x) {
  int m = 0;
  for (int y = 0; y < img.height; ++y) m = std::max(m, img.Alpha(x, y));
  return m;
}
int MaxAlphaRow(const Image& img, int y) {
  int m = 0;
  for (int x = 0; x < img.width; ++x) m = std::max(m, img.Alpha(x, y));
  return m;
}

TEST(Assets, WallpapersFadeOutWhereTheyEndInsideTheirControl) {
  // The header picture is narrower and taller than the panel it is centred in: every edge must
  // vanish into the panel colour.
  Image header = Read(Asset("wallpaper0.png"));
  ASSERT_FALSE(header.rgba.empty());
  EXPECT_LE(MaxAlphaColumn(header, 0), 4);
  EXPECT_LE(MaxAlphaColumn(header, header.width - 1), 4);
  EXPECT_LE(MaxAlphaRow(header, 0), 4);
  EXPECT_LE(MaxAlphaRow(header, header.height - 1), 4);
  // The link-bar picture sits in the bar's bottom-left corner: its top and right edges are
  // inside the bar.
  Image bar = Read(Asset("wallpaper1.png"));
  ASSERT_FALSE(bar.rgba.empty());
  EXPECT_LE(MaxAlphaRow(bar, 0), 4);
  EXPECT_LE(MaxAlphaColumn(bar, bar.width - 1), 4);
  EXPECT_GE(MaxAlphaColumn(bar, 0), 20) << "the picture should reach the corner it is anchored to";
}

TEST(Assets, PageTileRepeatsWithoutASeamAndStaysQuietBehindText) {
  Image tile = Read(Asset("wallpaper2.png"));
  ASSERT_FALSE(tile.rgba.empty());
  auto columnStep = [&](int a, int b) {
    double d = 0;
    for (int y = 0; y < tile.height; ++y) d += std::abs(tile.Luma(a, y) - tile.Luma(b, y));
    return d / tile.height;
  };
  auto rowStep = [&](int a, int b) {
    double d = 0;
    for (int x = 0; x < tile.width; ++x) d += std::abs(tile.Luma(x, a) - tile.Luma(x, b));
    return d / tile.width;
  };
  // Where the tile meets its next copy, neighbouring pixels differ no more than any two
  // neighbouring columns (rows) inside it.
  double worstColumn = 0, worstRow = 0;
  for (int x = 0; x + 1 < tile.width; ++x)
    worstColumn = std::max(worstColumn, columnStep(x, x + 1));
  for (int y = 0; y + 1 < tile.height; ++y) worstRow = std::max(worstRow, rowStep(y, y + 1));
  EXPECT_LE(columnStep(tile.width - 1, 0), worstColumn + 0.25);
  EXPECT_LE(rowStep(tile.height - 1, 0), worstRow + 0.25);

  // A texture, but a light and low-contrast one, so text drawn over it reads.
  double sum = 0, lo = 255, hi = 0;
  for (int y = 0; y < tile.height; ++y)
    for (int x = 0; x < tile.width; ++x) {
      double l = tile.Luma(x, y);
      sum += l, lo = std::min(lo, l), hi = std::max(hi, l);
    }
  EXPECT_GE(sum / (tile.width * tile.height), 215);
  EXPECT_GE(hi - lo, 8) << "no texture";
  EXPECT_LE(hi - lo, 60) << "too much contrast behind text";
}

std::string RunGenerator(const std::string& args, int& status) {
  std::string cmd = std::string("\"") + KV_ASSETGEN + "\" " + args + " 2>&1";
  std::string out;
  FILE* pipe = popen(cmd.c_str(), "r");
  if (!pipe) {
    status = -1;
    return out;
  }
  char buf[256];
  while (fgets(buf, sizeof buf, pipe)) out += buf;
  int rc = pclose(pipe);
  status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
  return out;
}

std::string Bytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(AssetGenerator, DrawsTheSameFilesEveryRun) {
  fs::path dir = fs::path(testing::TempDir()) / "kv_assetgen_again";
  fs::remove_all(dir);
  int status = 0;
  std::string out = RunGenerator("--out \"" + dir.string() + "\"", status);
  ASSERT_EQ(status, 0) << out;
  int files = 0;
  for (const auto& entry : fs::directory_iterator(KV_ASSETS_DIR)) {
    if (entry.path().extension() != ".png") continue;
    ++files;
    EXPECT_EQ(Bytes(entry.path()), Bytes(dir / entry.path().filename())) << entry.path().filename();
  }
  EXPECT_EQ(files, 7);
  fs::remove_all(dir);
}

TEST(AssetGenerator, RefusesBadArgumentsAndUnwritableFolders) {
  int status = 0;
  std::string out = RunGenerator("--frobnicate", status);
  EXPECT_EQ(status, 2);
  EXPECT_NE(out.find("unexpected argument \"--frobnicate\""), std::string::npos) << out;

  out = RunGenerator("", status);
  EXPECT_EQ(status, 2);
  EXPECT_NE(out.find("no output folder"), std::string::npos) << out;

  // A plain file where the folder should go.
  fs::path file = fs::path(testing::TempDir()) / "kv_assetgen_not_a_folder";
  std::ofstream(file) << "x";
  out = RunGenerator("--out \"" + file.string() + "\"", status);
  EXPECT_EQ(status, 1);
  EXPECT_NE(out.find("kv_assetgen:"), std::string::npos) << out;
  fs::remove(file);
}

}  // namespace
