// The three image lists of the demonstration. The index of a glyph is its position here; the
// demonstration's pages refer to the glyphs by these indexes (README.md in this folder has the
// table).
#include "tools/assetgen/glyphs.h"

namespace assetgen {

const std::vector<ImageListDef>& ImageLists() {
  using namespace glyph;
  static const std::vector<ImageListDef> lists = {
      {"ImageList1", "imagelist1_48.png", 48,
       {
           {"tools", "header button kvButton1; gallery menu, horizontal list, gallery", Tools},
           {"lock", "header button \"Disabled\"; galleries", Lock},
           {"wand", "the large button of the \"Button, Label\" page; galleries", Wand},
           {"home", "header button \"Home\"; galleries", Home},
           {"chart", "galleries, list view", Chart},
           {"mail", "galleries, list view", Mail},
           {"calendar", "galleries, list view", Calendar},
           {"palette", "header button \"Style\"; horizontal list, gallery", Palette},
           {"picture", "gallery", Picture},
       }},
      {"ImageList2", "imagelist2_16.png", 16,
       {
           {"button", "link bar \"Button, Label\"; small item images", Button},
           {"options", "link bar \"GroupBox, RadioGroup, CheckGroup\"", OptionGroup},
           {"tabs", "link bar \"Panel, PageControl\"", Tabs},
           {"list", "link bar \"ListBox, ComboBox\"", List},
           {"edit", "link bar \"Edit, Memo\"", Edit},
           {"tree", "link bar \"TreeView, ListView\"", Tree},
           {"richlist", "link bar \"ListBox, HorzListBox, ComboBox\"", RichList},
           {"grid", "link bar \"GridView, GridViewCombo, Gallery\"", Grid},
           {"calculator", "small item images (calculator)", Calculator},
           {"folder", "link bar \"ShellListView, ShellTreeView, ShellComboBox\"", Folder},
           {"star", "password character picture", Star},
           {"collapse", "custom tree button: collapse", Collapse},
           {"expand", "custom tree button: expand", Expand},
           {"info", "link bar \"Kalvora Info\"; list item button, normal and hot", Info},
           {"info-pressed", "list item button, pressed", InfoPressed},
           {"buttonsbar", "link bar \"ButtonsBar\"", ButtonsBar},
           {"search", "edit buttons, small item images", Search},
           {"palette", "colour button kvColorButton1", Palette},
           {"brush", "colour button kvColorButton2", Brush},
       }},
      {"ImageList3", "imagelist3_32.png", 32,
       {
           {"document", "check box kvCheckBox6; lists, grids, buttons bar", Document},
           {"folder", "check box kvCheckBox7; lists, grids, buttons bar", Folder},
           {"picture", "radio button kvRadioButton1; lists, grids, buttons bar", Picture},
           {"music", "radio button kvRadioButton2; lists, grids, buttons bar", Music},
           {"settings", "group box kvGroupBox1; lists, grids, buttons bar", Gear},
           {"mail", "lists, grids, buttons bar", Mail},
           {"calendar", "lists, grids, buttons bar", Calendar},
           {"chart", "lists, grids, buttons bar", Chart},
           {"globe", "lists, grids, buttons bar", Globe},
           {"users", "lists, grids, buttons bar", Users},
           {"chat", "buttons bar", Chat},
           {"cloud", "buttons bar", Cloud},
           {"search", "buttons bar", Search},
           {"star", "buttons bar", Star},
           {"trash", "buttons bar", Trash},
       }},
  };
  return lists;
}

}  // namespace assetgen
