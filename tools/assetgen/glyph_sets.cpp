// The three image lists of the demonstration. The index of a glyph is its position here; the
// demonstration's pages refer to the glyphs by these indexes (README.md in this folder has the
// table).
#include "tools/assetgen/glyphs.h"

namespace assetgen {

const std::vector<ImageListDef>& ImageLists() {
  using namespace glyph;
  static const std::vector<ImageListDef> lists = {
      {"ImageList1",
       "imagelist1_48.png",
       48,
       {
           {"tools", "header button kvButton1; gallery menu, horizontal list, gallery", Tools},
           {"lock", "header button \"Disabled\"; gallery menu, horizontal list, gallery", Lock},
           {"wand",
            "large button of the \"Button, Label\" page; gallery menu, horizontal list, gallery",
            Wand},
           {"home", "header button \"Home\"; gallery menu, horizontal list, gallery", Home},
           {"chart", "gallery menu, horizontal list, gallery, list view", Chart},
           {"mail", "gallery menu, horizontal list, gallery, list view", Mail},
           {"calendar", "gallery menu, horizontal list, gallery, list view", Calendar},
           {"palette", "header button \"Style\"; gallery, list view", Palette},
           {"picture", "gallery, list view", Picture},
       }},
      {"ImageList2",
       "imagelist2_16.png",
       16,
       {
           {"button", "link bar \"Button, Label\"; list and combo items, item push button", Button},
           {"options", "link bar \"GroupBox, RadioGroup, CheckGroup\"; list and combo items",
            OptionGroup},
           {"tabs", "link bar \"Panel, PageControl\"; list and combo items", Tabs},
           {"list", "link bar \"ListBox, ComboBox\"; list and combo items", List},
           {"edit", "link bar \"Edit, Memo\"; list and combo items", Edit},
           {"tree", "link bar \"TreeView, ListView\"; list and combo items", Tree},
           {"richlist", "link bar \"ListBox, HorzListBox, ComboBox\"; list and combo items",
            RichList},
           {"grid", "link bar \"GridView, GridViewCombo, Gallery\"; list and combo items", Grid},
           {"calculator", "list and combo items, list view", Calculator},
           {"folder",
            "link bar \"ShellListView, ShellTreeView, ShellComboBox\"; list and combo items",
            Folder},
           {"star", "password character picture", Star},
           {"collapse", "custom tree button: collapse", Collapse},
           {"expand", "custom tree button: expand", Expand},
           {"info", "link bar \"Kalvora Info\"; list item button, normal and hot", Info},
           {"info-down", "list item button, pressed", InfoPressed},
           {"buttonsbar", "link bar \"ButtonsBar\"", ButtonsBar},
           {"search", "edit buttons, list view", Search},
           {"palette", "colour button kvColorButton1", Palette},
           {"brush", "colour button kvColorButton2", Brush},
       }},
      {"ImageList3",
       "imagelist3_32.png",
       32,
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
