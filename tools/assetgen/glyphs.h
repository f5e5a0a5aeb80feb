#pragma once
// The glyph pictures and the three image lists of the demonstration that hold them.
#include <string>
#include <vector>

#include "tools/assetgen/painter.h"

namespace assetgen {

using GlyphFn = void (*)(const Painter&);

struct GlyphDef {
  const char* name;     // short identifier, used in previews
  const char* meaning;  // what the glyph stands for where the demonstration shows it
  GlyphFn draw;
};

struct ImageListDef {
  const char* component;  // the image list of the main window that holds these glyphs
  std::string file;       // strip file name in the assets folder
  int size;               // glyph width and height in pixels
  std::vector<GlyphDef> glyphs;
};

// ImageList1 (48 px), ImageList2 (16 px) and ImageList3 (32 px), in that order.
const std::vector<ImageListDef>& ImageLists();

// Pictures of things (glyphs_objects.cpp).
namespace glyph {
void Document(const Painter& p);
void Folder(const Painter& p);
void Picture(const Painter& p);
void Music(const Painter& p);
void Gear(const Painter& p);
void Mail(const Painter& p);
void Calendar(const Painter& p);
void Chart(const Painter& p);
void Globe(const Painter& p);
void Users(const Painter& p);
void Chat(const Painter& p);
void Cloud(const Painter& p);
void Search(const Painter& p);
void Star(const Painter& p);
void Trash(const Painter& p);
void Tools(const Painter& p);
void Lock(const Painter& p);
void Wand(const Painter& p);
void Home(const Painter& p);
void Palette(const Painter& p);
void Brush(const Painter& p);
void Info(const Painter& p);
void InfoPressed(const Painter& p);

// Pictures of controls (glyphs_controls.cpp).
void Button(const Painter& p);
void OptionGroup(const Painter& p);
void Tabs(const Painter& p);
void List(const Painter& p);
void Edit(const Painter& p);
void Tree(const Painter& p);
void RichList(const Painter& p);
void Grid(const Painter& p);
void Calculator(const Painter& p);
void ButtonsBar(const Painter& p);
void Collapse(const Painter& p);
void Expand(const Painter& p);
}  // namespace glyph

}  // namespace assetgen
