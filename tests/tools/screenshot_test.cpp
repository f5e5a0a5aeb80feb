// The screenshot tool, run as a program.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {
namespace fs = std::filesystem;

struct Result {
  int Code = -1;
  std::string Out;
};

Result RunTool(const std::string& args) {
  Result r;
  std::string cmd = std::string(KV_SCREENSHOT) + " " + args + " 2>&1";
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return r;
  char buf[512];
  while (fgets(buf, sizeof buf, p)) r.Out += buf;
  int status = pclose(p);
  r.Code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

// Width and height of a PNG file, or (0, 0).
std::pair<int, int> PngSize(const fs::path& file) {
  png_image img{};
  img.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&img, file.c_str())) return {0, 0};
  std::pair<int, int> s{static_cast<int>(img.width), static_cast<int>(img.height)};
  png_image_free(&img);
  return s;
}
}  // namespace

TEST(Screenshot, ListsAndRendersRegisteredFormsAndDescriptions) {
  Result list = RunTool("--list");
  EXPECT_EQ(list.Code, 0);
  EXPECT_NE(list.Out.find("TControlsSampleForm\n"), std::string::npos) << list.Out;
  EXPECT_NE(list.Out.find("TLayoutSampleForm\n"), std::string::npos);
  fs::path dir = fs::temp_directory_path() / "kv_screenshot_test";
  fs::create_directories(dir);
  Result byName = RunTool("--form TLayoutSampleForm --out " + (dir / "layout.png").string() + " --width 300 --height 200");
  EXPECT_EQ(byName.Code, 0) << byName.Out;
  auto size = PngSize(dir / "layout.png");
  EXPECT_GT(size.first, 300) << "the whole window: client area and frame";
  EXPECT_LT(size.first, 330);
  EXPECT_GT(size.second, 200);
  std::ofstream(dir / "form.txt") << "object Described: TForm\n  BorderStyle = bsNone\n  ClientWidth = 120\n"
                                     "  ClientHeight = 80\n  object P: TPanel\n    Align = alClient\n  end\nend\n";
  Result byFile = RunTool("--dfm " + (dir / "form.txt").string() + " --out " + (dir / "form.png").string());
  EXPECT_EQ(byFile.Code, 0) << byFile.Out;
  EXPECT_EQ(PngSize(dir / "form.png"), std::make_pair(120, 80));
}

TEST(Screenshot, RefusesBadArgumentsAndNamesTheProblem) {
  struct Case {
    const char* args;
    int code;
    const char* message;
  } cases[] = {
      {"", 2, "give either --form or --dfm"},
      {"--form TLayoutSampleForm", 2, "--out is missing"},
      {"--form TLayoutSampleForm --dfm x.txt --out x.png", 2, "give either --form or --dfm"},
      {"--form TLayoutSampleForm --out x.png --width 0", 2, "--width needs a size"},
      {"--frobnicate", 2, "unknown argument '--frobnicate'"},
      {"--form TNoSuchForm --out /tmp/x.png", 1, "there is no class TNoSuchForm"},
      {"--form TPanel --out /tmp/x.png", 1, "TPanel is not a form class"},
      {"--dfm /nonexistent/form.txt --out /tmp/x.png", 1, "cannot read /nonexistent/form.txt"},
      {"--form TLayoutSampleForm --out /nonexistent/dir/x.png", 1, "cannot write"},
  };
  for (const Case& c : cases) {
    Result r = RunTool(c.args);
    EXPECT_EQ(r.Code, c.code) << c.args << "\n" << r.Out;
    EXPECT_NE(r.Out.find(c.message), std::string::npos) << c.args << "\n" << r.Out;
  }
}
